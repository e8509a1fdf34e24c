// The two panes as far as the main window drives them: listing the server
// folder and the local folder, walking into folders and up, and the pane tool
// bars' commands.
#include "mainwindow/frmconc.h"

#include "mainwindow/LocalListing.h"
#include "mainwindow/ServerListing.h"
#include "platform/Yield.h"
#include "platform/gui/Choosers.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTreeView>

namespace {

constexpr int MessageState = 12;

// The hourglass while a routine runs.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void frmconc::RefreshDirectoryListing()
{
    BusyCursor busy;
    m_serverModel->removeRows(0, m_serverModel->rowCount());
    mFTP->GetDirectoryListing(QStringLiteral("*.*"));
    platform::yieldNow();
    TxtRemotePath->setText(mFTP->GetFTPDirectory());
    fillServerListing(m_serverModel, mFTP->Directory());
    platform::yieldNow();
    mFTP->ActionOut(QString());
    mFTP_StateChanged(MessageState, sLastResponse);
}

void frmconc::openServerEntry(const QModelIndex &index)
{
    if (!bConnected || !index.isValid())
        return;
    const QString name = m_serverModel->item(index.row(), 0)->text();
    const cDItemAttribute *entry = mFTP->Directory().Item(name);
    const bool folder = name == QLatin1String(".") || name == QLatin1String("..")
                        || (entry && (entry->Directory || entry->AttNothing));
    if (!folder)
        return; // files go to the queue, which the transfer tools fill
    BusyCursor busy;
    if (mFTP->SetFTPDirectory(name))
        TxtRemotePath->setText(mFTP->GetFTPDirectory());
    else
        mFTP_StateChanged(MessageState, sLastError);
    RefreshDirectoryListing();
}

void frmconc::cmdUpServerPath_Click()
{
    if (!bConnected)
        return;
    mFTP->SetFTPDirectory(QStringLiteral(".."));
    TxtRemotePath->setText(mFTP->GetFTPDirectory());
    RefreshDirectoryListing();
}

void frmconc::Toolbar1_ButtonClick(const QString &key)
{
    // The other commands of the server pane (create, delete, rename, move,
    // send to the queue, permissions) come with the server pane's tools.
    if (key == QLatin1String("refresh") && bConnected)
        RefreshDirectoryListing();
}

// ---- local pane -----------------------------------------------------------------

void frmconc::setLocalFolder(const QString &path)
{
    m_localFolder = path;
    LoadLocalListing();
}

void frmconc::LoadLocalListing()
{
    fillLocalListing(m_localModel, m_localFolder);
    Label11->setText(m_localFolder.isEmpty() ? QString() : shortLocalPath(m_localFolder));
    Label11->setToolTip(QDir::toNativeSeparators(m_localFolder));
    txtLocalPath->setText(QDir::toNativeSeparators(m_localFolder));
    lvLocal->clearSelection();
}

void frmconc::RefreshLocalDir()
{
    // Our pane reads the disk directly, so re-reading the folder is
    // re-reading the pane: a file that a transfer just wrote shows at once.
    LoadLocalListing();
}

void frmconc::openLocalEntry(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const bool folder = m_localModel->item(index.row(), 1)->text().isEmpty();
    if (!folder)
        return; // files go to the queue, which the transfer tools fill
    setLocalFolder(QDir(m_localFolder).filePath(m_localModel->item(index.row(), 0)->text()));
}

void frmconc::cmdUpLocal_Click()
{
    QDir dir(m_localFolder);
    if (dir.cdUp()) // the root stays where it is
        setLocalFolder(dir.absolutePath());
}

void frmconc::cmdBrowseLocal_Click()
{
    const QString chosen = platform::chooseFolder(this, QString(), m_localFolder);
    if (!chosen.isEmpty())
        setLocalFolder(chosen);
}

void frmconc::Toolbar2_ButtonClick(const QString &key)
{
    // Create, delete, rename and the queue commands come with the local
    // pane's tools.
    if (key == QLatin1String("refresh"))
        LoadLocalListing();
}
