#pragma once
// The one object through which the program speaks FTP. It wraps our internet
// library in synchronous calls, keeps the connection, and turns every failure
// and every server reply into the texts the windows show (sLastError,
// sLastResponse, sCommandResponse). No member throws: each returns its failure
// value and leaves the reason in sLastError.

#include "platform/inet/Inet.h"
#include "session/ConnectionSecurity.h"
#include "session/SessionHost.h"
#include "session/cdEnum.h"

#include <QObject>
#include <QString>

#include <memory>

class clsFTPClient : public QObject {
    Q_OBJECT
public:
    explicit clsFTPClient(QObject *parent = nullptr);
    ~clsFTPClient() override;

    // The window (or front end) that shows this session; not owned.
    void setHost(SessionHost *host);
    SessionHost *host() const { return m_host; }
    // Time-outs of every network wait (tests make them short).
    void setTimeouts(const inet::Timeouts &timeouts);
    // FTP over TLS for the next OpenConnection: mode, trust, questions.
    ConnectionSecurity &security() { return m_security; }

    // ---- connection, texts and settings
    const cdEnum &Directory();
    void ErrorOut(quint32 dwError, const QString &szFunc, const QString &sModule);
    void ActionOut(const QString &sModule);
    QString GetLastErrorMessage() const;
    bool OpenConnection(const QString &sServer, const QString &sPort, const QString &sUser,
                        const QString &sPassword, qint64 plServiceConnectionType);
    void CloseConnection();
    void SetTransferASCII();
    void SetTransferBinary();
    void SetModeActive();
    void SetModePassive();
    quint32 transferType() const { return lTransferType; }

    // ---- remote operations
    QString GetFTPDirectory();
    bool SetFTPDirectory(const QString &sDir, bool &bIsFromDragToCreate);
    bool SetFTPDirectory(const QString &sDir);
    bool CreateFTPDirectory(const QString &sDirectory);
    bool RemoveFTPDirectory(const QString &sDirectory);
    bool DeleteFTPFile(const QString &sRemote);
    bool RenameFTPFile(const QString &sExisting, const QString &sNewName);
    void SetCHMOD(const QString &sParam1, const QString &sParam2 = QString(), bool bVeuxMessageRetour = false);

    // ---- listings
    // The entries of the current remote folder; nullptr on failure or when
    // nothing matches. The entries read before a failure stay in Directory().
    const cdEnum *GetDirectoryListing(const QString &sFilter);
    // -1: no such file; -2: the listing failed (sLastError says why).
    qint64 GetFTPFileSize(const QString &sFile);

    // ---- transfers, one file at a time, in blocks of 255 bytes
    // The separator that makes CheckAndCreateSubFolder work on the local disk.
    static inline const QString LocalSlash = QStringLiteral("\\");
    bool FTPUploadFile(QString &sLocal, QString &sRemote);
    bool FTPDownloadFile(const QString &sLocal, const QString &sRemote);
    bool DownloadHTTPFile(const QString &sLocal, const QString &sRemote);
    // Builds a folder path level by level: on the server (psSlash "/"), making
    // it the current folder, or on the local disk (LocalSlash), then entering
    // psServerPath on the server.
    void CheckAndCreateSubFolder(const QString &psStringToChk, const QString &psSlash,
                                 const QString &psServerPath);

signals:
    void StateChanged(int State, const QString &sMessage);
    void FileTransferProgress(qint64 lCurrentBytes, qint64 lTotalBytes);

private:
    void endTransferStopped(bool upload);
    bool localFileError(int error, const char *szFunc);
    bool requireConnection(const char *szFunc);
    void addRecord(const inet::FindRecord &record);

    std::unique_ptr<inet::InternetSession> m_session;
    std::unique_ptr<cdEnum> mDirCol;
    std::unique_ptr<inet::FtpFile> hFile; // the running transfer's remote file
    quint32 lTransferType = 0;            // 0 default (binary), 1 ASCII, 2 binary
    ConnectionSecurity m_security;
    NullSessionHost m_nullHost;
    SessionHost *m_host = &m_nullHost;
};

// Sets the last-write time of a local file from a date text (as the panes and
// the queue write dates); false when the file or the date is not there.
bool SetLocalFileTime(const QString &sFileName, const QString &sDate);
