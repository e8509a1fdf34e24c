#include "session/ConnectionSecurity.h"

#include "session/LogLines.h"
#include "session/SessionState.h"
#include "settings/StringTable.h"

quint16 ConnectionSecurity::effectivePort(quint16 port) const
{
    if (port != 0)
        return port;
    return m_mode == inet::TlsMode::Implicit ? inet::kImplicitTlsPort : 21;
}

inet::ConnectOptions ConnectionSecurity::options(const QString &server, quint16 port, SessionHost &host) const
{
    inet::ConnectOptions o;
    o.tls = m_mode;
    o.extraCaCertificates = m_extraCa;
    o.frenchTexts = LanguageOffset == 0;
    const QByteArray stored = m_store.fingerprint(server, effectivePort(port));
    o.trustedSha256 = m_pinned.isEmpty() ? stored : m_pinned;
    const TrustedCertificates store = m_store;
    o.check = [&host, store, stored](const inet::CertificateInfo &info) {
        // A pinned fingerprint took the place of the stored one above; a
        // certificate stored for this server is trusted all the same.
        if (store.isTrusted(info.host, info.port, info.sha256))
            return true;
        inet::CertificateInfo shown = info;
        if (shown.previousSha256.isEmpty() && !stored.isEmpty())
            shown.previousSha256 = stored;
        const CertificateAnswer answer = host.askCertificate(shown);
        if (answer == CertificateAnswer::TrustAlways) {
            TrustedCertificates writable = store;
            const FileResult saved = writable.trust(info.host, info.port, info.sha256);
            host.logState(saved ? logline::MessageState : logline::WarningState,
                          saved ? LangStr(846) + inet::fingerprintText(info.sha256) : LangStr(845) + saved.error());
        }
        return answer != CertificateAnswer::Cancel;
    };
    return o;
}

void ConnectionSecurity::connected(const inet::FtpConnection &connection, SessionHost &host) const
{
    ConnectionProtection protection;
    protection.connected = true;
    protection.encrypted = connection.isEncrypted();
    protection.protocol = connection.tlsProtocol();
    protection.cipher = connection.tlsCipher();
    if (protection.encrypted)
        host.logState(logline::MessageState, LangStr(833).arg(protection.protocol, protection.cipher));
    else if (m_mode == inet::TlsMode::IfOffered)
        host.logState(logline::WarningState, LangStr(834));
    host.showProtection(protection);
}

void ConnectionSecurity::disconnected(SessionHost &host) const
{
    host.showProtection(ConnectionProtection());
}
