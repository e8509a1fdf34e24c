// The permissions, command, new-name and about dialogs; the first two against
// a real FTP server.
#include "WindowTestSupport.h"
#include "FtpServer.h"
#include "SessionWait.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmCHMOD.h"
#include "dialogs/frmCommand.h"
#include "dialogs/frmnewdir.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "update/UpdateConfig.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <filesystem>
#include <memory>

namespace {

namespace fs = std::filesystem;

class ServerDialogs : public WindowTest, public SuiteFtpServer {
protected:
    static void SetUpTestSuite() { startServer(); }
    static void TearDownTestSuite() { stopServer(); }

    void SetUp() override
    {
        WindowTest::SetUp();
        readyServer();
        ftp = std::make_unique<clsFTPClient>();
        ftp->setTimeouts({5000, 5000, 5000});
        ASSERT_TRUE(testwait::open(*ftp, server->host(), server->port(), server->user(), server->password(), true))
            << sLastError.toStdString();
    }
    void TearDown() override
    {
        ftp.reset();
        WindowTest::TearDown();
    }

    void fileWithMode(const QString &name, fs::perms mode)
    {
        server->writeFile(name, "content");
        fs::permissions(server->path(name).toStdString(), mode);
    }
    fs::perms modeOf(const QString &name) const
    {
        return fs::status(server->path(name).toStdString()).permissions() & fs::perms::all;
    }

    std::unique_ptr<clsFTPClient> ftp;
};

using Permissions = ServerDialogs;

TEST_F(Permissions, PermissionTextTicksTheBoxesAndOnlyALiteralXIsExecute)
{
    frmCHMOD dialog(ftp.get());
    EXPECT_EQ(dialog.chmodValue(), "000");
    // Each text in turn on the same dialog: a second use starts from the new text alone.
    const struct { const char *text, *mode; } cases[] = {
        {"-rwsr-Sr-t", "644"}, {"drwxrwxrwT", "776"}, {"-r--------", "400"}, {"-rwxr-xr-x", "755"}};
    for (const auto &c : cases) {
        sCommandResponse = c.text;
        dialog.LoadMe("/www/index.html");
        EXPECT_EQ(dialog.chmodValue(), c.mode) << c.text;
    }
    EXPECT_EQ(dialog.windowTitle(), "CHMOD - /www/index.html");
    QStringList ticked; // by the last text, "-rwxr-xr-x"
    for (QCheckBox *box : dialog.findChildren<QCheckBox *>())
        if (box->isChecked())
            ticked << box->objectName();
    ticked.sort();
    EXPECT_EQ(ticked, QStringList({"chkExec0", "chkExec1", "chkExec2", "chkRead0", "chkRead1", "chkRead2", "chkWrite0"}));
}

TEST_F(Permissions, WithoutPermissionTextOrNameOrOnCancelNothingIsSent)
{
    fileWithMode("index.html", fs::perms::owner_read | fs::perms::owner_write);
    frmCHMOD dialog(ftp.get());
    dialog.show();
    sCommandResponse = "-rwxr-x";
    dialog.LoadMe("index.html");
    EXPECT_EQ(dialog.windowTitle(), "CHMOD");
    EXPECT_EQ(dialog.chmodValue(), "000");
    EXPECT_FALSE(child<QPushButton>(&dialog, "Command1")->isEnabled()) << "no name, no command";
    clickOn(&dialog, "chkRead2");
    clickOn(&dialog, "Command1");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(sCommandResponse, "-rwxr-x") << "nothing went to the server";

    sCommandResponse = "-rw-r--r--";
    dialog.LoadMe("");
    EXPECT_FALSE(child<QPushButton>(&dialog, "Command1")->isEnabled()) << "an empty name is no name";

    sCommandResponse = "-rwxrwxrwx";
    dialog.LoadMe("index.html");
    clickOn(&dialog, "Command2");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(sCommandResponse, "-rwxrwxrwx");
    EXPECT_EQ(modeOf("index.html"), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(Permissions, BoxClicksChangeTheModeAndOkSendsSiteChmodThatTheServerApplies)
{
    fileWithMode("index.html", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
                                   | fs::perms::others_read | fs::perms::others_exec);
    frmCHMOD dialog(ftp.get());
    dialog.show();
    sCommandResponse = "-rwxr-xr-x";
    dialog.LoadMe("index.html");
    EXPECT_TRUE(child<QPushButton>(&dialog, "Command1")->isEnabled());
    const struct { const char *box, *mode; } clicks[] = {{"chkWrite2", "757"}, {"chkWrite2", "755"},
        {"chkRead0", "355"}, {"chkRead0", "755"}, {"chkExec0", "655"}, {"chkExec1", "645"}, {"chkExec2", "644"}};
    for (const auto &c : clicks) {
        clickOn(&dialog, c.box);
        EXPECT_EQ(dialog.chmodValue(), c.mode) << c.box;
    }
    clickOn(&dialog, "Command1");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ftp->waitIdle();
    EXPECT_TRUE(sCommandResponse.startsWith("200")) << sCommandResponse.toStdString();
    EXPECT_EQ(modeOf("index.html"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                                        | fs::perms::others_read);
}

using RawCommand = ServerDialogs;

TEST_F(RawCommand, EnterSendsTheLineAndTheReplyIsShown)
{
    frmCommand window(ftp.get());
    window.show();
    auto *line = child<QLineEdit>(&window, "Text1");
    auto *reply = child<QTextEdit>(&window, "RichTextBox1");
    EXPECT_TRUE(reply->toPlainText().isEmpty());

    QTest::keyClicks(line, "SYST");
    bActivity = false;
    QTest::keyClick(line, Qt::Key_Return);
    ftp->waitIdle();
    EXPECT_TRUE(reply->toPlainText().startsWith("215")) << reply->toPlainText().toStdString();
    EXPECT_FALSE(reply->toPlainText().contains(QChar(0)));
    EXPECT_TRUE(bActivity);
    EXPECT_EQ(line->text(), "SYST") << "the line stays for the next command";
    EXPECT_TRUE(window.isVisible());

    const QString systReply = reply->toPlainText();
    line->setText("NOOP");
    clickOn(&window, "Command1");
    ftp->waitIdle();
    EXPECT_EQ(reply->toPlainText(), systReply) << "NOOP keeps the reply the user is reading";

    line->clear();
    clickOn(&window, "Command1");
    ftp->waitIdle();
    EXPECT_NE(reply->toPlainText(), systReply) << "an empty line is sent too";
    EXPECT_TRUE(reply->toPlainText().startsWith("5")) << reply->toPlainText().toStdString();
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(RawCommand, ALineWithALineBreakIsRefusedWithAReason)
{
    server->writeFile("keep.txt", "x");
    frmCommand window(ftp.get());
    window.show();
    auto *line = child<QLineEdit>(&window, "Text1");
    for (const char *typed : {"NOOP\r\nDELE keep.txt", "NOOP\nDELE keep.txt", "DELE keep.txt\r"}) {
        prompt.clear();
        sCommandResponse = "before";
        line->setText(typed);
        clickOn(&window, "Command1");
        ASSERT_EQ(prompt.asked().size(), 1) << typed;
        EXPECT_EQ(prompt.asked()[0].text, LangStr(708));
        EXPECT_EQ(prompt.asked()[0].icon, platform::PromptIcon::Warning);
        EXPECT_EQ(sCommandResponse, "before");
    }
    EXPECT_EQ(server->readFile("keep.txt"), "x");
}

using NewName = WindowTest;

TEST_F(NewName, EmptyIsRefusedSpacesAreANameAndEnterAccepts)
{
    QString shownAtStart;
    bool stayedOpen = false;
    whenModalShown([&](QWidget *modal) {
        auto *dialog = qobject_cast<frmnewdir *>(modal);
        ASSERT_NE(dialog, nullptr);
        shownAtStart = dialog->Text1->text();
        dialog->Text1->clear();
        child<QPushButton>(dialog, "cmdOk")->click();
        stayedOpen = dialog->isVisible();
        dialog->Text1->setText("   ");
        child<QPushButton>(dialog, "cmdOk")->click();
    });
    EXPECT_EQ(frmnewdir::askName(nullptr, "old name"), "   ");
    EXPECT_EQ(shownAtStart, "old name");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompt.texts(), QStringList{LoadResString(528)});
    EXPECT_EQ(sNewFolderName, "   ");
    EXPECT_EQ(sNewItemName, "   ");

    whenModalShown([](QWidget *modal) {
        QTest::keyClicks(modal->findChild<QLineEdit *>("Text1"), "photos");
        QTest::keyClick(modal->findChild<QLineEdit *>("Text1"), Qt::Key_Return);
    });
    EXPECT_EQ(frmnewdir::askName(nullptr), "photos");
    EXPECT_EQ(sNewFolderName, "photos");
}

TEST_F(NewName, CancelAndEscapeEmptyBothNames)
{
    const std::function<void(QWidget *)> ways[] = {
        [](QWidget *modal) {
            modal->findChild<QLineEdit *>("Text1")->setText("typed");
            child<QPushButton>(modal, "cmdCancel")->click();
        },
        [](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); }};
    for (const auto &way : ways) {
        sNewFolderName = sNewItemName = "stale";
        whenModalShown(way);
        EXPECT_EQ(frmnewdir::askName(nullptr, "x"), "");
        EXPECT_EQ(sNewFolderName, "");
        EXPECT_EQ(sNewItemName, "");
    }
}

class About : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        previousSite = update::vendorWebSiteUrl();
        update::setVendorWebSiteUrl("http://127.0.0.1:9/tarvo");
        platform::setOpenOverride([this](const QString &target) { opened << target; return true; });
    }
    void TearDown() override
    {
        update::setVendorWebSiteUrl(previousSite);
        WindowTest::TearDown();
    }
    QString previousSite;
    QStringList opened;
};

TEST_F(About, ShowsTheVersionAndOpensTheWebSite)
{
    frmAbout window;
    window.show();
    EXPECT_EQ(window.versionText(), QStringLiteral("Version %1.%2.%3")
                                        .arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH));
    EXPECT_EQ(child<QPushButton>(&window, "cmdWeb")->text(), "http://127.0.0.1:9/tarvo");

    clickOn(&window, "cmdWeb");
    EXPECT_EQ(opened, QStringList{"http://127.0.0.1:9/tarvo"});
    EXPECT_TRUE(window.isVisible());
    clickOn(&window, "cmdClose");
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

} // namespace
