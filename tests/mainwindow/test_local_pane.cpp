// The local pane on temporary folders: its rows, caption, walking and its
// commands (create, rename, delete) with their questions and reports.
#include "MainWindowFixture.h"
#include "mainwindow/LocalListing.h"

namespace {

using LocalPane = PanesTest;

TEST_F(LocalPane, FoldersFirstThenFilesWithSizesTypesAndDates)
{
    QDir(desktop()).mkpath("Zeta");
    QDir(desktop()).mkpath("alpha");
    writeFile(onDesktop("b.txt"), "12345");
    writeFile(onDesktop("A.zip"), QByteArray(1234, 'z'));
    writeFile(onDesktop("empty"), "");
    writeFile(onDesktop("m.bin"), QByteArray(1234567, 'm'));
    QFile big(onDesktop("big.iso"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(5LL * 1024 * 1024 * 1024)); // sparse
    big.close();
    startWindow();

    const PaneModel &rows = localRows();
    EXPECT_EQ(names(rows), (QStringList{"alpha", "Zeta", "A.zip", "b.txt", "big.iso", "empty", "m.bin"}));
    QStringList sizes;
    for (const char *name : {"alpha", "empty", "b.txt", "A.zip", "m.bin", "big.iso"})
        sizes << cell(rows, name, PaneModel::SizeColumn);
    EXPECT_EQ(sizes, QStringList({"", "  0", "  5", " 1 234", "1 234 567", "5 368 709 120"}));
    EXPECT_EQ(cell(rows, "alpha", PaneModel::TypeColumn) + '|' + cell(rows, "alpha", PaneModel::DateColumn), "<Dossier>|");
    EXPECT_EQ(cell(rows, "b.txt", PaneModel::TypeColumn), localFileType("b.txt").typeName);
    EXPECT_FALSE(cell(rows, "b.txt", PaneModel::TypeColumn).isEmpty());
    EXPECT_EQ(parseGeneralDate(cell(rows, "b.txt", PaneModel::DateColumn)).date(),
              QFileInfo(onDesktop("b.txt")).lastModified().date());

    // One picture per kind of file, not one per row.
    writeFile(onDesktop("c.txt"), "x");
    window->RefreshLocalDir();
    const int pictures = localRows().iconCount();
    writeFile(onDesktop("d.txt"), "x");
    window->RefreshLocalDir();
    EXPECT_EQ(localRows().iconCount(), pictures);
}

TEST_F(LocalPane, CaptionShortensFrom31Characters)
{
    EXPECT_EQ(shortLocalPath("/" + QString(28, 'a')), "/" + QString(28, 'a') + "/"); // 30 with the separator
    const QString longer = "/" + QString(29, 'b');                                     // 31 with the separator
    EXPECT_EQ(shortLocalPath(longer), ".." + QString(29, 'b') + "/");
    startWindow();
    EXPECT_EQ(window->Label11->text(), shortLocalPath(desktop()));
    EXPECT_TRUE(window->Label11->text().endsWith("/Desktop/"));
}

TEST_F(LocalPane, WalksIntoFoldersUpStaysAtTheRootAndBrowses)
{
    QDir(desktop()).mkpath("Desktop"); // a folder named like its parent
    writeFile(onDesktop("notes.txt"), "x");
    startWindow();
    window->openLocalEntry(indexOf(localRows(), "Desktop"));
    EXPECT_EQ(window->localFolder(), onDesktop("Desktop"));
    EXPECT_EQ(localRows().count(), 0);
    window->cmdUpLocal->click();
    EXPECT_EQ(window->localFolder(), desktop());
    EXPECT_EQ(localRows().count(), 2);

    // Setting the folder shown reads nothing: a refresh does.
    writeFile(onDesktop("later.txt"), "x");
    window->setLocalFolder(desktop());
    EXPECT_LT(rowOf(localRows(), "later.txt"), 0);
    window->Toolbar2_ButtonClick("refresh");
    EXPECT_GE(rowOf(localRows(), "later.txt"), 0);

    window->setLocalFolder("/");
    window->cmdUpLocal->click();
    EXPECT_EQ(window->localFolder(), QStringLiteral("/"));
    EXPECT_EQ(window->Label11->text(), QStringLiteral("/"));

    platform::setChooserOverride([this](const QString &) { return homeDir.path(); });
    window->cmdBrowseLocal->click();
    EXPECT_EQ(window->localFolder(), homeDir.path());
}

TEST_F(LocalPane, CreateAndRenameFoldersAndFiles)
{
    writeFile(onDesktop("old.txt"), "x");
    startWindow();
    window->mnuPop_LocalFile1_Click(1); // no row selected: the pop-up does nothing
    EXPECT_TRUE(modalTitles.isEmpty());

    answerModals({typeName("made")});
    window->Toolbar2_ButtonClick("CreateDirectory");
    EXPECT_TRUE(QFileInfo(onDesktop("made")).isDir());
    EXPECT_GE(rowOf(localRows(), "made"), 0);

    select(window->lvLocal, {"old.txt"});
    answerModals({typeName("new.txt")});
    window->Toolbar2_ButtonClick("Rename");
    EXPECT_TRUE(QFile::exists(onDesktop("new.txt")));
    EXPECT_GE(rowOf(localRows(), "new.txt"), 0);

    // The pop-up renames files only.
    select(window->lvLocal, {"made"});
    window->mnuPop_LocalFile1_Click(4);
    EXPECT_EQ(modalTitles.size(), 2);

    // A name that leaves the folder is refused, with a line in the log.
    select(window->lvLocal, {"new.txt"});
    answerModals({typeName("../escaped.txt")});
    window->Toolbar2_ButtonClick("Rename");
    EXPECT_TRUE(QFile::exists(onDesktop("new.txt")));
    EXPECT_FALSE(QFile::exists(QDir(homeDir.path()).filePath("escaped.txt")));
    EXPECT_TRUE(logContains("../escaped.txt"));

    // An existing name is never replaced.
    writeFile(onDesktop("other.txt"), "keep");
    window->RefreshLocalDir();
    select(window->lvLocal, {"new.txt"});
    answerModals({typeName("other.txt")});
    window->Toolbar2_ButtonClick("Rename");
    EXPECT_EQ(readFile(onDesktop("other.txt")), QByteArray("keep"));
}

TEST_F(LocalPane, RemoveAllDeletesTheOtherFilesWithoutAskingAndLastRowFirst)
{
    for (const char *name : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt", "6.txt"})
        writeFile(onDesktop(name), "x");
    startWindow();
    select(window->lvLocal, {"2.txt", "5.txt"});
    answerModals({press(&frmExist::cmdOver), press(&frmExist::cmdOver)});
    window->Toolbar2_ButtonClick("Delete");
    EXPECT_EQ(modalTitles, (QStringList{"5.txt", "2.txt"}));
    EXPECT_EQ(names(localRows()), (QStringList{"1.txt", "3.txt", "4.txt", "6.txt"}));

    modalTitles.clear();
    select(window->lvLocal, {"1.txt", "3.txt", "4.txt"});
    answerModals({press(&frmExist::cmdAll)});
    window->lvLocal_KeyDown();
    EXPECT_EQ(modalTitles, QStringList{"4.txt"});
    EXPECT_EQ(names(localRows()), QStringList{"6.txt"});
    EXPECT_FALSE(bDeleteAll);
}

TEST_F(LocalPane, FolderDeletionAsksReportsAndRefusesNonEmptyFolders)
{
    QDir(desktop()).mkpath("gone");
    QDir(desktop()).mkpath("full/inside");
    startWindow();
    select(window->lvLocal, {"gone"});
    answerModals({press(&frmExist::cmdCancel)});
    window->DeleteLocalDirectory();
    EXPECT_TRUE(QFileInfo(onDesktop("gone")).isDir());
    EXPECT_TRUE(log().isEmpty()); // declined: nothing said
    EXPECT_EQ(modalTitles.last(), QStringLiteral("Effacer le répertoire :") + onDesktop("gone") + " et son contenu ?");

    select(window->lvLocal, {"gone"});
    answerModals({press(&frmExist::cmdOver)});
    window->DeleteLocalDirectory();
    EXPECT_FALSE(QFileInfo(onDesktop("gone")).exists());
    EXPECT_EQ(log().size(), 1);

    select(window->lvLocal, {"full"}); // through the pop-up this time
    answerModals({press(&frmExist::cmdOver)});
    window->mnuPop_LocalFile1_Click(5);
    EXPECT_TRUE(QFileInfo(onDesktop("full/inside")).isDir());
    EXPECT_TRUE(logContains("not empty")) << logText();
    EXPECT_GE(rowOf(localRows(), "full"), 0); // read again
}

} // namespace
