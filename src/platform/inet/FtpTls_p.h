#pragma once
// TLS for the FTP channels, with OpenSSL straight on our raw non-blocking
// descriptors: every handshake step, read and write returns at once with
// what it needs next (to read or to write), and the caller waits for that in
// its stoppable slices. Records are decrypted straight into the caller's
// buffer.

#include "platform/inet/Inet.h"

#include <QByteArray>
#include <QList>
#include <QString>

typedef struct ssl_ctx_st SSL_CTX;
typedef struct ssl_st SSL;
typedef struct ssl_session_st SSL_SESSION;

namespace inet::detail {

// What one control connection shares with its data connections: the trust
// settings, the certificate the control connection was given, and the session
// that data connections resume (servers such as vsftpd refuse any other).
class TlsContext {
public:
    TlsContext(const QString &host, const ConnectOptions &options);
    ~TlsContext();
    TlsContext(const TlsContext &) = delete;
    TlsContext &operator=(const TlsContext &) = delete;

    bool isValid() const { return m_ctx != nullptr; }
    const QString &host() const { return m_host; }
    SSL_CTX *handle() const { return m_ctx; }

    // The control connection's session as it stands (a reference for the
    // caller to free), or null.
    SSL_SESSION *controlSession() const;

    // The control connection's certificate (DER), once trusted.
    QByteArray serverCertificate;

private:
    QString m_host;
    SSL_CTX *m_ctx = nullptr;
    SSL *m_control = nullptr; // set by the control connection's layer
    friend class TlsLayer;
};

// One TLS client on one connected descriptor (not owned).
class TlsLayer {
public:
    // What a step needs before it can go on.
    enum class Step { Done, WantRead, WantWrite, Failed };

    // control: its session is the one data connections resume. A data
    // connection offers that session for resumption.
    TlsLayer(TlsContext &context, int fd, bool control);
    ~TlsLayer();
    TlsLayer(const TlsLayer &) = delete;
    TlsLayer &operator=(const TlsLayer &) = delete;

    bool isValid() const { return m_ssl != nullptr; }
    Step handshake();
    bool isEstablished() const { return m_established; }
    // What the last step, read or write waits for: WaitRead or WaitWrite.
    short waitEvents() const { return m_wantWrite ? WaitWriteEvent : WaitReadEvent; }
    static constexpr short WaitReadEvent = 0x1;  // POLLIN
    static constexpr short WaitWriteEvent = 0x4; // POLLOUT

    // TcpSocket's conventions: a count, 0 for nothing yet, -1 at the end of
    // the data (close_notify, or the peer closing without one: the FTP reply
    // says whether the data is whole), -2 on failure.
    qint64 read(char *buffer, qint64 size);
    // As much as could be sent (possibly 0), or -2.
    qint64 write(const char *data, qint64 size);
    // Decrypted bytes, or a record, already taken from the socket.
    bool hasPending() const;
    // Sends close_notify; Step::Done once it is out.
    Step closeNotify();
    quint32 error() const { return m_error; }

    // After the handshake.
    QByteArray peerCertificate() const; // DER; empty without one
    QList<int> verifyErrors() const { return m_verifyErrors; }
    QString protocol() const;
    QString cipher() const;
    bool sessionReused() const;

    void noteVerifyError(int code);

private:
    Step stepFor(int result);

    TlsContext &m_context;
    SSL *m_ssl = nullptr;
    bool m_established = false;
    bool m_wantWrite = false;
    quint32 m_error = 0;
    QList<int> m_verifyErrors;
};

// The certificate as a person sees it (subject, issuer, dates, fingerprint)
// and the problems found: X509 verification codes as sentences.
CertificateInfo describeCertificate(const QByteArray &der, const QList<int> &verifyErrors, bool french);
QByteArray sha256Of(const QByteArray &der);

} // namespace inet::detail
