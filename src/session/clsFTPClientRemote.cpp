// Remote operations and listings of the session object: each one command to
// the browsing connection, its result turned into the session's texts.
#include "session/clsFTPClient.h"

#include "platform/LocalFile.h"
#include "session/LogLines.h"
#include "session/SessionState.h"
#include "session/SizeText.h"

#include <QFileInfo>

bool SetLocalFileTime(const QString &sFileName, const QString &sDate)
{
    if (!QFileInfo(sFileName).isFile())
        return false;
    const QDateTime when = parseGeneralDate(sDate);
    return when.isValid() && platform::setFileModificationTime(sFileName, when);
}

void clsFTPClient::SetFTPDirectory(const QString &sDir, bool bIsFromDragToCreate, Done done)
{
    // Uploads of folders make the missing remote folders as they go.
    send(ftp::ChangeDir{sDir, bIsFromDragToCreate}, "FtpSetCurrentDirectory", std::move(done));
}

void clsFTPClient::CreateFTPDirectory(const QString &sDirectory, Done done)
{
    send(ftp::MakeDir{sDirectory}, "CreateFTPDirectory", std::move(done));
}

void clsFTPClient::RemoveFTPDirectory(const QString &sDirectory, Done done)
{
    send(ftp::RemoveDir{sDirectory}, nullptr, std::move(done),
         [](const ftp::Result &) { bActivity = true; });
}

void clsFTPClient::DeleteFTPFile(const QString &sRemote, Done done)
{
    send(ftp::Delete{sRemote}, "DeleteFTPFile", std::move(done));
}

void clsFTPClient::RenameFTPFile(const QString &sExisting, const QString &sNewName, Done done)
{
    send(ftp::Rename{sExisting, sNewName}, "RenameFTPFile", std::move(done));
}

void clsFTPClient::SetCHMOD(const QString &sParam1, const QString &, bool, Done done)
{
    const bool noop = sParam1 == QLatin1String("NOOP");
    auto keepReply = [noop](const ftp::Result &r) {
        if (r.ok()) {
            // The keep-alive's NOOP must not wipe the reply the user is reading.
            if (!noop)
                sCommandResponse = r.text + QChar(0);
        } else {
            sCommandResponse = sLastError;
        }
        bActivity = true;
    };
    send(ftp::Raw{sParam1}, "ftpCommand", std::move(done), keepReply);
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
        m_host->logState(12, logline::unreadLinesText(summary.unreadLines, summary.firstUnread));
}

void clsFTPClient::fillDirectory(const ftp::Result &result)
{
    mDirCol = std::make_unique<cdEnum>();
    if (!result.folders || result.folders->empty()) {
        noteUnreadLines({});
        return;
    }
    const ftp::Folder &folder = result.folders->front();
    noteUnreadLines(folder.summary);
    mDirCol->reserve(folder.entries.size());
    for (const inet::FindRecord &record : folder.entries)
        addRecord(record);
}

void clsFTPClient::GetDirectoryListing(const QString &sFilter, Done done, const QString &folder)
{
    send(ftp::List{sFilter, folder}, "FtpFindFirstFile", std::move(done),
         [this](const ftp::Result &r) { fillDirectory(r); });
}

void clsFTPClient::GetFTPFileSize(const QString &sFile, Done done)
{
    send(ftp::Size{sFile}, "FtpFindFirstFile", std::move(done));
}

void clsFTPClient::WalkFolder(const QString &dir, FolderDone each, Done done)
{
    // Connected before the command goes, for the worker may list the first
    // folder before submit() returns; the id is known by the time a folder
    // arrives, which is always later, on this thread.
    auto id = std::make_shared<quint64>(0);
    auto watch = std::make_shared<QMetaObject::Connection>();
    if (m_link)
        *watch = connect(m_link.get(), &ftp::FtpLink::walked, this,
                         [id, each](quint64 command, const ftp::Folder &folder) {
                             if (command == *id && each)
                                 each(folder);
                         });
    *id = send(ftp::Walk{dir}, "FtpFindFirstFile", [watch, done](const ftp::Result &r) {
        disconnect(*watch);
        if (done)
            done(r);
    });
}

bool clsFTPClient::DownloadHTTPFile(const QString &sLocal, const QString &sRemote)
{
    const bool ok = inet::downloadUrlToFile(sRemote, sLocal);
    bActivity = true;
    return ok;
}
