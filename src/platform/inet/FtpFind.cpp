// Listings: MLSD or LIST through a data connection, MLST for one name.
// The whole answer is read at once; the find handle hands out its records.
#include "platform/inet/FtpConnection_p.h"

namespace inet {

using detail::DataChannel;
using detail::Reply;

namespace {

constexpr qint64 kMaxListing = 256 * 1024 * 1024;

bool hasWildcards(const QString &pattern)
{
    return pattern.isEmpty() || pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
}

QString baseName(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

// Parses the complete lines of `pending` and keeps the unfinished tail.
void parseComplete(QByteArray &pending, ListingParser &parser, std::vector<FindRecord> &out)
{
    qsizetype end = pending.size();
    while (end > 0 && pending[end - 1] != '\n' && pending[end - 1] != '\r')
        --end;
    if (end == 0)
        return;
    parser.addLines(QByteArrayView(pending).first(end), out);
    pending.remove(0, end);
}

} // namespace

bool FtpConnectionPrivate::runListing(const QByteArray &command, bool mlsd, std::vector<FindRecord> &records,
                                      quint32 &endError, QString &endResponse, ListingSummary &summary)
{
    DataChannel data;
    TransferState st;
    if (!startTransfer(command, false, data, st)) {
        endError = lastError();
        endResponse = lastResponseInfo();
        return false;
    }
    ListingParser parser(QDateTime::currentDateTime(), mlsd);
    QByteArray pending;
    qint64 total = 0;
    quint32 error = NoError;
    while (!data.atEnd()) {
        if (data.available() == 0 && !data.fill(QDeadlineTimer(timeouts().dataMs), error))
            break;
        total += data.available();
        pending.append(data.data(), data.available());
        data.consume(data.available());
        if (total > kMaxListing) {
            error = ErrorInternal; // more than any folder we are willing to show
            break;
        }
        parseComplete(pending, parser, records);
    }
    summary = parser.summary();
    if (error != NoError) {
        const QString response = lastResponseInfo();
        abortTransfer(data, st);
        endError = error;
        endResponse = response;
        setLastError(error);
        return false;
    }
    data.abort();
    if (!finishTransfer(st)) {
        endError = lastError();
        endResponse = lastResponseInfo();
        return false; // an unfinished last line is not trusted
    }
    pending.append('\n');
    parseComplete(pending, parser, records);
    parser.finish(records);
    summary = parser.summary();
    return true;
}

bool FtpConnectionPrivate::lookupMlst(const QByteArray &name, std::vector<FindRecord> &records)
{
    Reply reply;
    if (!exchange("MLST " + name, reply))
        return false;
    if (reply.kind() != 2)
        return fail(ErrorNoMoreFiles); // no such entry; the reply says more
    for (const QByteArray &line : reply.text.split('\n')) {
        FindRecord rec;
        if (line.startsWith(' ') && parseMlsdLine(QByteArrayView(line).sliced(1), rec)) {
            rec.name = baseName(rec.name);
            records.push_back(std::move(rec));
        }
    }
    return succeed();
}

std::unique_ptr<FtpFind> FtpConnection::findFirstFile(const QString &pattern, FindRecord &first)
{
    d->lastListing = ListingSummary();
    const QByteArray rawName = encodeName(pattern);
    if (FtpConnectionPrivate::isUnsafeLine(rawName)) {
        d->fail(ErrorLineBreak);
        return nullptr;
    }
    if (!d->usable(true))
        return nullptr;
    const bool mlsd = d->useMlsd && d->features.mlsd;
    // "dir/*.txt" lists dir; the wildcards apply to the names in it.
    const qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : pattern.left(qMax<qsizetype>(slash, 1));
    const QString leaf = pattern.mid(slash + 1);
    auto listing = [&](const char *verb) {
        return folder.isEmpty() ? QByteArray(verb) : QByteArray(verb) + ' ' + encodeName(folder);
    };
    std::vector<FindRecord> records;
    quint32 endError = ErrorNoMoreFiles;
    QString endResponse;
    ListingSummary &summary = d->lastListing;
    if (hasWildcards(leaf)) {
        d->runListing(listing(mlsd ? "MLSD" : "LIST"), mlsd, records, endError, endResponse, summary);
        std::erase_if(records, [&](const FindRecord &r) { return !matchesPattern(r.name, leaf); });
    } else if (mlsd) {
        d->lookupMlst(rawName, records);
        endError = lastError() == NoError ? ErrorNoMoreFiles : lastError();
    } else {
        // "LIST name" of a folder lists its content: keep only the entry itself,
        // and look in the folder above when the name is not found that way.
        auto keepNamed = [&] {
            std::erase_if(records, [&](const FindRecord &r) { return r.name != pattern && baseName(r.name) != leaf; });
        };
        const bool listed = d->runListing("LIST " + rawName, false, records, endError, endResponse, summary);
        keepNamed();
        if (listed || endError == ErrorExtended) {
            endError = ErrorNoMoreFiles; // a refused name is a missing one
            if (records.empty() && d->control.isOpen()) {
                d->runListing(listing("LIST"), false, records, endError, endResponse, summary);
                keepNamed();
            }
        }
    }
    if (records.empty()) {
        d->fail(endError);
        return nullptr;
    }
    first = records.front();
    std::unique_ptr<FtpFind> find(new FtpFind);
    find->m_connection = this;
    find->m_records = std::move(records);
    find->m_pos = 1;
    find->m_endError = endError;
    find->m_endResponse = endResponse;
    d->openFind = find.get();
    d->succeed();
    return find;
}

ListingSummary FtpConnection::lastListingSummary() const
{
    return d->lastListing;
}

FtpFind::~FtpFind() { close(); }

bool FtpFind::next(FindRecord &record)
{
    if (!m_connection) {
        setLastError(ErrorIncorrectHandleState);
        return false;
    }
    if (m_pos < m_records.size()) {
        record = m_records[m_pos++];
        setLastError(NoError);
        return true;
    }
    setLastError(m_endError);
    if (m_endError != ErrorNoMoreFiles && !m_endResponse.isEmpty())
        setLastResponseInfo(m_endResponse);
    return false;
}

void FtpFind::close()
{
    if (m_connection && m_connection->d->openFind == this)
        m_connection->d->openFind = nullptr;
    m_connection = nullptr;
}

} // namespace inet
