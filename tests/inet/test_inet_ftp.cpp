// The FTP library against a real server (pyftpdlib), passive and active: what
// the session above it cannot see. Connecting, listings and remote commands
// are tested through the session (tests/session).
#include "FtpReading.h"
#include "FtpServer.h"
#include "TestFiles.h"

#include "platform/inet/Inet.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace inet;
using testfiles::randomBytes;

namespace {

class FtpLibrary : public testing::TestWithParam<bool>, public SuiteFtpServer {
protected:
    static void SetUpTestSuite()
    {
        FtpServerOptions options;
        options.rawNames = true;
        startServer(options);
    }
    static void TearDownTestSuite() { stopServer(); }
    void SetUp() override { readyServer(); }
    FtpConnection *connect()
    {
        return session.connectFtp(server->host(), server->port(), server->user(), server->password(),
                                  GetParam() ? INTERNET_FLAG_PASSIVE : 0);
    }

    InternetSession session{QStringLiteral("TarvoFtp")};
};

} // namespace

// 24 MiB is far more than the socket buffers hold: the close really comes in
// the middle of the transfer.
TEST_P(FtpLibrary, AbortedTransfersAndRefusalsLeaveTheConnectionUsable)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr) << lastError();
    const QByteArray content = randomBytes(24 * 1024 * 1024, 1);
    server->writeFile(QStringLiteral("big.bin"), content);
    {
        auto file = c->openFile(QStringLiteral("big.bin"), GENERIC_READ, 0);
        ASSERT_NE(file, nullptr);
        char block[255];
        quint32 got = 0;
        ASSERT_TRUE(file->read(block, sizeof block, got));
        EXPECT_EQ(QByteArray(block, int(got)), content.left(255));
        EXPECT_TRUE(file->close()) << lastError();
    }
    QString dir;
    ASSERT_TRUE(c->getCurrentDirectory(dir)) << lastError();
    EXPECT_EQ(dir, QStringLiteral("/"));
    {
        auto file = c->openFile(QStringLiteral("cut.bin"), GENERIC_WRITE, 0);
        ASSERT_NE(file, nullptr);
        const QByteArray part = randomBytes(600 * 1024, 2);
        quint32 written = 0;
        ASSERT_TRUE(file->write(part.constData(), quint32(part.size()), written));
    } // destroyed without close()
    EXPECT_FALSE(c->isBusy());
    EXPECT_TRUE(c->command(QStringLiteral("NOOP"))) << lastError();
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("200")));

    QByteArray got;
    EXPECT_FALSE(download(c, QStringLiteral("absent.bin"), got));
    EXPECT_EQ(lastError(), quint32(ErrorExtended));
    EXPECT_TRUE(lastResponseInfo().startsWith(QLatin1String("550")));
    ASSERT_TRUE(download(c, QStringLiteral("big.bin"), got)) << lastError();
    EXPECT_TRUE(got == content);
}

TEST_P(FtpLibrary, OnlyOneTransferAtATime)
{
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    server->writeFile(QStringLiteral("a.bin"), randomBytes(1000, 3));
    auto file = c->openFile(QStringLiteral("a.bin"), GENERIC_READ, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(c->isBusy());
    FindRecord rec;
    EXPECT_EQ(c->openFile(QStringLiteral("a.bin"), GENERIC_READ, 0), nullptr);
    EXPECT_EQ(lastError(), quint32(ErrorTransferInProgress));
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

TEST_P(FtpLibrary, InvalidUtf8NameSurvivesListingDownloadRenameDelete)
{
    const QByteArray rawName = "bad\xff\xfe name.txt";
    const QByteArray rawPath = QFile::encodeName(server->root()) + '/' + rawName;
    const int fd = ::open(rawPath.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "payload", 7), 7);
    ::close(fd);
    FtpConnection *c = connect();
    ASSERT_NE(c, nullptr);
    for (bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        c->setUseMlsd(mlsd);
        const QStringList names = listNames(c);
        ASSERT_EQ(names.size(), 1);
        EXPECT_EQ(encodeName(names[0]), rawName);
        QByteArray got;
        ASSERT_TRUE(download(c, names[0], got)) << lastError();
        EXPECT_EQ(got, QByteArray("payload"));
        ASSERT_TRUE(c->renameFile(names[0], names[0] + QStringLiteral(".2"))) << lastError();
        EXPECT_EQ(::access((rawPath + ".2").constData(), F_OK), 0);
        ASSERT_TRUE(c->renameFile(names[0] + QStringLiteral(".2"), names[0]));
    }
    ASSERT_TRUE(c->deleteFile(listNames(c).value(0))) << lastError();
    EXPECT_NE(::access(rawPath.constData(), F_OK), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, FtpLibrary, testing::Bool(),
                         [](const auto &info) { return info.param ? "Passive" : "Active"; });
