// FTP over TLS in the library, against pyftpdlib's TLS handler with
// certificates made by the suite: the modes, protected listings and transfers
// in both connection modes, the certificate checks and what a refusing or
// broken server gets.
#include "FtpReading.h"
#include "TestFiles.h"
#include "ScriptedServer.h"
#include "TlsServers.h"
#include "VsftpdServer.h"

#include "platform/inet/Inet.h"

#include <gtest/gtest.h>

using namespace inet;
using testfiles::randomBytes;

namespace {

using Kind = TlsServers::Kind;
using Cert = TestCertificates::Kind;

bool upload(FtpConnection *c, const QString &name, const QByteArray &content)
{
    auto file = c->openFile(name, GENERIC_WRITE, FTP_TRANSFER_TYPE_BINARY);
    if (!file)
        return false;
    // Uneven blocks, as a caller's would be.
    for (qsizetype at = 0; at < content.size();) {
        const quint32 size = quint32(qMin<qsizetype>(content.size() - at, 255 + at % 7000));
        quint32 written = 0;
        if (!file->write(content.constData() + at, size, written))
            return false;
        at += size;
    }
    return file->close();
}

class FtpTls : public testing::Test, public TlsSuite {
protected:
    static void SetUpTestSuite() { startServers(); }
    static void TearDownTestSuite() { stopServers(); }
    void SetUp() override
    {
        assertCertificates();
        session.setTimeouts({10000, 10000, 10000});
    }

    QStringList commands(const Kind &kind = {}) const { return s_servers->commands(kind); }

    // Options that trust the suite's CA.
    ConnectOptions trusting(TlsMode mode) const
    {
        ConnectOptions o;
        o.tls = mode;
        o.extraCaCertificates = s_servers->certificates().ca();
        return o;
    }

    FtpConnection *connect(FtpServer &s, const ConnectOptions &options, bool passive = true)
    {
        return session.connectFtp(s.host(), s.port(), s.user(), s.password(), passive ? INTERNET_FLAG_PASSIVE : 0,
                                  options);
    }

    InternetSession session{QStringLiteral("TarvoFtp")};
};

// A question that records what it was shown and answers as told.
struct Asker {
    bool answer = false;
    int asked = 0;
    CertificateInfo last;
    CertificateCheck check()
    {
        return [this](const CertificateInfo &info) {
            ++asked;
            last = info;
            return answer;
        };
    }
};

} // namespace

// Which servers each mode reaches, and whether the session is then encrypted.
TEST_F(FtpTls, ModesListAndMoveFilesByteForByteInBothConnectionModes)
{
    struct Case {
        const char *name;
        QString serverTls;
        TlsMode mode;
        bool encrypted;
    };
    const Case cases[] = {
        {"required, explicit server", QStringLiteral("explicit"), TlsMode::Required, true},
        {"if offered, explicit server", QStringLiteral("explicit"), TlsMode::IfOffered, true},
        {"if offered, plain server", QString(), TlsMode::IfOffered, false},
        {"implicit", QStringLiteral("implicit"), TlsMode::Implicit, true},
        {"off, explicit server", QStringLiteral("explicit"), TlsMode::Off, false},
    };
    const QByteArray content = randomBytes(3 * 1024 * 1024 + 17, 7);
    for (const Case &tc : cases) {
        for (bool passive : {true, false}) {
            SCOPED_TRACE(std::string(tc.name) + (passive ? ", passive" : ", active"));
            Kind kind;
            kind.tls = tc.serverTls;
            FtpServer &s = tlsServer(kind);
            s.makeDir(QStringLiteral("sub"));
            s.writeFile(QStringLiteral("down.bin"), content);
            FtpConnection *c = connect(s, trusting(tc.mode), passive);
            ASSERT_NE(c, nullptr) << lastError() << " " << lastResponseInfo().toStdString();
            EXPECT_EQ(c->isEncrypted(), tc.encrypted);
            EXPECT_EQ(c->tlsProtocol().startsWith(QLatin1String("TLSv1.")), tc.encrypted)
                << c->tlsProtocol().toStdString();
            EXPECT_EQ(c->tlsCipher().isEmpty(), !tc.encrypted);

            QStringList names = listNames(c);
            names.sort();
            EXPECT_EQ(names, QStringList({QStringLiteral("down.bin"), QStringLiteral("sub")}));
            c->setUseMlsd(false);
            EXPECT_EQ(listNames(c).size(), 2);
            QByteArray got;
            ASSERT_TRUE(download(c, QStringLiteral("down.bin"), got)) << lastError();
            EXPECT_TRUE(got == content);
            ASSERT_TRUE(upload(c, QStringLiteral("sub/up.bin"), content)) << lastError();
            EXPECT_TRUE(s.readFile(QStringLiteral("sub/up.bin")) == content);
            ASSERT_TRUE(upload(c, QStringLiteral("empty.bin"), QByteArray())) << lastError();
            QByteArray none;
            ASSERT_TRUE(download(c, QStringLiteral("empty.bin"), none)) << lastError();
            EXPECT_TRUE(none.isEmpty());
            session.closeConnection(c);

            const QStringList sent = commands(kind);
            if (tc.encrypted) {
                EXPECT_TRUE(sent.contains(QStringLiteral("PBSZ")));
                EXPECT_TRUE(sent.contains(QStringLiteral("PROT")));
            }
            EXPECT_EQ(sent.contains(QStringLiteral("AUTH")), tc.mode == TlsMode::Required || tc.mode == TlsMode::IfOffered);
        }
    }
}

// Each untrusted certificate is described and asked about before anything
// is sent; a refusal leaves no USER or PASS behind.
TEST_F(FtpTls, UntrustedCertificatesAreAskedAboutBeforeTheLogin)
{
    struct Case {
        const char *name;
        Cert certificate;
        bool withCa;
        const char *problem; // a word of the expected problem text
    };
    const Case cases[] = {
        {"self-signed", Cert::SelfSigned, true, "self-signed"},
        {"unknown authority", Cert::Good, false, "authority"},
        {"other host name", Cert::OtherHost, true, "address"},
        {"expired", Cert::Expired, true, "expired"},
    };
    for (const Case &tc : cases) {
        for (TlsMode mode : {TlsMode::Required, TlsMode::Implicit}) {
            SCOPED_TRACE(std::string(tc.name) + (mode == TlsMode::Implicit ? ", implicit" : ", explicit"));
            Kind kind;
            kind.tls = mode == TlsMode::Implicit ? QStringLiteral("implicit") : QStringLiteral("explicit");
            kind.certificate = tc.certificate;
            FtpServer &s = tlsServer(kind);
            ConnectOptions options = trusting(mode);
            if (!tc.withCa)
                options.extraCaCertificates.clear();
            Asker asker;
            options.check = asker.check();

            EXPECT_EQ(connect(s, options), nullptr);
            EXPECT_EQ(lastError(), quint32(ErrorCertificateRejected));
            ASSERT_EQ(asker.asked, 1);
            const CertificateInfo &info = asker.last;
            EXPECT_EQ(info.host, s.host());
            EXPECT_EQ(info.port, s.port());
            EXPECT_EQ(info.sha256, s_servers->certificates().sha256(tc.certificate));
            EXPECT_FALSE(info.subject.isEmpty());
            EXPECT_FALSE(info.issuer.isEmpty());
            EXPECT_TRUE(info.notBefore.isValid() && info.notAfter.isValid());
            EXPECT_TRUE(info.previousSha256.isEmpty());
            EXPECT_TRUE(info.problems.join(' ').contains(QLatin1String(tc.problem))) << info.problems.join('|').toStdString();
            EXPECT_FALSE(commands(kind).contains(QStringLiteral("USER")));
            EXPECT_FALSE(commands(kind).contains(QStringLiteral("PASS")));

            // Trusted once: the same question, and the session goes on.
            asker.answer = true;
            FtpConnection *c = connect(s, options);
            ASSERT_NE(c, nullptr) << lastError();
            EXPECT_EQ(asker.asked, 2);
            EXPECT_TRUE(c->isEncrypted());
            s.writeFile(QStringLiteral("f.txt"), "contents");
            QByteArray got;
            EXPECT_TRUE(download(c, QStringLiteral("f.txt"), got)) << lastError();
            EXPECT_EQ(got, QByteArray("contents"));
            session.closeConnection(c);

            // Trusted always: its fingerprint alone vouches for it, no question.
            options.trustedSha256 = info.sha256;
            c = connect(s, options);
            ASSERT_NE(c, nullptr) << lastError();
            EXPECT_EQ(asker.asked, 2);
            session.closeConnection(c);
        }
    }
}

TEST_F(FtpTls, AChangedCertificateIsAskedAboutAndSaysSo)
{
    Kind kind;
    kind.certificate = Cert::SelfSigned;
    FtpServer &s = tlsServer(kind);
    ConnectOptions options = trusting(TlsMode::Required);
    options.trustedSha256 = s_servers->certificates().sha256(Cert::Expired); // what was trusted before
    Asker asker;
    options.check = asker.check();
    EXPECT_EQ(connect(s, options), nullptr);
    ASSERT_EQ(asker.asked, 1);
    EXPECT_EQ(asker.last.previousSha256, options.trustedSha256);
    EXPECT_EQ(asker.last.sha256, s_servers->certificates().sha256(Cert::SelfSigned));
    ASSERT_FALSE(asker.last.problems.isEmpty());
    EXPECT_TRUE(asker.last.problems.first().contains(QLatin1String("not the certificate trusted before")));
    EXPECT_FALSE(commands(kind).contains(QStringLiteral("USER")));
}

// A certificate the CA vouches for needs no question, in either language of
// the texts; a name matching only as text is no match for an address.
TEST_F(FtpTls, ACertificateTheAuthorityVouchesForIsNotAskedAbout)
{
    FtpServer &s = tlsServer();
    ConnectOptions options = trusting(TlsMode::Required);
    Asker asker;
    options.check = asker.check();
    FtpConnection *c = connect(s, options);
    ASSERT_NE(c, nullptr) << lastError();
    EXPECT_EQ(asker.asked, 0);
    session.closeConnection(c);

    options.frenchTexts = true;
    c = session.connectFtp(QStringLiteral("localhost"), s.port(), s.user(), s.password(), INTERNET_FLAG_PASSIVE,
                           options);
    EXPECT_EQ(c, nullptr);
    ASSERT_EQ(asker.asked, 1);
    EXPECT_EQ(asker.last.host, QStringLiteral("localhost"));
    EXPECT_TRUE(asker.last.problems.join(' ').contains(QStringLiteral("autre nom de serveur")))
        << asker.last.problems.join('|').toStdString();
}

// What ends a connection before anything is listed or logged in with: an
// untrusted certificate nobody is asked about, AUTH refused while TLS is
// required, PROT P refused.
TEST_F(FtpTls, RefusalsEndTheConnectionBeforeTheLoginOrTheFirstListing)
{
    Kind selfSigned, plain, refusingProt;
    selfSigned.certificate = Cert::SelfSigned;
    plain.tls.clear();
    refusingProt.refuseProt = true;
    const struct { const char *name; Kind kind; TlsMode mode; quint32 error; QStringList sent, neverSent; } cases[] = {
        {"untrusted, no question", selfSigned, TlsMode::IfOffered, ErrorCertificateRejected, {}, {"USER", "PASS"}},
        {"required, AUTH refused", plain, TlsMode::Required, ErrorTlsRefused, {"AUTH"}, {"USER", "PASS"}},
        {"PROT P refused", refusingProt, TlsMode::IfOffered, ErrorTlsRefused, {"PROT"}, {"LIST", "MLSD"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(connect(tlsServer(c.kind), trusting(c.mode)), nullptr);
        EXPECT_EQ(lastError(), c.error);
        EXPECT_FALSE(formatMessage(lastError(), QString(), false).isEmpty());
        const QStringList sent = commands(c.kind);
        for (const QString &verb : c.sent)
            EXPECT_TRUE(sent.contains(verb)) << verb.toStdString();
        for (const QString &verb : c.neverSent)
            EXPECT_FALSE(sent.contains(verb)) << verb.toStdString();
    }
}

// A server whose data connections stay plain after PROT P: the transfer
// fails, nothing is read in clear, and the control connection goes on.
TEST_F(FtpTls, ADataConnectionWithoutTlsIsAFailedTransferNeverPlainText)
{
    Kind kind;
    kind.plainData = true;
    FtpServer &s = tlsServer(kind);
    s.writeFile(QStringLiteral("f.bin"), randomBytes(200000, 3));
    for (bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        FtpConnection *c = connect(s, trusting(TlsMode::Required), passive);
        ASSERT_NE(c, nullptr) << lastError();
        QByteArray got;
        EXPECT_FALSE(download(c, QStringLiteral("f.bin"), got));
        EXPECT_EQ(lastError(), quint32(ErrorTlsHandshake));
        EXPECT_TRUE(got.isEmpty());
        EXPECT_TRUE(c->command(QStringLiteral("NOOP"))) << lastError();
        session.closeConnection(c);
    }
}

TEST_F(FtpTls, ADataConnectionThatDropsMidTransferFailsAndTheSessionGoesOn)
{
    FtpServer &s = tlsServer();
    const QByteArray content = randomBytes(4 * 1024 * 1024, 9);
    s.writeFile(QStringLiteral("drop-big.bin"), content);
    s.writeFile(QStringLiteral("whole.bin"), content);
    for (bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        FtpConnection *c = connect(s, trusting(TlsMode::Required), passive);
        ASSERT_NE(c, nullptr) << lastError();
        QByteArray got;
        EXPECT_FALSE(download(c, QStringLiteral("drop-big.bin"), got));
        EXPECT_LT(got.size(), content.size());
        got.clear();
        ASSERT_TRUE(download(c, QStringLiteral("whole.bin"), got)) << lastError();
        EXPECT_TRUE(got == content);
        session.closeConnection(c);
    }
}

// vsftpd refuses a data connection that does not resume the control
// connection's TLS session (require_ssl_reuse=YES, its default).
TEST_F(FtpTls, VsftpdRequiringSessionReuseLetsListingsAndTransfersThrough)
{
    const TestCertificates &certificates = s_servers->certificates();
    VsftpdServer vsftpd(certificates.serverFile(Cert::Good), certificates.serverFile(Cert::Good));
    if (!vsftpd.isFound())
        GTEST_SKIP() << "no vsftpd (TARVO_VSFTPD, build/peers/vsftpd, /usr/sbin/vsftpd)";
    ASSERT_TRUE(vsftpd.isRunning()) << vsftpd.errorText().toStdString();
    const QByteArray content = randomBytes(5 * 1024 * 1024 + 3, 11);
    ASSERT_TRUE(testfiles::writeFile(vsftpd.root() + QStringLiteral("/down.bin"), content));
    for (bool passive : {true, false}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        FtpConnection *c = session.connectFtp(QStringLiteral("127.0.0.1"), vsftpd.port(), QString(), QString(),
                                              passive ? INTERNET_FLAG_PASSIVE : 0, trusting(TlsMode::Required));
        ASSERT_NE(c, nullptr) << lastError() << " " << lastResponseInfo().toStdString();
        EXPECT_TRUE(c->isEncrypted());
        for (int round = 0; round < 3; ++round) { // every data connection resumes, not only the first
            QByteArray got;
            ASSERT_TRUE(download(c, QStringLiteral("down.bin"), got)) << lastError() << " "
                                                                      << lastResponseInfo().toStdString();
            EXPECT_TRUE(got == content);
        }
        const QString name = passive ? QStringLiteral("up-passive.bin") : QStringLiteral("up-active.bin");
        ASSERT_TRUE(upload(c, name, content)) << lastError() << " " << lastResponseInfo().toStdString();
        EXPECT_TRUE(testfiles::readFile(vsftpd.root() + QLatin1Char('/') + name) == content);
        EXPECT_TRUE(listNames(c).contains(name)) << lastError();
        session.closeConnection(c);
    }
}

// A server that accepts AUTH TLS and then says nothing: the handshake waits
// in the same stoppable slices as everything else.
TEST_F(FtpTls, AStopRequestEndsAStalledHandshake)
{
    std::atomic<bool> stop{false};
    setStopFlag(&stop);
    session.setTimeouts({60000, 60000, 60000}); // a stop left unseen would take this long
    for (TlsMode mode : {TlsMode::Required, TlsMode::Implicit}) {
        SCOPED_TRACE(mode == TlsMode::Implicit ? "implicit" : "explicit");
        stop = false;
        ScriptedServer server([&](ScriptPeer &p) {
            if (!p.acceptControl())
                return;
            if (mode != TlsMode::Implicit) {
                p.reply("220 ready");
                if (!p.answer("AUTH TLS", "234 go ahead"))
                    return;
            }
            stop = true;
            // Until the client hangs up: its hello is no command, and a line
            // break in its random bytes must not end the wait early.
            p.waitForHangUp();
        });
        EXPECT_EQ(session.connectFtp(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("u"),
                                     QStringLiteral("p"), INTERNET_FLAG_PASSIVE, trusting(mode)),
                  nullptr);
        EXPECT_EQ(lastError(), quint32(ErrorStopped));
        server.finish();
        EXPECT_FALSE(server.commands().contains(QStringLiteral("USER u")));
    }
    setStopFlag(nullptr);
}
