// FTP over TLS on the control connection: AUTH TLS or implicit TLS, the
// server's certificate, and the protection of the data connections.
#include "platform/inet/FtpConnection_p.h"

namespace inet {

using detail::Reply;

namespace {
QString changedText(bool french)
{
    return french ? QStringLiteral("Ce n'est pas le certificat approuvé auparavant pour ce serveur.")
                  : QStringLiteral("This is not the certificate trusted before for this server.");
}
} // namespace

bool FtpConnectionPrivate::readGreeting(Reply &greeting)
{
    const QDeadlineTimer deadline(timeouts().connectMs);
    do {
        if (!readReply(greeting, deadline))
            return false;
    } while (greeting.kind() == 1);
    if (greeting.kind() != 2) {
        control.close();
        return fail(ErrorExtended);
    }
    return true;
}

bool FtpConnectionPrivate::negotiateAuth(const QString &host, quint16 port)
{
    Reply reply;
    if (!exchange("AUTH TLS", reply))
        return false;
    if (reply.code == 234)
        return secureControl(host, port);
    if (options.tls == TlsMode::Required) {
        // Not even the user name goes out in clear.
        control.close();
        return fail(ErrorTlsRefused);
    }
    return true; // plain FTP: isEncrypted() tells the caller
}

bool FtpConnectionPrivate::secureControl(const QString &host, quint16 port)
{
    tls = std::make_unique<detail::TlsContext>(host, options);
    if (!tls->isValid()) {
        control.close();
        return fail(ErrorInternal);
    }
    quint32 error = NoError;
    if (!control.startTls(*tls, QDeadlineTimer(timeouts().connectMs), error))
        return fail(error);
    return trustServer(host, port);
}

bool FtpConnectionPrivate::trustServer(const QString &host, quint16 port)
{
    const detail::TlsLayer *layer = control.tls();
    const QByteArray der = layer ? layer->peerCertificate() : QByteArray();
    if (der.isEmpty()) {
        control.close();
        return fail(ErrorTlsHandshake);
    }
    tls->serverCertificate = der;
    const QByteArray sha256 = detail::sha256Of(der);
    if (!options.trustedSha256.isEmpty() && sha256 == options.trustedSha256)
        return true;
    if (layer->verifyErrors().isEmpty())
        return true;
    CertificateInfo info = detail::describeCertificate(der, layer->verifyErrors(), options.frenchTexts);
    info.host = host;
    info.port = port;
    if (!options.trustedSha256.isEmpty()) {
        info.previousSha256 = options.trustedSha256;
        info.problems.prepend(changedText(options.frenchTexts));
    }
    // The question may take a while (a person answers it); the server waits.
    if (options.check && options.check(info))
        return true;
    control.close();
    return fail(ErrorCertificateRejected);
}

bool FtpConnectionPrivate::protectData()
{
    // Without PROT P every listing and file would travel in clear: a server
    // that refuses it is refused in turn.
    for (const char *line : {"PBSZ 0", "PROT P"}) {
        Reply reply;
        if (!exchange(line, reply))
            return false;
        if (reply.kind() != 2) {
            control.close();
            return fail(ErrorTlsRefused);
        }
    }
    return true;
}

bool FtpConnectionPrivate::trustDataPeer(const detail::DataChannel &data)
{
    // A resumed session carries the control connection's certificate; a fresh
    // handshake must show that same one, or someone else answered.
    const detail::TlsLayer *layer = data.tls();
    return !layer || (tls && layer->peerCertificate() == tls->serverCertificate);
}

} // namespace inet
