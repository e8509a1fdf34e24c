#pragma once
// FTP over TLS for the session's connections: the mode, the extra CA
// certificates and a pinned fingerprint (both from the command line), the
// store of always-trusted certificates, and the question to the user, asked
// through the session's host. options() gives the library's ConnectOptions
// for one connection; connected() writes to the log how the connection is
// protected and tells the window.

#include "platform/inet/Inet.h"
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
    // The options for a connection to host:port; `host` answers the questions.
    inet::ConnectOptions options(const QString &server, quint16 port, SessionHost &host) const;
    // The connection stands: one log line for its protection (a loud one
    // when "if offered" ended in plain FTP), and the window told.
    void connected(const inet::FtpConnection &connection, SessionHost &host) const;
    void disconnected(SessionHost &host) const;

private:
    inet::TlsMode m_mode = inet::TlsMode::IfOffered;
    QList<QSslCertificate> m_extraCa;
    QByteArray m_pinned;
    TrustedCertificates m_store;
};
