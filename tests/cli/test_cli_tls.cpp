// tarvoftp-cli over TLS: --tls, --ca-file, --fingerprint, a site's own mode,
// the fingerprints the window stored, and the certificate question on a
// terminal (a pseudo-terminal here) or, without one, a failure that prints
// the fingerprint.
#include "CliFixture.h"
#include "TlsServers.h"
#include "platform/inet/Inet.h"
#include "session/TrustedCertificates.h"

#include <QDeadlineTimer>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testfiles::randomBytes;
using Kind = TlsServers::Kind;
using Cert = TestCertificates::Kind;

struct TerminalRun {
    int status = -1;
    QString output; // standard output and error, as the terminal showed them
    bool asked = false;
};

class CliTls : public CliProgram, public TlsSuite {
public: // the cases' functions below reach in
    using TlsSuite::s_servers;
    using TlsSuite::tlsServer;
    static void SetUpTestSuite()
    {
        CliProgram::SetUpTestSuite();
        startServers();
    }
    static void TearDownTestSuite()
    {
        stopServers();
        CliProgram::TearDownTestSuite();
    }
    void SetUp() override
    {
        CliProgram::SetUp();
        assertCertificates();
    }

    static QString hex(Cert kind) { return QString::fromLatin1(s_servers->certificates().sha256(kind).toHex()); }
    TrustedCertificates store() const { return TrustedCertificates(data.filePath("ftpcert.tf")); }

    // The program on a pseudo-terminal; `answer` is typed once the
    // certificate question shows.
    TerminalRun runOnTerminal(const QStringList &args, const QByteArray &answer)
    {
        QList<QByteArray> words{QByteArray(TARVOFTP_CLI), "--data-dir", data.path().toLocal8Bit(), "--lang", "en",
                                "--timeout", "10"};
        for (const QString &a : args)
            words << a.toLocal8Bit();
        std::vector<char *> argv;
        for (QByteArray &w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        const QByteArray cwd = local.path().toLocal8Bit();
        int master = -1;
        const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
        if (pid == 0) {
            if (::chdir(cwd.constData()) == 0)
                ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        TerminalRun r;
        if (pid < 0)
            return r;
        QByteArray out;
        const QDeadlineTimer deadline(60000);
        for (;;) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, int(qMax<qint64>(0, deadline.remainingTime()))) <= 0)
                break;
            char buffer[4096];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break; // the program ended and closed the terminal
            out.append(buffer, n);
            if (!r.asked && out.contains("o = once, a = always, n = no:")) {
                r.asked = true;
                const QByteArray line = answer + "\n";
                EXPECT_EQ(::write(master, line.constData(), size_t(line.size())), line.size());
            }
        }
        int status = 0;
        if (deadline.hasExpired())
            ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ::close(master);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        r.output = QString::fromUtf8(out).remove(QLatin1Char('\r'));
        return r;
    }
};

} // namespace

TEST_F(CliTls, WithoutATerminalAnUntrustedCertificateFailsAndPrintsItsFingerprint)
{
    Kind kind;
    kind.certificate = Cert::SelfSigned;
    FtpServer &s = tlsServer(kind);
    const CliRun r = run({"--tls", "explicit", "-c", openOn(s) + "; pwd"});
    EXPECT_EQ(r.status, 1) << r;
    const QString fingerprint = inet::fingerprintText(s_servers->certificates().sha256(Cert::SelfSigned));
    EXPECT_TRUE(r.err.contains("Server certificate not trusted; SHA-256 fingerprint: " + fingerprint + "\n")) << r;
    EXPECT_TRUE(r.err.contains("The certificate is self-signed")) << r;
    EXPECT_FALSE(s_servers->commands(kind).contains(QStringLiteral("USER")));
    EXPECT_TRUE(r.out.isEmpty()) << r;
}

// Transfers through the queue, both ways, byte for byte, once the
// certificate is trusted by each of the three means.
TEST_F(CliTls, TrustedByFingerprintCaFileOrTheWindowsStoreTheQueueMovesFilesOverTls)
{
    struct Case {
        const char *name;
        Cert certificate;
        QString tls;
        std::function<QStringList(CliTls &)> options;
    };
    const Case cases[] = {
        {"--fingerprint", Cert::SelfSigned, "explicit", [](CliTls &) { return QStringList{"--fingerprint", hex(Cert::SelfSigned).toUpper()}; }},
        {"--ca-file", Cert::Good, "explicit",
         [](CliTls &) { return QStringList{"--ca-file", s_servers->certificates().caFile()}; }},
        {"stored by the window", Cert::OtherHost, "implicit", [](CliTls &t) {
             const FtpServer &s = tlsServer(Kind{"implicit", Cert::OtherHost});
             EXPECT_TRUE(t.store().trust(s.host(), s.port(), s_servers->certificates().sha256(Cert::OtherHost)).ok());
             return QStringList();
         }},
    };
    const QByteArray content = randomBytes(700 * 1024 + 5, 21);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Kind kind{c.tls, c.certificate};
        FtpServer &s = tlsServer(kind);
        const QStringList options = c.options(*this);
        s.writeFile("down.bin", content);
        writeFile(local.filePath("up.bin"), content);
        const CliRun r = run(options + QStringList{"--tls", c.tls, "-c", openOn(s) + "; get down.bin; put up.bin; ls"});
        ASSERT_EQ(r.status, 0) << r;
        EXPECT_TRUE(r.err.contains(" - Encrypted connection (TLSv1.")) << r;
        EXPECT_TRUE(readFile(local.filePath("down.bin")) == content);
        EXPECT_TRUE(s.readFile("up.bin") == content);
        EXPECT_TRUE(r.out.contains("up.bin ")) << r;
        QFile::remove(local.filePath("down.bin"));
    }
}

TEST_F(CliTls, OpenSiteUsesTheSitesModeAndTheCommandLineWins)
{
    // A plain server: "explicit" must refuse it before the user name, "off"
    // talks to it without a warning, "auto" with one.
    ASSERT_TRUE(writeFile(data.filePath("TypeFtp.tf"), "1|Work|\r\n"));
    ASSERT_TRUE(writeFile(data.filePath("ftp.tf"), QStringLiteral("1|Plain|127.0.0.1|%1|%2|%3|1|2||1|\r\n")
                                                       .arg(server->port())
                                                       .arg(server->user(), QString::fromLatin1(storedPassword()))
                                                       .toLatin1()));
    struct Case {
        const char *sideFile;
        QStringList options;
        int status;
        bool warned;
    };
    const Case cases[] = {
        {"1|explicit|Plain\r\n", {}, 1, false},
        {"1|off|Plain\r\n", {}, 0, false},
        {"", {}, 0, true},
        {"1|explicit|Plain\r\n", {"--tls", "off"}, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sideFile);
        ASSERT_TRUE(writeFile(data.filePath("ftptls.tf"), c.sideFile));
        const CliRun r = run(c.options + QStringList{"-c", "open Plain; pwd"});
        EXPECT_EQ(r.status, c.status) << r;
        EXPECT_EQ(r.err.contains("Warning: the server does not offer TLS"), c.warned) << r;
        if (c.status != 0) {
            EXPECT_TRUE(r.err.contains(inet::formatMessage(inet::ErrorTlsRefused, QString(), false).trimmed())) << r;
        }
    }
}

TEST_F(CliTls, SiteAddStoresTheModeGiven)
{
    const CliRun r = run({"--tls", "implicit", "-c", "site-add Work Secure ftp.example.org 990"});
    ASSERT_EQ(r.status, 0) << r;
    EXPECT_EQ(readFile(data.filePath("ftptls.tf")), "1|implicit|Secure\r\n");
}

TEST_F(CliTls, OnATerminalTheQuestionIsAskedAndAlwaysIsRemembered)
{
    Kind kind;
    kind.certificate = Cert::SelfSigned;
    FtpServer &s = tlsServer(kind);
    const TerminalRun no = runOnTerminal({"--tls", "explicit", "-c", openOn(s) + "; pwd"}, "n");
    EXPECT_TRUE(no.asked) << no.output.toStdString();
    EXPECT_EQ(no.status, 1) << no.output.toStdString();
    EXPECT_TRUE(no.output.contains("Subject: CN=127.0.0.1")) << no.output.toStdString();
    EXPECT_FALSE(s_servers->commands(kind).contains(QStringLiteral("USER")));

    const TerminalRun always = runOnTerminal({"--tls", "explicit", "-c", openOn(s) + "; pwd"}, "a");
    EXPECT_TRUE(always.asked);
    EXPECT_EQ(always.status, 0) << always.output.toStdString();
    EXPECT_TRUE(always.output.contains("\n/\n")) << always.output.toStdString();
    EXPECT_EQ(store().fingerprint(s.host(), s.port()), s_servers->certificates().sha256(Cert::SelfSigned));

    // Remembered: no terminal needed any more.
    const CliRun again = run({"--tls", "explicit", "-c", openOn(s) + "; pwd"});
    EXPECT_EQ(again.status, 0) << again;
}
