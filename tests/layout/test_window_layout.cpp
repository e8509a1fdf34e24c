// The main window's band arithmetic and its three splitters.
#include "mainwindow/WindowLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr double kTwipsPerPixel = 15; // 96 DPI

class Layout : public ::testing::TestWithParam<QSizeF> {
protected:
    WindowLayoutRules rules;
    double W() const { return GetParam().width() * kTwipsPerPixel; }
    double H() const { return GetParam().height() * kTwipsPerPixel; }
};

TEST_P(Layout, BandsFollowTheWindowSize)
{
    const WindowLayout l = rules.compute(W(), H());
    EXPECT_DOUBLE_EQ(l.RTBHeader.width(), W() - 350);
    EXPECT_DOUBLE_EQ(l.RTBHeader.height(), H() * 17 / 100 - 120);
    EXPECT_DOUBLE_EQ(l.picResizeHaut.top(), l.RTBHeader.bottom());
    EXPECT_DOUBLE_EQ(l.FrameLocal.top(), l.picResizeHaut.top() + 120);
    EXPECT_DOUBLE_EQ(l.FrameLocal.height(), H() / 2 + 680);
    EXPECT_DOUBLE_EQ(l.FrameLocal.width(), l.RTBHeader.width() / 2);
    EXPECT_DOUBLE_EQ(l.fraServer.height(), l.FrameLocal.height());
    EXPECT_DOUBLE_EQ(l.fraServer.left(), l.FrameResizeLocServ.left() + 150);
    EXPECT_DOUBLE_EQ(l.ListView3.top(), l.FrameLocal.bottom());
    EXPECT_DOUBLE_EQ(l.ListView3.height(), H() - (l.RTBHeader.height() + l.FrameLocal.height() + 1360));
    EXPECT_DOUBLE_EQ(l.StatusBar1.top(), l.ListView3.bottom() + 120);
    EXPECT_DOUBLE_EQ(l.cmdCompare.left(), l.FrameResizeLocServ.left() - 420);
    // Nothing overlaps: the local pane's tool bar ends before the server pane
    // starts, and the server pane ends inside the window.
    EXPECT_LT(l.FrameLocal.left() + l.Toolbar2.right(), l.fraServer.left());
    EXPECT_LE(l.fraServer.right(), W());
    EXPECT_GT(l.ListView3.height(), 0);
    EXPECT_LE(l.listviewServer.right(), l.fraServer.width());
    EXPECT_LE(l.lvLocal.right(), l.Toolbar2.left());
    // The path row: box, up and browse buttons end where the list does; the
    // server pane's tool bar stands left of its list, as tall as it.
    EXPECT_DOUBLE_EQ(l.cmdBrowseLocal.left(), l.cmdUpLocal.right());
    EXPECT_NEAR(l.cmdBrowseLocal.right(), l.lvLocal.right(), 20);
    EXPECT_LT(l.Toolbar1.right(), l.listviewServer.left());
    EXPECT_DOUBLE_EQ(l.Toolbar1.height(), l.listviewServer.height());
    EXPECT_DOUBLE_EQ(l.TxtRemotePath.left(), l.listviewServer.left());
    // The lists start and end where the log does.
    EXPECT_DOUBLE_EQ(l.FrameLocal.left() + l.lvLocal.left(), l.RTBHeader.left());
    EXPECT_DOUBLE_EQ(l.fraServer.left() + l.listviewServer.right(), l.RTBHeader.right());
    // The lists end above the bar below them, which ends where the queue starts.
    EXPECT_LE(l.FrameLocal.top() + l.lvLocal.bottom(), l.picResizeBas.top());
    EXPECT_LE(l.picResizeBas.bottom(), l.ListView3.top());
    EXPECT_LE(l.picResizeHaut.bottom(), l.FrameLocal.top());
}

TEST_P(Layout, LeftButtonDragsMoveBandsUntilTheNextResize)
{
    const WindowLayout computed = rules.compute(W(), H());
    WindowLayout l = computed;
    // Other buttons, and a drag of the middle bar under 200 twips, move nothing.
    EXPECT_FALSE(rules.moveTopSplitter(l, 2, 300));
    EXPECT_FALSE(rules.moveBottomSplitter(l, 2, 300));
    EXPECT_FALSE(rules.moveMiddleSplitter(l, 2, 900));
    EXPECT_FALSE(rules.moveMiddleSplitter(l, 1, 199));
    EXPECT_FALSE(rules.moveMiddleSplitter(l, 1, -199));
    EXPECT_EQ(l.FrameLocal, computed.FrameLocal);
    EXPECT_EQ(l.RTBHeader, computed.RTBHeader);
    EXPECT_EQ(l.ListView3, computed.ListView3);

    ASSERT_TRUE(rules.moveTopSplitter(l, 1, 300));
    EXPECT_DOUBLE_EQ(l.RTBHeader.height(), computed.RTBHeader.height() + 300);
    EXPECT_DOUBLE_EQ(l.FrameLocal.top(), computed.FrameLocal.top() + 300);
    EXPECT_DOUBLE_EQ(l.FrameLocal.bottom(), computed.FrameLocal.bottom());
    EXPECT_DOUBLE_EQ(l.lvLocal.height(), computed.lvLocal.height() - 300);
    EXPECT_DOUBLE_EQ(l.cmdCompare.left(), l.FrameResizeLocServ.left() - 420);

    EXPECT_DOUBLE_EQ(l.Toolbar1.height(), l.listviewServer.height());

    ASSERT_TRUE(rules.moveBottomSplitter(l, 1, -450));
    EXPECT_DOUBLE_EQ(l.Toolbar1.height(), l.listviewServer.height());
    EXPECT_DOUBLE_EQ(l.ListView3.top(), computed.ListView3.top() - 450);
    EXPECT_DOUBLE_EQ(l.picResizeBas.top(), l.ListView3.top() - 60);
    EXPECT_DOUBLE_EQ(l.lvLocal.height(), l.listviewServer.height());
    EXPECT_DOUBLE_EQ(l.cmdCompare.left(), l.FrameResizeLocServ.left() - 420);

    ASSERT_TRUE(rules.moveMiddleSplitter(l, 1, 600));
    EXPECT_DOUBLE_EQ(l.FrameLocal.width(), computed.FrameLocal.width() + 600);
    EXPECT_DOUBLE_EQ(l.fraServer.left(), computed.fraServer.left() + 600);
    EXPECT_DOUBLE_EQ(l.fraServer.right(), computed.fraServer.right());
    EXPECT_DOUBLE_EQ(l.cmdCompare.left(), l.FrameResizeLocServ.left() - 400);
    WindowLayout back = computed;
    EXPECT_TRUE(rules.moveMiddleSplitter(back, 1, -200));

    // A resize computes every band afresh.
    const WindowLayout again = rules.compute(W(), H());
    EXPECT_EQ(again.FrameLocal, computed.FrameLocal);
    EXPECT_EQ(again.cmdCompare, computed.cmdCompare);
}

INSTANTIATE_TEST_SUITE_P(Screens, Layout, ::testing::Values(QSizeF(1024, 768), QSizeF(1920, 1080), QSizeF(1280, 800)));

TEST(LayoutTiny, NegativeSizesAreClampedToZeroAndUnitsConvert)
{
    const WindowLayout l = WindowLayoutRules().compute(300, 200);
    for (const QRectF &r : {l.RTBHeader, l.FrameLocal, l.lvLocal, l.txtLocalPath, l.fraServer, l.listviewServer,
                            l.TxtRemotePath, l.ListView3, l.FrameResizeLocServ, l.StatusBar1}) {
        EXPECT_GE(r.width(), 0);
        EXPECT_GE(r.height(), 0);
    }
    EXPECT_DOUBLE_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_DOUBLE_EQ(pixelsToTwips(96, 96), 1440);
    EXPECT_DOUBLE_EQ(twipsToPixels(15, 96), 1);
}

TEST(LayoutFit, ATallerFrameMovesTheStatusBarUpAndShortensTheQueue)
{
    const WindowLayout computed = WindowLayoutRules().compute(15360, 11520);
    WindowLayout l = computed;
    WindowLayoutRules::fitBottom(l, computed.StatusBar1.bottom() + 30); // room to spare
    EXPECT_EQ(l.StatusBar1, computed.StatusBar1);
    EXPECT_EQ(l.ListView3, computed.ListView3);

    WindowLayoutRules::fitBottom(l, computed.StatusBar1.bottom() - 150);
    EXPECT_DOUBLE_EQ(l.StatusBar1.bottom(), computed.StatusBar1.bottom() - 150);
    EXPECT_DOUBLE_EQ(l.StatusBar1.height(), computed.StatusBar1.height());
    EXPECT_DOUBLE_EQ(l.ListView3.top(), computed.ListView3.top());
    EXPECT_DOUBLE_EQ(l.ListView3.height(), computed.ListView3.height() - 150);
    EXPECT_EQ(l.FrameLocal, computed.FrameLocal);

    WindowLayoutRules::fitBottom(l, 100); // far too small: the queue goes, never below 0
    EXPECT_DOUBLE_EQ(l.ListView3.height(), 0);
}

} // namespace
