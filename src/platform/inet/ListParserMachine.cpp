// The formats written for programs: MLSD/MLST facts and EPLF.
#include "platform/inet/ListParser_p.h"

#include <QTimeZone>

namespace inet::listing {

namespace {

// "YYYYMMDDHHMMSS[.sss]" in UTC.
FileTime factTime(QByteArrayView s)
{
    if (s.size() < 14)
        return 0;
    int v[6] = {};
    const int widths[6] = {4, 2, 2, 2, 2, 2};
    qsizetype pos = 0;
    for (int i = 0; i < 6; ++i) {
        qint64 number = 0;
        if (!toNumber(s.sliced(pos, widths[i]), number))
            return 0;
        v[i] = int(number);
        pos += widths[i];
    }
    int millis = 0;
    if (s.size() > 15 && s[14] == '.') {
        const QByteArrayView fraction = s.sliced(15);
        for (int i = 0; i < 3; ++i)
            millis = millis * 10 + (i < fraction.size() && isDigit(fraction[i]) ? fraction[i] - '0' : 0);
    }
    const QTime time(v[3], v[4], v[5], millis);
    return time.isValid() ? utcFileTime(QDate(v[0], v[1], v[2]), time) : 0;
}

bool equalsNoCase(QByteArrayView a, const char *b)
{
    return a.compare(QByteArrayView(b), Qt::CaseInsensitive) == 0;
}

// The kind from a "type" fact; the listed folder itself ("cdir") and its
// parent ("pdir") are named "." and "..".
void applyType(QByteArrayView value, FindRecord &rec, const char *&folderName)
{
    if (equalsNoCase(value, "cdir") || equalsNoCase(value, "pdir")) {
        folderName = equalsNoCase(value, "cdir") ? "." : "..";
        return;
    }
    if (equalsNoCase(value, "file")) {
        rec.attributes = FILE_ATTRIBUTE_NORMAL;
    } else if (equalsNoCase(value, "dir")) {
        rec.attributes = FILE_ATTRIBUTE_DIRECTORY;
    } else if (value.size() > 8 && equalsNoCase(value.first(8), "OS.unix=")) {
        // "OS.unix=slink:/target", "OS.unix=symlink": links; devices and the
        // like are of no kind we could open.
        const QByteArrayView what = value.sliced(8);
        const qsizetype colon = what.indexOf(':');
        const QByteArrayView word = colon < 0 ? what : what.first(colon);
        if (equalsNoCase(word, "slink") || equalsNoCase(word, "symlink") || equalsNoCase(word, "link")) {
            rec.attributes = FILE_ATTRIBUTE_REPARSE_POINT;
            if (colon >= 0)
                rec.linkTarget = decodeName(what.sliced(colon + 1));
        }
    }
}

} // namespace

// "fact=value;fact=value; name" (RFC 3659): facts in any case and order,
// unknown ones ignored; the name is everything after the one blank that
// ends the facts, blanks included. An answer to MLSD may also give a name
// with no facts at all (" name").
Outcome parseMlsd(const Line &line, const Context &ctx, FindRecord &out)
{
    const QByteArrayView text = line.text();
    const qsizetype space = text.indexOf(' ');
    if (space < 0 || space + 1 >= text.size())
        return Outcome::No;
    const QByteArrayView facts = text.first(space);
    if (facts.isEmpty() ? !ctx.mlsd : (!facts.contains('=') || (!ctx.mlsd && facts.back() != ';')))
        return Outcome::No;
    FindRecord rec;
    const char *folderName = nullptr;
    qsizetype start = 0;
    while (start < facts.size()) {
        qsizetype end = facts.indexOf(';', start);
        if (end < 0)
            end = facts.size();
        const QByteArrayView fact = facts.sliced(start, end - start);
        start = end + 1;
        const qsizetype eq = fact.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArrayView key = fact.first(eq), value = fact.sliced(eq + 1);
        qint64 number = 0;
        if (equalsNoCase(key, "type")) {
            applyType(value, rec, folderName);
        } else if (equalsNoCase(key, "unique")) {
            rec.unique = value.toByteArray();
        } else if ((equalsNoCase(key, "size") || equalsNoCase(key, "sizd")) && toNumber(value, number)) {
            rec.size = number;
            rec.sizeKnown = true;
        } else if (equalsNoCase(key, "modify")) {
            rec.lastWriteTime = rec.lastAccessTime = factTime(value);
            rec.timeKnown = rec.lastWriteTime != 0;
            if (rec.creationTime == 0)
                rec.creationTime = rec.lastWriteTime;
        } else if (equalsNoCase(key, "create")) {
            rec.creationTime = factTime(value);
        }
    }
    if (folderName) {
        // Not an entry; its "unique" fact tells the folder where a link led.
        rec.name = QString::fromLatin1(folderName);
        out = std::move(rec);
        return Outcome::Skip;
    }
    setName(rec, text.sliced(space + 1));
    out = std::move(rec);
    return Outcome::Entry;
}

// EPLF: "+i8388621.29609,m824255902,/,\tname".
Outcome parseEplf(const Line &line, const Context &, FindRecord &out)
{
    const QByteArrayView text = line.text();
    const qsizetype tab = text.indexOf('\t');
    if (text.isEmpty() || text[0] != '+' || tab < 2 || tab + 1 >= text.size())
        return Outcome::No;
    out = FindRecord();
    const QByteArrayView facts = text.sliced(1, tab - 1);
    qsizetype start = 0;
    while (start < facts.size()) {
        qsizetype end = facts.indexOf(',', start);
        if (end < 0)
            end = facts.size();
        const QByteArrayView fact = facts.sliced(start, end - start);
        start = end + 1;
        qint64 value = 0;
        if (fact == QByteArrayView("/")) {
            out.attributes = FILE_ATTRIBUTE_DIRECTORY;
        } else if (fact == QByteArrayView("r") && out.attributes == 0) {
            out.attributes = FILE_ATTRIBUTE_NORMAL;
        } else if (fact.startsWith('s') && toNumber(fact.sliced(1), value)) {
            out.size = value;
            out.sizeKnown = true;
        } else if (fact.startsWith('m') && toNumber(fact.sliced(1), value)) {
            setTime(out, fileTimeFromDateTime(QDateTime::fromSecsSinceEpoch(value, QTimeZone::utc())));
        }
    }
    setName(out, text.sliced(tab + 1));
    return out.name.isEmpty() ? Outcome::No : Outcome::Entry;
}

} // namespace inet::listing
