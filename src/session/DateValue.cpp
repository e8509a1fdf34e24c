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

const QString &shortDateFormat()
{
    // The locale does not change while the program runs; asking it for every
    // row of a large folder would.
    static const QString format = [] {
        QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
        // Two-digit years are ambiguous once dates cross centuries.
        if (!f.contains(QLatin1String("yyyy")))
            f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        return f;
    }();
    return format;
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
static int localOffsetAt(qint64 utcSecs)
{
    static QHash<qint64, int> offsets;
    const qint64 hour = utcSecs / 3600 - (utcSecs % 3600 < 0 ? 1 : 0);
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
    // Plain arithmetic: a listing of 20,000 entries converts 60,000 times.
    constexpr qint64 ticksFrom1601To1970 = 116444736000000000LL;
    constexpr qint64 msFrom1899To1970 = 25569LL * 86400000;
    const qint64 utcMs = (qint64(fileTime) - ticksFrom1601To1970) / 10000;
    const qint64 localMs = utcMs + qint64(localOffsetAt(utcMs / 1000)) * 1000;
    return double(localMs + msFrom1899To1970) / kMsPerDay;
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
    // "<date> HH:mm:ss", or the date alone at midnight.
    QTime time(0, 0);
    QString datePart = t;
    const qsizetype n = t.size();
    if (n > 9 && t.at(n - 9) == QLatin1Char(' ') && t.at(n - 6) == QLatin1Char(':') && t.at(n - 3) == QLatin1Char(':')) {
        time = QTime::fromString(t.right(8), QStringLiteral("HH:mm:ss"));
        datePart = t.left(n - 9);
    }
    QDate date = QDate::fromString(datePart, shortDateFormat());
    if (!date.isValid())
        date = QDate::fromString(datePart, Qt::ISODate);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::LocalTime);
}
