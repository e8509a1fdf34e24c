// Listings of PC systems: DOS/IIS ("01-15-20 03:04PM <DIR> name"), OS/2,
// and the VxWorks form of Nortel devices.
#include "platform/inet/ListParser_p.h"

namespace inet::listing {

namespace {

// "01-15-20", "12-31-2019", "2020-01-15", "15.01.2020": month first unless
// the year leads, the separator is a dot, or the month would be past 12.
bool dosDate(QByteArrayView s, QDate &date)
{
    std::array<qint64, 3> p{};
    std::array<int, 3> w{};
    char sep = 0;
    if (!splitNumericDate(s, p, w, sep))
        return false;
    if (w[0] == 4) {
        date = QDate(int(p[0]), int(p[1]), int(p[2]));
        return date.isValid();
    }
    const int year = fullYear(p[2], w[2]);
    const bool dayFirst = sep == '.' || p[0] > 12;
    date = dayFirst ? QDate(year, int(p[1]), int(p[0])) : QDate(year, int(p[0]), int(p[1]));
    return date.isValid();
}

// "hh:mm", "hh:mmPM", or "hh:mm" followed by a word "AM"/"PM". Sets the
// index of the last word used.
bool dosTime(const Line &line, size_t k, QTime &time, size_t &last)
{
    QByteArrayView s = line.word(k);
    char half = 0;
    const auto halfOf = [](QByteArrayView w) -> char {
        if (w.size() != 2 || (w[1] | 0x20) != 'm')
            return 0;
        const char c = char(w[0] | 0x20);
        return c == 'a' || c == 'p' ? c : 0;
    };
    last = k;
    if (s.size() > 2 && (half = halfOf(s.last(2))) != 0) {
        s.chop(2);
    } else if ((half = halfOf(line.word(k + 1))) != 0) {
        last = k + 1;
    }
    bool nextDay = false;
    if (!parseClock(s, time, nextDay) || nextDay)
        return false;
    if (half) {
        int h = time.hour();
        if (h < 1 || h > 12)
            return false;
        h = (h % 12) + (half == 'p' ? 12 : 0);
        time = QTime(h, time.minute(), time.second());
    }
    return true;
}

} // namespace

Outcome parseDos(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    QDate date;
    QTime time;
    size_t k = 0;
    if (n < 4 || !isDigit(line.word(0)[0]) || !dosDate(line.word(0), date) || !dosTime(line, 1, time, k))
        return Outcome::No;
    if (++k + 1 >= n)
        return Outcome::No;
    const QByteArrayView third = line.word(k);
    out = FindRecord();
    if (third.compare(QByteArrayView("<DIR>"), Qt::CaseInsensitive) == 0) {
        out.attributes = FILE_ATTRIBUTE_DIRECTORY;
    } else if (third.compare(QByteArrayView("<SYMLINK>"), Qt::CaseInsensitive) == 0
               || third.compare(QByteArrayView("<SYMLINKD>"), Qt::CaseInsensitive) == 0
               || third.compare(QByteArrayView("<JUNCTION>"), Qt::CaseInsensitive) == 0) {
        out.attributes = FILE_ATTRIBUTE_REPARSE_POINT;
    } else if (toGroupedNumber(third, out.size)) {
        out.attributes = FILE_ATTRIBUTE_NORMAL;
        out.sizeKnown = true;
    } else {
        return Outcome::No;
    }
    setTime(out, fileTimeOf({date, time}));
    QByteArrayView name = line.from(k + 1);
    if (out.attributes == FILE_ATTRIBUTE_REPARSE_POINT && name.endsWith(']')) {
        // "link [target]"
        const qsizetype open = name.lastIndexOf(QByteArrayView(" ["));
        if (open > 0) {
            out.linkTarget = decodeName(name.sliced(open + 2, name.size() - open - 3));
            name = name.first(open);
        }
    }
    setName(out, name);
    return Outcome::Entry;
}

// OS/2: "  1234  A  03-27-98  09:03  name", "  0  DIR  05-12-97  16:44  name":
// the size, the attributes, the date, the time and the name.
Outcome parseOs2(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    qint64 size = 0;
    if (n < 4 || !toNumber(line.word(0), size))
        return Outcome::No;
    bool folder = false;
    size_t k = 1;
    for (; k < n && k <= 3; ++k) {
        const QByteArrayView w = line.word(k);
        if (w == QByteArrayView("DIR"))
            folder = true;
        else if (w.size() > 3 || w.isEmpty() || w.contains('-') || isDigit(w[0]))
            break;
        else
            for (char c : w)
                if (!QByteArrayView("ARHS").contains(c))
                    return Outcome::No;
    }
    QDate date;
    QTime time;
    bool nextDay = false;
    std::array<qint64, 3> p{};
    std::array<int, 3> w{};
    char sep = 0;
    if (k + 2 >= n || !splitNumericDate(line.word(k), p, w, sep) || sep != '-' || w[0] > 2
        || !parseClock(line.word(k + 1), time, nextDay) || nextDay)
        return Outcome::No;
    date = QDate(fullYear(p[2], w[2]), int(p[0]), int(p[1]));
    if (!date.isValid())
        return Outcome::No;
    out = FindRecord();
    out.attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    out.size = size;
    out.sizeKnown = true;
    setTime(out, fileTimeOf({date, time}));
    setName(out, line.from(k + 2));
    return Outcome::Entry;
}

// VxWorks devices (Nortel switches and routers): a header, a rule of
// dashes, then "  39424  NOV-29-2003  11:01:12  name  [<DIR>]".
Outcome parseNortel(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    if (n == 4 && line.word(0) == QByteArrayView("size") && line.word(1) == QByteArrayView("date")
        && line.word(2) == QByteArrayView("time") && line.word(3) == QByteArrayView("name"))
        return Outcome::Skip;
    qint64 size = 0;
    const QByteArrayView d = line.word(1);
    if (n < 4 || !toNumber(line.word(0), size) || d.size() < 9 || d[3] != '-')
        return Outcome::No;
    const int month = monthFromName(d.first(3));
    qint64 day = 0, year = 0;
    const QByteArrayView dayYear = d.sliced(4);
    const qsizetype dash = dayYear.indexOf('-');
    QTime time;
    bool nextDay = false;
    if (month == 0 || dash < 1 || !toNumber(dayYear.first(dash), day) || !toNumber(dayYear.sliced(dash + 1), year)
        || !parseClock(line.word(2), time, nextDay))
        return Outcome::No;
    Stamp stamp{QDate(fullYear(year, int(dayYear.size() - dash - 1)), month, int(day)), time};
    stamp.nextDay = nextDay;
    if (!stamp.date.isValid())
        return Outcome::No;
    out = FindRecord();
    QByteArrayView name = line.from(3);
    out.attributes = FILE_ATTRIBUTE_NORMAL;
    if (n > 4 && line.word(n - 1) == QByteArrayView("<DIR>")) {
        out.attributes = FILE_ATTRIBUTE_DIRECTORY;
        name.chop(5);
        while (!name.isEmpty() && isBlank(name.back()))
            name.chop(1);
    }
    out.size = size;
    out.sizeKnown = true;
    setTime(out, fileTimeOf(stamp));
    setName(out, name);
    return Outcome::Entry;
}

} // namespace inet::listing
