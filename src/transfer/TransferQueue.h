#pragma once
// The transfer queue's engine: turning files and folders into rows (folders are
// expanded recursively, locally or on the server) and running the rows one
// after the other through the session's transfer primitives. Shared by the
// desktop program and the command-line front end.

#include "transfer/QueueModel.h"

#include <QObject>
#include <QString>

#include <functional>

class clsFTPClient;
class SessionHost;
class QueueHost;

// A row selected in the server pane: its name and the texts of its size and
// date columns.
struct RemoteSelection {
    QString name;
    QString sizeText;
    QString dateText;
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

    // ---- adding rows
    // A local folder and a name joined by exactly one "/".
    static QString chkdir(const QString &dir, const QString &File);
    // A remote folder and a name joined by exactly one "/".
    static QString joinRemote(const QString &dir, const QString &name);

    // The selection of one pane, folders expanded (the design's DragDropManuel).
    void addLocalSelection(const QList<LocalSelection> &rows);
    void addRemoteSelection(const QList<RemoteSelection> &rows);

    // One local file as an upload row into the current remote folder followed
    // by sNamePathDrag ("/sub/path" or ""). False when the file cannot be read
    // (it is skipped with a line in the log).
    bool menuupload(const QString &path, const QString &sNamePathDrag);
    // Every file below a local folder, as upload rows.
    void LocalSubFolder(const QString &fPath, const QString &sOriginPath);
    // Called after every upload row menuupload adds (also those of a folder
    // expansion), with the file's path and the remote sub-path it was given;
    // sLastQueuedSize already holds the row's size text. Nobody watches by
    // default; the drop-in basket lists the files of a dropped folder this
    // way. An empty function stops watching.
    using UploadObserver = std::function<void(const QString &path, const QString &sNamePathDrag)>;
    void setUploadObserver(UploadObserver observer) { m_uploadObserver = std::move(observer); }
    // One remote file as a download row into the current local folder.
    void addDownloadRow(const RemoteSelection &entry, const QString &remoteFolder, const QString &localFolder);
    // Every file below a remote folder (a full path), as download rows.
    void addfolder(const QString &dir);

    // ---- running
    // Transfers the rows one after the other. Ignored while a run is going on.
    void RunTransferQueue();
    // The session's progress event: speed, amount and time left of the row.
    void mFTP_FileTransferProgress(qint64 lCurrentBytes, qint64 lTotalBytes);
    static QString ConvertTime(double TheTime);

    double TransferSpeed = 0; // thousands of bytes per second, two decimals

    // Seconds on a monotonic clock; tests put their own clock in.
    void setClock(std::function<double()> clock) { m_clock = std::move(clock); }
    // The running file starts now: its speed is measured from here.
    void markTransferStart();

private:
    // mayBeFile: a link or an entry of no kind, a file when the server does
    // not let us in. False when it was not entered and is to be taken for a
    // file; true when it was expanded or left out (with a line in the log).
    bool expandFolder(const QString &dir, bool mayBeFile);
    bool AddSubFolder(const QString &dir, const QString &NewPathToSet, bool mayBeFile);
    void addListedFiles(const QString &dir, const QString &localFolder, const QString &NewPathToSet);
    QString remoteBaseForUploads();
    void logRefused(int stringId, const QString &name);
    bool runDownload(const QueueRow &row);
    enum class UploadOutcome { Done, Dropped, Stopped };
    UploadOutcome runUpload(const QueueRow &row);
    void completeRun(const QString &savedLocal, const QString &savedRemote);
    void failRun();

    clsFTPClient &m_ftp;
    QueueModel &m_model;
    SessionHost &m_session;
    QueueHost &m_host;
    UploadObserver m_uploadObserver;

    int m_batchDepth = 0;         // nesting of the current expansion
    int m_remoteDepth = 0;        // folders below the one a remote expansion started in
    QString m_batchRemoteBase;    // the remote folder of the current expansion
    std::function<double()> m_clock;
    double m_transferStart = 0;   // seconds, monotonic
    double m_lastPaint = -1;
    qint64 m_barValue = 0;
};
