#include "mainwindow/PaneView.h"

#include "mainwindow/PaneModel.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

PaneView::PaneView(QWidget *parent) : QTreeView(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

bool PaneView::carriesDropData(const QMimeData *data)
{
    return data && (data->hasFormat(PaneModel::dragMimeType()) || data->hasUrls());
}

void PaneView::startDrag(Qt::DropActions supportedActions)
{
    Q_UNUSED(supportedActions);
    emit dragStarted();
    // A copy, whatever the target: nothing is taken out of the list here.
    QTreeView::startDrag(Qt::CopyAction);
}

void PaneView::dragEnterEvent(QDragEnterEvent *event)
{
    if (carriesDropData(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PaneView::dragMoveEvent(QDragMoveEvent *event)
{
    if (carriesDropData(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void PaneView::dropEvent(QDropEvent *event)
{
    if (!carriesDropData(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped(event->mimeData(), event->position().toPoint());
}

void PaneView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && selectionModel() && selectionModel()->hasSelection()) {
        emit deletePressed();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void PaneView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    // Rows all have one height, so a changed text changes no height: the
    // tree view would measure the first row again for every change of it
    // (the running queue row changes several times a second).
    if (uniformRowHeights()) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    QTreeView::dataChanged(topLeft, bottomRight, roles);
}
