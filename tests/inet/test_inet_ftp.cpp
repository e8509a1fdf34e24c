// The FTP client against a real server (pyftpdlib), passive and active, with
// MLSD and with LIST only.
#include "FtpServer.h"

#include "platform/inet/Inet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTcpServer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace inet;

namespace {

struct Mode {
    bool passive;
    bool mlsd;
};

std::string modeName(const testing::TestParamInfo<Mode> &info)
{
    return std::string(info.param.passive ? "Passive" : "Active") + (info.param.mlsd ? "Mlsd" : "List");
}

QByteArray randomBytes(qsizetype n)
{
    QByteArray data((n + 3) / 4 * 4, Qt::Uninitialized);
    QRandomGenerator gen(42 + quint32(n));
    gen.generate(reinterpret_cast<quint32 *>(data.data()), reinterpret_cast<quint32 *>(data.data() + data.size()));
    data.truncate(n);
    return data;
}

QByteArray sha(const QByteArray &data) { return QCryptographicHash::hash(data, QCryptographicHash::Sha256); }

bool download(FtpConnection *c, const QString &name, QByteArray &out)
{
    auto file = c->openFile(name, GENERIC_READ, FTP_TRANSFER_TYPE_BINARY);
    if (!file)
        return false;
    char block[255];
    quint32 got = 0;
    do {
        if (!file->read(block, sizeof block, got))
            return false;
        out.append(block, got);
    } while (got > 0);
    return file->close();
}

bool upload(FtpConnection *c, const QString &name, const QByteArray &data)
{
    auto file = c->openFile(name, GENERIC_WRITE, FTP_TRANSFER_TYPE_BINARY);
    if (!file)
        return false;
    quint32 written = 0;
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const quint32 n = quint32(qMin<qsizetype>(255, data.size() - pos));
        if (!file->write(data.constData() + pos, n, written) || written != n)
            return false;
    }
    return file->close();
}

QStringList listNames(FtpConnection *c, const QString &pattern = QStringLiteral("*.*"))
{
    QStringList names;
    FindRecord rec;
    auto find = c->findFirstFile(pattern, rec);
    if (!find)
        return names;
    do {
        names << rec.name;
    } while (find->next(rec));
    return names;
}

class FtpSuite : public testing::TestWithParam<Mode> {
protected:
    static void SetUpTestSuite()
    {
        FtpServerOptions withMlsd;
        s_mlsd = new FtpServer(withMlsd);
        FtpServerOptions listOnly;
        listOnly.mlsd = false;
        s_list = new FtpServer(listOnly);
    }
    static void TearDownTestSuite()
    {
        delete s_mlsd;
        delete s_list;
    }

    void SetUp() override
    {
        ASSERT_TRUE(server().isRunning()) << server().errorText().toStdString();
        server().clearRoot();
    }

    FtpServer &server() const { return GetParam().mlsd ? *s_mlsd : *s_list; }

    FtpConnection *connect()
    {
        FtpConnection *c = session.connectFtp(server().host(), server().port(), server().user(),
                                              server().password(), GetParam().passive ? INTERNET_FLAG_PASSIVE : 0);
        if (c)
            c->setUseMlsd(GetParam().mlsd);
        return c;
    }

    InternetSession session{QStringLiteral("TarvoFtp")};
    static FtpServer *s_mlsd;
    static FtpServer *s_list;
};

FtpServer *FtpSuite::s_mlsd = nullptr;
FtpServer *FtpSuite::s_list = nullptr;

} // namespace

TEST_P(FtpSuite, ConnectShowsTheWelcome)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr) << lastError();
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("220 Tarvo test server ready.\r\n230")))
        << lastResponseInfo().toStdString();
    EXPECT_EQ(c->features().mlsd, GetParam().mlsd);
    EXPECT_TRUE(c->features().utf8);
    EXPECT_EQ(c->passive(), GetParam().passive);
    session.closeConnection(c);
}

TEST_P(FtpSuite, ListingsOfEveryShape)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    FindRecord rec;
    EXPECT_EQ(c->findFirstFile(QStringLiteral("*.*"), rec), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorNoMoreFiles));

    server().writeFile(QStringLiteral("only.txt"), "12345");
    auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(rec.name, QStringLiteral("only.txt"));
    EXPECT_EQ(rec.size, 5);
    EXPECT_EQ(rec.attributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(rec.lastWriteTime, 0u);
    EXPECT_FALSE(find->next(rec));
    EXPECT_EQ(lastError(), quint32(ErrorNoMoreFiles));
    find.reset();

    const QStringList special = {QStringLiteral("Makefile"), QStringLiteral("makefile"),
                                 QStringLiteral("with  two spaces.txt"), QStringLiteral("caf\u00e9 \u65e5\u672c.txt")};
    for (const QString &name : special)
        server().writeFile(name, "x");
    for (int i = 0; i < 300; ++i)
        server().writeFile(QStringLiteral("many/f%1.dat").arg(i), QByteArray(i, 'y'));
    QStringList names = listNames(c);
    for (const QString &name : special)
        EXPECT_TRUE(names.contains(name)) << name.toStdString();
    ASSERT_TRUE(names.contains(QStringLiteral("many")));
    EXPECT_EQ(names.size(), 6);

    ASSERT_TRUE(c->setCurrentDirectory(QStringLiteral("many")));
    FindRecord folder;
    EXPECT_EQ(listNames(c).size(), 300);
    EXPECT_EQ(listNames(c, QStringLiteral("f1?.dat")).size(), 10);
    ASSERT_TRUE(c->setCurrentDirectory(QStringLiteral("/")));
    EXPECT_EQ(listNames(c, QStringLiteral("many/f2?.dat")).size(), 10);
    EXPECT_EQ(listNames(c, QStringLiteral("/many/f250.dat")), QStringList{QStringLiteral("f250.dat")});
    auto dir = c->findFirstFile(QStringLiteral("many"), folder);
    ASSERT_NE(dir, nullptr) << lastError();
    EXPECT_EQ(folder.name, QStringLiteral("many"));
    EXPECT_EQ(folder.attributes, FILE_ATTRIBUTE_DIRECTORY);
    dir.reset();
    auto one = c->findFirstFile(QStringLiteral("only.txt"), rec);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(rec.size, 5);
    one.reset();
    EXPECT_EQ(c->findFirstFile(QStringLiteral("missing.txt"), rec), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorNoMoreFiles));
}

TEST_P(FtpSuite, RemoteOperations)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    QString dir;
    ASSERT_TRUE(c->getCurrentDirectory(dir));
    EXPECT_EQ(dir, QStringLiteral("/"));
    ASSERT_TRUE(c->createDirectory(QStringLiteral("new dir")));
    EXPECT_TRUE(QDir(server().path("new dir")).exists());
    ASSERT_TRUE(c->setCurrentDirectory(QStringLiteral("new dir")));
    ASSERT_TRUE(c->getCurrentDirectory(dir));
    EXPECT_EQ(dir, QStringLiteral("/new dir"));
    EXPECT_FALSE(c->setCurrentDirectory(QStringLiteral("/nowhere")));
    EXPECT_EQ(lastError(), quint32(ErrorExtended));
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("550")));
    ASSERT_TRUE(c->setCurrentDirectory(QStringLiteral("/")));

    server().writeFile(QStringLiteral("new dir/inside"), "x");
    EXPECT_FALSE(c->removeDirectory(QStringLiteral("new dir")));
    ASSERT_TRUE(c->deleteFile(QStringLiteral("new dir/inside")));
    ASSERT_TRUE(c->removeDirectory(QStringLiteral("new dir")));
    EXPECT_FALSE(QDir(server().path("new dir")).exists());

    server().writeFile(QStringLiteral("old.txt"), "content");
    ASSERT_TRUE(c->renameFile(QStringLiteral("old.txt"), QStringLiteral("new.txt")));
    EXPECT_EQ(server().readFile(QStringLiteral("new.txt")), QByteArray("content"));
    EXPECT_FALSE(c->renameFile(QStringLiteral("old.txt"), QStringLiteral("x.txt")));
    EXPECT_EQ(lastError(), quint32(ErrorExtended));
    EXPECT_FALSE(c->deleteFile(QStringLiteral("old.txt")));

    ASSERT_TRUE(c->command(QStringLiteral("NOOP")));
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("200")));
    ASSERT_TRUE(c->command(QStringLiteral("SITE CHMOD 600 new.txt")));
    const QFileDevice::Permissions unixBits = QFile::permissions(server().path("new.txt")) & QFileDevice::Permissions(0x7077);
    EXPECT_EQ(unixBits, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(c->command(QStringLiteral("BOGUS")));
    EXPECT_EQ(lastError(), quint32(ErrorExtended));
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("500")));
    EXPECT_FALSE(c->command(QStringLiteral("NOOP\r\nDELE new.txt")));
    EXPECT_EQ(lastError(), quint32(ErrorLineBreak));
    EXPECT_TRUE(QFile::exists(server().path("new.txt")));
}

TEST_P(FtpSuite, DownloadAndUploadAreByteExact)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    for (qsizetype size : {qsizetype(0), qsizetype(1), qsizetype(255), qsizetype(256 * 1024 + 1),
                           qsizetype(3 * 1024 * 1024 + 77)}) {
        SCOPED_TRACE(size);
        const QByteArray content = randomBytes(size);
        server().writeFile(QStringLiteral("down.bin"), content);
        QByteArray got;
        ASSERT_TRUE(download(c, QStringLiteral("down.bin"), got)) << lastError();
        EXPECT_EQ(got.size(), size);
        EXPECT_EQ(sha(got), sha(content));
        EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("226")));

        ASSERT_TRUE(upload(c, QStringLiteral("up.bin"), content)) << lastError();
        EXPECT_EQ(sha(server().readFile(QStringLiteral("up.bin"))), sha(content));
    }
    QByteArray none;
    EXPECT_FALSE(download(c, QStringLiteral("absent.bin"), none));
    EXPECT_EQ(lastError(), quint32(ErrorExtended));
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("550")));
    EXPECT_TRUE(c->command(QStringLiteral("NOOP")));
}

TEST_P(FtpSuite, CloseInTheMiddleAbortsAndTheConnectionGoesOn)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    const QByteArray content = randomBytes(24 * 1024 * 1024);
    server().writeFile(QStringLiteral("big.bin"), content);
    for (int round = 0; round < 2; ++round) {
        auto file = c->openFile(QStringLiteral("big.bin"), GENERIC_READ, 0);
        ASSERT_NE(file, nullptr);
        char block[255];
        quint32 got = 0;
        ASSERT_TRUE(file->read(block, sizeof block, got));
        EXPECT_EQ(got, 255u);
        EXPECT_EQ(QByteArray(block, 255), content.left(255));
        EXPECT_TRUE(file->close()) << lastError();
        EXPECT_FALSE(c->isBusy());
        QString dir;
        ASSERT_TRUE(c->getCurrentDirectory(dir)) << lastError();
        EXPECT_EQ(dir, QStringLiteral("/"));
        EXPECT_EQ(listNames(c), QStringList{QStringLiteral("big.bin")});
    }
    QByteArray got;
    ASSERT_TRUE(download(c, QStringLiteral("big.bin"), got));
    EXPECT_EQ(sha(got), sha(content));
}

TEST_P(FtpSuite, AbandonedUploadIsAbortedAndTheConnectionGoesOn)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    {
        auto file = c->openFile(QStringLiteral("cut.bin"), GENERIC_WRITE, 0);
        ASSERT_NE(file, nullptr);
        const QByteArray part = randomBytes(600 * 1024);
        quint32 written = 0;
        ASSERT_TRUE(file->write(part.constData(), quint32(part.size()), written));
    } // destroyed without close()
    EXPECT_FALSE(c->isBusy());
    EXPECT_TRUE(c->command(QStringLiteral("NOOP"))) << lastError();
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("200")));
    const QByteArray whole = randomBytes(5000);
    ASSERT_TRUE(upload(c, QStringLiteral("whole.bin"), whole));
    EXPECT_EQ(server().readFile(QStringLiteral("whole.bin")), whole);
}

TEST_P(FtpSuite, OnlyOneTransferAtATime)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    server().writeFile(QStringLiteral("a.bin"), randomBytes(1000));
    auto file = c->openFile(QStringLiteral("a.bin"), GENERIC_READ, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(c->isBusy());
    EXPECT_EQ(c->openFile(QStringLiteral("a.bin"), GENERIC_READ, 0), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorTransferInProgress));
    FindRecord rec;
    EXPECT_EQ(c->findFirstFile(QStringLiteral("*.*"), rec), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorTransferInProgress));
    EXPECT_FALSE(c->command(QStringLiteral("NOOP")));
    EXPECT_EQ(lastError(), quint32(ErrorTransferInProgress));
    file.reset();

    auto find = c->findFirstFile(QStringLiteral("*.*"), rec);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(c->findFirstFile(QStringLiteral("*.*"), rec), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorTransferInProgress));
    find->close();
    QByteArray got;
    EXPECT_TRUE(download(c, QStringLiteral("a.bin"), got));
    EXPECT_EQ(got.size(), 1000);
}

INSTANTIATE_TEST_SUITE_P(Modes, FtpSuite,
                         testing::Values(Mode{true, true}, Mode{false, true}, Mode{true, false}, Mode{false, false}),
                         modeName);

TEST(FtpConnect, WrongPasswordShowsTheServersRefusal)
{
    FtpServer server;
    ASSERT_TRUE(server.isRunning());
    InternetSession session(QStringLiteral("TarvoFtp"));
    EXPECT_EQ(session.connectFtp(server.host(), server.port(), server.user(), QStringLiteral("wrong"), 0), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorIncorrectPassword));
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("530"))) << lastResponseInfo().toStdString();
    EXPECT_TRUE(lastResponseInfo().endsWith(QLatin1String("\r\n")));
}

TEST(FtpConnect, ClosedPortAndUnknownHost)
{
    InternetSession session(QStringLiteral("TarvoFtp"));
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    EXPECT_EQ(session.connectFtp(QStringLiteral("127.0.0.1"), closedPort, "u", "p", 0), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorCannotConnect));
    EXPECT_EQ(session.connectFtp(QStringLiteral("no-such-host.invalid"), 21, "u", "p", 0), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorNameNotResolved));
}

namespace {
// The suites' server started through a wrapper that keeps undecodable names.
class BytesFtpServer {
public:
    BytesFtpServer()
    {
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral(TARVO_INET_TEST_DIR "/ftpserver_bytes.py"), QStringLiteral("--root"),
                         m_root.path(), QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--password"),
                         QStringLiteral("p")});
        QByteArray line;
        while (!line.contains('\n') && m_process.waitForReadyRead(15000))
            line += m_process.readAllStandardOutput();
        if (line.startsWith("PORT "))
            m_port = quint16(line.mid(5).trimmed().toUInt());
    }
    ~BytesFtpServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    quint16 port() const { return m_port; }
    QByteArray path(const QByteArray &name) const { return QFile::encodeName(m_root.path()) + '/' + name; }

private:
    QTemporaryDir m_root;
    QProcess m_process;
    quint16 m_port = 0;
};

bool rawExists(const QByteArray &path) { return ::access(path.constData(), F_OK) == 0; }
} // namespace

TEST(FtpNames, InvalidUtf8NameSurvivesDownloadRenameDelete)
{
    BytesFtpServer server;
    ASSERT_NE(server.port(), 0);
    const QByteArray rawName = "bad\xff\xfe name.txt";
    {
        const int fd = ::open(server.path(rawName).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "payload", 7), 7);
        ::close(fd);
    }
    InternetSession session(QStringLiteral("TarvoFtp"));
    for (bool mlsd : {true, false}) {
        FtpConnection *c = session.connectFtp(QStringLiteral("127.0.0.1"), server.port(), "u", "p",
                                              INTERNET_FLAG_PASSIVE);
        ASSERT_NE(c, nullptr);
        c->setUseMlsd(mlsd);
        const QStringList names = listNames(c);
        ASSERT_EQ(names.size(), 1);
        EXPECT_EQ(encodeName(names[0]), rawName);
        QByteArray got;
        ASSERT_TRUE(download(c, names[0], got)) << lastError();
        EXPECT_EQ(got, QByteArray("payload"));
        const QString renamed = names[0] + QStringLiteral(".2");
        ASSERT_TRUE(c->renameFile(names[0], renamed)) << lastError();
        EXPECT_TRUE(rawExists(server.path(rawName + ".2")));
        ASSERT_TRUE(c->renameFile(renamed, names[0]));
        session.closeConnection(c);
    }
    FtpConnection *c = session.connectFtp(QStringLiteral("127.0.0.1"), server.port(), "u", "p", 0);
    ASSERT_NE(c, nullptr);
    const QStringList names = listNames(c);
    ASSERT_EQ(names.size(), 1);
    ASSERT_TRUE(c->deleteFile(names[0])) << lastError();
    EXPECT_FALSE(rawExists(server.path(rawName)));
}
