#pragma once
// FTP over TLS for the session's connections: the mode, the extra CA
// certificates and a pinned fingerprint (both from the command line), the
// store of always-trusted certificates, and the question to the user, asked
// through the session's host. fill() puts what a connection needs into its
// login; decide() answers a connection's certificate question; connected()
// writes to the log how the connection is protected and tells the window.

#include "session/FtpCommand.h"
#include "session/SessionHost.h"
#include "session/TrustedCertificates.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>

class ConnectionSecurity {
public:
    void setMode(inet::TlsMode mode) { m_mode = mode; }
    inet::TlsMode mode() const { return m_mode; }
    void setExtraCaCertificates(const QList<QSslCertificate> &certificates) { m_extraCa = certificates; }
    // A certificate trusted as it is, for every server (SHA-256, 32 bytes).
    void setPinnedFingerprint(const QByteArray &sha256) { m_pinned = sha256; }
    void setStore(const TrustedCertificates &store) { m_store = store; }
    const TrustedCertificates &store() const { return m_store; }

    // The port a connection uses for `port` (0: the mode's default).
    quint16 effectivePort(quint16 port) const;
    // The mode, the CAs, the trusted fingerprint and the port (0 becomes the
    // mode's default) for a connection to login.host.
    void fill(ftp::LoginParams &login) const;
    // Whether to go on with a certificate nothing else vouched for: trusted
    // in the store, or the user says so through `host` (and "always" stores it).
    bool decide(const inet::CertificateInfo &info, SessionHost &host) const;
    // The connection stands (a Connect result): one log line for its
    // protection (a loud one when "if offered" ended in plain FTP), and the
    // window told.
    void connected(const ftp::Result &result, SessionHost &host) const;
    void disconnected(SessionHost &host) const;

private:
    inet::TlsMode m_mode = inet::TlsMode::IfOffered;
    QList<QSslCertificate> m_extraCa;
    QByteArray m_pinned;
    TrustedCertificates m_store;
};
