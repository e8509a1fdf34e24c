// File transfers of the session object: one file at a time, in blocks of 255
// bytes, with progress events and the user's stop request seen before every
// block.
#include "session/clsFTPClient.h"

#include "platform/LocalFile.h"
#include "platform/Yield.h"
#include "session/SessionState.h"
#include "session/SizeText.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr quint32 kBlock = 255;
constexpr qint64 kProgressStep = 8000;

QString trimSpaces(const QString &text)
{
    int begin = 0;
    int end = int(text.size());
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
} // namespace

bool SetLocalFileTime(const QString &sFileName, const QString &sDate)
{
    if (!QFileInfo(sFileName).isFile())
        return false;
    const QDateTime when = parseGeneralDate(sDate);
    return when.isValid() && platform::setFileModificationTime(sFileName, when);
}

// A local file that cannot be read or written ends the transfer; the system's
// own text says why, and the internet error is marked so the queue logs it.
bool clsFTPClient::localFileError(int error, const char *)
{
    ErrorOut(quint32(error), QString(), QStringLiteral("kernel32"));
    inet::setLastError(inet::ErrorLocalFile);
    return false;
}

void clsFTPClient::endTransferStopped(bool upload)
{
    hFile.reset(); // an unfinished download is aborted, the connection stays usable
    m_host->setProgressValue(0);
    if (!upload)
        bStopTransfer = false; // the upload leaves it set for the queue to see
    bOverwriteAll = false;
    m_host->refreshLocalDir();
    m_host->refreshDirectoryListing();
}

bool clsFTPClient::FTPUploadFile(QString &sLocal, QString &sRemote)
{
    bActivity = true;
    sLocal = trimSpaces(sLocal);
    sRemote = trimSpaces(sRemote);
    hFile.reset();
    if (sLocal.isEmpty() || sRemote.isEmpty() || !requireConnection("FtpOpenFile:PutFile"))
        return false;

    // Does the remote file exist? Opening it for reading tells; the probe is
    // closed before the question so the server is not kept sending meanwhile.
    if (std::unique_ptr<inet::FtpFile> probe = hConnection->openFile(sRemote, inet::GENERIC_READ, lTransferType)) {
        probe->close();
        if (!bOverwriteAll && !m_host->overWriteExist(sRemote, true))
            return false;
    }

    // The local file is opened before the remote one is created, so a file
    // that cannot be read never leaves an empty file on the server.
    platform::FileReader local;
    if (!local.open(sLocal))
        return localFileError(local.error(), "open");
    m_host->setProgressValue(0);
    m_host->setProgressVisible(true);

    hFile = hConnection->openFile(sRemote, inet::GENERIC_WRITE, lTransferType);
    if (!hFile) {
        ErrorOut(inet::lastError(), QStringLiteral("FtpOpenFile:PutFile"), QString());
        return false;
    }
    ActionOut(QString());
    emit StateChanged(12, sLastResponse);

    const qint64 size = local.size();
    qint64 sent = 0;
    qint64 reported = 0;
    char buffer[kBlock];
    while (sent < size) {
        if (bStopTransfer) {
            local.close();
            endTransferStopped(true);
            return false;
        }
        const qint64 n = qMin<qint64>(kBlock, size - sent);
        if (local.read(buffer, n) != n) {
            hFile.reset();
            return localFileError(local.error() ? local.error() : EIO, "read");
        }
        platform::yieldToEventLoop();
        quint32 written = 0;
        if (!hFile->write(buffer, quint32(n), written)) {
            ErrorOut(inet::lastError(), QStringLiteral("InternetWriteFile"), QString());
            local.close();
            bStopTransfer = true;
            hFile.reset();
            return false;
        }
        platform::yieldToEventLoop();
        sent += n;
        if (sent - reported > kProgressStep) {
            emit FileTransferProgress(sent, size);
            reported = sent;
            platform::yieldToEventLoop();
        }
    }
    emit FileTransferProgress(size, size);
    local.close();
    // Only the server's final reply tells that the file arrived whole.
    const bool stored = hFile->close();
    const quint32 error = inet::lastError();
    hFile.reset();
    bActivity = true;
    if (!stored) {
        ErrorOut(error, QStringLiteral("InternetWriteFile"), QString());
        return false;
    }
    return true;
}

bool clsFTPClient::FTPDownloadFile(const QString &sLocal, const QString &sRemote)
{
    bActivity = true;
    inet::setLastError(0);
    if (sRemote.isEmpty() || sLocal.isEmpty())
        return false;
    const QueueHeadRow row = m_host->firstQueueRow();
    qint64 expected = 0; // an empty size: the listing did not give it
    if (!row.size.trimmed().isEmpty() && !parseSizeText(row.size, expected))
        return false;

    if (QFileInfo(row.local).isDir()) {
        if (QFileInfo::exists(sLocal)) {
            if (!bOverwriteAll && !m_host->overWriteExist(row.text, false))
                return false;
            if (lExistChoice != 2)
                QFile::remove(sLocal);
        }
    } else {
        QDir().mkpath(row.local);
    }
    if (!requireConnection("FtpOpenFile:GetFile"))
        return false;

    hFile = hConnection->openFile(sRemote, inet::GENERIC_READ, lTransferType);
    const quint32 openError = inet::lastError();
    ActionOut(QString());
    emit StateChanged(9, sLastResponse);
    if (!hFile) {
        ErrorOut(openError, QStringLiteral("FtpOpenFile:GetFile"), QString());
        return false;
    }

    platform::FileWriter local;
    if (!local.open(sLocal)) {
        hFile.reset();
        return localFileError(local.error(), "open");
    }
    // The data is read until the server's end, whatever size was listed: a
    // file that grew arrives whole and one that shrank is not padded. The
    // listed size only feeds the progress figures.
    qint64 received = 0;
    qint64 reported = 0;
    char buffer[kBlock];
    for (;;) {
        if (bStopTransfer) {
            local.close();
            endTransferStopped(false);
            return false;
        }
        quint32 got = 0;
        if (!hFile->read(buffer, kBlock, got)) {
            ErrorOut(inet::lastError(), QStringLiteral("InternetReadFile"), QString());
            local.close();
            hFile.reset();
            return false;
        }
        if (got > 0 && !local.write(buffer, got)) {
            hFile.reset();
            return localFileError(local.error(), "write");
        }
        received += got;
        if (received - reported > kProgressStep) {
            emit FileTransferProgress(received, qMax(expected, received));
            reported = received;
            platform::yieldToEventLoop();
        }
        if (got < kBlock)
            break;
    }
    if (!local.close()) {
        hFile.reset();
        return localFileError(local.error(), "close");
    }
    // A data connection that ended before the server confirmed is a failure:
    // the partial file stays, but the transfer is not reported as done.
    const bool complete = hFile->close();
    const quint32 closeError = inet::lastError();
    SetLocalFileTime(sLocal, row.remoteDate);
    hFile.reset();
    if (!complete) {
        ErrorOut(closeError, QStringLiteral("InternetReadFile2"), QString());
        return false;
    }
    if (received >= 1000)
        emit FileTransferProgress(received, received);
    ActionOut(QString());
    emit StateChanged(12, sLastResponse);
    return true;
}

bool clsFTPClient::DownloadHTTPFile(const QString &sLocal, const QString &sRemote)
{
    const bool ok = inet::downloadUrlToFile(sRemote, sLocal);
    platform::yieldNow();
    bActivity = true;
    return ok;
}

void clsFTPClient::CheckAndCreateSubFolder(const QString &psStringToChk, const QString &psSlash,
                                           const QString &psServerPath)
{
    const bool remote = psSlash == QLatin1String("/");
    // Upload rows queued while not connected have no remote folder: they go
    // to the folder the session is in.
    if (psStringToChk.isEmpty()) {
        m_host->refreshLocalDir();
        return;
    }
    const QStringList parts = psStringToChk.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString done;
    for (int i = 0; i < parts.size(); ++i) {
        done += QLatin1Char('/') + parts.at(i);
        if (remote) {
            if (i + 1 < parts.size()) {
                bool create = true;
                SetFTPDirectory(done, create);
            }
        } else {
            QDir().mkdir(done); // already there: nothing to do
        }
        platform::yieldToEventLoop();
    }
    if (remote) {
        bool create = true;
        SetFTPDirectory(psStringToChk, create);
    } else {
        if (!psServerPath.isEmpty()) {
            bool create = true;
            SetFTPDirectory(psServerPath, create);
        }
        m_host->refreshDirectoryListing();
    }
    m_host->refreshLocalDir();
}
