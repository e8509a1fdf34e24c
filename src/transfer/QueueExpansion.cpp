// Adding rows to the transfer queue: single files, and folders expanded
// recursively on the local disk or on the server.
#include "transfer/TransferQueue.h"

#include "platform/LocalFile.h"
#include "platform/Yield.h"
#include "session/FileTypes.h"
#include "session/SessionHost.h"
#include "session/SessionState.h"
#include "session/SizeText.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "transfer/QueueHost.h"

#include <QDir>
#include <QFileInfo>

namespace {
// Log texts of the expansion's refusals.
constexpr int kUnsafeNameId = 790;
constexpr int kUnreadableFileId = 791;
constexpr int kFolderNotEnteredId = 792;
constexpr int kLinkLoopId = 873;
constexpr int kTooDeepId = 874;
// Folders below one another that an expansion goes into at most: a server
// may show a link that leads back up as a plain folder.
constexpr int kMaxRemoteDepth = 32;

QString lastComponent(QString path, QChar separator)
{
    while (path.size() > 1 && path.endsWith(separator))
        path.chop(1);
    return path.mid(path.lastIndexOf(separator) + 1);
}

// A link in `dir` whose target is `dir` itself or a folder above it: going in
// would list the same folders again and again.
bool leadsBack(const QString &dir, const QString &target)
{
    if (target.isEmpty())
        return false;
    const QString resolved = QDir::cleanPath(target.startsWith(QLatin1Char('/')) ? target : dir + QLatin1Char('/') + target);
    const QString here = QDir::cleanPath(dir);
    return resolved == here || resolved == QLatin1String("/") || here.startsWith(resolved + QLatin1Char('/'));
}
} // namespace

TransferQueue::TransferQueue(clsFTPClient &ftp, QueueModel &model, SessionHost &session, QueueHost &host,
                             QObject *parent)
    : QObject(parent), m_ftp(ftp), m_model(model), m_session(session), m_host(host)
{
    connect(&m_ftp, &clsFTPClient::FileTransferProgress, this, &TransferQueue::mFTP_FileTransferProgress);
}

QString TransferQueue::chkdir(const QString &dir, const QString &File)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + File : dir + QLatin1Char('/') + File;
}

QString TransferQueue::joinRemote(const QString &dir, const QString &name)
{
    if (dir.isEmpty())
        return name;
    QString tail = name;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    return dir.endsWith(QLatin1Char('/')) ? dir + tail : dir + QLatin1Char('/') + tail;
}

void TransferQueue::logRefused(int stringId, const QString &name)
{
    m_session.logState(12, LangStr(stringId) + name);
}

QString TransferQueue::remoteBaseForUploads()
{
    if (!bConnected)
        return QString();
    // One expansion adds all its files into the same remote folder: ask the
    // server once, not once per file.
    if (m_batchDepth > 0 && !m_batchRemoteBase.isNull())
        return m_batchRemoteBase;
    const QString base = m_ftp.GetFTPDirectory();
    if (m_batchDepth > 0)
        m_batchRemoteBase = base;
    return base;
}

bool TransferQueue::menuupload(const QString &path, const QString &sNamePathDrag)
{
    int error = 0;
    const qint64 size = platform::localFileSize(path, &error);
    if (size < 0) {
        logRefused(kUnreadableFileId, path);
        return false;
    }
    QueueRow row;
    row.text[QueueRow::Name] = lastComponent(path, QLatin1Char('/'));
    row.text[QueueRow::Local] = path;
    if (bConnected) {
        const QString base = remoteBaseForUploads();
        row.text[QueueRow::Remote] = sNamePathDrag.isEmpty() ? base : joinRemote(base, sNamePathDrag);
    }
    row.text[QueueRow::Host] = sCurrentHost;
    row.text[QueueRow::Size] = formatSizeText(size);
    row.text[QueueRow::Status] = LangStr(522);
    row.iconKey = QStringLiteral("local:") + path;
    m_model.append(row);
    sLastQueuedSize = row.text[QueueRow::Size];
    if (m_uploadObserver)
        m_uploadObserver(path, sNamePathDrag);
    return true;
}

void TransferQueue::LocalSubFolder(const QString &fPath, const QString &sOriginPath)
{
    ++m_batchDepth;
    const QString rel = sOriginPath + QLatin1Char('/') + lastComponent(fPath, QLatin1Char('/'));
    const QFileInfoList entries = QDir(fPath).entryInfoList(
        QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        const QString full = chkdir(fPath, entry.fileName());
        if (entry.isDir()) {
            // A link to a folder could lead back up the tree: not followed.
            if (!entry.isSymLink())
                LocalSubFolder(full, rel);
        } else {
            menuupload(full, rel);
        }
    }
    platform::yieldToEventLoop();
    if (--m_batchDepth == 0)
        m_batchRemoteBase = QString();
}

void TransferQueue::addLocalSelection(const QList<LocalSelection> &rows)
{
    platform::yieldNow();
    ++m_batchDepth;
    const QString folder = m_host.currentLocalFolder();
    for (const LocalSelection &row : rows) {
        if (row.name.isEmpty() || row.name == QLatin1String(".") || row.name == QLatin1String(".."))
            continue;
        if (row.isFolder) {
            m_host.showQueueWait(true);
            LocalSubFolder(chkdir(folder, row.name), QString());
        } else {
            menuupload(chkdir(folder, row.name), QString());
        }
    }
    if (--m_batchDepth == 0)
        m_batchRemoteBase = QString();
    m_host.showQueueWait(false);
}

void TransferQueue::addDownloadRow(const RemoteSelection &entry, const QString &remoteFolder,
                                   const QString &localFolder)
{
    QueueRow row;
    row.text[QueueRow::Name] = entry.name;
    row.text[QueueRow::Local] = localFolder;
    row.text[QueueRow::Remote] = remoteFolder;
    row.text[QueueRow::Host] = sCurrentHost;
    row.text[QueueRow::Size] = entry.sizeText;
    row.text[QueueRow::Status] = QueueModel::DownloadStatus;
    row.text[QueueRow::RemoteDate] = entry.dateText;
    row.iconKey = QStringLiteral("image:") + QString::number(ImgNumber(entry.name));
    m_model.append(row);
    sLastQueuedSize = row.text[QueueRow::Size];
}

void TransferQueue::addRemoteSelection(const QList<RemoteSelection> &rows)
{
    platform::yieldNow();
    const QString remoteFolder = m_ftp.GetFTPDirectory();
    const QString localFolder = m_host.currentLocalFolder();
    for (const RemoteSelection &row : rows) {
        if (row.name == QLatin1String(".") || row.name == QLatin1String(".."))
            continue;
        if (isUnsafeRemoteName(row.name)) {
            logRefused(kUnsafeNameId, row.name);
            continue;
        }
        const cDItemAttribute *entry = m_ftp.Directory().Item(row.name);
        // A link, or an entry of no kind, is a folder if the server lets us in.
        const bool mayBeFile = entry && entry->kindFromServer();
        if (entry && (entry->Directory || mayBeFile)) {
            m_host.showQueueWait(true);
            if (expandFolder(joinRemote(remoteFolder, row.name), mayBeFile))
                continue;
        }
        addDownloadRow(row, remoteFolder, localFolder);
        platform::yieldToEventLoop();
    }
    m_host.showQueueWait(false);
}

// Queues the files of the listing just read (the session's Directory) and
// goes down into its folders, depth first in listing order.
void TransferQueue::addListedFiles(const QString &dir, const QString &localFolder, const QString &NewPathToSet)
{
    // The recursion lists other folders: work on a copy of this listing.
    const std::vector<cDItemAttribute> entries(m_ftp.Directory().begin(), m_ftp.Directory().end());
    for (const cDItemAttribute &e : entries) {
        if (e.Filename == QLatin1String(".") || e.Filename == QLatin1String(".."))
            continue;
        if (isUnsafeRemoteName(e.Filename)) {
            logRefused(kUnsafeNameId, e.Filename);
            continue;
        }
        const QString path = joinRemote(dir, e.Filename);
        if (e.isLink && leadsBack(dir, e.linkTarget)) {
            logRefused(kLinkLoopId, path);
            continue;
        }
        if ((e.Directory || e.kindFromServer())
            && (AddSubFolder(path, NewPathToSet + QLatin1Char('/') + e.Filename, e.kindFromServer()) || e.Directory))
            continue;
        // What the listing did not give stays empty in the row, not "0" or 1601.
        RemoteSelection file{e.Filename, e.sizeKnown ? formatSizeText(e.FileSize) : QString(),
                             e.timeKnown ? formatGeneralDate(e.LastWriteTime) : QString()};
        addDownloadRow(file, dir, localFolder);
    }
}

void TransferQueue::addfolder(const QString &dir)
{
    expandFolder(dir, false);
}

bool TransferQueue::expandFolder(const QString &dir, bool mayBeFile)
{
    m_host.setBusy(true);
    const QString saved = m_ftp.GetFTPDirectory();
    const QString top = lastComponent(dir, QLatin1Char('/'));
    bool entered = false;
    // A folder that cannot be entered would list the folder we are in
    // instead, and queue the wrong files: it is left out.
    if (isUnsafeRemoteName(top)) {
        logRefused(kUnsafeNameId, top);
        entered = true; // refused, and not to be taken for a file either
    } else if (m_ftp.SetFTPDirectory(dir)) {
        entered = true;
        platform::yieldToEventLoop();
        m_ftp.GetDirectoryListing(QStringLiteral("*.*"));
        m_remoteDepth = 1;
        addListedFiles(dir, chkdir(m_host.currentLocalFolder(), top), top);
        m_remoteDepth = 0;
    } else if (!mayBeFile) {
        logRefused(kFolderNotEnteredId, dir);
    }
    if (entered || !mayBeFile) {
        platform::yieldToEventLoop();
        m_ftp.SetFTPDirectory(saved);
        m_ftp.GetDirectoryListing(QStringLiteral("*.*")); // the pane's listing again
    }
    m_host.setBusy(false);
    return entered || !mayBeFile;
}

bool TransferQueue::AddSubFolder(const QString &dir, const QString &NewPathToSet, bool mayBeFile)
{
    if (m_remoteDepth >= kMaxRemoteDepth) {
        logRefused(kTooDeepId, dir);
        return true;
    }
    if (!m_ftp.SetFTPDirectory(dir)) {
        if (!mayBeFile)
            logRefused(kFolderNotEnteredId, dir);
        return false;
    }
    m_ftp.GetDirectoryListing(QStringLiteral("*.*"));
    ++m_remoteDepth;
    addListedFiles(dir, chkdir(m_host.currentLocalFolder(), NewPathToSet), NewPathToSet);
    --m_remoteDepth;
    platform::yieldToEventLoop();
    return true;
}
