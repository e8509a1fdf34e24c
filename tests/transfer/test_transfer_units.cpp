// Queue pieces that need no server: sizes, joins, times and progress figures.
#include "TestHosts.h"
#include "ScriptedPrompt.h"
#include "session/SizeText.h"
#include "session/clsFTPClient.h"
#include "transfer/TransferQueue.h"

#include <gtest/gtest.h>

TEST(SizeText, GroupsOfThreeWithThePatternsLeadingSpaces)
{
    EXPECT_EQ(formatSizeText(0), "  0");
    EXPECT_EQ(formatSizeText(5), "  5");
    EXPECT_EQ(formatSizeText(1234), " 1 234");
    EXPECT_EQ(formatSizeText(123456), " 123 456");
    EXPECT_EQ(formatSizeText(1234567), "1 234 567");
    EXPECT_EQ(formatSizeText(5LL << 30), "5 368 709 120");
    for (qint64 v : {0LL, 5LL, 999LL, 1000LL, 1234567LL, 5LL << 30}) {
        qint64 back = -1;
        ASSERT_TRUE(parseSizeText(formatSizeText(v), back));
        EXPECT_EQ(back, v);
    }
    qint64 v = 0;
    EXPECT_FALSE(parseSizeText("", v));
    EXPECT_FALSE(parseSizeText("-5", v));
    EXPECT_FALSE(parseSizeText("12a", v));
    EXPECT_TRUE(parseSizeText("1\u00a0234", v));
    EXPECT_EQ(v, 1234);
}

TEST(Joins, ExactlyOneSeparator)
{
    EXPECT_EQ(TransferQueue::chkdir("/home/a", "f.txt"), "/home/a/f.txt");
    EXPECT_EQ(TransferQueue::chkdir("/", "f.txt"), "/f.txt");
    EXPECT_EQ(TransferQueue::joinRemote("/", "docs"), "/docs");
    EXPECT_EQ(TransferQueue::joinRemote("/home", "/b/c"), "/home/b/c");
    EXPECT_EQ(TransferQueue::joinRemote("/home/", "b"), "/home/b");
}

TEST(ConvertTime, HoursMinutesSeconds)
{
    EXPECT_EQ(TransferQueue::ConvertTime(7), "00:00:07");
    EXPECT_EQ(TransferQueue::ConvertTime(59), "00:00:59");
    EXPECT_EQ(TransferQueue::ConvertTime(60), "00:01:00");
    EXPECT_EQ(TransferQueue::ConvertTime(3725), "01:02:05");
    EXPECT_EQ(TransferQueue::ConvertTime(90000), "25:00:00");
}

class Progress : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSessionState();
        LanguageOffset = 1000;
        QueueRow row;
        row.text[QueueRow::Name] = "big.bin";
        model.append(row);
        queue.setClock([this] { return now; });
    }
    double now = 100;
    clsFTPClient ftp;
    QueueModel model;
    TestHost host{model};
    TransferQueue queue{ftp, model, host, host};
};

// Figures of the running row; an event in the starting tick keeps the old
// speed, and the row is repainted at most four times a second, but always at the end.
TEST_F(Progress, SpeedDetailTimeLeftAndRepaints)
{
    queue.TransferSpeed = 3.5;
    queue.markTransferStart();
    queue.mFTP_FileTransferProgress(1000, 100000);
    EXPECT_DOUBLE_EQ(queue.TransferSpeed, 3.5);
    now = 105;
    queue.mFTP_FileTransferProgress(50000, 100000);
    EXPECT_DOUBLE_EQ(queue.TransferSpeed, 10.0);
    EXPECT_EQ(model.row(0).text[QueueRow::Speed], "10.00 Kbps");
    EXPECT_EQ(model.row(0).text[QueueRow::Detail], "48 KB of 97 KB");
    EXPECT_EQ(model.row(0).text[QueueRow::TimeLeft], "00:00:04");
    EXPECT_EQ(host.progressValue, 50000);
    EXPECT_EQ(host.progressMaximum, 100000);
    EXPECT_TRUE(bActivity);

    queue.markTransferStart();
    now = 106;
    queue.mFTP_FileTransferProgress(10000, 1048576);
    EXPECT_EQ(model.row(0).text[QueueRow::Detail], "9 KB of 1024 KB");
    now = 106.1;
    queue.mFTP_FileTransferProgress(52000, 1048576);
    EXPECT_EQ(model.row(0).text[QueueRow::Detail], "9 KB of 1024 KB"); // too soon to repaint
    now = 106.2;
    queue.mFTP_FileTransferProgress(1048576, 1048576);
    EXPECT_EQ(model.row(0).text[QueueRow::Detail], "1024 KB of 1024 KB");
}

TEST(QueueModel, RemovesChosenRowsKeepingOrderAndSortsByColumn)
{
    QueueModel model;
    for (const char *name : {"r1", "r2", "r3", "r4", "r5"}) {
        QueueRow row;
        row.text[QueueRow::Name] = name;
        model.append(row);
    }
    model.removeRows({1, 3});
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(model.row(0).text[0], "r1");
    EXPECT_EQ(model.row(1).text[0], "r3");
    EXPECT_EQ(model.row(2).text[0], "r5");
    model.sort(0, Qt::DescendingOrder);
    EXPECT_EQ(model.row(0).text[0], "r5");
    EXPECT_TRUE(model.containsName("r3"));
    EXPECT_FALSE(model.containsName("R3"));
}

TEST(Runner, EmptyQueueSaysSoAndStaysIdle)
{
    resetSessionState();
    ScriptedPrompt prompt;
    clsFTPClient ftp;
    QueueModel model;
    TestHost host(model);
    TransferQueue queue(ftp, model, host, host);
    queue.RunTransferQueue();
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked().first().text, "Aucun fichier en attente");
    EXPECT_FALSE(bQueueBusy);
}
