#include "session/DateValue.h"

#include <QHash>
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

// A listing converts several times per entry; asking the system for the
// local offset of every one is slow (it may even re-read the zone file each
// time), so offsets are remembered per hour: zones change on whole hours.
static int localOffsetAt(const QDateTime &utc)
{
    static QHash<qint64, int> offsets;
    const qint64 hour = utc.toSecsSinceEpoch() / 3600 - (utc.toSecsSinceEpoch() % 3600 < 0 ? 1 : 0);
    const auto it = offsets.constFind(hour);
    if (it != offsets.cend())
        return *it;
    if (offsets.size() > 10000)
        offsets.clear();
    const int offset = QDateTime::fromSecsSinceEpoch(hour * 3600, Qt::UTC).toLocalTime().offsetFromUtc();
    offsets.insert(hour, offset);
    return offset;
}

DateValue FileTimeToDate(inet::FileTime fileTime)
{
    const QDateTime utc = inet::dateTimeFromFileTime(fileTime);
    // The local wall-clock time as a naive value, then days since the epoch.
    const QDateTime naiveLocal = QDateTime(utc.date(), utc.time(), Qt::UTC).addSecs(localOffsetAt(utc));
    return double(epoch().msecsTo(naiveLocal)) / kMsPerDay;
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
