// The transfer queue in the main window against a real FTP server: every way
// of adding rows, drags between the panes that run the queue, the pop-up and
// the progress bar over the running row. Stop is the engine suite's (rows
// kept, partial files, the completion line after an upload run only) and the
// busy window suite's (the window during and after a stopped run).
#include "MainWindowFixture.h"
#include "transfer/TransferQueue.h"

namespace {

class QueueWindow : public PanesTest {
protected:
    void SetUp() override
    {
        PanesTest::SetUp();
        server->makeDir("docs");
        server->makeDir("docs/deep");
        server->writeFile("docs/guide.txt", "guide");
        server->writeFile("docs/deep/inner.txt", "inner");
        server->writeFile("readme.txt", "hello");
        QDir(desktop()).mkpath("site/sub");
        writeFile(onDesktop("up.txt"), "12345");
        writeFile(onDesktop("site/index.html"), "<html>");
        writeFile(onDesktop("site/sub/page.html"), "<p>");
        startWindow();
    }
    QString q(int row, int column) const { return queue().text(row, column); }
    // The first row of this name: local, remote, host, size, status and remote date.
    QString queued(const QString &name) const
    {
        QStringList cells;
        const int r = queueNames().indexOf(name);
        for (int c : {QueueRow::Local, QueueRow::Remote, QueueRow::Host, QueueRow::Size, QueueRow::Status,
                      QueueRow::RemoteDate})
            cells << (r < 0 ? QString() : q(r, c));
        return cells.join('|');
    }
};

TEST_F(QueueWindow, SelectionsAndDoubleClicksAddRowsWithFoldersExpanded)
{
    ASSERT_TRUE(connect());
    select(window->lvLocal, {"site", "up.txt"});
    window->Toolbar2_ButtonClick("sendlist");
    settle();
    ASSERT_EQ(queue().count(), 3);
    EXPECT_EQ(queued("up.txt"), onDesktop("up.txt") + "|/|" + server->host() + "|  5|Upload|");
    EXPECT_EQ(queued("page.html"), onDesktop("site/sub/page.html") + "|/site/sub|" + server->host() + "|  3|Upload|");
    EXPECT_FALSE(window->picLineAttente->isVisible()); // the wait panel went again

    // From the server pane: download rows with their dates.
    queue().clear();
    select(window->listviewServer, {"docs", "readme.txt"});
    window->mnuPop_Server1_Click(0);
    settle();
    ASSERT_EQ(queue().count(), 3);
    const QString date = cell(serverRows(), "readme.txt", PaneModel::DateColumn);
    ASSERT_FALSE(date.isEmpty());
    EXPECT_EQ(queued("readme.txt"), desktop() + "|/|" + server->host() + "|  5|Download|" + date);
    EXPECT_TRUE(queued("inner.txt").startsWith(onDesktop("docs/deep") + "|/docs/deep|")) << queued("inner.txt").toStdString();
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/")); // the pane stayed

    // Double-clicks add one row each and run nothing.
    queue().clear();
    window->openServerEntry(indexOf(serverRows(), "readme.txt"));
    settle();
    // No remote date: the file keeps the time of its writing.
    EXPECT_EQ(queued("readme.txt"), desktop() + "|/|" + server->host() + "|  5|Download|");
    select(window->lvLocal, {"up.txt"});
    window->openLocalEntry(indexOf(localRows(), "up.txt"));
    settle();
    EXPECT_EQ(queueNames(), (QStringList{"readme.txt", "up.txt"}));
    EXPECT_FALSE(QFile::exists(server->path("up.txt")));
}

TEST_F(QueueWindow, DragsBetweenThePanesRunTheQueue)
{
    ASSERT_TRUE(connect());
    const auto data = paneDrag();
    select(window->listviewServer, {"readme.txt"});
    window->listviewServer_OLEStartDrag();
    settle();
    window->lvLocal_OLEDragDrop(data.get(), QPoint(5, 5));
    settle();
    EXPECT_EQ(readFile(onDesktop("readme.txt")), QByteArray("hello"));
    EXPECT_EQ(queue().count(), 0);
    EXPECT_TRUE(log().contains("  Transfert Terminé")) << logText();
    EXPECT_GE(rowOf(localRows(), "readme.txt"), 0);
    EXPECT_TRUE(window->ListView3->updatesEnabled()); // painted as usual again after the run
    EXPECT_TRUE(window->RTBHeader->updatesEnabled());

    select(window->lvLocal, {"up.txt"});
    window->lvLocal_OLEStartDrag();
    settle();
    EXPECT_FALSE(window->listviewServer->selectionModel()->hasSelection());
    window->listviewServer_OLEDragDrop(data.get(), QPoint(5, 5));
    settle();
    EXPECT_EQ(server->readFile("up.txt"), QByteArray("12345"));
    EXPECT_GE(rowOf(serverRows(), "up.txt"), 0);
}

TEST_F(QueueWindow, DropsOnTheQueueFollowTheListPressedLastAndFilesNeedALocalRow)
{
    ASSERT_TRUE(connect());
    const auto data = paneDrag();
    select(window->listviewServer, {"readme.txt"});
    select(window->lvLocal, {"up.txt"});
    window->sActiveList = "local";
    window->ListView3_OLEDragDrop(data.get(), QPoint());
    settle();
    EXPECT_EQ(queueNames(), QStringList{"up.txt"});
    window->sActiveList = "server";
    window->ListView3_OLEDragDrop(data.get(), QPoint());
    settle();
    EXPECT_EQ(queueNames(), (QStringList{"up.txt", "readme.txt"}));

    // Files from the file manager are queued only with a local row selected,
    // and on the server pane they are queued, not sent.
    queue().clear();
    writeFile(QDir(homeDir.path()).filePath("dropped.txt"), "dropped");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QDir(homeDir.path()).filePath("dropped.txt"))});
    window->lvLocal->clearSelection();
    settle();
    window->ListView3_OLEDragDrop(&files, QPoint());
    settle();
    EXPECT_EQ(queue().count(), 0);
    select(window->lvLocal, {"up.txt"});
    window->ListView3_OLEDragDrop(&files, QPoint());
    settle();
    window->listviewServer_OLEDragDrop(&files, QPoint());
    settle();
    EXPECT_EQ(queueNames(), (QStringList{"dropped.txt", "dropped.txt"}));
    EXPECT_FALSE(QFile::exists(server->path("dropped.txt")));
}

TEST_F(QueueWindow, PopupRemovesSelectedRowsOrExplainsAnEmptyQueue)
{
    window->mnupop_list1_Click(1);
    settle();
    EXPECT_EQ(prompt.texts(), QStringList{"Aucun fichier en attente"});

    for (const char *name : {"a", "b", "c", "d", "e"}) {
        QueueRow row;
        row.name = name;
        queue().append(row);
    }
    for (int r : {1, 3})
        window->ListView3->selectionModel()->select(queue().index(r, 0),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->mnupop_list1[1]->trigger();
    settle();
    EXPECT_EQ(queueNames(), (QStringList{"a", "c", "e"}));
    EXPECT_EQ(queue().row(0).name, QStringLiteral("a"));
    window->mnupop_list1[2]->trigger();
    settle();
    EXPECT_EQ(queue().count(), 0);
}

// Rows going faster than the queue can be repainted (a run of small files)
// hold its repaints back for a moment; it is then repainted whole.
TEST_F(QueueWindow, RowsGoingFastHoldTheQueuesRepaintsForAMoment)
{
    for (int i = 0; i < 4; ++i) {
        QueueRow row;
        row.name = QString::number(i);
        queue().append(row);
    }
    for (int i = 0; i < 3; ++i)
        queue().removeRows({0});
    EXPECT_FALSE(window->ListView3->updatesEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->ListView3->updatesEnabled(); }, 2000));
    EXPECT_EQ(queueNames(), QStringList{"3"});
}

TEST_F(QueueWindow, TheProgressBarSitsInTheFirstRowsProgressCell)
{
    server->writeFile("big.bin", QByteArray(300000, 'b'));
    ASSERT_TRUE(connect());
    window->resize(1200, 900);
    settle();
    QApplication::processEvents();
    bool seen = false;
    QObject::connect(&queue(), &QueueModel::dataChanged, window.get(), [&] {
        if (queue().count() == 0 || !queue().row(0).isRunning() || queue().row(0).total == 0
            || queue().row(0).done < queue().row(0).total)
            return;
        seen = true;
        EXPECT_TRUE(window->ProgressBar1->isVisible());
        EXPECT_EQ(window->ProgressBar1->geometry(),
                  window->ListView3->visualRect(queue().index(0, QueueRow::Progress)));
        EXPECT_EQ(window->ProgressBar1->value(), window->ProgressBar1->maximum());
        EXPECT_TRUE(q(0, QueueRow::Speed).endsWith(" Kbps"));
        EXPECT_EQ(q(0, QueueRow::Detail), QStringLiteral("292 KB de 292 KB"));
    });
    select(window->listviewServer, {"big.bin"});
    window->Toolbar1_ButtonClick("Download");
    settle();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(window->ProgressBar1->isVisible());

    // Sizes beyond 32 bits are scaled.
    window->setProgressMaximum(5LL << 30);
    settle();
    window->setProgressValue(5LL << 29);
    settle();
    EXPECT_NEAR(double(window->ProgressBar1->value()) / window->ProgressBar1->maximum(), 0.5, 0.001);
}

} // namespace
