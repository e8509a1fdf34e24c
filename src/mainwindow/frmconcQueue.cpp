// The transfer queue in the main window: adding the panes' rows to it, its
// pop-up, the wait panel, the progress bar over the running row, and what the
// queue engine asks of the window (QueueHost). The rows, their expansion and
// the runner are the queue engine's (TransferQueue); this window shows them.
#include "mainwindow/frmconc.h"

#include "mainwindow/LocalListing.h"
#include "mainwindow/RepaintLimiter.h"
#include "mainwindow/SessionLog.h"
#include "platform/Prompt.h"
#include "platform/gui/Icons.h"
#include "session/SessionState.h"
#include "session/DateValue.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "sites/frmManager.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

#include <climits>

namespace {
constexpr int ProgressColumn = QueueRow::Progress;
} // namespace

void frmconc::DragDropManuel(bool bIsFromLocal)
{
    if (bIsFromLocal) {
        QList<LocalSelection> rows;
        for (const QString &name : selectedNames(lvLocal)) {
            const int r = m_localModel->findName(name);
            rows.append({name, r >= 0 && m_localModel->row(r).isFolder});
        }
        m_transfer->addLocalSelection(rows);
        return;
    }
    QList<RemoteSelection> rows;
    QList<int> positions;
    for (const QModelIndex &index : listviewServer->selectionModel()->selectedRows())
        positions << index.row();
    std::sort(positions.begin(), positions.end());
    for (int r : positions) {
        const PaneRow &row = m_serverModel->row(r);
        RemoteSelection entry;
        entry.name = row.name;
        entry.size = row.showsSize ? row.size : -1; // what the server did not give stays unknown
        if (row.showsDate)
            entry.date = dateTimeFromDateValue(row.date);
        rows.append(entry);
    }
    m_transfer->addRemoteSelection(rows);
}

void frmconc::menuupload_Click(const QString &sNameDrag, const QString &sNamePathDrag, bool bIsFromDrag)
{
    const QString selected = GetSelectedName(lvLocal);
    if (!bIsFromDrag && selected.isEmpty())
        return;
    m_transfer->menuupload(sNameDrag.isEmpty() ? localPath(selected) : sNameDrag, sNamePathDrag);
}

void frmconc::LocalSubFolder(const QString &fPath, const QString &sOriginPath)
{
    m_transfer->LocalSubFolder(fPath, sOriginPath);
}

void frmconc::addfolder(const QString &dir)
{
    m_transfer->addfolder(dir);
}

QString frmconc::chkdir(const QString &dir, const QString &File)
{
    return TransferQueue::chkdir(dir, File);
}

// A double-clicked server file: its row keeps no date, so the file gets the
// time of its writing.
void frmconc::queueServerFile(int row)
{
    RemoteSelection entry;
    entry.name = m_serverModel->row(row).name;
    entry.size = m_serverModel->row(row).showsSize ? m_serverModel->row(row).size : -1;
    m_transfer->addDownloadRow(entry, mFTP->GetFTPDirectory(), m_localFolder);
}

void frmconc::RunTransferQueue()
{
    m_transfer->RunTransferQueue();
}

void frmconc::mFTP_FileTransferProgress(qint64 lCurrentBytes, qint64 lTotalBytes)
{
    m_transfer->mFTP_FileTransferProgress(lCurrentBytes, lTotalBytes);
}

QString frmconc::ConvertTime(double TheTime)
{
    return TransferQueue::ConvertTime(TheTime);
}

void frmconc::RemoveSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex &index : ListView3->selectionModel()->selectedRows())
        rows << index.row();
    m_queue->removeRows(rows);
}

void frmconc::mnupop_list1_Click(int Index)
{
    switch (Index) {
    case 0: RunTransferQueue(); break;
    case 1:
        if (m_queue->count() == 0) {
            platform::inform(LangStr(534), platform::PromptIcon::Information);
            ProgressBar1->setVisible(false);
            break;
        }
        RemoveSelectedRows();
        break;
    case 2:
        m_queue->clear();
        ProgressBar1->setVisible(false);
        break;
    default: break;
    }
}

void frmconc::ShowQueueWait(bool bShow)
{
    picLineAttente->setVisible(bShow);
    if (bShow)
        placeQueueWait();
}

void frmconc::PlaceQueueProgressBar()
{
    // Placing the bar lays the queue's rows out; while the queue's repaints
    // are held back it is placed when they are released.
    if (m_queueRepaints && m_queueRepaints->holding())
        return;
    // The bar follows the first running row (the first row when one file runs).
    int first = -1;
    for (int i = 0; i < m_queue->count() && first < 0; ++i)
        if (m_queue->row(i).isRunning())
            first = i;
    if (first < 0) {
        ProgressBar1->setVisible(false);
        return;
    }
    const QRect cell = ListView3->visualRect(m_queue->index(first, ProgressColumn));
    // Shown only while the first row is scrolled into view.
    const bool inView = cell.isValid() && cell.top() >= 0 && cell.top() < ListView3->viewport()->height();
    if (!inView) {
        ProgressBar1->setVisible(false);
        return;
    }
    if (!bConnected)
        return;
    ProgressBar1->setGeometry(cell);
    ProgressBar1->setVisible(true);
}

// ---- QueueHost --------------------------------------------------------------------

QString frmconc::remotePathText()
{
    return m_remoteFolderShown;
}

bool frmconc::binaryTransferChosen()
{
    return manager()->binaryTransferSelected();
}

void frmconc::setProgressMaximum(qint64 maximum)
{
    m_progressShift = 0;
    while ((maximum >> m_progressShift) > qint64(INT_MAX))
        ++m_progressShift;
    ProgressBar1->setRange(0, int(maximum >> m_progressShift));
}

void frmconc::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmconc::setupQueue()
{
    m_transfer = new TransferQueue(*mFTP, *m_queue, *this, *this, this);
    connect(m_transfer, &TransferQueue::runStarted, this,
            [this] { m_runPainting = std::make_unique<RunPainting>(this, m_log.get()); });
    connect(m_transfer, &TransferQueue::runFinished, this, [this] {
        m_runPainting.reset();
        m_queueRepaints->flush();
    });
    // The pictures of the rows: the local file's kind for uploads, the server
    // pane's picture for downloads.
    m_queue->setIconProvider([](const QString &key) -> QVariant {
        if (key.startsWith(QLatin1String("image:")))
            return icons::imageList6(key.mid(6).toInt());
        if (key.startsWith(QLatin1String("local:")))
            return localFileType(key.mid(key.lastIndexOf(QLatin1Char('/')) + 1)).icon;
        return QVariant();
    });
}
