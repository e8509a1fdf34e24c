#pragma once
// The one object through which the windows speak FTP: the browsing
// connection. Its connection lives on a thread of its own (ftp::FtpLink), so
// every member that needs the server sends a command and returns at once; the
// result comes back on the window's thread, where the session first turns it
// into the texts the windows show (sLastError, sLastResponse,
// sCommandResponse), the current folder and the listing (Directory), and then
// calls the function the caller gave. No member throws and none waits.

#include "session/ConnectionSecurity.h"
#include "session/FtpLink.h"
#include "session/SessionHost.h"
#include "session/cdEnum.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class clsFTPClient : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const ftp::Result &)>;

    explicit clsFTPClient(QObject *parent = nullptr);
    ~clsFTPClient() override;

    // The window (or front end) that shows this session; not owned.
    void setHost(SessionHost *host);
    SessionHost *host() const { return m_host; }
    // Time-outs of every network wait (tests make them short).
    void setTimeouts(const inet::Timeouts &timeouts);
    inet::Timeouts timeouts() const { return m_timeouts; }
    // FTP over TLS for the next OpenConnection: mode, trust, questions.
    ConnectionSecurity &security() { return m_security; }
    // Answers a certificate question of one of this session's connections
    // (the browsing one, or a transfer connection to the same server).
    void answerCertificate(ftp::FtpLink *link, const ftp::Request &request);

    // ---- connection, texts and settings
    const cdEnum &Directory();
    // sLastError for a failure code: the library's text, or for internet
    // codes above 12000 the server's last reply (of the last result).
    void ErrorOut(quint32 dwError, const QString &szFunc, const QString &sModule);
    // sLastResponse: the server's last reply, as the last result brought it.
    void ActionOut(const QString &sModule);
    QString GetLastErrorMessage() const;
    // Starts the browsing connection: a bad port or an off-line machine fail
    // at once (done is called before this returns); otherwise the login runs
    // on the connection's thread and done gets its result, the welcome in
    // sLastResponse. A connection already open is closed first.
    void OpenConnection(const QString &sServer, const QString &sPort, const QString &sUser,
                        const QString &sPassword, qint64 plServiceConnectionType, Done done);
    // Ends the connection: what runs on it stops, what waits is dropped (its
    // functions are never called), and the goodbye goes on in the background.
    void CloseConnection();
    // Stops what runs and waits on the browsing connection, a login included;
    // each command answers Stopped.
    void cancelOperations();
    // A command is on its way or running.
    bool isBusy() const { return m_link && !m_link->isIdle(); }
    bool isOpen() const { return m_link != nullptr; }
    // The browsing connection, and what another connection to the same
    // server logs in with (the queue's transfer connections).
    ftp::FtpLink *link() const { return m_link.get(); }
    std::optional<ftp::LoginParams> loginParams() const;

    void SetTransferASCII();
    void SetTransferBinary();
    void SetModeActive();
    void SetModePassive();
    quint32 transferType() const { return lTransferType; }

    // ---- remote operations
    // The folder the server named last (after the login, every folder change
    // and every listing): no round trip.
    QString GetFTPDirectory() const { return m_folder; }
    // With bIsFromDragToCreate, a folder that cannot be entered is made first.
    void SetFTPDirectory(const QString &sDir, bool bIsFromDragToCreate, Done done = {});
    void SetFTPDirectory(const QString &sDir, Done done = {}) { SetFTPDirectory(sDir, false, std::move(done)); }
    void CreateFTPDirectory(const QString &sDirectory, Done done = {});
    // Reports nothing itself: the callers log the server's reply.
    void RemoveFTPDirectory(const QString &sDirectory, Done done = {});
    void DeleteFTPFile(const QString &sRemote, Done done = {});
    void RenameFTPFile(const QString &sExisting, const QString &sNewName, Done done = {});
    // A raw command; its reply (or the error) lands in sCommandResponse.
    void SetCHMOD(const QString &sParam1, const QString &sParam2 = QString(), bool bVeuxMessageRetour = false,
                  Done done = {});

    // ---- listings
    // The entries of the current remote folder (or of `folder`, entered
    // first) replace Directory(); the entries read before a failure stay.
    void GetDirectoryListing(const QString &sFilter, Done done, const QString &folder = QString());
    // result.size: the size, or -1 when there is no such file.
    void GetFTPFileSize(const QString &sFile, Done done);
    // Every file below a remote folder, for the queue's expansion: `each`
    // has the folders one by one, depth first, as they are listed, then
    // `done` the walk's end. The session's folder and Directory() stay as they were.
    using FolderDone = std::function<void(const ftp::Folder &)>;
    void WalkFolder(const QString &dir, FolderDone each, Done done);
    // What the last listing said of itself: the lines no format understood
    // (already written to the log).
    const inet::ListingSummary &listingSummary() const { return m_listingSummary; }

    // ---- other
    bool DownloadHTTPFile(const QString &sLocal, const QString &sRemote);

    // Waits with a local event loop until the browsing connection has
    // answered everything sent so far. For front ends without a window and
    // for tests: a window never waits.
    void waitIdle();

signals:
    // The browsing connection had to be made again.
    void reconnected();

private:
    // Sends a command; `handle` turns the result into the session's state
    // before `done` sees it.
    // szFunc null: a failure leaves sLastError as it was (the caller reports it).
    // The command's number on the connection (0: refused, not connected).
    quint64 send(ftp::Command command, const char *szFunc, Done done,
                 const std::function<void(const ftp::Result &)> &handle = {});
    void takeResult(const ftp::Result &result, const char *szFunc);
    void fillDirectory(const ftp::Result &result);
    void addRecord(const inet::FindRecord &record);
    void noteUnreadLines(const inet::ListingSummary &summary);

    std::unique_ptr<ftp::FtpLink> m_link;
    std::unique_ptr<cdEnum> mDirCol;
    QString m_folder;
    QString m_lastReply;          // the server's words of the last result
    quint32 lTransferType = 0;    // 0 default (binary), 1 ASCII, 2 binary
    inet::Timeouts m_timeouts;
    inet::ListingSummary m_listingSummary;
    ConnectionSecurity m_security;
    QByteArray m_accepted;        // the certificate the user went on with
    NullSessionHost m_nullHost;
    SessionHost *m_host = &m_nullHost;
};

// Sets the last-write time of a local file from a date text (as the panes and
// the queue write dates); false when the file or the date is not there.
bool SetLocalFileTime(const QString &sFileName, const QString &sDate);
