// Files through the main window's queue and runner, the window offscreen,
// against a local server. Run by bench/mainwindow.
//
//   queue_bench --port P --case download|upload --name NAME --local DIR [--remote-dir DIR]
//
// download: the server file NAME (in the server's root) is selected in the
//   server pane and sent with the pane's Download button into the local
//   folder DIR. upload: the local file DIR/NAME is selected in the local pane
//   and sent with the pane's upload button into the server folder --remote-dir.
// NAME may be a folder: it is expanded into rows first, as the panes do.
// Prints "case seconds=S rows=N": from the button to the end of the run,
// folder expansion included. With QB_HIDE=1 the window is not shown: the
// difference is what showing the run costs.

#include "platform/TimeZone.h"
#include "mainwindow/frmconc.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "sites/frmManager.h"
#include "transfer/QueueModel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

namespace {

bool selectRow(QTreeView *list, const QString &name)
{
    auto *model = static_cast<PaneModel *>(list->model());
    const int row = model->findName(name);
    if (row < 0)
        return false;
    list->clearSelection();
    list->selectionModel()->select(model->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    platform::pinLocalTimeZone(); // as both programs do at start
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    for (const char *name : {"port", "case", "name", "local", "remote-dir"})
        parser.addOption({QString::fromLatin1(name), QString::fromLatin1(name), QStringLiteral("value")});
    parser.process(app);

    QTemporaryDir programDir;
    platform::setProgramDirectory(programDir.path());
    resetSessionState();
    frmconc window;
    window.resize(1280, 900);
    if (qEnvironmentVariableIsEmpty("QB_HIDE"))
        window.show();
    frmManager *m = window.manager();
    m->TxtServer->setText(QStringLiteral("127.0.0.1"));
    m->TxtPort->setText(parser.value(QStringLiteral("port")));
    m->TxtUser->setText(QStringLiteral("anonymous"));
    m->txtPass->setText(QStringLiteral("bench@"));
    lConnectMode = 0x08000000; // passive
    window.premier_Connect(true);
    if (!bConnected) {
        std::fprintf(stderr, "cannot connect\n");
        return 1;
    }
    bOverwriteAll = true; // a file left by an earlier run is replaced without a question
    const QString testCase = parser.value(QStringLiteral("case"));
    const QString name = parser.value(QStringLiteral("name"));
    window.setLocalFolder(parser.value(QStringLiteral("local")));
    if (parser.isSet(QStringLiteral("remote-dir"))) {
        window.mFTP->SetFTPDirectory(parser.value(QStringLiteral("remote-dir")));
        window.RefreshDirectoryListing();
    }

    int rows = 0;
    QObject::connect(window.queueModel(), &QAbstractItemModel::rowsInserted, &window, [&rows] { ++rows; });
    QElapsedTimer clock;
    bool selected = false;
    if (testCase == QLatin1String("download")) {
        selected = selectRow(window.listviewServer, name);
        clock.start();
        window.Toolbar1_ButtonClick(QStringLiteral("Download"));
    } else {
        selected = selectRow(window.lvLocal, name);
        clock.start();
        window.Toolbar2_ButtonClick(QStringLiteral("upload"));
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!selected || window.queueModel()->count() != 0) {
        std::fprintf(stderr, "%s: not found or not all sent (%d rows left)\n", qPrintable(name),
                     window.queueModel()->count());
        return 1;
    }
    std::printf("%s seconds=%.3f rows=%d\n", qPrintable(testCase), seconds, rows);
    return 0;
}
