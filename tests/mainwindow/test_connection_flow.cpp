// Connecting, disconnecting and keeping the connection alive against a real
// FTP server, through the main window and the site manager's boxes.
#include "FtpServer.h"
#include "LogReader.h"
#include "MainWindowFixture.h"
#include "platform/inet/Inet.h"
#include "session/clsFTPClient.h"
#include "settings/Options.h"
#include "sites/clsGestionData.h"
#include "sites/frmManager.h"
#include "transfer/QueueModel.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

namespace {

const QColor Green(58, 135, 39);
const QColor Blue(54, 97, 167);
const QColor OrangeRed(213, 85, 43);
const QString Rule(70, QLatin1Char('-'));

class ConnectionFlow : public MainWindowTest {
protected:
    static void SetUpTestSuite() { server = std::make_unique<FtpServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(server->isRunning()) << server->errorText().toStdString();
        server->clearRoot();
        server->makeDir(QStringLiteral("docs"));
        server->writeFile(QStringLiteral("readme.txt"), "hello");
        server->writeFile(QStringLiteral("docs/guide.txt"), "guide");
        startWindow();
    }

    // Fills the manager's boxes as a quick connection typed by hand.
    void typeQuickConnect(const QString &password, const QString &port = QString())
    {
        frmManager *m = window->manager();
        m->TxtServer->setText(server->host());
        m->TxtPort->setText(port.isNull() ? QString::number(server->port()) : port);
        m->TxtUser->setText(server->user());
        m->txtPass->setText(password);
    }

    bool connectQuick()
    {
        typeQuickConnect(server->password());
        window->premier_Connect(true);
        return bConnected;
    }

    // The server pane's names in name order (the server lists in its own order).
    QStringList serverNames() const
    {
        QStringList names;
        const QAbstractItemModel *model = window->listviewServer->model();
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, 0).data().toString();
        names.sort();
        return names;
    }

    QModelIndex serverRow(const QString &name) const
    {
        const QAbstractItemModel *model = window->listviewServer->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == name)
                return model->index(r, 0);
        return QModelIndex();
    }

    QStringList log() const { return writtenTexts(window->RTBHeader); }

    const WrittenLine *findLine(const QString &text) const
    {
        static WrittenLine found;
        for (const WrittenLine &line : writtenLines(window->RTBHeader))
            if (line.text == text)
                return &(found = line);
        return nullptr;
    }

    static std::unique_ptr<FtpServer> server;
};
std::unique_ptr<FtpServer> ConnectionFlow::server;

TEST_F(ConnectionFlow, QuickConnectLogsWelcomeAndStatusAndListsTheServer)
{
    ASSERT_TRUE(connectQuick()) << log().join('\n').toStdString();
    const QStringList lines = log();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("  Recherche serveur en cours"));
    EXPECT_EQ(findLine(lines[0])->colour, Blue);

    const WrittenLine *welcome = findLine(QStringLiteral(" - 220 Tarvo test server ready."));
    ASSERT_NE(welcome, nullptr) << lines.join('\n').toStdString();
    EXPECT_EQ(welcome->colour, Green);
    EXPECT_FALSE(welcome->bold);

    const WrittenLine *status = findLine(QStringLiteral("  Recherche du serveur Complété - ") + server->host());
    ASSERT_NE(status, nullptr) << lines.join('\n').toStdString();
    EXPECT_EQ(status->colour, Blue);
    EXPECT_TRUE(status->bold);

    // The start folder was listed, and the server's answer to it logged.
    EXPECT_EQ(serverNames(), (QStringList{"docs", "readme.txt"}));
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/"));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral(" - 2"))) << lines.join('\n').toStdString();
    EXPECT_EQ(findLine(lines.last())->colour, Green);
    EXPECT_TRUE(window->Toolbar1->isEnabled());
    EXPECT_TRUE(window->timerKeepAlive->isActive());
    EXPECT_FALSE(bConnecting);
    EXPECT_EQ(sCurrentHost, server->host());
}

TEST_F(ConnectionFlow, SavedSiteConnectsFromTheManagerWithItsFoldersAndMode)
{
    clsGestionData data;
    ASSERT_TRUE(data.addFolder(QStringLiteral("Tests")).ok());
    clsGestionData::SiteFields site;
    site.name = QStringLiteral("Local test");
    site.host = server->host();
    site.port = QString::number(server->port());
    site.user = server->user();
    site.password = server->password();
    site.mode = QStringLiteral("2"); // passive
    site.remotePath = QStringLiteral("docs");
    site.folder = QString::number(data.lTypeNo);
    site.localPath = QDir(homeDir.path()).filePath(QStringLiteral("site-local")); // not there yet
    QString line;
    ASSERT_TRUE(clsGestionData::composeSiteLine(site, &line).ok());
    ASSERT_TRUE(data.SaveDataChange(line, false, false, QString()).ok());
    ASSERT_TRUE(data.SetFirstData().ok());

    frmManager *m = window->manager();
    m->LoadDatabaseList();
    QTreeWidgetItem *siteNode = nullptr;
    for (int f = 0; f < m->tvManager->topLevelItemCount() && !siteNode; ++f)
        for (int s = 0; s < m->tvManager->topLevelItem(f)->childCount(); ++s)
            if (m->tvManager->topLevelItem(f)->child(s)->text(0) == site.name)
                siteNode = m->tvManager->topLevelItem(f)->child(s);
    ASSERT_NE(siteNode, nullptr);
    m->tvManager->setCurrentItem(siteNode);
    m->toolbarButton(QStringLiteral("connect"))->trigger();

    ASSERT_TRUE(bConnected) << log().join('\n').toStdString();
    EXPECT_EQ(lConnectMode, qint32(inet::INTERNET_FLAG_PASSIVE));
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/docs"));
    EXPECT_EQ(serverNames(), QStringList{"guide.txt"});
    EXPECT_EQ(window->localFolder(), site.localPath); // created, one level
    EXPECT_TRUE(QDir(site.localPath).exists());
    EXPECT_NE(findLine(QStringLiteral(" - 220 Tarvo test server ready.")), nullptr);
}

TEST_F(ConnectionFlow, WrongPasswordWritesTheFailureBlockAndTheServersRefusal)
{
    typeQuickConnect(QStringLiteral("wrong"));
    window->premier_Connect(true);
    EXPECT_FALSE(bConnected);
    const QStringList lines = log();
    const int rule = lines.indexOf(Rule);
    ASSERT_GE(rule, 0) << lines.join('\n').toStdString();
    ASSERT_GT(lines.size(), rule + 3);
    EXPECT_EQ(lines[rule + 1], QStringLiteral("échec de connexion à ") + server->host());
    EXPECT_EQ(lines[rule + 2], Rule);
    EXPECT_TRUE(lines[rule + 3].startsWith(QStringLiteral(" - 530"))) << lines.join('\n').toStdString();
    EXPECT_EQ(findLine(Rule)->colour, OrangeRed);
    EXPECT_TRUE(findLine(Rule)->bold);
    EXPECT_FALSE(window->Toolbar1->isEnabled());
    EXPECT_EQ(window->listviewServer->model()->rowCount(), 0);
    EXPECT_TRUE(prompt.asked().isEmpty()); // reported in the log, no message box
}

TEST_F(ConnectionFlow, PortOutOfRangeIsRefusedWithoutConnecting)
{
    typeQuickConnect(server->password(), QStringLiteral("70000"));
    window->premier_Connect(true);
    EXPECT_FALSE(bConnected);
    EXPECT_EQ(hConnection, nullptr);
    const QStringList lines = log();
    ASSERT_TRUE(lines.contains(Rule));
    EXPECT_TRUE(lines.contains(QStringLiteral(" - Le port doit être un nombre entier de 1 à 65535.")))
        << lines.join('\n').toStdString();
    // No greeting: the server was never reached.
    EXPECT_EQ(findLine(QStringLiteral(" - 220 Tarvo test server ready.")), nullptr);
}

TEST_F(ConnectionFlow, SilentServerIsGivenUpAfterTheConnectTimeOut)
{
    QTcpServer silent; // accepts the connection and never greets
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    window->mFTP->setTimeouts({300, 300, 300});
    frmManager *m = window->manager();
    m->TxtServer->setText(QStringLiteral("127.0.0.1"));
    m->TxtPort->setText(QString::number(silent.serverPort()));
    m->TxtUser->setText(QStringLiteral("x"));
    window->premier_Connect(true);
    EXPECT_FALSE(bConnected);
    EXPECT_FALSE(bConnecting);
    const QStringList lines = log();
    EXPECT_TRUE(lines.contains(Rule));
    EXPECT_TRUE(lines.contains(QStringLiteral(" - Le délai d'attente de l'opération est dépassé.")))
        << lines.join('\n').toStdString();
}

TEST_F(ConnectionFlow, DisconnectAnsweredNoKeepsTheConnectionYesEndsIt)
{
    ASSERT_TRUE(connectQuick());
    window->queueModel()->append(QueueRow());
    prompt.push(platform::PromptAnswer::No);
    window->tbToolBar_ButtonClick(QStringLiteral("Disconnect"));
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, QStringLiteral("Ceci va annuler votre transfert et vous déconnecter , voulez-vous continuer ?"));
    EXPECT_EQ(prompt.asked()[0].buttons, platform::PromptButtons::YesNo);
    EXPECT_TRUE(bConnected);
    EXPECT_NE(hConnection, nullptr);
    EXPECT_EQ(serverNames().size(), 2);
    EXPECT_EQ(window->ListView3->model()->rowCount(), 1);

    prompt.push(platform::PromptAnswer::Yes);
    window->tbToolBar_ButtonClick(QStringLiteral("Disconnect"));
    EXPECT_FALSE(bConnected);
    EXPECT_EQ(hConnection, nullptr);
    EXPECT_TRUE(serverNames().isEmpty());
    EXPECT_EQ(window->ListView3->model()->rowCount(), 0);
    EXPECT_TRUE(window->TxtRemotePath->text().isEmpty());
    EXPECT_TRUE(window->RTBHeader->toPlainText().isEmpty());
    EXPECT_FALSE(window->Toolbar1->isEnabled());
    EXPECT_FALSE(window->timerKeepAlive->isActive());
}

TEST_F(ConnectionFlow, ConnectingAgainAnsweredNoChangesNothing)
{
    ASSERT_TRUE(connectQuick());
    const QString before = window->RTBHeader->toPlainText();
    prompt.push(platform::PromptAnswer::No);
    window->tbToolBar_ButtonClick(QStringLiteral("reconnect"));
    EXPECT_EQ(prompt.asked().size(), 1);
    EXPECT_TRUE(bConnected);
    EXPECT_FALSE(bConnecting);
    EXPECT_EQ(window->RTBHeader->toPlainText(), before);
    EXPECT_EQ(serverNames().size(), 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the hourglass is gone
}

TEST_F(ConnectionFlow, KeepAliveSendsNoopOnlyAfterAWholeIdleInterval)
{
    ASSERT_TRUE(options::setKeepAlive(true).ok());
    ASSERT_TRUE(connectQuick());
    const QString marker = QStringLiteral("no command since");

    bActivity = true; // the listing just used the connection
    inet::setLastResponseInfo(marker);
    window->timerKeepAlive_Timer();
    EXPECT_EQ(inet::lastResponseInfo(), marker); // busy during this interval: nothing sent
    EXPECT_FALSE(bActivity);

    window->timerKeepAlive_Timer(); // a whole interval without activity
    EXPECT_TRUE(inet::lastResponseInfo().startsWith(QStringLiteral("200"))) << inet::lastResponseInfo().toStdString();
    EXPECT_FALSE(bActivity);
    EXPECT_TRUE(bConnected);
    EXPECT_EQ(log().filter(QStringLiteral("200")).size(), 0); // the NOOP's reply is not logged
}

TEST_F(ConnectionFlow, KeepAliveSendsNothingWhenTheOptionIsOff)
{
    ASSERT_TRUE(options::setKeepAlive(false).ok());
    ASSERT_TRUE(connectQuick());
    bActivity = false;
    inet::setLastResponseInfo(QStringLiteral("untouched"));
    window->timerKeepAlive_Timer();
    EXPECT_EQ(inet::lastResponseInfo(), QStringLiteral("untouched"));
}

TEST_F(ConnectionFlow, EmptyServerOpensTheSiteManagerInstead)
{
    answerNextModal([](QWidget *modal) { static_cast<QDialog *>(modal)->reject(); });
    window->premier_Connect(false);
    EXPECT_EQ(modalClasses, QStringList{"frmManager"});
    EXPECT_FALSE(bConnected);
    EXPECT_FALSE(bConnecting);
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(ConnectionFlow, ServerPaneOpensFoldersAndGoesUp)
{
    ASSERT_TRUE(connectQuick());
    QAbstractItemModel *model = window->listviewServer->model();
    EXPECT_EQ(model->index(serverRow(QStringLiteral("docs")).row(), 2).data().toString(), QStringLiteral("<Dossier>"));
    EXPECT_EQ(model->index(serverRow(QStringLiteral("readme.txt")).row(), 2).data().toString(), QStringLiteral(".txt"));
    emit window->listviewServer->doubleClicked(serverRow(QStringLiteral("docs")));
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/docs"));
    EXPECT_EQ(serverNames(), QStringList{"guide.txt"});
    emit window->listviewServer->doubleClicked(serverRow(QStringLiteral("guide.txt"))); // a file: nothing here
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/docs"));
    window->cmdUpServerPath->click();
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/"));
    EXPECT_EQ(serverNames(), (QStringList{"docs", "readme.txt"}));
}

} // namespace
