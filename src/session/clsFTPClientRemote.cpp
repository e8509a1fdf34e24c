// Remote operations and listings of the session object.
#include "session/clsFTPClient.h"

#include "platform/Yield.h"
#include "session/LogLines.h"
#include "session/SessionState.h"

QString clsFTPClient::GetFTPDirectory()
{
    if (!requireConnection("FtpGetCurrentDirectory"))
        return QString();
    QString dir;
    if (hConnection->getCurrentDirectory(dir)) {
        ActionOut(QString());
        return dir;
    }
    ErrorOut(inet::lastError(), QStringLiteral("FtpGetCurrentDirectory"), QString());
    return QString();
}

bool clsFTPClient::SetFTPDirectory(const QString &sDir)
{
    bool create = false;
    return SetFTPDirectory(sDir, create);
}

bool clsFTPClient::SetFTPDirectory(const QString &sDir, bool &bIsFromDragToCreate)
{
    if (!requireConnection("FtpSetCurrentDirectory"))
        return false;
    if (hConnection->setCurrentDirectory(sDir)) {
        ActionOut(QString());
        bActivity = true;
        return true;
    }
    if (bIsFromDragToCreate) {
        // Uploads of folders make the missing remote folders as they go.
        CreateFTPDirectory(sDir);
        bIsFromDragToCreate = false;
        const bool entered = SetFTPDirectory(sDir);
        ActionOut(QString());
        return entered;
    }
    ErrorOut(inet::lastError(), QStringLiteral("FtpSetCurrentDirectory"), QString());
    return false;
}

bool clsFTPClient::CreateFTPDirectory(const QString &sDirectory)
{
    if (!requireConnection("CreateFTPDirectory"))
        return false;
    if (hConnection->createDirectory(sDirectory)) {
        ActionOut(QString());
        bActivity = true;
        return true;
    }
    ErrorOut(inet::lastError(), QStringLiteral("CreateFTPDirectory"), QString());
    return false;
}

bool clsFTPClient::RemoveFTPDirectory(const QString &sDirectory)
{
    // Reports nothing itself: the callers log the server's reply.
    const bool removed = hConnection && hConnection->removeDirectory(sDirectory);
    bActivity = true;
    return removed;
}

bool clsFTPClient::DeleteFTPFile(const QString &sRemote)
{
    if (!requireConnection("DeleteFTPFile"))
        return false;
    if (hConnection->deleteFile(sRemote)) {
        ActionOut(QString());
        bActivity = true;
        return true;
    }
    ErrorOut(inet::lastError(), QStringLiteral("DeleteFTPFile"), QString());
    return false;
}

bool clsFTPClient::RenameFTPFile(const QString &sExisting, const QString &sNewName)
{
    if (!requireConnection("RenameFTPFile"))
        return false;
    if (hConnection->renameFile(sExisting, sNewName)) {
        ActionOut(QString());
        bActivity = true;
        return true;
    }
    ErrorOut(inet::lastError(), QStringLiteral("RenameFTPFile"), QString());
    return false;
}

void clsFTPClient::SetCHMOD(const QString &sParam1, const QString &, bool)
{
    const bool sent = requireConnection("ftpCommand") && hConnection->command(sParam1);
    if (sent) {
        // The keep-alive's NOOP must not wipe the reply the user is reading.
        if (sParam1 != QLatin1String("NOOP"))
            sCommandResponse = inet::lastResponseInfo() + QChar(0);
    } else {
        if (hConnection)
            ErrorOut(inet::lastError(), QStringLiteral("ftpCommand"), QString());
        sCommandResponse = sLastError;
    }
    bActivity = true;
}

void clsFTPClient::addRecord(const inet::FindRecord &record)
{
    QString name = record.name;
    const int nul = name.indexOf(QChar(0));
    if (nul >= 0)
        name.truncate(nul);
    cDItemAttribute item = cDItemAttribute::fromAttributes(record.attributes);
    item.CreationTime = FileTimeToDate(record.creationTime);
    item.LastAccessTime = FileTimeToDate(record.lastAccessTime);
    item.LastWriteTime = FileTimeToDate(record.lastWriteTime);
    item.FileSize = record.size;
    item.Filename = name;
    item.sizeKnown = record.sizeKnown;
    item.sizeRough = record.sizeRough;
    item.timeKnown = record.timeKnown;
    item.linkTarget = record.linkTarget;
    mDirCol->add(std::move(item));
}

// Lines of a listing that no format understood would vanish in silence: the
// log says how many, once per listing.
void clsFTPClient::noteUnreadLines(const inet::ListingSummary &summary)
{
    m_listingSummary = summary;
    if (summary.unreadLines > 0)
        emit StateChanged(12, logline::unreadLinesText(summary.unreadLines, summary.firstUnread));
}

const cdEnum *clsFTPClient::GetDirectoryListing(const QString &sFilter)
{
    mDirCol.reset();
    platform::yieldNow();
    if (!requireConnection("FtpFindFirstFile"))
        return nullptr;

    inet::FindRecord record;
    std::unique_ptr<inet::FtpFind> find = hConnection->findFirstFile(sFilter, record);
    const quint32 firstError = inet::lastError();
    noteUnreadLines(hConnection->lastListingSummary());
    if (!find) {
        if (firstError != inet::ErrorNoMoreFiles)
            ErrorOut(firstError, QStringLiteral("FtpFindFirstFile"), QString());
        return nullptr;
    }
    mDirCol = std::make_unique<cdEnum>();
    mDirCol->reserve(find->remaining() + 1);
    addRecord(record);
    while (find->next(record)) {
        ActionOut(QString());
        addRecord(record);
    }
    const quint32 endError = inet::lastError();
    if (endError == inet::ErrorNoMoreFiles) {
        find->close();
        bActivity = true;
        return mDirCol.get();
    }
    ErrorOut(endError, QStringLiteral("InternetFindNextFile"), QString());
    find->close();
    return nullptr;
}

qint64 clsFTPClient::GetFTPFileSize(const QString &sFile)
{
    if (!requireConnection("FtpFindFirstFile"))
        return -2;
    inet::FindRecord record;
    std::unique_ptr<inet::FtpFind> find = hConnection->findFirstFile(sFile, record);
    const quint32 error = inet::lastError();
    if (find) {
        find->close();
        return record.size;
    }
    if (error == inet::ErrorNoMoreFiles)
        return -1;
    ErrorOut(error, QStringLiteral("FtpFindFirstFile"), QString());
    return -2;
}
