#pragma once
// Holds a widget to one repaint an interval (the queue: 50 ms) while
// something changes it faster than that. A run of small files changes the queue once a file
// (a row starts, a row goes), and each repaint of the queue (its rows, the
// header, the scroll bar) cost more than moving the file did: the next
// files waited on the window's painting. Between two repaints the widget
// keeps showing what it showed; input is handled as always, and the
// widget is repainted whole as soon as the interval is over.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QAbstractItemModel;
class QWidget;

class RepaintLimiter : public QObject {
    Q_OBJECT
public:
    RepaintLimiter(QWidget *widget, int intervalMs, QObject *parent = nullptr);

    // Rows of `model` coming, going or moving count as changes of the
    // widget; a change of data repaints only its cells and is not held.
    void follow(QAbstractItemModel *model);
    // Something is about to change the widget.
    void changing();
    // Repaints are held back now; released() follows.
    bool holding() const { return m_timer.isActive(); }
    // Repaints at once what is held back (the end of a run).
    void flush();

signals:
    void released();

private:
    void release();

    QPointer<QWidget> m_widget;
    int m_interval;
    QElapsedTimer m_lastPaint;
    QTimer m_timer;
};
