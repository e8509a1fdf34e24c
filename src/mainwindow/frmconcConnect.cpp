// The main window's side of a connection: connecting with the site manager's
// boxes, disconnecting, the keep-alive tick, the session log, and what the
// session asks of the window (SessionHost).
#include "mainwindow/frmconc.h"

#include "mainwindow/SessionLog.h"
#include "platform/Prompt.h"
#include "platform/Yield.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "sites/frmManager.h"
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
#include <QTreeView>

namespace {

// The hourglass for the length of a routine, whichever way it ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { restore(); }
    void restore()
    {
        if (m_on)
            QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = true;
};

constexpr int FailureState = 11;
constexpr int MessageState = 12;

} // namespace

QString frmconc::managerText(QLineEdit *frmManager::*box)
{
    QLineEdit *edit = manager()->*box;
    return edit ? edit->text() : QString();
}

void frmconc::premier_Connect(bool IsQuickConnect)
{
    Q_UNUSED(IsQuickConnect);
    // A second click while a connection is being made waits for the first.
    if (bConnecting)
        return;
    BusyCursor busy;
    bConnecting = true;

    if (bConnected) {
        if (platform::ask(LangStr(521), platform::PromptButtons::YesNo, platform::PromptIcon::Question)
            != platform::PromptAnswer::Yes) {
            bConnecting = false;
            return;
        }
        mFTP->CloseConnection();
        clearServerSide();
        platform::yieldNow();
    }

    openSiteLocalFolder(managerText(&frmManager::txtLocal));
    RefreshLocalDir();
    platform::yieldNow();

    const QString server = managerText(&frmManager::TxtServer);
    if (server.isEmpty()) {
        busy.restore();
        bConnecting = false;
        manager()->showModal();
        return;
    }
    sCurrentHost = server;

    mFTP_StateChanged(0, QString());
    const bool opened = mFTP->OpenConnection(server, managerText(&frmManager::TxtPort),
                                             managerText(&frmManager::TxtUser),
                                             managerText(&frmManager::txtPass), lConnectMode);
    if (opened) {
        bConnected = true;
        Toolbar1->setEnabled(true);
        showServerHost(server);
        mFTP->ActionOut(QString());
        if (!sLastResponse.isEmpty())
            mFTP_StateChanged(MessageState, sLastResponse);
        mFTP_StateChanged(1, QString());
        const QString startFolder = managerText(&frmManager::txtExt);
        if (!startFolder.isEmpty())
            mFTP->SetFTPDirectory(startFolder);
        RefreshDirectoryListing();
    } else {
        bConnected = false;
        mFTP_StateChanged(FailureState, QString());
        mFTP_StateChanged(MessageState, sLastError);
    }
    busy.restore();
    bConnecting = false;
    if (m_closeWanted)
        QTimer::singleShot(0, this, &QWidget::close);
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
    mFTP->CloseConnection();
    clearServerSide();
}

void frmconc::timerKeepAlive_Timer()
{
    // A NOOP goes out only after a whole interval in which nothing else used
    // the connection: every session operation sets bActivity.
    if (!bActivity && bConnected && options::keepAlive())
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
    ProgressBar1->setVisible(visible);
}

void frmconc::refreshLocalDir()
{
    RefreshLocalDir();
}

void frmconc::refreshDirectoryListing()
{
    RefreshDirectoryListing();
}

bool frmconc::overWriteExist(const QString &fileName, bool isUp)
{
    return exist()->OverWriteExist(fileName, isUp);
}

bool frmconc::deleteItem(const QString &fileName, bool isUp)
{
    return exist()->DeleteItem(fileName, isUp);
}

QueueHeadRow frmconc::firstQueueRow()
{
    return m_queue->headRow();
}
