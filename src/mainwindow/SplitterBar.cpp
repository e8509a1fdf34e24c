#include "mainwindow/SplitterBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QStyleOption>

SplitterBar::SplitterBar(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent), m_orientation(orientation)
{
    setCursor(orientation == Qt::Horizontal ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    setAttribute(Qt::WA_Hover);
}

void SplitterBar::paintEvent(QPaintEvent *)
{
    // The style's own splitter handle, so the bar looks like one.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    // The style names a handle by the splitter's orientation: a horizontal
    // splitter has a standing handle.
    if (m_orientation == Qt::Vertical)
        option.state |= QStyle::State_Horizontal;
    style()->drawControl(QStyle::CE_Splitter, &option, &painter, this);
}

void SplitterBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        showGhost(event->position().toPoint());
    event->accept();
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_ghost && (event->buttons() & Qt::LeftButton))
        showGhost(event->position().toPoint());
    event->accept();
}

void SplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_ghost && !(event->buttons() & Qt::LeftButton))
        m_ghost->hide();
    event->accept();
    emit released(event->button(), event->position().toPoint());
}

void SplitterBar::showGhost(const QPoint &pos)
{
    QWidget *host = m_ghostArea ? m_ghostArea : parentWidget();
    if (!host)
        return;
    if (!m_ghost)
        m_ghost = new QRubberBand(QRubberBand::Line, host);
    const QPoint origin = mapTo(host, QPoint(0, 0));
    const QRect line = m_orientation == Qt::Horizontal
                           ? QRect(origin.x(), origin.y() + pos.y(), width(), height())
                           : QRect(origin.x() + pos.x(), origin.y(), width(), height());
    m_ghost->setGeometry(line);
    m_ghost->show();
    m_ghost->raise();
}
