// Starts the main window connected to a local FTP server with a few files and
// folders, in the language given ("fr" or "en"), for the screenshots of the
// README. Run it under xvfb-run; it prints READY once the window is shown and
// stays until killed.
#include "FtpServer.h"
#include "mainwindow/frmconc.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "settings/Options.h"
#include "sites/frmManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

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

    QTimer::singleShot(500, [] {
        std::printf("READY\n");
        std::fflush(stdout);
    });
    return app.exec();
}
