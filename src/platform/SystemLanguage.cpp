#include "platform/SystemLanguage.h"

namespace platform {
namespace {

bool isPlainC(const QString &locale)
{
    return locale.isEmpty() || locale == QLatin1String("C") || locale == QLatin1String("POSIX")
        || locale.startsWith(QLatin1String("C."));
}

} // namespace

QStringList messageLanguages()
{
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(name);
        if (!locale.isEmpty())
            break;
    }
    // The C library ignores LANGUAGE under the C locale, and so do we.
    const QString preferences = qEnvironmentVariable("LANGUAGE");
    if (!isPlainC(locale) && !preferences.isEmpty())
        return preferences.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return locale.isEmpty() ? QStringList() : QStringList{locale};
}

bool prefersFrench(const QStringList &languages)
{
    if (languages.isEmpty())
        return false;
    const QString first = languages.first();
    return first == QLatin1String("fr") || first.startsWith(QLatin1String("fr_"))
        || first.startsWith(QLatin1String("fr-")) || first.startsWith(QLatin1String("fr."))
        || first.startsWith(QLatin1String("fr@"));
}

} // namespace platform
