// The main window's side of a connection: connecting with the site manager's
// boxes, disconnecting, the keep-alive tick, the session log, and what the
// session asks of the window (SessionHost).
#include "mainwindow/frmconc.h"

#include "mainwindow/SessionLog.h"
#include "platform/Prompt.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "sites/frmManager.h"
#include "transfer/TransferQueue.h"
#include "transfer/QueueModel.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace {

constexpr int FailureState = 11;
constexpr int MessageState = 12;
constexpr int ConnectionCancelledId = 809;

} // namespace

QString frmconc::managerText(QLineEdit *frmManager::*box)
{
    QLineEdit *edit = manager()->*box;
    return edit ? edit->text() : QString();
}

void frmconc::premier_Connect(bool IsQuickConnect, std::function<void()> done)
{
    Q_UNUSED(IsQuickConnect);
    // A second click while a connection is being made is ignored: the first
    // one can be cancelled.
    if (bConnecting)
        return;
    if (bConnected) {
        if (platform::ask(LangStr(521), platform::PromptButtons::YesNo, platform::PromptIcon::Question)
            != platform::PromptAnswer::Yes)
            return;
        disconnectFromServer();
    }

    openSiteLocalFolder(managerText(&frmManager::txtLocal));
    RefreshLocalDir();

    const QString server = managerText(&frmManager::TxtServer);
    if (server.isEmpty()) {
        manager()->showModal();
        if (done)
            done();
        return;
    }
    sCurrentHost = server;
    bConnecting = true;
    showConnecting(true);
    mFTP_StateChanged(0, QString());
    const QString startFolder = managerText(&frmManager::txtExt);
    mFTP->OpenConnection(server, managerText(&frmManager::TxtPort), managerText(&frmManager::TxtUser),
                         managerText(&frmManager::txtPass), lConnectMode,
                         [this, server, startFolder, done](const ftp::Result &result) {
                             connectionAttemptEnded(result, server, startFolder);
                             if (done)
                                 done();
                         });
}

void frmconc::connectionAttemptEnded(const ftp::Result &result, const QString &server, const QString &startFolder)
{
    if (result.ok()) {
        bConnected = true;
        Toolbar1->setEnabled(true);
        showServerHost(server);
        mFTP->ActionOut(QString());
        if (!sLastResponse.isEmpty())
            mFTP_StateChanged(MessageState, sLastResponse);
        mFTP_StateChanged(1, QString());
        // Commands go in order: the listing follows the start folder. The
        // connection is made once the first listing is in.
        if (!startFolder.isEmpty())
            mFTP->SetFTPDirectory(startFolder);
        refreshServerPane([this] {
            bConnecting = false;
            showConnecting(false);
        });
    } else {
        bConnecting = false;
        showConnecting(false);
        bConnected = false;
        mFTP_StateChanged(FailureState, QString());
        mFTP_StateChanged(MessageState, result.outcome == ftp::Outcome::Stopped ? LangStr(ConnectionCancelledId)
                                                                                : sLastError);
    }
}

void frmconc::cancelConnecting()
{
    if (bConnecting)
        mFTP->cancelOperations();
}

void frmconc::showConnecting(bool connecting)
{
    cmdCancelConnect->setVisible(connecting);
    // The window stays usable: the pointer only says that work goes on.
    if (connecting)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmconc::openSiteLocalFolder(const QString &folder)
{
    if (folder.isEmpty())
        return;
    if (QFileInfo(folder).isDir()) {
        sSiteLocalPath = folder;
        setLocalFolder(folder);
        return;
    }
    // One level only, as a new site's own folder; a failure leaves the pane
    // where it was.
    if (QDir().mkdir(folder))
        setLocalFolder(folder);
}

void frmconc::clearServerSide()
{
    // The run and the expansion end first: their rows go with the queue.
    m_transfer->connectionClosing();
    m_serverModel->clear();
    m_queue->clear();
    ProgressBar1->setVisible(false);
    TxtRemotePath->clear();
    showServerHost(QString());
    m_log->clear();
    timerKeepAlive->stop();
    Toolbar1->setEnabled(false);
}

void frmconc::showServerHost(const QString &host)
{
    lblServerHost->setText(host);
    setWindowTitle(host.isEmpty() ? QStringLiteral("Tarvo FTP") : host + QStringLiteral(" - Tarvo FTP"));
}

void frmconc::disconnectFromServer()
{
    if (bConnecting) {
        bConnecting = false;
        showConnecting(false);
    }
    // Transfers stop (their partial files stay) before their connections go.
    m_transfer->connectionClosing();
    mFTP->CloseConnection();
    clearServerSide();
}

void frmconc::timerKeepAlive_Timer()
{
    // A NOOP goes out only after a whole interval in which nothing else used
    // the connection: every session operation sets bActivity.
    if (!bActivity && bConnected && options::keepAlive() && !mFTP->isBusy())
        mFTP->SetCHMOD(QStringLiteral("NOOP"), QString(), false);
    bActivity = false;
}

void frmconc::mFTP_StateChanged(int State, const QString &sMessage)
{
    m_log->write(State, sMessage);
}

// ---- SessionHost -------------------------------------------------------------

void frmconc::setKeepAliveEnabled(bool enabled)
{
    if (enabled)
        timerKeepAlive->start();
    else
        timerKeepAlive->stop();
}

void frmconc::logState(int state, const QString &message)
{
    mFTP_StateChanged(state, message);
}

void frmconc::setProgressValue(qint64 value)
{
    const qint64 shown = value >> m_progressShift;
    ProgressBar1->setValue(int(qBound(qint64(ProgressBar1->minimum()), shown, qint64(ProgressBar1->maximum()))));
}

void frmconc::setProgressVisible(bool visible)
{
    // Shown, the bar goes straight to the running row's cell: before its
    // first figures (a file-exists question may come first) it would sit
    // over the first column.
    if (visible)
        PlaceQueueProgressBar();
    else
        ProgressBar1->setVisible(false);
}

void frmconc::refreshLocalDir()
{
    RefreshLocalDir();
}

void frmconc::refreshDirectoryListing()
{
    RefreshDirectoryListing();
}

bool frmconc::overWriteExist(const QString &fileName, bool isUp, bool canResume, const ftp::Request *question)
{
    return exist()->OverWriteExist(fileName, isUp, canResume, question);
}

bool frmconc::deleteItem(const QString &fileName, bool isUp)
{
    return exist()->DeleteItem(fileName, isUp);
}

