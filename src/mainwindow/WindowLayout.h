#pragma once
// The main window's bands, computed in twips (1/1440 inch) from the window's
// outer size: the log on top, the local and server panes side by side with the
// splitter and the compare button between them, the queue, the status bar.
// Three splitter bars move the bands until the next resize. Pure arithmetic,
// so the rules can be checked without a window.

#include <QRectF>

struct WindowLayout {
    // Positions of the window's own controls are in the window's client
    // coordinates; those of a pane's inner controls are relative to the pane.
    QRectF Frame16;
    QRectF RTBHeader;
    QRectF picResizeHaut;
    QRectF FrameLocal;
    QRectF txtLocalPath, cmdUpLocal, cmdBrowseLocal, lvLocal, Toolbar2; // inside FrameLocal
    QRectF FrameResizeLocServ;
    QRectF picResizeLocServ;                              // inside FrameResizeLocServ
    QRectF cmdCompare;
    QRectF fraServer;
    QRectF TxtRemotePath, cmdUpServerPath, Toolbar1, listviewServer; // inside fraServer
    QRectF ListView3;
    QRectF picResizeBas;
    QRectF StatusBar1;
};

// Where the designer put what the layout never moves, and the sizes it keeps.
// The panes' own left edges make the local list start where the log starts
// and the server list end where the log ends; the controls of a pane's top
// row and its list stay clear of the splitter bars above and below.
struct LayoutDesign {
    double logLeft = 60, logTop = 60;
    double splitterThickness = 70;   // picResizeHaut, picResizeBas
    double frameLocalLeft = 0;
    double pathTop = 45, pathHeight = 330, pathLeft = 60;
    double upButtonWidth = 375, browseButtonWidth = 375;
    double listTop = 405, listLeft = 60;
    double paneToolbarWidth = 450, paneToolbarTop = 405;
    double splitterFrameWidth = 150;
    double compareButtonWidth = 420, compareButtonHeight = 420;
    double statusBarHeight = 300;
    double serverToolbarLeft = 45;
    double serverListLeft = 525;     // also the left edge of the remote path box
};

class WindowLayoutRules {
public:
    explicit WindowLayoutRules(const LayoutDesign &design = LayoutDesign()) : m_design(design) {}

    // The layout for a window of outer size W x H twips. Sizes the formulas
    // make negative (a very small window) are clamped to 0.
    WindowLayout compute(double W, double H) const;

    // The splitters, released with mouse button `button` (1 = left) at `d`
    // twips from where they were grabbed (Y for the horizontal ones, X for the
    // vertical one). They change nothing for another button; the vertical one
    // also ignores a release within 200 twips of its bar.
    bool moveTopSplitter(WindowLayout &layout, int button, double d) const;
    bool moveBottomSplitter(WindowLayout &layout, int button, double d) const;
    bool moveMiddleSplitter(WindowLayout &layout, int button, double x) const;

    const LayoutDesign &design() const { return m_design; }

    // A window whose frame and docked tool bar take more room than the design
    // allows for leaves less than the layout's height for the bands: the
    // status bar is moved up to end at `clientHeight` and the queue gives up
    // that much height (never below 0). Nothing changes when all fits.
    static void fitBottom(WindowLayout &layout, double clientHeight);

private:
    void placeLocalInside(WindowLayout &l) const;
    void placeServerInside(WindowLayout &l) const;
    void placeSplitterFrame(WindowLayout &l, double compareOffset) const;

    LayoutDesign m_design;
};

// Twips to pixels at a logical DPI (1440 twips per inch).
inline double twipsToPixels(double twips, double dpi) { return twips * dpi / 1440.0; }
inline double pixelsToTwips(double pixels, double dpi) { return pixels * 1440.0 / dpi; }
