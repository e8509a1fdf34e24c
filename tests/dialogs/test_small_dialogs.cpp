// The permissions, command, new-name and about dialogs; the first two against
// a real FTP server.
#include "DialogTestSupport.h"
#include "FtpServer.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmCHMOD.h"
#include "dialogs/frmCommand.h"
#include "dialogs/frmnewdir.h"
#include "platform/gui/Choosers.h"
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

class ServerDialogs : public WindowTest {
protected:
    static void SetUpTestSuite() { server = std::make_unique<FtpServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(server->isRunning()) << server->errorText().toStdString();
        server->clearRoot();
        ftp = std::make_unique<clsFTPClient>();
        ftp->setTimeouts({5000, 5000, 5000});
        ASSERT_TRUE(ftp->OpenConnection(server->host(), QString::number(server->port()), server->user(),
                                        server->password(), inet::INTERNET_FLAG_PASSIVE))
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
    static bool checked(QWidget *window, const char *name) { return child<QCheckBox>(window, name)->isChecked(); }

    static std::unique_ptr<FtpServer> server;
    std::unique_ptr<clsFTPClient> ftp;
};

std::unique_ptr<FtpServer> ServerDialogs::server;

// ---- permissions

using Permissions = ServerDialogs;

TEST_F(Permissions, PermissionTextTicksTheBoxesAndShowsTheMode)
{
    frmCHMOD dialog(ftp.get());
    EXPECT_EQ(dialog.chmodValue(), "000");
    EXPECT_EQ(child<QCheckBox>(&dialog, "chkRead0")->text(), "Lecture");
    EXPECT_EQ(child<QLabel>(&dialog, "lblTitre2")->text(), "Tout le monde");
    EXPECT_EQ(child<QLabel>(&dialog, "lblPermission")->text(), LoadResString(647));

    sCommandResponse = "-rwxr-xr-x";
    dialog.LoadMe("/www/index.html");
    EXPECT_EQ(dialog.chmodValue(), "755");
    EXPECT_EQ(dialog.windowTitle(), "CHMOD - /www/index.html");
    for (const char *box : {"chkRead0", "chkWrite0", "chkExec0", "chkRead1", "chkExec1", "chkRead2", "chkExec2"})
        EXPECT_TRUE(checked(&dialog, box)) << box;
    EXPECT_FALSE(checked(&dialog, "chkWrite1"));
    EXPECT_FALSE(checked(&dialog, "chkWrite2"));
    EXPECT_TRUE(child<QPushButton>(&dialog, "Command1")->isEnabled());
}

TEST_F(Permissions, OnlyALiteralXIsExecute)
{
    frmCHMOD dialog(ftp.get());
    sCommandResponse = "-rwsr-Sr-t";
    dialog.LoadMe("a");
    EXPECT_EQ(dialog.chmodValue(), "644");
    sCommandResponse = "drwxrwxrwT";
    dialog.LoadMe("b");
    EXPECT_EQ(dialog.chmodValue(), "776");
    sCommandResponse = "-r--------";
    dialog.LoadMe("c");
    EXPECT_EQ(dialog.chmodValue(), "400") << "a second use starts from the new text alone";
    EXPECT_FALSE(checked(&dialog, "chkWrite1"));
}

TEST_F(Permissions, WithoutPermissionTextNothingIsTickedAndOkSendsNothing)
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
    EXPECT_EQ(modeOf("index.html"), fs::perms::owner_read | fs::perms::owner_write);

    sCommandResponse = "-rw-r--r--";
    dialog.LoadMe("");
    EXPECT_FALSE(child<QPushButton>(&dialog, "Command1")->isEnabled()) << "an empty name is no name";
}

TEST_F(Permissions, TogglingABoxBackRestoresTheMode)
{
    frmCHMOD dialog(ftp.get());
    dialog.show();
    sCommandResponse = "-rwxr-xr-x";
    dialog.LoadMe("index.html");
    clickOn(&dialog, "chkWrite2");
    EXPECT_EQ(dialog.chmodValue(), "757");
    clickOn(&dialog, "chkWrite2");
    EXPECT_EQ(dialog.chmodValue(), "755");
    clickOn(&dialog, "chkRead0");
    EXPECT_EQ(dialog.chmodValue(), "355");
}

TEST_F(Permissions, OkSendsSiteChmodAndTheServerAppliesIt)
{
    fileWithMode("index.html", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
                                   | fs::perms::others_read | fs::perms::others_exec);
    frmCHMOD dialog(ftp.get());
    dialog.show();
    sCommandResponse = "-rwxr-xr-x";
    dialog.LoadMe("index.html");
    for (const char *box : {"chkExec0", "chkExec1", "chkExec2"})
        clickOn(&dialog, box);
    ASSERT_EQ(dialog.chmodValue(), "644");
    clickOn(&dialog, "Command1");

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(sCommandResponse.startsWith("200")) << sCommandResponse.toStdString();
    EXPECT_EQ(modeOf("index.html"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                                        | fs::perms::others_read);
}

TEST_F(Permissions, CancelSendsNothing)
{
    fileWithMode("index.html", fs::perms::owner_read | fs::perms::owner_write);
    frmCHMOD dialog(ftp.get());
    dialog.show();
    sCommandResponse = "-rwxrwxrwx";
    dialog.LoadMe("index.html");
    clickOn(&dialog, "Command2");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(sCommandResponse, "-rwxrwxrwx");
    EXPECT_EQ(modeOf("index.html"), fs::perms::owner_read | fs::perms::owner_write);
}

// ---- raw command

using RawCommand = ServerDialogs;

TEST_F(RawCommand, EnterSendsTheLineAndTheReplyIsShown)
{
    frmCommand window(ftp.get());
    window.show();
    EXPECT_EQ(window.windowTitle(), LoadResString(571));
    auto *line = child<QLineEdit>(&window, "Text1");
    auto *reply = child<QTextEdit>(&window, "RichTextBox1");
    EXPECT_TRUE(reply->toPlainText().isEmpty());

    QTest::keyClicks(line, "SYST");
    bActivity = false;
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_TRUE(reply->toPlainText().startsWith("215")) << reply->toPlainText().toStdString();
    EXPECT_FALSE(reply->toPlainText().contains(QChar(0)));
    EXPECT_TRUE(bActivity);
    EXPECT_EQ(line->text(), "SYST") << "the line stays for the next command";
    EXPECT_TRUE(window.isVisible());

    const QString systReply = reply->toPlainText();
    line->setText("NOOP");
    clickOn(&window, "Command1");
    EXPECT_EQ(reply->toPlainText(), systReply) << "NOOP keeps the reply the user is reading";

    line->clear();
    clickOn(&window, "Command1");
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

// ---- new name

using NewName = WindowTest;

TEST_F(NewName, EmptyIsRefusedSpacesAreAName)
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
}

TEST_F(NewName, TypedNameAndEnterAcceptIt)
{
    whenModalShown([](QWidget *modal) {
        auto *dialog = qobject_cast<frmnewdir *>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Label1->text(), LoadResString(528));
        QTest::keyClicks(dialog->Text1, "photos");
        QTest::keyClick(dialog->Text1, Qt::Key_Return);
    });
    EXPECT_EQ(frmnewdir::askName(nullptr), "photos");
    EXPECT_EQ(sNewFolderName, "photos");
    EXPECT_EQ(sNewItemName, "photos");
}

TEST_F(NewName, CancelAndEscapeEmptyBothNames)
{
    sNewFolderName = sNewItemName = "stale";
    whenModalShown([](QWidget *modal) {
        qobject_cast<QLineEdit *>(modal->findChild<QLineEdit *>("Text1"))->setText("typed");
        child<QPushButton>(modal, "cmdCancel")->click();
    });
    EXPECT_EQ(frmnewdir::askName(nullptr, "x"), "");
    EXPECT_EQ(sNewFolderName, "");
    EXPECT_EQ(sNewItemName, "");

    sNewFolderName = sNewItemName = "stale";
    whenModalShown([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(frmnewdir::askName(nullptr, "x"), "");
    EXPECT_EQ(sNewFolderName, "");
    EXPECT_EQ(sNewItemName, "");
}

// ---- about

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
        platform::setOpenOverride({});
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
    EXPECT_EQ(window.windowTitle(), "À propos de Tarvo FTP");
    EXPECT_EQ(window.versionText(), QStringLiteral("Version %1.%2.%3")
                                        .arg(TARVO_VERSION_MAJOR).arg(TARVO_VERSION_MINOR).arg(TARVO_VERSION_PATCH));
    EXPECT_EQ(child<QLabel>(&window, "lblDesc")->text(), LoadResString(613));
    EXPECT_EQ(child<QPushButton>(&window, "cmdClose")->text(), "Fermer");
    EXPECT_EQ(child<QPushButton>(&window, "cmdWeb")->text(), "http://127.0.0.1:9/tarvo");

    clickOn(&window, "cmdWeb");
    EXPECT_EQ(opened, QStringList{"http://127.0.0.1:9/tarvo"});
    EXPECT_TRUE(window.isVisible());
    clickOn(&window, "cmdClose");
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

} // namespace
