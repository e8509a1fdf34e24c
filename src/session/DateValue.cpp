#include "session/DateValue.h"

#include <QLocale>

namespace {
constexpr double kMsPerDay = 86400000.0;

// The date value's epoch, compared as naive wall-clock time so that days are
// whole whatever the daylight-saving rules of the local zone.
const QDateTime &epoch()
{
    static const QDateTime e(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return e;
}

QDateTime asNaive(const QDateTime &local)
{
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QString shortDateFormat()
{
    QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
    // Two-digit years are ambiguous once dates cross centuries.
    if (!f.contains(QLatin1String("yyyy")))
        f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}
} // namespace

DateValue dateValueFromDateTime(const QDateTime &local)
{
    return double(epoch().msecsTo(asNaive(local))) / kMsPerDay;
}

QDateTime dateTimeFromDateValue(DateValue value)
{
    const QDateTime naive = epoch().addMSecs(qint64(value * kMsPerDay + (value >= 0 ? 0.5 : -0.5)));
    return QDateTime(naive.date(), naive.time(), Qt::LocalTime);
}

DateValue FileTimeToDate(inet::FileTime fileTime)
{
    const QDateTime utc = inet::dateTimeFromFileTime(fileTime);
    return dateValueFromDateTime(utc.toLocalTime());
}

QString formatGeneralDate(const QDateTime &local)
{
    if (!local.isValid())
        return QString();
    QString text = local.date().toString(shortDateFormat());
    if (local.time() != QTime(0, 0))
        text += QLatin1Char(' ') + local.time().toString(QStringLiteral("HH:mm:ss"));
    return text;
}

QString formatGeneralDate(DateValue value)
{
    return formatGeneralDate(dateTimeFromDateValue(value));
}

QDateTime parseGeneralDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDateTime();
    const QString dateFormat = shortDateFormat();
    for (const QString &format : {dateFormat + QStringLiteral(" HH:mm:ss"), dateFormat,
                                  QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd")}) {
        QDateTime dt = QDateTime::fromString(t, format);
        if (dt.isValid())
            return QDateTime(dt.date(), dt.time(), Qt::LocalTime);
    }
    return QDateTime();
}
