// The transfer queue in the main window against a real FTP server: every way
// of adding rows, drags between the panes that run the queue, the pop-up, the
// progress bar over the running row, and Stop.
#include "MainWindowFixture.h"
#include "session/clsFTPClient.h"
#include "transfer/QueueModel.h"
#include "transfer/TransferQueue.h"

#include <QMimeData>
#include <QProgressBar>
#include <QTextEdit>
#include <QUrl>

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
        writeLocal(onDesktop("up.txt"), "12345");
        writeLocal(onDesktop("site/index.html"), "<html>");
        writeLocal(onDesktop("site/sub/page.html"), "<p>");
        startWindow();
    }
    QueueModel &queue() const { return *window->queueModel(); }
    QString q(int row, int column) const { return queue().row(row).text[column]; }
    QStringList queueNames() const
    {
        QStringList out;
        for (int r = 0; r < queue().count(); ++r)
            out << q(r, QueueRow::Name);
        return out;
    }
};

TEST_F(QueueWindow, LocalSelectionAddsUploadRowsWithFoldersExpanded)
{
    ASSERT_TRUE(connect());
    select(window->lvLocal, {"site", "up.txt"});
    window->Toolbar2_ButtonClick("sendlist");
    ASSERT_EQ(queue().count(), 3);
    const int up = queueNames().indexOf("up.txt");
    ASSERT_GE(up, 0);
    EXPECT_EQ(q(up, QueueRow::Local), onDesktop("up.txt"));
    EXPECT_EQ(q(up, QueueRow::Remote), QStringLiteral("/"));
    EXPECT_EQ(q(up, QueueRow::Host), server->host());
    EXPECT_EQ(q(up, QueueRow::Size), QStringLiteral("  5"));
    EXPECT_EQ(q(up, QueueRow::Status), QStringLiteral("Upload"));
    EXPECT_EQ(q(up, QueueRow::RemoteDate), QString());
    const int page = queueNames().indexOf("page.html");
    EXPECT_EQ(q(page, QueueRow::Remote), QStringLiteral("/site/sub"));
    EXPECT_EQ(q(page, QueueRow::Local), onDesktop("site/sub/page.html"));
    EXPECT_FALSE(window->picLineAttente->isVisible()); // the wait panel went again
}

TEST_F(QueueWindow, ServerSelectionAddsDownloadRowsWithTheirDates)
{
    ASSERT_TRUE(connect());
    select(window->listviewServer, {"docs", "readme.txt"});
    window->mnuPop_Server1_Click(0);
    ASSERT_EQ(queue().count(), 3);
    const int readme = queueNames().indexOf("readme.txt");
    EXPECT_EQ(q(readme, QueueRow::Local), desktop());
    EXPECT_EQ(q(readme, QueueRow::Remote), QStringLiteral("/"));
    EXPECT_EQ(q(readme, QueueRow::Size), cell(serverRows(), "readme.txt", PaneModel::SizeColumn));
    EXPECT_EQ(q(readme, QueueRow::Status), QStringLiteral("Download"));
    EXPECT_EQ(q(readme, QueueRow::RemoteDate), cell(serverRows(), "readme.txt", PaneModel::DateColumn));
    EXPECT_FALSE(q(readme, QueueRow::RemoteDate).isEmpty());
    const int inner = queueNames().indexOf("inner.txt");
    EXPECT_EQ(q(inner, QueueRow::Local), onDesktop("docs/deep"));
    EXPECT_EQ(q(inner, QueueRow::Remote), QStringLiteral("/docs/deep"));
    EXPECT_EQ(window->TxtRemotePath->text(), QStringLiteral("/")); // the pane stayed
}

TEST_F(QueueWindow, DoubleClicksAddOneRowAndRunNothing)
{
    ASSERT_TRUE(connect());
    window->openServerEntry(indexOf(serverRows(), "readme.txt"));
    ASSERT_EQ(queue().count(), 1);
    EXPECT_EQ(q(0, QueueRow::Status), QStringLiteral("Download"));
    EXPECT_EQ(q(0, QueueRow::Size), QStringLiteral("  5"));
    EXPECT_EQ(q(0, QueueRow::RemoteDate), QString()); // keeps the time of its writing

    select(window->lvLocal, {"up.txt"});
    window->openLocalEntry(indexOf(localRows(), "up.txt"));
    ASSERT_EQ(queue().count(), 2);
    EXPECT_EQ(q(1, QueueRow::Local), onDesktop("up.txt"));
    EXPECT_FALSE(QFile::exists(server->path("up.txt")));
}

TEST_F(QueueWindow, DragsBetweenThePanesRunTheQueue)
{
    ASSERT_TRUE(connect());
    const auto data = paneDrag();
    select(window->listviewServer, {"readme.txt"});
    window->listviewServer_OLEStartDrag();
    window->lvLocal_OLEDragDrop(data.get(), QPoint(5, 5));
    QFile down(onDesktop("readme.txt"));
    ASSERT_TRUE(down.open(QIODevice::ReadOnly));
    EXPECT_EQ(down.readAll(), QByteArray("hello"));
    EXPECT_EQ(queue().count(), 0);
    EXPECT_TRUE(log().contains("  Transfert Terminé")) << logText();
    EXPECT_GE(rowOf(localRows(), "readme.txt"), 0);
    EXPECT_TRUE(window->ListView3->updatesEnabled()); // painted as usual again after the run
    EXPECT_TRUE(window->RTBHeader->updatesEnabled());

    select(window->lvLocal, {"up.txt"});
    window->lvLocal_OLEStartDrag();
    EXPECT_FALSE(window->listviewServer->selectionModel()->hasSelection());
    window->listviewServer_OLEDragDrop(data.get(), QPoint(5, 5));
    EXPECT_EQ(server->readFile("up.txt"), QByteArray("12345"));
    EXPECT_GE(rowOf(serverRows(), "up.txt"), 0);
}

TEST_F(QueueWindow, DropsOnTheQueueFollowTheListPressedLast)
{
    ASSERT_TRUE(connect());
    const auto data = paneDrag();
    select(window->listviewServer, {"readme.txt"});
    select(window->lvLocal, {"up.txt"});
    window->sActiveList = "local";
    window->ListView3_OLEDragDrop(data.get(), QPoint());
    EXPECT_EQ(queueNames(), QStringList{"up.txt"});
    window->sActiveList = "server";
    window->ListView3_OLEDragDrop(data.get(), QPoint());
    EXPECT_EQ(queueNames(), (QStringList{"up.txt", "readme.txt"}));
}

TEST_F(QueueWindow, FilesFromTheFileManagerNeedASelectedLocalRow)
{
    ASSERT_TRUE(connect());
    writeLocal(QDir(homeDir.path()).filePath("dropped.txt"), "dropped");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QDir(homeDir.path()).filePath("dropped.txt"))});
    window->lvLocal->clearSelection();
    window->ListView3_OLEDragDrop(&files, QPoint());
    EXPECT_EQ(queue().count(), 0);
    select(window->lvLocal, {"up.txt"});
    window->ListView3_OLEDragDrop(&files, QPoint());
    EXPECT_EQ(queueNames(), QStringList{"dropped.txt"});

    // On the server pane they are queued, not sent.
    window->listviewServer_OLEDragDrop(&files, QPoint());
    EXPECT_EQ(queue().count(), 2);
    EXPECT_FALSE(QFile::exists(server->path("dropped.txt")));
}

TEST_F(QueueWindow, PopupRemovesSelectedRowsOrExplainsAnEmptyQueue)
{
    window->mnupop_list1_Click(1);
    EXPECT_EQ(prompt.texts(), QStringList{"Aucun fichier en attente"});

    for (const char *name : {"a", "b", "c", "d", "e"}) {
        QueueRow row;
        row.text[QueueRow::Name] = name;
        queue().append(row);
    }
    for (int r : {1, 3})
        window->ListView3->selectionModel()->select(queue().index(r, 0),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->mnupop_list1[1]->trigger();
    EXPECT_EQ(queueNames(), (QStringList{"a", "c", "e"}));
    EXPECT_EQ(window->firstQueueRow().text, QStringLiteral("a"));
    window->mnupop_list1[2]->trigger();
    EXPECT_EQ(queue().count(), 0);
    EXPECT_FALSE(window->firstQueueRow().exists);
}

TEST_F(QueueWindow, TheProgressBarSitsInTheFirstRowsProgressCell)
{
    server->writeFile("big.bin", QByteArray(300000, 'b'));
    ASSERT_TRUE(connect());
    window->resize(1200, 900);
    QApplication::processEvents();
    bool seen = false;
    QObject::connect(window->mFTP, &clsFTPClient::FileTransferProgress, window.get(), [&](qint64 done, qint64 total) {
        if (done < total || queue().count() == 0)
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
    EXPECT_TRUE(seen);
    EXPECT_FALSE(window->ProgressBar1->isVisible());
}

TEST_F(QueueWindow, FiveGibibytesShowAsSuchInTheRowAndTheBar)
{
    QFile big(server->path("huge.iso"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(5LL << 30));
    big.close();
    ASSERT_TRUE(connect());
    select(window->listviewServer, {"huge.iso"});
    window->DragDropManuel(false);
    ASSERT_EQ(queue().count(), 1);
    EXPECT_EQ(q(0, QueueRow::Size), QStringLiteral("5 368 709 120"));
    window->setProgressMaximum(5LL << 30);
    window->setProgressValue(5LL << 29);
    EXPECT_NEAR(double(window->ProgressBar1->value()) / window->ProgressBar1->maximum(), 0.5, 0.001);
}

TEST_F(QueueWindow, StopEndsADownloadRunWithItsRowStillQueued)
{
    server->writeFile("big.bin", QByteArray(2000000, 'b'));
    ASSERT_TRUE(connect());
    QObject::connect(window->mFTP, &clsFTPClient::FileTransferProgress, window.get(),
                     [&] { window->tbToolBar_ButtonClick("Stop"); });
    select(window->listviewServer, {"big.bin"});
    window->DragDropManuel(false);
    select(window->listviewServer, {"readme.txt"});
    window->DragDropManuel(false);
    window->tbToolBar_ButtonClick("Transfer");
    EXPECT_EQ(queueNames(), (QStringList{"big.bin", "readme.txt"}));
    EXPECT_FALSE(bQueueBusy);
    EXPECT_FALSE(bStopTransfer);
    EXPECT_FALSE(log().contains("  Transfert Terminé"));
    EXPECT_FALSE(QFile::exists(onDesktop("readme.txt")));
    EXPECT_LT(QFileInfo(onDesktop("big.bin")).size(), 2000000); // the partial file stays
}

TEST_F(QueueWindow, StopEndsAnUploadRunWithTheCompletionLine)
{
    writeLocal(onDesktop("large.bin"), QByteArray(2000000, 'u'));
    ASSERT_TRUE(connect());
    window->RefreshLocalDir();
    QObject::connect(window->mFTP, &clsFTPClient::FileTransferProgress, window.get(),
                     [&] { window->tbToolBar_ButtonClick("Stop"); });
    select(window->lvLocal, {"large.bin", "up.txt"});
    window->Toolbar2_ButtonClick("upload");
    EXPECT_EQ(queueNames().first(), QStringLiteral("large.bin"));
    EXPECT_FALSE(bQueueBusy);
    EXPECT_TRUE(log().contains("  Transfert Terminé"));
}

TEST_F(QueueWindow, AStartWhileRunningIsIgnored)
{
    ASSERT_TRUE(connect());
    bQueueBusy = true;
    window->tbToolBar_ButtonClick("Transfer");
    EXPECT_TRUE(prompt.texts().isEmpty()); // not even "no files in queue"
}

} // namespace
