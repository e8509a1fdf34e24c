// The update window over a local HTTP server: the result of a check for a
// newer, an equal and an older version, an unreachable server, the start-up
// option box, and starting the update while connected.
#include "UpdateServing.h"
#include "WindowFixture.h"
#include "settings/OptionStore.h"
#include "settings/Options.h"
#include "update/UpdateConfig.h"
#include "update/frmViewUpdate.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

class FakeMainWindow : public UpdateHost {
public:
    void disconnectFromServer() override
    {
        events << "disconnect";
        bConnected = false;
        // The check after it fetches this file again.
        QFile::remove(platform::joinPath(platform::programDirectory(), "ver.tf"));
    }
    void closeMainWindow() override { events << "close"; }
    QStringList events;
};

class UpdateWindow : public WindowSuite {
protected:
    static void SetUpTestSuite() { http = std::make_unique<HttpServer>(); }
    static void TearDownTestSuite() { http.reset(); }

    void SetUp() override
    {
        WindowSuite::SetUp();
        ASSERT_TRUE(http->isRunning());
        http->clearRoot();
        update::setUpdateServerUrl(http->url());
        update::setVendorWebSiteUrl(http->url());
    }

    void serveVersion(const QString &v) const { ::serveVersion(*http, v); }
    void serveEmptyUpdate() const { ::serveEmptyUpdate(*http, programDir.path()); }

    bool verFileExists() const { return QFileInfo::exists(programDir.filePath("ver.tf")); }

    // Opens the window as the main window does and runs `act` on it once
    // its check has given its answer; returns what showModal returned.
    bool openAndThen(std::function<void(frmViewUpdate &)> act, bool askedByUser = true)
    {
        auto window = [] { return qobject_cast<frmViewUpdate *>(QApplication::activeModalWidget()); };
        whenReady([window] { return window() && window()->Command1->isEnabled() && window()->lblNoUpdate->isVisible(); },
                  [window, act] { act(*window()); });
        return frmViewUpdate::showModal(ftp, mainWindow, nullptr, askedByUser);
    }

    static inline std::unique_ptr<HttpServer> http;
    clsFTPClient ftp;
    FakeMainWindow mainWindow;
};

TEST_F(UpdateWindow, ANewerVersionOffersTheUpdateEqualAndOlderOnesAreUpToDate)
{
    const QString mine = "Your version : " + versionText(0);
    const struct { QString server, result, info; bool offered; } cases[] = {
        {versionText(+1), "Update available", mine + " - Most recent version : " + versionText(+1), true},
        {versionText(0), "Tarvo FTP is up-to-date", mine, false},
        {versionText(-1, 9), "Tarvo FTP is up-to-date", mine + " - Most recent version : " + versionText(-1, 9), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.server.toStdString());
        serveVersion(c.server);
        bool answered = false;
        EXPECT_FALSE(openAndThen([&](frmViewUpdate &w) {
            answered = true;
            EXPECT_TRUE(w.isModal());
            EXPECT_EQ(w.lblNoUpdate->text(), c.result);
            EXPECT_EQ(w.cmdStartUpdate->isVisible(), c.offered);
            EXPECT_EQ(w.lblInfo->text(), c.info);
            EXPECT_FALSE(w.Animation1->isVisible());
            EXPECT_TRUE(verFileExists());
            QTest::keyClick(&w, Qt::Key_Escape); // closes like the close button
        }));
        EXPECT_TRUE(answered);
        EXPECT_FALSE(verFileExists()); // deleted once the window closed
    }
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(UpdateWindow, AnUnreachableServerIsNeverUpToDateAndOnlyTheUsersCheckSaysSoInABox)
{
    const QString unreachable = "Ensure that your internet connection is working properly";
    const QString byDistribution = "Tarvo FTP is updated by your distribution or from the project's web site.";
    // The update server (none: the build's), who opened the window, and
    // what it says; without a server the status line names the project's site.
    const struct { QString server; bool askedByUser; QString result, info; int boxes; } cases[] = {
        {"http://127.0.0.1:1", true, unreachable, "", 1},
        {"http://127.0.0.1:1", false, unreachable, "", 0}, // the window of the start-up
        {"", true, byDistribution, http->url(), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.server.toStdString() + (c.askedByUser ? " asked" : " at start"));
        prompt.clear();
        update::setUpdateServerUrl(c.server);
        EXPECT_FALSE(frmViewUpdate::silentCheck(ftp));
        EXPECT_TRUE(prompt.asked().isEmpty()); // the start-up check stays silent
        EXPECT_FALSE(openAndThen([&c](frmViewUpdate &w) {
            EXPECT_EQ(w.lblNoUpdate->text(), c.result);
            EXPECT_EQ(w.lblInfo->text(), c.info);
            EXPECT_FALSE(w.cmdStartUpdate->isVisible());
            w.Command1->click();
        }, c.askedByUser));
        ASSERT_EQ(prompt.asked().size(), c.boxes);
        if (c.boxes)
            EXPECT_EQ(prompt.asked().first().text, "Updater was not able to connect to internet.\r\n" + unreachable);
    }
}

TEST_F(UpdateWindow, StartUpBoxWritesTheInvertedOption)
{
    const QString opt = options::optionsFilePath();
    auto swu = [&] { return OptionStore().ReadValue("SWU", "Option", opt).toText(); };
    {
        frmViewUpdate window(ftp, mainWindow);
        EXPECT_TRUE(window.chkStartWithUpdate->isChecked()); // a missing value means "check"
        EXPECT_EQ(swu(), ""); // showing it wrote nothing
        window.show();
        QTest::mouseClick(window.chkStartWithUpdate, Qt::LeftButton, {}, QPoint(6, window.chkStartWithUpdate->height() / 2));
        EXPECT_EQ(swu(), "1");
        window.chkStartWithUpdate->click();
        EXPECT_EQ(swu(), "0");
        window.chkStartWithUpdate->click();
    }
    frmViewUpdate again(ftp, mainWindow);
    EXPECT_FALSE(again.chkStartWithUpdate->isChecked());
}

TEST_F(UpdateWindow, StartWhileConnectedAsksAndDisconnectsFirstOnlyOnOk)
{
    serveVersion(versionText(+1));
    serveEmptyUpdate();
    bConnected = true;
    frmViewUpdate window(ftp, mainWindow);
    window.show();
    prompt.push(platform::PromptAnswer::Cancel);
    window.cmdStartUpdate->click();
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked().first().text,
              "You must disconnect from the server before starting the update , do you want to disconnect now ?");
    EXPECT_EQ(prompt.asked().first().buttons, platform::PromptButtons::OkCancel);
    EXPECT_TRUE(mainWindow.events.isEmpty());
    EXPECT_TRUE(bConnected);
    EXPECT_FALSE(bUpdateLaunched);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(QFileInfo::exists(programDir.filePath("upt.tf"))); // nothing was fetched

    prompt.push(platform::PromptAnswer::Ok);
    window.cmdStartUpdate->click();
    // Disconnected, checked again (ver.tf fetched anew), updated, then the
    // main window was asked to close and the window hid itself.
    EXPECT_EQ(mainWindow.events, QStringList({"disconnect", "close"}));
    EXPECT_TRUE(verFileExists());
    EXPECT_EQ(window.lblNoUpdate->text(), "Please be patient - Tarvo FTP is updating");
    EXPECT_FALSE(bConnected);
    EXPECT_TRUE(bUpdateLaunched);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(UpdateWindow, AFailedUpdateLeavesTheWindowOpenAStartedUpdaterEndsIt)
{
    serveVersion(versionText(+1)); // no update list on the server yet
    bool stillOpen = false;
    EXPECT_FALSE(openAndThen([&](frmViewUpdate &w) {
        w.cmdStartUpdate->click();
        EXPECT_EQ(w.lblInfo->text(), "Error while updating - please try again later");
        stillOpen = w.isVisible();
        EXPECT_TRUE(w.Command1->isEnabled());
        w.Command1->click();
    }));
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(mainWindow.events.isEmpty());
    EXPECT_FALSE(bUpdateLaunched);

    serveEmptyUpdate();
    EXPECT_TRUE(openAndThen([](frmViewUpdate &w) { w.cmdStartUpdate->click(); }));
    EXPECT_EQ(mainWindow.events, QStringList({"close"})); // not connected: no question
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_TRUE(verFileExists()); // the updater's files are kept
}

} // namespace
