#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {
QString overrideDir;

QString withoutTrailingSlash(QString dir)
{
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}
} // namespace

void setProgramDirectory(const QString &dir)
{
    overrideDir = dir.isEmpty() ? QString() : withoutTrailingSlash(QDir(dir).absolutePath());
    if (!overrideDir.isEmpty())
        QDir().mkpath(overrideDir);
}

void initProgramDirectory(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (arg == QLatin1String("--data-dir") && i + 1 < arguments.size()) {
            setProgramDirectory(arguments.at(i + 1));
            return;
        }
        if (arg.startsWith(QLatin1String("--data-dir="))) {
            setProgramDirectory(arg.mid(11));
            return;
        }
    }
    const QString env = qEnvironmentVariable("TARVOFTP_HOME");
    if (!env.isEmpty())
        setProgramDirectory(env);
}

bool isInstalledCopy(const QString &executableDir)
{
    return QFileInfo::exists(executableDir + QStringLiteral("/../share/applications/" TARVO_APP_ID ".desktop"));
}

QString programDirectoryFor(const QString &executableDir)
{
    // An installed copy's folder may be writable (root's /usr/bin), and is
    // still no place for one user's files.
    if (!executableDir.isEmpty() && QFileInfo(executableDir).isWritable() && !isInstalledCopy(executableDir))
        return withoutTrailingSlash(executableDir);
    QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dataDir.isEmpty())
        dataDir = QDir::homePath() + QLatin1String("/.tarvoftp");
    QDir().mkpath(dataDir);
    return withoutTrailingSlash(dataDir);
}

QString programDirectory()
{
    if (!overrideDir.isEmpty())
        return overrideDir;
    return programDirectoryFor(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString desktopDirectory()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return desktop;
    return QDir::homePath();
}

} // namespace platform
