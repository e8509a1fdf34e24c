#include "SitesFixture.h"

#include "sites/SiteTls.h"
#include "sites/frmWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

namespace {

class SiteWizardTest : public SitesFixture {
protected:
    static void goTo(frmWizard &w, int step)
    {
        while (w.step() < step)
            w.cmdNext->click();
    }
    // The buttons the step shows, in the window's order.
    static QString buttons(const frmWizard &w)
    {
        QStringList shown;
        for (QPushButton *b : {w.cmdBack, w.cmdNext, w.cmdTerminer, w.cmdCancel})
            if (!b->isHidden())
                shown << b->objectName();
        return shown.join('|');
    }
};

TEST_F(SiteWizardTest, FinishOnlyOnTheLastStepAndBackOnlyAfterTheFirst)
{
    frmWizard w;
    EXPECT_EQ(buttons(w), "cmdNext|cmdCancel");
    goTo(w, 5);
    EXPECT_EQ(buttons(w), "cmdBack|cmdTerminer|cmdCancel");
    w.cmdBack->click();
    EXPECT_EQ(w.step(), 4);
    EXPECT_EQ(buttons(w), "cmdBack|cmdNext|cmdCancel");
    while (w.step() > 0)
        w.cmdBack->click();
    EXPECT_EQ(buttons(w), "cmdNext|cmdCancel");
}

TEST_F(SiteWizardTest, FinishingWithOnlyANameWritesDefaults)
{
    frmWizard w;
    w.iSelGroupe = 4;
    w.cmdNext->click();
    w.TXT[1]->setText("Solo");
    goTo(w, 5);
    w.cmdTerminer->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(bytes("ftp.tf"), "1|Solo||21|||1|1||4|\r\n");
    EXPECT_EQ(clsGestionData::siteCollection().itemByKey("1"), "Solo"); // caches reloaded
}

TEST_F(SiteWizardTest, EveryFieldLandsInItsPlace)
{
    put("ftp.tf", "7|Old|old.example|21|||1|1||1|\r\n");
    frmWizard w;
    w.iSelGroupe = 1;
    w.TXT[1]->setText("Full");
    w.TXT[2]->setText("ftp.example.com");
    w.chkAnonyme->click();
    platform::setChooserOverride([](const QString &) { return QStringLiteral("/home/me"); });
    w.cmdBrowse->click();
    EXPECT_EQ(w.TXT[4]->text(), "/home/me/");
    goTo(w, 5);
    w.cmdTerminer->click();
    clsGestionData db;
    db.SetFirstData();
    ASSERT_TRUE(db.SetCollectionData("8", true));
    EXPECT_EQ(db.sServerIp, "ftp.example.com");
    EXPECT_EQ(db.sServerUser, "Anonymous");
    EXPECT_EQ(db.sServerPass, "tarvo@example.com");
    EXPECT_EQ(db.sServerInitialPath, "/home/me/");
    w.chkAnonyme->click();
    EXPECT_TRUE(w.TXT[3]->text().isEmpty());
    EXPECT_TRUE(w.txtPass->text().isEmpty());
}

TEST_F(SiteWizardTest, CancellingAtAnyStepWritesNothing)
{
    put("ftp.tf", "1|Keep|keep.example|21|||1|1||1|\r\n");
    const QByteArray before = bytes("ftp.tf");
    for (int step = 0; step <= 6; ++step) {
        frmWizard w;
        w.TXT[1]->setText("Keep");
        w.TXT[2]->setText("other.example");
        goTo(w, std::min(step, 5));
        if (step == 6)
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            w.cmdCancel->click();
        EXPECT_EQ(w.result(), QDialog::Rejected) << step;
        EXPECT_EQ(bytes("ftp.tf"), before) << step;
    }
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(SiteWizardTest, AnEmptyNameOrAFieldThatWouldBreakTheRecordIsRefused)
{
    // An empty name also leads back to the name's step.
    const struct { QString name, host, said; platform::PromptIcon icon; int stepAfter; } cases[] = {
        {"", "host.example", LangStr(639), platform::PromptIcon::Information, 1},
        {"Bad", "a|b", LangStr(703), platform::PromptIcon::Warning, 5}};
    for (const auto &c : cases) {
        prompt.clear();
        frmWizard w;
        w.TXT[1]->setText(c.name);
        w.TXT[2]->setText(c.host);
        goTo(w, 5);
        w.cmdTerminer->click();
        ASSERT_EQ(prompt.asked().size(), 1) << c.host.toStdString();
        EXPECT_TRUE(prompt.texts().at(0).startsWith(c.said));
        EXPECT_EQ(prompt.asked().at(0).icon, c.icon);
        EXPECT_EQ(w.step(), c.stepAfter);
        EXPECT_NE(w.result(), QDialog::Accepted);
        EXPECT_FALSE(QFile::exists(programDir.filePath("ftp.tf")));
    }
}

TEST_F(SiteWizardTest, NameOfAnExistingSiteReplacesItOnlyWhenConfirmed)
{
    put("ftp.tf", "1|Same|first.example|21|||1|1||1|\r\n");
    const QByteArray before = bytes("ftp.tf");
    frmWizard w;
    w.TXT[1]->setText("Same");
    goTo(w, 5);
    w.cmdTerminer->click(); // the scripted prompt answers No
    EXPECT_EQ(bytes("ftp.tf"), before);
    EXPECT_NE(w.result(), QDialog::Accepted);
    prompt.push(platform::PromptAnswer::Yes);
    w.cmdTerminer->click();
    EXPECT_EQ(bytes("ftp.tf"), "2|Same||21|||1|1||0|\r\n");
}

} // namespace

TEST_F(SiteWizardTest, TheHostStepChoosesTheTlsModeAndImplicitTlsGetsItsPort)
{
    struct Case {
        sitetls::Mode mode;
        const char *port;
        const char *sideFile;
    };
    const Case cases[] = {
        {sitetls::Mode::IfOffered, "21", ""},
        {sitetls::Mode::Required, "21", "1|explicit|Secure\r\n"},
        {sitetls::Mode::Implicit, "990", "1|implicit|Secure\r\n"},
        {sitetls::Mode::Off, "21", "1|off|Secure\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(sitetls::keyword(c.mode).toStdString());
        put("ftp.tf", "");
        put("ftptls.tf", "");
        frmWizard w;
        w.iSelGroupe = 1;
        goTo(w, 2);
        EXPECT_EQ(w.cboTls->parentWidget()->objectName(), "pic2"); // on the host's step
        EXPECT_EQ(sitetls::Mode(w.cboTls->currentData().toInt()), sitetls::Mode::IfOffered); // the default
        w.cboTls->setCurrentIndex(w.cboTls->findData(int(c.mode)));
        w.TXT[1]->setText("Secure");
        goTo(w, 5);
        w.cmdTerminer->click();
        EXPECT_EQ(w.result(), QDialog::Accepted);
        EXPECT_EQ(bytes("ftp.tf"), QByteArray("1|Secure||") + c.port + "|||1|1||1|\r\n");
        EXPECT_EQ(bytes("ftptls.tf"), QByteArray(c.sideFile));
    }
}
