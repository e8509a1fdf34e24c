#pragma once
// A details list of the main window (either pane or the queue) that tells the
// window when the user starts dragging rows out of it, drops something on it
// (rows of a pane, or files from the desktop's file manager) or presses one of
// the keys desktop file managers have taught everyone (F5, Enter, Backspace,
// Alt+Up, F2, Delete). What a drop or a key means is the window's business;
// Ctrl+A selects every row, as in any list.

#include <QTreeView>

#include <QMimeData>

#include <optional>

class QKeyEvent;

class PaneView : public QTreeView {
    Q_OBJECT
public:
    explicit PaneView(QWidget *parent = nullptr);

    // Rows of our panes, or files of the desktop.
    static bool carriesDropData(const QMimeData *data);

    enum class KeyCommand {
        Refresh, // F5
        Open,    // Enter: into the folder, or the file to the queue
        Parent,  // Backspace, Alt+Up
        Rename,  // F2
        Delete,  // Delete
    };
    static std::optional<KeyCommand> commandFor(const QKeyEvent &event);

signals:
    void dragStarted();
    // pos: where the drop landed, in viewport coordinates.
    void dropped(const QMimeData *data, const QPoint &pos);
    // Only while something listens: a list nobody listens to (the queue)
    // keeps the view's own keys. Open, Rename and Delete come only with rows
    // selected.
    void keyCommand(PaneView::KeyCommand command);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
};
