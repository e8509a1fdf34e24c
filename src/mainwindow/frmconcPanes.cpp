// The two panes as the main window drives them: listing the server folder and
// the local folder, walking into folders and up, the rows other windows read,
// and what dragging and dropping between the lists means.
#include "mainwindow/frmconc.h"

#include "mainwindow/LocalListing.h"
#include "mainwindow/PaneView.h"
#include "mainwindow/ServerListing.h"
#include "platform/gui/Choosers.h"
#include "session/FileTypes.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>

namespace {

constexpr int MessageState = 12;
constexpr int UnsafeNameId = 790;

// The size and date texts of a pane's row of this name.
bool findPaneRow(const PaneModel &rows, const QString &name, QString &size, QString &date)
{
    const int r = rows.findName(name);
    if (r < 0)
        return false;
    size = rows.text(r, PaneModel::SizeColumn);
    date = rows.text(r, PaneModel::DateColumn);
    return true;
}

} // namespace

// ---- server pane ----------------------------------------------------------------

void frmconc::RefreshDirectoryListing()
{
    refreshServerPane({});
}

void frmconc::refreshServerPane(std::function<void()> then)
{
    m_serverModel->clear();
    // Listings asked one after the other come back in order; only the last
    // one asked fills the pane.
    const quint64 generation = ++m_listingGeneration;
    mFTP->GetDirectoryListing(QStringLiteral("*.*"), [this, generation, then](const ftp::Result &r) {
        if (generation == m_listingGeneration) {
            TxtRemotePath->setText(mFTP->GetFTPDirectory());
            fillServerListing(*m_serverModel, mFTP->Directory());
            mFTP->ActionOut(QString());
            mFTP_StateChanged(MessageState, r.ok() ? sLastResponse : sLastError);
        }
        if (then)
            then();
    });
}

void frmconc::openServerEntry(const QModelIndex &index)
{
    if (!bConnected || !index.isValid())
        return;
    const QString name = m_serverModel->row(index.row()).name;
    const cDItemAttribute *entry = mFTP->Directory().Item(name);
    // A link, or an entry of no kind: a folder if the server lets us in.
    const bool askServer = entry && entry->kindFromServer();
    const bool folder = isDotEntry(name) || (entry && entry->Directory);
    if (!folder && !askServer) {
        // A file becomes one download row; the pane stays as it is.
        if (!refuseUnsafeName(name))
            queueServerFile(index.row());
        return;
    }
    mFTP->SetFTPDirectory(name, [this, name, askServer](const ftp::Result &r) {
        if (r.ok()) {
            TxtRemotePath->setText(mFTP->GetFTPDirectory());
        } else if (askServer) {
            // Not a folder after all: the file goes to the queue.
            const int row = m_serverModel->findName(name);
            if (row >= 0 && !refuseUnsafeName(name))
                queueServerFile(row);
            return;
        } else {
            mFTP_StateChanged(MessageState, sLastError);
        }
        RefreshDirectoryListing();
    });
}

void frmconc::cmdUpServerPath_Click()
{
    if (!bConnected)
        return;
    mFTP->SetFTPDirectory(QStringLiteral(".."), [this](const ftp::Result &) {
        TxtRemotePath->setText(mFTP->GetFTPDirectory());
    });
    RefreshDirectoryListing();
}

// A server name that holds a separator would become a path outside the local
// folder shown: it is listed, but nothing local is built from it.
bool frmconc::refuseUnsafeName(const QString &name)
{
    if (!isUnsafeRemoteName(name))
        return false;
    mFTP_StateChanged(MessageState, LangStr(UnsafeNameId) + name);
    return true;
}

// ---- local pane -----------------------------------------------------------------

void frmconc::setLocalFolder(const QString &path)
{
    const QString folder = path.isEmpty() ? QString() : QDir::cleanPath(path);
    // The folder already shown is no change.
    if (folder == m_localFolder && !m_localFolder.isEmpty())
        return;
    m_localFolder = folder;
    LoadLocalListing();
}

void frmconc::LoadLocalListing()
{
    fillLocalListing(*m_localModel, m_localFolder);
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

QString frmconc::localPath(const QString &name) const
{
    return m_localFolder.endsWith(QLatin1Char('/')) ? m_localFolder + name
                                                     : m_localFolder + QLatin1Char('/') + name;
}

void frmconc::openLocalEntry(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const PaneRow &row = m_localModel->row(index.row());
    if (!row.isFolder) {
        menuupload_Click(QString(), QString(), false);
        return;
    }
    setLocalFolder(localPath(row.name));
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

// ---- rows read by others ----------------------------------------------------------

QStringList frmconc::selectedNames(QTreeView *list) const
{
    auto *model = static_cast<PaneModel *>(list->model());
    QList<int> rows;
    for (const QModelIndex &index : list->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QStringList names;
    for (int r : rows)
        names << model->row(r).name;
    return names;
}

QString frmconc::GetSelectedName(QTreeView *list) const
{
    const QStringList names = selectedNames(list);
    return names.isEmpty() ? QString() : names.first();
}

bool frmconc::findLocalRow(const QString &name, QString &size, QString &date)
{
    return findPaneRow(*m_localModel, name, size, date);
}

bool frmconc::findServerRow(const QString &name, QString &size, QString &date)
{
    return findPaneRow(*m_serverModel, name, size, date);
}

frmExist *frmconc::exist()
{
    if (!m_exist)
        m_exist = new frmExist(this, this);
    return m_exist;
}

// The copies the comparison window takes: the texts as the panes show them.
QList<CompareRow> frmconc::localPaneRows()
{
    QList<CompareRow> rows;
    for (const PaneRowSnapshot &row : m_localModel->snapshot())
        rows.append({row.name, row.sizeText, row.dateText, row.typeText, row.isFolder});
    return rows;
}

QList<CompareRow> frmconc::serverPaneRows()
{
    QList<CompareRow> rows;
    if (!bConnected)
        return rows;
    // A size in blocks or rounded to a unit cannot be compared with a byte count.
    for (const PaneRowSnapshot &row : m_serverModel->snapshot())
        if (!isDotEntry(row.name))
            rows.append({row.name, row.sizeRough ? QString() : row.sizeText, row.dateText, row.typeText, row.isFolder});
    return rows;
}

QString frmconc::serverPaneFolder()
{
    return bConnected ? TxtRemotePath->text() : QString();
}

// ---- dragging and dropping ----------------------------------------------------------

void frmconc::listviewServer_OLEStartDrag()
{
    lvLocal->clearSelection();
}

void frmconc::lvLocal_OLEStartDrag()
{
    listviewServer->clearSelection();
}

void frmconc::listviewServer_OLEDragDrop(const QMimeData *data, const QPoint &pos)
{
    if (!bConnected || !data)
        return;
    if (!data->hasFormat(PaneModel::dragMimeType())) {
        // Files of the desktop's file manager: queued, not started.
        queueDesktopFiles(data->urls());
        return;
    }
    // A drag started in a pane clears the other pane's selection: a local
    // selection means the rows came from the local pane.
    if (lvLocal->selectionModel()->hasSelection()) {
        DragDropManuel(true);
        RunTransferQueue();
        return;
    }
    if (moveSelectionIntoFolderAt(pos) > 0)
        RefreshDirectoryListing();
}

void frmconc::lvLocal_OLEDragDrop(const QMimeData *data, const QPoint &pos)
{
    Q_UNUSED(pos);
    if (!data || !data->hasFormat(PaneModel::dragMimeType()))
        return;
    if (listviewServer->selectionModel()->hasSelection()) {
        DragDropManuel(false);
        RunTransferQueue();
    }
}

void frmconc::ListView3_OLEDragDrop(const QMimeData *data, const QPoint &pos)
{
    Q_UNUSED(pos);
    if (!data)
        return;
    if (data->hasFormat(PaneModel::dragMimeType())) {
        DragDropManuel(sActiveList == QLatin1String("local"));
        return;
    }
    // Files of the desktop's file manager: a file goes in only while a row of
    // the local pane is selected, as for any upload without a drag.
    queueDesktopFiles(data->urls());
}

void frmconc::queueDesktopFiles(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        if (path.isEmpty())
            continue;
        if (QFileInfo(path).isDir())
            LocalSubFolder(path, QString());
        else
            menuupload_Click(path, QString(), false);
    }
}
