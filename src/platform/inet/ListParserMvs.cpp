// MVS (z/OS): the datasets of a qualifier, and the members of a partitioned
// dataset, with ISPF statistics, as load modules, or as bare names.
#include "platform/inet/ListParser_p.h"

namespace inet::listing {

namespace {

// "2003/05/13", "07/16/97"; "**NONE**" for a dataset never referred to.
bool mvsDate(QByteArrayView s, QDate &date)
{
    std::array<qint64, 3> p{};
    std::array<int, 3> w{};
    char sep = 0;
    if (!splitNumericDate(s, p, w, sep) || sep != '/')
        return false;
    date = w[0] == 4 ? QDate(int(p[0]), int(p[1]), int(p[2])) : QDate(fullYear(p[2], w[2]), int(p[0]), int(p[1]));
    return date.isValid();
}

bool isDsorg(QByteArrayView s)
{
    static const char *const orgs[] = {"PS", "PO", "PO-E", "DA", "IS", "VS", "HFS", "GDG", "PS-E", "U"};
    for (const char *org : orgs)
        if (s == QByteArrayView(org))
            return true;
    return false;
}

// 1 to 8 of A-Z, 0-9, @ # $, not starting with a digit.
bool isMemberName(QByteArrayView s)
{
    if (s.isEmpty() || s.size() > 8 || isDigit(s[0]))
        return false;
    for (char c : s)
        if (!(c >= 'A' && c <= 'Z') && !isDigit(c) && c != '@' && c != '#' && c != '$')
            return false;
    return true;
}

Outcome named(FindRecord &out, QByteArrayView name, quint32 attributes)
{
    out = FindRecord();
    out.attributes = attributes;
    setName(out, name);
    return Outcome::Entry;
}

} // namespace

// "Volume Unit Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname", then
// "WYNK01 3390 2003/05/13 1 15 FB 80 6160 PO BIS.CNTL". Partitioned
// datasets (PO) are entered like folders. Sizes are in tracks: unknown.
Outcome parseMvsDataset(const Line &line, const Context &, FindRecord &out)
{
    const size_t n = line.count();
    const QByteArrayView w0 = line.word(0);
    if (w0 == QByteArrayView("Volume") && line.word(1) == QByteArrayView("Unit"))
        return Outcome::Skip;
    if (n == 2 && w0 == QByteArrayView("Migrated"))
        return named(out, line.word(1), FILE_ATTRIBUTE_NORMAL);
    if (n == 3 && w0 == QByteArrayView("Pseudo") && line.word(1) == QByteArrayView("Directory"))
        return named(out, line.word(2), FILE_ATTRIBUTE_DIRECTORY);
    if (n >= 3 && line.word(1) == QByteArrayView("Not") && line.word(2) == QByteArrayView("Direct"))
        return named(out, line.word(n - 1), FILE_ATTRIBUTE_NORMAL); // on tape
    if (n < 7 || !isDsorg(line.word(n - 2)))
        return Outcome::No;
    QDate date;
    const QByteArrayView referred = line.word(2);
    if (referred != QByteArrayView("**NONE**") && !mvsDate(referred, date))
        return Outcome::No;
    qint64 number = 0;
    if (!toNumber(line.word(3), number) || !toNumber(line.word(4), number))
        return Outcome::No;
    const QByteArrayView dsorg = line.word(n - 2);
    named(out, line.word(n - 1), dsorg.startsWith("PO") ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
    setTime(out, fileTimeOf({date, QTime(0, 0)}));
    return Outcome::Entry;
}

// " Name     VV.MM   Created       Changed      Size  Init   Mod   Id", then
// "MEMBER1   01.01 2002/09/12 2002/09/12 11:34    20    20     0 USER1"
// (sizes in lines: unknown); a load library gives " Name  Size  TTR ..."
// and "IEFBR14  000008  00000F ..." (sizes in hex bytes); members without
// statistics are bare names.
Outcome parseMvsMember(const Line &line, const Context &ctx, FindRecord &out)
{
    const size_t n = line.count();
    const QByteArrayView w0 = line.word(0), w1 = line.word(1);
    if (w0 == QByteArrayView("Name") && (w1 == QByteArrayView("VV.MM") || w1 == QByteArrayView("Size")))
        return Outcome::Skip;
    if (!isMemberName(w0) || line.indented())
        return Outcome::No;
    if (n == 1)
        return ctx.previous == Format::MvsMember ? named(out, w0, FILE_ATTRIBUTE_NORMAL) : Outcome::No;
    qint64 size = 0, ttr = 0;
    if (n >= 3 && w1.size() == 6 && line.word(2).size() == 6 && toHexNumber(w1, size) && toHexNumber(line.word(2), ttr)) {
        named(out, w0, FILE_ATTRIBUTE_NORMAL);
        out.size = size;
        out.sizeKnown = true;
        return Outcome::Entry;
    }
    QDate created, changed;
    Stamp stamp;
    const bool version = w1.size() == 5 && w1[2] == '.' && allDigits(w1.first(2)) && allDigits(w1.last(2));
    if (n < 6 || !version || !mvsDate(line.word(2), created) || !mvsDate(line.word(3), changed)
        || !parseClock(line.word(4), stamp.time, stamp.nextDay))
        return Outcome::No;
    stamp.date = changed;
    named(out, w0, FILE_ATTRIBUTE_NORMAL);
    setTime(out, fileTimeOf(stamp));
    return Outcome::Entry;
}

} // namespace inet::listing
