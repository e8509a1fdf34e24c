// The command-line front end over the same engine as the desktop program.
#include "platform/Paths.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvoftp-cli"));
    platform::initProgramDirectory(QCoreApplication::arguments());
    std::printf("tarvoftp-cli %d.%d.%d\n", TARVO_VERSION_MAJOR, TARVO_VERSION_MINOR, TARVO_VERSION_PATCH);
    return 0;
}
