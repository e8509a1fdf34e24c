// Resumed, retried and verified transfers through the queue, against servers
// that cut transfers part-way, cannot resume, hash files (rightly or wrongly)
// or say nothing of a file but its bytes.
#include "FtpServer.h"
#include "SessionWait.h"
#include "TestFiles.h"
#include "TestHosts.h"
#include "platform/LocalFile.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "transfer/TransferQueue.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using testfiles::randomBytes;
using testfiles::readFile;
using testfiles::writeFile;
using Kind = RowOutcome::Kind;

enum class Peer { FlakyWithHash, FlakyWithoutRest, WrongHash, Bare };

QString commandLogOf(Peer peer)
{
    return QDir::temp().filePath(QStringLiteral("tarvo-resume-%1-%2.log").arg(QCoreApplication::applicationPid()).arg(int(peer)));
}

FtpServerOptions optionsOf(Peer peer)
{
    FtpServerOptions o;
    switch (peer) {
    case Peer::FlakyWithHash: o.flaky = true, o.hash = true; break;
    case Peer::FlakyWithoutRest: o.flaky = true, o.rest = false; break;
    case Peer::WrongHash: o.wrongHash = true; break;
    case Peer::Bare: o.size = false; break; // neither a hash nor SIZE
    }
    o.commandLog = commandLogOf(peer);
    QFile::remove(o.commandLog);
    return o;
}

class Resume : public ::testing::Test {
protected:
    static void TearDownTestSuite()
    {
        servers.clear();
        for (Peer p : {Peer::FlakyWithHash, Peer::FlakyWithoutRest, Peer::WrongHash, Peer::Bare})
            QFile::remove(commandLogOf(p));
    }

    void TearDown() override
    {
        queue.connectionClosing();
        ftp.CloseConnection();
        resetSessionState();
    }

    // Connects to the server of that kind (started once for the suite).
    FtpServer &connect(Peer peer)
    {
        auto &server = servers[peer];
        if (!server)
            server = std::make_unique<FtpServer>(optionsOf(peer));
        EXPECT_TRUE(server->isRunning()) << server->errorText().toStdString();
        resetSessionState();
        ftp.setHost(&host);
        ftp.setTimeouts({5000, 5000, 5000});
        bConnected = testwait::open(ftp, server->host(), server->port(), server->user(), server->password(), true);
        EXPECT_TRUE(bConnected) << sLastError.toStdString();
        host.localFolder = local.path();
        queue.runner().setConnections(1);
        queue.runner().setRetryPause(1);
        QObject::connect(&queue, &TransferQueue::runFinished, [this](const QList<RowOutcome> &o) { outcomes = o; });
        return *server;
    }
    void list() { testwait::result([this](clsFTPClient::Done d) { ftp.GetDirectoryListing("*.*", d); }); }
    void download(const QString &name, qint64 size, const QDateTime &date = QDateTime())
    {
        list();
        queue.addRemoteSelection({{name, size, date}});
        testwait::run(queue);
    }
    void upload(const QString &name)
    {
        queue.menuupload(local.filePath(name), QString());
        testwait::run(queue);
    }
    QList<Kind> kinds() const { return kindsOf(outcomes); }
    QStringList logged(int id) const { return host.log.filter(LangStr(id).section(QLatin1Char('%'), 0, 0)); }
    static inline std::map<Peer, std::unique_ptr<FtpServer>> servers;
    QTemporaryDir local;
    clsFTPClient ftp;
    QueueModel model;
    TestHost host;
    TransferQueue queue{ftp, model, host, host};
    QList<RowOutcome> outcomes;
};

QString logOf(Peer peer)
{
    return QString::fromLatin1(readFile(commandLogOf(peer)));
}

} // namespace

// The data connection drops after 64 KiB: the one retry goes on from the
// bytes already there (REST, or APPE for an upload when the server has no
// REST), or starts over when it cannot; either way the file is exact.
TEST_F(Resume, CutTransfersAreRetriedAndArriveExact)
{
    // "flakyall-": the control connection goes too, and the retry connects again.
    const struct { Peer peer; bool download; bool resumes; const char *prefix; } cases[] = {
        {Peer::FlakyWithHash, true, true, "flaky-"},
        {Peer::FlakyWithHash, false, true, "flaky-"},
        {Peer::FlakyWithHash, true, true, "flakyall-"},
        {Peer::FlakyWithHash, false, true, "flakyall-"},
        {Peer::FlakyWithoutRest, true, false, "flaky-"},
        {Peer::FlakyWithoutRest, false, true, "flaky-"}, // APPE
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("peer %1, %2 %3").arg(int(c.peer)).arg(c.download ? "down" : "up", c.prefix).toStdString());
        FtpServer &server = connect(c.peer);
        host.log.clear();
        const QString name = QStringLiteral("%1%2.bin").arg(c.prefix).arg(++n);
        const QByteArray data = randomBytes(600 * 1024 + 5, quint32(n));
        if (c.download) {
            server.writeFile(name, data);
            download(name, data.size());
            EXPECT_EQ(readFile(local.filePath(name)), data);
        } else {
            writeFile(local.filePath(name), data);
            upload(name);
            EXPECT_EQ(server.readFile(name), data);
        }
        const QString all = host.log.join('\n');
        EXPECT_EQ(kinds(), QList<Kind>{Kind::Done}) << all.toStdString();
        // One retry, and the line says why the first try ended.
        const QStringList retries = logged(852);
        ASSERT_EQ(retries.size(), 1) << all.toStdString();
        const QString retry = LangStr(852).arg(name, "1", "3", QString());
        EXPECT_TRUE(retries[0].startsWith("12|" + retry.chopped(2))) << all.toStdString();
        EXPECT_FALSE(retries[0].endsWith("()")) << all.toStdString();
        EXPECT_TRUE(logged(850).isEmpty() && logged(851).isEmpty()) << all.toStdString(); // never a mismatch
        const QStringList resumed = logged(854);
        EXPECT_EQ(resumed.size(), c.resumes ? 1 : 0) << all.toStdString();
        if (c.resumes) {
            // The offset is what the first try left, well inside the file.
            const qint64 at = resumed.value(0).section(QLatin1Char(' '), -1).toLongLong();
            EXPECT_GT(at, 0);
            EXPECT_LT(at, data.size());
        }
        EXPECT_EQ(logged(853).size(), c.resumes ? 0 : 1) << all.toStdString();
        if (c.peer == Peer::FlakyWithHash) {
            EXPECT_EQ(logged(857), QStringList{"12|" + LangStr(857).arg(name, "SHA-256")}) << all.toStdString();
        }
        queue.connectionClosing();
        ftp.CloseConnection();
    }
    EXPECT_TRUE(logOf(Peer::FlakyWithoutRest).contains("APPE"));
    EXPECT_FALSE(logOf(Peer::FlakyWithHash).contains("APPE"));
}

// No retries: the cut transfer fails as a failed row does, its partial file kept.
TEST_F(Resume, WithoutRetriesACutDownloadFails)
{
    FtpServer &server = connect(Peer::FlakyWithHash);
    queue.runner().setRetries(0);
    const QByteArray data = randomBytes(300 * 1024, 99);
    server.writeFile("flaky-once.bin", data);
    download("flaky-once.bin", data.size());
    EXPECT_EQ(kinds(), QList<Kind>{Kind::Failed});
    // Why: what the connection did, not the 125 or 150 that opened the data connection.
    ASSERT_EQ(outcomes.size(), 1);
    EXPECT_FALSE(outcomes[0].reason.isEmpty());
    EXPECT_FALSE(outcomes[0].reason.startsWith('1')) << outcomes[0].reason.toStdString();
    EXPECT_EQ(model.count(), 1); // the row stays for another run
    EXPECT_TRUE(logged(852).isEmpty());
    EXPECT_LT(QFileInfo(local.filePath("flaky-once.bin")).size(), data.size());

    // The next run (the server lets it through now) continues the partial file.
    testwait::run(queue);
    EXPECT_EQ(kinds(), QList<Kind>{Kind::Done});
    EXPECT_EQ(readFile(local.filePath("flaky-once.bin")), data);
}

// A hash that does not match fails the transfer (tried again from the start,
// once); a file with neither a hash nor a size to compare still moves.
TEST_F(Resume, HashMismatchFailsAndPlainServersStillWork)
{
    const QByteArray data = randomBytes(100 * 1024, 5);
    {
        FtpServer &server = connect(Peer::WrongHash);
        queue.runner().setRetries(1);
        server.writeFile("a.bin", data);
        download("a.bin", data.size());
        ASSERT_EQ(outcomes.size(), 1);
        EXPECT_EQ(outcomes[0].kind, Kind::Failed);
        EXPECT_EQ(outcomes[0].reason, LangStr(850));
        EXPECT_EQ(logged(852).size(), 1);
        EXPECT_TRUE(logged(854).isEmpty()); // the retry started over
        EXPECT_EQ(model.count(), 1);

        writeFile(local.filePath("b.bin"), data);
        model.clear();
        upload("b.bin");
        ASSERT_EQ(outcomes.size(), 1);
        EXPECT_EQ(outcomes[0].kind, Kind::Failed);
        EXPECT_EQ(outcomes[0].reason, LangStr(850));
        TearDown();
    }
    FtpServer &bare = connect(Peer::Bare);
    bare.writeFile("c.bin", data);
    download("c.bin", data.size());
    EXPECT_EQ(kinds(), QList<Kind>{Kind::Done});
    EXPECT_EQ(readFile(local.filePath("c.bin")), data);
    EXPECT_EQ(logged(857).size(), 1); // the download has the listing's size to go by
    writeFile(local.filePath("d.bin"), data);
    upload("d.bin");
    EXPECT_EQ(kinds(), QList<Kind>{Kind::Done});
    EXPECT_EQ(bare.readFile("d.bin"), data);
    EXPECT_EQ(logged(857).size(), 1); // the upload has nothing to verify with
}

// Without a hash, a download that arrives at the size the listing gave needs
// no SIZE; one whose listed size is out of date asks, and the server's answer
// decides.
TEST_F(Resume, TheListedSizeSparesTheSizeQuestion)
{
    FtpServer &server = connect(Peer::FlakyWithoutRest);
    const QByteArray data = randomBytes(40 * 1024, 8);
    server.writeFile("listed.bin", data);
    server.writeFile("grown.bin", data);
    const auto sizeQuestions = [] { return logOf(Peer::FlakyWithoutRest).count(QStringLiteral("SIZE")); };
    const int before = sizeQuestions();
    download("listed.bin", data.size());
    EXPECT_EQ(kinds(), QList<Kind>{Kind::Done});
    EXPECT_EQ(sizeQuestions(), before);
    download("grown.bin", data.size() - 10); // listed before it grew
    EXPECT_EQ(kinds(), QList<Kind>{Kind::Done});
    EXPECT_EQ(sizeQuestions(), before + 1);
    EXPECT_EQ(readFile(local.filePath("grown.bin")), data);
    EXPECT_EQ(logged(857).size(), 2);
}

// Resume in the file-exists question: offered only for a smaller existing
// file, and the transfer then goes on from its end, both ways.
TEST_F(Resume, ResumeAnswerContinuesTheSmallerFile)
{
    FtpServer &server = connect(Peer::FlakyWithHash);
    const QByteArray data = randomBytes(200 * 1024 + 3, 11);
    server.writeFile("part.bin", data);
    writeFile(local.filePath("part.bin"), data.left(70000));
    host.answers = {6};
    download("part.bin", data.size());
    EXPECT_EQ(host.askedResume, QList<bool>{true});
    EXPECT_EQ(readFile(local.filePath("part.bin")), data);
    EXPECT_EQ(logged(854), QStringList{"12|" + LangStr(854).arg("part.bin", "70000")});
    EXPECT_EQ(logged(857).size(), 1); // the whole file's hash, kept part included

    writeFile(local.filePath("up.bin"), data);
    server.writeFile("up.bin", data.left(90000));
    host.answers = {6};
    upload("up.bin");
    EXPECT_EQ(server.readFile("up.bin"), data);
    EXPECT_EQ(logged(854).last(), "12|" + LangStr(854).arg("up.bin", "90000"));

    // A larger existing file cannot be continued: Resume is not offered.
    server.writeFile("big.bin", data.left(10));
    writeFile(local.filePath("big.bin"), data);
    host.askedResume.clear();
    host.answers = {3};
    download("big.bin", 10);
    EXPECT_EQ(host.askedResume, QList<bool>{false});
    EXPECT_EQ(readFile(local.filePath("big.bin")), data.left(10));
}

// Resume all answers every file by itself: the smaller continued, the one of
// the same size and date skipped, the other replaced.
TEST_F(Resume, ResumeAllDecidesEachFile)
{
    FtpServer &server = connect(Peer::FlakyWithHash);
    const QByteArray data = randomBytes(50 * 1024, 12);
    const QDateTime when = QDateTime::currentDateTime().addDays(-3);
    for (const char *n : {"small.bin", "same.bin", "other.bin"})
        server.writeFile(n, data);
    writeFile(local.filePath("small.bin"), data.left(1000));
    QByteArray same = data;
    same[0] = char(same[0] ^ 1); // same size, other bytes: only a skip keeps them
    writeFile(local.filePath("same.bin"), same);
    platform::setFileModificationTime(local.filePath("same.bin"), when);
    writeFile(local.filePath("other.bin"), "different size");
    list();
    queue.addRemoteSelection({{"small.bin", data.size(), when}, {"same.bin", data.size(), when},
                              {"other.bin", data.size(), when}});
    host.answers = {7};
    testwait::run(queue);
    EXPECT_EQ(host.asked.size(), 1); // then never again
    EXPECT_EQ(readFile(local.filePath("small.bin")), data);
    EXPECT_EQ(readFile(local.filePath("same.bin")), same);
    EXPECT_EQ(readFile(local.filePath("other.bin")), data);
    EXPECT_EQ(kinds().count(Kind::Skipped), 1);
    EXPECT_EQ(kinds().count(Kind::Done), 2);
    EXPECT_FALSE(bResumeAll); // the end of a run forgets it
}
