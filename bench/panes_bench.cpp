// How fast the main window's panes show large folders. Run by bench/panes.
//
//   panes_bench --port P [--runs N] [--rows-dir DIR]
//
// server_20000: the server folder "list20000" (20,000 entries) listed into the
//   server pane and painted, from the LIST to the painted rows (best of N).
// local_20000: a local folder of 20,000 files read into the local pane and
//   painted (best of N), then the same folder re-read 100 times with the
//   process's resident and peak memory before and after.
// scroll_100000: 100,000 rows in a pane, scrolled page by page to the end with
//   every page painted: the slowest and the average page.

#include "platform/TimeZone.h"
#include "mainwindow/frmconc.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "sites/frmManager.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

namespace {

long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

double seconds(QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e9;
}

// The window works in the background: runs its event loop until the server
// pane's connection has answered everything.
void settle(frmconc &window)
{
    while (bConnecting || window.mFTP->isBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool connectTo(frmconc &window, quint16 port)
{
    frmManager *m = window.manager();
    m->TxtServer->setText(QStringLiteral("127.0.0.1"));
    m->TxtPort->setText(QString::number(port));
    m->TxtUser->setText(QStringLiteral("anonymous"));
    m->txtPass->setText(QStringLiteral("bench@"));
    lConnectMode = 0x08000000; // passive
    window.premier_Connect(true);
    settle(window);
    return bConnected;
}

void benchServer(frmconc &window, int runs)
{
    window.mFTP->SetFTPDirectory(QStringLiteral("list20000"));
    settle(window);
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        window.RefreshDirectoryListing();
        settle(window);
        window.listviewServer->viewport()->repaint();
        best = qMin(best, seconds(clock));
    }
    double listing = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        bool listed = false;
        window.mFTP->GetDirectoryListing(QStringLiteral("*.*"), [&](const ftp::Result &) { listed = true; });
        while (!listed)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        listing = qMin(listing, seconds(clock));
    }
    std::printf("server_20000 seconds=%.3f rows=%d (of which the session's listing alone: %.3f)\n", best,
                window.serverModel()->count(), listing);
}

void benchLocal(frmconc &window, const QString &folder, int runs)
{
    QDir dir(folder);
    dir.mkpath(QStringLiteral("."));
    if (dir.entryList(QDir::Files).size() != 20000) {
        for (int i = 0; i < 20000; ++i) {
            QFile f(dir.filePath(QStringLiteral("file_%1.%2").arg(i, 5, 10, QLatin1Char('0'))
                                     .arg(QStringList{"txt", "pdf", "png", "dat", "cpp"}[i % 5])));
            f.open(QIODevice::WriteOnly);
        }
    }
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        window.setLocalFolder(QDir::rootPath());
        QElapsedTimer clock;
        clock.start();
        window.setLocalFolder(folder);
        window.lvLocal->viewport()->repaint();
        best = qMin(best, seconds(clock));
    }
    std::printf("local_20000 seconds=%.3f rows=%d\n", best, window.localModel()->count());

    // A few re-reads first: the allocator settles on its pages.
    for (int i = 0; i < 5; ++i)
        window.RefreshLocalDir();
    const long rssBefore = statusKiB("VmRSS:"), peakBefore = statusKiB("VmHWM:");
    for (int i = 0; i < 100; ++i) {
        window.RefreshLocalDir();
        window.lvLocal->viewport()->repaint();
    }
    std::printf("local_reread_100 rss_before=%ldKiB rss_after=%ldKiB peak_before=%ldKiB peak_after=%ldKiB pictures=%d\n",
                rssBefore, statusKiB("VmRSS:"), peakBefore, statusKiB("VmHWM:"), window.localModel()->iconCount());
}

void benchScroll(frmconc &window)
{
    std::vector<PaneRow> rows(100000);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].name = QStringLiteral("row_%1.txt").arg(i, 6, 10, QLatin1Char('0'));
        rows[i].size = qint64(i) * 37;
        rows[i].date = 45000.5 + double(i % 1000);
        rows[i].typeText = QStringLiteral(".txt");
    }
    window.localModel()->setRows(std::move(rows));
    QScrollBar *bar = window.lvLocal->verticalScrollBar();
    window.lvLocal->viewport()->repaint();
    double slowest = 0, total = 0;
    int pages = 0;
    while (bar->value() < bar->maximum()) {
        QElapsedTimer clock;
        clock.start();
        bar->setValue(bar->value() + bar->pageStep());
        window.lvLocal->viewport()->repaint();
        const double t = seconds(clock);
        slowest = qMax(slowest, t);
        total += t;
        ++pages;
    }
    std::printf("scroll_100000 pages=%d average_ms=%.2f slowest_ms=%.2f\n", pages, total * 1000 / qMax(1, pages),
                slowest * 1000);
}

} // namespace

int main(int argc, char **argv)
{
    platform::pinLocalTimeZone(); // as both programs do at start
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("port"), QStringLiteral("FTP port"), QStringLiteral("port")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("runs"), QStringLiteral("n"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("rows-dir"), QStringLiteral("local folder of 20,000 files"), QStringLiteral("dir")});
    parser.process(app);
    const int runs = parser.value(QStringLiteral("runs")).toInt();

    QTemporaryDir programDir;
    platform::setProgramDirectory(programDir.path());
    resetSessionState();
    frmconc window;
    window.resize(1280, 900);
    window.show();
    QApplication::processEvents();

    if (parser.isSet(QStringLiteral("port"))) {
        if (!connectTo(window, quint16(parser.value(QStringLiteral("port")).toUInt()))) {
            std::fprintf(stderr, "cannot connect\n");
            return 1;
        }
        benchServer(window, runs);
    }
    const QString rowsDir = parser.isSet(QStringLiteral("rows-dir")) ? parser.value(QStringLiteral("rows-dir"))
                                                                     : programDir.filePath(QStringLiteral("rows"));
    benchLocal(window, rowsDir, runs);
    benchScroll(window);
    return 0;
}
