// The fields every listing format is made of: words, numbers, sizes, clocks
// and dates, and the file times they become.
#include "platform/inet/ListParser_p.h"

#include <QHash>
#include <QTimeZone>

#include <limits>

namespace inet::listing {

Line::Line(QByteArrayView text, std::vector<Token> &tokens) : m_text(text), m_tokens(tokens)
{
    tokens.clear();
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        Token t;
        t.begin = i;
        while (i < n && !isBlank(text[i]))
            ++i;
        t.end = i;
        tokens.push_back(t);
    }
}

QByteArrayView Line::after(size_t i) const
{
    if (i >= m_tokens.size())
        return QByteArrayView();
    const qsizetype start = m_tokens[i].end + 1;
    return start < m_text.size() ? m_text.sliced(start) : QByteArrayView();
}

// ---- numbers and sizes ---------------------------------------------------------------

bool allDigits(QByteArrayView s)
{
    if (s.isEmpty())
        return false;
    for (char c : s)
        if (!isDigit(c))
            return false;
    return true;
}

bool toNumber(QByteArrayView s, qint64 &value)
{
    value = 0;
    if (s.isEmpty() || s.size() > 18)
        return false;
    for (char c : s) {
        if (!isDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool toGroupedNumber(QByteArrayView s, qint64 &value)
{
    value = 0;
    int digits = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            if (++digits > 18)
                return false;
            value = value * 10 + (c - '0');
        } else if (digits == 0 || i + 1 == s.size()
                   || !(c == ',' || c == '.' || c == '\'' || uchar(c) == 0xA0)) {
            return false;
        }
    }
    return digits > 0;
}

bool toHexNumber(QByteArrayView s, qint64 &value)
{
    value = 0;
    if (s.isEmpty() || s.size() > 15)
        return false;
    for (char c : s) {
        int v = -1;
        if (isDigit(c))
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        if (v < 0)
            return false;
        value = value * 16 + v;
    }
    return true;
}

bool toSize(QByteArrayView s, qint64 &bytes, bool &rough)
{
    rough = false;
    if (toNumber(s, bytes))
        return true;
    // "33.5k", "1,2M", "4G", "512B", "1.5KiB"
    qsizetype n = s.size();
    if (n >= 2 && (s[n - 1] == 'B' || s[n - 1] == 'b'))
        --n;
    if (n >= 3 && s[n - 1] == 'i' && (s[n - 2] | 0x20) != 'b')
        --n;
    if (n < 1)
        return false;
    static constexpr char units[] = "kmgtp";
    int power = 0;
    const char unit = char(s[n - 1] | 0x20);
    for (int i = 0; units[i]; ++i)
        if (unit == units[i])
            power = i + 1;
    if (power > 0)
        --n;
    else if (n == s.size())
        return false; // a bare number was handled above
    qint64 whole = 0, fraction = 0, scale = 1;
    const QByteArrayView number = s.first(n);
    const qsizetype point = qMax(number.indexOf('.'), number.indexOf(','));
    if (point < 0) {
        if (!toNumber(number, whole))
            return false;
    } else {
        const QByteArrayView tail = number.sliced(point + 1);
        if (!toNumber(number.first(point), whole) || tail.size() > 3 || !toNumber(tail, fraction))
            return false;
        for (qsizetype i = 0; i < tail.size(); ++i)
            scale *= 10;
    }
    qint64 factor = 1;
    for (int i = 0; i < power; ++i)
        factor *= 1024;
    if (whole > std::numeric_limits<qint64>::max() / factor / 2)
        return false;
    bytes = whole * factor + fraction * factor / scale;
    rough = power > 0; // a unit always rounds
    return true;
}

// ---- months ------------------------------------------------------------------------------

namespace {

bool validUtf8(QByteArrayView s)
{
    for (qsizetype i = 0; i < s.size();) {
        const uchar c = uchar(s[i]);
        const int len = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                      : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (len == 0 || i + len > s.size())
            return false;
        for (int k = 1; k < len; ++k)
            if ((uchar(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += len;
    }
    return true;
}

// The word in lower case UTF-8 without a final dot or comma, into `out`
// (at least 2 * 24 bytes): ASCII, the accented Latin letters and Cyrillic
// lowered, Latin-1 bytes made UTF-8. Returns the length.
qsizetype foldWord(QByteArrayView s, char *out)
{
    while (!s.isEmpty() && (s.back() == '.' || s.back() == ','))
        s.chop(1);
    qsizetype n = 0;
    const bool utf8 = validUtf8(s);
    for (qsizetype i = 0; i < s.size(); ++i) {
        uchar c = uchar(s[i]);
        if (c < 0x80) {
            out[n++] = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        } else if (!utf8) {
            if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
                c += 0x20; // Latin-1 capitals
            out[n++] = char(0xC0 | (c >> 6));
            out[n++] = char(0x80 | (c & 0x3F));
        } else if (c == 0xC3 && i + 1 < s.size()) {
            uchar d = uchar(s[++i]);
            if (d >= 0x80 && d <= 0x9E && d != 0x97)
                d += 0x20;
            out[n++] = char(c);
            out[n++] = char(d);
        } else if ((c == 0xC4 || c == 0xC5) && i + 1 < s.size()) {
            // Latin Extended-A: capitals and small letters in pairs, the
            // capital even in some runs and odd in others
            int cp = ((c & 0x1F) << 6) | (uchar(s[++i]) & 0x3F);
            const bool evenCapital = (cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177);
            const bool oddCapital = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
            if ((evenCapital && cp % 2 == 0) || (oddCapital && cp % 2 == 1))
                ++cp;
            out[n++] = char(0xC0 | (cp >> 6));
            out[n++] = char(0x80 | (cp & 0x3F));
        } else if (c == 0xD0 && i + 1 < s.size()) {
            const uchar d = uchar(s[++i]);
            if (d >= 0x90 && d <= 0x9F) {
                out[n++] = char(0xD0);
                out[n++] = char(d + 0x20);
            } else if (d >= 0xA0 && d <= 0xAF) {
                out[n++] = char(0xD1);
                out[n++] = char(d - 0x20);
            } else {
                out[n++] = char(c);
                out[n++] = char(d);
            }
        } else {
            out[n++] = char(c);
        }
    }
    return n;
}

const QHash<QByteArray, int> &monthTable()
{
    static const QHash<QByteArray, int> table = [] {
        // Abbreviations and full names as "ls" prints them in the languages
        // FTP servers are set up in.
        static const char *const names[12] = {
            "jan january januar jänner jän janv janvier ene enero gen gennaio januari január janeiro "
            "sty styczeń stycznia tammi tammikuu led leden oca ocak ian ianuarie янв январь января",
            "feb february februar févr fév fevr fev février fevrier febrero febbraio februari febr február "
            "fevereiro lut luty lutego helmi helmikuu úno únor şub şubat фев февраль февраля",
            "mar march mär mrz märz mars marzo mrt maart márc már március março marts marzec marca maalis "
            "maaliskuu bře březen mart martie мар март марта",
            "apr april avr avril abr abril aprile ápr április kwi kwiecień kwietnia huhti huhtikuu dub duben "
            "nis nisan aprilie апр апрель апреля",
            "may mai mayo mag maggio mei maj máj május maio touko toukokuu kvě květen mayıs май мая",
            "jun june juni juin junio giu giugno jún június junho cze czerwiec czerwca kesä kesäkuu čer červen "
            "haz haziran iun iunie июн июнь июня",
            "jul july juli juil juillet julio lug luglio júl július julho lip lipiec lipca heinä heinäkuu "
            "čvc červenec tem temmuz iul iulie июл июль июля",
            "aug august août aout ago agosto augustus augusztus augusti sie sierpień sierpnia elo elokuu "
            "srp srpen ağu ağustos august авг август августа",
            "sep sept september septembre septiembre setiembre set settembre szept szep szeptember setembro "
            "wrz wrzesień września syys syyskuu zář září eyl eylül septembrie сен сент сентябрь сентября",
            "oct october okt oktober octobre octubre ott ottobre október out outubro paź październik "
            "października loka lokakuu říj říjen eki ekim octombrie окт октябрь октября",
            "nov november novembre noviembre novembro lis listopad listopada marras marraskuu kas kasım "
            "noi noiembrie ноя нояб ноябрь ноября",
            "dec december dez dezember déc décembre decembre dic diciembre dicembre dezembro des desember "
            "gru grudzień grudnia joulu joulukuu pro prosinec ara aralık decembrie дек декабрь декабря",
        };
        QHash<QByteArray, int> t;
        for (int m = 0; m < 12; ++m)
            for (const QByteArray &name : QByteArray(names[m]).split(' '))
                t.insert(name, m + 1);
        return t;
    }();
    return table;
}

} // namespace

int monthFromName(QByteArrayView s)
{
    if (s.size() == 3) {
        // The common case first: English, three letters.
        static const char names[] = "janfebmaraprmayjunjulaugsepoctnovdec";
        const char a = char(s[0] | 0x20), b = char(s[1] | 0x20), c = char(s[2] | 0x20);
        for (int i = 0; i < 12; ++i)
            if (names[3 * i] == a && names[3 * i + 1] == b && names[3 * i + 2] == c)
                return i + 1;
    }
    if (s.size() < 2 || s.size() > 24)
        return 0;
    if (isDigit(s[0])) {
        // "1月" (Chinese, Japanese) and "1월" (Korean).
        qsizetype i = 0;
        int month = 0;
        while (i < s.size() && isDigit(s[i]) && i < 2)
            month = month * 10 + (s[i++] - '0');
        const QByteArrayView rest = s.sliced(i);
        if (month >= 1 && month <= 12 && (rest == QByteArrayView("月") || rest == QByteArrayView("월")))
            return month;
        return 0;
    }
    char folded[64];
    const qsizetype n = foldWord(s, folded);
    return monthTable().value(QByteArray::fromRawData(folded, n), 0);
}

// ---- clocks and dates -----------------------------------------------------------------------

bool parseClock(QByteArrayView s, QTime &time, bool &nextDay, bool &hasSeconds)
{
    qint64 part[3] = {0, 0, 0};
    int count = 0;
    qsizetype start = 0;
    int millis = 0;
    const qsizetype dot = s.indexOf('.');
    if (dot > 0) {
        // hh:mm:ss.fff: the fraction is kept to the millisecond
        const QByteArrayView fraction = s.sliced(dot + 1);
        if (!allDigits(fraction) || fraction.size() > 9)
            return false;
        for (int i = 0; i < 3; ++i)
            millis = millis * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
        s = s.first(dot);
    }
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] != ':')
            continue;
        const QByteArrayView field = s.sliced(start, i - start);
        if (count == 3 || field.size() > 2 || !toNumber(field, part[count]) || (count > 0 && field.size() != 2))
            return false;
        ++count;
        start = i + 1;
    }
    if (count < 2 || (dot > 0 && count < 3))
        return false;
    hasSeconds = count == 3;
    nextDay = part[0] == 24 && part[1] == 0 && part[2] == 0 && millis == 0;
    time = nextDay ? QTime(0, 0) : QTime(int(part[0]), int(part[1]), int(part[2]), millis);
    return time.isValid();
}

bool parseClock(QByteArrayView s, QTime &time, bool &nextDay)
{
    bool seconds = false;
    return parseClock(s, time, nextDay, seconds);
}

bool splitNumericDate(QByteArrayView s, std::array<qint64, 3> &parts, std::array<int, 3> &widths, char &sep)
{
    int index = 0;
    qsizetype start = 0;
    sep = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i < s.size() && isDigit(s[i]))
            continue;
        if (i < s.size()) {
            if (sep == 0 && (s[i] == '-' || s[i] == '/' || s[i] == '.'))
                sep = s[i];
            if (s[i] != sep)
                return false;
        }
        const QByteArrayView field = s.sliced(start, i - start);
        if (index > 2 || field.size() > 4 || !toNumber(field, parts[size_t(index)]))
            return false;
        widths[size_t(index)] = int(field.size());
        ++index;
        start = i + 1;
    }
    return index == 3;
}

int fullYear(qint64 y, int width)
{
    if (width >= 3)
        return int(y);
    return int(y < 70 ? 2000 + y : 1900 + y);
}

Clock Clock::at(const QDateTime &now)
{
    Clock c;
    const QDateTime local = now.toLocalTime();
    c.nowWall = local.date().toJulianDay() * 86400 + local.time().msecsSinceStartOfDay() / 1000;
    c.nowYear = local.date().year();
    return c;
}

int yearOfRecent(const Clock &clock, int month, int day, const QTime &time)
{
    const QDate thisYear(clock.nowYear, month, day);
    const qint64 wall = thisYear.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
    if (!thisYear.isValid() || wall > clock.nowWall + 2 * 86400)
        return clock.nowYear - 1;
    return clock.nowYear;
}

FileTime utcFileTime(const QDate &date, const QTime &time)
{
    if (!date.isValid())
        return 0;
    constexpr qint64 kUnixEpochJulianDay = 2440588;
    constexpr qint64 kEpochDelta = 116444736000000000LL; // 1601 to 1970 in 100 ns units
    const qint64 ms = (date.toJulianDay() - kUnixEpochJulianDay) * 86400000 + time.msecsSinceStartOfDay();
    const qint64 ticks = ms * 10000 + kEpochDelta;
    return ticks < 0 ? 0 : FileTime(ticks);
}

namespace {

// Server clock times are shown as listed: they are taken as this machine's
// local time. Converting local time asks the C library, which reads the zone
// file on every call; a listing of thousands of entries needs a handful of
// hours, so the offsets are remembered per hour.
FileTime localFileTime(const QDate &date, const QTime &time)
{
    thread_local QHash<qint64, int> offsets;
    const qint64 key = date.toJulianDay() * 24 + time.hour();
    auto it = offsets.constFind(key);
    if (it == offsets.constEnd()) {
        if (offsets.size() > 4096)
            offsets.clear();
        it = offsets.insert(key, QDateTime(date, QTime(time.hour(), 0)).offsetFromUtc());
    }
    const FileTime wall = utcFileTime(date, time);
    const qint64 ticks = qint64(wall) - qint64(it.value()) * 10000000;
    return wall == 0 || ticks < 0 ? 0 : FileTime(ticks);
}

bool dayNumber(QByteArrayView s, int &day)
{
    if (!s.isEmpty() && (s.back() == '.' || s.back() == ','))
        s.chop(1);
    else if (s.endsWith(QByteArrayView("日")) || s.endsWith(QByteArrayView("일")))
        s.chop(3); // "15日" (Japanese, Chinese), "15일" (Korean)
    qint64 v = 0;
    if (s.size() > 2 || !toNumber(s, v) || v < 1 || v > 31)
        return false;
    day = int(v);
    return true;
}

bool yearNumber(QByteArrayView s, int &year)
{
    if (!s.isEmpty() && s.back() == '.')
        s.chop(1);
    qint64 v = 0;
    if (s.size() != 4 || !toNumber(s, v) || v < 1900 || v > 2200)
        return false;
    year = int(v);
    return true;
}

// "+0100", "-05:30" or "Z" after an ISO time.
bool zoneOffset(QByteArrayView s, int &seconds)
{
    if (s == QByteArrayView("Z") || s == QByteArrayView("UTC")) {
        seconds = 0;
        return true;
    }
    if (s.size() < 5 || (s[0] != '+' && s[0] != '-'))
        return false;
    QByteArray digits = s.sliced(1).toByteArray();
    digits.replace(":", "");
    qint64 v = 0;
    if (digits.size() != 4 || !toNumber(digits, v))
        return false;
    seconds = int(v / 100 * 3600 + v % 100 * 60) * (s[0] == '-' ? -1 : 1);
    return true;
}

// A clock in word k when a word follows it (the name): sets the time.
bool optionalClock(const Line &line, size_t k, Stamp &stamp, size_t &last, bool *seconds = nullptr)
{
    bool hasSeconds = false;
    if (k + 1 >= line.count() || !parseClock(line.word(k), stamp.time, stamp.nextDay, hasSeconds))
        return false;
    last = k;
    if (seconds)
        *seconds = hasSeconds;
    return true;
}

// After "Mon dd" (or "dd Mon"), word k holds the year or the time.
bool yearOrClock(const Line &line, size_t k, const Clock &clock, int month, int day, Stamp &stamp, size_t &last)
{
    int year = 0;
    if (yearNumber(line.word(k), year)) {
        last = k;
        optionalClock(line, k + 1, stamp, last); // "Jan 5 2020 12:30"
        stamp.date = QDate(year, month, day);
        return stamp.date.isValid();
    }
    bool seconds = false;
    if (!optionalClock(line, k, stamp, last, &seconds))
        return false;
    // "Jan 5 12:30:45 2020": a year after a time only with its seconds, so
    // that a name starting with a number is not taken for one.
    if (seconds && k + 2 < line.count() && yearNumber(line.word(k + 1), year)) {
        last = k + 1;
    } else {
        year = yearOfRecent(clock, month, day, stamp.time);
    }
    stamp.date = QDate(year, month, day);
    return stamp.date.isValid();
}

bool numericDateAt(const Line &line, size_t k, Stamp &stamp, size_t &last)
{
    std::array<qint64, 3> p{};
    std::array<int, 3> w{};
    char sep = 0;
    if (!splitNumericDate(line.word(k), p, w, sep))
        return false;
    if (w[0] == 4) {
        stamp.date = QDate(int(p[0]), int(p[1]), int(p[2]));
    } else if (w[2] == 4) {
        // "1999/10/12" above; "24-04-2003" day first, "04/24/2003" month first
        const bool monthFirst = (sep == '/' && p[0] <= 12) || p[1] > 12;
        stamp.date = monthFirst ? QDate(int(p[2]), int(p[0]), int(p[1])) : QDate(int(p[2]), int(p[1]), int(p[0]));
    } else {
        return false;
    }
    if (!stamp.date.isValid())
        return false;
    last = k;
    if (optionalClock(line, k + 1, stamp, last) && k + 3 < line.count()) {
        int offset = 0;
        if (zoneOffset(line.word(k + 2), offset)) {
            stamp.offsetSecs = offset;
            stamp.utc = true;
            last = k + 2;
        }
    }
    return true;
}

} // namespace

bool unixDateAt(const Line &line, size_t k, const Clock &clock, Stamp &stamp, size_t &last, bool numericMonth)
{
    const QByteArrayView w = line.word(k);
    if (w.isEmpty())
        return false;
    stamp = Stamp();
    int day = 0, year = 0, month = 0;
    if (isDigit(w[0])) {
        // Most words tried here are numbers (links, owners, sizes); a date
        // starting with a digit is numeric, a day, a year or "1月".
        qsizetype digits = 1;
        while (digits < w.size() && isDigit(w[digits]))
            ++digits;
        const char next = digits < w.size() ? w[digits] : 0;
        if (next == '-' || next == '/' || (next == '.' && digits + 1 < w.size()))
            return numericDateAt(line, k, stamp, last);
        if (uchar(next) >= 0x80) {
            month = monthFromName(w); // "1月 15 12:30"
            return month > 0 && dayNumber(line.word(k + 1), day)
                   && yearOrClock(line, k + 2, clock, month, day, stamp, last);
        }
        if (digits <= 2 && dayNumber(w, day)) {
            // "5 Jan 2020", "5. Mär 12:30"
            month = monthFromName(line.word(k + 1));
            if (month > 0)
                return yearOrClock(line, k + 2, clock, month, day, stamp, last);
            // "1 15 12:30", "12 3 2019"
            month = day;
            return numericMonth && month <= 12 && dayNumber(line.word(k + 1), day)
                   && yearOrClock(line, k + 2, clock, month, day, stamp, last);
        }
        if (digits == 4 && w.size() == 5 && yearNumber(w, year)) {
            // "2020. jan. 5." (Hungarian); the dot tells the year from a
            // size of four digits before "Jan 1 2020"
            month = monthFromName(line.word(k + 1));
            if (month == 0 || !dayNumber(line.word(k + 2), day))
                return false;
            last = k + 2;
            optionalClock(line, k + 3, stamp, last);
            stamp.date = QDate(year, month, day);
            return stamp.date.isValid();
        }
        return false;
    }
    // "Jan 5 12:30", "Jan 5 2020", "Jan 05, 2020 12:30"
    month = monthFromName(w);
    return month > 0 && dayNumber(line.word(k + 1), day) && yearOrClock(line, k + 2, clock, month, day, stamp, last);
}

FileTime fileTimeOf(const Stamp &stamp)
{
    if (!stamp.date.isValid())
        return 0;
    const QDate date = stamp.nextDay ? stamp.date.addDays(1) : stamp.date;
    if (stamp.utc) {
        const qint64 ticks = qint64(utcFileTime(date, stamp.time)) - qint64(stamp.offsetSecs) * 10000000;
        return ticks < 0 ? 0 : FileTime(ticks);
    }
    return localFileTime(date, stamp.time);
}

void setTime(FindRecord &out, FileTime t)
{
    out.creationTime = out.lastAccessTime = out.lastWriteTime = t;
    out.timeKnown = t != 0;
}

void setName(FindRecord &out, QByteArrayView bytes)
{
    out.name = decodeName(bytes);
}

} // namespace inet::listing
