#include "SitesFixture.h"

#include "sites/frmWizard.h"

#include <QCheckBox>
#include <QTest>

namespace {

class SiteWizardTest : public SitesFixture {
protected:
    static void goTo(frmWizard &w, int step)
    {
        while (w.step() < step)
            w.cmdNext->click();
    }
};

TEST_F(SiteWizardTest, StartsOnWelcomeWithOnlyNextAndCancel)
{
    frmWizard w;
    EXPECT_EQ(w.step(), 0);
    EXPECT_TRUE(w.cmdBack->isHidden());
    EXPECT_TRUE(w.cmdTerminer->isHidden());
    EXPECT_FALSE(w.cmdNext->isHidden());
    EXPECT_FALSE(w.cmdCancel->isHidden());
    EXPECT_EQ(w.windowTitle(), LangStr(625));
    EXPECT_EQ(w.cmdTerminer->text(), "Terminer");
    LanguageOffset = 1000;
    w.applyCaptions();
    EXPECT_EQ(w.cmdTerminer->text(), "Finish");
    EXPECT_EQ(w.chkAnonyme->text(), "Anonymous connection ");
}

TEST_F(SiteWizardTest, FinishingWithOnlyANameWritesDefaults)
{
    frmWizard w;
    w.iSelGroupe = 4;
    w.cmdNext->click();
    w.TXT[1]->setText("Solo");
    goTo(w, 5);
    EXPECT_FALSE(w.cmdTerminer->isHidden());
    EXPECT_TRUE(w.cmdNext->isHidden());
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

TEST_F(SiteWizardTest, GoingBackFromLastStepHidesFinish)
{
    frmWizard w;
    goTo(w, 5);
    w.cmdBack->click();
    EXPECT_EQ(w.step(), 4);
    EXPECT_TRUE(w.cmdTerminer->isHidden());
    EXPECT_FALSE(w.cmdNext->isHidden());
    EXPECT_FALSE(w.cmdBack->isHidden());
    goTo(w, 5);
    while (w.step() > 0)
        w.cmdBack->click();
    EXPECT_TRUE(w.cmdBack->isHidden());
    EXPECT_TRUE(w.cmdTerminer->isHidden());
}

TEST_F(SiteWizardTest, CancellingAtAnyStepWritesNothing)
{
    put("ftp.tf", "1|Keep|keep.example|21|||1|1||1|\r\n");
    const QByteArray before = bytes("ftp.tf");
    for (int step = 0; step <= 5; ++step) {
        frmWizard w;
        w.TXT[1]->setText("Keep");
        w.TXT[2]->setText("other.example");
        goTo(w, step);
        w.cmdCancel->click();
        EXPECT_EQ(w.result(), QDialog::Rejected) << step;
        EXPECT_EQ(bytes("ftp.tf"), before) << step;
    }
    frmWizard w;
    w.TXT[1]->setText("Escaped");
    goTo(w, 2);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(bytes("ftp.tf"), before);
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(SiteWizardTest, EmptyNameIsRefusedAndLeadsBackToIt)
{
    frmWizard w;
    w.TXT[2]->setText("host.example");
    goTo(w, 5);
    w.cmdTerminer->click();
    EXPECT_EQ(prompt.texts(), QStringList{LangStr(639)});
    EXPECT_EQ(prompt.asked().at(0).icon, platform::PromptIcon::Information);
    EXPECT_EQ(w.step(), 1);
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(dir.filePath("ftp.tf")));
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

TEST_F(SiteWizardTest, FieldThatWouldBreakTheRecordIsRefused)
{
    frmWizard w;
    w.TXT[1]->setText("Bad");
    w.TXT[2]->setText("a|b");
    goTo(w, 5);
    w.cmdTerminer->click();
    ASSERT_EQ(prompt.texts().size(), 1);
    EXPECT_TRUE(prompt.texts().at(0).startsWith(LangStr(703)));
    EXPECT_FALSE(QFile::exists(dir.filePath("ftp.tf")));
}

} // namespace
