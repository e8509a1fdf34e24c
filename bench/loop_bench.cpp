// How long the main window's event loop goes without a turn while the
// window works, the window offscreen, against a local server. Run by
// bench/eventloop.
//
//   loop_bench --port P --case silent [--wait-ms MS]
//   loop_bench --port P --case list --name FOLDER [--runs N]
//   loop_bench --port P --case download|upload --name NAME --local DIR [--remote-dir DIR] [--parallel N]
//
// silent: P is a server that accepts and never greets; the window connects,
//   waits MS (default 2000) and the connection is cancelled as with the
//   status bar's Cancel. list: the server folder FOLDER listed into the
//   server pane, N times. download, upload: NAME (a file or a folder) through
//   the queue as with the panes' buttons (see queue_bench).
// A 1-ms timer on the window's thread notes when each turn of the loop comes;
// the longest time between two of them, from the start of the case to its
// end, is what a click or a repaint would have waited at worst. Prints
// "case max_gap_ms=G turns=T seconds=S" (silent adds cancel_ms, the time from
// Cancel to the window being free of the attempt). With LOOP_TRACE_MS=N every
// gap longer than N ms goes to standard error with the second it ended at.

#include "BenchWindow.h"

#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

namespace {

// Notes the longest time between two ticks of a 1-ms timer.
class LoopGap {
public:
    LoopGap()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        const qint64 traceNs = qEnvironmentVariableIntValue("LOOP_TRACE_MS") * qint64(1000000);
        QObject::connect(&m_timer, &QTimer::timeout, [this, traceNs] {
            const qint64 now = m_clock.nsecsElapsed();
            if (traceNs > 0 && now - m_last > traceNs)
                std::fprintf(stderr, "gap %.1f ms ending at %.3f s\n", double(now - m_last) / 1e6, double(now) / 1e9);
            m_longest = qMax(m_longest, now - m_last);
            m_last = now;
            ++m_turns;
        });
    }
    void start()
    {
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_turns = 0;
        m_timer.start();
    }
    // The longest gap up to now, the last stretch (since the last tick) included.
    double stopMs()
    {
        m_timer.stop();
        m_longest = qMax(m_longest, m_clock.nsecsElapsed() - m_last);
        return double(m_longest) / 1e6;
    }
    qint64 turns() const { return m_turns; }
    double seconds() const { return bench::seconds(m_clock); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    qint64 m_turns = 0;
};

void report(const char *name, LoopGap &gap, const QString &extra = QString())
{
    const double ms = gap.stopMs();
    std::printf("%s max_gap_ms=%.1f turns=%lld seconds=%.3f%s\n", name, ms, gap.turns(), gap.seconds(),
                qPrintable(extra));
}

int silentCase(bench::Window &bench, quint16 port, int waitMs)
{
    LoopGap gap;
    gap.start();
    bench.startConnecting(port);
    bool waited = false;
    QTimer::singleShot(waitMs, [&waited] { waited = true; });
    bench::runUntil([&waited] { return waited || !bConnecting; });
    if (!bConnecting) {
        std::fprintf(stderr, "silent: the attempt ended before Cancel\n");
        return 1;
    }
    QElapsedTimer cancel;
    cancel.start();
    bench.window->cancelConnecting();
    bench::settle(*bench.window);
    const double cancelMs = double(cancel.nsecsElapsed()) / 1e6;
    report("silent_connect", gap, QStringLiteral(" cancel_ms=%1").arg(cancelMs, 0, 'f', 1));
    return bConnected ? 1 : 0;
}

int listCase(bench::Window &bench, const QString &folder, int runs)
{
    frmconc &window = *bench.window;
    window.mFTP->SetFTPDirectory(folder);
    bench::settle(window);
    LoopGap gap;
    gap.start();
    for (int i = 0; i < runs; ++i) {
        window.RefreshDirectoryListing();
        bench::settle(window);
    }
    report("list", gap, QStringLiteral(" rows=%1").arg(window.serverModel()->count()));
    return 0;
}

int transferCase(bench::Window &bench, bool download, const QString &name)
{
    frmconc &window = *bench.window;
    int rows = 0;
    QObject::connect(window.queueModel(), &QAbstractItemModel::rowsInserted, &window,
                     [&rows](const QModelIndex &, int first, int last) { rows += last - first + 1; });
    LoopGap gap;
    gap.start();
    const bool selected = bench.pressTransfer(download, name);
    bench::settle(window);
    if (!selected || window.queueModel()->count() != 0) {
        std::fprintf(stderr, "%s: not found or not all sent\n", qPrintable(name));
        return 1;
    }
    report(download ? "download" : "upload", gap, QStringLiteral(" rows=%1").arg(rows));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    platform::pinLocalTimeZone(); // as both programs do at start
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    for (const char *name : {"port", "case", "name", "local", "remote-dir", "parallel", "runs", "wait-ms"})
        parser.addOption({QString::fromLatin1(name), QString::fromLatin1(name), QStringLiteral("value")});
    parser.process(app);
    const auto value = [&parser](const char *name) { return parser.value(QString::fromLatin1(name)); };
    const quint16 port = quint16(value("port").toUInt());
    const QString testCase = value("case");

    bench::Window bench;
    if (testCase == QLatin1String("silent"))
        return silentCase(bench, port, parser.isSet(QStringLiteral("wait-ms")) ? value("wait-ms").toInt() : 2000);
    if (!bench.connectTo(port)) {
        std::fprintf(stderr, "cannot connect\n");
        return 1;
    }
    if (testCase == QLatin1String("list"))
        return listCase(bench, value("name"), parser.isSet(QStringLiteral("runs")) ? value("runs").toInt() : 3);

    if (parser.isSet(QStringLiteral("parallel")))
        bench.window->transferQueue().runner().setConnections(value("parallel").toInt());
    bOverwriteAll = true; // a file left by an earlier run is replaced without a question
    bench.window->setLocalFolder(value("local"));
    if (parser.isSet(QStringLiteral("remote-dir")))
        bench.openServerFolder(value("remote-dir"));
    return transferCase(bench, testCase == QLatin1String("download"), value("name"));
}
