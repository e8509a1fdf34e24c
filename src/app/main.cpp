// The desktop program.
#include "platform/Paths.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo FTP"));
    QApplication::setOrganizationName(QStringLiteral("Tarvo"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
        .arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH));
    platform::initProgramDirectory(QApplication::arguments());

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tarvo FTP"));
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
