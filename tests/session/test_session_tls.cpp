// The session over TLS: the modes as the windows hand them over, the log
// line of a connection's protection, the window told of it, and the
// certificate question with the store of always-trusted certificates.
#include "SessionWait.h"
#include "TlsServers.h"
#include "session/LogLines.h"
#include "session/SessionState.h"
#include "session/TrustedCertificates.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Kind = TlsServers::Kind;
using Cert = TestCertificates::Kind;

class AskingHost : public NullSessionHost {
public:
    void logState(int state, const QString &message) override { log << QStringLiteral("%1|%2").arg(state).arg(message); }
    CertificateAnswer askCertificate(const inet::CertificateInfo &info) override
    {
        asked << info;
        return answers.isEmpty() ? CertificateAnswer::Cancel : answers.takeFirst();
    }
    void showProtection(const ConnectionProtection &p) override { shown << p; }

    QStringList log;
    QList<inet::CertificateInfo> asked;
    QList<CertificateAnswer> answers;
    QList<ConnectionProtection> shown;
};

class SessionTls : public ::testing::Test, public TlsSuite {
protected:
    static void SetUpTestSuite() { startServers(); }
    static void TearDownTestSuite() { stopServers(); }
    void SetUp() override
    {
        resetSessionState();
        LanguageOffset = 1000;
        assertCertificates();
        ftp.setHost(&host);
        ftp.setTimeouts({10000, 10000, 10000});
        ftp.security().setStore(TrustedCertificates(store.filePath("ftpcert.tf")));
    }
    void TearDown() override { resetSessionState(); }

    bool connect(FtpServer &s)
    {
        return testwait::open(ftp, s.host(), quint16(s.port()), s.user(), s.password(), true);
    }
    bool logged(int state, const QString &start) const
    {
        for (const QString &line : host.log) {
            if (line.startsWith(QString::number(state) + QLatin1Char('|') + start))
                return true;
        }
        return false;
    }

    QTemporaryDir store;
    AskingHost host;
    clsFTPClient ftp;
};

} // namespace

TEST_F(SessionTls, TheLogAndTheWindowTellHowEachConnectionIsProtected)
{
    struct Case {
        const char *name;
        QString serverTls;
        inet::TlsMode mode;
        bool encrypted;
        bool warned; // the loud line of "if offered" ending in plain FTP
    };
    const Case cases[] = {
        {"explicit", QStringLiteral("explicit"), inet::TlsMode::Required, true, false},
        {"implicit", QStringLiteral("implicit"), inet::TlsMode::Implicit, true, false},
        {"if offered, offered", QStringLiteral("explicit"), inet::TlsMode::IfOffered, true, false},
        {"if offered, plain server", QString(), inet::TlsMode::IfOffered, false, true},
        {"plain only", QStringLiteral("explicit"), inet::TlsMode::Off, false, false},
    };
    ftp.security().setExtraCaCertificates(s_servers->certificates().ca());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        host.log.clear();
        host.shown.clear();
        Kind kind;
        kind.tls = c.serverTls;
        FtpServer &s = tlsServer(kind);
        s.writeFile(QStringLiteral("a.txt"), "a");
        ftp.security().setMode(c.mode);
        ASSERT_TRUE(connect(s)) << sLastError.toStdString();
        EXPECT_EQ(logged(logline::MessageState, QStringLiteral("Encrypted connection (TLSv1.")), c.encrypted)
            << host.log.join('\n').toStdString();
        EXPECT_EQ(logged(logline::WarningState, QStringLiteral("Warning: the server does not offer TLS")), c.warned);
        ASSERT_EQ(host.shown.size(), 1);
        EXPECT_TRUE(host.shown.first().connected);
        EXPECT_EQ(host.shown.first().encrypted, c.encrypted);
        EXPECT_EQ(host.shown.first().protocol.isEmpty(), !c.encrypted);
        const ftp::Result listed =
            testwait::result([&](clsFTPClient::Done done) { ftp.GetDirectoryListing(QStringLiteral("*.*"), done); });
        ASSERT_TRUE(listed.ok()) << sLastError.toStdString();
        EXPECT_NE(ftp.Directory().Item(QStringLiteral("a.txt")), nullptr);
        ftp.CloseConnection();
        ASSERT_EQ(host.shown.size(), 2);
        EXPECT_FALSE(host.shown.last().connected);
        EXPECT_TRUE(host.asked.isEmpty());
    }
}

TEST_F(SessionTls, ASelfSignedCertificateTrustedOnceIsAskedAgainAndTrustedAlwaysIsNot)
{
    Kind kind;
    kind.certificate = Cert::SelfSigned;
    FtpServer &s = tlsServer(kind);
    ftp.security().setMode(inet::TlsMode::Required);
    const QByteArray sha256 = s_servers->certificates().sha256(Cert::SelfSigned);

    host.answers = {CertificateAnswer::Cancel};
    EXPECT_FALSE(connect(s));
    EXPECT_FALSE(s_servers->commands(kind).contains(QStringLiteral("USER")));
    EXPECT_EQ(sLastError, inet::formatMessage(inet::ErrorCertificateRejected, QString(), false).trimmed());

    host.answers = {CertificateAnswer::TrustOnce};
    ASSERT_TRUE(connect(s)) << sLastError.toStdString();
    ftp.CloseConnection();
    EXPECT_TRUE(ftp.security().store().fingerprint(s.host(), s.port()).isEmpty());

    host.answers = {CertificateAnswer::TrustAlways};
    ASSERT_TRUE(connect(s)) << sLastError.toStdString();
    ftp.CloseConnection();
    EXPECT_EQ(ftp.security().store().fingerprint(s.host(), s.port()), sha256);
    EXPECT_TRUE(logged(logline::MessageState, QStringLiteral("Certificate always trusted from now on: ")
                                                  + inet::fingerprintText(sha256)));
    ASSERT_EQ(host.asked.size(), 3);
    for (const inet::CertificateInfo &info : host.asked) {
        EXPECT_EQ(info.sha256, sha256);
        EXPECT_TRUE(info.previousSha256.isEmpty());
        EXPECT_TRUE(info.problems.join(' ').contains(QLatin1String("self-signed")));
    }

    // Stored: no question, on this port only.
    ASSERT_TRUE(connect(s)) << sLastError.toStdString();
    ftp.CloseConnection();
    EXPECT_EQ(host.asked.size(), 3);
    TrustedCertificates other(ftp.security().store().path());
    EXPECT_TRUE(other.fingerprint(s.host(), quint16(s.port() + 1)).isEmpty());
    EXPECT_EQ(other.fingerprint(s.host().toUpper(), s.port()), sha256);
}

TEST_F(SessionTls, ACertificateThatChangedIsAskedAboutLoudly)
{
    Kind kind;
    kind.certificate = Cert::SelfSigned;
    FtpServer &s = tlsServer(kind);
    const QByteArray before = s_servers->certificates().sha256(Cert::Expired);
    TrustedCertificates store = ftp.security().store();
    ASSERT_TRUE(store.trust(s.host(), s.port(), before).ok());
    ftp.security().setMode(inet::TlsMode::Required);
    host.answers = {CertificateAnswer::TrustAlways};
    ASSERT_TRUE(connect(s)) << sLastError.toStdString();
    ftp.CloseConnection();
    ASSERT_EQ(host.asked.size(), 1);
    EXPECT_EQ(host.asked.first().previousSha256, before);
    // "Always" puts the new one in place of the old.
    EXPECT_EQ(store.fingerprint(s.host(), s.port()), s_servers->certificates().sha256(Cert::SelfSigned));
}

TEST_F(SessionTls, APinnedFingerprintIsTrustedWithoutAQuestion)
{
    Kind kind;
    kind.certificate = Cert::OtherHost;
    kind.tls = QStringLiteral("implicit");
    ftp.security().setMode(inet::TlsMode::Implicit);
    FtpServer &implicit = tlsServer(kind);
    ftp.security().setPinnedFingerprint(s_servers->certificates().sha256(Cert::OtherHost));
    ASSERT_TRUE(connect(implicit)) << sLastError.toStdString();
    ftp.CloseConnection();
    EXPECT_TRUE(host.asked.isEmpty());
    ftp.security().setPinnedFingerprint(s_servers->certificates().sha256(Cert::Good));
    EXPECT_FALSE(connect(implicit));
    EXPECT_EQ(host.asked.size(), 1);
}

TEST(TrustedCertificatesFile, OneLinePerServerReplacedInPlaceAndForgotten)
{
    QTemporaryDir dir;
    TrustedCertificates store(dir.filePath("ftpcert.tf"));
    const QByteArray a(32, '\x11'), b(32, '\x22');
    ASSERT_TRUE(store.trust("ftp.example.org", 21, a).ok());
    ASSERT_TRUE(store.trust("ftp.example.org", 990, b).ok());
    ASSERT_TRUE(store.trust("FTP.example.org", 21, b).ok());
    QFile file(store.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("ftp.example.org|990|" + b.toHex().toUpper() + "\r\nFTP.example.org|21|"
                                         + b.toHex().toUpper() + "\r\n"));
    EXPECT_TRUE(store.isTrusted("ftp.example.org", 21, b));
    EXPECT_FALSE(store.isTrusted("ftp.example.org", 21, a));
    ASSERT_TRUE(store.forget("ftp.example.org", 21).ok());
    EXPECT_TRUE(store.fingerprint("ftp.example.org", 21).isEmpty());
    EXPECT_EQ(store.fingerprint("ftp.example.org", 990), b);
    EXPECT_FALSE(store.trust("a|b", 21, a).ok());
    EXPECT_FALSE(store.trust("host", 21, QByteArray(31, 'x')).ok());
}
