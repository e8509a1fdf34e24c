// "ls -l" and the listings built like it: Unix servers in every locale, the
// NetPresenz form of old Macintosh servers, numeric permissions, NetWare and
// Connect:Enterprise mailboxes.
#include "platform/inet/ListParser_p.h"

namespace inet::listing {

namespace {

// "-rw-r--r--", "drwxr-xr-x+", "lrwxrwxrwx@": the kind, then nine
// permission letters (with the set-id and sticky forms). Every line of a
// Unix listing passes here: no search, one switch per letter.
bool symbolicMode(QByteArrayView s, char &kind)
{
    if (s.size() < 10)
        return false;
    switch (s[0]) {
    case '-': case 'd': case 'l': case 'c': case 'b': case 'p': case 's': case 'D': case 'n': case 'w':
    case 'm': case 'M': case '?':
        break;
    default:
        return false;
    }
    for (int i = 1; i < 10; ++i) {
        switch (s[i]) {
        case 'r': case 'w': case 'x': case 's': case 'S': case 't': case 'T': case 'l': case 'L': case '-':
            break;
        default:
            return false;
        }
    }
    // what may follow: an ACL, extended attributes, a security context
    for (qsizetype i = 10; i < s.size(); ++i)
        if (s[i] != '+' && s[i] != '@' && s[i] != '.' && s[i] != '*')
            return false;
    kind = s[0];
    return true;
}

// "644", "0755" (permissions alone) or "100644", "40755", "120777" (with the
// kind bits of stat()).
bool numericMode(QByteArrayView s, char &kind)
{
    if (s.size() < 3 || s.size() > 7)
        return false;
    qint64 mode = 0;
    for (char c : s) {
        if (c < '0' || c > '7')
            return false;
        mode = mode * 8 + (c - '0');
    }
    if (s.size() <= 4) {
        kind = '?';
        return true;
    }
    switch (mode >> 12) {
    case 004: kind = 'd'; return true;
    case 010: kind = '-'; return true;
    case 012: kind = 'l'; return true;
    case 001: case 002: case 006: case 014: kind = 'c'; return true; // fifo, devices, socket
    default: return false;
    }
}

quint32 attributesOf(char kind)
{
    switch (kind) {
    case 'd': return FILE_ATTRIBUTE_DIRECTORY;
    case 'l': return FILE_ATTRIBUTE_REPARSE_POINT;
    case '?': return 0;
    default: return FILE_ATTRIBUTE_NORMAL;
    }
}

// The size before a date: a number, a number with a unit, or the digits
// that end a group name written without a blank before them
// ("staff12345").
bool sizeBefore(const Line &line, size_t k, qint64 &size, bool &rough)
{
    const QByteArrayView w = line.word(k - 1);
    if (toSize(w, size, rough))
        return true;
    if (k < 3 || w.isEmpty() || !isDigit(w.back()))
        return false;
    qsizetype start = w.size();
    while (start > 0 && isDigit(w[start - 1]))
        --start;
    rough = false;
    return start > 0 && toNumber(w.sliced(start), size);
}

// Name and link target of the text after the date.
bool takeName(QByteArrayView name, char kind, FindRecord &out)
{
    if (name.isEmpty())
        return false;
    if (kind == 'l') {
        const qsizetype arrow = name.indexOf(QByteArrayView(" -> "));
        if (arrow > 0) {
            out.linkTarget = decodeName(name.sliced(arrow + 4));
            name = name.first(arrow);
        }
    }
    setName(out, name);
    return !out.name.isEmpty();
}

bool looksLikeDate(QByteArrayView w)
{
    std::array<qint64, 3> p{};
    std::array<int, 3> widths{};
    char sep = 0;
    QTime time;
    bool nextDay = false;
    return monthFromName(w) > 0 || splitNumericDate(w, p, widths, sep) || parseClock(w, time, nextDay);
}

// A listing without dates: "mode [links] owner [group] size name", the size
// being the first number after a word that is not one, in the place a size
// takes there.
bool undatedEntry(const Line &line, size_t first, char kind, FindRecord &out)
{
    for (size_t k = first + 2; k <= first + 4 && k + 1 < line.count(); ++k) {
        qint64 size = 0;
        if (!allDigits(line.word(k - 1)) && toNumber(line.word(k), size)) {
            if (looksLikeDate(line.word(k + 1)))
                return false; // a date whose line ends too early
            out.size = size;
            out.sizeKnown = kind != 'c' && kind != 'b';
            return takeName(line.after(k), kind, out);
        }
    }
    return false;
}

// "... size date name": the first word from which a size and a date follow
// one another. Skip when no such place is found.
Outcome datedEntry(const Line &line, size_t first, char kind, const Context &ctx, bool numericMonth, FindRecord &out)
{
    const size_t n = line.count();
    for (size_t k = first + 2; k + 1 < n; ++k) {
        qint64 size = 0;
        bool rough = false;
        if (!sizeBefore(line, k, size, rough))
            continue;
        Stamp stamp;
        size_t last = 0;
        if (!unixDateAt(line, k, ctx.clock, stamp, last, numericMonth))
            continue;
        if (last + 1 >= n)
            return Outcome::No;
        // Devices show "major, minor" where the size would be, and the
        // NetPresenz form the number of items in a folder.
        out.sizeKnown = kind != 'c' && kind != 'b' && !(kind == 'd' && line.word(k - 2) == QByteArrayView("folder"));
        out.size = out.sizeKnown ? size : 0;
        out.sizeRough = rough;
        setTime(out, fileTimeOf(stamp));
        return takeName(line.after(last), kind, out) ? Outcome::Entry : Outcome::No;
    }
    return Outcome::Skip;
}

} // namespace

Outcome parseUnix(const Line &line, const Context &ctx, FindRecord &out)
{
    const size_t n = line.count();
    if (n < 2)
        return Outcome::No;
    const QByteArrayView w0 = line.word(0);
    if (n == 2 && w0 == QByteArrayView("total"))
        return Outcome::Skip; // "total 48"
    char kind = 0;
    size_t first = 0; // the word holding the mode
    if (!symbolicMode(w0, kind) && !numericMode(w0, kind)) {
        // "ls -li": an inode number before the mode
        if (n < 4 || !allDigits(w0) || !symbolicMode(line.word(1), kind))
            return Outcome::No;
        first = 1;
    }
    out = FindRecord();
    out.attributes = attributesOf(kind);
    for (const bool numericMonth : {false, true}) {
        const Outcome dated = datedEntry(line, first, kind, ctx, numericMonth, out);
        if (dated != Outcome::Skip)
            return dated;
    }
    return undatedEntry(line, first, kind, out) ? Outcome::Entry : Outcome::No;
}

// NetWare: "d [RWCEAFMS] owner 512 Jan 16 18:53 name".
Outcome parseNetWare(const Line &line, const Context &ctx, FindRecord &out)
{
    const QByteArrayView kind = line.word(0), rights = line.word(1);
    if (line.count() < 7 || kind.size() != 1 || (kind[0] != 'd' && kind[0] != '-') || rights.size() < 3
        || rights[0] != '[' || rights.back() != ']')
        return Outcome::No;
    qint64 size = 0;
    Stamp stamp;
    size_t last = 0;
    if (!toNumber(line.word(3), size) || !unixDateAt(line, 4, ctx.clock, stamp, last) || last + 1 >= line.count())
        return Outcome::No;
    out = FindRecord();
    out.attributes = kind[0] == 'd' ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    out.size = size;
    out.sizeKnown = true;
    setTime(out, fileTimeOf(stamp));
    setName(out, line.from(last + 1)); // the columns are padded
    return out.name.isEmpty() ? Outcome::No : Outcome::Entry;
}

// Connect:Enterprise: "-A-R------ 1 MAILBOX 0692432 7 Mar 3 15:33 name":
// ten status flags, the batch type, the mailbox, the batch number, a count
// of blocks (not bytes), the processing date and the batch's name.
Outcome parseConnectEnterprise(const Line &line, const Context &ctx, FindRecord &out)
{
    const QByteArrayView flags = line.word(0);
    if (line.count() < 8 || flags.size() != 10)
        return Outcome::No;
    bool letter = false;
    for (char c : flags) {
        if (c >= 'A' && c <= 'Z')
            letter = true;
        else if (c != '-')
            return Outcome::No;
    }
    qint64 number = 0;
    if (!letter || !allDigits(line.word(1)) || !toNumber(line.word(3), number) || !toNumber(line.word(4), number))
        return Outcome::No;
    Stamp stamp;
    size_t last = 0;
    if (!unixDateAt(line, 5, ctx.clock, stamp, last) || last + 1 >= line.count())
        return Outcome::No;
    out = FindRecord();
    out.attributes = FILE_ATTRIBUTE_NORMAL;
    setTime(out, fileTimeOf(stamp));
    setName(out, line.from(last + 1));
    return out.name.isEmpty() ? Outcome::No : Outcome::Entry;
}

} // namespace inet::listing
