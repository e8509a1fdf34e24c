// The local pane's commands: create a folder, rename, delete the selection or
// one folder, and send entries to the queue.
#include "mainwindow/frmconc.h"

#include "dialogs/frmnewdir.h"
#include "session/DeleteSelection.h"
#include "session/FileTypes.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTreeView>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int MessageState = 12;
constexpr int DeniedState = 13;
} // namespace

void frmconc::Toolbar2_ButtonClick(const QString &key)
{
    if (key == QLatin1String("CreateDirectory")) {
        createLocalFolder();
    } else if (key == QLatin1String("Delete")) {
        if (GetSelectedName(lvLocal).isEmpty())
            return;
        deleteLocalSelection();
    } else if (key == QLatin1String("Rename")) {
        renameLocalEntry(false);
    } else if (key == QLatin1String("refresh")) {
        LoadLocalListing();
    } else if (key == QLatin1String("upload")) {
        if (!bConnected)
            return;
        DragDropManuel(true);
        RunTransferQueue();
    } else if (key == QLatin1String("sendlist")) {
        DragDropManuel(true);
    }
}

void frmconc::mnuPop_LocalFile1_Click(int Index)
{
    // Every item needs a selected row, creating a folder included.
    if (GetSelectedName(lvLocal).isEmpty())
        return;
    switch (Index) {
    case 0: DragDropManuel(true); break;
    case 1: createLocalFolder(); break;
    case 2: DeleteLocalDirectory(); break;
    case 4: renameLocalEntry(true); break;
    case 5: deleteLocalSelection(); break;
    default: break;
    }
}

void frmconc::lvLocal_KeyDown()
{
    deleteLocalSelection();
}

void frmconc::createLocalFolder()
{
    const QString name = frmnewdir::askName(this);
    if (!name.isEmpty() && !m_localFolder.isEmpty() && !refuseUnsafeName(name))
        ::mkdir(QFile::encodeName(localPath(name)).constData(), 0777);
    LoadLocalListing();
}

void frmconc::renameLocalEntry(bool filesOnly)
{
    const QStringList selected = selectedNames(lvLocal);
    if (selected.isEmpty())
        return;
    const QString old = selected.first();
    const int row = m_localModel->findName(old);
    if (filesOnly && (row < 0 || m_localModel->row(row).isFolder))
        return;
    const QString name = frmnewdir::askName(this, old);
    // Cancel, the same name, or a name that would leave this folder: nothing
    // moves. An existing entry of the new name is never replaced.
    if (!name.isEmpty() && name != old && !refuseUnsafeName(name) && !QFileInfo::exists(localPath(name)))
        ::rename(QFile::encodeName(localPath(old)).constData(), QFile::encodeName(localPath(name)).constData());
    LoadLocalListing();
}

void frmconc::deleteLocalSelection()
{
    QList<int> rows;
    for (const QModelIndex &index : lvLocal->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QList<LocalPaneRow> selected;
    for (int r : rows)
        selected.append({r, m_localModel->row(r).name, m_localModel->text(r, PaneModel::SizeColumn)});
    DeleteLocalSelection(selected, m_localFolder, *mFTP, *this, [this](int r) { m_localModel->removeRowAt(r); });
    LoadLocalListing();
}

void frmconc::DeleteLocalDirectory()
{
    const QString name = GetSelectedName(lvLocal);
    if (name.isEmpty() || isDotEntry(name))
        return;
    const QString path = localPath(name);
    const QString question = LangStr(506) + path + QLatin1Char(' ') + LangStr(507);
    // Declined: nothing was tried, so there is nothing to report.
    if (exist()->DeleteItem(question, false)) {
        const int error = ::rmdir(QFile::encodeName(path).constData()) == 0 ? 0 : errno;
        mFTP->ErrorOut(quint32(error), QStringLiteral("RemoveDirectory"), QStringLiteral("kernel32"));
        if (error != 0)
            mFTP_StateChanged(DeniedState, QString());
        mFTP_StateChanged(MessageState, sLastError);
    }
    LoadLocalListing();
}
