// The comparison window, the drop-in basket and the update window as the main
// window opens them: the compare button over the panes' rows, the basket only
// while connected (the main window stepping aside meanwhile), the update
// window at start-up as the options say, the silent check of timerMAJ against
// a local HTTP server, and the three other ways into the update window.
#include "MainWindowFixture.h"
#include "UpdateServing.h"

namespace {

class ToolWindows : public PanesTest {
protected:
    static void SetUpTestSuite()
    {
        PanesTest::SetUpTestSuite();
        http = std::make_unique<HttpServer>();
    }
    static void TearDownTestSuite()
    {
        http.reset();
        PanesTest::TearDownTestSuite();
    }
    void SetUp() override
    {
        PanesTest::SetUp();
        ASSERT_TRUE(http->isRunning());
        http->clearRoot();
    }

    // The update check asks the local HTTP server, which offers this version.
    void serveVersion(const QString &v) const
    {
        update::setUpdateServerUrl(http->url());
        ::serveVersion(*http, v);
    }

    // Wide enough for the whole tool bar and the notice at its end.
    void widen()
    {
        window->setWindowState(Qt::WindowNoState);
        window->resize(1400, 800);
    }
    bool majShown() const
    {
        QApplication::processEvents(); // the tool bar lays out its items on its own turn
        return window->toolbarButton(window->tbToolBar, QStringLiteral("maj"))->isVisible()
               && window->lblMAJ->isVisible() && window->picMAJ->isVisible();
    }
    QStringList visibleTopLevels(const char *className) const
    {
        QStringList out;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits(className) && w->isVisible())
                out << w->windowTitle();
        return out;
    }
    // Each row of one side of the comparison, by name, with its mark.
    static QMap<QString, CompareMark> marked(const QList<CompareRow> &rows, const QList<CompareFlags> &flags)
    {
        QMap<QString, CompareMark> out;
        for (int i = 0; i < rows.size(); ++i)
            out.insert(rows[i].name, flags.value(i).mark());
        return out;
    }

    static inline std::unique_ptr<HttpServer> http;
};

// ---- the comparison window ---------------------------------------------------------

TEST_F(ToolWindows, CompareButtonComparesWhatThePanesShow)
{
    server->writeFile("same.txt", "12345");
    server->writeFile("differs.txt", "0123456789");
    server->writeFile("server-only.txt", "s");
    writeFile(onDesktop("same.txt"), "12345");
    writeFile(onDesktop("differs.txt"), "abc");
    writeFile(onDesktop("local-only.txt"), "l");
    ASSERT_TRUE(startConnected());

    window->cmdCompare->click();
    settle();
    frmCompare *compare = window->compareWindow();
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->isVisible());
    EXPECT_FALSE(compare->isModal());
    // Every row of both panes (the server's without "." and ".."), marked.
    using M = CompareMark;
    EXPECT_EQ(marked(compare->localRows(), compare->marks().local),
              (QMap<QString, M>{{"differs.txt", M::SizeDiffers}, {"local-only.txt", M::Missing}, {"same.txt", M::None}}));
    EXPECT_EQ(marked(compare->serverRows(), compare->marks().server),
              (QMap<QString, M>{{"differs.txt", M::SizeDiffers}, {"same.txt", M::None}, {"server-only.txt", M::Missing}}));

    // The button brings the open window forward rather than opening another.
    window->cmdCompare->click();
    settle();
    EXPECT_EQ(window->compareWindow(), compare);
    EXPECT_EQ(visibleTopLevels("frmCompare").size(), 1);

    // A language switch recaptions it; closing the main window closes it.
    window->switchLanguage(true);
    settle();
    EXPECT_EQ(compare->windowTitle(), LoadResString(1684));
    window->close();
    settle();
    EXPECT_TRUE(visibleTopLevels("frmCompare").isEmpty());
}

// ---- the drop-in basket ------------------------------------------------------------

TEST_F(ToolWindows, DropInOpensOnlyWhenConnectedAndSetsTheMainWindowAsideMeanwhile)
{
    startWindow();
    window->tbToolBar_ButtonClick(QStringLiteral("DropIn"));
    settle();
    ASSERT_EQ(prompt.asked().size(), 1); // its text is the basket's own (see its suite)
    EXPECT_EQ(prompt.asked()[0].title, QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    EXPECT_EQ(window->dropInWindow(), nullptr);
    EXPECT_TRUE(window->isEnabled());

    ASSERT_TRUE(connect());
    window->toolbarButton(window->tbToolBar, QStringLiteral("DropIn"))->trigger();
    settle();
    frmDropIn *basket = window->dropInWindow();
    ASSERT_NE(basket, nullptr);
    EXPECT_TRUE(basket->isVisible());
    EXPECT_FALSE(basket->isModal());
    EXPECT_EQ(prompt.asked().size(), 1);
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);

    // What is dropped goes into the main window's queue.
    writeFile(onDesktop("dropped.txt"), "drop");
    basket->dropPaths({QUrl::fromLocalFile(onDesktop("dropped.txt"))});
    ASSERT_EQ(window->queueModel()->count(), 1);
    EXPECT_EQ(window->queueModel()->text(0, QueueRow::Name), QStringLiteral("dropped.txt"));

    basket->cmdOk->click();
    EXPECT_FALSE(basket->isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->queueModel()->count(), 1); // Ok keeps the queue

    // Closing the main window (as the program does when the updater starts)
    // closes the basket first.
    window->tbToolBar_ButtonClick(QStringLiteral("DropIn"));
    settle();
    QPointer<frmDropIn> again = window->dropInWindow();
    ASSERT_TRUE(again && again->isVisible());
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(!again || !again->isVisible());
    EXPECT_FALSE(window->isVisible());
}

// ---- the update window -------------------------------------------------------------

TEST_F(ToolWindows, TimerTickShowsTheNoticeOnlyForANewerVersionAndTheNoticeOpensTheUpdateWindow)
{
    serveVersion(versionText(0));
    startWindow();
    widen();
    window->timerMAJ_Timer();
    settle();
    EXPECT_FALSE(window->timerMAJ->isActive()); // one check per run
    EXPECT_FALSE(majShown());

    serveVersion(versionText(+1));
    window->timerMAJ_Timer();
    settle();
    ASSERT_TRUE(majShown());
    EXPECT_EQ(window->lblMAJ->text(), LangStr(610));
    EXPECT_TRUE(prompt.asked().isEmpty()); // silent whatever happens
    EXPECT_TRUE(modalClasses.isEmpty());

    closeUpdateWindow(); // what it shows is the update window suite's
    window->toolbarButton(window->tbToolBar, QStringLiteral("maj"))->trigger();
    settle();
    closeUpdateWindow();
    QTest::mouseClick(window->lblMAJ, Qt::LeftButton);
    EXPECT_EQ(modalClasses, (QStringList{"frmViewUpdate", "frmViewUpdate"}));
    EXPECT_TRUE(window->isVisible()); // nothing was started
}

TEST_F(ToolWindows, OptionsUpdateButtonClosesTheOptionsThenOpensTheUpdateWindow)
{
    serveVersion(versionText(0));
    startWindow();
    answerModals({[this](QWidget *options) {
        EXPECT_STREQ(options->metaObject()->className(), "frmOption");
        closeUpdateWindow();
        options->findChild<QPushButton *>(QStringLiteral("cmdUpdate"))->click();
    }});
    window->tbToolBar_ButtonClick(QStringLiteral("tool"));
    settle();
    EXPECT_EQ(modalClasses, (QStringList{"frmOption", "frmViewUpdate"}));
    EXPECT_TRUE(visibleTopLevels("frmOption").isEmpty());
}

TEST_F(ToolWindows, AnUpdaterStartedAtStartUpEndsTheStartUp)
{
    serveVersion(versionText(+1));
    serveEmptyUpdate(*http, programDir.path());
    ASSERT_TRUE(options::setCheckUpdateAtStart(true).ok());
    ASSERT_TRUE(options::setStartWindowChoice(1).ok()); // the manager would come next
    answerUpdateWindow([](frmViewUpdate *update) { update->cmdStartUpdate->click(); });
    startWindow();
    EXPECT_EQ(modalClasses, QStringList{"frmViewUpdate"}); // no manager
    EXPECT_TRUE(bUpdateLaunched);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->timerMAJ->isActive());
}

} // namespace
