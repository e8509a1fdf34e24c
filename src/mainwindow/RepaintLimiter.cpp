#include "mainwindow/RepaintLimiter.h"

#include <QAbstractItemModel>
#include <QWidget>

RepaintLimiter::RepaintLimiter(QWidget *widget, int intervalMs, QObject *parent)
    : QObject(parent), m_widget(widget), m_interval(intervalMs)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RepaintLimiter::release);
}

void RepaintLimiter::follow(QAbstractItemModel *model)
{
    // The "about to" signals come before the views mark anything dirty.
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &RepaintLimiter::changing);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &RepaintLimiter::changing);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, &RepaintLimiter::changing);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &RepaintLimiter::changing);
}

void RepaintLimiter::changing()
{
    if (!m_widget || m_timer.isActive())
        return; // held back already: the release repaints it all
    if (!m_lastPaint.isValid() || m_lastPaint.elapsed() >= m_interval) {
        m_lastPaint.start(); // this change paints as usual
        return;
    }
    // What is already marked for repainting is painted now, before the
    // change: held back, it would be painted later over rows that have
    // moved since, part new and part old.
    m_widget->repaint();
    m_widget->setUpdatesEnabled(false);
    m_timer.start(int(qMax<qint64>(1, m_interval - m_lastPaint.elapsed())));
}

void RepaintLimiter::flush()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    release();
}

void RepaintLimiter::release()
{
    if (!m_widget)
        return;
    m_lastPaint.start();
    m_widget->setUpdatesEnabled(true); // repaints the widget whole
    emit released();
}
