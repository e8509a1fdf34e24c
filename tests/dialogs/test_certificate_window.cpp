// The certificate question: what it shows, what each way of answering it
// gives, and how loudly it says that a server's certificate changed.
#include "WindowTestSupport.h"

#include "dialogs/frmCertificate.h"
#include "settings/StringTable.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

inet::CertificateInfo sample()
{
    inet::CertificateInfo info;
    info.host = QStringLiteral("ftp.example.org");
    info.port = 21;
    info.subject = QStringLiteral("CN=ftp.example.org,O=Example");
    info.issuer = QStringLiteral("CN=Example CA");
    info.notBefore = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC);
    info.notAfter = QDateTime(QDate(2026, 7, 8), QTime(9, 10, 11), Qt::UTC);
    info.sha256 = QByteArray::fromHex("00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff");
    info.problems = {QStringLiteral("The certificate is self-signed."), QStringLiteral("It has expired.")};
    return info;
}

class CertificateWindow : public WindowTest {};

} // namespace

TEST_F(CertificateWindow, ShowsWhatTheCertificateSaysAndWhyItIsNotTrusted)
{
    for (qint16 offset : {0, 1000}) {
        LanguageOffset = offset;
        frmCertificate window(sample());
        window.show();
        EXPECT_EQ(window.windowTitle(), LangStr(820));
        EXPECT_EQ(window.lblServer->text(), "ftp.example.org:21");
        EXPECT_EQ(window.lblSubject->text(), "CN=ftp.example.org,O=Example");
        EXPECT_EQ(window.lblIssuer->text(), "CN=Example CA");
        EXPECT_TRUE(window.lblValidity->text().contains("2024")) << window.lblValidity->text().toStdString();
        EXPECT_TRUE(window.lblValidity->text().contains("2026"));
        EXPECT_EQ(window.lblFingerprint->text(), "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF\n"
                                                 "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF");
        EXPECT_EQ(window.lblProblems->text(), "The certificate is self-signed.\nIt has expired.");
        EXPECT_FALSE(window.lblChanged->isVisible());
        EXPECT_FALSE(window.lblPrevious->isVisible());
        EXPECT_EQ(window.cmdOnce->text(), LangStr(829));
        EXPECT_EQ(window.cmdAlways->text(), LangStr(830));
        EXPECT_EQ(window.cmdCancel->text(), LangStr(577));
        EXPECT_TRUE(window.cmdCancel->isDefault());
    }
}

TEST_F(CertificateWindow, EachWayOfAnsweringGivesItsAnswer)
{
    using Act = std::function<void(frmCertificate &)>;
    const std::pair<Act, CertificateAnswer> cases[] = {
        {[](frmCertificate &w) { w.cmdOnce->click(); }, CertificateAnswer::TrustOnce},
        {[](frmCertificate &w) { w.cmdAlways->click(); }, CertificateAnswer::TrustAlways},
        {[](frmCertificate &w) { w.cmdCancel->click(); }, CertificateAnswer::Cancel},
        {[](frmCertificate &w) { w.close(); }, CertificateAnswer::Cancel},
        {[](frmCertificate &w) { QTest::keyClick(&w, Qt::Key_Escape); }, CertificateAnswer::Cancel},
        {[](frmCertificate &w) { QTest::keyClick(w.focusWidget(), Qt::Key_Return); }, CertificateAnswer::Cancel},
    };
    int i = 0;
    for (const auto &[act, expected] : cases) {
        SCOPED_TRACE(i++);
        frmCertificate window(sample());
        QTimer::singleShot(0, &window, [&window, act = act] {
            ASSERT_TRUE(window.isVisible());
            act(window);
        });
        window.exec();
        EXPECT_EQ(window.answer(), expected);
    }
}

TEST_F(CertificateWindow, ACertificateThatChangedIsSaidLoudlyWithTheFingerprintTrustedBefore)
{
    LanguageOffset = 1000;
    inet::CertificateInfo info = sample();
    info.previousSha256 = QByteArray(32, '\xab');
    frmCertificate window(info);
    window.show();
    ASSERT_TRUE(window.lblChanged->isVisible());
    EXPECT_TRUE(window.lblChanged->text().startsWith("WARNING: THIS SERVER'S CERTIFICATE HAS CHANGED"));
    EXPECT_TRUE(window.lblChanged->font().bold());
    EXPECT_GT(window.lblChanged->font().pointSizeF(), window.lblServer->font().pointSizeF());
    ASSERT_TRUE(window.lblPrevious->isVisible());
    EXPECT_TRUE(window.lblPrevious->text().startsWith("AB:AB:AB"));
    // The warning stands above everything else.
    EXPECT_LT(window.lblChanged->geometry().top(), window.lblServer->geometry().top());
}
