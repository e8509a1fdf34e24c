// Starts the main window connected to a local FTP server with a few files and
// folders and a few rows in the queue, in the language given ("fr" or "en"),
// for the screenshots of the README. Run it under xvfb-run. With
// "--shot FILE.png" it saves the whole screen there once the window is shown
// and ends; without, it prints READY and stays until killed.
#include "FtpServer.h"
#include "mainwindow/PaneModel.h"
#include "mainwindow/frmconc.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "sites/frmManager.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

namespace {

void writeFile(const QString &path, qint64 size)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(size, 'x'));
}

void fillServer(const FtpServer &server)
{
    for (const char *dir : {"public_html", "public_html/images", "backups", "logs"})
        server.makeDir(QString::fromLatin1(dir));
    server.writeFile(QStringLiteral("index.html"), QByteArray(5120, 'h'));
    server.writeFile(QStringLiteral("style.css"), QByteArray(1834, 'c'));
    server.writeFile(QStringLiteral("site-2024.zip"), QByteArray(1234567, 'z'));
    server.writeFile(QStringLiteral("README"), QByteArray(642, 'r'));
    server.writeFile(QStringLiteral("notes.txt"), QByteArray(87, 'n'));
}

void fillLocal(const QString &folder)
{
    QDir(folder).mkpath(QStringLiteral("Photos"));
    QDir(folder).mkpath(QStringLiteral("Projects"));
    writeFile(QDir(folder).filePath(QStringLiteral("report.pdf")), 248331);
    writeFile(QDir(folder).filePath(QStringLiteral("todo.txt")), 312);
    writeFile(QDir(folder).filePath(QStringLiteral("music.mp3")), 3145728);
}

// Selects exactly these rows (by name) of a pane.
void select(QTreeView *list, const PaneModel &model, const QStringList &names)
{
    list->clearSelection();
    for (const QString &name : names) {
        const int r = model.findName(name);
        if (r >= 0)
            list->selectionModel()->select(model.index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

QString shotPath(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--shot")
            return QString::fromLocal8Bit(argv[i + 1]);
    return QString();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo FTP"));
    const bool english = argc > 1 && QByteArray(argv[1]) == "en";

    QTemporaryDir program;
    // A home folder with a plain name, as the local pane shows its path.
    const QString home = QDir(QDir::tempPath()).filePath(QStringLiteral("tarvo-screenshot/marie"));
    QDir(home).removeRecursively();
    platform::setProgramDirectory(program.path());
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(home).filePath(QStringLiteral(".config")).toUtf8());
    const QString desktop = QDir(home).filePath(QStringLiteral("Desktop"));
    QDir().mkpath(desktop);
    fillLocal(desktop);
    options::setLangue(english ? 1000 : 0);
    options::setCheckUpdateAtStart(false);

    FtpServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "no FTP server: %s\n", qPrintable(server.errorText()));
        return 1;
    }
    fillServer(server);

    frmconc window;
    window.Form_Load();
    frmManager *manager = window.manager();
    manager->TxtServer->setText(server.host());
    manager->TxtPort->setText(QString::number(server.port()));
    manager->TxtUser->setText(server.user());
    manager->txtPass->setText(server.password());
    window.premier_Connect(true);

    // A few rows waiting in the queue, both ways.
    select(window.listviewServer, *window.serverModel(), {"index.html", "style.css", "site-2024.zip"});
    window.DragDropManuel(false);
    select(window.lvLocal, *window.localModel(), {"report.pdf", "todo.txt"});
    window.DragDropManuel(true);
    window.listviewServer->clearSelection();
    window.lvLocal->clearSelection();

    // The pointer out of the way, so that no button shows as hovered.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCursor::setPos(screen.right(), screen.bottom());

    const QString shot = shotPath(argc, argv);
    // Time for the window to settle and paint before the picture.
    QTimer::singleShot(1000, [shot] {
        if (shot.isEmpty()) {
            std::printf("READY\n");
            std::fflush(stdout);
            return;
        }
        const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
        QCoreApplication::exit(saved ? 0 : 1);
    });
    return app.exec();
}
