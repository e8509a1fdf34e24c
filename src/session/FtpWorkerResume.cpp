// A whole transfer as the queue asks for it: the file-exists question (with
// Resume), then tries from the bytes already there until one succeeds, the
// failure is the server's refusal, or the retries are spent.
#include "session/FtpWorker.h"

#include "platform/LocalFile.h"

#include <QDir>
#include <QFileInfo>

namespace ftp {

namespace {

QString joinLocal(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// A failure the link caused, which another try may not meet: a drop, a
// time-out, replies that blame the connection (421 closing, 425 no data
// connection, 426 transfer aborted), and a file that arrived different.
// What the server refuses (550, 553, 452, 552...) or a local file's failure
// would fail the same way again.
bool worthRetrying(const Result &r)
{
    if (r.outcome != Outcome::Failed)
        return false;
    if (r.interrupted || FtpWorker::isInterruption(r.error))
        return true;
    if (r.error == inet::ErrorChecksumDiffers || r.error == inet::ErrorSizeDiffers)
        return true;
    const int code = r.response.left(3).toInt();
    return r.error == inet::ErrorExtended && (code == 421 || code == 425 || code == 426);
}

bool differs(const Result &r)
{
    return r.error == inet::ErrorChecksumDiffers || r.error == inet::ErrorSizeDiffers;
}

QDateTime recordTime(const inet::FindRecord &record)
{
    if (!record.timeKnown)
        return QDateTime();
    // Listing times stand as this machine's local clock (see the parser).
    return inet::dateTimeFromFileTime(record.lastWriteTime);
}

Result answered(ExistsAnswer answer)
{
    Result result;
    result.outcome = answer == ExistsAnswer::Skip ? Outcome::Skipped : Outcome::Declined;
    return result;
}

} // namespace

bool FtpWorker::prepareRetry(const RetryPolicy &policy, int attempt, const QString &folder, Result &result)
{
    // 1 s, 2 s, 4 s...: a server that restarts gets the time to, a link that
    // flickers is not left waiting long.
    const int pause = policy.firstPauseMs << qMin(attempt - 2, 10);
    TransferNote n;
    n.kind = TransferNote::Kind::Retrying;
    n.attempt = attempt - 1;
    n.attempts = policy.retries;
    n.error = result.error;
    n.response = result.response;
    emit noted(m_current, n);
    if (!m_control->pause(pause)) {
        result = Result();
        result.outcome = Outcome::Stopped;
        result.error = inet::ErrorStopped;
        return false;
    }
    Result again;
    if (!ensureConnected(again)
        || (!folder.isEmpty() && folder != m_folder && !enter(folder, false, again, Where::AsGiven))) {
        result = again;
        return false;
    }
    return true;
}

Result FtpWorker::withRetries(const RetryPolicy &policy, const std::function<Result(const Result *previous)> &once)
{
    // Reconnections and tries count alike: a server that keeps refusing the
    // login spends the retries as one that keeps cutting the transfer.
    const QString folder = m_folder;
    Result result = once(nullptr);
    Result lastTry = result;
    for (int attempt = 2; worthRetrying(result) && attempt <= policy.retries + 1; ++attempt) {
        if (!prepareRetry(policy, attempt, folder, result))
            continue;
        result = once(&lastTry);
        lastTry = result;
    }
    return result;
}

void FtpWorker::returnTo(const QString &folder)
{
    if (m_connection && m_folder != folder && !folder.isEmpty()) {
        Result back;
        enter(folder, false, back, Where::AsGiven);
    }
}

Result FtpWorker::run(const Retrieve &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    const QString startFolder = m_folder;
    if (!c.remoteFolder.isEmpty() && c.remoteFolder != m_folder
        && !enter(c.remoteFolder, false, result, Where::AsGiven))
        return result; // never the file of the same name in another folder
    const QString localPath = joinLocal(c.localFolder, c.name);
    if (!QFileInfo(c.localFolder).isDir())
        QDir().mkpath(c.localFolder);
    qint64 offset = c.offset;
    if (c.askIfExists && offset == 0 && QFileInfo::exists(localPath)) {
        const QFileInfo info(localPath);
        Request request;
        request.fileName = c.name;
        request.existingSize = info.size();
        request.existingTime = info.lastModified();
        request.incomingSize = c.expectedSize;
        request.incomingTime = c.remoteTime;
        request.resumable = FtpWorker::isBinary(c.transferType);
        const std::optional<ExistsAnswer> answer = askExists(request);
        if (!answer) {
            result.outcome = Outcome::Stopped;
            return result;
        }
        if (*answer == ExistsAnswer::Cancel || *answer == ExistsAnswer::Skip)
            return answered(*answer);
        if (*answer == ExistsAnswer::Resume || *answer == ExistsAnswer::ResumeAll)
            offset = info.size();
        else
            QFile::remove(localPath);
    }
    result = withRetries(c.retry, [&](const Result *previous) {
        // What arrived stays and the next try goes on from its end; a file
        // that arrived different starts over.
        if (previous)
            offset = differs(*previous) ? 0 : qMax<qint64>(0, platform::localFileSize(localPath));
        return retrieveFrom(c, localPath, offset);
    });
    if (c.returnToFolder)
        returnTo(startFolder);
    return result;
}

Result FtpWorker::run(const Store &c)
{
    Result result;
    if (!ensureConnected(result))
        return result;
    if (c.run == 0 || c.run != m_namesRun)
        m_namesHere.reset();
    m_namesRun = c.run;
    const QString startFolder = m_folder;
    // Rows queued while not connected have no remote folder: they go to the
    // folder the connection is in.
    if (!c.remoteFolder.isEmpty() && c.remoteFolder != m_folder && !enterLevelByLevel(c.remoteFolder, result))
        return result;
    qint64 offset = c.offset;
    if (c.askIfExists && offset == 0) {
        Result probe;
        inet::FindRecord entry;
        const bool exists = existsHere(c.name, probe, &entry);
        if (probe.outcome != Outcome::Done)
            return probe;
        if (exists) {
            const QFileInfo info(c.localPath);
            Request request;
            request.fileName = c.name;
            request.isUpload = true;
            request.existingSize = entry.sizeKnown && !entry.sizeRough ? entry.size : -1;
            request.existingTime = recordTime(entry);
            request.incomingSize = info.exists() ? info.size() : -1;
            request.incomingTime = info.lastModified();
            request.resumable = FtpWorker::isBinary(c.transferType);
            const std::optional<ExistsAnswer> answer = askExists(request);
            if (!answer) {
                result.outcome = Outcome::Stopped;
                return result;
            }
            if (*answer == ExistsAnswer::Cancel || *answer == ExistsAnswer::Skip)
                return answered(*answer);
            if (*answer == ExistsAnswer::Resume || *answer == ExistsAnswer::ResumeAll) {
                // The server's own count, which a listing may round.
                const qint64 there = remoteSize(c.name);
                offset = there >= 0 ? there : qMax<qint64>(0, request.existingSize);
            }
        }
    }
    result = withRetries(c.retry, [&](const Result *previous) {
        // What the server kept of the last try, once connected again; a file
        // that arrived different starts over.
        if (previous)
            offset = differs(*previous) ? 0 : qMax<qint64>(0, remoteSize(c.name));
        return storeFrom(c, offset);
    });
    if (c.returnToFolder)
        returnTo(startFolder);
    return result;
}

} // namespace ftp
