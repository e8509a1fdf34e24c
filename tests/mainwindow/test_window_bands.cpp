// The main window's bands as the window lays them out: every band where the
// twips computation puts it for the window's size, the three splitter bars
// (left button only, the dead zone of the one between the panes), and a
// resize putting every band back.
#include "MainWindowFixture.h"
#include "mainwindow/SplitterBar.h"

#include <QStatusBar>

#include <cmath>

namespace {

// Every control the layout places, with its rectangle in the band area.
struct Placed {
    QWidget *widget;
    QRectF twips;
};

QList<Placed> placed(const frmconc &w, const WindowLayout &l)
{
    const QPointF local = l.FrameLocal.topLeft();
    const QPointF server = l.fraServer.topLeft();
    return {
        {w.RTBHeader, l.RTBHeader},
        {w.picResizeHaut, l.picResizeHaut},
        {w.FrameLocal, l.FrameLocal},
        {w.txtLocalPath, l.txtLocalPath.translated(local)},
        {w.cmdUpLocal, l.cmdUpLocal.translated(local)},
        {w.cmdBrowseLocal, l.cmdBrowseLocal.translated(local)},
        {w.lvLocal, l.lvLocal.translated(local)},
        {w.Toolbar2, l.Toolbar2.translated(local)},
        {w.FrameResizeLocServ, l.FrameResizeLocServ},
        {w.picResizeLocServ, l.picResizeLocServ.translated(l.FrameResizeLocServ.topLeft())},
        {w.cmdCompare, l.cmdCompare},
        {w.fraServer, l.fraServer},
        {w.TxtRemotePath, l.TxtRemotePath.translated(server)},
        {w.cmdUpServerPath, l.cmdUpServerPath.translated(server)},
        {w.Toolbar1, l.Toolbar1.translated(server)},
        {w.listviewServer, l.listviewServer.translated(server)},
        {w.picResizeBas, l.picResizeBas},
        {w.ListView3, l.ListView3},
        {w.StatusBar1, l.StatusBar1},
    };
}

class Bands : public MainWindowTest {
protected:
    frmconc &shownAt(int width, int height)
    {
        frmconc &w = startWindow();
        w.setWindowState(Qt::WindowNoState);
        w.resize(width, height);
        QApplication::processEvents();
        return w;
    }

    // Twips to whole pixels, as the window rounds them.
    int px(double twips) const { return int(std::lround(twipsToPixels(twips, window->logicalDpiX()))); }
    int py(double twips) const { return int(std::lround(twipsToPixels(twips, window->logicalDpiY()))); }
    QRect pixels(const QRectF &t) const
    {
        return QRect(QPoint(px(t.left()), py(t.top())), QPoint(px(t.right()) - 1, py(t.bottom()) - 1));
    }
    // The layout the window should have now, from its outer size.
    WindowLayout expected() const
    {
        const QRect outer = window->frameGeometry();
        return window->layoutRules().compute(pixelsToTwips(outer.width(), window->logicalDpiX()),
                                              pixelsToTwips(outer.height(), window->logicalDpiY()));
    }
    // Where a widget is in the band area.
    QRect inBands(QWidget *widget) const
    {
        return QRect(widget->mapTo(window->Frame16, QPoint(0, 0)), widget->size());
    }

    // Where every control is now, in the band area.
    QList<QRect> geometries() const
    {
        QList<QRect> out;
        for (const Placed &p : placed(*window, window->currentLayout()))
            out << inBands(p.widget);
        return out;
    }
    void expectPlacedAt(const WindowLayout &l) const
    {
        for (const Placed &p : placed(*window, l))
            EXPECT_EQ(inBands(p.widget), pixels(p.twips)) << p.widget->objectName().toStdString();
    }

    static void release(SplitterBar *bar, Qt::MouseButton button, QPoint from, QPoint to)
    {
        QTest::mousePress(bar, button, Qt::NoModifier, from);
        QTest::mouseMove(bar, to);
        QTest::mouseRelease(bar, button, Qt::NoModifier, to);
    }
};

TEST_F(Bands, TheStartAndEveryResizeLayEveryBandOutFromTheWindowsOuterSize)
{
    frmconc &w = startWindow();
    QApplication::processEvents();
    ASSERT_TRUE(w.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(w.currentLayout().RTBHeader, expected().RTBHeader);
    w.setWindowState(Qt::WindowNoState);
    for (const QSize size : {QSize(1024, 768), QSize(1280, 800), QSize(900, 700), QSize(1024, 768)}) {
        SCOPED_TRACE(size.width());
        w.resize(size);
        QApplication::processEvents();
        WindowLayout l = expected();
        WindowLayoutRules::fitBottom(l, pixelsToTwips(w.Frame16->height(), w.logicalDpiY()));
        EXPECT_EQ(w.currentLayout().RTBHeader, l.RTBHeader);
        expectPlacedAt(l);
        // Whatever room the window's frame takes, every band stays inside.
        EXPECT_LE(inBands(w.listviewServer).right(), w.Frame16->width());
        EXPECT_LE(inBands(w.StatusBar1).bottom(), w.Frame16->height() - 1);
        EXPECT_LT(inBands(w.ListView3).bottom(), inBands(w.StatusBar1).top());
    }
}

TEST_F(Bands, BarsShowTheSizingPointerAndOnlyALeftButtonReleaseMovesThem)
{
    frmconc &w = shownAt(1024, 768);
    EXPECT_EQ(w.picResizeHaut->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(w.picResizeBas->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(w.picResizeLocServ->cursor().shape(), Qt::SizeHorCursor);
    const QList<QRect> before = geometries();
    release(w.picResizeHaut, Qt::RightButton, {5, 2}, {5, 60});
    release(w.picResizeBas, Qt::RightButton, {5, 2}, {5, -60});
    release(w.picResizeLocServ, Qt::RightButton, {2, 5}, {90, 5});
    release(w.picResizeLocServ, Qt::MiddleButton, {2, 5}, {90, 5});
    EXPECT_EQ(geometries(), before);
    // Between the panes, a release within 200 twips of the bar is a click.
    release(w.picResizeLocServ, Qt::LeftButton, {2, 5}, {px(195), 5});
    release(w.picResizeLocServ, Qt::LeftButton, {2, 5}, {-px(195), 5});
    EXPECT_EQ(geometries(), before);
}

TEST_F(Bands, LeftReleasesMoveTheBandsAsTheRulesSayUntilTheNextResize)
{
    frmconc &w = shownAt(1024, 768);
    const QList<QRect> computed = geometries();
    WindowLayout l = w.currentLayout();
    // Each move gives the rules' layout for the distance dragged (their own
    // suite checks what that layout is), and every control follows it.
    release(w.picResizeHaut, Qt::LeftButton, {5, 2}, {5, 32});
    ASSERT_TRUE(w.layoutRules().moveTopSplitter(l, 1, pixelsToTwips(32, w.logicalDpiY())));
    EXPECT_EQ(w.currentLayout().RTBHeader, l.RTBHeader);
    expectPlacedAt(l);
    release(w.picResizeBas, Qt::LeftButton, {5, 2}, {5, -40});
    ASSERT_TRUE(w.layoutRules().moveBottomSplitter(l, 1, pixelsToTwips(-40, w.logicalDpiY())));
    EXPECT_EQ(w.currentLayout().ListView3, l.ListView3);
    expectPlacedAt(l);
    release(w.picResizeLocServ, Qt::LeftButton, {2, 5}, {-60, 5});
    ASSERT_TRUE(w.layoutRules().moveMiddleSplitter(l, 1, pixelsToTwips(-60, w.logicalDpiX())));
    EXPECT_EQ(w.currentLayout().FrameLocal, l.FrameLocal);
    expectPlacedAt(l);

    // A resize puts every band back.
    w.resize(1000, 760);
    w.resize(1024, 768);
    QApplication::processEvents();
    EXPECT_EQ(geometries(), computed);
}

TEST_F(Bands, TheWaitPanelStraddlesTheBarAboveTheQueue)
{
    frmconc &w = shownAt(1024, 768);
    w.ShowQueueWait(true);
    ASSERT_TRUE(w.picLineAttente->isVisible());
    const QRect panel = w.picLineAttente->geometry();
    EXPECT_NEAR(panel.center().x(), px(w.currentLayout().FrameResizeLocServ.left()), 1);
    EXPECT_EQ(panel.top(), py(w.currentLayout().ListView3.top() - 620));
    w.ShowQueueWait(false);
    EXPECT_FALSE(w.picLineAttente->isVisible());
}

// Before start-up has finished the window keeps to its normal size.
TEST_F(Bands, BeforeStartUpEndsAResizeIsUndone)
{
    window = std::make_unique<frmconc>();
    frmconc &w = *window;
    ASSERT_FALSE(bLoaded);
    w.setWindowState(Qt::WindowMaximized);
    w.show();
    QApplication::processEvents();
    EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);

    // Nothing saved yet: a resize stays. A press on the window's surface
    // saves its size, and the next resize goes back to it.
    w.resize(700, 500);
    EXPECT_EQ(w.size(), QSize(700, 500));
    QTest::mousePress(w.Frame16, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QTest::mouseRelease(w.Frame16, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    w.resize(900, 650);
    EXPECT_EQ(w.size(), QSize(700, 500));
}

} // namespace
