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
#include "transfer/WalkedRows.h"

#include <QDir>
#include <QPointer>
#include <QFileInfo>

namespace {
// Log texts of the expansion's refusals.
constexpr int kUnsafeNameId = 790;
constexpr int kUnreadableFileId = 791;
constexpr int kUndecodableNameId = 875;

QString lastComponent(QString path, QChar separator)
{
    while (path.size() > 1 && path.endsWith(separator))
        path.chop(1);
    return path.mid(path.lastIndexOf(separator) + 1);
}
} // namespace

TransferQueue::TransferQueue(clsFTPClient &ftp, QueueModel &model, SessionHost &session, QueueHost &host,
                             QObject *parent)
    : QObject(parent), m_ftp(ftp), m_model(model), m_session(session), m_host(host),
      m_runner(ftp, model, session, host)
{
    connect(&m_runner, &QueueRunner::started, this, &TransferQueue::runStarted);
    connect(&m_runner, &QueueRunner::finished, this, &TransferQueue::runFinished);
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
    const QString text = LangStr(stringId) + name;
    m_session.logState(12, text);
    emit entryRefused(text);
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
    row.direction = QueueRow::Direction::Upload;
    row.name = lastComponent(path, QLatin1Char('/'));
    row.local = path;
    if (bConnected) {
        const QString base = remoteBaseForUploads();
        row.remote = sNamePathDrag.isEmpty() ? base : joinRemote(base, sNamePathDrag);
    }
    row.host = sCurrentHost;
    row.size = size;
    row.iconKey = QStringLiteral("local:") + path;
    m_model.append(row);
    sLastQueuedSize = formatSizeText(size);
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
    for (const QString &name : platform::undecodableNames(fPath))
        logRefused(kUndecodableNameId, chkdir(fPath, name));
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
    row.direction = QueueRow::Direction::Download;
    row.name = entry.name;
    row.local = localFolder;
    row.remote = remoteFolder;
    row.host = sCurrentHost;
    row.size = entry.size;
    row.remoteDate = entry.date;
    row.iconKey = QStringLiteral("image:") + QString::number(ImgNumber(entry.name));
    m_model.append(row);
    sLastQueuedSize = entry.size < 0 ? QString() : formatSizeText(entry.size);
    if (m_feeding)
        m_runner.admitRow();
}

void TransferQueue::addRemoteSelection(const QList<RemoteSelection> &rows)
{
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
        m_expansion.push_back({row, entry && (entry->Directory || mayBeFile), mayBeFile, remoteFolder, localFolder});
    }
    expandNext();
}

void TransferQueue::addfolder(const QString &dir)
{
    RemoteSelection folder;
    folder.name = dir;
    m_expansion.push_back({folder, true, false, QString(), m_host.currentLocalFolder()});
    expandNext();
}

// The selection goes in in order: files at once, each folder once its
// listing is back from the browsing connection.
void TransferQueue::expandNext()
{
    if (m_walking)
        return;
    while (!m_expansion.empty()) {
        const Pending p = m_expansion.front();
        if (!p.isFolder) {
            addDownloadRow(p.entry, p.remoteFolder, p.localFolder);
            m_expansion.pop_front();
            continue;
        }
        const QString dir = p.remoteFolder.isEmpty() ? p.entry.name : joinRemote(p.remoteFolder, p.entry.name);
        if (isUnsafeRemoteName(lastComponent(dir, QLatin1Char('/')))) {
            logRefused(kUnsafeNameId, lastComponent(dir, QLatin1Char('/')));
            m_expansion.pop_front();
            continue;
        }
        m_walking = true;
        m_host.showQueueWait(true);
        m_host.setBusy(true);
        QPointer<TransferQueue> self(this);
        auto rows = std::make_shared<WalkedRows>(
            p.localFolder,
            WalkedRows::Sink{[self](const RemoteSelection &file, const QString &remote, const QString &local) {
                                 self->addDownloadRow(file, remote, local);
                             },
                             [self](int stringId, const QString &name) { self->logRefused(stringId, name); }});
        m_ftp.WalkFolder(
            dir,
            [self, p, rows](const ftp::Folder &folder) {
                if (!self || !self->m_walking)
                    return;
                // A link, or an entry of no kind, that cannot be entered is a file.
                if (rows->empty() && p.mayBeFile && !folder.entered && !folder.tooDeep)
                    self->addDownloadRow(p.entry, p.remoteFolder, p.localFolder);
                else
                    rows->add(folder);
            },
            [self](const ftp::Result &r) {
                if (!self || !self->m_walking)
                    return;
                self->m_walking = false;
                self->m_host.setBusy(false);
                // Cut short (connection lost): the rows up to the first folder not
                // listed are queued, and the log says why the rest is not.
                if (!r.ok() && !sLastError.isEmpty()) {
                    self->m_session.logState(12, sLastError);
                    emit self->entryRefused(sLastError);
                }
                if (!self->m_expansion.empty())
                    self->m_expansion.pop_front();
                self->expandNext();
            });
        return;
    }
    m_host.showQueueWait(false);
    endFeeding();
    emit expansionFinished();
}

// Asked while server folders are still being listed, the run starts at
// once and takes their rows as they come: the first files move while the
// rest of the tree is listed.
void TransferQueue::RunTransferQueue()
{
    if (m_runner.isRunning())
        return;
    m_feeding = isExpanding();
    m_runner.start(m_feeding);
}

void TransferQueue::endFeeding()
{
    if (!m_feeding)
        return;
    m_feeding = false;
    m_runner.endOfRows();
}

void TransferQueue::endExpansion()
{
    m_expansion.clear();
    endFeeding();
    if (m_walking) {
        m_walking = false;
        m_host.setBusy(false);
    }
    m_host.showQueueWait(false);
}

void TransferQueue::stop()
{
    // The run first: one still waiting for rows then ends as stopped.
    m_runner.stop();
    if (isExpanding()) {
        endExpansion();
        emit expansionFinished();
    }
}

void TransferQueue::connectionClosing()
{
    endExpansion();
    m_runner.abandon();
}

void TransferQueue::mFTP_FileTransferProgress(qint64 lCurrentBytes, qint64 lTotalBytes)
{
    m_runner.progressOfFirstRow(lCurrentBytes, lTotalBytes);
}

QString TransferQueue::ConvertTime(double TheTime)
{
    return queueTimeText(TheTime);
}
