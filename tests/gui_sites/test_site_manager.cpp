#include "SitesFixture.h"

#include "mainwindow/MainWindowApi.h"
#include "session/clsFTPClient.h"
#include "sites/frmManager.h"
#include "sites/frmWizard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// Stands in for the main window's connect routine.
class FakeStarter : public ConnectionStarter {
public:
    void premier_Connect(bool, std::function<void()> done) override
    {
        ++calls;
        visibleWhileConnecting = manager && manager->isVisible();
        bConnected = succeed;
        if (!succeed) {
            // The manager must come back; look at it and close it.
            QTimer::singleShot(0, [this] {
                shownAgain = manager->isVisible() && QApplication::activeModalWidget() == manager;
                ++reshown;
                manager->reject();
            });
        }
        if (nothingToConnectTo)
            manager->showModal(); // what the main window does for an empty server
        if (done)
            done();
    }
    frmManager *manager = nullptr;
    bool succeed = false;
    bool nothingToConnectTo = false;
    int calls = 0;
    int reshown = 0;
    bool visibleWhileConnecting = true;
    bool shownAgain = false;
};

class SiteManagerTest : public SitesFixture {
protected:
    std::unique_ptr<frmManager> open()
    {
        auto manager = std::make_unique<frmManager>(&ftp, &starter);
        starter.manager = manager.get();
        return manager;
    }
    // The manager over the sample book, with this site selected (if any).
    std::unique_ptr<frmManager> openSample(const QString &selected = QString())
    {
        putSampleBook();
        auto manager = open();
        if (!selected.isEmpty())
            select(*manager, selected);
        return manager;
    }
    static QTreeWidgetItem *node(frmManager &m, const QString &key)
    {
        for (QTreeWidgetItemIterator it(m.tvManager); *it; ++it) {
            if (frmManager::nodeKey(*it) == key)
                return *it;
        }
        return nullptr;
    }
    // What a mouse sends for a double-click: press, release, double-click.
    static void doubleClick(frmManager &m, const QString &key)
    {
        QTreeWidgetItem *item = node(m, key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        const QPoint at = m.tvManager->visualItemRect(item).center();
        QTest::mouseClick(m.tvManager->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(m.tvManager->viewport(), Qt::LeftButton, {}, at);
    }
    static void select(frmManager &m, const QString &key)
    {
        QTreeWidgetItem *item = node(m, key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        m.tvManager->setCurrentItem(item);
    }

    clsFTPClient ftp;
    FakeStarter starter;
};

TEST_F(SiteManagerTest, SitesNeedAFolderAndAFolderOfTakenNameAppendsTwoThenTwoTwo)
{
    auto m = open();
    // Without any folder, a site (by hand or by the wizard) asks for one first.
    m->toolbarButton("addsite")->trigger();
    m->toolbarButton("assist")->trigger();
    EXPECT_EQ(prompt.texts(), QStringList({LangStr(606), LangStr(606)}));
    EXPECT_FALSE(QFile::exists(programDir.filePath("ftp.tf")));
    for (int i = 0; i < 3; ++i) {
        answerNameDialog("Work");
        m->toolbarButton("addfolder")->trigger();
    }
    EXPECT_EQ(bytes("TypeFtp.tf"), "1|Work|\r\n2|Work(2)|\r\n3|Work(2)(2)|\r\n");
    EXPECT_EQ(m->tvManager->topLevelItemCount(), 3);
    answerNameDialog(QString()); // Cancel adds nothing
    m->toolbarButton("addfolder")->trigger();
    EXPECT_EQ(m->tvManager->topLevelItemCount(), 3);
}

TEST_F(SiteManagerTest, AddedSiteGoesIntoCurrentFolderWithDefaults)
{
    auto m = openSample();
    select(*m, "TP3");
    answerNameDialog("Gamma");
    m->toolbarButton("addsite")->trigger();
    ASSERT_EQ(siteLines().size(), 3);
    EXPECT_EQ(siteLines().last(), "3|Gamma||21|||1|1||3|");
    ASSERT_NE(node(*m, "TV3"), nullptr);
    EXPECT_EQ(frmManager::nodeKey(node(*m, "TV3")->parent()), "TP3");
}

TEST_F(SiteManagerTest, TreeShowsKeyedFoldersSitesAndOrphans)
{
    putSampleBook();
    put("ftp.tf", bytes("ftp.tf") + "5|Lost|lost.example|21|||1|1||9|\r\n");
    clsGestionData().SetFirstData();
    auto m = open();
    ASSERT_EQ(m->tvManager->topLevelItemCount(), 4);
    EXPECT_EQ(node(*m, "TP1")->text(0), "Work");
    EXPECT_EQ(frmManager::nodeKey(node(*m, "TV2")->parent()), "TP2");
    EXPECT_EQ(node(*m, "TV1")->text(0), "Alpha");
    // A site whose folder is gone stays in view under "?".
    QTreeWidgetItem *orphan = node(*m, "TV5");
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(orphan->parent()->text(0), "?");
    EXPECT_EQ(frmManager::nodeKey(orphan->parent()), "TP9");
    // The first folder is current (new sites go there); no site panel yet.
    EXPECT_EQ(m->currentFolderNumber(), "1");
    EXPECT_TRUE(m->picGeneralMain->isHidden());
}

TEST_F(SiteManagerTest, SelectingSiteFillsBoxesAndSetsModeAndOptionClicksReachTheSession)
{
    auto m = openSample("TV2");
    EXPECT_EQ(lConnectMode, 0x08000000);
    EXPECT_EQ(sCurrentHost, "beta.example");
    EXPECT_EQ(m->TxtPort->text(), "2121");
    EXPECT_TRUE(m->Opt[1]->isChecked());
    EXPECT_TRUE(m->Opt[3]->isChecked());
    EXPECT_FALSE(m->binaryTransferSelected());
    EXPECT_FALSE(m->cmdSavechange->isEnabled()); // filling is not editing
    select(*m, "TV1");
    EXPECT_EQ(lConnectMode, 0);
    EXPECT_EQ(m->txtExt->text(), "/pub");
    EXPECT_EQ(m->txtLocal->text(), "/tmp/a/");

    m->Opt[1]->click();
    EXPECT_EQ(ftp.transferType(), quint32(inet::FTP_TRANSFER_TYPE_ASCII));
    m->Opt[0]->click();
    EXPECT_EQ(ftp.transferType(), quint32(inet::FTP_TRANSFER_TYPE_BINARY));
    m->Opt[3]->click();
    EXPECT_EQ(lConnectMode, 0x08000000);
    m->Opt[2]->click();
    EXPECT_EQ(lConnectMode, 0);
    EXPECT_TRUE(m->cmdSavechange->isEnabled());
    EXPECT_EQ(starter.calls, 0);

    // The anonymous box fills user and password, and empties them again.
    m->chkAnonyme->click();
    EXPECT_EQ(m->TxtUser->text(), "Anonymous");
    EXPECT_TRUE(m->txtPass->text().contains('@'));
    m->chkAnonyme->click();
    EXPECT_EQ(m->TxtUser->text() + m->txtPass->text(), "");
    m->chkAnonyme->click();
    select(*m, "TV2"); // a new selection clears the box
    EXPECT_FALSE(m->chkAnonyme->isChecked());
    EXPECT_EQ(m->TxtUser->text(), "ann");
    EXPECT_FALSE(m->cmdSavechange->isEnabled());
    QTest::keyClicks(m->TxtServer, "x");
    EXPECT_TRUE(m->cmdSavechange->isEnabled());
}

TEST_F(SiteManagerTest, RenamedSiteKeepsNumberAndFolderAndMovesToEnd)
{
    auto m = openSample("TV1");
    m->TxtSiteName->setText("Alpha2");
    m->TxtPort->clear();
    // Opening another folder meanwhile does not move the site there.
    m->tvManager->expandItem(node(*m, "TP3"));
    EXPECT_EQ(m->currentFolderNumber(), "3");
    m->cmdSavechange->click();
    EXPECT_TRUE(prompt.asked().isEmpty());
    ASSERT_EQ(siteLines().size(), 2);
    EXPECT_TRUE(siteLines().at(0).startsWith("2|Beta|"));
    EXPECT_EQ(siteLines().at(1), "1|Alpha2|alpha.example|21|bob||1|1|/pub|1|/tmp/a/");
    EXPECT_EQ(node(*m, "TV1")->text(0), "Alpha2");
    EXPECT_EQ(m->tvManager->currentItem(), node(*m, "TV1"));
}

TEST_F(SiteManagerTest, SavingOneSiteNeverDropsTheSiteShownBefore)
{
    auto m = openSample("TV1");
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(m->TxtSiteName, &focusIn);
    select(*m, "TV2");
    m->TxtServer->setText("beta2.example");
    m->cmdSavechange->click();
    ASSERT_EQ(siteLines().size(), 2);
    EXPECT_TRUE(siteLines().at(0).startsWith("1|Alpha|"));
    EXPECT_TRUE(siteLines().at(1).startsWith("2|Beta|beta2.example|2121|"));
}

TEST_F(SiteManagerTest, BadPortOrFieldIsRefusedWithNothingWritten)
{
    putSampleBook();
    const QByteArray sites = bytes("ftp.tf"), folders = bytes("TypeFtp.tf");
    auto m = open();
    select(*m, "TV1");
    m->TxtPort->setText("70000");
    m->cmdSavechange->click();
    m->toolbarButton("connect")->trigger();
    EXPECT_EQ(starter.calls, 0);
    m->TxtPort->setText("21");
    m->TxtSiteName->setText("Al|pha");
    m->cmdSavechange->click();
    m->TxtSiteName->clear();
    m->cmdSavechange->click();
    answerNameDialog("A|B");
    m->toolbarButton("addfolder")->trigger();
    ASSERT_EQ(prompt.texts().size(), 5);
    EXPECT_EQ(prompt.texts().at(0), LangStr(740) + "70000");
    EXPECT_EQ(prompt.texts().at(1), prompt.texts().at(0));
    EXPECT_TRUE(prompt.texts().at(2).startsWith(LangStr(703)));
    EXPECT_EQ(prompt.texts().at(3), LangStr(639));
    EXPECT_TRUE(prompt.texts().at(4).startsWith(LangStr(703)));
    EXPECT_EQ(bytes("ftp.tf"), sites);
    EXPECT_EQ(bytes("TypeFtp.tf"), folders);
}

TEST_F(SiteManagerTest, DeletingFolderTakesItsSitesOnlyWhenAnsweredYes)
{
    auto m = openSample();
    const QByteArray sites = bytes("ftp.tf"), folders = bytes("TypeFtp.tf");
    select(*m, "TP1");
    m->toolbarButton("delete")->trigger(); // the scripted prompt answers No
    ASSERT_EQ(prompt.texts().size(), 1);
    EXPECT_EQ(prompt.texts().at(0), LangStr(503) + "Work " + LangStr(504));
    EXPECT_EQ(prompt.asked().at(0).buttons, platform::PromptButtons::YesNo);
    EXPECT_EQ(bytes("ftp.tf"), sites);
    EXPECT_EQ(bytes("TypeFtp.tf"), folders);

    prompt.push(platform::PromptAnswer::Yes);
    m->toolbarButton("delete")->trigger();
    EXPECT_EQ(bytes("TypeFtp.tf"), "2|Home|\r\n3|Misc|\r\n");
    EXPECT_EQ(siteLines().size(), 1);
    EXPECT_TRUE(siteLines().at(0).startsWith("2|Beta|"));
    EXPECT_EQ(node(*m, "TV1"), nullptr);

    select(*m, "TV2");
    prompt.push(platform::PromptAnswer::Yes);
    m->toolbarButton("delete")->trigger();
    EXPECT_TRUE(siteLines().isEmpty());
    EXPECT_TRUE(m->picGeneralMain->isHidden());
}

TEST_F(SiteManagerTest, DoubleClickConnectsSitesButNotFolders)
{
    auto m = openSample();
    m->show();
    starter.succeed = true;
    doubleClick(*m, "TP2");
    EXPECT_EQ(starter.calls, 0);
    QTest::keyClick(m->tvManager, Qt::Key_Return);
    EXPECT_EQ(starter.calls, 0);
    doubleClick(*m, "TV1");
    EXPECT_EQ(starter.calls, 1);
    EXPECT_FALSE(starter.visibleWhileConnecting);
    EXPECT_FALSE(m->isVisible()); // connected: the window stays hidden
    m->show();
    QTest::keyClick(m->tvManager, Qt::Key_Return);
    EXPECT_EQ(starter.calls, 2);
}

TEST_F(SiteManagerTest, FailedConnectionShowsTheWindowAgainOnce)
{
    auto m = openSample();
    QTimer::singleShot(0, [&] {
        select(*m, "TV1");
        m->toolbarButton("connect")->trigger();
    });
    m->showModal();
    EXPECT_EQ(starter.calls, 1);
    EXPECT_FALSE(starter.visibleWhileConnecting);
    EXPECT_TRUE(starter.shownAgain);
    EXPECT_FALSE(m->isVisible());

    // Asked for during an attempt (the window not shown modally yet), the
    // manager is shown once afterwards.
    starter = FakeStarter();
    starter.manager = m.get();
    starter.nothingToConnectTo = true;
    m->toolbarButton("connect")->trigger();
    EXPECT_EQ(starter.calls, 1);
    EXPECT_EQ(starter.reshown, 1);
    EXPECT_TRUE(starter.shownAgain);
}

TEST_F(SiteManagerTest, ChosenLocalFolderIsStoredAtOnceWithSeparator)
{
    auto m = openSample("TV2");
    platform::setChooserOverride([](const QString &) { return QStringLiteral("/srv/data"); });
    m->cmdLocalPath->click();
    EXPECT_EQ(m->txtLocal->text(), "/srv/data/");
    EXPECT_EQ(siteLines().last(), "2|Beta|beta.example|2121|ann||2|2||2|/srv/data/");
    m->TxtSiteName->clear();
    m->cmdLocalPath->click();
    EXPECT_EQ(prompt.texts(), QStringList{LangStr(501)});
}

TEST_F(SiteManagerTest, ParamButtonTogglesPages)
{
    auto m = openSample();
    m->toolbarButton("param")->trigger(); // a folder is selected: nothing to show
    EXPECT_EQ(m->pages->currentIndex(), 0);
    EXPECT_FALSE(m->toolbarButton("param")->isChecked());
    select(*m, "TV1");
    m->toolbarButton("param")->trigger();
    EXPECT_EQ(m->pages->currentIndex(), 1);
    EXPECT_TRUE(m->toolbarButton("param")->isChecked());
    m->pages->setCurrentIndex(0);
    EXPECT_FALSE(m->toolbarButton("param")->isChecked());
}

TEST_F(SiteManagerTest, WizardFinishedFromManagerAppearsInTree)
{
    auto m = openSample();
    select(*m, "TV2"); // the wizard gets the site's folder
    QTimer::singleShot(0, [] {
        auto *wizard = qobject_cast<frmWizard *>(QApplication::activeModalWidget());
        ASSERT_NE(wizard, nullptr);
        EXPECT_EQ(wizard->iSelGroupe, 2);
        wizard->TXT[1]->setText("Delta");
        wizard->cmdTerminer->click();
    });
    m->toolbarButton("assist")->trigger();
    EXPECT_EQ(siteLines().last(), "3|Delta||21|||1|1||2|");
    ASSERT_NE(node(*m, "TV3"), nullptr);
    EXPECT_EQ(frmManager::nodeKey(node(*m, "TV3")->parent()), "TP2");
}

} // namespace

// The TLS choice: shown from the side file, applied to the session at once,
// saved with the site under its number, and the port following implicit TLS.
TEST_F(SiteManagerTest, TlsChoiceFollowsTheSiteReachesTheSessionAndIsSaved)
{
    put("ftptls.tf", "2|implicit|Beta\r\n");
    auto m = openSample("TV2");
    EXPECT_EQ(m->cboTls->count(), 4);
    EXPECT_EQ(sitetls::Mode(m->cboTls->currentData().toInt()), sitetls::Mode::Implicit);
    EXPECT_EQ(ftp.security().mode(), inet::TlsMode::Implicit);
    EXPECT_FALSE(m->cmdSavechange->isEnabled());
    select(*m, "TV1");
    EXPECT_EQ(sitetls::Mode(m->cboTls->currentData().toInt()), sitetls::Mode::IfOffered);
    EXPECT_EQ(ftp.security().mode(), inet::TlsMode::IfOffered);

    // Chosen by hand: the session at once, the usual port follows implicit.
    const auto choose = [&m](sitetls::Mode mode) {
        const int index = m->cboTls->findData(int(mode));
        m->cboTls->setCurrentIndex(index);
        emit m->cboTls->activated(index);
    };
    choose(sitetls::Mode::Implicit);
    EXPECT_EQ(m->TxtPort->text(), "990");
    EXPECT_EQ(ftp.security().mode(), inet::TlsMode::Implicit);
    choose(sitetls::Mode::Required);
    EXPECT_EQ(m->TxtPort->text(), "21");
    EXPECT_EQ(ftp.security().mode(), inet::TlsMode::Required);
    EXPECT_TRUE(m->cmdSavechange->isEnabled());
    m->TxtSiteName->setText("Alpha renamed");
    m->cmdSavechange->click();
    EXPECT_EQ(QString::fromLatin1(bytes("ftptls.tf")), "1|explicit|Alpha renamed\r\n2|implicit|Beta\r\n");
    EXPECT_EQ(siteLines().last(), "1|Alpha renamed|alpha.example|21|bob||1|1|/pub|1|/tmp/a/");

    // Deleting the site takes its mode along.
    prompt.push(platform::PromptAnswer::Yes);
    m->toolbarButton("delete")->trigger();
    EXPECT_EQ(QString::fromLatin1(bytes("ftptls.tf")), "2|implicit|Beta\r\n");
}

TEST_F(SiteManagerTest, TlsChoiceIsCaptionedInBothLanguages)
{
    auto m = openSample("TV1");
    for (qint16 offset : {0, 1000}) {
        LanguageOffset = offset;
        m->applyCaptions();
        QStringList items;
        for (int i = 0; i < m->cboTls->count(); ++i)
            items << m->cboTls->itemText(i);
        EXPECT_EQ(items, QStringList({LangStr(838), LangStr(839), LangStr(840), LangStr(841)}));
    }
}
