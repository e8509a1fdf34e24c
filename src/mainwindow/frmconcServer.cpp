// The server pane's commands: create, rename, delete, permissions, moving
// entries into a folder or the parent folder, and sending them to the queue.
#include "mainwindow/frmconc.h"

#include "dialogs/frmCHMOD.h"
#include "dialogs/frmnewdir.h"
#include "platform/Prompt.h"
#include "session/DeleteSelection.h"
#include "session/FileTypes.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "transfer/TransferQueue.h"

#include <QItemSelectionModel>
#include <QTreeView>

namespace {

constexpr int MessageState = 12;

} // namespace

void frmconc::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("CreateDirectory")) {
        createServerFolder();
        RefreshDirectoryListing();
    } else if (key == QLatin1String("Delete")) {
        deleteServerSelection();
    } else if (key == QLatin1String("Rename")) {
        renameServerEntry();
    } else if (key == QLatin1String("refresh")) {
        if (bConnected)
            RefreshDirectoryListing();
    } else if (key == QLatin1String("Download")) {
        if (listviewServer->selectionModel()->hasSelection()) {
            DragDropManuel(false);
            RunTransferQueue();
        }
    } else if (key == QLatin1String("sendlist")) {
        DragDropManuel(false);
    } else if (key == QLatin1String("updir")) {
        moveSelectionToParent();
    }
}

void frmconc::mnuPop_Server1_Click(int Index)
{
    switch (Index) {
    case 0: DragDropManuel(false); break;
    case 1:
        createServerFolder();
        RefreshDirectoryListing();
        break;
    case 2:
    case 5: deleteServerSelection(); break;
    case 4: renameServerEntry(); break;
    case 7: {
        const QString name = GetSelectedName(listviewServer);
        if (hConnection && !name.isEmpty())
            serverPermissions(TransferQueue::joinRemote(mFTP->GetFTPDirectory(), name));
        break;
    }
    default: break;
    }
}

void frmconc::listviewServer_KeyDown()
{
    deleteServerSelection();
}

void frmconc::deleteServerSelection()
{
    if (!bConnected)
        return;
    DeleteRemoteSelection(selectedNames(listviewServer), *mFTP, *this);
}

void frmconc::createServerFolder()
{
    if (!bConnected)
        return;
    const QString name = frmnewdir::askName(this).trimmed();
    if (name.isEmpty())
        return;
    mFTP->CreateFTPDirectory(name, [this, name](const ftp::Result &r) {
        if (r.ok()) {
            mFTP_StateChanged(MessageState, sLastResponse);
            platform::inform(LangStr(523) + QStringLiteral("  ") + name + QLatin1Char(' ') + LangStr(527),
                             platform::PromptIcon::Information);
        } else {
            mFTP_StateChanged(MessageState, sLastError);
            sLastError.clear();
        }
    });
}

void frmconc::renameServerEntry()
{
    const QString old = GetSelectedName(listviewServer);
    if (!bConnected || old.isEmpty() || isDotEntry(old))
        return;
    const QString name = frmnewdir::askName(this, old).trimmed();
    if (name.isEmpty() || name == old)
        return;
    mFTP->RenameFTPFile(old, name, [this](const ftp::Result &r) {
        if (!r.ok()) {
            mFTP_StateChanged(MessageState, sLastError);
            return;
        }
        mFTP_StateChanged(MessageState, sLastResponse);
        platform::inform(LangStr(529), platform::PromptIcon::Information);
    });
    RefreshDirectoryListing();
}

void frmconc::serverPermissions(const QString &path)
{
    mFTP->SetCHMOD(QStringLiteral("stat ") + path, QString(), false, [this, path](const ftp::Result &) {
        // The reply's second line is a listing line: " -rwxr-xr-x  1 ...";
        // some servers write it without the leading space.
        const QString reply = sCommandResponse;
        const int first = reply.indexOf(QLatin1String("\r\n"));
        QString line;
        if (first >= 0) {
            const int next = reply.indexOf(QLatin1String("\r\n"), first + 2);
            line = reply.mid(first + 2, next < 0 ? -1 : next - first - 2);
        }
        int start = 0;
        while (start < line.size() && line[start] == QLatin1Char(' '))
            ++start;
        sCommandResponse = line.mid(start, 10);
        frmCHMOD window(mFTP, this);
        window.LoadMe(path);
        window.exec();
    });
}

void frmconc::moveSelectionToParent()
{
    if (!bConnected)
        return;
    if (platform::ask(LangStr(697), platform::PromptButtons::YesNo, platform::PromptIcon::Question,
                      QStringLiteral("Tarvo FTP"))
        != platform::PromptAnswer::Yes)
        return;
    // The commands go to the connection in order; the listing after them.
    for (const QString &name : selectedNames(listviewServer)) {
        if (isDotEntry(name))
            continue;
        mFTP->SetCHMOD(QStringLiteral("rnfr ") + name);
        mFTP->SetCHMOD(QStringLiteral("rnto ../") + name);
    }
    RefreshDirectoryListing();
}

// A drag inside the server pane dropped on a folder row: the selected entries
// go into that folder. Returns how many were sent.
int frmconc::moveSelectionIntoFolderAt(const QPoint &pos)
{
    const QModelIndex target = listviewServer->indexAt(pos);
    if (!target.isValid())
        return 0;
    const PaneRow &row = m_serverModel->row(target.row());
    if (!row.typeText.startsWith(QLatin1Char('<')))
        return 0;
    const QString folder = row.name;
    const QString here = mFTP->GetFTPDirectory();
    int moved = 0;
    for (const QString &name : selectedNames(listviewServer)) {
        // A folder does not go into itself.
        if (isDotEntry(name) || name == folder)
            continue;
        mFTP->SetCHMOD(QStringLiteral("rnfr ") + TransferQueue::joinRemote(here, name));
        mFTP->SetCHMOD(QStringLiteral("rnto ") + TransferQueue::joinRemote(TransferQueue::joinRemote(here, folder), name));
        ++moved;
    }
    return moved;
}
