// Where the main window's bands go: computed in twips from the window's outer
// size at every resize (WindowLayout), moved by the three splitter bars until
// the next resize, and turned into pixels by the screen's logical resolution.
#include "mainwindow/frmconc.h"

#include "mainwindow/SplitterBar.h"
#include "session/SessionState.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <cmath>

namespace {

// The mouse buttons as the splitter rules number them.
int designButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

constexpr double QueueWaitLift = 620; // the wait panel's top above the queue's, in twips

} // namespace

void frmconc::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmconc::mousePressEvent(QMouseEvent *event)
{
    // Form_MouseDown: the size to go back to while start-up runs.
    m_savedSize = size();
    QMainWindow::mousePressEvent(event);
}

void frmconc::Form_Resize()
{
    // Changing the size below reports a resize again.
    if (m_inResize)
        return;
    const QScopedValueRollback<bool> guard(m_inResize, true);
    if (!bLoaded) {
        // Qt reports the start-up's maximising only once the window shows,
        // after bLoaded: the window starts maximised.
        if (windowState() & Qt::WindowMaximized)
            setWindowState(windowState() & ~Qt::WindowMaximized);
        else if (!m_savedSize.isEmpty()) // nothing saved yet: no size to go back to
            resize(m_savedSize);
        return;
    }
    if (bInLoad)
        return;
    layoutBands(); // the queue's progress bar included
}

void frmconc::layoutBands()
{
    const QRect outer = frameGeometry();
    m_layout = m_layoutRules.compute(pixelsToTwipsX(outer.width()), pixelsToTwipsY(outer.height()));
    // A frame and a tool bar taller than the design allows for would push
    // the status bar out of the window.
    const int bandArea = height() - (Frame16->isVisible() ? Frame16->y() : tbToolBar->sizeHint().height());
    WindowLayoutRules::fitBottom(m_layout, pixelsToTwipsY(bandArea));
    applyLayout();
}

double frmconc::pixelsToTwipsX(double pixels) const
{
    return pixelsToTwips(pixels, logicalDpiX());
}

double frmconc::pixelsToTwipsY(double pixels) const
{
    return pixelsToTwips(pixels, logicalDpiY());
}

// Places `widget` on `twips`, a rectangle relative to `origin` (twips in the
// band area). Edges are rounded where they fall in the band area, so that
// bands that touch in twips touch in pixels.
void frmconc::placeIn(QWidget *widget, const QRectF &twips, QPointF origin) const
{
    const auto x = [this](double t) { return int(std::lround(twipsToPixels(t, logicalDpiX()))); };
    const auto y = [this](double t) { return int(std::lround(twipsToPixels(t, logicalDpiY()))); };
    const QRectF absolute = twips.translated(origin);
    const QRect pixels(QPoint(x(absolute.left()), y(absolute.top())),
                       QPoint(x(absolute.right()) - 1, y(absolute.bottom()) - 1));
    widget->setGeometry(pixels.translated(-x(origin.x()), -y(origin.y())));
}

void frmconc::applyLayout()
{
    const WindowLayout &l = m_layout;
    placeIn(RTBHeader, l.RTBHeader);
    placeIn(picResizeHaut, l.picResizeHaut);

    placeIn(FrameLocal, l.FrameLocal);
    const QPointF local = l.FrameLocal.topLeft();
    placeIn(txtLocalPath, l.txtLocalPath, local);
    placeIn(cmdUpLocal, l.cmdUpLocal, local);
    placeIn(cmdBrowseLocal, l.cmdBrowseLocal, local);
    placeIn(lvLocal, l.lvLocal, local);
    placeIn(Toolbar2, l.Toolbar2, local);

    placeIn(FrameResizeLocServ, l.FrameResizeLocServ);
    placeIn(picResizeLocServ, l.picResizeLocServ, l.FrameResizeLocServ.topLeft());
    placeIn(cmdCompare, l.cmdCompare);

    placeIn(fraServer, l.fraServer);
    const QPointF server = l.fraServer.topLeft();
    placeIn(TxtRemotePath, l.TxtRemotePath, server);
    placeIn(cmdUpServerPath, l.cmdUpServerPath, server);
    placeIn(Toolbar1, l.Toolbar1, server);
    placeIn(listviewServer, l.listviewServer, server);

    placeIn(picResizeBas, l.picResizeBas);
    placeIn(ListView3, l.ListView3);
    placeIn(StatusBar1, l.StatusBar1);
    if (picLineAttente->isVisible())
        placeQueueWait();
    // The progress bar lies over a cell of the queue, which may have moved.
    PlaceQueueProgressBar();
}

// The wait panel straddles the splitter between the panes, just above the queue.
void frmconc::placeQueueWait()
{
    picLineAttente->adjustSize();
    const int left = int(std::lround(twipsToPixels(m_layout.FrameResizeLocServ.left(), logicalDpiX())));
    const int top = int(std::lround(twipsToPixels(m_layout.ListView3.top() - QueueWaitLift, logicalDpiY())));
    picLineAttente->move(qMax(0, left - picLineAttente->width() / 2), qMax(0, top));
    picLineAttente->raise();
}

// ---- the splitter bars: each release applies its rule until the next resize

void frmconc::picResizeHaut_MouseUp(Qt::MouseButton Button, const QPoint &pos)
{
    if (m_layoutRules.moveTopSplitter(m_layout, designButton(Button), pixelsToTwipsY(pos.y())))
        applyLayout();
}

void frmconc::picResizeBas_MouseUp(Qt::MouseButton Button, const QPoint &pos)
{
    if (m_layoutRules.moveBottomSplitter(m_layout, designButton(Button), pixelsToTwipsY(pos.y())))
        applyLayout();
}

void frmconc::FrameResizeLocServ_MouseUp(Qt::MouseButton Button, const QPoint &pos)
{
    // The bar stands at the left edge of its frame: its X is the frame's.
    if (m_layoutRules.moveMiddleSplitter(m_layout, designButton(Button), pixelsToTwipsX(pos.x())))
        applyLayout();
}
