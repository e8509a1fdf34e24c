// Directory listings, line by line: each line goes to the format that read
// the line before it, then to every other; a line that fits none is counted,
// never an error. The formats themselves live in ListParser*.cpp.
#include "platform/inet/ListParser_p.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace inet {

using namespace listing;

namespace {

using Parse = Outcome (*)(const Line &, const Context &, FindRecord &);

// In the order of Format.
constexpr Parse kParsers[size_t(Format::Count)] = {
    parseUnix, parseDos,   parseMlsd,       parseEplf,       parseVms,   parseOs2, parseNetWare,
    parseAs400, parseMvsDataset, parseMvsMember, parseTandem, parseOs9, parseNortel, parseConnectEnterprise,
};

Outcome readLine(const Line &line, const Context &ctx, FindRecord &out, Format &matched)
{
    if (ctx.previous != Format::Count) {
        const Outcome r = kParsers[size_t(ctx.previous)](line, ctx, out);
        if (r != Outcome::No) {
            matched = ctx.previous;
            return r;
        }
    }
    for (size_t f = 0; f < size_t(Format::Count); ++f) {
        if (Format(f) == ctx.previous)
            continue;
        const Outcome r = kParsers[f](line, ctx, out);
        if (r != Outcome::No) {
            matched = Format(f);
            return r;
        }
    }
    return Outcome::No;
}

// Blank lines and the rules of dashes under column headers.
bool isFiller(QByteArrayView line)
{
    for (char c : line)
        if (!isBlank(c) && c != '-' && c != '=')
            return false;
    return true;
}

QByteArrayView withoutLineEnd(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == '\n'))
        line.chop(1);
    return line;
}

} // namespace

struct ListingParser::State {
    Context ctx;
    std::vector<Token> tokens;
    std::optional<FindRecord> pending; // a VMS name whose details come next
};

ListingParser::ListingParser(const QDateTime &now, bool mlsd) : d(std::make_unique<State>())
{
    d->ctx.clock = Clock::at(now);
    d->ctx.mlsd = mlsd;
    if (mlsd)
        d->ctx.previous = Format::Mlsd;
}

ListingParser::~ListingParser() = default;

void ListingParser::addLines(QByteArrayView data, std::vector<FindRecord> &out)
{
    // Lines end with CR LF, LF or CR alone: the LF is found with memchr, and
    // a CR before it (usually the byte just before) ends the line there.
    const char *p = data.data();
    const char *const end = p + data.size();
    while (p < end) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!lf)
            lf = end;
        while (p < lf) {
            const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(lf - p)));
            const char *stop = cr ? cr : lf;
            if (stop > p)
                addLine(QByteArrayView(p, stop - p), out);
            p = stop + (cr ? 1 : 0);
        }
        p = lf + 1;
    }
}

void ListingParser::addLine(QByteArrayView text, std::vector<FindRecord> &out)
{
    if (isFiller(text)) {
        finish(out);
        return;
    }
    const Line line(text, d->tokens);
    if (d->pending) {
        FindRecord rec = std::move(*d->pending);
        d->pending.reset();
        const bool completed = parseVmsContinuation(line, rec);
        out.push_back(std::move(rec)); // a name alone is still an entry
        if (completed)
            return;
    }
    FindRecord rec;
    Format matched = Format::Count;
    switch (readLine(line, d->ctx, rec, matched)) {
    case Outcome::Entry:
        out.push_back(std::move(rec));
        break;
    case Outcome::Pending:
        d->pending = std::move(rec);
        break;
    case Outcome::Skip:
        if (matched == Format::Mlsd)
            noteFolder(rec);
        break;
    case Outcome::No:
        note(text);
        return;
    }
    d->ctx.previous = matched;
}

// MLSD's lines for the listed folder and its parent.
void ListingParser::noteFolder(const FindRecord &rec)
{
    if (rec.name == QLatin1String("."))
        m_summary.folderUnique = rec.unique;
    else if (rec.name == QLatin1String(".."))
        m_summary.parentUnique = rec.unique;
}

void ListingParser::note(QByteArrayView line)
{
    if (m_summary.unreadLines++ > 0)
        return;
    const bool longer = line.size() > ListingSummary::kShownLength;
    QString shown = decodeName(line.first(qMin<qsizetype>(line.size(), ListingSummary::kShownLength)));
    for (QChar &c : shown)
        if (c.unicode() < 0x20 || (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF))
            c = QLatin1Char('?'); // control characters and bytes that are no text
    m_summary.firstUnread = longer ? shown + QStringLiteral("…") : shown;
}

void ListingParser::finish(std::vector<FindRecord> &out)
{
    if (d->pending) {
        out.push_back(std::move(*d->pending));
        d->pending.reset();
    }
}

bool parseMlsdLine(QByteArrayView line, FindRecord &out)
{
    std::vector<Token> tokens;
    Context ctx;
    ctx.mlsd = true;
    return parseMlsd(Line(withoutLineEnd(line), tokens), ctx, out) == Outcome::Entry;
}

bool parseListLine(QByteArrayView line, FindRecord &out, const QDateTime &now)
{
    ListingParser parser(now, false);
    std::vector<FindRecord> records;
    parser.addLines(line, records);
    parser.finish(records);
    if (records.empty())
        return false;
    out = std::move(records.front());
    return true;
}

std::vector<FindRecord> parseListing(QByteArrayView data, bool mlsd, const QDateTime &now, ListingSummary *summary)
{
    ListingParser parser(now, mlsd);
    std::vector<FindRecord> records;
    // One entry a line at most: one allocation instead of a dozen copies of
    // a growing vector (for 20,000 entries, megabytes moved).
    records.reserve(size_t(std::count(data.begin(), data.end(), '\n')) + 1);
    parser.addLines(data, records);
    parser.finish(records);
    if (summary)
        *summary = parser.summary();
    return records;
}

} // namespace inet
