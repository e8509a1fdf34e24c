// The worker's transfers, one try each: one file down or up from a given
// byte, in blocks of 255 bytes, hashed as they pass, with progress and a stop
// seen before every block; then the check against the server's file.
#include "session/FtpWorker.h"

#include "platform/LocalFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <mutex>
#include <vector>

namespace ftp {

namespace {

constexpr quint32 kBlock = 255;
constexpr qint64 kProgressStep = 8000;
// Progress crosses to the owner's thread at most this often (and always at
// the end): the figures need no more, and a fast link would flood the queue.
constexpr qint64 kProgressPaceMs = 40;

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    static std::once_flag started;
    std::call_once(started, [] { clock.start(); });
    return clock.elapsed();
}

// Reads the first `length` bytes of the file: its tap hashes them, so that a
// resumed transfer's hash covers the whole file.
bool readPrefix(platform::FileReader &reader, qint64 length)
{
    static thread_local std::vector<char> buffer(1 << 20);
    while (length > 0) {
        const qint64 n = reader.read(buffer.data(), qMin<qint64>(length, qint64(buffer.size())));
        if (n <= 0)
            return false;
        length -= n;
    }
    return true;
}

// The digest fed by a file's tap, a buffer at a time (none without a hash).
platform::FileTap tapInto(inet::Digest &digest)
{
    if (digest.algorithm() == inet::HashAlgorithm::None)
        return {};
    return [&digest](const char *data, qint64 size) { digest.addData(data, size); };
}

Result localFailure(int systemError)
{
    Result result;
    result.outcome = Outcome::Failed;
    result.error = inet::ErrorLocalFile;
    result.systemError = systemError ? systemError : EIO;
    return result;
}

} // namespace

bool FtpWorker::isBinary(quint32 transferType)
{
    return !(transferType & inet::FTP_TRANSFER_TYPE_ASCII);
}

bool FtpWorker::isInterruption(quint32 error)
{
    switch (error) {
    case inet::ErrorTimeout:
    case inet::ErrorConnectionAborted:
    case inet::ErrorConnectionReset:
    case inet::ErrorFtpDropped:
    case inet::ErrorIncorrectHandleState:
    case inet::ErrorCannotConnect:
        return true;
    default:
        return false;
    }
}

void FtpWorker::emitProgress(qint64 current, qint64 total, bool last)
{
    const qint64 now = monotonicMs();
    if (!last && m_lastProgressMs >= 0 && now - m_lastProgressMs < kProgressPaceMs)
        return;
    m_lastProgressMs = now;
    emit progress(m_current, current, total);
}

std::optional<ExistsAnswer> FtpWorker::askExists(Request request)
{
    request.id = ++m_nextRequest;
    request.command = m_current;
    request.kind = Request::Kind::FileExists;
    emit requested(request);
    int answer = 0;
    if (!m_control->waitAnswer(request.id, answer))
        return std::nullopt;
    return ExistsAnswer(answer);
}

bool FtpWorker::existsHere(const QString &name, Result &result, inet::FindRecord *entry)
{
    if (!m_namesHere) {
        // One listing per folder answers for all of its files: probing each
        // name would cost a data connection per file.
        std::vector<inet::FindRecord> entries;
        Result listed;
        if (listHere(QStringLiteral("*.*"), entries, listed)) {
            QHash<QString, inet::FindRecord> names;
            names.reserve(qsizetype(entries.size()));
            for (const inet::FindRecord &e : entries)
                names.insert(e.name, e);
            m_namesHere = std::move(names);
        } else if (listed.outcome == Outcome::Stopped || !m_connection->isAlive()) {
            result = listed;
            return false;
        }
    }
    if (m_namesHere) {
        const auto it = m_namesHere->constFind(name);
        if (it != m_namesHere->constEnd() && entry)
            *entry = *it;
        return it != m_namesHere->constEnd();
    }
    // No listing: opening the file for reading tells.
    std::unique_ptr<inet::FtpFile> probe = m_connection->openFile(name, inet::GENERIC_READ, 0);
    if (!probe)
        return false;
    probe->close();
    return true;
}

void FtpWorker::note(TransferNote::Kind kind, qint64 offset)
{
    TransferNote n;
    n.kind = kind;
    n.offset = offset;
    emit noted(m_current, n);
}

qint64 FtpWorker::remoteSize(const QString &name)
{
    qint64 size = -1;
    return m_connection && m_connection->fileSize(name, size) ? size : -1;
}

// `listedSize`: the size in bytes the server's listing gave for a download
// (-1 when it gave none). Without a hash, a file that arrived at exactly
// that size is checked without asking SIZE: the listing is the server's own
// word on the size, and the question is a round trip a file, which on a
// distant server is a quarter of a small file's time. Any other size is
// asked about, since the file may have changed since it was listed.
bool FtpWorker::verify(const QString &name, inet::Digest &digest, qint64 size, Result &result, qint64 listedSize)
{
    const QString reply = result.response; // the transfer's own closing words stay the result's
    TransferNote n;
    n.kind = TransferNote::Kind::Verified;
    quint32 differs = inet::NoError;
    QByteArray theirs;
    qint64 theirSize = -1;
    if (digest.algorithm() != inet::HashAlgorithm::None && m_connection->fileHash(name, digest.algorithm(), theirs)) {
        n.algorithm = QString::fromLatin1(inet::hashName(digest.algorithm()));
        if (theirs != digest.result())
            differs = inet::ErrorChecksumDiffers;
    } else if (digest.algorithm() == inet::HashAlgorithm::None && listedSize >= 0 && listedSize == size) {
        // checked by the listing
    } else if (m_connection->isAlive() && m_connection->fileSize(name, theirSize)) {
        if (theirSize != size)
            differs = inet::ErrorSizeDiffers;
    } else {
        // Neither a hash nor a size: the server's closing reply is all we have.
        result.response = reply;
        return true;
    }
    result.response = reply;
    if (differs == inet::NoError) {
        n.offset = size;
        emit noted(m_current, n);
        return true;
    }
    result.outcome = Outcome::Failed;
    result.error = differs;
    return false;
}

Result FtpWorker::retrieveFrom(const Retrieve &c, const QString &localPath, qint64 offset)
{
    Result result;
    const bool binary = isBinary(c.transferType);
    inet::Digest digest(binary ? m_connection->bestHash() : inet::HashAlgorithm::None);
    if (offset > 0 && digest.algorithm() != inet::HashAlgorithm::None) {
        platform::FileReader kept;
        kept.setTap(tapInto(digest));
        if (!kept.open(localPath) || !readPrefix(kept, offset))
            return localFailure(kept.error());
    }
    std::unique_ptr<inet::FtpFile> file = m_connection->openFile(c.name, inet::GENERIC_READ, c.transferType, offset);
    const quint32 openError = inet::lastError();
    emit stateChanged(m_current, 9, inet::lastResponseInfo());
    if (!file) {
        inet::setLastError(openError);
        return failed(result);
    }
    const qint64 start = file->startOffset();
    if (start < offset) {
        note(TransferNote::Kind::NoResume, offset);
        digest.reset(digest.algorithm());
    }
    note(TransferNote::Kind::Started, start);
    platform::FileWriter local;
    if (!local.openAt(localPath, start))
        return localFailure(local.error());
    local.setTap(tapInto(digest));

    // The data is read until the server's end, whatever size was listed: a
    // file that grew arrives whole and one that shrank is not padded.
    const qint64 expected = qMax<qint64>(c.expectedSize, 0);
    qint64 received = start;
    qint64 reported = start;
    m_lastProgressMs = -1;
    char buffer[kBlock];
    for (;;) {
        quint32 got = 0;
        const bool read = !m_control->stopRequested() && file->read(buffer, kBlock, got);
        if (!read) {
            local.close(); // the partial file stays
            const bool stopped = m_control->stopRequested() || inet::lastError() == inet::ErrorStopped;
            if (stopped) {
                m_control->lowerStop(); // the connection stays usable: ABOR and its replies
                file.reset();
                result.outcome = Outcome::Stopped;
                result.error = inet::ErrorStopped;
                return result;
            }
            failed(result); // the read's failure, not the abort's after it
            result.interrupted = isInterruption(result.error);
            file.reset();
            return result;
        }
        if (got > 0 && !local.write(buffer, got))
            return localFailure(local.error());
        received += got;
        if (received - reported > kProgressStep) {
            emitProgress(received, qMax(expected, received), false);
            reported = received;
        }
        if (got < kBlock)
            break;
    }
    if (!local.close())
        return localFailure(local.error());
    // A data connection that ended before the server confirmed is a failure:
    // the partial file stays, but the transfer is not reported as done.
    const bool complete = file->close();
    if (c.remoteTime.isValid())
        platform::setFileModificationTime(localPath, c.remoteTime);
    if (!complete) {
        failed(result);
        result.interrupted = isInterruption(result.error);
        return result;
    }
    if (received >= 1000)
        emitProgress(received, received, true);
    succeeded(result);
    emit stateChanged(m_current, 12, result.response);
    result.size = received;
    if (binary && !verify(c.name, digest, received, result, c.expectedSize))
        return result;
    return result;
}

Result FtpWorker::storeFrom(const Store &c, qint64 offset)
{
    Result result;
    const bool binary = isBinary(c.transferType);
    // The local file is opened before the remote one is created, so a file
    // that cannot be read never leaves an empty file on the server.
    platform::FileReader local;
    if (!local.open(c.localPath))
        return localFailure(local.error());
    const qint64 size = local.size();
    offset = qBound<qint64>(0, offset, size);
    inet::Digest digest(binary ? m_connection->bestHash() : inet::HashAlgorithm::None);
    local.setTap(tapInto(digest));
    // The part already on the server is read (and hashed) once, here.
    if (offset > 0 && (digest.algorithm() != inet::HashAlgorithm::None ? !readPrefix(local, offset)
                                                                       : !local.seek(offset)))
        return localFailure(local.error());
    std::unique_ptr<inet::FtpFile> file = m_connection->openFile(c.name, inet::GENERIC_WRITE, c.transferType, offset);
    if (!file)
        return failed(result);
    const qint64 start = file->startOffset();
    if (start < offset) {
        note(TransferNote::Kind::NoResume, offset);
        digest.reset(digest.algorithm());
        if (!local.seek(0))
            return localFailure(local.error());
    }
    note(TransferNote::Kind::Started, start);
    if (m_namesHere)
        m_namesHere->insert(c.name, inet::FindRecord());
    emit stateChanged(m_current, 12, inet::lastResponseInfo());

    qint64 sent = start;
    qint64 reported = start;
    m_lastProgressMs = -1;
    char buffer[kBlock];
    while (sent < size) {
        if (m_control->stopRequested()) {
            file.reset(); // an upload left unfinished is aborted
            result.outcome = Outcome::Stopped;
            result.error = inet::ErrorStopped;
            return result;
        }
        const qint64 n = qMin<qint64>(kBlock, size - sent);
        if (local.read(buffer, n) != n) {
            file.reset();
            return localFailure(local.error());
        }
        quint32 written = 0;
        if (!file->write(buffer, quint32(n), written)) {
            failed(result);
            result.interrupted = result.outcome == Outcome::Failed && isInterruption(result.error);
            file.reset();
            return result;
        }
        sent += n;
        if (sent - reported > kProgressStep) {
            emitProgress(sent, size, false);
            reported = sent;
        }
    }
    emitProgress(size, size, true);
    local.close();
    // Only the server's final reply tells that the file arrived whole.
    if (!file->close()) {
        failed(result);
        result.interrupted = isInterruption(result.error);
        return result;
    }
    succeeded(result);
    result.size = size;
    if (binary && !verify(c.name, digest, size, result))
        return result;
    // The server's copy gets the local file's time, so that both show as equal.
    if (m_connection->features().mfmt) {
        const QString reply = result.response;
        m_connection->setFileTime(c.name, QFileInfo(c.localPath).lastModified().toUTC());
        result.response = reply;
    }
    return result;
}

} // namespace ftp
