// The keys desktop file managers taught everyone, in both panes, and a folder
// typed in either path box. Server operations may answer later than the key
// returns: each effect is waited for.
#include "MainWindowFixture.h"

#include <QTest>

namespace {

using PaneKeys = PanesTest;

constexpr int WaitMs = 10000;

void hit(QTreeView *list, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(list, key, mods);
}

// Types text into a path box and confirms it with Enter.
void typeInto(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

int selectedCount(QTreeView *list)
{
    return int(list->selectionModel()->selectedRows().size());
}

TEST_F(PaneKeys, EveryKeyOfTheLocalPaneDoesWhatItsButtonDoes)
{
    QDir(desktop()).mkpath("sub/deeper");
    writeFile(onDesktop("f.txt"), "x");
    ASSERT_TRUE(startConnected());
    QTreeView *list = window->lvLocal;

    writeFile(onDesktop("later.txt"), "x");
    hit(list, Qt::Key_F5);
    EXPECT_GE(rowOf(localRows(), "later.txt"), 0) << "F5 reads the folder again";

    hit(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedCount(list), localRows().count()) << "Ctrl+A";

    select(list, {"sub"});
    hit(list, Qt::Key_Return);
    EXPECT_EQ(window->localFolder(), onDesktop("sub")) << "Enter opens a folder";
    select(list, {"deeper"});
    hit(list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(window->localFolder(), onDesktop("sub/deeper")) << "so does the keypad's Enter";
    hit(list, Qt::Key_Backspace);
    EXPECT_EQ(window->localFolder(), onDesktop("sub")) << "Backspace goes up";
    hit(list, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(window->localFolder(), desktop()) << "so does Alt+Up";

    select(list, {"f.txt"});
    const int queued = window->queueModel()->rowCount();
    hit(list, Qt::Key_Return);
    EXPECT_EQ(window->queueModel()->rowCount(), queued + 1) << "Enter queues a file, as a double-click";
    EXPECT_EQ(window->localFolder(), desktop());

    select(list, {"f.txt"});
    answerModals({typeName("g.txt")});
    hit(list, Qt::Key_F2);
    EXPECT_TRUE(QFile::exists(onDesktop("g.txt"))) << "F2 renames";

    select(list, {"g.txt"});
    answerModals({press(&frmExist::cmdOver)});
    hit(list, Qt::Key_Delete);
    EXPECT_FALSE(QFile::exists(onDesktop("g.txt"))) << "Delete deletes";

    // Keys that act on rows want one selected.
    list->clearSelection();
    hit(list, Qt::Key_F2);
    hit(list, Qt::Key_Return);
    EXPECT_TRUE(modalTitles.size() == 2) << "no dialog without a row";
    EXPECT_EQ(window->localFolder(), desktop());
}

TEST_F(PaneKeys, EveryKeyOfTheServerPaneDoesWhatItsButtonDoes)
{
    server->makeDir("docs/inner");
    server->writeFile("a.txt", "x");
    ASSERT_TRUE(startConnected());
    QTreeView *list = window->listviewServer;
    const auto remoteFolderIs = [this](const char *path) {
        return QTest::qWaitFor([&] { return window->TxtRemotePath->text() == QLatin1String(path); }, WaitMs);
    };
    const auto listed = [this](const char *name) {
        return QTest::qWaitFor([&] { return rowOf(serverRows(), QLatin1String(name)) >= 0; }, WaitMs);
    };

    server->writeFile("later.txt", "x");
    hit(list, Qt::Key_F5);
    EXPECT_TRUE(listed("later.txt")) << "F5 lists the folder again";

    hit(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedCount(list), serverRows().count()) << "Ctrl+A";

    select(list, {"docs"});
    hit(list, Qt::Key_Return);
    EXPECT_TRUE(remoteFolderIs("/docs") && listed("inner")) << "Enter opens a folder";
    hit(list, Qt::Key_Backspace);
    EXPECT_TRUE(remoteFolderIs("/") && listed("a.txt")) << "Backspace goes up";
    select(list, {"docs"});
    hit(list, Qt::Key_Return);
    ASSERT_TRUE(remoteFolderIs("/docs"));
    hit(list, Qt::Key_Up, Qt::AltModifier);
    EXPECT_TRUE(remoteFolderIs("/") && listed("a.txt")) << "so does Alt+Up";

    select(list, {"a.txt"});
    const int queued = window->queueModel()->rowCount();
    hit(list, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->queueModel()->rowCount() == queued + 1; }, WaitMs))
        << "Enter queues a file, as a double-click";

    select(list, {"a.txt"});
    answerModals({typeName("b.txt")});
    hit(list, Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(server->path("b.txt")); }, WaitMs)) << "F2 renames";

    ASSERT_TRUE(listed("b.txt"));
    select(list, {"b.txt"});
    answerModals({press(&frmExist::cmdOver)});
    hit(list, Qt::Key_Delete);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(server->path("b.txt")); }, WaitMs)) << "Delete deletes";
}

TEST_F(PaneKeys, WithoutAConnectionTheServerPanesKeysDoNothing)
{
    startWindow();
    serverRows().setRows({paneRow("docs", true)});
    select(window->listviewServer, {"docs"});
    for (Qt::Key key : {Qt::Key_F5, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_F2, Qt::Key_Delete})
        hit(window->listviewServer, key);
    EXPECT_TRUE(modalTitles.isEmpty());
    EXPECT_TRUE(prompt.asked().isEmpty());
    EXPECT_EQ(window->TxtRemotePath->text(), QString());
}

TEST_F(PaneKeys, AFolderTypedInTheLocalPathBoxOpensAndAnUnknownOneIsAnError)
{
    QDir(desktop()).mkpath("sub/deeper");
    startWindow();
    QLineEdit *box = window->txtLocalPath;
    const struct { QString typed, folder; bool error; } typed[] = {
        {onDesktop("sub"), onDesktop("sub"), false},
        {"deeper", onDesktop("sub/deeper"), false},         // from the folder shown
        {"../..", desktop(), false},
        {"~/Desktop/sub/", onDesktop("sub"), false},
        {onDesktop("nowhere"), onDesktop("sub"), true},
    };
    for (const auto &t : typed) {
        SCOPED_TRACE(t.typed.toStdString());
        const int lines = log().size();
        typeInto(box, t.typed);
        EXPECT_EQ(window->localFolder(), t.folder);
        EXPECT_EQ(box->text(), QDir::toNativeSeparators(t.folder));
        EXPECT_EQ(log().size(), lines + (t.error ? 1 : 0));
    }
    EXPECT_TRUE(logContains(LangStr(892) + onDesktop("nowhere"))) << logText();

    // Typed and left without Enter: nothing opens, the folder comes back.
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, desktop());
    window->lvLocal->setFocus();
    emit box->editingFinished();
    EXPECT_EQ(window->localFolder(), onDesktop("sub"));
    EXPECT_EQ(box->text(), QDir::toNativeSeparators(onDesktop("sub")));
}

TEST_F(PaneKeys, AFolderTypedInTheServerPathBoxOpensAndAnUnknownOneIsTheServersError)
{
    server->makeDir("docs/inner");
    ASSERT_TRUE(startConnected());
    QLineEdit *box = window->TxtRemotePath;
    typeInto(box, "/docs/inner");
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->text() == "/docs/inner"; }, WaitMs));
    typeInto(box, "..");
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->text() == "/docs" && rowOf(serverRows(), "inner") >= 0; }, WaitMs));

    const int lines = log().size();
    typeInto(box, "/nowhere");
    EXPECT_TRUE(QTest::qWaitFor([&] { return log().size() > lines; }, WaitMs));
    settle(); // the refusal comes before the listing that follows it
    EXPECT_TRUE(logContains("550")) << logText();
    EXPECT_EQ(box->text(), "/docs");
    EXPECT_GE(rowOf(serverRows(), "inner"), 0);

    // Half-typed text is not where the queue sends files.
    box->selectAll();
    QTest::keyClicks(box, "/elsewhere");
    EXPECT_EQ(window->remotePathText(), "/docs");
    emit box->editingFinished();
    EXPECT_EQ(box->text(), "/docs");
}

} // namespace
