#include "mainwindow/ProgramFiles.h"

#include "platform/Paths.h"
#include "settings/Options.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace programfiles {
namespace {

QByteArray resource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `content` to folder/name unless the file already holds it.
QString writeInto(const QString &folder, const QString &name, const QByteArray &content)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    const QString path = QDir(folder).filePath(name);
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return path;
    existing.close();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        return QString();
    return path;
}

} // namespace

QString installHelpPage(bool french)
{
    const QString name = french ? QStringLiteral("tarvoftp-fr.html") : QStringLiteral("tarvoftp-en.html");
    const QByteArray page = resource(QStringLiteral(":/help/") + name);
    if (page.isEmpty())
        return QString();
    const QString inProgram = writeInto(QDir(platform::programDirectory()).filePath(QStringLiteral("help")), name, page);
    if (!inProgram.isEmpty())
        return inProgram;
    // The user's own cache folder, never a folder other users could plant files in.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return writeInto(cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("help")), name, page);
}

bool installDefaultSound()
{
    const QString path = QDir(platform::programDirectory()).filePath(options::DefaultSound);
    if (QFile::exists(path))
        return true;
    const QByteArray sound = resource(QStringLiteral(":/sounds/recv.wav"));
    return !sound.isEmpty() && !writeInto(platform::programDirectory(), options::DefaultSound, sound).isEmpty();
}

} // namespace programfiles
