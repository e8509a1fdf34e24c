// Files through the main window's queue and runner, the window offscreen,
// against a local server. Run by bench/mainwindow and bench/parallel.
//
//   queue_bench --port P --case download|upload --name NAME --local DIR [--remote-dir DIR] [--parallel N]
//
// download: the server file NAME (in the server's root) is selected in the
//   server pane and sent with the pane's Download button into the local
//   folder DIR. upload: the local file DIR/NAME is selected in the local pane
//   and sent with the pane's upload button into the server folder --remote-dir.
// NAME may be a folder: it is expanded into rows first, as the panes do.
// --parallel: the queue's simultaneous transfers (default: the option's default).
// Prints "case seconds=S rows=N listed=L": from the button to the end of the
// run, folder expansion and the transfer connections' logins included; L is
// the part before the run started (the folders being listed). With
// QB_HIDE=1 the window is not shown: the difference is what showing the run costs.

#include "BenchWindow.h"

#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char **argv)
{
    platform::pinLocalTimeZone(); // as both programs do at start
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    for (const char *name : {"port", "case", "name", "local", "remote-dir", "parallel"})
        parser.addOption({QString::fromLatin1(name), QString::fromLatin1(name), QStringLiteral("value")});
    parser.process(app);

    bench::Window bench(qEnvironmentVariableIsEmpty("QB_HIDE"));
    frmconc &window = *bench.window;
    if (!bench.connectTo(quint16(parser.value(QStringLiteral("port")).toUInt()))) {
        std::fprintf(stderr, "cannot connect\n");
        return 1;
    }
    if (parser.isSet(QStringLiteral("parallel")))
        window.transferQueue().runner().setConnections(parser.value(QStringLiteral("parallel")).toInt());
    bOverwriteAll = true; // a file left by an earlier run is replaced without a question
    const bool download = parser.value(QStringLiteral("case")) == QLatin1String("download");
    const QString name = parser.value(QStringLiteral("name"));
    window.setLocalFolder(parser.value(QStringLiteral("local")));
    if (parser.isSet(QStringLiteral("remote-dir")) && !bench.openServerFolder(parser.value(QStringLiteral("remote-dir")))) {
        std::fprintf(stderr, "cannot open the server folder %s (the pane shows %s)\n",
                     qPrintable(parser.value(QStringLiteral("remote-dir"))), qPrintable(window.remotePathText()));
        return 1;
    }

    int rows = 0;
    QList<RowOutcome> outcomes;
    QObject::connect(window.queueModel(), &QAbstractItemModel::rowsInserted, &window,
                     [&rows](const QModelIndex &, int first, int last) { rows += last - first + 1; });
    QObject::connect(&window.transferQueue(), &TransferQueue::runFinished, &window,
                     [&outcomes](const QList<RowOutcome> &o) { outcomes += o; });
    QElapsedTimer clock;
    double listed = 0;
    QObject::connect(&window.transferQueue(), &TransferQueue::runStarted, &window,
                     [&] { listed = bench::seconds(clock); });
    clock.start();
    const bool selected = bench.pressTransfer(download, name);
    bench::settle(window);
    const double seconds = bench::seconds(clock);
    const auto done = std::count_if(outcomes.begin(), outcomes.end(),
                                    [](const RowOutcome &o) { return o.kind == RowOutcome::Kind::Done; });
    if (!selected || window.queueModel()->count() != 0 || done != rows) {
        std::fprintf(stderr, "%s: not found or not all sent (%d rows, %d done, %d left)\n", qPrintable(name), rows,
                     int(done), window.queueModel()->count());
        for (const RowOutcome &o : outcomes)
            if (o.kind != RowOutcome::Kind::Done)
                std::fprintf(stderr, "  %s: outcome %d %s\n", qPrintable(o.name), int(o.kind), qPrintable(o.reason));
        return 1;
    }
    std::printf("%s seconds=%.3f rows=%d listed=%.3f\n", download ? "download" : "upload", seconds, rows, listed);
    return 0;
}
