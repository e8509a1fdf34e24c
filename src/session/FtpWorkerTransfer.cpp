// The worker's transfers: one file down or up, in blocks of 255 bytes, with
// the file-exists question, progress and a stop seen before every block.
#include "session/FtpWorker.h"

#include "platform/LocalFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <mutex>

namespace ftp {

namespace {

constexpr quint32 kBlock = 255;
constexpr qint64 kProgressStep = 8000;
// Progress crosses to the owner's thread at most this often (and always at
// the end): the figures need no more, and a fast link would flood the queue.
constexpr qint64 kProgressPaceMs = 40;

QString joinLocal(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    static std::once_flag started;
    std::call_once(started, [] { clock.start(); });
    return clock.elapsed();
}

bool isInterruption(quint32 error)
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

Result localFailure(int systemError)
{
    Result result;
    result.outcome = Outcome::Failed;
    result.error = inet::ErrorLocalFile;
    result.systemError = systemError ? systemError : EIO;
    return result;
}

} // namespace

void FtpWorker::emitProgress(qint64 current, qint64 total, bool last)
{
    const qint64 now = monotonicMs();
    if (!last && m_lastProgressMs >= 0 && now - m_lastProgressMs < kProgressPaceMs)
        return;
    m_lastProgressMs = now;
    emit progress(m_current, current, total);
}

std::optional<ExistsAnswer> FtpWorker::askExists(const QString &fileName, bool isUpload)
{
    Request request;
    request.id = ++m_nextRequest;
    request.command = m_current;
    request.kind = Request::Kind::FileExists;
    request.fileName = fileName;
    request.isUpload = isUpload;
    emit requested(request);
    int answer = 0;
    if (!m_control->waitAnswer(request.id, answer))
        return std::nullopt;
    return ExistsAnswer(answer);
}

bool FtpWorker::existsHere(const QString &name, Result &result)
{
    if (!m_namesHere) {
        // One listing per folder answers for all of its files: probing each
        // name would cost a data connection per file.
        std::vector<inet::FindRecord> entries;
        Result listed;
        if (listHere(QStringLiteral("*.*"), entries, listed)) {
            QSet<QString> names;
            names.reserve(qsizetype(entries.size()));
            for (const inet::FindRecord &e : entries)
                names.insert(e.name);
            m_namesHere = std::move(names);
        } else if (listed.outcome == Outcome::Stopped || !m_connection->isAlive()) {
            result = listed;
            return false;
        }
    }
    if (m_namesHere)
        return m_namesHere->contains(name);
    // No listing: opening the file for reading tells.
    std::unique_ptr<inet::FtpFile> probe = m_connection->openFile(name, inet::GENERIC_READ, 0);
    if (!probe)
        return false;
    probe->close();
    return true;
}

Result FtpWorker::run(const Retrieve &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    const QString startFolder = m_folder;
    if (!c.remoteFolder.isEmpty() && c.remoteFolder != m_folder && !enter(c.remoteFolder, false, result))
        return result; // never the file of the same name in another folder
    const QString localPath = joinLocal(c.localFolder, c.name);
    if (!QFileInfo(c.localFolder).isDir())
        QDir().mkpath(c.localFolder);
    if (c.askIfExists && c.offset == 0 && QFileInfo::exists(localPath)) {
        const std::optional<ExistsAnswer> answer = askExists(c.name, false);
        if (!answer) {
            result.outcome = Outcome::Stopped;
            return result;
        }
        if (*answer == ExistsAnswer::Cancel || *answer == ExistsAnswer::Skip) {
            result.outcome = *answer == ExistsAnswer::Skip ? Outcome::Skipped : Outcome::Declined;
            return result;
        }
        QFile::remove(localPath);
    }

    std::unique_ptr<inet::FtpFile> file = m_connection->openFile(c.name, inet::GENERIC_READ, c.transferType);
    const quint32 openError = inet::lastError();
    emit stateChanged(m_current, 9, inet::lastResponseInfo());
    if (!file) {
        inet::setLastError(openError);
        return failed(result);
    }
    platform::FileWriter local;
    if (!local.open(localPath))
        return localFailure(local.error());

    // The data is read until the server's end, whatever size was listed: a
    // file that grew arrives whole and one that shrank is not padded.
    const qint64 expected = qMax<qint64>(c.expectedSize, 0);
    qint64 received = 0;
    qint64 reported = 0;
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
    if (c.returnToFolder && m_folder != startFolder && !startFolder.isEmpty()) {
        Result back;
        enter(startFolder, false, back);
    }
    return result;
}

Result FtpWorker::run(const Store &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    const QString startFolder = m_folder;
    // Rows queued while not connected have no remote folder: they go to the
    // folder the connection is in.
    if (!c.remoteFolder.isEmpty() && c.remoteFolder != m_folder && !enterLevelByLevel(c.remoteFolder, result))
        return result;
    if (c.askIfExists && c.offset == 0) {
        Result probe;
        const bool exists = existsHere(c.name, probe);
        if (probe.outcome != Outcome::Done)
            return probe;
        if (exists) {
            const std::optional<ExistsAnswer> answer = askExists(c.name, true);
            if (!answer) {
                result.outcome = Outcome::Stopped;
                return result;
            }
            if (*answer == ExistsAnswer::Cancel || *answer == ExistsAnswer::Skip) {
                result.outcome = *answer == ExistsAnswer::Skip ? Outcome::Skipped : Outcome::Declined;
                return result;
            }
        }
    }
    // The local file is opened before the remote one is created, so a file
    // that cannot be read never leaves an empty file on the server.
    platform::FileReader local;
    if (!local.open(c.localPath))
        return localFailure(local.error());
    std::unique_ptr<inet::FtpFile> file = m_connection->openFile(c.name, inet::GENERIC_WRITE, c.transferType);
    if (!file)
        return failed(result);
    if (m_namesHere)
        m_namesHere->insert(c.name);
    emit stateChanged(m_current, 12, inet::lastResponseInfo());

    const qint64 size = local.size();
    qint64 sent = 0;
    qint64 reported = 0;
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
    if (c.returnToFolder && m_folder != startFolder && !startFolder.isEmpty()) {
        Result back;
        enter(startFolder, false, back);
    }
    return result;
}

} // namespace ftp
