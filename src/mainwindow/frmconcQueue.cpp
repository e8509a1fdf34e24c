// The queue side of the panes. The rows, their expansion and the runner are
// being brought into this window; until then these members accept the calls
// the panes make and do nothing.
#include "mainwindow/frmconc.h"

void frmconc::DragDropManuel(bool bIsFromLocal)
{
    Q_UNUSED(bIsFromLocal);
}

void frmconc::menuupload_Click(const QString &sNameDrag, const QString &sNamePathDrag, bool bIsFromDrag)
{
    Q_UNUSED(sNameDrag);
    Q_UNUSED(sNamePathDrag);
    Q_UNUSED(bIsFromDrag);
}

void frmconc::LocalSubFolder(const QString &fPath, const QString &sOriginPath)
{
    Q_UNUSED(fPath);
    Q_UNUSED(sOriginPath);
}

void frmconc::RunTransferQueue() {}

void frmconc::queueServerFile(int row)
{
    Q_UNUSED(row);
}
