#pragma once
// The transfer queue's engine: turning files and folders into rows (folders
// are expanded recursively, locally or on the server) and running the rows
// through the queue runner. Shared by the desktop program and the command-line
// front end. Expanding a server folder and running both go on in the
// background: the calls return at once, and signals tell when they end.

#include "transfer/QueueModel.h"
#include "transfer/QueueRunner.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class clsFTPClient;
class SessionHost;
class QueueHost;

// A row selected in the server pane: its name, size and date as the listing
// gave them (-1 and an invalid date when unknown or not wanted).
struct RemoteSelection {
    QString name;
    qint64 size = -1;
    QDateTime date;
};

// A row selected in the local pane.
struct LocalSelection {
    QString name;
    bool isFolder = false;
};

class TransferQueue : public QObject {
    Q_OBJECT
public:
    TransferQueue(clsFTPClient &ftp, QueueModel &model, SessionHost &session, QueueHost &host,
                  QObject *parent = nullptr);

    QueueModel &model() { return m_model; }
    QueueRunner &runner() { return m_runner; }

    // ---- adding rows
    // A local folder and a name joined by exactly one "/".
    static QString chkdir(const QString &dir, const QString &File);
    // A remote folder and a name joined by exactly one "/".
    static QString joinRemote(const QString &dir, const QString &name);

    // The selection of one pane, folders expanded (the design's DragDropManuel).
    void addLocalSelection(const QList<LocalSelection> &rows);
    // Server folders are listed on the browsing connection, one after the
    // other: their rows come in selection order, each folder's as soon as it is listed.
    void addRemoteSelection(const QList<RemoteSelection> &rows);

    // One local file as an upload row into the current remote folder followed
    // by sNamePathDrag ("/sub/path" or ""). False when the file cannot be read
    // (it is skipped with a line in the log).
    bool menuupload(const QString &path, const QString &sNamePathDrag);
    // Every file below a local folder, as upload rows.
    void LocalSubFolder(const QString &fPath, const QString &sOriginPath);
    // Called after every upload row menuupload adds (also those of a folder
    // expansion), with the file's path and the remote sub-path it was given;
    // sLastQueuedSize already holds the row's size text. The drop-in basket
    // lists the files of a dropped folder this way. An empty function stops watching.
    using UploadObserver = std::function<void(const QString &path, const QString &sNamePathDrag)>;
    void setUploadObserver(UploadObserver observer) { m_uploadObserver = std::move(observer); }
    // One remote file as a download row into the given local folder.
    void addDownloadRow(const RemoteSelection &entry, const QString &remoteFolder, const QString &localFolder);
    // Every file below a remote folder (a full path), as download rows.
    void addfolder(const QString &dir);
    // A server folder is being listed for the queue.
    bool isExpanding() const { return !m_expansion.empty(); }

    // ---- running
    // Transfers the rows queued now; ignored while a run goes on. Asked while
    // server folders are still being listed, their rows join the run as they come.
    void RunTransferQueue();
    bool isRunning() const { return m_runner.isRunning(); }
    // The stop button: only what runs stops. Folders still being listed
    // for the queue are given up, and a run that was to follow them does
    // not start.
    void stop();
    // The connection goes away: the run and the expansion end at once.
    void connectionClosing();
    // The design's progress handler, for the first running row.
    void mFTP_FileTransferProgress(qint64 lCurrentBytes, qint64 lTotalBytes);
    static QString ConvertTime(double TheTime);
    double transferSpeed() const { return m_runner.transferSpeed(); }
    void setClock(std::function<double()> clock) { m_runner.setClock(std::move(clock)); }
    void markTransferStart() { m_runner.markTransferStart(); }

signals:
    void expansionFinished();
    // A file or folder left out of the queue, with the log line that says why.
    void entryRefused(const QString &text);
    void runStarted();
    void runFinished(const QList<RowOutcome> &outcomes);

private:
    struct Pending {
        RemoteSelection entry;  // a file, or with isFolder a folder to list
        bool isFolder = false;
        bool mayBeFile = false; // a link or an entry of no kind: a file when it cannot be entered
        QString remoteFolder;
        QString localFolder;
    };
    void expandNext();
    // The selection still to list is dropped; the listing on its way is ignored.
    void endExpansion();
    // A run that takes the expansion's rows as they come gets no more.
    void endFeeding();
    QString remoteBaseForUploads();
    void logRefused(int stringId, const QString &name);

    clsFTPClient &m_ftp;
    QueueModel &m_model;
    SessionHost &m_session;
    QueueHost &m_host;
    QueueRunner m_runner;
    UploadObserver m_uploadObserver;

    std::deque<Pending> m_expansion; // the selection still to add, in order
    bool m_walking = false;          // its first entry is being listed
    bool m_feeding = false;          // the run takes the rows the expansion adds
    int m_batchDepth = 0;            // nesting of the current local expansion
    QString m_batchRemoteBase;       // the remote folder of the current expansion
};
