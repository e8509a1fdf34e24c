#pragma once
// A thin bar the user drags to move the main window's bands. The bar itself
// stays where it is while the mouse is held (a line shows where it would
// go); the release reports where it happened, relative to the bar, and the
// window applies its own rule for it.

#include <QWidget>

class QRubberBand;

class SplitterBar : public QWidget {
    Q_OBJECT
public:
    // Qt::Horizontal: a bar lying across the window, dragged up and down;
    // Qt::Vertical: a bar standing between the panes, dragged left and right.
    explicit SplitterBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    Qt::Orientation orientation() const { return m_orientation; }
    // Where the line showing the drag is drawn (the bar's parent by default).
    void setGhostArea(QWidget *area) { m_ghostArea = area; }

signals:
    // The mouse button went up: which one, and where relative to the bar.
    void released(Qt::MouseButton button, const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showGhost(const QPoint &pos);

    Qt::Orientation m_orientation;
    QWidget *m_ghostArea = nullptr;
    QRubberBand *m_ghost = nullptr; // where the bar would go, while dragging
};
