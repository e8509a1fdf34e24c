// Directory listing parser: LIST lines (Unix, DOS/IIS, EPLF) and MLSD facts.
// Pure functions; a line that fits no format is not an entry, never an error.
#include "platform/inet/Inet.h"

#include <QHash>
#include <QTimeZone>

#include <array>
#include <limits>

namespace inet {

namespace {

struct Token {
    qsizetype begin = 0;
    qsizetype end = 0;
};

using Tokens = std::vector<Token>;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Splits at blanks into `tokens` (reused from line to line: no allocation).
const Tokens &tokenize(QByteArrayView line)
{
    thread_local Tokens tokens;
    tokens.clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i >= n)
            break;
        Token t;
        t.begin = i;
        while (i < n && !isBlank(line[i]))
            ++i;
        t.end = i;
        tokens.push_back(t);
    }
    return tokens;
}

QByteArrayView text(QByteArrayView line, const Token &t) { return line.sliced(t.begin, t.end - t.begin); }

// A whole number of digits (no sign); false when empty or not all digits.
bool toNumber(QByteArrayView s, qint64 &value, bool allowSeparators = false)
{
    value = 0;
    int digits = 0;
    for (char c : s) {
        if (isDigit(c)) {
            if (value > (Q_INT64_C(0x7fffffffffffffff) - 9) / 10)
                return false;
            value = value * 10 + (c - '0');
            ++digits;
        } else if (!(allowSeparators && digits > 0 && (c == ',' || c == '.' || c == '\''))) {
            return false;
        }
    }
    return digits > 0 && isDigit(s.back());
}

int monthFromName(QByteArrayView s)
{
    static const char names[] = "janfebmaraprmayjunjulaugsepoctnovdec";
    if (s.size() != 3)
        return 0;
    const char a = char(s[0] | 0x20), b = char(s[1] | 0x20), c = char(s[2] | 0x20);
    for (int i = 0; i < 12; ++i) {
        if (names[3 * i] == a && names[3 * i + 1] == b && names[3 * i + 2] == c)
            return i + 1;
    }
    return 0;
}

// "hh:mm" or "hh:mm:ss".
bool parseClock(QByteArrayView s, QTime &time)
{
    qint64 part[3] = {0, 0, 0};
    int count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] != ':')
            continue;
        if (count == 3 || !toNumber(s.sliced(start, i - start), part[count]))
            return false;
        ++count;
        start = i + 1;
    }
    if (count < 2)
        return false;
    time = QTime(int(part[0]), int(part[1]), int(part[2]));
    return time.isValid();
}

// Three numbers separated by '-', '/' or '.'.
bool parseNumericDate(QByteArrayView s, std::array<qint64, 3> &parts, int &firstDigits, char &sep)
{
    int index = 0;
    qsizetype start = 0;
    sep = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i < s.size() && isDigit(s[i]))
            continue;
        if (i < s.size() && sep == 0 && (s[i] == '-' || s[i] == '/' || s[i] == '.'))
            sep = s[i];
        if (i < s.size() && s[i] != sep)
            return false;
        if (index > 2 || !toNumber(s.sliced(start, i - start), parts[index]))
            return false;
        if (index == 0)
            firstDigits = int(i - start);
        ++index;
        start = i + 1;
    }
    return index == 3;
}

int fullYear(qint64 y)
{
    if (y >= 100)
        return int(y);
    return int(y < 70 ? 2000 + y : 1900 + y);
}

// Wall-clock seconds of a date and time, for comparing without a time zone.
qint64 wallSeconds(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
}

// "now" in local wall-clock terms, worked out once per listing.
struct LocalClock {
    qint64 nowMs = std::numeric_limits<qint64>::min();
    qint64 nowWall = 0;
    int nowYear = 0;
};

LocalClock &localClock(const QDateTime &now)
{
    thread_local LocalClock clock;
    const qint64 ms = now.toMSecsSinceEpoch();
    if (ms != clock.nowMs) {
        const QDateTime local = now.toLocalTime();
        clock.nowMs = ms;
        clock.nowWall = wallSeconds(local.date(), local.time());
        clock.nowYear = local.date().year();
    }
    return clock;
}

// Server clock times are shown as listed: they are taken as this machine's
// local time. Converting local time asks the C library, which reads the zone
// file on every call; a listing of thousands of entries needs a handful of
// hours, so the offsets are remembered per hour.
FileTime localFileTime(const QDate &date, const QTime &time)
{
    if (!date.isValid())
        return 0;
    const QTime t = time.isValid() ? time : QTime(0, 0);
    thread_local QHash<qint64, int> offsets;
    const qint64 key = date.toJulianDay() * 24 + t.hour();
    auto it = offsets.constFind(key);
    if (it == offsets.constEnd()) {
        if (offsets.size() > 4096)
            offsets.clear();
        it = offsets.insert(key, QDateTime(date, QTime(t.hour(), 0)).offsetFromUtc());
    }
    constexpr qint64 kUnixEpochJulianDay = 2440588;
    const qint64 utcSeconds = (date.toJulianDay() - kUnixEpochJulianDay) * 86400
                              + t.msecsSinceStartOfDay() / 1000 - it.value();
    constexpr qint64 kEpochDelta = 116444736000000000LL; // 1601 to 1970 in 100 ns units
    const qint64 ticks = utcSeconds * 10000000 + kEpochDelta;
    return ticks < 0 ? 0 : FileTime(ticks);
}

void setTimes(FindRecord &out, FileTime t)
{
    out.creationTime = out.lastAccessTime = out.lastWriteTime = t;
}

// ---- Unix ----------------------------------------------------------------

bool isUnixMode(QByteArrayView s)
{
    if (s.size() < 10 || !QByteArrayView("-dlcbpsDn").contains(s[0]))
        return false;
    for (int i = 1; i < 10; ++i) {
        if (!QByteArrayView("rwxsStTlL-").contains(s[i]))
            return false;
    }
    return true;
}

// The date starting at token k: "Mon dd hh:mm|yyyy" or "yyyy-mm-dd hh:mm".
// Sets the index of its last token.
bool unixDate(QByteArrayView line, const Tokens &t, size_t k, const QDateTime &now, QDate &date,
              QTime &time, size_t &last)
{
    std::array<qint64, 3> parts{};
    int firstDigits = 0;
    char sep = 0;
    if (k + 1 < t.size() && parseNumericDate(text(line, t[k]), parts, firstDigits, sep)
        && firstDigits == 4 && sep == '-') {
        if (!parseClock(text(line, t[k + 1]), time))
            return false;
        date = QDate(int(parts[0]), int(parts[1]), int(parts[2]));
        last = k + 1;
        return date.isValid();
    }
    const int month = monthFromName(text(line, t[k]));
    qint64 day = 0, year = 0;
    if (month == 0 || k + 2 >= t.size() || !toNumber(text(line, t[k + 1]), day) || day < 1 || day > 31)
        return false;
    last = k + 2;
    const QByteArrayView third = text(line, t[k + 2]);
    if (toNumber(third, year) && third.size() == 4) {
        date = QDate(int(year), month, int(day));
        time = QTime(0, 0);
        return true;
    }
    if (!parseClock(third, time))
        return false;
    // Recent files show a time instead of the year: the year is the one that
    // does not put the date in the future (a little slack for clock skew).
    const LocalClock &clock = localClock(now);
    date = QDate(clock.nowYear, month, int(day));
    if (!date.isValid() || wallSeconds(date, time) > clock.nowWall + 2 * 86400)
        date = QDate(clock.nowYear - 1, month, int(day));
    return true;
}

bool parseUnix(QByteArrayView line, FindRecord &out, const QDateTime &now)
{
    const Tokens &t = tokenize(line);
    if (t.size() < 4 || !isUnixMode(text(line, t[0])))
        return false;
    const char kind = line[t[0].begin];
    for (size_t k = 2; k + 1 < t.size(); ++k) {
        QDate date;
        QTime time;
        size_t last = 0;
        if (!unixDate(line, t, k, now, date, time, last))
            continue;
        qint64 size = 0;
        if (!toNumber(text(line, t[k - 1]), size))
            continue;
        if (kind == 'c' || kind == 'b')
            size = 0; // "major, minor" stand where the size would be
        const qsizetype nameStart = t[last].end + 1;
        if (nameStart >= line.size())
            return false;
        QByteArrayView name = line.sliced(nameStart);
        if (kind == 'l') {
            const qsizetype arrow = name.indexOf(QByteArrayView(" -> "));
            if (arrow > 0)
                name = name.first(arrow);
        }
        out = FindRecord();
        out.attributes = kind == 'd' ? FILE_ATTRIBUTE_DIRECTORY
                                     : (kind == 'l' ? 0 : FILE_ATTRIBUTE_NORMAL);
        out.size = size;
        setTimes(out, localFileTime(date, time));
        out.name = decodeName(name);
        return !out.name.isEmpty();
    }
    return false;
}

// ---- DOS / IIS -------------------------------------------------------------

bool dosDate(QByteArrayView s, QDate &date)
{
    std::array<qint64, 3> p{};
    int firstDigits = 0;
    char sep = 0;
    if (!parseNumericDate(s, p, firstDigits, sep))
        return false;
    if (firstDigits == 4)
        date = QDate(int(p[0]), int(p[1]), int(p[2]));
    else if (sep == '.')
        date = QDate(fullYear(p[2]), int(p[1]), int(p[0]));
    else
        date = QDate(fullYear(p[2]), int(p[0]), int(p[1]));
    return date.isValid();
}

// "hh:mm", "hh:mmPM" or "hh:mm" followed by a separate "AM"/"PM" token.
bool dosTime(QByteArrayView line, const Tokens &t, size_t &k, QTime &time)
{
    QByteArray s = text(line, t[k]).toByteArray().toUpper();
    QByteArray suffix;
    if (s.endsWith("AM") || s.endsWith("PM")) {
        suffix = s.right(2);
        s.chop(2);
    } else if (k + 1 < t.size()) {
        const QByteArray next = text(line, t[k + 1]).toByteArray().toUpper();
        if (next == "AM" || next == "PM") {
            suffix = next;
            ++k;
        }
    }
    if (!parseClock(s, time))
        return false;
    if (!suffix.isEmpty()) {
        int h = time.hour();
        if (h < 1 || h > 12)
            return false;
        h = (h % 12) + (suffix == "PM" ? 12 : 0);
        time = QTime(h, time.minute(), time.second());
    }
    return true;
}

bool parseDos(QByteArrayView line, FindRecord &out)
{
    const Tokens &t = tokenize(line);
    QDate date;
    QTime time;
    size_t k = 1;
    if (t.size() < 4 || !dosDate(text(line, t[0]), date) || !dosTime(line, t, k, time))
        return false;
    if (++k >= t.size() - 1)
        return false;
    const QByteArrayView third = text(line, t[k]);
    qint64 size = 0;
    const bool dir = third.compare(QByteArrayView("<DIR>"), Qt::CaseInsensitive) == 0;
    if (!dir && !toNumber(third, size, true))
        return false;
    out = FindRecord();
    out.attributes = dir ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    out.size = size;
    setTimes(out, localFileTime(date, time));
    out.name = decodeName(line.sliced(t[k + 1].begin));
    return true;
}

// ---- EPLF ------------------------------------------------------------------

bool parseEplf(QByteArrayView line, FindRecord &out)
{
    const qsizetype tab = line.indexOf('\t');
    if (tab < 2 || tab + 1 >= line.size())
        return false;
    out = FindRecord();
    const QList<QByteArray> facts = line.sliced(1, tab - 1).toByteArray().split(',');
    for (const QByteArray &fact : facts) {
        qint64 value = 0;
        if (fact == "/")
            out.attributes = FILE_ATTRIBUTE_DIRECTORY;
        else if (fact == "r" && out.attributes == 0)
            out.attributes = FILE_ATTRIBUTE_NORMAL;
        else if (fact.startsWith('s') && toNumber(QByteArrayView(fact).sliced(1), value))
            out.size = value;
        else if (fact.startsWith('m') && toNumber(QByteArrayView(fact).sliced(1), value))
            setTimes(out, fileTimeFromDateTime(QDateTime::fromSecsSinceEpoch(value, QTimeZone::utc())));
    }
    out.name = decodeName(line.sliced(tab + 1));
    return true;
}

// ---- MLSD ------------------------------------------------------------------

// "YYYYMMDDHHMMSS[.sss]" in UTC.
FileTime mlsdTime(QByteArrayView s)
{
    if (s.size() < 14)
        return 0;
    int v[6] = {};
    const int widths[6] = {4, 2, 2, 2, 2, 2};
    qsizetype pos = 0;
    for (int i = 0; i < 6; ++i) {
        qint64 n = 0;
        if (!toNumber(s.sliced(pos, widths[i]), n))
            return 0;
        v[i] = int(n);
        pos += widths[i];
    }
    const QDate date(v[0], v[1], v[2]);
    const QTime time(v[3], v[4], v[5]);
    if (!date.isValid() || !time.isValid())
        return 0;
    return fileTimeFromDateTime(QDateTime(date, time, QTimeZone::utc()));
}

QByteArrayView trimmedLine(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == '\n'))
        line.chop(1);
    return line;
}

} // namespace

bool parseMlsdLine(QByteArrayView line, FindRecord &out)
{
    line = trimmedLine(line);
    const qsizetype space = line.indexOf(' ');
    if (space <= 0 || space + 1 >= line.size())
        return false;
    const QByteArrayView facts = line.first(space);
    if (!facts.contains('='))
        return false;
    FindRecord rec;
    for (const QByteArray &fact : facts.toByteArray().split(';')) {
        const qsizetype eq = fact.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = fact.left(eq).toLower();
        const QByteArray value = fact.mid(eq + 1);
        const QByteArray lowerValue = value.toLower();
        qint64 number = 0;
        if (key == "type") {
            if (lowerValue == "cdir" || lowerValue == "pdir")
                return false; // the folder itself and its parent
            rec.attributes = lowerValue == "file" ? FILE_ATTRIBUTE_NORMAL
                           : lowerValue == "dir"  ? FILE_ATTRIBUTE_DIRECTORY
                                                  : 0; // links and unknown kinds
        } else if ((key == "size" || key == "sizd") && toNumber(value, number)) {
            rec.size = number;
        } else if (key == "modify") {
            rec.lastWriteTime = rec.lastAccessTime = mlsdTime(value);
            if (rec.creationTime == 0)
                rec.creationTime = rec.lastWriteTime;
        } else if (key == "create") {
            rec.creationTime = mlsdTime(value);
        }
    }
    rec.name = decodeName(line.sliced(space + 1));
    out = rec;
    return true;
}

bool parseListLine(QByteArrayView line, FindRecord &out, const QDateTime &now)
{
    line = trimmedLine(line);
    if (line.isEmpty())
        return false;
    if (line[0] == '+')
        return parseEplf(line, out);
    if (isDigit(line[0]))
        return parseDos(line, out);
    return parseUnix(line, out, now);
}

void appendListing(QByteArrayView data, bool mlsd, const QDateTime &localNow, std::vector<FindRecord> &records)
{
    const QDateTime now = localNow.toUTC(); // cheap to compare line after line
    qsizetype start = 0;
    const qsizetype n = data.size();
    FindRecord rec;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && data[i] != '\r' && data[i] != '\n')
            continue;
        if (i > start) {
            const QByteArrayView line = data.sliced(start, i - start);
            if (mlsd ? parseMlsdLine(line, rec) : parseListLine(line, rec, now))
                records.push_back(std::move(rec));
        }
        start = i + 1;
    }
}

std::vector<FindRecord> parseListing(QByteArrayView data, bool mlsd, const QDateTime &now)
{
    std::vector<FindRecord> records;
    appendListing(data, mlsd, now, records);
    return records;
}

} // namespace inet
