// Connecting over TLS through the main window and the site manager's boxes:
// the certificate window asked before the login, the lock in the status
// line, the log's line of the connection's protection, and the warning when
// "if offered" ends in plain FTP.
#include "MainWindowFixture.h"
#include "TlsServers.h"
#include "dialogs/frmCertificate.h"
#include "session/TrustedCertificates.h"

#include <QComboBox>

namespace {

const QColor OrangeRed(213, 85, 43);

class ConnectionTls : public MainWindowTest, public TlsSuite {
protected:
    static void SetUpTestSuite() { startServers(); }
    static void TearDownTestSuite() { stopServers(); }

    void SetUp() override
    {
        MainWindowTest::SetUp();
        assertCertificates();
        startWindow();
    }

    // The quick connection typed into the manager's boxes, with a TLS choice.
    bool connectTo(FtpServer &s, sitetls::Mode mode)
    {
        frmManager *m = window->manager();
        m->TxtServer->setText(s.host());
        m->TxtPort->setText(QString::number(s.port()));
        m->TxtUser->setText(s.user());
        m->txtPass->setText(s.password());
        const int index = m->cboTls->findData(int(mode));
        m->cboTls->setCurrentIndex(index);
        emit m->cboTls->activated(index);
        m->TxtPort->setText(QString::number(s.port()));
        window->premier_Connect(true);
        settle();
        return bConnected;
    }
    static Answer press(QPushButton *frmCertificate::*button)
    {
        return [button](QWidget *w) {
            auto *certificate = qobject_cast<frmCertificate *>(w);
            ASSERT_NE(certificate, nullptr);
            (certificate->*button)->click();
        };
    }
};

} // namespace

TEST_F(ConnectionTls, ASelfSignedServerIsAskedAboutThenShownLockedAndListed)
{
    TlsServers::Kind kind;
    kind.certificate = TestCertificates::SelfSigned;
    FtpServer &s = tlsServer(kind);
    s.writeFile(QStringLiteral("secret.txt"), "s");
    EXPECT_FALSE(window->lblProtection->isVisible());

    answerModals({press(&frmCertificate::cmdAlways)});
    ASSERT_TRUE(connectTo(s, sitetls::Mode::Required)) << logText();
    EXPECT_EQ(modalClasses, QStringList{"frmCertificate"});
    EXPECT_EQ(modalTitles, QStringList{LangStr(820)});
    const QStringList sent = s_servers->commands(kind);
    ASSERT_TRUE(sent.contains(QStringLiteral("USER")));

    // French by default: the lock, its text, the log's line.
    EXPECT_TRUE(window->lblProtection->isVisible());
    EXPECT_TRUE(window->picProtection->isVisible());
    EXPECT_TRUE(window->lblProtection->text().startsWith(QStringLiteral("Chiffré (TLSv1."))) << window->lblProtection->text().toStdString();
    EXPECT_FALSE(log().filter(QStringLiteral(" - Connexion chiffrée (TLSv1.")).isEmpty()) << logText();
    EXPECT_GE(window->serverModel()->findName(QStringLiteral("secret.txt")), 0);
    EXPECT_EQ(TrustedCertificates().fingerprint(s.host(), s.port()),
              s_servers->certificates().sha256(TestCertificates::SelfSigned));

    window->switchLanguage(true);
    EXPECT_TRUE(window->lblProtection->text().startsWith(QStringLiteral("Encrypted (TLSv1.")));
    window->disconnectFromServer();
    EXPECT_FALSE(window->lblProtection->isVisible());
}

// The queue's own connections trust the certificate the user went on with
// for this session: nothing more is asked, and the files arrive whole.
TEST_F(ConnectionTls, TransfersOverTheirOwnConnectionsAskNothingMore)
{
    TlsServers::Kind kind;
    kind.certificate = TestCertificates::SelfSigned;
    FtpServer &s = tlsServer(kind);
    QStringList names;
    for (int i = 0; i < 4; ++i) {
        names << QStringLiteral("part%1.bin").arg(i);
        s.writeFile(names.last(), QByteArray(20000 + i, char('a' + i)));
    }
    answerModals({press(&frmCertificate::cmdOnce)});
    ASSERT_TRUE(connectTo(s, sitetls::Mode::Required)) << logText();
    select(window->listviewServer, names);
    window->Toolbar1_ButtonClick("Download");
    settle();
    EXPECT_EQ(modalClasses, QStringList{"frmCertificate"});
    for (int i = 0; i < 4; ++i) {
        QFile f(onDesktop(names[i]));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << names[i].toStdString() << logText();
        EXPECT_EQ(f.readAll(), QByteArray(20000 + i, char('a' + i)));
    }
    // The browsing connection and at least one transfer connection logged in.
    EXPECT_GE(s_servers->commands(kind).count(QStringLiteral("USER")), 2);
    EXPECT_TRUE(TrustedCertificates().fingerprint(s.host(), s.port()).isEmpty());
}

TEST_F(ConnectionTls, IfOfferedAgainstAPlainServerWarnsInTheLogAndShowsAnOpenLock)
{
    TlsServers::Kind plain;
    plain.tls.clear();
    FtpServer &s = tlsServer(plain);
    window->switchLanguage(true);
    ASSERT_TRUE(connectTo(s, sitetls::Mode::IfOffered)) << logText();
    EXPECT_TRUE(modalClasses.isEmpty());
    const auto warning = logLine(QStringLiteral(" - ") + LangStr(834));
    ASSERT_TRUE(warning) << logText();
    EXPECT_EQ(warning->colour, OrangeRed);
    EXPECT_TRUE(warning->bold);
    EXPECT_EQ(window->lblProtection->text(), QStringLiteral("Not encrypted"));
}
