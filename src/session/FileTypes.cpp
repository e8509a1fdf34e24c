#include "session/FileTypes.h"

#include <QDir>

#include "session/SessionState.h"

QString GetFileExtension(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

int ImgNumber(const QString &strFileName)
{
    const int dot = strFileName.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : strFileName.mid(dot + 1).toLower();
    static const struct { int image; const char *extensions; } table[] = {
        {19, " avi mpg mpeg mov wmv gif jpg jpeg jpe bmp "},
        {27, " htm html xml asp php "},
        {5, " js css cgi "},
        {18, " mp3 ram au wav ogg "},
        {7, " zip jar cab rar ace "},
        {20, " exe com bat "},
        {25, " ini txt log doc rtf ftp dat "},
    };
    if (ext.isEmpty())
        return bConnecting ? 23 : 21;
    const QString needle = QLatin1Char(' ') + ext + QLatin1Char(' ');
    for (const auto &row : table)
        if (QLatin1String(row.extensions).contains(needle))
            return row.image;
    return 21;
}

bool isDotEntry(const QString &name)
{
    return name == QLatin1String(".") || name == QLatin1String("..");
}

bool isUnsafeRemoteName(const QString &name)
{
    return name.isEmpty() || isDotEntry(name)
        || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0));
}

bool linkLeadsBack(const QString &folder, const QString &target)
{
    if (target.isEmpty())
        return false;
    const QString resolved =
        QDir::cleanPath(target.startsWith(QLatin1Char('/')) ? target : folder + QLatin1Char('/') + target);
    const QString here = QDir::cleanPath(folder);
    return resolved == here || resolved == QLatin1String("/") || here.startsWith(resolved + QLatin1Char('/'));
}
