// The comparison window on hand-made pane rows: marks, bold cells, captions,
// layout, and what each of the six buttons puts into a real transfer queue
// (connected to a real FTP server, so that folders expand on both sides).
#include "WindowFixture.h"
#include "platform/gui/Icons.h"
#include "session/DateValue.h"
#include "transfer/frmCompare.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>

namespace {

QString paneDate(int day, int hour = 10)
{
    return formatGeneralDate(QDateTime(QDate(2024, 3, day), QTime(hour, 0), Qt::LocalTime));
}

CompareRow file(const QString &name, const QString &size, const QString &date)
{
    return {name, size, date, QStringLiteral("Text"), false};
}

CompareRow folder(const QString &name, const QString &size = QString(), const QString &date = QString())
{
    return {name, size, date, QStringLiteral("<Folder>"), true};
}

class FakePanes : public CompareHost {
public:
    explicit FakePanes(TransferQueue &queue) : m_queue(queue) {}
    QList<CompareRow> localPaneRows() override { return local; }
    QList<CompareRow> serverPaneRows() override { return server; }
    QString localPaneFolder() override { return localFolder; }
    QString serverPaneFolder() override { return serverFolder; }
    TransferQueue &transferQueue() override { return m_queue; }

    QList<CompareRow> local, server;
    QString localFolder, serverFolder = QStringLiteral("/");

private:
    TransferQueue &m_queue;
};

class CompareWindow : public WindowSuite, public SuiteFtpServer {
protected:
    static void SetUpTestSuite()
    {
        startServer();
        server->writeFile("serverdir/x.bin", "xx");
        server->writeFile("serverdir/deep/y.bin", "yyy");
    }
    static void TearDownTestSuite() { stopServer(); }

    void SetUp() override
    {
        WindowSuite::SetUp();
        ASSERT_TRUE(server->isRunning()) << server->errorText().toStdString();
        ASSERT_TRUE(bench.connectTo(*server)) << sLastError.toStdString();
        bench.host.localFolder = downloads.path();
        for (const char *name : {"same.txt", "onlylocal.txt", "size.txt", "date.txt", "both.txt", "Case.txt",
                                 "queued.txt", "newdir/a.txt", "newdir/sub/b.txt"})
            writeFile(local.filePath(name), "data");
        panes.localFolder = local.path();
        panes.local = {file("same.txt", "  5", paneDate(1)),       file("onlylocal.txt", "  1", paneDate(1)),
                       file("size.txt", "  10", paneDate(1)),      file("date.txt", "  7", paneDate(2)),
                       file("both.txt", "  8", paneDate(3)),       file("Case.txt", "  2", paneDate(1)),
                       file("queued.txt", "  3", paneDate(1)),     folder("newdir")};
        panes.server = {file("same.txt", "5", paneDate(1, 18)),   file("size.txt", "20", paneDate(1)),
                        file("date.txt", "7", paneDate(5)),       file("both.txt", "9", paneDate(6)),
                        file("case.txt", "2", paneDate(1)),       file("onlyserver.txt", "4", paneDate(1)),
                        folder("serverdir", "4 096", paneDate(1))};
    }

    // A queue holding only a row named "queued.txt" (another folder's file).
    void seedQueue()
    {
        bench.model.clear();
        QueueRow row;
        row.name = "queued.txt";
        bench.model.append(row);
    }

    QStringList pressed(QToolBar *bar, frmCompare &window, const QString &key)
    {
        seedQueue();
        clickAction(bar, window.button(bar, key));
        testwait::until([this] { return !bench.queue.isExpanding(); });
        QStringList added = bench.namesAndRemotes();
        added.removeFirst();
        return added;
    }

    QTemporaryDir local;
    QTemporaryDir downloads;
    QueueBench bench;
    FakePanes panes{bench.queue};
};

// The picture a row shows for its mark: the comparison icons, and an empty
// picture of the same size for a row without a mark.
QImage picture(CompareMark mark)
{
    const char *name = mark == CompareMark::Missing       ? "cmp-missing"
                       : mark == CompareMark::DateDiffers ? "cmp-date"
                       : mark == CompareMark::SizeDiffers ? "cmp-size"
                                                          : nullptr;
    if (name)
        return icons::named(name).pixmap(16, 16).toImage();
    QPixmap empty(16, 16);
    empty.fill(Qt::transparent);
    return empty.toImage();
}

TEST_F(CompareWindow, MarksEachRowAgainstTheOtherSide)
{
    frmCompare window(panes);
    using M = CompareMark;
    // The marks themselves are the comparison's; the window shows each one's picture.
    const struct { QTreeWidget *list; QList<CompareFlags> flags; QList<M> marks; } sides[] = {
        {window.lvLocal, window.marks().local,
         {M::None, M::Missing, M::SizeDiffers, M::DateDiffers, M::SizeDiffers, M::Missing, M::Missing, M::Missing}},
        {window.lvServer, window.marks().server,
         {M::None, M::SizeDiffers, M::DateDiffers, M::SizeDiffers, M::Missing, M::Missing, M::Missing}}};
    for (const auto &side : sides) {
        ASSERT_EQ(side.list->topLevelItemCount(), side.marks.size());
        for (int i = 0; i < side.marks.size(); ++i) {
            SCOPED_TRACE(side.list->topLevelItem(i)->text(0).toStdString());
            EXPECT_EQ(side.flags[i].mark(), side.marks[i]);
            EXPECT_EQ(side.list->topLevelItem(i)->icon(0).pixmap(16, 16).toImage(), picture(side.marks[i]));
        }
    }

    // The rows as copied: name, size as the pane shows it, the day only, type.
    QTreeWidgetItem *same = window.lvLocal->topLevelItem(0);
    EXPECT_EQ(QStringList({same->text(0), same->text(1), same->text(2), same->text(3)}),
              QStringList({"same.txt", "  5", "2024-03-01", "Text"}));
    EXPECT_EQ(window.lvServer->topLevelItem(0)->text(2), "2024-03-01"); // another hour, same day

    // Bold cells of the first five local rows: all of a missing row, else the
    // size or the date that differs (the size mark wins).
    const QStringList boldCells = {"----", "nsdt", "-s--", "--d-", "-s--"};
    for (int i = 0; i < boldCells.size(); ++i) {
        QString cells;
        for (int c = 0; c < 4; ++c)
            cells += window.lvLocal->topLevelItem(i)->font(c).bold() ? QString("nsdt")[c] : QChar('-');
        EXPECT_EQ(cells, boldCells[i]) << panes.local[i].name.toStdString();
    }
}

TEST_F(CompareWindow, EachButtonQueuesWhatItNamesOnce)
{
    frmCompare window(panes);
    // Missing: the files, and the folder through the queue's own walk with
    // sub-folder remote paths; the queued name and the other letter case aside.
    const struct { QToolBar *bar; QStringList missing; const char *status; QString firstLocal, deepLocal; } sides[] = {
        {window.Toolbar1, {"onlylocal.txt -> /", "Case.txt -> /", "a.txt -> /newdir", "b.txt -> /newdir/sub"},
         "Upload", local.filePath("onlylocal.txt"), local.filePath("newdir/a.txt")},
        {window.Toolbar4, {"case.txt -> /", "onlyserver.txt -> /", "x.bin -> /serverdir", "y.bin -> /serverdir/deep"},
         "Download", downloads.path(), downloads.path() + "/serverdir"}};
    for (const auto &side : sides) {
        SCOPED_TRACE(side.status);
        EXPECT_EQ(pressed(side.bar, window, "manquant"), side.missing);
        EXPECT_EQ(bench.model.text(1, QueueRow::Status), side.status);
        EXPECT_EQ(bench.model.text(1, QueueRow::Local), side.firstLocal);
        EXPECT_EQ(bench.model.text(3, QueueRow::Local), side.deepLocal);
        EXPECT_EQ(pressed(side.bar, window, "taille"), QStringList({"size.txt -> /", "both.txt -> /"}));
        EXPECT_EQ(pressed(side.bar, window, "date"), QStringList({"date.txt -> /", "both.txt -> /"}));

        // One after the other, a name queued already is not added again (the
        // file that differs in both only once), however often pressed.
        seedQueue();
        for (int round = 0; round < 2; ++round)
            for (const char *key : {"manquant", "taille", "date"}) {
                clickAction(side.bar, window.button(side.bar, key));
                testwait::until([this] { return !bench.queue.isExpanding(); });
            }
        QStringList names;
        for (const QString &row : side.missing)
            names << row.section(' ', 0, 0);
        EXPECT_EQ(bench.column(QueueRow::Name),
                  QStringList{"queued.txt"} + names + QStringList({"size.txt", "both.txt", "date.txt"}));
    }
    // A download takes size and full date as the server pane shows them.
    pressed(window.Toolbar4, window, "taille");
    EXPECT_EQ(bench.model.text(1, QueueRow::Size), "  20");
    EXPECT_EQ(bench.model.text(1, QueueRow::RemoteDate), paneDate(1));
    EXPECT_FALSE(bQueueBusy); // nothing was started
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(CompareWindow, PanesThatMovedOnAddNothing)
{
    frmCompare window(panes);
    seedQueue();
    panes.localFolder = downloads.path();
    clickAction(window.Toolbar1, window.button(window.Toolbar1, "manquant"));
    panes.localFolder = local.path();
    panes.serverFolder = "/serverdir";
    clickAction(window.Toolbar4, window.button(window.Toolbar4, "manquant"));
    EXPECT_EQ(bench.model.count(), 1);
    ASSERT_EQ(prompt.asked().size(), 2);
    EXPECT_EQ(prompt.asked().first().text,
              "The panes no longer show the folders compared. Close this window and compare again.");
}

TEST_F(CompareWindow, EmptyPanesGiveEmptyListsAndAddNothing)
{
    panes.local.clear();
    panes.server = {folder("."), folder("..")};
    frmCompare window(panes);
    EXPECT_EQ(window.lvLocal->topLevelItemCount(), 0);
    EXPECT_EQ(window.lvServer->topLevelItemCount(), 0); // "." and ".." are never shown
    bench.model.clear();
    for (QToolBar *bar : {window.Toolbar1, window.Toolbar4})
        for (const char *key : {"manquant", "taille", "date"})
            clickAction(bar, window.button(bar, key));
    EXPECT_EQ(bench.model.count(), 0);
    EXPECT_TRUE(prompt.asked().isEmpty());
}

TEST_F(CompareWindow, OneWindowAtATimeNotModalBusyForTwoSecondsInTwoHalves)
{
    frmCompare *window = frmCompare::showCompare(panes, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(frmCompare::showCompare(panes, nullptr), window); // the open one comes to the front

    EXPECT_EQ(window->Timer1->interval(), 2000);
    EXPECT_FALSE(window->picAnim->isHidden());
    window->Timer1_Timer();
    EXPECT_TRUE(window->picAnim->isHidden());
    EXPECT_FALSE(window->Timer1->isActive());

    window->resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(window->Picture1->size(), window->contentsRect().size() - QSize(24, 48));
    EXPECT_EQ(window->Picture3->x(), window->Picture1->width() / 2);
    EXPECT_EQ(window->Picture2->width(), window->Picture1->width() / 2);
    EXPECT_TRUE(window->Picture2->isAncestorOf(window->lvLocal));
    EXPECT_TRUE(window->Picture3->isAncestorOf(window->lvServer));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    // Opened again, it compares afresh (the closed one is not yet deleted, so
    // the two cannot share an address).
    frmCompare *again = frmCompare::showCompare(panes, nullptr);
    EXPECT_NE(again, window);
    again->close();
}

} // namespace
