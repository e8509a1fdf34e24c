// The main window's life: start-up, closing, the main tool bar's commands and
// the windows it opens.
#include "mainwindow/frmconc.h"

#include "mainwindow/ProgramFiles.h"
#include "mainwindow/SessionLog.h"
#include "platform/Keyring.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/Yield.h"
#include "platform/gui/Choosers.h"
#include "platform/gui/QtLanguage.h"
#include "platform/gui/Sound.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "settings/frmloadup.h"
#include "sites/frmManager.h"
#include "transfer/TransferQueue.h"
#include "update/UpdateConfig.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace {

constexpr qint16 French = 0;
constexpr qint16 English = 1000;
constexpr int ConnectTimeoutMs = 15000; // a silent server must not hold the window longer
constexpr int NoBrowserId = 891;
constexpr int NoKeyringId = 893;
constexpr int MessageState = 12;

} // namespace

frmconc::frmconc(QWidget *parent) : QMainWindow(parent)
{
    buildWindow();
    // The session lives as long as the window, so every command can reach it.
    mFTP = new clsFTPClient(this);
    mFTP->setHost(this);
    setupQueue();
    inet::Timeouts timeouts;
    timeouts.connectMs = ConnectTimeoutMs;
    mFTP->setTimeouts(timeouts);
    connect(mFTP, &clsFTPClient::reconnected, this,
            [this] { mFTP_StateChanged(12, LangStr(803)); });
    m_log->setNameSource([this] { return managerText(&frmManager::TxtServer); },
                         [this] { return managerText(&frmManager::TxtUser); });
    keyring::setNoticeSink([this] { mFTP_StateChanged(MessageState, LangStr(NoKeyringId)); });
}

frmconc::~frmconc()
{
    keyring::setNoticeSink(nullptr);
    m_transfer->connectionClosing();
    if (mFTP)
        mFTP->CloseConnection();
    closeToolWindows();
    delete m_dropIn.data(); // a window of its own, with no parent to end it
    delete m_compare.data();
    delete m_splash;
}

void frmconc::Form_Load()
{
    m_splash = new frmloadup;
    m_splash->show();
    platform::yieldNow();

    m_traduction = std::make_unique<clsTraduction>(this);
    // At a first start there is no language stored yet: the splash took the
    // session's, and the window is captioned in it by hand.
    if (!m_traduction->LoadRes())
        LoadResMenu();
    platform::applyQtLanguage(LanguageOffset == French);
    setLocalFolder(platform::desktopDirectory());
    bVeuxSon = options::veuxSon();
    programfiles::installDefaultSound();

    bInLoad = true;
    ActiveMenu(false);
    // Without a window manager to maximise it, the window still fills the screen.
    if (QScreen *screen = this->screen())
        resize(screen->availableGeometry().size());
    setWindowState(windowState() | Qt::WindowMaximized);
    bLoaded = true;
    bInLoad = false;
    m_splash->close();
    m_splash->deleteLater();
    m_splash = nullptr;
    show();

    m_startWindowChoice = options::startWindowChoice();
    // The updater was started from the update window: the program ends here.
    // A program built without an update server has nothing to check at start.
    if (options::checkUpdateAtStart() && update::hasUpdateServer() && showUpdateWindow(false)) {
        close();
        return;
    }
    if (m_startWindowChoice == 1)
        manager()->showModal();
    timerMAJ->start();
}

void frmconc::closeEvent(QCloseEvent *event)
{
    // Files on their way: the user says whether they stop (their partial
    // files stay) or the window stays.
    if (m_transfer->isRunning()
        && platform::ask(LangStr(521), platform::PromptButtons::YesNo, platform::PromptIcon::Question)
               != platform::PromptAnswer::Yes) {
        event->ignore();
        return;
    }
    disconnectFromServer();
    timerKeepAlive->stop();
    timerMAJ->stop();
    if (m_manager)
        m_manager->close();
    closeToolWindows();
    event->accept();
}

bool frmconc::eventFilter(QObject *watched, QEvent *event)
{
    // The update notice is clickable.
    if ((watched == lblMAJ || watched == picMAJ) && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lblMAJ_Click();
        return true;
    }
    // The lists' viewports report here: which list was pressed last.
    if (event->type() == QEvent::MouseButtonPress) {
        const QObject *list = watched->parent();
        if (list == lvLocal)
            sActiveList = QStringLiteral("local");
        else if (list == listviewServer) {
            sActiveList = QStringLiteral("server");
            lvLocal->clearSelection();
        }
        else if (list == ListView3)
            sActiveList = QStringLiteral("bas");
    }
    return QMainWindow::eventFilter(watched, event);
}

frmManager *frmconc::manager()
{
    if (!m_manager)
        m_manager = new frmManager(mFTP, this, this);
    return m_manager;
}

QAction *frmconc::toolbarButton(QToolBar *bar, const QString &key) const
{
    for (QAction *action : bar->actions())
        if (action->data().toString() == key)
            return action;
    return nullptr;
}

void frmconc::tbToolBar_ButtonClick(const QString &key)
{
    if (key == QLatin1String("manag")) {
        m_traduction->LoadRes();
        manager()->showModal();
    } else if (key == QLatin1String("Disconnect")) {
        if (bConnected
            && platform::ask(LangStr(521), platform::PromptButtons::YesNo, platform::PromptIcon::Question)
                   == platform::PromptAnswer::Yes)
            disconnectFromServer();
    } else if (key == QLatin1String("reconnect")) {
        premier_Connect(false);
    } else if (key == QLatin1String("Transfer")) {
        if (bConnected)
            RunTransferQueue();
    } else if (key == QLatin1String("Stop")) {
        // Only what runs stops: a connection being made, the files on their
        // way, and whatever the server pane waits for.
        cancelConnecting();
        m_transfer->stop();
        if (bConnected)
            mFTP->cancelOperations();
    } else if (key == QLatin1String("command")) {
        showCommand();
    } else if (key == QLatin1String("DropIn")) {
        showDropIn();
    } else if (key == QLatin1String("tool")) {
        showOptions();
    } else if (key == QLatin1String("help")) {
        openHelp();
    } else if (key == QLatin1String("siteweb")) {
        showAbout();
    } else if (key == QLatin1String("maj")) {
        showUpdateWindow();
    }
}

void frmconc::switchLanguage(bool english)
{
    const qint16 offset = english ? English : French;
    const FileResult written = options::setLangue(offset);
    if (!written.ok())
        platform::inform(written.error(), platform::PromptIcon::Warning);
    m_traduction->LoadRes();
    // The switch happens for this run even when it could not be saved.
    LanguageOffset = offset;
    m_traduction->LoadResMenu();
    platform::applyQtLanguage(LanguageOffset == French);
}

void frmconc::openHelp()
{
    const QString page = programfiles::installHelpPage(LanguageOffset == French);
    if (page.isEmpty()) {
        platform::inform(LangStr(701), platform::PromptIcon::Warning);
        return;
    }
    // Without a browser the page is still there to be opened by hand.
    if (!platform::openWithDesktop(page))
        platform::inform(LangStr(NoBrowserId) + QDir::toNativeSeparators(page), platform::PromptIcon::Information);
}

void frmconc::openWebSite()
{
    platform::openWithDesktop(update::vendorWebSiteUrl());
}

void frmconc::PlayWave(const QString &File)
{
    platform::playWaveAndWait(File);
}
