// The queue engine and the connections' transfers against a real FTP server.
#include "FtpServer.h"
#include "ScriptedPrompt.h"
#include "SessionWait.h"
#include "TestFiles.h"
#include "TestHosts.h"
#include "session/DateValue.h"
#include "session/FileTypes.h"
#include "session/FtpLink.h"
#include "session/SizeText.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "transfer/TransferQueue.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

using testfiles::randomBytes;
using testfiles::readFile;
using testfiles::treeOf;
using testfiles::writeFile;

using Events = QList<QPair<qint64, qint64>>;
using Kind = RowOutcome::Kind;

class TransferEngine : public ::testing::TestWithParam<bool>, public SuiteFtpServer {
protected:
    static void SetUpTestSuite() { startServer(); }
    static void TearDownTestSuite() { stopServer(); }

    void SetUp() override
    {
        resetSessionState();
        readyServer();
        ftp.setHost(&host);
        ftp.setTimeouts({5000, 5000, 5000});
        ASSERT_TRUE(open(*server));
        host.localFolder = local.path();
        queue.runner().setConnections(1);
        QObject::connect(&queue, &TransferQueue::runFinished,
                         [this](const QList<RowOutcome> &o) { outcomes = o; });
    }
    bool open(const FtpServer &to)
    {
        bConnected = testwait::open(ftp, to.host(), to.port(), to.user(), to.password(), GetParam());
        EXPECT_TRUE(bConnected) << sLastError.toStdString();
        return bConnected;
    }
    void TearDown() override
    {
        queue.connectionClosing();
        ftp.CloseConnection();
        resetSessionState();
    }
    void list() { testwait::result([this](clsFTPClient::Done d) { ftp.GetDirectoryListing("*.*", d); }); }
    void run() { testwait::run(queue); }
    // Queues one remote file of the current remote folder for download.
    void queueDownload(const QString &name, qint64 listedSize, const QDateTime &date = QDateTime())
    {
        queue.addRemoteSelection({{name, listedSize, date}});
    }
    QList<Kind> kinds() const { return kindsOf(outcomes); }

    QTemporaryDir local;
    clsFTPClient ftp;
    QueueModel model;
    TestHost host;
    TransferQueue queue{ftp, model, host, host};
    ScriptedPrompt prompt;
    QList<RowOutcome> outcomes;
};

// The connection's own transfers: blocks of 255 bytes, progress after every
// 8000 bytes or so and at the end, byte for byte both ways.
TEST_P(TransferEngine, BlockAndProgressEdgeCasesBothWays)
{
    ftp::FtpLink link(*ftp.loginParams());
    ASSERT_TRUE(link.run(ftp::Connect{}).ok());
    Events events;
    QObject::connect(&link, &ftp::FtpLink::progress,
                     [&](quint64, qint64 cur, qint64 total) { events << qMakePair(cur, total); });
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
        ftp::Store up;
        up.localPath = local.filePath(name);
        up.name = name;
        ftp::Result r = link.run(up);
        ASSERT_TRUE(r.ok()) << r.errorText(false).toStdString();
        EXPECT_EQ(server->readFile(name), data);
        EXPECT_EQ(events, c.up);

        QFile::remove(local.filePath(name));
        events.clear();
        ftp::Retrieve down;
        down.name = name;
        down.localFolder = local.path();
        down.expectedSize = c.size;
        r = link.run(down);
        ASSERT_TRUE(r.ok()) << r.errorText(false).toStdString();
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
    EXPECT_EQ(model.row(0).remote, "/");
    EXPECT_EQ(model.text(0, QueueRow::Size), " 716 817");
    EXPECT_EQ(model.text(0, QueueRow::Status), "Upload");
    EXPECT_EQ(sLastQueuedSize, "  13");

    run();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(server->readFile("big.bin"), big);
    EXPECT_EQ(server->readFile("small.txt"), "hello\r\nworld\n"); // binary by default: untouched
    EXPECT_EQ(host.log.first(), "9|");
    EXPECT_EQ(host.log.last(), "10|");
    EXPECT_EQ(kinds(), QList<Kind>({Kind::Done, Kind::Done}));
    EXPECT_TRUE(host.keepAlive);
    EXPECT_FALSE(bQueueBusy);

    QTemporaryDir back;
    host.localFolder = back.path();
    list();
    queueDownload("big.bin", big.size());
    queueDownload("small.txt", 13);
    EXPECT_EQ(model.row(0).local, back.path());
    run();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(readFile(back.filePath("big.bin")), big);
    EXPECT_EQ(readFile(back.filePath("small.txt")), "hello\r\nworld\n");
}

// Several connections at once, each row on one of them: byte for byte, and
// the browsing connection stays free for the pane meanwhile.
TEST_P(TransferEngine, TwoAndFourFilesAtOnceBothWays)
{
    for (int connections : {2, 4}) {
        SCOPED_TRACE(connections);
        server->clearRoot();
        queue.runner().setConnections(connections);
        QTemporaryDir up;
        QMap<QString, QByteArray> files;
        for (int i = 0; i < 24; ++i) {
            const QString name = QString("f%1.bin").arg(i, 2, 10, QChar('0'));
            files[name] = randomBytes(40000 + i * 997, quint32(i + 1));
            writeFile(up.filePath(name), files[name]);
            queue.menuupload(up.filePath(name), QString());
        }
        int most = 0;
        QObject::connect(&model, &QueueModel::dataChanged, &model,
                         [&] { most = qMax(most, model.runningCount()); });
        queue.RunTransferQueue();
        // The server pane's connection answers while the files move.
        const ftp::Result listed =
            testwait::result([this](clsFTPClient::Done d) { ftp.GetDirectoryListing("*.*", d); });
        EXPECT_TRUE(listed.ok());
        EXPECT_TRUE(queue.isRunning() || model.count() == 0);
        testwait::until([&] { return !queue.isRunning(); });
        EXPECT_EQ(model.count(), 0);
        EXPECT_GE(most, 2);
        EXPECT_LE(most, connections);
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            EXPECT_EQ(server->readFile(it.key()), it.value()) << it.key().toStdString();

        QTemporaryDir down;
        host.localFolder = down.path();
        list();
        QList<RemoteSelection> all;
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            all.append({it.key(), it.value().size(), QDateTime()});
        queue.addRemoteSelection(all);
        run();
        EXPECT_EQ(model.count(), 0);
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            EXPECT_EQ(readFile(down.filePath(it.key())), it.value()) << it.key().toStdString();
        EXPECT_EQ(outcomes.size(), files.size());
        host.localFolder = local.path();
    }
}

// Cancel ends a run of downloads: the question another transfer was to ask
// is not asked, that transfer stops, and every row stays for later.
TEST_P(TransferEngine, AfterCancelTheOtherConnectionsAskNothingMore)
{
    queue.runner().setConnections(2);
    for (const char *name : {"one.txt", "two.txt"}) {
        server->writeFile(name, "server");
        writeFile(local.filePath(name), "mine");
    }
    list();
    queueDownload("one.txt", 6);
    queueDownload("two.txt", 6);
    host.answers = {1}; // Cancel
    run();
    EXPECT_EQ(host.asked.size(), 1);
    EXPECT_EQ(model.count(), 2);
    for (const char *name : {"one.txt", "two.txt"})
        EXPECT_EQ(readFile(local.filePath(name)), "mine") << name;
}

// The progress bar stays up from the first file of a run to the last: hidden
// and shown again between two files, it has the window repaint everything
// beneath it once a file, and a tree of small files then waits on painting.
TEST_P(TransferEngine, TheProgressBarStaysUpFromTheFirstFileToTheLast)
{
    for (int connections : {1, 3}) {
        SCOPED_TRACE(connections);
        queue.runner().setConnections(connections);
        for (int i = 0; i < 12; ++i)
            server->writeFile(QString("small%1.txt").arg(i), QByteArray(100 + i, 'x'));
        list();
        for (int i = 0; i < 12; ++i)
            queueDownload(QString("small%1.txt").arg(i), 100 + i);
        host.progressHides = 0;
        run();
        EXPECT_EQ(model.count(), 0);
        EXPECT_EQ(outcomes.size(), 12);
        EXPECT_FALSE(host.progressVisible);
        EXPECT_EQ(host.progressHides, 1);
    }
}

// The bar takes a value at most four times a second whichever row it
// follows (each value repaints it at once); a file it has shown ends on it.
TEST_P(TransferEngine, TheProgressBarTakesFourValuesASecondAtMost)
{
    double clock = 100;
    queue.setClock([&clock] { return clock; });
    for (int i = 0; i < 12; ++i)
        server->writeFile(QString("small%1.txt").arg(i), QByteArray(2000 + i, 'x'));
    list();
    for (int i = 0; i < 12; ++i)
        queueDownload(QString("small%1.txt").arg(i), 2000 + i);
    run();
    // No time passes: the first file's figures, and nothing more.
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(host.progressFigures, 1);

    // A quarter of a second between two files: each one is shown.
    for (int i = 0; i < 4; ++i)
        queueDownload(QString("small%1.txt").arg(i), 2000 + i);
    host.progressFigures = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &model, [&clock] { clock += 0.25; });
    run();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(host.progressFigures, 4);
}

TEST_P(TransferEngine, ConflictsOverwriteSkipCancelAndOverwriteAll)
{
    server->writeFile("a.txt", "server a");
    server->writeFile("b.txt", "server b");
    server->writeFile("c.txt", "server c");
    list();
    writeFile(local.filePath("a.txt"), "local a");
    writeFile(local.filePath("b.txt"), "local b");
    writeFile(local.filePath("c.txt"), "local c");

    // Skip the first, overwrite the second, the third is asked too.
    for (const char *n : {"a.txt", "b.txt", "c.txt"})
        queueDownload(n, 8);
    host.answers = {2, 3, 1};
    run();
    EXPECT_EQ(host.asked, QStringList({"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(readFile(local.filePath("a.txt")), "local a");
    EXPECT_EQ(readFile(local.filePath("b.txt")), "server b");
    // Cancel ended the run: its row stays, no completion line.
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(model.row(0).name, "c.txt");
    EXPECT_NE(host.log.last(), "10|");
    EXPECT_EQ(readFile(local.filePath("c.txt")), "local c");
    EXPECT_EQ(kinds(), QList<Kind>({Kind::Skipped, Kind::Done, Kind::Cancelled}));
    // A skip is said as such, never as a completed transfer.
    EXPECT_EQ(host.log.filter("Fichier ignoré : a.txt").size(), 1) << host.log.join('\n').toStdString();

    // Overwrite all: asked once, then never again in this run.
    model.clear();
    host.asked.clear();
    for (const char *n : {"a.txt", "c.txt"})
        queueDownload(n, 8);
    host.answers = {4};
    run();
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
    run();
    EXPECT_EQ(host.asked, QStringList({"a.txt"}));
    EXPECT_EQ(host.askedUp, QList<bool>({true}));
    EXPECT_EQ(server->readFile("a.txt"), "server a");
    EXPECT_EQ(server->readFile("d.txt"), "new d");
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(host.log.last(), "10|");
}

// Uploads over files the server has store the new bytes. The question
// comes from the connection's look at the folder (a listing, or a download
// opened and aborted at once); a look that left the server's copy empty, or
// an overwrite that went on where the old copy ended, would pass for done.
TEST_P(TransferEngine, OverwrittenUploadsStoreTheNewBytes)
{
    for (int i = 0; i < 10; ++i) {
        const QString name = QString("over%1.txt").arg(i);
        server->writeFile(name, "server");
        writeFile(local.filePath(name), "local " + QByteArray::number(i));
        queue.menuupload(local.filePath(name), QString());
    }
    run();
    EXPECT_EQ(host.asked.size(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(server->readFile(QString("over%1.txt").arg(i)), "local " + QByteArray::number(i)) << i;
}

// A folder's names are listed once a run: a file that appeared on the server
// between two runs on the same connections is asked about, not overwritten unasked.
TEST_P(TransferEngine, AFileThatAppearedBetweenTwoRunsIsAskedAbout)
{
    writeFile(local.filePath("first.txt"), "1");
    writeFile(local.filePath("later.txt"), "local");
    queue.menuupload(local.filePath("first.txt"), QString());
    run();
    EXPECT_TRUE(host.asked.isEmpty());
    server->writeFile("later.txt", "server");
    host.answers = {2}; // Skip
    queue.menuupload(local.filePath("later.txt"), QString());
    run();
    EXPECT_EQ(host.asked, QStringList{"later.txt"});
    EXPECT_EQ(server->readFile("later.txt"), "server");
}

// A stop ends the run with the row kept: the local file of an upload is
// untouched, a download keeps its partial file and the connection stays
// usable. A stop with nothing running changes nothing later. (A running row
// removed from the queue stops only itself: the busy window suite's.)
TEST_P(TransferEngine, StopDuringUploadAndDuringDownloadAndWithNothingRunning)
{
    // A slow link, so that the files are still on their way when the stop comes.
    FtpServerOptions slowly;
    slowly.rate = 256 * 1024;
    FtpServer slow(slowly);
    ASSERT_TRUE(slow.isRunning());
    ASSERT_TRUE(open(slow));
    queue.stop();
    EXPECT_FALSE(bStopTransfer);
    writeFile(local.filePath("up.bin"), randomBytes(2 * 1024 * 1024, 3));
    writeFile(local.filePath("next.bin"), "x");
    queue.menuupload(local.filePath("up.bin"), QString());
    queue.menuupload(local.filePath("next.bin"), QString());
    host.onProgress = [this](qint64, qint64) { queue.stop(); };
    bVeuxSon = true;
    run();
    ASSERT_EQ(model.count(), 2);
    EXPECT_EQ(model.row(0).name, "up.bin");
    EXPECT_FALSE(bStopTransfer);
    EXPECT_EQ(host.log.last(), "10|");
    EXPECT_EQ(host.played.size(), 1);
    EXPECT_EQ(readFile(local.filePath("up.bin")).size(), 2 * 1024 * 1024);
    EXPECT_EQ(kinds(), QList<Kind>({Kind::Stopped}));

    model.clear();
    slow.writeFile("down.bin", randomBytes(3 * 1024 * 1024, 4));
    list();
    queueDownload("down.bin", 3 * 1024 * 1024);
    run();
    EXPECT_EQ(model.count(), 1);
    EXPECT_FALSE(bStopTransfer);
    EXPECT_NE(host.log.last(), "10|");
    const qint64 partial = QFileInfo(local.filePath("down.bin")).size();
    EXPECT_GT(partial, 0);
    EXPECT_LT(partial, 3 * 1024 * 1024);

    // Nothing of the stops is left over: the next files arrive whole.
    host.onProgress = {};
    model.clear();
    queue.stop();
    slow.writeFile("small.bin", randomBytes(20000, 5));
    list();
    queue.menuupload(local.filePath("next.bin"), QString());
    queueDownload("small.bin", 20000);
    run();
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(slow.readFile("next.bin"), "x");
    EXPECT_EQ(readFile(local.filePath("small.bin")), slow.readFile("small.bin"));
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
    run();
    // Each level made on the way; the browsing connection never moved.
    EXPECT_EQ(server->readFile("proj/src/lib/util.c"), "util");
    EXPECT_EQ(ftp.GetFTPDirectory(), "/");
    EXPECT_FALSE(QFileInfo::exists(server->path("proj/empty")));

    server->makeDir("proj/empty");
    QTemporaryDir back;
    host.localFolder = back.path();
    list();
    queue.addRemoteSelection({{"proj", -1, QDateTime()}});
    testwait::until([this] { return !queue.isExpanding(); });
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(ftp.GetFTPDirectory(), "/"); // the expansion returns to where it was
    run();
    QMap<QString, QByteArray> original = treeOf(tree);
    original.remove(".hidden");
    EXPECT_EQ(treeOf(back.filePath("proj")), original);
}

TEST_P(TransferEngine, DotEntriesAndHostileNamesNeverBecomeLocalPaths)
{
    server->writeFile("dir/ok.txt", "ok");
    server->writeFile("dir/evil\\name.txt", "evil"); // a backslash is legal on the server
    list();
    queue.addRemoteSelection({{".", -1, {}}, {"..", -1, {}}, {"../x", 1, {}}, {"a/b", 1, {}}});
    EXPECT_EQ(model.count(), 0);
    queue.addRemoteSelection({{"dir", -1, {}}});
    testwait::until([this] { return !queue.isExpanding(); });
    ASSERT_EQ(model.count(), 1);
    EXPECT_EQ(model.row(0).name, "ok.txt");
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
    list();
    ASSERT_NE(ftp.Directory().Item("todir"), nullptr);
    EXPECT_TRUE(ftp.Directory().Item("todir")->isLink);
    EXPECT_EQ(ftp.Directory().Item("todir")->linkTarget, "real");

    queue.addRemoteSelection({{"todir", -1, {}}, {"tofile", -1, {}}});
    testwait::until([this] { return !queue.isExpanding(); });
    QStringList rows;
    for (int r = 0; r < model.count(); ++r)
        rows << model.row(r).name + "|" + model.row(r).remote;
    EXPECT_EQ(rows, (QStringList{"inner.txt|/todir", "tofile|/"}));
    EXPECT_EQ(host.log.filter(LangStr(873)).size(), 2) << host.log.join('\n').toStdString();
    EXPECT_EQ(ftp.GetFTPDirectory(), "/");
    run();
    EXPECT_EQ(readFile(local.filePath("todir/inner.txt")), "inner");
    EXPECT_EQ(readFile(local.filePath("tofile")), "data");
    EXPECT_EQ(model.count(), 0);
}

// A server that lists by MLSD may show a link back up as a plain folder
// (pyftpdlib) or as a link with no target (pure-ftpd): the "unique" facts
// tell it from a folder, and it is left out with a line in the log. A
// server that gives no such facts gets an expansion that stops at a depth
// no real tree reaches, and says so.
TEST_P(TransferEngine, LinksBackUpAreLeftOutWhateverTheListingShows)
{
    namespace fs = std::filesystem;
    struct Case {
        const char *what;
        bool unique;
        std::function<void(const FtpServer &)> make;
        int rows, loopLines, tooDeepLines;
    };
    const auto linksOnDisk = [](const FtpServer &s) {
        s.writeFile("d/f.txt", "f");
        fs::create_symlink(".", s.path("d/self").toStdString());
        fs::create_symlink("..", s.path("d/up").toStdString());
    };
    // pure-ftpd's answers: the folders' facts on cdir/pdir lines, the links' own on theirs.
    const auto pureFtpd = [](const FtpServer &s) {
        s.writeFile("d/f.txt", "f");
        s.writeFile("d/.mlsd", "type=cdir;unique=D; .\r\ntype=pdir;unique=R; ..\r\n"
                               "type=file;size=1;unique=F; f.txt\r\n"
                               "type=OS.unix=slink:;unique=L1; self\r\ntype=OS.unix=slink:;unique=L2; up\r\n");
        s.writeFile("d/self/.mlsd", "type=cdir;unique=D; .\r\ntype=file;size=1;unique=F; f.txt\r\n");
        s.writeFile("d/up/.mlsd", "type=cdir;unique=R; .\r\ntype=dir;unique=D; d\r\n");
    };
    const auto oneLoop = [](const FtpServer &s) {
        s.writeFile("d/f.txt", "f");
        fs::create_symlink(".", s.path("d/self").toStdString());
    };
    const Case cases[] = {
        {"links shown as folders", true, linksOnDisk, 1, 2, 0},
        {"links with no target", true, pureFtpd, 1, 2, 0},
        {"no unique facts", false, oneLoop, kMaxRemoteDepth, 0, 1}, // f.txt once on each level
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FtpServerOptions options;
        options.unique = c.unique;
        FtpServer other(options);
        ASSERT_TRUE(other.isRunning()) << other.errorText().toStdString();
        ftp.CloseConnection();
        ASSERT_TRUE(open(other));
        c.make(other);
        host.log.clear();
        model.clear();
        list();
        queue.addRemoteSelection({{"d", -1, {}}});
        testwait::until([this] { return !queue.isExpanding(); });
        EXPECT_EQ(model.count(), c.rows);
        EXPECT_EQ(host.log.filter(LangStr(873)).size(), c.loopLines) << host.log.join('\n').toStdString();
        EXPECT_EQ(host.log.filter(LangStr(874)).size(), c.tooDeepLines) << host.log.join('\n').toStdString();
        EXPECT_EQ(ftp.GetFTPDirectory(), "/"); // the expansion returns to where it was
    }
}

// The listed size and date are from when the pane was filled: the file comes
// as the server has it now, and takes the listed date.
TEST_P(TransferEngine, GrownAndShrunkRemoteFilesArriveWholeWithTheListedDate)
{
    server->writeFile("grown.bin", randomBytes(5000, 11));
    server->writeFile("shrunk.bin", randomBytes(100, 12));
    list();
    const QDateTime when(QDate(2020, 5, 17), QTime(10, 20, 30), Qt::LocalTime);
    queueDownload("grown.bin", 1000, when);
    queueDownload("shrunk.bin", 5000);
    run();
    EXPECT_EQ(readFile(local.filePath("grown.bin")), server->readFile("grown.bin"));
    EXPECT_EQ(readFile(local.filePath("shrunk.bin")), server->readFile("shrunk.bin"));
    EXPECT_EQ(QFileInfo(local.filePath("grown.bin")).lastModified(), when);
    EXPECT_EQ(host.log.last(), "10|");
}

// A server that dies in the middle of a download: a failure that names the
// file, never "done", and the partial file stays.
TEST_P(TransferEngine, ServerDyingMidDownloadIsAFailure)
{
    FtpServer dying;
    ASSERT_TRUE(dying.isRunning());
    dying.writeFile("huge.bin", randomBytes(32 * 1024 * 1024, 5));
    ASSERT_TRUE(open(dying));
    list();
    queueDownload("huge.bin", 32 * 1024 * 1024);
    host.onProgress = [&](qint64, qint64) { dying.kill(); };
    queue.runner().setRetryPause(1);
    run();
    EXPECT_EQ(model.count(), 1);
    EXPECT_NE(host.log.last(), "10|");
    // Tried again as often as the option says (3), then a failure like any other.
    EXPECT_EQ(host.log.filter(LangStr(802) + "huge.bin").size(), 1) << host.log.join('\n').toStdString();
    EXPECT_EQ(host.log.filter(LangStr(852).arg("huge.bin", "3", "3", QString()).chopped(2)).size(), 1)
        << host.log.join('\n').toStdString();
    EXPECT_FALSE(bQueueBusy);
    EXPECT_EQ(kinds(), QList<Kind>({Kind::Failed}));
    EXPECT_LT(QFileInfo(local.filePath("huge.bin")).size(), 32 * 1024 * 1024);
}

// A server that takes only so many connections from one address: the run
// uses as many as it gets, down to the browsing connection alone, and says so once.
TEST_P(TransferEngine, ServerTakingFewConnectionsStillGetsEveryFile)
{
    for (int allowed : {2, 1}) {
        SCOPED_TRACE(allowed);
        FtpServerOptions options;
        options.maxPerAddress = allowed;
        FtpServer strict(options);
        ASSERT_TRUE(strict.isRunning());
        ASSERT_TRUE(open(strict));
        queue.runner().setConnections(4);
        for (int i = 0; i < 8; ++i) {
            writeFile(local.filePath(QString("p%1.txt").arg(i)), QByteArray(3000 + i, char('a' + i)));
            queue.menuupload(local.filePath(QString("p%1.txt").arg(i)), QString());
        }
        host.log.clear();
        run();
        EXPECT_EQ(model.count(), 0);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(strict.readFile(QString("p%1.txt").arg(i)), QByteArray(3000 + i, char('a' + i)));
        const int said = host.log.filter("Le serveur refuse").size();
        EXPECT_EQ(said, 1) << host.log.join('\n').toStdString();
        queue.connectionClosing();
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, TransferEngine, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "Passive" : "Active"; });

} // namespace
