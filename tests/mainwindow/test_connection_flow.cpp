// Connecting and keeping the connection alive against a real FTP server,
// through the main window and the site manager's boxes. Disconnect and
// Reconnect, answered either way, are the busy window suite's.
#include "MainWindowFixture.h"
#include "platform/inet/Inet.h"
#include "sites/clsGestionData.h"

#include <QDialog>

namespace {

const QString Rule(70, QLatin1Char('-'));
const QString Welcome = QStringLiteral(" - 220 Tarvo test server ready.");

class ConnectionFlow : public PanesTest {
protected:
    void SetUp() override
    {
        PanesTest::SetUp();
        server->makeDir(QStringLiteral("docs"));
        server->writeFile(QStringLiteral("readme.txt"), "hello");
        server->writeFile(QStringLiteral("docs/guide.txt"), "guide");
        startWindow();
    }
    QStringList serverNames() const { return names(serverRows(), true); }
};

TEST_F(ConnectionFlow, QuickConnectLogsWelcomeAndStatusAndListsTheServer)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tarvo FTP"));
    ASSERT_TRUE(connect()) << logText();
    const QStringList lines = log();
    EXPECT_EQ(lines[0], QStringLiteral("  Recherche serveur en cours"));
    EXPECT_TRUE(lines.contains(QStringLiteral("  Recherche du serveur Complété - ") + server->host())) << logText();
    EXPECT_TRUE(logLine(Welcome)) << logText(); // its looks are the log writer's suite's

    // The start folder was listed, and the server's answer to it logged.
    EXPECT_EQ(serverNames(), (QStringList{"docs", "readme.txt"}));
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/"));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral(" - 2"))) << logText();
    EXPECT_TRUE(window->Toolbar1->isEnabled());
    EXPECT_TRUE(window->timerKeepAlive->isActive());
    EXPECT_FALSE(bConnecting);
    EXPECT_EQ(window->windowTitle(), server->host() + QStringLiteral(" - Tarvo FTP"));
    EXPECT_EQ(window->lblServerHost->text(), server->host());
}

TEST_F(ConnectionFlow, SavedSiteConnectsFromTheManagerWithItsFoldersAndMode)
{
    clsGestionData data;
    ASSERT_TRUE(data.addFolder(QStringLiteral("Tests")).ok());
    const QString localPath = QDir(homeDir.path()).filePath(QStringLiteral("site-local")); // not there yet
    QString line; // passive ("2"), starting in docs
    ASSERT_TRUE(clsGestionData::composeSiteLine({"Local test", server->host(), QString::number(server->port()),
                                                 server->user(), server->password(), "1", "2", "docs",
                                                 QString::number(data.lTypeNo), localPath},
                                                &line).ok());
    ASSERT_TRUE(data.SaveDataChange(line, false, false, QString()).ok());
    ASSERT_TRUE(data.SetFirstData().ok());

    frmManager *m = window->manager();
    m->LoadDatabaseList();
    const auto found = m->tvManager->findItems(QStringLiteral("Local test"), Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    m->tvManager->setCurrentItem(found[0]);
    m->toolbarButton(QStringLiteral("connect"))->trigger();
    settle();

    ASSERT_TRUE(bConnected) << logText();
    EXPECT_EQ(lConnectMode, qint32(inet::INTERNET_FLAG_PASSIVE));
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/docs"));
    EXPECT_EQ(serverNames(), QStringList{"guide.txt"});
    EXPECT_EQ(window->localFolder(), localPath); // created, one level
    EXPECT_TRUE(QDir(localPath).exists());
    EXPECT_TRUE(logLine(Welcome));
}

TEST_F(ConnectionFlow, WrongPasswordWritesTheFailureBlockAndTheServersRefusal)
{
    typeQuickConnect(QStringLiteral("wrong"));
    window->premier_Connect(true);
    settle();
    EXPECT_FALSE(bConnected);
    const QStringList lines = log();
    const int rule = lines.indexOf(Rule);
    ASSERT_GE(rule, 0) << logText();
    ASSERT_GT(lines.size(), rule + 3);
    EXPECT_EQ(lines[rule + 1], QStringLiteral("échec de connexion à ") + server->host());
    EXPECT_EQ(lines[rule + 2], Rule);
    EXPECT_TRUE(lines[rule + 3].startsWith(QStringLiteral(" - 530"))) << logText();
    EXPECT_FALSE(window->Toolbar1->isEnabled());
    EXPECT_EQ(serverRows().count(), 0);
    EXPECT_TRUE(prompt.asked().isEmpty()); // reported in the log, no message box
}

TEST_F(ConnectionFlow, KeepAliveSendsNoopOnlyAfterAWholeIdleIntervalAndWhenChosen)
{
    ASSERT_TRUE(connect());
    bActivity = false;
    window->timerKeepAlive_Timer(); // the option is off
    EXPECT_FALSE(window->mFTP->isBusy()) << "nothing sent";

    ASSERT_TRUE(options::setKeepAlive(true).ok());
    bActivity = true; // the connection was used during this interval: nothing sent
    window->timerKeepAlive_Timer();
    EXPECT_FALSE(window->mFTP->isBusy()) << "nothing sent";
    EXPECT_FALSE(bActivity);

    window->timerKeepAlive_Timer(); // a whole interval without activity
    EXPECT_TRUE(window->mFTP->isBusy()) << "the NOOP is on its way";
    settle();
    EXPECT_TRUE(sLastResponse.startsWith(QStringLiteral("200"))) << sLastResponse.toStdString();
    EXPECT_TRUE(bConnected);
    EXPECT_TRUE(log().filter(QStringLiteral("200")).isEmpty()); // the NOOP's reply is not logged
}

TEST_F(ConnectionFlow, EmptyServerOpensTheSiteManagerInstead)
{
    answerModals({reject});
    window->premier_Connect(false);
    settle();
    EXPECT_EQ(modalClasses, QStringList{"frmManager"});
    EXPECT_FALSE(bConnected);
    EXPECT_FALSE(bConnecting);
    EXPECT_TRUE(log().isEmpty());
}

} // namespace
