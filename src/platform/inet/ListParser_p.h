#pragma once
// The inside of the listing parser: one line cut into words, the helpers every
// format shares (numbers, sizes, months, clocks, dates), and one function per
// family of formats. Everything here is pure: no I/O, no state between lines
// other than what the caller passes in.

#include "platform/inet/Inet.h"

#include <QDate>
#include <QTime>

#include <array>
#include <vector>

namespace inet::listing {

// ---- a line cut at blanks --------------------------------------------------------

struct Token {
    qsizetype begin = 0;
    qsizetype end = 0;
};

class Line {
public:
    // `tokens` is the caller's buffer, reused from line to line.
    Line(QByteArrayView text, std::vector<Token> &tokens);

    QByteArrayView text() const { return m_text; }
    size_t count() const { return m_tokens.size(); }
    QByteArrayView word(size_t i) const
    {
        return i < m_tokens.size() ? m_text.sliced(m_tokens[i].begin, m_tokens[i].end - m_tokens[i].begin)
                                   : QByteArrayView();
    }
    // The line from word i on, as it stands (inner blanks kept).
    QByteArrayView from(size_t i) const { return i < m_tokens.size() ? m_text.sliced(m_tokens[i].begin) : QByteArrayView(); }
    // The line after word i and the one blank that ends it: a name that
    // starts with a blank keeps it.
    QByteArrayView after(size_t i) const;
    // True when the line starts with a blank.
    bool indented() const { return !m_text.isEmpty() && (m_text[0] == ' ' || m_text[0] == '\t'); }

private:
    QByteArrayView m_text;
    const std::vector<Token> &m_tokens;
};

// ---- what one family makes of one line ---------------------------------------------

enum class Outcome : quint8 {
    No,      // not this format
    Entry,   // an entry, in `out`
    Skip,    // this format, but not an entry (a header, a total, a blank)
    Pending, // the first half of an entry wrapped onto two lines (VMS)
};

// The families, in the order they are tried when nothing is known yet: the
// common ones first, then the ones whose lines cannot be mistaken.
enum class Format : quint8 {
    Unix,
    Dos,
    Mlsd,
    Eplf,
    Vms,
    Os2,
    NetWare,
    As400,
    MvsDataset,
    MvsMember,
    Tandem,
    Os9,
    Nortel,
    ConnectEnterprise,
    Count
};

// "now" in this machine's local wall-clock terms, for the year of dates
// that leave it out.
struct Clock {
    qint64 nowWall = 0; // seconds of local wall-clock time
    int nowYear = 0;
    static Clock at(const QDateTime &now);
};

struct Context {
    Clock clock;
    Format previous = Format::Count; // the format of the last line understood
    bool mlsd = false;               // the answer to MLSD
};

// ---- shared helpers (ListParserFields.cpp) ---------------------------------------------

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Decimal digits only; false when empty, not all digits, or too large.
bool toNumber(QByteArrayView s, qint64 &value);
// Digits with thousands separators (',', '.', '\'' or a no-break space).
bool toGroupedNumber(QByteArrayView s, qint64 &value);
bool toHexNumber(QByteArrayView s, qint64 &value);
// A size as "ls -l" variants write it: digits (exact), or a number with a
// unit (33.5k, 1.2M, 4G: rough, in bytes).
bool toSize(QByteArrayView s, qint64 &bytes, bool &rough);
bool allDigits(QByteArrayView s);

// 1-12 for a month name or abbreviation in one of the languages servers
// list in (English, German, French, Spanish, Italian, Dutch, Hungarian,
// Swedish, Portuguese, the Nordic and Slavic ones, Turkish, Finnish,
// Russian), in UTF-8 or Latin-1, any case, with or without a final dot;
// also "1月"/"1월". 0 for anything else.
int monthFromName(QByteArrayView s);

// "hh:mm", "hh:mm:ss" or "hh:mm:ss.fff". 24:00 is the end of the day: it
// gives 00:00 and `nextDay`.
bool parseClock(QByteArrayView s, QTime &time, bool &nextDay, bool &hasSeconds);
bool parseClock(QByteArrayView s, QTime &time, bool &nextDay);

// Three numbers separated by one of '-', '/', '.'; `widths` gets their digit counts.
bool splitNumericDate(QByteArrayView s, std::array<qint64, 3> &parts, std::array<int, 3> &widths, char &sep);
int fullYear(qint64 y, int width);

// A date value and the way it was written, from the words of a line.
struct Stamp {
    QDate date;
    QTime time;         // midnight when the line gave none
    int offsetSecs = 0; // the zone the line gave (utc true), else 0
    bool utc = false;   // the line gave a zone: the time is an instant
    bool nextDay = false;
};

// The file time of a stamp: server clock times are shown as listed, so
// they are taken as this machine's local time; stamps with a zone are
// instants. 0 when the date is not valid.
FileTime fileTimeOf(const Stamp &stamp);
FileTime utcFileTime(const QDate &date, const QTime &time);
// The year of a "Mon dd hh:mm" date: the one that does not put it in the
// future (a little slack for clock skew).
int yearOfRecent(const Clock &clock, int month, int day, const QTime &time);

// The date of an "ls -l" style line starting at word k: "Mon dd hh:mm|yyyy",
// "dd Mon ...", "yyyy Mon dd", ISO and numeric dates, with a time and a year
// together, a zone after an ISO time. `last` gets the index of its last word.
// numericMonth: also "1 15 12:30", the month as a number (tried only when
// no other date fits: "3 4 2020" may as well be an owner, a group and a size).
bool unixDateAt(const Line &line, size_t k, const Clock &clock, Stamp &stamp, size_t &last,
                bool numericMonth = false);

void setTime(FindRecord &out, FileTime t);
// `bytes` decoded as a name (see decodeName) into out.name.
void setName(FindRecord &out, QByteArrayView bytes);

// ---- the families ---------------------------------------------------------------------

Outcome parseUnix(const Line &line, const Context &ctx, FindRecord &out);     // ListParserUnix.cpp
Outcome parseNetWare(const Line &line, const Context &ctx, FindRecord &out);  // ListParserUnix.cpp
Outcome parseConnectEnterprise(const Line &line, const Context &ctx, FindRecord &out);
Outcome parseDos(const Line &line, const Context &ctx, FindRecord &out);      // ListParserDos.cpp
Outcome parseOs2(const Line &line, const Context &ctx, FindRecord &out);
Outcome parseNortel(const Line &line, const Context &ctx, FindRecord &out);
Outcome parseMlsd(const Line &line, const Context &ctx, FindRecord &out);     // ListParserMachine.cpp
Outcome parseEplf(const Line &line, const Context &ctx, FindRecord &out);
Outcome parseVms(const Line &line, const Context &ctx, FindRecord &out);      // ListParserHosts.cpp
// The second line of a wrapped VMS entry, completing `out`.
bool parseVmsContinuation(const Line &line, FindRecord &out);
Outcome parseAs400(const Line &line, const Context &ctx, FindRecord &out);
Outcome parseMvsDataset(const Line &line, const Context &ctx, FindRecord &out); // ListParserMvs.cpp
Outcome parseMvsMember(const Line &line, const Context &ctx, FindRecord &out);
Outcome parseTandem(const Line &line, const Context &ctx, FindRecord &out);   // ListParserHosts.cpp
Outcome parseOs9(const Line &line, const Context &ctx, FindRecord &out);

} // namespace inet::listing
