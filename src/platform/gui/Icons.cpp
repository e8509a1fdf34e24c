#include "platform/gui/Icons.h"

#include <QFile>
#include <QHash>

namespace icons {
namespace {

// Commands that have a picture in the freedesktop naming scheme: a desktop
// theme that draws them gives the program its own look; without a theme our
// drawing stands in.
const QHash<QString, QString> &themeNames()
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("Transfer"), QStringLiteral("media-playback-start")},
        {QStringLiteral("Stop"), QStringLiteral("process-stop")},
        {QStringLiteral("command"), QStringLiteral("utilities-terminal")},
        {QStringLiteral("tool"), QStringLiteral("preferences-system")},
        {QStringLiteral("help"), QStringLiteral("help-contents")},
        {QStringLiteral("siteweb"), QStringLiteral("help-about")},
        {QStringLiteral("maj"), QStringLiteral("software-update-available")},
        {QStringLiteral("CreateDirectory"), QStringLiteral("folder-new")},
        {QStringLiteral("Delete"), QStringLiteral("edit-delete")},
        {QStringLiteral("refresh"), QStringLiteral("view-refresh")},
        {QStringLiteral("updir"), QStringLiteral("go-up")},
        {QStringLiteral("up"), QStringLiteral("go-up")},
        {QStringLiteral("browse"), QStringLiteral("document-open")},
    };
    return names;
}

QIcon ownIcon(const QString &name)
{
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    if (!QFile::exists(path))
        return QIcon();
    return QIcon(path);
}

// The pictures of the server pane by number, as the listing gives them.
QString imageName(int number)
{
    switch (number) {
    case 5: return QStringLiteral("ft-script");
    case 7: return QStringLiteral("ft-archive");
    case 18: return QStringLiteral("ft-sound");
    case 19: return QStringLiteral("ft-media");
    case 20: return QStringLiteral("ft-program");
    case 21: return QStringLiteral("ft-file");
    case 22: return QStringLiteral("ft-folder");
    case 23: return QStringLiteral("ft-noext");
    case 24: return QStringLiteral("ft-link");
    case 25: return QStringLiteral("ft-text");
    case 27: return QStringLiteral("ft-web");
    default: return QString();
    }
}

} // namespace

QIcon named(const QString &name)
{
    static QHash<QString, QIcon> cache;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd())
        return *cached;
    QIcon icon = ownIcon(name);
    const QString themeName = themeNames().value(name);
    if (!themeName.isEmpty())
        icon = QIcon::fromTheme(themeName, icon);
    cache.insert(name, icon);
    return icon;
}

QIcon imageList6(int number)
{
    const QString name = imageName(number);
    return name.isEmpty() ? named(QStringLiteral("ft-file")) : named(name);
}

} // namespace icons
