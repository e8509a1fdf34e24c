#include "mainwindow/PaneView.h"

#include "mainwindow/PaneModel.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMetaMethod>
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

std::optional<PaneView::KeyCommand> PaneView::commandFor(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_F5: return mods == Qt::NoModifier ? std::optional(KeyCommand::Refresh) : std::nullopt;
    case Qt::Key_Return:
    case Qt::Key_Enter: return mods == Qt::NoModifier ? std::optional(KeyCommand::Open) : std::nullopt;
    case Qt::Key_Backspace: return mods == Qt::NoModifier ? std::optional(KeyCommand::Parent) : std::nullopt;
    case Qt::Key_Up: return mods == Qt::AltModifier ? std::optional(KeyCommand::Parent) : std::nullopt;
    case Qt::Key_F2: return mods == Qt::NoModifier ? std::optional(KeyCommand::Rename) : std::nullopt;
    case Qt::Key_Delete: return mods == Qt::NoModifier ? std::optional(KeyCommand::Delete) : std::nullopt;
    default: return std::nullopt;
    }
}

void PaneView::keyPressEvent(QKeyEvent *event)
{
    const std::optional<KeyCommand> command = commandFor(*event);
    const bool selected = selectionModel() && selectionModel()->hasSelection();
    if (command && isSignalConnected(QMetaMethod::fromSignal(&PaneView::keyCommand))) {
        // Commands on rows want rows; the others act on the folder shown.
        const bool needsRows = *command == KeyCommand::Open || *command == KeyCommand::Rename
                            || *command == KeyCommand::Delete;
        if (!needsRows || selected)
            emit keyCommand(*command);
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
