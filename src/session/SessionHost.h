#pragma once
// What the engine needs from whoever shows it: the main window implements this,
// and so do the command-line front end and the tests. The engine never reaches
// a window directly.

#include "platform/inet/Inet.h"
#include "session/FtpCommand.h"

#include <QString>

// The answer to an untrusted server certificate.
enum class CertificateAnswer { Cancel, TrustOnce, TrustAlways };

// How the connection is protected, for the window to show (a lock in the
// status line): encrypted with the protocol and cipher, or plain.
struct ConnectionProtection {
    bool connected = false;
    bool encrypted = false;
    QString protocol; // "TLSv1.3"
    QString cipher;
};

class SessionHost {
public:
    virtual ~SessionHost() = default;

    // The keep-alive timer (30 s) of the main window.
    virtual void setKeepAliveEnabled(bool enabled) = 0;
    // Writes to the session log (State and message as the log writer takes them).
    virtual void logState(int state, const QString &message) = 0;

    // The transfer progress bar.
    virtual void setProgressValue(qint64 value) = 0;
    virtual void setProgressVisible(bool visible) = 0;

    // Re-read the local folder / re-list the server folder.
    virtual void refreshLocalDir() = 0;
    virtual void refreshDirectoryListing() = 0;

    // The file-exists question: true to go ahead. Records lExistChoice,
    // bOverwriteAll and bResumeAll. isUp: true for an upload (the existing
    // file is remote); canResume: the existing file is smaller and may be
    // continued (Resume is offered). question: the transfer's own, whose
    // sizes and dates of the two files the question shows.
    virtual bool overWriteExist(const QString &fileName, bool isUp, bool canResume = false,
                                const ftp::Request *question = nullptr) = 0;
    // The delete question: true to delete. May set bDeleteAll.
    virtual bool deleteItem(const QString &fileName, bool isUp) = 0;

    // FTP over TLS. The server's certificate is not trusted (info says why;
    // info.previousSha256 is set when another certificate was trusted for
    // this server before): show it and ask. Nothing has been sent to the
    // server yet; it waits while the user decides. Called on the thread that
    // makes the connection. The default: cancel.
    virtual CertificateAnswer askCertificate(const inet::CertificateInfo &) { return CertificateAnswer::Cancel; }
    // The connection's protection changed (connected, or closed).
    virtual void showProtection(const ConnectionProtection &) {}
};

// A host that does nothing and answers "no" (used until a window is attached).
class NullSessionHost : public SessionHost {
public:
    void setKeepAliveEnabled(bool) override {}
    void logState(int, const QString &) override {}
    void setProgressValue(qint64) override {}
    void setProgressVisible(bool) override {}
    void refreshLocalDir() override {}
    void refreshDirectoryListing() override {}
    bool overWriteExist(const QString &, bool, bool = false, const ftp::Request * = nullptr) override { return false; }
    bool deleteItem(const QString &, bool) override { return false; }
};
