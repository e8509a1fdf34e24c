#include "mainwindow/WindowLayout.h"

#include <algorithm>

namespace {
void clamp(QRectF &r)
{
    r.setWidth(std::max(0.0, r.width()));
    r.setHeight(std::max(0.0, r.height()));
}

void clampAll(WindowLayout &l)
{
    for (QRectF *r : {&l.Frame16, &l.RTBHeader, &l.picResizeHaut, &l.FrameLocal, &l.txtLocalPath,
                      &l.cmdUpLocal, &l.cmdBrowseLocal, &l.lvLocal, &l.Toolbar2, &l.FrameResizeLocServ, &l.picResizeLocServ,
                      &l.cmdCompare, &l.fraServer, &l.TxtRemotePath, &l.cmdUpServerPath, &l.Toolbar1, &l.listviewServer,
                      &l.ListView3, &l.picResizeBas, &l.StatusBar1})
        clamp(*r);
}
} // namespace

void WindowLayoutRules::placeLocalInside(WindowLayout &l) const
{
    const LayoutDesign &d = m_design;
    const double frameWidth = l.FrameLocal.width();
    l.txtLocalPath = QRectF(d.pathLeft, d.pathTop, frameWidth - 1375 - d.upButtonWidth, d.pathHeight);
    l.cmdUpLocal = QRectF(l.txtLocalPath.left() + l.txtLocalPath.width(), d.pathTop, d.upButtonWidth, d.pathHeight);
    l.cmdBrowseLocal = QRectF(l.cmdUpLocal.left() + d.upButtonWidth, d.pathTop, d.browseButtonWidth, d.pathHeight);
    l.lvLocal.setRect(d.listLeft, d.listTop, frameWidth - 985, l.lvLocal.height());
    l.Toolbar2 = QRectF(l.lvLocal.width() + 140, d.paneToolbarTop, d.paneToolbarWidth, l.lvLocal.height());
}

void WindowLayoutRules::placeServerInside(WindowLayout &l) const
{
    const LayoutDesign &d = m_design;
    l.listviewServer.setRect(d.serverListLeft, d.listTop, l.fraServer.width() - 660, l.listviewServer.height());
    l.TxtRemotePath = QRectF(l.listviewServer.left(), d.pathTop,
                             l.listviewServer.width() - d.upButtonWidth - 10, d.pathHeight);
    l.cmdUpServerPath = QRectF(l.TxtRemotePath.left() + l.TxtRemotePath.width(), d.pathTop, d.upButtonWidth,
                               d.pathHeight);
    l.Toolbar1 = QRectF(d.serverToolbarLeft, d.paneToolbarTop, d.paneToolbarWidth, l.listviewServer.height());
}

// The splitter frame between the panes follows the local pane's tool bar; the
// compare button sits at its foot, `compareOffset` twips to its left.
void WindowLayoutRules::placeSplitterFrame(WindowLayout &l, double compareOffset) const
{
    l.FrameResizeLocServ = QRectF(l.FrameLocal.left() + l.Toolbar2.left() + l.Toolbar2.width() + 280,
                                  l.FrameLocal.top() + 950, m_design.splitterFrameWidth,
                                  l.FrameLocal.height() - 1370);
    l.picResizeLocServ = QRectF(0, 0, m_design.splitterFrameWidth, l.FrameResizeLocServ.height());
    l.cmdCompare = QRectF(l.FrameResizeLocServ.left() - compareOffset,
                          l.FrameResizeLocServ.top() + l.FrameResizeLocServ.height() - 320,
                          m_design.compareButtonWidth, m_design.compareButtonHeight);
}

WindowLayout WindowLayoutRules::compute(double W, double H) const
{
    const LayoutDesign &d = m_design;
    WindowLayout l;
    l.Frame16 = QRectF(0, 0, W, H);
    l.RTBHeader = QRectF(d.logLeft, d.logTop, W - 350, H * 17 / 100 - 120);
    l.picResizeHaut = QRectF(d.logLeft, l.RTBHeader.top() + l.RTBHeader.height(), l.RTBHeader.width(),
                             d.splitterThickness);
    l.FrameLocal = QRectF(d.frameLocalLeft, l.picResizeHaut.top() + 120, l.RTBHeader.width() / 2, H / 2 + 680);
    l.lvLocal.setHeight(l.FrameLocal.height() - 490);
    placeLocalInside(l);
    placeSplitterFrame(l, 420);
    l.fraServer = QRectF(l.FrameResizeLocServ.left() + 150, l.picResizeHaut.top() + 120,
                         l.RTBHeader.width() / 2 + 160, l.FrameLocal.height());
    l.listviewServer.setHeight(l.fraServer.height() - 490);
    placeServerInside(l);
    l.ListView3 = QRectF(d.logLeft, l.FrameLocal.top() + l.FrameLocal.height(), l.RTBHeader.width(),
                         H - (l.RTBHeader.height() + l.FrameLocal.height() + 1360));
    l.picResizeBas = QRectF(d.logLeft, l.FrameLocal.top() + l.FrameLocal.height() - 70, l.RTBHeader.width(),
                            d.splitterThickness);
    l.StatusBar1 = QRectF(0, l.ListView3.top() + l.ListView3.height() + 120, W - 120, d.statusBarHeight);
    clampAll(l);
    return l;
}

bool WindowLayoutRules::moveTopSplitter(WindowLayout &l, int button, double d) const
{
    if (button != 1)
        return false;
    l.RTBHeader.setHeight(l.RTBHeader.height() + d);
    l.picResizeHaut.moveTop(l.RTBHeader.top() + l.RTBHeader.height());
    l.FrameLocal.setTop(l.FrameLocal.top() + d); // the bottom edge stays
    l.lvLocal.setHeight(l.lvLocal.height() - d);
    l.fraServer.setTop(l.fraServer.top() + d);
    l.listviewServer.setHeight(l.listviewServer.height() - d);
    l.Toolbar2.setHeight(l.lvLocal.height());
    l.Toolbar1.setHeight(l.listviewServer.height());
    placeSplitterFrame(l, 420);
    clampAll(l);
    return true;
}

bool WindowLayoutRules::moveBottomSplitter(WindowLayout &l, int button, double d) const
{
    if (button != 1)
        return false;
    l.ListView3.moveTop(l.ListView3.top() + d);
    l.ListView3.setHeight(l.Frame16.height() - (l.RTBHeader.height() + l.FrameLocal.height() + 1640) - d);
    l.picResizeBas.moveTop(l.ListView3.top() - 60);
    l.fraServer.setHeight(l.fraServer.height() + d);
    l.listviewServer.setHeight(l.fraServer.height() - l.listviewServer.top() - 120);
    l.FrameLocal.setHeight(l.FrameLocal.height() + d);
    l.lvLocal.setHeight(l.listviewServer.height());
    l.Toolbar2.setHeight(l.lvLocal.height());
    l.Toolbar1.setHeight(l.listviewServer.height());
    placeSplitterFrame(l, 420);
    clampAll(l);
    return true;
}

bool WindowLayoutRules::moveMiddleSplitter(WindowLayout &l, int button, double x) const
{
    // Releases near the bar are clicks, not drags.
    if (button != 1 || (x > -200 && x < 200))
        return false;
    l.FrameLocal.setWidth(l.FrameLocal.width() + x);
    placeLocalInside(l);
    placeSplitterFrame(l, 400);
    l.fraServer.setLeft(l.fraServer.left() + x); // the right edge stays
    placeServerInside(l);
    clampAll(l);
    return true;
}

void WindowLayoutRules::fitBottom(WindowLayout &l, double clientHeight)
{
    const double overflow = l.StatusBar1.bottom() - clientHeight;
    if (overflow <= 0)
        return;
    l.StatusBar1.moveTop(l.StatusBar1.top() - overflow);
    l.ListView3.setHeight(std::max(0.0, l.ListView3.height() - overflow));
}
