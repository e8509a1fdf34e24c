// The options window and the start-up splash, driven like a user would.
#include "WindowTestSupport.h"

#include "settings/Options.h"
#include "settings/StringTable.h"
#include "settings/clsTraduction.h"
#include "settings/frmOption.h"
#include "settings/frmloadup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QStackedWidget>
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
    // Shows the page of tree node `index` by clicking the node, as the user does.
    static void openPage(frmOption &window, int index)
    {
        auto *tree = child<QTreeWidget>(&window, "tvOption");
        const QRect node = tree->visualItemRect(tree->topLevelItem(index));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, node.center());
        EXPECT_EQ(child<QStackedWidget>(&window, "picOption")->currentIndex(), index);
    }
    // The start-up update, manager, keep-alive and sound boxes.
    static QList<bool> boxes(const frmOption &window)
    {
        QList<bool> out;
        for (const char *name : {"chkStartWithUpdate", "chkFtpManager", "chkKeepAlive", "chkVeuxSon"})
            out << child<QCheckBox>(&window, name)->isChecked();
        return out;
    }
};

TEST_F(OptionsWindow, OpenShowsTheDefaultsOrTheStoredSettingsAndWritesNothing)
{
    {
        frmOption window(nullptr, {});
        EXPECT_EQ(boxes(window), (QList<bool>{true, false, false, false}));
        EXPECT_EQ(child<QComboBox>(&window, "cboLangue")->currentText(), "Francais");
        EXPECT_EQ(child<QStackedWidget>(&window, "picOption")->currentIndex(), 0);
        EXPECT_EQ(stored("Open"), "") << "loading must not write the start-window choice";
    }
    store("Open", "01");
    store("SWU", "1");
    store("ka", "1");
    bVeuxSon = true;
    LanguageOffset = 1000;
    frmOption window(nullptr, {});
    EXPECT_EQ(boxes(window), (QList<bool>{false, true, true, true}));
    EXPECT_EQ(child<QComboBox>(&window, "cboLangue")->currentText(), "English");
    EXPECT_EQ(stored("Open") + stored("SWU"), "011") << "loading leaves the stored values as they were";
}

TEST_F(OptionsWindow, EveryClickWritesItsKeyAtOnce)
{
    store("SWU", "1");
    frmOption window(nullptr, {});
    window.show();
    // Each click in turn, and the key and value it writes ("SWU": checked
    // means check at start; the sound key is read back in both spellings).
    const struct {
        int page;
        const char *box;
        QStringList written;
    } cases[] = {
        {0, "chkStartWithUpdate", {"SWU=0", "SWU=1", "SWU=0"}},
        {1, "chkFtpManager", {"Open=1", "Open=0"}},
        {2, "chkKeepAlive", {"ka=1", "ka=0"}},
        {4, "chkVeuxSon", {"VSon=1", "Vson=0"}},
    };
    for (const auto &c : cases) {
        openPage(window, c.page);
        for (const QString &written : c.written) {
            clickOn(&window, c.box);
            const QString key = written.section('=', 0, 0);
            EXPECT_EQ(key + '=' + stored(key), written);
        }
    }
    EXPECT_FALSE(bVeuxSon);
    clickOn(&window, "chkVeuxSon");
    EXPECT_TRUE(bVeuxSon);
    EXPECT_TRUE(prompt.asked().isEmpty());
}

// The Transfers page: files at once (1-10) and retries (0-10), read from
// the options file (defaults 2 and 3 without the keys), written as typed,
// and nothing written by opening the window.
TEST_F(OptionsWindow, TransfersPageReadsAndWritesFilesAtOnceAndRetries)
{
    LanguageOffset = 1000;
    {
        frmOption window(nullptr, {});
        window.show();
        openPage(window, 5);
        auto *files = child<QSpinBox>(&window, "txtSimultaneous");
        auto *retries = child<QSpinBox>(&window, "txtRetries");
        EXPECT_EQ(child<QTreeWidget>(&window, "tvOption")->topLevelItem(5)->text(0), "Transfers");
        EXPECT_EQ(child<QLabel>(&window, "lblRetries")->text(), "Retries:");
        EXPECT_EQ(files->value(), 2);
        EXPECT_EQ(retries->value(), 3);
        EXPECT_EQ(retries->minimum(), 0);
        EXPECT_EQ(retries->maximum(), 10);
        EXPECT_EQ(files->minimum(), 1);
        EXPECT_EQ(stored("retries") + stored("Simultaneous"), "");
        retries->setFocus();
        retries->selectAll();
        QTest::keyClicks(retries, "0");
        EXPECT_EQ(stored("retries"), "0");
        QTest::keyClick(retries, Qt::Key_Up);
        EXPECT_EQ(stored("retries"), "1");
        files->setFocus();
        files->selectAll();
        QTest::keyClicks(files, "7");
        EXPECT_EQ(stored("Simultaneous"), "7");
        EXPECT_EQ(options::retries(), 1);
    }
    store("retries", "12"); // out of range: the default
    frmOption window(nullptr, {});
    EXPECT_EQ(child<QSpinBox>(&window, "txtRetries")->value(), 3);
    EXPECT_EQ(child<QSpinBox>(&window, "txtSimultaneous")->value(), 7);
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
    EXPECT_EQ(child<QAbstractButton>(&window, "chkKeepAlive")->text(), "Keep alive");
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
    QString answer = "/music/bell.wav";
    QStringList kinds;
    platform::setChooserOverride([&](const QString &kind) { kinds << kind; return answer; });
    frmOption window(nullptr, {});
    window.show();
    openPage(window, 4);
    clickOn(&window, "cmdSonChoix");
    EXPECT_EQ(stored("Son"), "/music/bell.wav");
    answer.clear();
    clickOn(&window, "cmdSonChoix");
    EXPECT_EQ(stored("Son"), "recv.WAV") << "cancelling brings the program's own sound back";
    EXPECT_EQ(kinds, QStringList({"file", "file"})); // a file chooser, not a folder one
}

TEST_F(OptionsWindow, UpdateButtonChecksOkSaysARestartIsNeededCancelKeepsWhatWasWritten)
{
    int checks = 0;
    frmOption ok(nullptr, [&] { ++checks; });
    ok.show();
    clickOn(&ok, "cmdUpdate");
    EXPECT_EQ(checks, 1);
    clickOn(&ok, "Command1");
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked()[0].text, LoadResString(546));
    EXPECT_EQ(prompt.asked()[0].icon, platform::PromptIcon::Information);
    EXPECT_EQ(ok.result(), QDialog::Accepted);

    frmOption cancel(nullptr, {});
    cancel.show();
    openPage(cancel, 2);
    clickOn(&cancel, "chkKeepAlive");
    clickOn(&cancel, "Command2");
    EXPECT_EQ(cancel.result(), QDialog::Rejected);
    EXPECT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(stored("ka"), "1");
}

using Splash = WindowTest;

TEST_F(Splash, EnglishLogoOnlyWhenTheLanguageIsEnglishAndTheVersionAlways)
{
    const QString version = QStringLiteral("Version : %1.%2.%3")
                                .arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH);
    // The stored language (none yet, English, unknown, French) in a session
    // of some locale, and the offset it leads to.
    const struct { QString stored; const char *locale; int offset; } cases[] = {
        {"", "fr_BE.UTF-8", 0}, {"", "en_US.UTF-8", 1000}, {"1000", "fr_FR.UTF-8", 1000},
        {"5", "en_US.UTF-8", 0}, {"0", "en_US.UTF-8", 0}};
    const QByteArray savedLocale = qgetenv("LC_ALL");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored.toStdString() + " " + c.locale);
        qputenv("LC_ALL", c.locale);
        if (!c.stored.isEmpty())
            store("Langue", c.stored);
        LanguageOffset = 1000 - c.offset; // whatever it was before
        frmloadup splash;
        EXPECT_EQ(LanguageOffset, c.offset);
        EXPECT_EQ(splash.showsEnglishLogo(), c.offset == 1000);
        EXPECT_EQ(splash.versionText(), version);
    }
    qputenv("LC_ALL", savedLocale);
}

} // namespace
