// The server pane against a real FTP server: its rows, walking its folders,
// and its commands (create, rename, delete, move) with their messages and log.
#include "MainWindowFixture.h"
#include "platform/gui/Icons.h"

#include <QTest>

#include <filesystem>

namespace {

constexpr qint64 FiveGiB = 5LL * 1024 * 1024 * 1024;

class ServerPane : public PanesTest {
protected:
    void makeFiles()
    {
        server->makeDir("docs");
        server->writeFile("empty.bin", "");
        server->writeFile("five.txt", "12345");
        server->writeFile("k.zip", QByteArray(1234, 'k'));
        server->writeFile("m.mp3", QByteArray(1234567, 'm'));
        server->writeFile("README", "no extension");
        QFile big(server->path("big.iso"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(FiveGiB)); // sparse: takes no room
    }
    // The point at the middle of a row of the server list.
    QPoint rowPoint(const QString &name)
    {
        window->listviewServer->resize(600, 400);
        QApplication::processEvents();
        window->listviewServer->doItemsLayout();
        return window->listviewServer->visualRect(indexOf(serverRows(), name)).center();
    }
};

TEST_F(ServerPane, RowsShowSizeTypeDateAndPicturesAsListed)
{
    makeFiles();
    ASSERT_TRUE(startConnected());
    const PaneModel &rows = serverRows();
    const auto column = [&](int c, const QStringList &rowNames) {
        QStringList out;
        for (const QString &name : rowNames)
            out << cell(rows, name, c);
        return out;
    };
    EXPECT_EQ(column(PaneModel::SizeColumn, {"empty.bin", "five.txt", "k.zip", "m.mp3", "big.iso"}),
              QStringList({"0", "  5", " 1 234", "1 234 567", "5 368 709 120"}));
    EXPECT_EQ(rows.data(rows.index(rowOf(rows, "big.iso"), 1), PaneModel::RawValueRole).toLongLong(), FiveGiB);

    EXPECT_EQ(column(PaneModel::TypeColumn, {"k.zip", "README", "docs"}), QStringList({".zip", "", "<Dossier>"}));
    const QDateTime written = QFileInfo(server->path("five.txt")).lastModified();
    EXPECT_EQ(parseGeneralDate(cell(rows, "five.txt", PaneModel::DateColumn)).date(), written.date());

    // Pictures by kind; a name without extension is "no extension" in the
    // listing made while connecting, a plain file after a refresh.
    const auto image = [&](const QString &name) { return rows.data(indexOf(rows, name), PaneModel::ImageRole).toInt(); };
    EXPECT_EQ(QList<int>({image("k.zip"), image("m.mp3"), image("five.txt"), image("docs"), image("README")}),
              QList<int>({7, 18, 25, 22, 23}));
    EXPECT_EQ(qvariant_cast<QIcon>(rows.data(indexOf(rows, "k.zip"), Qt::DecorationRole)).cacheKey(),
              icons::imageList6(7).cacheKey());

    const QStringList before = names(rows);
    window->Toolbar1_ButtonClick("refresh");
    settle();
    EXPECT_EQ(image("README"), 21);
    EXPECT_EQ(names(rows), before); // the same rows again
}

TEST_F(ServerPane, DoubleClickOpensFoldersAndDotDotButNotFilesNorUnsafeNames)
{
    makeFiles();
    server->writeFile("docs/guide.txt", "guide");
    ASSERT_TRUE(startConnected());
    const int linesBefore = log().size();
    window->openServerEntry(indexOf(serverRows(), "five.txt"));
    settle();
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/"));
    EXPECT_EQ(log().size(), linesBefore); // no new listing

    window->openServerEntry(indexOf(serverRows(), "docs"));
    settle();
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/docs"));
    EXPECT_EQ(names(serverRows()), QStringList{"guide.txt"});

    // A server that lists ".." takes the user up with it.
    serverRows().setRows({paneRow("..", true)});
    window->openServerEntry(serverRows().index(0, 0));
    settle();
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/"));
    EXPECT_GE(rowOf(serverRows(), "docs"), 0);

    // Up from the root stays at the root.
    window->cmdUpServerPath->click();
    settle();
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/"));

    // A name with a backslash is shown but never becomes a local path.
    server->writeFile("a\\b.txt", "x");
    window->RefreshDirectoryListing();
    settle();
    ASSERT_GE(rowOf(serverRows(), "a\\b.txt"), 0);
    window->openServerEntry(indexOf(serverRows(), "a\\b.txt"));
    settle();
    EXPECT_TRUE(log().contains(QStringLiteral(" - Nom refusé, dangereux comme chemin local : a\\b.txt"))) << logText();
}

TEST_F(ServerPane, CreateAndRenameTellTheUserAndLog)
{
    ASSERT_TRUE(startConnected());
    answerModals({typeName("  fresh  ")});
    window->Toolbar1_ButtonClick("CreateDirectory");
    settle();
    EXPECT_TRUE(QFileInfo(server->path("fresh")).isDir());
    ASSERT_FALSE(prompt.texts().isEmpty());
    EXPECT_EQ(prompt.texts().last(), QStringLiteral("Répertoire  fresh créé avec succès"));
    EXPECT_TRUE(logContains("257")) << logText();
    EXPECT_GE(rowOf(serverRows(), "fresh"), 0);

    select(window->listviewServer, {"fresh"});
    answerModals({typeName("renamed")});
    window->Toolbar1_ButtonClick("Rename");
    settle();
    EXPECT_TRUE(QFileInfo(server->path("renamed")).isDir());
    EXPECT_EQ(prompt.texts().last(), QStringLiteral("Fichier renommé avec succès"));
    EXPECT_TRUE(logContains("250"));
    EXPECT_GE(rowOf(serverRows(), "renamed"), 0);

    // A folder that cannot be made: the reason goes to the log, no message.
    const int messages = prompt.texts().size();
    answerModals({typeName("renamed")});
    window->Toolbar1_ButtonClick("CreateDirectory");
    settle();
    EXPECT_EQ(prompt.texts().size(), messages);
    EXPECT_TRUE(logContains("550"));
}

TEST_F(ServerPane, RemoveAllAtTheFirstQuestionDeletesTheOtherFilesWithoutAsking)
{
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        server->writeFile(name, "x");
    ASSERT_TRUE(startConnected());
    select(window->listviewServer, {"a.txt", "b.txt", "c.txt"});
    answerModals({press(&frmExist::cmdAll)});
    window->Toolbar1_ButtonClick("Delete");
    settle();
    EXPECT_EQ(modalTitles.size(), 1); // the first name the server listed
    EXPECT_FALSE(QFile::exists(server->path("a.txt")));
    EXPECT_FALSE(QFile::exists(server->path("c.txt")));
    EXPECT_EQ(serverRows().count(), 0);
    EXPECT_FALSE(bDeleteAll); // the next deletion asks again
}

TEST_F(ServerPane, FoldersAreConfirmedOneByOneAndNonEmptyOnesStay)
{
    server->makeDir("one");
    server->makeDir("two");
    server->writeFile("two/keep.txt", "x");
    ASSERT_TRUE(startConnected());
    select(window->listviewServer, {"one", "two"});
    answerModals({press(&frmExist::cmdAll), press(&frmExist::cmdAll)});
    window->listviewServer_KeyDown(); // the Delete key
    settle();
    EXPECT_EQ(modalTitles, (QStringList{"one", "two"}));
    EXPECT_FALSE(QFileInfo::exists(server->path("one")));
    EXPECT_TRUE(QFileInfo::exists(server->path("two/keep.txt")));
    EXPECT_TRUE(logContains("550")) << logText();
    EXPECT_GE(rowOf(serverRows(), "two"), 0);

    // "." and ".." are never deleted, not even asked about.
    serverRows().setRows({paneRow("."), paneRow("..")});
    select(window->listviewServer, {".", ".."});
    modalTitles.clear();
    window->Toolbar1_ButtonClick("Delete");
    settle();
    EXPECT_TRUE(modalTitles.isEmpty());
}

TEST_F(ServerPane, UpdirMovesTheSelectionUpOnlyWhenConfirmed)
{
    server->makeDir("sub");
    server->writeFile("sub/a.txt", "a");
    server->writeFile("sub/b.txt", "b");
    ASSERT_TRUE(startConnected());
    window->openServerEntry(indexOf(serverRows(), "sub"));
    settle();
    select(window->listviewServer, {"a.txt", "b.txt"});

    window->Toolbar1_ButtonClick("updir"); // answered No
    settle();
    ASSERT_EQ(prompt.texts().size(), 1);
    EXPECT_EQ(prompt.texts()[0], QStringLiteral("Remonter les fichiers sélectionnés dans le répertoire supérieur ?"));
    EXPECT_EQ(prompt.asked()[0].title, QStringLiteral("Tarvo FTP"));
    EXPECT_TRUE(QFile::exists(server->path("sub/a.txt")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    prompt.push(platform::PromptAnswer::Yes);
    window->Toolbar1_ButtonClick("updir");
    settle();
    EXPECT_TRUE(QFile::exists(server->path("a.txt")));
    EXPECT_TRUE(QFile::exists(server->path("b.txt")));
    EXPECT_EQ(serverRows().count(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ServerPane, DragInsideThePaneMovesOntoAFolderRowOnly)
{
    server->makeDir("target");
    server->writeFile("a.txt", "a");
    server->writeFile("b.txt", "b");
    ASSERT_TRUE(startConnected());
    const auto data = paneDrag();

    select(window->listviewServer, {"a.txt"});
    window->listviewServer_OLEStartDrag();
    settle();
    window->listviewServer_OLEDragDrop(data.get(), rowPoint("b.txt")); // a file row
    settle();
    EXPECT_TRUE(QFile::exists(server->path("a.txt")));

    select(window->listviewServer, {"a.txt"});
    window->listviewServer_OLEStartDrag();
    settle();
    window->listviewServer_OLEDragDrop(data.get(), rowPoint("target"));
    settle();
    EXPECT_FALSE(QFile::exists(server->path("a.txt")));
    EXPECT_TRUE(QFile::exists(server->path("target/a.txt")));
    EXPECT_LT(rowOf(serverRows(), "a.txt"), 0); // listed again
}

TEST_F(ServerPane, HeaderClicksSortByTextAndFlip)
{
    for (const char *name : {"b.txt", "a.txt", "c.txt"})
        server->writeFile(name, "x");
    ASSERT_TRUE(startConnected());
    window->sortListByColumn(window->listviewServer, 0);
    settle();
    EXPECT_EQ(names(serverRows()), (QStringList{"c.txt", "b.txt", "a.txt"}));
    window->sortListByColumn(window->listviewServer, 0);
    settle();
    EXPECT_EQ(names(serverRows()), (QStringList{"a.txt", "b.txt", "c.txt"}));
    // A new listing keeps the order chosen.
    server->writeFile("0.txt", "x");
    window->RefreshDirectoryListing();
    settle();
    EXPECT_EQ(names(serverRows()).first(), QStringLiteral("0.txt"));
}

TEST_F(ServerPane, TheCountdownOfTheExistQuestionSkipsAndShowsThePanesFigures)
{
    server->writeFile("a.txt", "12345");
    writeFile(QDir(desktop()).filePath("a.txt"), "1234567");
    ASSERT_TRUE(startConnected());
    answerModals({[](QWidget *w) {
        auto *question = static_cast<frmExist *>(w);
        EXPECT_EQ(question->lblsize1->text(), QStringLiteral("  7")); // the local file that exists
        EXPECT_EQ(question->lblsize2->text(), QStringLiteral("  5")); // the server's
        for (int tick = 0; tick < 6; ++tick)
            question->Timer1_Timer();
    }});
    lExistChoice = 3;
    EXPECT_FALSE(window->overWriteExist("a.txt", false));
    EXPECT_EQ(lExistChoice, 2);
}

// A server answering LIST only: links show as links there, and a folder's
// .listing file stands for the lines of servers of any other kind.
class ListOnlyServerPane : public ServerPane {
protected:
    static void SetUpTestSuite()
    {
        FtpServerOptions options;
        options.mlsd = false;
        startServer(options);
    }

    // Listing and changing folder may finish later than the call that asked:
    // wait for what they show.
    bool waitForRow(const QString &name)
    {
        return QTest::qWaitFor([&] { return rowOf(serverRows(), name) >= 0; }, 5000);
    }
};

TEST_F(ListOnlyServerPane, NamesDifferingInCaseAreTwoRowsAndUnknownCellsStayEmpty)
{
    server->writeFile("README", "x");
    server->writeFile("odd/.listing",
                      "-rw-r--r-- 1 u g 5 Jan 5 2020 Notes.TXT\r\n"
                      "-rw-r--r-- 1 u g 66 Jan 6 2020 notes.txt\r\n"
                      "-rw-r--r-- 1 u g 531 undated.txt\r\n"
                      "drwxrwxr-x               folder        2 May 10  1996 Mac Folder\r\n"
                      "?? no format reads this ??\r\n");
    ASSERT_TRUE(startConnected());
    ASSERT_TRUE(waitForRow("odd"));
    window->openServerEntry(indexOf(serverRows(), "odd"));
    ASSERT_TRUE(waitForRow("undated.txt")) << logText();
    const PaneModel &rows = serverRows();
    EXPECT_EQ(names(rows), (QStringList{"Notes.TXT", "notes.txt", "undated.txt", "Mac Folder"}));
    EXPECT_EQ(cell(rows, "Notes.TXT", PaneModel::SizeColumn), "  5");
    EXPECT_EQ(cell(rows, "notes.txt", PaneModel::SizeColumn), "  66");
    EXPECT_EQ(cell(rows, "undated.txt", PaneModel::SizeColumn), "  531");
    EXPECT_EQ(cell(rows, "undated.txt", PaneModel::DateColumn), "");
    EXPECT_EQ(cell(rows, "Mac Folder", PaneModel::SizeColumn), "");
    EXPECT_FALSE(rows.data(rows.index(rowOf(rows, "undated.txt"), PaneModel::DateColumn), PaneModel::RawValueRole).isValid());
    // Said once, in the log.
    EXPECT_EQ(log().filter(QStringLiteral("1 ligne de la liste n'a pas été comprise : \"?? no format reads this ??\"")).size(), 1)
        << logText();

    // The comparison gets both rows, and an unknown date as an empty one
    // (what it makes of them is its own suite's).
    const QList<CompareRow> copy = window->serverPaneRows();
    ASSERT_EQ(copy.size(), 4);
    EXPECT_EQ(copy.at(1).name, "notes.txt");
    EXPECT_EQ(copy.at(2).dateText, "");
}

TEST_F(ListOnlyServerPane, LinksShowAsLinksAndOpenAsWhatTheServerSays)
{
    server->writeFile("real/inner.txt", "inner");
    server->writeFile("data.txt", "data");
    std::filesystem::create_symlink("real", server->path("todir").toStdString());
    std::filesystem::create_symlink("data.txt", server->path("tofile").toStdString());
    ASSERT_TRUE(startConnected());
    ASSERT_TRUE(waitForRow("tofile"));
    const PaneModel &rows = serverRows();
    const auto image = [&](const QString &name) { return rows.data(indexOf(rows, name), PaneModel::ImageRole).toInt(); };
    EXPECT_EQ(image("todir"), 24);
    EXPECT_EQ(image("tofile"), 24);
    EXPECT_EQ(cell(rows, "todir", PaneModel::TypeColumn), "<Lien>");
    EXPECT_EQ(qvariant_cast<QIcon>(rows.data(indexOf(rows, "todir"), Qt::DecorationRole)).cacheKey(),
              icons::imageList6(24).cacheKey());
    EXPECT_FALSE(icons::imageList6(24).isNull());

    // The server lets us into one: a folder. Not into the other: a file,
    // queued for download, and the pane stays.
    window->openServerEntry(indexOf(rows, "tofile"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return queue().count() == 1; }, 5000));
    EXPECT_EQ(queue().row(0).name, "tofile");
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/"));
    window->openServerEntry(indexOf(rows, "todir"));
    ASSERT_TRUE(waitForRow("inner.txt"));
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/todir"));
    EXPECT_EQ(queue().count(), 1);
}

} // namespace
