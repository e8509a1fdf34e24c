#include "sites/SiteInput.h"

namespace siteinput {

bool portIsValid(const QString &port)
{
    if (port.isEmpty() || port.size() > 5)
        return false;
    for (QChar c : port) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int value = port.toInt();
    return value >= 1 && value <= 65535;
}

QString withTrailingSeparator(const QString &path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

} // namespace siteinput
