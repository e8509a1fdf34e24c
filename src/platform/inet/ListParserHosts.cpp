// Listings of minicomputers and midrange systems: VMS, OS/400, Tandem
// (HP NonStop) and OS-9.
#include "platform/inet/ListParser_p.h"

namespace inet::listing {

namespace {

// "NAME.EXT;3", also "DISK$USER:[JOHN.SUB]NAME.EXT;3". Folders are
// "NAME.DIR;1" and are shown (and entered) by their name alone.
bool vmsName(QByteArrayView word, QByteArrayView &name, bool &folder)
{
    const qsizetype bracket = qMax(word.lastIndexOf(']'), word.lastIndexOf('>'));
    if (bracket >= 0)
        word = word.sliced(bracket + 1);
    const qsizetype semicolon = word.lastIndexOf(';');
    if (semicolon < 1 || semicolon + 1 >= word.size() || !allDigits(word.sliced(semicolon + 1)))
        return false;
    const QByteArrayView stem = word.first(semicolon);
    if (!stem.contains('.'))
        return false;
    for (char c : stem)
        if (!(isDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || QByteArrayView("$_-.~^").contains(c)))
            return false;
    folder = stem.size() > 4 && stem.last(4).compare(QByteArrayView(".DIR"), Qt::CaseInsensitive) == 0;
    name = folder ? stem.first(stem.size() - 4) : word;
    return true;
}

// "25-MAR-2004 10:15:23" after a size in blocks ("6/8" used of allocated).
bool vmsDetails(const Line &line, size_t k, FindRecord &out)
{
    const QByteArrayView blocks = line.word(k);
    const qsizetype slash = blocks.indexOf('/');
    qint64 used = 0, allocated = 0;
    if (!toNumber(slash < 0 ? blocks : blocks.first(slash), used)
        || (slash >= 0 && !toNumber(blocks.sliced(slash + 1), allocated)))
        return false;
    const QByteArrayView d = line.word(k + 1);
    const qsizetype dash1 = d.indexOf('-'), dash2 = d.lastIndexOf('-');
    qint64 day = 0, year = 0;
    if (dash1 < 1 || dash2 <= dash1 + 1 || !toNumber(d.first(dash1), day) || !toNumber(d.sliced(dash2 + 1), year))
        return false;
    const int month = monthFromName(d.sliced(dash1 + 1, dash2 - dash1 - 1));
    Stamp stamp;
    stamp.date = QDate(fullYear(year, int(d.size() - dash2 - 1)), month, int(day));
    if (month == 0 || !stamp.date.isValid() || !parseClock(line.word(k + 2), stamp.time, stamp.nextDay))
        return false;
    out.size = used * 512;
    out.sizeKnown = true;
    out.sizeRough = true; // blocks of 512 bytes, the last one partly used
    setTime(out, fileTimeOf(stamp));
    return true;
}

bool as400Date(QByteArrayView s, QDate &date)
{
    std::array<qint64, 3> p{};
    std::array<int, 3> w{};
    char sep = 0;
    if (!splitNumericDate(s, p, w, sep))
        return false;
    // The server job decides: MDY, DMY or YMD; the numbers tell which.
    if (w[0] == 4 || p[0] > 31)
        date = QDate(fullYear(p[0], w[0]), int(p[1]), int(p[2]));
    else if (sep == '.' || p[0] > 12)
        date = QDate(fullYear(p[2], w[2]), int(p[1]), int(p[0]));
    else
        date = QDate(fullYear(p[2], w[2]), int(p[0]), int(p[1]));
    return date.isValid();
}

bool isObjectType(QByteArrayView w)
{
    if (w.size() < 3 || w.size() > 11 || w[0] != '*')
        return false;
    for (char c : w.sliced(1))
        if (!(c >= 'A' && c <= 'Z') && !isDigit(c))
            return false;
    return true;
}

} // namespace

Outcome parseVms(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    const QByteArrayView w0 = line.word(0);
    if (w0 == QByteArrayView("Directory") && n == 2 && (line.word(1).contains('[') || line.word(1).contains(':')))
        return Outcome::Skip; // "Directory DISK$USER:[JOHN]"
    if ((w0 == QByteArrayView("Total") && line.word(1) == QByteArrayView("of"))
        || (w0 == QByteArrayView("Grand") && line.word(1) == QByteArrayView("total")))
        return Outcome::Skip; // "Total of 3 files, 14/19 blocks."
    QByteArrayView name;
    bool folder = false;
    if (n == 0 || line.indented() || !vmsName(w0, name, folder))
        return Outcome::No;
    out = FindRecord();
    out.attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    setName(out, name);
    if (n == 1)
        return Outcome::Pending; // the rest comes on the next line
    // "%RMS-E-PRV, insufficient privilege": listed, details unknown.
    if (line.word(1).startsWith('%'))
        return Outcome::Entry;
    return vmsDetails(line, 1, out) ? Outcome::Entry : Outcome::No;
}

bool parseVmsContinuation(const Line &line, FindRecord &out)
{
    return line.indented() && line.count() >= 3 && vmsDetails(line, 0, out);
}

// OS/400: "OWNER  5263360 06/11/97 12:27:39 *FILE  NAME"; the owner is blank
// for anonymous users, and members have neither size nor date.
Outcome parseAs400(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    size_t type = 0;
    while (type < n && type <= 4 && !isObjectType(line.word(type)))
        ++type;
    if (n < 2 || type + 1 >= n || type > 4 || type == 2)
        return Outcome::No;
    out = FindRecord();
    if (type >= 3) {
        QDate date;
        QTime time;
        bool nextDay = false;
        if (!toNumber(line.word(type - 3), out.size) || !as400Date(line.word(type - 2), date)
            || !parseClock(line.word(type - 1), time, nextDay))
            return Outcome::No;
        out.sizeKnown = true;
        setTime(out, fileTimeOf({date, time}));
    }
    const QByteArrayView kind = line.word(type);
    QByteArrayView name = line.from(type + 1);
    const bool slash = name.endsWith('/');
    if (slash)
        name.chop(1);
    if (slash || kind == QByteArrayView("*DIR") || kind == QByteArrayView("*LIB") || kind == QByteArrayView("*FLR")
        || kind == QByteArrayView("*DDIR"))
        out.attributes = FILE_ATTRIBUTE_DIRECTORY;
    else if (kind != QByteArrayView("*FILE"))
        out.attributes = FILE_ATTRIBUTE_NORMAL;
    // a *FILE holds members when it is a database file, data when it is a
    // save file: only the server can tell
    setName(out, name);
    return out.name.isEmpty() ? Outcome::No : Outcome::Entry;
}

// Tandem (Guardian): "FILENAME  101  1024  18-Sep-02 14:25:45  255,10 \"oooo\"".
Outcome parseTandem(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    const QByteArrayView w0 = line.word(0);
    if (w0 == QByteArrayView("File") && line.word(1) == QByteArrayView("Code") && line.word(2) == QByteArrayView("EOF"))
        return Outcome::Skip;
    if (n < 5 || w0.isEmpty() || w0.size() > 8 || !(w0[0] >= 'A' && w0[0] <= 'Z'))
        return Outcome::No;
    for (char c : w0)
        if (!(c >= 'A' && c <= 'Z') && !isDigit(c))
            return Outcome::No;
    QByteArrayView code = line.word(1);
    if (code.endsWith('O'))
        code.chop(1); // an open file's code carries an O
    qint64 number = 0, eof = 0;
    const QByteArrayView d = line.word(3);
    const qsizetype dash1 = d.indexOf('-'), dash2 = d.lastIndexOf('-');
    qint64 day = 0, year = 0;
    if (!toNumber(code, number) || !toNumber(line.word(2), eof) || dash1 < 1 || dash2 <= dash1 + 1
        || !toNumber(d.first(dash1), day) || !toNumber(d.sliced(dash2 + 1), year))
        return Outcome::No;
    Stamp stamp;
    const int month = monthFromName(d.sliced(dash1 + 1, dash2 - dash1 - 1));
    stamp.date = QDate(fullYear(year, int(d.size() - dash2 - 1)), month, int(day));
    if (month == 0 || !stamp.date.isValid() || !parseClock(line.word(4), stamp.time, stamp.nextDay))
        return Outcome::No;
    out = FindRecord();
    out.attributes = FILE_ATTRIBUTE_NORMAL;
    out.size = eof;
    out.sizeKnown = true;
    setTime(out, fileTimeOf(stamp));
    setName(out, w0);
    return Outcome::Entry;
}

// OS-9 ("dir -e"): "  0.0  03/04/15 1200  d-ewrewr  4C  140  CMDS": owner
// (group.user), date, time, attributes, sector and byte count in hex.
Outcome parseOs9(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    const QByteArrayView w0 = line.word(0);
    if ((w0 == QByteArrayView("Owner") && line.text().contains(QByteArrayView("Bytecount")))
        || (w0 == QByteArrayView("Directory") && line.word(1) == QByteArrayView("of")))
        return Outcome::Skip;
    const qsizetype dot = w0.indexOf('.');
    if (n < 7 || dot < 1 || !allDigits(w0.first(dot)) || !allDigits(w0.sliced(dot + 1)))
        return Outcome::No;
    std::array<qint64, 3> p{};
    std::array<int, 3> w{};
    char sep = 0;
    const QByteArrayView clock = line.word(2), attributes = line.word(3);
    qint64 hhmm = 0, sector = 0, bytes = 0;
    if (!splitNumericDate(line.word(1), p, w, sep) || sep != '/' || clock.size() != 4 || !toNumber(clock, hhmm)
        || attributes.size() != 8 || !toHexNumber(line.word(4), sector) || !toHexNumber(line.word(5), bytes))
        return Outcome::No;
    for (qsizetype i = 0; i < attributes.size(); ++i)
        if (attributes[i] != '-' && attributes[i] != "dsewrewr"[i])
            return Outcome::No;
    Stamp stamp;
    stamp.date = QDate(fullYear(p[0], w[0]), int(p[1]), int(p[2]));
    stamp.time = QTime(int(hhmm / 100), int(hhmm % 100));
    if (!stamp.date.isValid() || !stamp.time.isValid())
        return Outcome::No;
    out = FindRecord();
    out.attributes = attributes[0] == 'd' ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    out.size = bytes;
    out.sizeKnown = true;
    setTime(out, fileTimeOf(stamp));
    setName(out, line.from(6));
    return Outcome::Entry;
}

} // namespace inet::listing
