#pragma once
// A details list of the main window (either pane or the queue) that tells the
// window when the user starts dragging rows out of it, drops something on it
// (rows of a pane, or files from the desktop's file manager) or presses Delete.
// What a drop means is the window's business.

#include <QTreeView>

#include <QMimeData>

class PaneView : public QTreeView {
    Q_OBJECT
public:
    explicit PaneView(QWidget *parent = nullptr);

    // Rows of our panes, or files of the desktop.
    static bool carriesDropData(const QMimeData *data);

signals:
    void dragStarted();
    // pos: where the drop landed, in viewport coordinates.
    void dropped(const QMimeData *data, const QPoint &pos);
    void deletePressed();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
};
