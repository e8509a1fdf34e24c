// TLS for the FTP channels (OpenSSL on our own descriptors).
#include "platform/inet/FtpTls_p.h"

#include <QHostAddress>

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <poll.h>

#include <cerrno>
#include <ctime>

namespace inet::detail {

static_assert(TlsLayer::WaitReadEvent == POLLIN && TlsLayer::WaitWriteEvent == POLLOUT);

namespace {

// Records of up to 16 KiB arrive back to back: reading ahead takes several
// per system call.
constexpr size_t kReadAhead = 256 * 1024;

int layerIndex()
{
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// Every problem is noted and the handshake goes on, so that the person asked
// sees all of them; trust is decided after the handshake, before anything is
// sent.
int verifyCallback(int ok, X509_STORE_CTX *store)
{
    if (!ok) {
        SSL *ssl = static_cast<SSL *>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
        if (auto *layer = ssl ? static_cast<TlsLayer *>(SSL_get_ex_data(ssl, layerIndex())) : nullptr)
            layer->noteVerifyError(X509_STORE_CTX_get_error(store));
    }
    return 1;
}

QString nameText(const X509_NAME *name)
{
    BIO *bio = BIO_new(BIO_s_mem());
    if (!bio)
        return QString();
    X509_NAME_print_ex(bio, name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    const QString text = QString::fromUtf8(data, size);
    BIO_free(bio);
    return text;
}

QDateTime timeOf(const ASN1_TIME *time)
{
    std::tm tm{};
    if (!time || ASN1_TIME_to_tm(time, &tm) != 1)
        return QDateTime();
    return QDateTime(QDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday),
                     QTime(tm.tm_hour, tm.tm_min, tm.tm_sec), Qt::UTC);
}

struct ProblemText {
    int code;
    const char *english;
    const char *french;
};

constexpr ProblemText kProblems[] = {
    {X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT, "The certificate is self-signed: no certification authority vouches for it.",
     "Le certificat est auto-signé : aucune autorité de certification ne le garantit."},
    {X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN, "The certificate comes from an authority this computer does not know.",
     "Le certificat vient d'une autorité que cet ordinateur ne connaît pas."},
    {X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY, "The certificate comes from an authority this computer does not know.",
     "Le certificat vient d'une autorité que cet ordinateur ne connaît pas."},
    {X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT, "The certificate comes from an authority this computer does not know.",
     "Le certificat vient d'une autorité que cet ordinateur ne connaît pas."},
    {X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE, "The certificate's signature cannot be checked.",
     "La signature du certificat ne peut pas être vérifiée."},
    {X509_V_ERR_CERT_HAS_EXPIRED, "The certificate has expired.", "Le certificat a expiré."},
    {X509_V_ERR_CERT_NOT_YET_VALID, "The certificate is not valid yet.", "Le certificat n'est pas encore valide."},
    {X509_V_ERR_HOSTNAME_MISMATCH, "The certificate is for another server name.",
     "Le certificat est celui d'un autre nom de serveur."},
    {X509_V_ERR_IP_ADDRESS_MISMATCH, "The certificate is not for this server address.",
     "Le certificat n'est pas celui de cette adresse de serveur."},
    {X509_V_ERR_CERT_REVOKED, "The certificate has been revoked.", "Le certificat a été révoqué."},
};

QString problemText(int code, bool french)
{
    for (const ProblemText &p : kProblems) {
        if (p.code == code)
            return QString::fromUtf8(french ? p.french : p.english);
    }
    const QString detail = QString::fromLatin1(X509_verify_cert_error_string(code));
    return (french ? QStringLiteral("Le certificat ne peut pas être vérifié : ")
                   : QStringLiteral("The certificate cannot be verified: ")) + detail;
}

} // namespace

// ---- TlsContext -------------------------------------------------------------------

TlsContext::TlsContext(const QString &host, const ConnectOptions &options) : m_host(host)
{
    m_ctx = SSL_CTX_new(TLS_client_method());
    if (!m_ctx)
        return;
    SSL_CTX_set_min_proto_version(m_ctx, TLS1_2_VERSION);
    SSL_CTX_set_default_verify_paths(m_ctx);
    X509_STORE *store = SSL_CTX_get_cert_store(m_ctx);
    for (const QSslCertificate &ca : options.extraCaCertificates) {
        const QByteArray der = ca.toDer();
        const auto *p = reinterpret_cast<const unsigned char *>(der.constData());
        if (X509 *x = d2i_X509(nullptr, &p, long(der.size()))) {
            X509_STORE_add_cert(store, x);
            X509_free(x);
        }
    }
    SSL_CTX_set_verify(m_ctx, SSL_VERIFY_PEER, verifyCallback);
    // No client session cache: with one, OpenSSL marks a TLS 1.3 session
    // used once as spent, and the second data connection could not resume.
    SSL_CTX_set_session_cache_mode(m_ctx, SSL_SESS_CACHE_OFF);
    SSL_CTX_set_mode(m_ctx, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    SSL_CTX_set_read_ahead(m_ctx, 1);
    SSL_CTX_set_default_read_buffer_len(m_ctx, kReadAhead);
    // Many FTP servers end a data connection without close_notify; the
    // transfer's reply tells whether the data is whole.
    SSL_CTX_set_options(m_ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
}

TlsContext::~TlsContext()
{
    if (m_ctx)
        SSL_CTX_free(m_ctx);
}

SSL_SESSION *TlsContext::controlSession() const
{
    // TLS 1.3 tickets come after the handshake: by the time a data connection
    // opens, the replies read since have brought them into the session.
    return m_control ? SSL_get1_session(m_control) : nullptr;
}

// ---- TlsLayer ---------------------------------------------------------------------

TlsLayer::TlsLayer(TlsContext &context, int fd, bool control) : m_context(context)
{
    if (!context.isValid() || !(m_ssl = SSL_new(context.handle())))
        return;
    SSL_set_ex_data(m_ssl, layerIndex(), this);
    SSL_set_fd(m_ssl, fd);
    SSL_set_connect_state(m_ssl);
    const QByteArray host = context.host().toUtf8();
    QHostAddress literal;
    if (literal.setAddress(context.host())) {
        // An address must match an IP SAN; it is never sent as a name.
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), host.constData());
    } else {
        SSL_set_tlsext_host_name(m_ssl, host.constData());
        SSL_set1_host(m_ssl, host.constData());
    }
    if (control) {
        context.m_control = m_ssl;
    } else if (SSL_SESSION *session = context.controlSession()) {
        SSL_set_session(m_ssl, session);
        SSL_SESSION_free(session);
    }
}

TlsLayer::~TlsLayer()
{
    if (m_context.m_control == m_ssl)
        m_context.m_control = nullptr;
    if (m_ssl)
        SSL_free(m_ssl); // the descriptor is the socket's to close
}

void TlsLayer::noteVerifyError(int code)
{
    if (!m_verifyErrors.contains(code))
        m_verifyErrors.append(code);
}

TlsLayer::Step TlsLayer::stepFor(int result)
{
    m_wantWrite = false;
    switch (SSL_get_error(m_ssl, result)) {
    case SSL_ERROR_WANT_READ:
        return Step::WantRead;
    case SSL_ERROR_WANT_WRITE:
        m_wantWrite = true;
        return Step::WantWrite;
    case SSL_ERROR_SYSCALL:
        m_error = errno == ECONNRESET ? ErrorConnectionReset : ErrorConnectionAborted;
        break;
    default:
        m_error = ErrorTlsHandshake;
        break;
    }
    ERR_clear_error();
    return Step::Failed;
}

TlsLayer::Step TlsLayer::handshake()
{
    if (!m_ssl) {
        m_error = ErrorInternal;
        return Step::Failed;
    }
    if (m_established)
        return Step::Done;
    const int r = SSL_do_handshake(m_ssl);
    if (r == 1) {
        m_established = true;
        m_wantWrite = false;
        return Step::Done;
    }
    const Step step = stepFor(r);
    if (step == Step::Failed)
        m_error = ErrorTlsHandshake; // whatever broke it, no secure channel stands
    return step;
}

qint64 TlsLayer::read(char *buffer, qint64 size)
{
    if (size <= 0)
        return 0;
    size_t got = 0;
    if (SSL_read_ex(m_ssl, buffer, size_t(size), &got) == 1) {
        m_wantWrite = false;
        return qint64(got);
    }
    const int error = SSL_get_error(m_ssl, 0);
    if (error == SSL_ERROR_ZERO_RETURN) {
        ERR_clear_error();
        return -1;
    }
    return stepFor(0) == Step::Failed ? -2 : 0;
}

qint64 TlsLayer::write(const char *data, qint64 size)
{
    if (size <= 0)
        return 0;
    size_t sent = 0;
    if (SSL_write_ex(m_ssl, data, size_t(size), &sent) == 1) {
        m_wantWrite = false;
        return qint64(sent);
    }
    return stepFor(0) == Step::Failed ? -2 : 0;
}

bool TlsLayer::hasPending() const
{
    return m_ssl && SSL_has_pending(m_ssl);
}

TlsLayer::Step TlsLayer::closeNotify()
{
    const int r = SSL_shutdown(m_ssl);
    if (r >= 0)
        return Step::Done; // sent; the peer's answer is not waited for
    return stepFor(r);
}

QByteArray TlsLayer::peerCertificate() const
{
    X509 *cert = m_ssl ? SSL_get1_peer_certificate(m_ssl) : nullptr;
    if (!cert)
        return QByteArray();
    unsigned char *der = nullptr;
    const int length = i2d_X509(cert, &der);
    QByteArray bytes;
    if (length > 0)
        bytes = QByteArray(reinterpret_cast<const char *>(der), length);
    OPENSSL_free(der);
    X509_free(cert);
    return bytes;
}

QString TlsLayer::protocol() const { return m_ssl ? QString::fromLatin1(SSL_get_version(m_ssl)) : QString(); }
QString TlsLayer::cipher() const { return m_ssl ? QString::fromLatin1(SSL_get_cipher_name(m_ssl)) : QString(); }
bool TlsLayer::sessionReused() const { return m_ssl && SSL_session_reused(m_ssl); }

// ---- certificates -----------------------------------------------------------------

QByteArray sha256Of(const QByteArray &der)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!EVP_Digest(der.constData(), size_t(der.size()), digest, &length, EVP_sha256(), nullptr))
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(digest), int(length));
}

CertificateInfo describeCertificate(const QByteArray &der, const QList<int> &verifyErrors, bool french)
{
    CertificateInfo info;
    info.sha256 = sha256Of(der);
    const auto *p = reinterpret_cast<const unsigned char *>(der.constData());
    if (X509 *cert = d2i_X509(nullptr, &p, long(der.size()))) {
        info.subject = nameText(X509_get_subject_name(cert));
        info.issuer = nameText(X509_get_issuer_name(cert));
        info.notBefore = timeOf(X509_get0_notBefore(cert));
        info.notAfter = timeOf(X509_get0_notAfter(cert));
        X509_free(cert);
    }
    for (int code : verifyErrors) {
        const QString text = problemText(code, french);
        if (!info.problems.contains(text))
            info.problems.append(text);
    }
    return info;
}

} // namespace inet::detail

namespace inet {

QString fingerprintText(const QByteArray &sha256)
{
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

QByteArray parseFingerprint(const QString &text)
{
    QString hex = text.trimmed();
    hex.remove(QLatin1Char(':'));
    if (hex.size() != 64)
        return QByteArray();
    for (const QChar c : hex) {
        if (!c.isDigit() && !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return QByteArray();
    }
    return QByteArray::fromHex(hex.toLatin1());
}

void releaseThreadState()
{
    OPENSSL_thread_stop();
}

} // namespace inet
