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

void ConnectionSecurity::fill(ftp::LoginParams &login) const
{
    login.port = effectivePort(login.port);
    login.tls = m_mode;
    login.extraCaCertificates = m_extraCa;
    login.frenchTexts = LanguageOffset == 0;
    login.trustedSha256 = m_pinned.isEmpty() ? m_store.fingerprint(login.host, login.port) : m_pinned;
}

bool ConnectionSecurity::decide(const inet::CertificateInfo &info, SessionHost &host) const
{
    // A pinned fingerprint took the place of the stored one in fill(); a
    // certificate stored for this server is trusted all the same.
    if (m_store.isTrusted(info.host, info.port, info.sha256))
        return true;
    inet::CertificateInfo shown = info;
    if (shown.previousSha256.isEmpty())
        shown.previousSha256 = m_store.fingerprint(info.host, info.port);
    const CertificateAnswer answer = host.askCertificate(shown);
    if (answer == CertificateAnswer::TrustAlways) {
        TrustedCertificates writable = m_store;
        const FileResult saved = writable.trust(info.host, info.port, info.sha256);
        host.logState(saved ? logline::MessageState : logline::WarningState,
                      saved ? LangStr(846) + inet::fingerprintText(info.sha256) : LangStr(845) + saved.error());
    }
    return answer != CertificateAnswer::Cancel;
}

void ConnectionSecurity::connected(const ftp::Result &result, SessionHost &host) const
{
    ConnectionProtection protection;
    protection.connected = true;
    protection.encrypted = result.encrypted;
    protection.protocol = result.tlsProtocol;
    protection.cipher = result.tlsCipher;
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
