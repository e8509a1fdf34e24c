// The queue engine and the transfer primitives against a real FTP server.
#include "FtpServer.h"
#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "TestHosts.h"
#include "session/SizeText.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "transfer/TransferQueue.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using testfiles::randomBytes;
using testfiles::readFile;
using testfiles::treeOf;
using testfiles::writeFile;

using Events = QList<QPair<qint64, qint64>>;

class TransferEngine : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() { server = std::make_unique<FtpServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        resetSessionState();
        ASSERT_TRUE(server->isRunning()) << server->errorText().toStdString();
        server->clearRoot();
        ftp.setHost(&host);
        ftp.setTimeouts({5000, 5000, 5000});
        ASSERT_TRUE(open(*server));
        host.localFolder = local.path();
        QObject::connect(&ftp, &clsFTPClient::FileTransferProgress,
                         [this](qint64 cur, qint64 total) { events << qMakePair(cur, total); });
    }
    bool open(const FtpServer &to)
    {
        bConnected = ftp.OpenConnection(to.host(), QString::number(to.port()), to.user(), to.password(),
                                        GetParam() ? 0x08000000 : 0);
        EXPECT_TRUE(bConnected) << sLastError.toStdString();
        return bConnected;
    }
    void TearDown() override
    {
        ftp.CloseConnection();
        resetSessionState();
    }

    // Queues one remote file of the current remote folder for download.
    void queueDownload(const QString &name, qint64 listedSize, const QString &date = QString())
    {
        queue.addRemoteSelection({{name, formatSizeText(listedSize), date}});
    }

    static std::unique_ptr<FtpServer> server;
    QTemporaryDir local;
    clsFTPClient ftp;
    QueueModel model;
    TestHost host{model};
    TransferQueue queue{ftp, model, host, host};
    ScriptedPrompt prompt;
    Events events;
};

std::unique_ptr<FtpServer> TransferEngine::server;

TEST_P(TransferEngine, BlockAndProgressEdgeCasesBothWays)
{
    const struct { int size; Events up; Events down; } cases[] = {
        {0, {{0, 0}}, {}},
        {100, {{100, 100}}, {}},
        {255, {{255, 255}}, {}},
        {510, {{510, 510}}, {}},
        {999, {{999, 999}}, {}},
        {1000, {{1000, 1000}}, {{1000, 1000}}},
        {8100, {{8100, 8100}, {8100, 8100}}, {{8100, 8100}, {8100, 8100}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.size);
        const QByteArray data = randomBytes(c.size, quint32(c.size) + 1);
        const QString name = QString("file%1.bin").arg(c.size);
        writeFile(local.filePath(name), data);

        events.clear();
        QString localPath = local.filePath(name);
        QString remoteName = name;
        ASSERT_TRUE(ftp.FTPUploadFile(localPath, remoteName)) << sLastError.toStdString();
        EXPECT_EQ(server->readFile(name), data);
        EXPECT_EQ(events, c.up);

        QFile::remove(local.filePath(name));
        events.clear();
        queueDownload(name, c.size);
        ASSERT_TRUE(ftp.FTPDownloadFile(local.filePath(name), name)) << sLastError.toStdString();
        model.removeFirst();
        EXPECT_EQ(readFile(local.filePath(name)), data);
        EXPECT_EQ(events, c.down);
    }
}

TEST_P(TransferEngine, RunnerMovesFilesByteForByteAndLogsEachOutcome)
{
    const QByteArray big = randomBytes(700 * 1024 + 17, 7);
    writeFile(local.filePath("big.bin"), big);
    writeFile(local.filePath("small.txt"), "hello\r\nworld\n");
    ASSERT_TRUE(queue.menuupload(local.filePath("big.bin"), QString()));
    EXPECT_FALSE(queue.menuupload(local.filePath("vanished.txt"), QString())); // reported, not queued
    ASSERT_TRUE(queue.menuupload(local.filePath("small.txt"), QString()));
    EXPECT_EQ(host.log.filter("vanished.txt").size(), 1);
    host.log.clear();
    EXPECT_EQ(model.row(0).text[QueueRow::Remote], "/");
    EXPECT_EQ(model.row(0).text[QueueRow::Size], " 716 817");
    EXPECT_EQ(model.row(0).text[QueueRow::Status], "Upload");
    EXPECT_EQ(sLastQueuedSize, "  13");

    queue.RunTransferQueue();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(server->readFile("big.bin"), big);
    EXPECT_EQ(server->readFile("small.txt"), "hello\r\nworld\n"); // binary by default: untouched
    EXPECT_EQ(host.log.first(), "9|");
    EXPECT_EQ(host.log.last(), "10|");
    EXPECT_TRUE(host.keepAlive);
    EXPECT_FALSE(bQueueBusy);

    QTemporaryDir back;
    host.localFolder = back.path();
    ftp.GetDirectoryListing("*.*");
    queueDownload("big.bin", big.size());
    queueDownload("small.txt", 13);
    EXPECT_EQ(model.row(0).text[QueueRow::Local], back.path());
    queue.RunTransferQueue();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(readFile(back.filePath("big.bin")), big);
    EXPECT_EQ(readFile(back.filePath("small.txt")), "hello\r\nworld\n");
}

TEST_P(TransferEngine, ConflictsOverwriteSkipCancelAndOverwriteAll)
{
    server->writeFile("a.txt", "server a");
    server->writeFile("b.txt", "server b");
    server->writeFile("c.txt", "server c");
    ftp.GetDirectoryListing("*.*");
    writeFile(local.filePath("a.txt"), "local a");
    writeFile(local.filePath("b.txt"), "local b");
    writeFile(local.filePath("c.txt"), "local c");

    // Skip the first, overwrite the second, the third is asked too.
    for (const char *n : {"a.txt", "b.txt", "c.txt"})
        queueDownload(n, 8);
    host.answers = {2, 3, 1};
    queue.RunTransferQueue();
    EXPECT_EQ(host.asked, QStringList({"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(readFile(local.filePath("a.txt")), "local a");
    EXPECT_EQ(readFile(local.filePath("b.txt")), "server b");
    // Cancel ended the run: its row stays, no completion line.
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(model.row(0).text[0], "c.txt");
    EXPECT_NE(host.log.last(), "10|");
    EXPECT_EQ(readFile(local.filePath("c.txt")), "local c");

    // Overwrite all: asked once, then never again in this run.
    model.clear();
    host.asked.clear();
    for (const char *n : {"a.txt", "c.txt"})
        queueDownload(n, 8);
    host.answers = {4};
    queue.RunTransferQueue();
    EXPECT_EQ(host.asked, QStringList({"a.txt"}));
    EXPECT_EQ(readFile(local.filePath("a.txt")), "server a");
    EXPECT_EQ(readFile(local.filePath("c.txt")), "server c");
    EXPECT_FALSE(bOverwriteAll); // the end of a run forgets it

    // Uploads: a skipped file drops its row and the run goes on.
    host.asked.clear();
    host.askedUp.clear();
    writeFile(local.filePath("a.txt"), "new a");
    writeFile(local.filePath("d.txt"), "new d");
    queue.menuupload(local.filePath("a.txt"), QString());
    queue.menuupload(local.filePath("d.txt"), QString());
    host.answers = {2};
    queue.RunTransferQueue();
    EXPECT_EQ(host.asked, QStringList({"a.txt"}));
    EXPECT_EQ(host.askedUp, QList<bool>({true}));
    EXPECT_EQ(server->readFile("a.txt"), "server a");
    EXPECT_EQ(server->readFile("d.txt"), "new d");
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(host.log.last(), "10|");
}

// A stop ends the run with the row kept: the local file of an upload is
// untouched, a download keeps its partial file and the connection stays usable.
TEST_P(TransferEngine, StopDuringUploadAndDuringDownload)
{
    writeFile(local.filePath("up.bin"), randomBytes(200 * 1024, 3));
    writeFile(local.filePath("next.bin"), "x");
    queue.menuupload(local.filePath("up.bin"), QString());
    queue.menuupload(local.filePath("next.bin"), QString());
    QObject::connect(&ftp, &clsFTPClient::FileTransferProgress, [] { bStopTransfer = true; });
    bVeuxSon = true;
    queue.RunTransferQueue();
    ASSERT_EQ(model.count(), 2);
    EXPECT_EQ(model.row(0).text[0], "up.bin");
    EXPECT_FALSE(bStopTransfer);
    EXPECT_EQ(host.log.last(), "10|");
    EXPECT_EQ(host.played.size(), 1);
    EXPECT_EQ(readFile(local.filePath("up.bin")).size(), 200 * 1024);

    model.clear();
    server->writeFile("down.bin", randomBytes(300 * 1024, 4));
    ftp.GetDirectoryListing("*.*");
    queueDownload("down.bin", 300 * 1024);
    queue.RunTransferQueue();
    EXPECT_EQ(model.count(), 1);
    EXPECT_FALSE(bStopTransfer);
    EXPECT_NE(host.log.last(), "10|");
    const qint64 partial = QFileInfo(local.filePath("down.bin")).size();
    EXPECT_GT(partial, 0);
    EXPECT_LT(partial, 300 * 1024);
    EXPECT_EQ(ftp.GetFTPDirectory(), "/");
}

TEST_P(TransferEngine, UploadsIntoOneFolderChangeFolderOnceAndCreateLevels)
{
    ASSERT_TRUE(ftp.CreateFTPDirectory("/a"));
    ASSERT_TRUE(ftp.SetFTPDirectory("/a"));
    writeFile(local.filePath("one.txt"), "1");
    writeFile(local.filePath("two.txt"), "2");
    queue.menuupload(local.filePath("one.txt"), QString());
    queue.menuupload(local.filePath("two.txt"), QString());
    ASSERT_EQ(model.row(1).text[QueueRow::Remote], "/a");
    ASSERT_TRUE(ftp.SetFTPDirectory("/"));
    queue.RunTransferQueue();
    EXPECT_EQ(server->readFile("a/one.txt"), "1");
    EXPECT_EQ(server->readFile("a/two.txt"), "2");
    EXPECT_EQ(host.localRefreshes, 2); // one folder change, plus the final refresh

    writeFile(local.filePath("deep.txt"), "deep");
    queue.menuupload(local.filePath("deep.txt"), "/x/y/z");
    EXPECT_EQ(model.row(0).text[QueueRow::Remote], "/x/y/z");
    queue.RunTransferQueue();
    EXPECT_EQ(server->readFile("x/y/z/deep.txt"), "deep");
}

TEST_P(TransferEngine, FolderTreesBothWays)
{
    const QString tree = local.filePath("proj");
    writeFile(tree + "/readme.txt", "top");
    writeFile(tree + "/src/main.c", randomBytes(5000, 9));
    writeFile(tree + "/src/lib/util.c", "util");
    QDir().mkpath(tree + "/empty");
    writeFile(tree + "/.hidden", "hidden");
    queue.addLocalSelection({{"proj", true}});
    EXPECT_TRUE(host.waitShown);
    ASSERT_EQ(model.count(), 3); // files only, hidden files left out
    queue.RunTransferQueue();
    EXPECT_EQ(server->readFile("proj/src/lib/util.c"), "util");
    EXPECT_FALSE(QFileInfo::exists(server->path("proj/empty")));

    server->makeDir("proj/empty");
    QTemporaryDir back;
    host.localFolder = back.path();
    ftp.GetDirectoryListing("*.*");
    queue.addRemoteSelection({{"proj", "", ""}});
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(ftp.GetFTPDirectory(), "/"); // expansion returns to where it was
    queue.RunTransferQueue();
    QMap<QString, QByteArray> original = treeOf(tree);
    original.remove(".hidden");
    EXPECT_EQ(treeOf(back.filePath("proj")), original);
}

TEST_P(TransferEngine, DotEntriesAndHostileNamesNeverBecomeLocalPaths)
{
    server->writeFile("dir/ok.txt", "ok");
    server->writeFile("dir/evil\\name.txt", "evil"); // a backslash is legal on the server
    ftp.GetDirectoryListing("*.*");
    queue.addRemoteSelection({{".", "", ""}, {"..", "", ""}, {"../x", "  1", ""}, {"a/b", "  1", ""}});
    EXPECT_EQ(model.count(), 0);
    queue.addRemoteSelection({{"dir", "", ""}});
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(model.row(0).text[0], "ok.txt");
    EXPECT_TRUE(host.log.filter("evil\\name.txt").size() == 1) << host.log.join('\n').toStdString();
}

// A link is a folder when the server lets us in, else a file; one that leads
// back up the tree is left out with a line in the log, never followed round
// and round. A row whose size the listing did not give still downloads.
TEST_P(TransferEngine, LinksAreFollowedByWhatTheServerAnswers)
{
    FtpServerOptions listOnly; // links show as links in LIST answers
    listOnly.mlsd = false;
    FtpServer other(listOnly);
    ASSERT_TRUE(other.isRunning()) << other.errorText().toStdString();
    ftp.CloseConnection();
    ASSERT_TRUE(open(other));
    other.writeFile("real/inner.txt", "inner");
    other.writeFile("data.txt", "data");
    namespace fs = std::filesystem;
    fs::create_symlink("real", other.path("todir").toStdString());
    fs::create_symlink("data.txt", other.path("tofile").toStdString());
    fs::create_symlink("..", other.path("real/up").toStdString());
    fs::create_symlink(".", other.path("real/self").toStdString());
    ftp.GetDirectoryListing("*.*");
    ASSERT_NE(ftp.Directory().Item("todir"), nullptr);
    EXPECT_TRUE(ftp.Directory().Item("todir")->isLink);
    EXPECT_EQ(ftp.Directory().Item("todir")->linkTarget, "real");

    queue.addRemoteSelection({{"todir", "", ""}, {"tofile", "", ""}});
    QStringList rows;
    for (int r = 0; r < model.count(); ++r)
        rows << model.row(r).text[QueueRow::Name] + "|" + model.row(r).text[QueueRow::Remote];
    EXPECT_EQ(rows, (QStringList{"inner.txt|/todir", "tofile|/"}));
    EXPECT_EQ(host.log.filter(LangStr(873)).size(), 2) << host.log.join('\n').toStdString();
    EXPECT_EQ(ftp.GetFTPDirectory(), "/");
    queue.RunTransferQueue();
    EXPECT_EQ(readFile(local.filePath("todir/inner.txt")), "inner");
    EXPECT_EQ(readFile(local.filePath("tofile")), "data");
    EXPECT_EQ(model.count(), 0);
}

// A server may show a link back up as a plain folder (MLSD follows links):
// the expansion stops at a depth no real tree reaches, and says so.
TEST_P(TransferEngine, AnExpansionThatNeverEndsIsCutShort)
{
    server->writeFile("f.txt", "f");
    std::filesystem::create_symlink(".", server->path("loop").toStdString());
    ftp.GetDirectoryListing("*.*");
    ASSERT_TRUE(ftp.Directory().Item("loop")->Directory);
    queue.addRemoteSelection({{"loop", "", ""}});
    EXPECT_EQ(model.count(), 32); // f.txt once on each level
    EXPECT_EQ(host.log.filter(LangStr(874)).size(), 1) << host.log.join('\n').toStdString();
    EXPECT_EQ(ftp.GetFTPDirectory(), "/");
}

// The listed size and date are from when the pane was filled: the file comes
// as the server has it now, and takes the listed date.
TEST_P(TransferEngine, GrownAndShrunkRemoteFilesArriveWholeWithTheListedDate)
{
    server->writeFile("grown.bin", randomBytes(5000, 11));
    server->writeFile("shrunk.bin", randomBytes(100, 12));
    ftp.GetDirectoryListing("*.*");
    const QDateTime when(QDate(2020, 5, 17), QTime(10, 20, 30), Qt::LocalTime);
    queueDownload("grown.bin", 1000, formatGeneralDate(when));
    queueDownload("shrunk.bin", 5000);
    queue.RunTransferQueue();
    EXPECT_EQ(readFile(local.filePath("grown.bin")), server->readFile("grown.bin"));
    EXPECT_EQ(readFile(local.filePath("shrunk.bin")), server->readFile("shrunk.bin"));
    EXPECT_EQ(QFileInfo(local.filePath("grown.bin")).lastModified(), when);
    EXPECT_EQ(host.log.last(), "10|");
}

// A server that dies in the middle of a download: a failure, never "done",
// and the partial file stays.
TEST_P(TransferEngine, ServerDyingMidDownloadIsAFailure)
{
    FtpServer dying;
    ASSERT_TRUE(dying.isRunning());
    dying.writeFile("huge.bin", randomBytes(8 * 1024 * 1024, 5));
    ASSERT_TRUE(open(dying));
    ftp.GetDirectoryListing("*.*");
    queueDownload("huge.bin", 8 * 1024 * 1024);
    bool killed = false;
    const auto link = QObject::connect(&ftp, &clsFTPClient::FileTransferProgress, [&] {
        if (!std::exchange(killed, true))
            dying.kill();
    });
    queue.RunTransferQueue();
    QObject::disconnect(link);
    EXPECT_TRUE(killed);
    EXPECT_EQ(model.count(), 1);
    EXPECT_NE(host.log.last(), "10|");
    EXPECT_FALSE(bQueueBusy);
    EXPECT_LT(QFileInfo(local.filePath("huge.bin")).size(), 8 * 1024 * 1024);
}

INSTANTIATE_TEST_SUITE_P(Modes, TransferEngine, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "Passive" : "Active"; });

} // namespace
