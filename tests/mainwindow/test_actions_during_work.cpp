// Every action of the main window while something runs, against a real server
// slowed to a crawl (or frozen outright): Disconnect, Reconnect, connecting
// elsewhere and closing the window during a listing, a folder expansion and
// a transfer, answered No and Yes; Stop; rows removed during a run; a second
// start; a language switch and the silent update check; a server that never
// greets; the server pane used while files move.
#include "MainWindowFixture.h"
#include "HttpServer.h"
#include "UpdateServing.h"
#include "session/FtpLink.h"

#include <QTcpServer>

namespace {

using testfiles::randomBytes;
constexpr int Rate = 100 * 1024;      // bytes a second on each data connection
// The server lets the first two seconds' worth through at once, then holds
// each further second's worth for two seconds.
constexpr int Whole = 3 * Rate;       // a file that arrives in about two seconds
constexpr int Big = 2 * 1024 * 1024;  // one that is still on its way when the test acts
const QString Question = QStringLiteral("Ceci va annuler votre transfert et vous déconnecter , voulez-vous continuer ?");
const QString Starting = QStringLiteral("  Début du transfert");

// The actions that ask the question of Disconnect, Reconnect, another site and closing.
enum class Action { Disconnect, Reconnect, Elsewhere, Close };
const char *nameOf(Action a)
{
    switch (a) {
    case Action::Disconnect: return "Disconnect";
    case Action::Reconnect: return "Reconnect";
    case Action::Elsewhere: return "another site";
    case Action::Close: return "closing the window";
    }
    return "";
}

class ActionsDuringWork : public PanesTest {
protected:
    static void SetUpTestSuite()
    {
        PanesTest::SetUpTestSuite();
        FtpServerOptions slowly;
        slowly.rate = Rate;
        slow = std::make_unique<FtpServer>(slowly);
    }
    static void TearDownTestSuite()
    {
        slow.reset();
        PanesTest::TearDownTestSuite();
    }
    void SetUp() override
    {
        PanesTest::SetUp();
        ASSERT_TRUE(slow->isRunning()) << slow->errorText().toStdString();
        slow->clearRoot();
        slow->writeFile("whole.bin", randomBytes(Whole, 1));
        slow->writeFile("y.txt", "next");
        slow->writeFile("big.bin", randomBytes(Big, 2));
        slow->makeDir("tree/sub");
        slow->writeFile("tree/a.txt", "a");
        slow->writeFile("tree/sub/b.txt", "b");
        writeFile(onDesktop("up.bin"), randomBytes(Big, 3));
        writeFile(onDesktop("w.txt"), "small");
        server->writeFile("elsewhere.txt", "x");
        // One file after the other, unless a test says otherwise.
        ASSERT_TRUE(options::setSimultaneousTransfers(1).ok());
        startFresh();
    }
    void TearDown() override
    {
        slow->resume(); // a test that failed while the server was frozen
        PanesTest::TearDown();
    }
    // A new window, with time-outs short enough that a frozen server is
    // given up on quickly, but never before the test has acted.
    void startFresh()
    {
        startWindow();
        window->mFTP->setTimeouts({4000, 4000, 4000});
    }
    bool connectSlow() { return connectTo(*slow); }

    // A row is on its way: it runs and some of its bytes have moved.
    bool moving(const QString &name) const
    {
        for (int r = 0; r < queue().count(); ++r)
            if (queue().row(r).name == name && queue().row(r).isRunning() && queue().row(r).done > 0)
                return true;
        return false;
    }
    // Queues these files of the server pane in this order and runs the
    // queue, and waits until the first of them is on its way.
    void startDownload(const QStringList &names)
    {
        for (const QString &name : names) {
            select(window->listviewServer, {name});
            window->Toolbar1_ButtonClick("sendlist");
        }
        startRun(names.first());
    }
    void startUpload(const QStringList &names)
    {
        window->RefreshLocalDir();
        for (const QString &name : names) {
            select(window->lvLocal, {name});
            window->Toolbar2_ButtonClick("sendlist");
        }
        startRun(names.first());
    }
    void startRun(const QString &first)
    {
        ASSERT_TRUE(settleBrowsing());
        window->tbToolBar_ButtonClick("Transfer");
        ASSERT_TRUE(testwait::until([&] { return moving(first); }, 20000)) << logText();
    }
    // Only the browsing connection is waited for: the run goes on meanwhile.
    bool settleBrowsing()
    {
        return testwait::until([this] { return !window->mFTP->isBusy() && !QApplication::activeModalWidget(); });
    }
    // Every connection of the program has ended on its own.
    static bool threadsEnded() { return testwait::until([] { return ftp::FtpLink::liveCount() == 0; }); }
    qint64 localSize(const QString &name) const { return QFileInfo(onDesktop(name)).size(); }
    int countInLog(const QString &line) const { return int(log().count(line)); }
    // Clicks the action; for closing, whether the window closed.
    bool perform(Action a)
    {
        switch (a) {
        case Action::Disconnect: window->tbToolBar_ButtonClick("Disconnect"); break;
        case Action::Reconnect: window->tbToolBar_ButtonClick("reconnect"); break;
        case Action::Elsewhere:
            typeQuickConnect(server->password(), QString(), server.get());
            window->premier_Connect(true);
            break;
        case Action::Close: return window->close();
        }
        return false;
    }

    static inline std::unique_ptr<FtpServer> slow;
};

// Answered No, every action leaves the run alone; a second start is ignored
// and a row added meanwhile waits for the next run.
TEST_F(ActionsDuringWork, AnsweredNoEveryActionLeavesTheRunGoingAndASecondStartIsIgnored)
{
    ASSERT_TRUE(connectSlow());
    startDownload({"whole.bin", "y.txt"});
    for (Action a : {Action::Disconnect, Action::Reconnect, Action::Elsewhere, Action::Close}) {
        SCOPED_TRACE(nameOf(a));
        prompt.push(platform::PromptAnswer::No);
        EXPECT_FALSE(perform(a));
        EXPECT_TRUE(window->transferQueue().isRunning());
    }
    EXPECT_EQ(prompt.texts(), QStringList(4, Question));
    EXPECT_EQ(prompt.asked().first().buttons, platform::PromptButtons::YesNo);

    // Another start while the run goes on: ignored; the row added meanwhile waits.
    select(window->lvLocal, {"w.txt"});
    window->Toolbar2_ButtonClick("upload");
    window->tbToolBar_ButtonClick("Transfer");
    EXPECT_TRUE(moving("whole.bin"));
    settle();
    EXPECT_EQ(readFile(onDesktop("whole.bin")), slow->readFile("whole.bin"));
    EXPECT_EQ(readFile(onDesktop("y.txt")), QByteArray("next"));
    EXPECT_EQ(countInLog(Starting), 1) << logText();
    EXPECT_EQ(queueNames(), QStringList{"w.txt"});
    EXPECT_FALSE(QFile::exists(slow->path("w.txt")));
    EXPECT_TRUE(bConnected);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->lblServerHost->text(), slow->host());
    EXPECT_EQ(prompt.asked().size(), 4);

    window->tbToolBar_ButtonClick("Transfer");
    settle();
    EXPECT_EQ(slow->readFile("w.txt"), QByteArray("small"));
    EXPECT_EQ(queue().count(), 0);
}

// Answered Yes during a download or an upload: the files stop (their partial
// files stay), the connections close and the window clears as each action
// says; nothing of the stopped run comes back later, and every connection
// thread ends on its own.
TEST_F(ActionsDuringWork, AnsweredYesDuringATransferItStopsKeepsThePartialFileAndClears)
{
    for (const bool upload : {false, true})
        for (Action a : {Action::Disconnect, Action::Reconnect, Action::Elsewhere, Action::Close}) {
            SCOPED_TRACE(std::string(nameOf(a)) + (upload ? " during an upload" : " during a download"));
            startFresh();
            ASSERT_TRUE(connectSlow());
            if (upload)
                startUpload({"up.bin", "w.txt"});
            else
                startDownload({"big.bin", "y.txt"});
            prompt.clear();
            prompt.push(platform::PromptAnswer::Yes);
            EXPECT_EQ(perform(a), a == Action::Close);
            EXPECT_EQ(prompt.texts(), QStringList{Question});
            EXPECT_FALSE(window->transferQueue().isRunning());
            EXPECT_FALSE(bQueueBusy);
            EXPECT_EQ(queue().count(), 0);
            settle();
            if (a == Action::Disconnect || a == Action::Close) {
                EXPECT_FALSE(bConnected);
                EXPECT_EQ(serverRows().count(), 0);
                EXPECT_TRUE(window->TxtRemotePath->text().isEmpty());
                EXPECT_TRUE(log().isEmpty()) << logText();
                EXPECT_FALSE(window->Toolbar1->isEnabled());
                EXPECT_FALSE(window->timerKeepAlive->isActive());
                EXPECT_EQ(hConnection, nullptr);
                EXPECT_EQ(window->windowTitle(), QStringLiteral("Tarvo FTP"));
                EXPECT_EQ(window->isVisible(), a != Action::Close);
                EXPECT_TRUE(threadsEnded());
            } else {
                // A new connection, and a log that starts with it.
                const FtpServer &to = a == Action::Reconnect ? *slow : *server;
                EXPECT_TRUE(bConnected) << logText();
                ASSERT_FALSE(log().isEmpty());
                EXPECT_EQ(log().first(), QStringLiteral("  Recherche serveur en cours"));
                EXPECT_EQ(window->lblServerHost->text(), to.host());
                EXPECT_EQ(rowOf(serverRows(), "elsewhere.txt") >= 0, a == Action::Elsewhere);
            }
            EXPECT_FALSE(window->ProgressBar1->isVisible());
            EXPECT_EQ(queue().count(), 0);
            EXPECT_FALSE(logContains(QStringLiteral("Transfert arrêté"))) << logText();
            // The partial file stays; the file after it never started.
            const qint64 partial = upload ? QFileInfo(slow->path("up.bin")).size() : localSize("big.bin");
            EXPECT_LT(partial, Big);
            EXPECT_FALSE(upload ? QFile::exists(slow->path("w.txt")) : QFile::exists(onDesktop("y.txt")));
            QFile::remove(onDesktop("big.bin"));
            QFile::remove(slow->path("up.bin"));
        }
}

// While the server pane waits for a listing or for the folders of an
// expansion, on a server that has stopped answering.
TEST_F(ActionsDuringWork, DisconnectAndReconnectDuringAListingAndAnExpansion)
{
    for (const bool expansion : {false, true})
        for (const bool reconnect : {false, true})
            for (const bool yes : {false, true}) {
                SCOPED_TRACE(std::string(reconnect ? "Reconnect" : "Disconnect") + (yes ? " Yes" : " No")
                             + (expansion ? " during an expansion" : " during a listing"));
                startFresh();
                ASSERT_TRUE(connectSlow());
                prompt.clear();
                slow->writeFile("fresh.txt", "new");
                slow->pause();
                if (expansion) {
                    select(window->listviewServer, {"tree"});
                    window->Toolbar1_ButtonClick("sendlist");
                    EXPECT_TRUE(window->transferQueue().isExpanding());
                } else {
                    window->Toolbar1_ButtonClick("refresh");
                }
                EXPECT_TRUE(window->mFTP->isBusy());
                prompt.push(yes ? platform::PromptAnswer::Yes : platform::PromptAnswer::No);
                window->tbToolBar_ButtonClick(reconnect ? "reconnect" : "Disconnect");
                EXPECT_EQ(prompt.texts(), QStringList{Question});
                slow->resume();
                settle();
                EXPECT_EQ(bConnected, !yes || reconnect) << logText();
                // No: what was asked for arrives. Yes: nothing of it, ever.
                const bool arrived = !yes;
                if (expansion) {
                    QStringList queued = queueNames();
                    queued.sort(); // in the server's order
                    EXPECT_EQ(queued, arrived ? QStringList({"a.txt", "b.txt"}) : QStringList());
                } else if (!yes || !reconnect) {
                    EXPECT_EQ(rowOf(serverRows(), "fresh.txt") >= 0, arrived);
                }
                if (yes && reconnect) {
                    EXPECT_GE(rowOf(serverRows(), "fresh.txt"), 0); // listed again after the new login
                    EXPECT_EQ(log().first(), QStringLiteral("  Recherche serveur en cours"));
                }
                EXPECT_FALSE(window->picLineAttente->isVisible());
                EXPECT_EQ(QApplication::overrideCursor(), nullptr);
                if (yes && !reconnect) {
                    EXPECT_TRUE(threadsEnded());
                    EXPECT_EQ(serverRows().count(), 0);
                    EXPECT_EQ(queue().count(), 0);
                    EXPECT_TRUE(log().isEmpty()) << logText();
                }
            }
}

// ---- Stop -----------------------------------------------------------------------------

// Stop stops only what runs: pressed with nothing running (connected or not)
// it changes nothing later; pressed during a run, the browsing connection
// still serves the pane and the next run moves whole files.
TEST_F(ActionsDuringWork, StopStopsOnlyWhatRunsAndWithNothingRunningChangesNothingLater)
{
    window->tbToolBar_ButtonClick("Stop");
    server->writeFile("down.bin", randomBytes(50000, 4));
    ASSERT_TRUE(connect());
    window->tbToolBar_ButtonClick("Stop");
    settle();
    EXPECT_FALSE(bStopTransfer);
    select(window->listviewServer, {"down.bin"});
    window->Toolbar1_ButtonClick("Download");
    settle();
    window->RefreshLocalDir();
    select(window->lvLocal, {"w.txt"});
    window->Toolbar2_ButtonClick("upload");
    settle();
    EXPECT_EQ(readFile(onDesktop("down.bin")), server->readFile("down.bin"));
    EXPECT_EQ(server->readFile("w.txt"), QByteArray("small"));
    EXPECT_EQ(countInLog(QStringLiteral("  Transfert Terminé")), 2) << logText();

    // During a run: the run stops, the pane still answers, the next run is whole.
    prompt.push(platform::PromptAnswer::Yes);
    ASSERT_TRUE(connectSlow());
    startDownload({"big.bin", "y.txt"});
    window->tbToolBar_ButtonClick("Stop");
    settle();
    EXPECT_EQ(queueNames(), (QStringList{"big.bin", "y.txt"}));
    EXPECT_LT(localSize("big.bin"), Big);
    EXPECT_FALSE(bStopTransfer);
    window->Toolbar1_ButtonClick("refresh");
    settle();
    EXPECT_GE(rowOf(serverRows(), "whole.bin"), 0);
    queue().clear();
    select(window->listviewServer, {"whole.bin"});
    window->Toolbar1_ButtonClick("Download");
    settle();
    EXPECT_EQ(readFile(onDesktop("whole.bin")), slow->readFile("whole.bin"));
}

// ---- rows removed during a run ---------------------------------------------------------

TEST_F(ActionsDuringWork, RowsRemovedDuringARunStopFirstAndEveryOtherRowKeepsItsFile)
{
    ASSERT_TRUE(options::setSimultaneousTransfers(2).ok());
    for (int i = 0; i < 6; ++i)
        slow->writeFile(QString("s%1.txt").arg(i), QByteArray::number(i));
    slow->writeFile("mid.bin", randomBytes(Whole, 6));
    ASSERT_TRUE(connectSlow());
    // Progress belongs to a row that runs, or ran: never one still waiting.
    QSet<quint64> ran;
    QStringList paintedWaiting;
    QObject::connect(&queue(), &QueueModel::dataChanged, window.get(), [&] {
        for (int r = 0; r < queue().count(); ++r) {
            const QueueRow &row = queue().row(r);
            if (row.isRunning())
                ran.insert(row.id);
            else if (!ran.contains(row.id) && (row.done > 0 || row.speed >= 0))
                paintedWaiting << row.name;
        }
    });
    QStringList names{"big.bin", "mid.bin"};
    for (int i = 0; i < 6; ++i)
        names << QString("s%1.txt").arg(i);
    startDownload(names);
    // The running big file and a row that waits, selected and removed.
    window->ListView3->clearSelection();
    for (const QString &name : {QStringLiteral("big.bin"), QStringLiteral("s4.txt")})
        window->ListView3->selectionModel()->select(queue().index(int(queueNames().indexOf(name)), 0),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->mnupop_list1[1]->trigger();
    settle();
    EXPECT_EQ(queue().count(), 0);
    EXPECT_LT(localSize("big.bin"), Big);
    EXPECT_GT(localSize("big.bin"), 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(QFile::exists(onDesktop(QString("s%1.txt").arg(i))), i != 4) << i;
    for (int i : {0, 1, 2, 3, 5})
        EXPECT_EQ(readFile(onDesktop(QString("s%1.txt").arg(i))), QByteArray::number(i)) << i;
    EXPECT_TRUE(paintedWaiting.isEmpty()) << paintedWaiting.join(' ').toStdString();
    EXPECT_TRUE(log().contains(" - Transfert arrêté : big.bin")) << logText();
    EXPECT_TRUE(log().contains(QStringLiteral("  Transfert Terminé")));

    // Remove All while two files run: both stop, nothing keeps running unseen.
    QFile::remove(onDesktop("big.bin"));
    for (int i = 0; i < 6; ++i)
        QFile::remove(onDesktop(QString("s%1.txt").arg(i)));
    slow->writeFile("big2.bin", randomBytes(Big, 5));
    window->RefreshDirectoryListing();
    settle();
    startDownload({"big.bin", "big2.bin", "s0.txt"});
    ASSERT_TRUE(testwait::until([&] { return moving("big2.bin"); }, 20000));
    window->mnupop_list1[2]->trigger();
    EXPECT_EQ(queue().count(), 0);
    settle();
    EXPECT_FALSE(window->transferQueue().isRunning());
    EXPECT_FALSE(window->ProgressBar1->isVisible());
    EXPECT_LT(localSize("big.bin"), Big);
    EXPECT_LT(localSize("big2.bin"), Big);
    EXPECT_FALSE(QFile::exists(onDesktop("s0.txt")));
    EXPECT_TRUE(log().contains(" - Transfert arrêté : big2.bin")) << logText();
}

// ---- the language and the update check during a run -----------------------------------

TEST_F(ActionsDuringWork, ALanguageSwitchAndTheSilentUpdateCheckLeaveTheRunAlone)
{
    HttpServer http;
    ASSERT_TRUE(http.isRunning());
    update::setUpdateServerUrl(http.url());
    serveVersion(http, versionText(+1));
    ASSERT_TRUE(connectSlow());
    startDownload({"whole.bin", "y.txt"});
    window->switchLanguage(true);
    EXPECT_EQ(window->toolbarButton(window->tbToolBar, "Disconnect")->text(), QStringLiteral("Disconnect"));
    window->timerMAJ_Timer();
    EXPECT_TRUE(window->transferQueue().isRunning());
    settle();
    QApplication::processEvents();
    EXPECT_TRUE(window->toolbarButton(window->tbToolBar, "maj")->isVisible());
    EXPECT_EQ(readFile(onDesktop("whole.bin")), slow->readFile("whole.bin"));
    EXPECT_EQ(readFile(onDesktop("y.txt")), QByteArray("next"));
    EXPECT_TRUE(log().contains(QStringLiteral("  Transfer completed"))) << logText();
    EXPECT_EQ(queue().headerData(QueueRow::Name, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Filename"));
    EXPECT_TRUE(prompt.asked().isEmpty());
}

// ---- a server that never greets --------------------------------------------------------

TEST_F(ActionsDuringWork, ASilentServerCanBeCancelledAndALaterConnectWorks)
{
    QTcpServer silent; // accepts the connection and never says a word
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    window->mFTP->setTimeouts({120000, 120000, 120000}); // only the user ends the wait
    for (const bool stopKey : {false, true}) {
        SCOPED_TRACE(stopKey ? "the Stop key" : "the Cancel button");
        window->RTBHeader->clear();
        typeQuickConnect(server->password(), QString::number(silent.serverPort()));
        bool ended = false;
        window->premier_Connect(true, [&] { ended = true; });
        // The window goes on turning its event loop while the server is silent.
        ASSERT_TRUE(testwait::until([&] { return window->cmdCancelConnect->isVisible(); }));
        EXPECT_TRUE(bConnecting);
        window->premier_Connect(true); // a second click while connecting: ignored
        EXPECT_TRUE(prompt.asked().isEmpty());
        if (stopKey)
            window->tbToolBar_ButtonClick("Stop");
        else
            window->cmdCancelConnect->click();
        settle();
        EXPECT_TRUE(ended);
        EXPECT_FALSE(bConnecting);
        EXPECT_FALSE(bConnected);
        EXPECT_FALSE(window->cmdCancelConnect->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(log().contains(QString(70, QLatin1Char('-'))));
        EXPECT_TRUE(log().contains(" - " + LangStr(809))) << logText();
        EXPECT_EQ(countInLog(" - " + LangStr(809)), 1);
    }
    window->mFTP->setTimeouts({4000, 4000, 4000});
    ASSERT_TRUE(connect()) << logText();
    EXPECT_GE(rowOf(serverRows(), "elsewhere.txt"), 0);
}

// ---- the server pane while files move ----------------------------------------------------

TEST_F(ActionsDuringWork, TheServerPaneListsCreatesRenamesAndDeletesWhileFilesMove)
{
    slow->writeFile("old.txt", "old");
    slow->writeFile("gone.txt", "gone");
    ASSERT_TRUE(connectSlow());
    startDownload({"big.bin"});
    answerModals({typeName("made")});
    window->Toolbar1_ButtonClick("CreateDirectory");
    ASSERT_TRUE(settleBrowsing());
    EXPECT_TRUE(QFileInfo(slow->path("made")).isDir());
    EXPECT_GE(rowOf(serverRows(), "made"), 0);

    select(window->listviewServer, {"old.txt"});
    answerModals({typeName("new.txt")});
    window->Toolbar1_ButtonClick("Rename");
    ASSERT_TRUE(settleBrowsing());
    EXPECT_TRUE(QFile::exists(slow->path("new.txt")));

    select(window->listviewServer, {"gone.txt"});
    answerModals({press(&frmExist::cmdOver)});
    window->Toolbar1_ButtonClick("Delete");
    ASSERT_TRUE(settleBrowsing());
    EXPECT_FALSE(QFile::exists(slow->path("gone.txt")));

    window->openServerEntry(indexOf(serverRows(), "tree"));
    ASSERT_TRUE(settleBrowsing());
    EXPECT_EQ(names(serverRows(), true), (QStringList{"a.txt", "sub"}));
    EXPECT_TRUE(moving("big.bin")); // all along on a connection of its own
    EXPECT_TRUE(window->transferQueue().isRunning());
    window->tbToolBar_ButtonClick("Stop");
    settle();
    EXPECT_LT(localSize("big.bin"), Big);
}

// ---- a server that stops answering in the middle ----------------------------------------

// Stop while the folders of a download are still being listed: the run that
// was waiting for their rows ends, and nothing is transferred.
TEST_F(ActionsDuringWork, StopDuringTheExpansionOfADownloadTransfersNothing)
{
    ASSERT_TRUE(connectSlow());
    select(window->listviewServer, {"tree", "y.txt"});
    slow->pause();
    window->Toolbar1_ButtonClick("Download");
    EXPECT_TRUE(window->transferQueue().isExpanding());
    window->tbToolBar_ButtonClick("Stop");
    slow->resume();
    settle();
    EXPECT_FALSE(QFile::exists(onDesktop("y.txt")));
    EXPECT_FALSE(QFile::exists(onDesktop("tree")));
    EXPECT_FALSE(window->transferQueue().isRunning());
    EXPECT_EQ(queue().count(), 0);
    EXPECT_FALSE(bStopTransfer);
    EXPECT_FALSE(window->picLineAttente->isVisible());
    // The pane's connection is still in the folder the user is in.
    window->Toolbar1_ButtonClick("refresh");
    settle();
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/")) << logText();
    // Nothing is left over: the next download is whole.
    queue().clear();
    select(window->listviewServer, {"y.txt"});
    window->Toolbar1_ButtonClick("Download");
    settle();
    EXPECT_EQ(readFile(onDesktop("y.txt")), QByteArray("next"));
}

// A run asked for while the folders are still being listed starts at once
// and waits for their rows: it ends only once every file, listed late, is in.
TEST_F(ActionsDuringWork, ARunStartedDuringTheExpansionTakesEveryRowListedLater)
{
    ASSERT_TRUE(options::setSimultaneousTransfers(2).ok());
    ASSERT_TRUE(connectSlow());
    select(window->listviewServer, {"tree", "y.txt"});
    slow->pause();
    window->Toolbar1_ButtonClick("Download");
    EXPECT_TRUE(window->transferQueue().isExpanding());
    EXPECT_TRUE(window->transferQueue().isRunning());
    slow->resume();
    settle();
    EXPECT_FALSE(window->transferQueue().isRunning());
    EXPECT_EQ(queue().count(), 0);
    EXPECT_EQ(readFile(onDesktop("tree/a.txt")), QByteArray("a"));
    EXPECT_EQ(readFile(onDesktop("tree/sub/b.txt")), QByteArray("b"));
    EXPECT_EQ(readFile(onDesktop("y.txt")), QByteArray("next"));
    EXPECT_EQ(countInLog(Starting), 1) << logText();
}

// Closing the window while a transfer waits on a frozen server, and while a
// connection waits for a greeting that never comes: the window goes at once
// and the end of the program ends every connection.
TEST_F(ActionsDuringWork, ClosingWhileTheServerIsFrozenOrSilentEndsEveryConnection)
{
    ASSERT_TRUE(connectSlow());
    startDownload({"big.bin"});
    slow->pause();
    prompt.push(platform::PromptAnswer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(bConnected);
    window.reset();
    EXPECT_TRUE(ftp::FtpLink::closeAll(3000));
    EXPECT_EQ(ftp::FtpLink::liveCount(), 0);
    slow->resume();
    EXPECT_LT(localSize("big.bin"), Big);

    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    startWindow();
    window->mFTP->setTimeouts({120000, 120000, 120000});
    typeQuickConnect(server->password(), QString::number(silent.serverPort()));
    window->premier_Connect(true);
    ASSERT_TRUE(testwait::until([&] { return window->cmdCancelConnect->isVisible(); }));
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(bConnecting);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(threadsEnded()); // no goodbye to wait for: it never said hello
    EXPECT_EQ(prompt.asked().size(), 1);
}

} // namespace
