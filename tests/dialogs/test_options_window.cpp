// The options window and the start-up splash, driven like a user would.
#include "DialogTestSupport.h"

#include "platform/gui/Choosers.h"
#include "settings/Options.h"
#include "settings/StringTable.h"
#include "settings/clsTraduction.h"
#include "settings/frmOption.h"
#include "settings/frmloadup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

class CountingCaptioner : public MenuCaptioner {
public:
    void LoadResMenu() override { ++calls; }
    int calls = 0;
};

QString stored(const QString &key)
{
    return OptionStore().ReadValue(key, QStringLiteral("Option"), options::optionsFilePath()).toText();
}

void store(const QString &key, const QString &value)
{
    ASSERT_TRUE(OptionStore().WriteValue(key, QStringLiteral("Option"), value, options::optionsFilePath()));
}

class OptionsWindow : public WindowTest {
protected:
    void TearDown() override
    {
        platform::setChooserOverride({});
        WindowTest::TearDown();
    }

    // Shows the page of tree node `index` by clicking the node, as the user does.
    void openPage(frmOption &window, int index)
    {
        auto *tree = child<QTreeWidget>(&window, "tvOption");
        const QRect node = tree->visualItemRect(tree->topLevelItem(index));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, node.center());
        EXPECT_EQ(child<QStackedWidget>(&window, "picOption")->currentIndex(), index);
    }
    static void click(frmOption &window, const char *name) { clickOn(&window, name); }
};

TEST_F(OptionsWindow, FirstOpenWithoutOptionsFileShowsTheDefaults)
{
    frmOption window(nullptr, {});
    EXPECT_TRUE(child<QCheckBox>(&window, "chkStartWithUpdate")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&window, "chkFtpManager")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&window, "chkKeepAlive")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(&window, "chkVeuxSon")->isChecked());
    EXPECT_EQ(child<QComboBox>(&window, "cboLangue")->currentText(), "Francais");
    EXPECT_EQ(window.windowTitle(), LoadResString(548));

    auto *tree = child<QTreeWidget>(&window, "tvOption");
    ASSERT_EQ(tree->topLevelItemCount(), 5);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Mise à jour");
    EXPECT_EQ(tree->topLevelItem(4)->text(0), "Son");
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_EQ(child<QStackedWidget>(&window, "picOption")->currentIndex(), 0);
    EXPECT_EQ(child<QAbstractButton>(&window, "Command2")->text(), "Annuler");
    EXPECT_EQ(stored("Open"), "") << "loading must not write the start-window choice";
}

TEST_F(OptionsWindow, OpenShowsTheStoredSettingsInTheStoredLanguage)
{
    store("Open", "01");
    store("SWU", "1");
    store("ka", "1");
    bVeuxSon = true;
    LanguageOffset = 1000;
    frmOption window(nullptr, {});
    EXPECT_FALSE(child<QCheckBox>(&window, "chkStartWithUpdate")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(&window, "chkFtpManager")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(&window, "chkKeepAlive")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(&window, "chkVeuxSon")->isChecked());
    EXPECT_EQ(child<QComboBox>(&window, "cboLangue")->currentText(), "English");
    EXPECT_EQ(child<QCheckBox>(&window, "chkFtpManager")->text(), "Load site manager on start");
    EXPECT_EQ(stored("Open"), "01") << "loading leaves the start-window choice as it was";
    EXPECT_EQ(stored("SWU"), "1");
}

TEST_F(OptionsWindow, EveryClickWritesItsKeyAtOnce)
{
    store("SWU", "1");
    frmOption window(nullptr, {});
    window.show();

    openPage(window, 0);
    click(window, "chkStartWithUpdate");
    EXPECT_EQ(stored("SWU"), "0") << "checked means: check at start";
    click(window, "chkStartWithUpdate");
    EXPECT_EQ(stored("SWU"), "1");
    click(window, "chkStartWithUpdate");
    EXPECT_EQ(stored("SWU"), "0");

    openPage(window, 1);
    click(window, "chkFtpManager");
    EXPECT_EQ(stored("Open"), "1");
    click(window, "chkFtpManager");
    EXPECT_EQ(stored("Open"), "0");

    openPage(window, 2);
    click(window, "chkKeepAlive");
    EXPECT_EQ(stored("ka"), "1");
    click(window, "chkKeepAlive");
    EXPECT_EQ(stored("ka"), "0");

    openPage(window, 4);
    click(window, "chkVeuxSon");
    EXPECT_EQ(stored("VSon"), "1");
    EXPECT_TRUE(bVeuxSon);
    click(window, "chkVeuxSon");
    EXPECT_EQ(stored("Vson"), "0");
    EXPECT_FALSE(bVeuxSon);
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(OptionsWindow, ChoosingALanguageRecaptionsThisWindowAndTheMainWindow)
{
    CountingCaptioner mainWindow;
    frmOption window(&mainWindow, {});
    window.show();
    openPage(window, 3);
    auto *cboLangue = child<QComboBox>(&window, "cboLangue");

    QTest::keyClick(cboLangue, Qt::Key_Down);
    EXPECT_EQ(stored("Langue"), "1000");
    EXPECT_EQ(LanguageOffset, 1000);
    EXPECT_GE(mainWindow.calls, 1);
    EXPECT_EQ(window.windowTitle(), "Tarvo FTP options");
    EXPECT_EQ(child<QAbstractButton>(&window, "chkKeepAlive")->text(), "Keep alive");
    EXPECT_EQ(child<QAbstractButton>(&window, "Command2")->text(), "Cancel");
    EXPECT_EQ(child<QTreeWidget>(&window, "tvOption")->topLevelItem(3)->text(0), "Language");
    EXPECT_EQ(child<QStackedWidget>(&window, "picOption")->currentIndex(), 3) << "the page stays";

    const int callsForEnglish = mainWindow.calls;
    QTest::keyClick(cboLangue, Qt::Key_Up);
    EXPECT_EQ(stored("Langue"), "0");
    EXPECT_EQ(LanguageOffset, 0);
    EXPECT_GT(mainWindow.calls, callsForEnglish);
    EXPECT_EQ(child<QAbstractButton>(&window, "chkKeepAlive")->text(), "Garder connexion active");
    EXPECT_EQ(cboLangue->itemText(0), "Francais") << "the language names are never translated";
}

TEST_F(OptionsWindow, SoundChooserWritesThePathOrTheDefaultSound)
{
    QString answer;
    QStringList kinds;
    platform::setChooserOverride([&](const QString &kind) { kinds << kind; return answer; });
    frmOption window(nullptr, {});
    window.show();
    openPage(window, 4);

    answer = "/music/bell.wav";
    click(window, "cmdSonChoix");
    EXPECT_EQ(stored("Son"), "/music/bell.wav");

    answer.clear();
    click(window, "cmdSonChoix");
    EXPECT_EQ(stored("Son"), "recv.WAV") << "cancelling brings the program's own sound back";
    EXPECT_EQ(kinds, QStringList({"file", "file"}));
}

TEST_F(OptionsWindow, UpdateButtonRunsTheUpdateCheck)
{
    int checks = 0;
    frmOption window(nullptr, [&] { ++checks; });
    window.show();
    click(window, "cmdUpdate");
    EXPECT_EQ(checks, 1);
}

TEST_F(OptionsWindow, OkSaysARestartIsNeededAndCancelKeepsWhatWasWritten)
{
    frmOption ok(nullptr, {});
    ok.show();
    click(ok, "Command1");
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, LoadResString(546));
    EXPECT_EQ(prompt.asked()[0].icon, platform::PromptIcon::Information);
    EXPECT_EQ(ok.result(), QDialog::Accepted);
    EXPECT_FALSE(ok.isVisible());

    frmOption cancel(nullptr, {});
    cancel.show();
    openPage(cancel, 2);
    click(cancel, "chkKeepAlive");
    click(cancel, "Command2");
    EXPECT_EQ(cancel.result(), QDialog::Rejected);
    EXPECT_FALSE(cancel.isVisible());
    EXPECT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(stored("ka"), "1");
}

using Splash = WindowTest;

QString expectedVersion()
{
    return QStringLiteral("%1.%2.%3").arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH);
}

TEST_F(Splash, EnglishLogoAndVersionWhenTheLanguageIsEnglish)
{
    ASSERT_TRUE(options::setLangue(1000));
    frmloadup splash;
    EXPECT_EQ(LanguageOffset, 1000);
    EXPECT_TRUE(splash.showsEnglishLogo());
    EXPECT_EQ(splash.versionText(), "Version : " + expectedVersion());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(Splash, FrenchWhenTheLanguageIsMissingOrUnknown)
{
    {
        frmloadup splash;
        EXPECT_EQ(LanguageOffset, 0);
        EXPECT_FALSE(splash.showsEnglishLogo());
        EXPECT_EQ(splash.versionText(), "Version : " + expectedVersion());
    }
    store("Langue", "5");
    LanguageOffset = 1000;
    frmloadup splash;
    EXPECT_EQ(LanguageOffset, 0);
    EXPECT_FALSE(splash.showsEnglishLogo());
}

} // namespace
