// The panes' keyboard, as desktop file managers have taught it: F5 refreshes,
// Enter opens (a folder) or queues (a file), Backspace and Alt+Up go to the
// parent folder, F2 renames, Delete deletes; and a folder typed in either
// path box opens with Enter. Each key does what the pane's own buttons do.
#include "mainwindow/frmconc.h"

#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeView>

namespace {

constexpr int MessageState = 12;
constexpr int NoSuchFolderId = 892;

// The row Enter opens: the current one when it is selected, else the first
// selected one.
QModelIndex rowToOpen(const QTreeView *list)
{
    const QItemSelectionModel *selection = list->selectionModel();
    const QModelIndex current = list->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), current.parent()))
        return current.siblingAtColumn(0);
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? QModelIndex() : rows.first();
}

} // namespace

void frmconc::localPaneKey(PaneView::KeyCommand command)
{
    switch (command) {
    case PaneView::KeyCommand::Refresh: Toolbar2_ButtonClick(QStringLiteral("refresh")); break;
    case PaneView::KeyCommand::Open: openLocalEntry(rowToOpen(lvLocal)); break;
    case PaneView::KeyCommand::Parent: cmdUpLocal_Click(); break;
    case PaneView::KeyCommand::Rename: Toolbar2_ButtonClick(QStringLiteral("Rename")); break;
    case PaneView::KeyCommand::Delete: lvLocal_KeyDown(); break;
    }
}

void frmconc::serverPaneKey(PaneView::KeyCommand command)
{
    // The server pane's buttons are off while there is no connection.
    if (!bConnected)
        return;
    switch (command) {
    case PaneView::KeyCommand::Refresh: Toolbar1_ButtonClick(QStringLiteral("refresh")); break;
    case PaneView::KeyCommand::Open: openServerEntry(rowToOpen(listviewServer)); break;
    case PaneView::KeyCommand::Parent: cmdUpServerPath_Click(); break;
    case PaneView::KeyCommand::Rename: Toolbar1_ButtonClick(QStringLiteral("Rename")); break;
    case PaneView::KeyCommand::Delete: listviewServer_KeyDown(); break;
    }
}

// ---- the path boxes ---------------------------------------------------------

void frmconc::txtLocalPath_Enter()
{
    const QString typed = QDir::fromNativeSeparators(txtLocalPath->text().trimmed());
    if (typed.isEmpty() || m_localFolder.isEmpty()) {
        txtLocalPath_Left();
        return;
    }
    // A relative path is taken from the folder shown, "~" from the home folder.
    QString path = typed;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    path = QDir::cleanPath(QDir(m_localFolder).absoluteFilePath(path));
    if (!QFileInfo(path).isDir()) {
        mFTP_StateChanged(MessageState, LangStr(NoSuchFolderId) + QDir::toNativeSeparators(path));
        txtLocalPath->setText(QDir::toNativeSeparators(m_localFolder));
        return;
    }
    setLocalFolder(path);
    txtLocalPath->setText(QDir::toNativeSeparators(m_localFolder));
}

void frmconc::txtLocalPath_Left()
{
    // Text typed and left without Enter is not a folder change.
    if (txtLocalPath->isModified())
        txtLocalPath->setText(QDir::toNativeSeparators(m_localFolder));
}

void frmconc::TxtRemotePath_Enter()
{
    const QString typed = TxtRemotePath->text().trimmed();
    if (!bConnected || typed.isEmpty() || typed == m_remoteFolderShown) {
        TxtRemotePath->setText(m_remoteFolderShown);
        return;
    }
    // The server's refusal ("550 ...") is the error the log shows; the
    // listing after it shows the folder the session is in.
    mFTP->SetFTPDirectory(typed, [this](const ftp::Result &r) {
        if (r.ok())
            return;
        mFTP_StateChanged(MessageState, sLastError);
        TxtRemotePath->setText(m_remoteFolderShown);
    });
    RefreshDirectoryListing();
}

void frmconc::TxtRemotePath_Left()
{
    if (TxtRemotePath->isModified())
        TxtRemotePath->setText(m_remoteFolderShown);
}

void frmconc::TxtRemotePath_Change(const QString &text)
{
    // Only what the program puts into the box is the folder shown; the
    // queue builds remote paths from it, never from half-typed text.
    if (!TxtRemotePath->isModified())
        m_remoteFolderShown = text;
}
