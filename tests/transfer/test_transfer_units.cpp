// Queue pieces that need no server: sizes, joins, times and progress figures.
#include "TestHosts.h"
#include "ScriptedPrompt.h"
#include "session/SizeText.h"
#include "session/clsFTPClient.h"
#include "transfer/TransferQueue.h"
#include "transfer/WalkedRows.h"

#include "session/FtpCommand.h"

#include <gtest/gtest.h>

#include <cmath>

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

// Figures of a running row; an event in the starting tick keeps the old
// speed, and a speed of 0 keeps the old time left.
TEST(Progress, SpeedDetailAndTimeLeftOfARow)
{
    resetSessionState();
    LanguageOffset = 1000;
    QueueModel model;
    QueueRow row;
    row.name = "big.bin";
    row.speed = 3.5;
    const quint64 id = model.append(row);

    RowProgress p = rowProgress(model.row(0), 1000, 100000, 0);
    EXPECT_DOUBLE_EQ(p.speed, 3.5);
    p = rowProgress(model.row(0), 50000, 100000, 5);
    EXPECT_DOUBLE_EQ(p.speed, 10.0);
    model.setProgress(id, p.done, 100000, p.speed, p.timeLeft);
    EXPECT_EQ(model.text(0, QueueRow::Speed), "10.00 Kbps");
    EXPECT_EQ(model.text(0, QueueRow::Detail), "48 KB of 97 KB");
    EXPECT_EQ(model.text(0, QueueRow::TimeLeft), "00:00:04");
    // Readable units in the tool tips, the design's texts in the cells.
    EXPECT_EQ(model.data(model.index(0, QueueRow::Speed), Qt::ToolTipRole).toString(), "10.0 kB/s");
    EXPECT_EQ(model.data(model.index(0, QueueRow::Detail), Qt::ToolTipRole).toString(), "48.8 KiB / 97.7 KiB");

    p = rowProgress(model.row(0), 10000, 1048576, 1);
    model.setProgress(id, p.done, 1048576, p.speed, p.timeLeft);
    EXPECT_EQ(model.text(0, QueueRow::Detail), "9 KB of 1024 KB");
    const double left = model.row(0).timeLeft;
    p = rowProgress(model.row(0), 0, 1048576, 2);
    EXPECT_DOUBLE_EQ(p.speed, 0);
    EXPECT_DOUBLE_EQ(p.timeLeft, left);
    EXPECT_EQ(rowProgress(model.row(0), 2000000, 1048576, 3).done, 10000); // past the total: the bar stays
}

// A transfer resumed at byte `base`: the bar shows where the file stands, the
// speed and the time left count only the bytes moved since it resumed.
TEST(Progress, AResumedRowCountsItsSpeedFromTheOffset)
{
    QueueRow row;
    const RowProgress p = rowProgress(row, 60000, 100000, 5, 50000);
    EXPECT_EQ(p.done, 60000);
    EXPECT_DOUBLE_EQ(p.speed, 2.0);                        // 10000 bytes in 5 s
    EXPECT_DOUBLE_EQ(p.timeLeft, std::floor(40000 / 1024.0 / 2.0));
}

// Resume all, file by file: continue the smaller, skip the same size and
// date (to the minute), replace the rest; nothing is continued in ASCII.
TEST(ResumeAnswer, SmallerSameOrOther)
{
    using ftp::ExistsAnswer;
    const QDateTime t(QDate(2024, 5, 6), QTime(7, 8, 9));
    const struct { qint64 existing, incoming; QDateTime existingTime; bool resumable; ExistsAnswer answer; } cases[] = {
        {10, 20, t, true, ExistsAnswer::Resume},
        {10, 20, t, false, ExistsAnswer::Overwrite},
        {20, 20, t.addSecs(30), true, ExistsAnswer::Skip},
        {20, 20, t.addSecs(90), true, ExistsAnswer::Overwrite},
        {20, 20, QDateTime(), true, ExistsAnswer::Overwrite},
        {30, 20, t, true, ExistsAnswer::Overwrite},
        {10, -1, t, true, ExistsAnswer::Overwrite}, // the incoming size unknown
    };
    for (const auto &c : cases) {
        ftp::Request r;
        r.existingSize = c.existing;
        r.incomingSize = c.incoming;
        r.existingTime = c.existingTime;
        r.incomingTime = t;
        r.resumable = c.resumable;
        EXPECT_EQ(ftp::resumeAnswer(r), c.answer) << c.existing << " " << c.incoming;
    }
}

TEST(QueueModel, RemovesChosenRowsKeepingOrderAndSortsByColumn)
{
    QueueModel model;
    qint64 size = 50;
    for (const char *name : {"r1", "r2", "r3", "r4", "r5"}) {
        QueueRow row;
        row.name = name;
        row.size = size -= 10; // sizes fall as names rise
        model.append(row);
    }
    model.removeRows({1, 3});
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(model.row(0).name, "r1");
    EXPECT_EQ(model.row(1).name, "r3");
    EXPECT_EQ(model.row(2).name, "r5");
    model.sort(0, Qt::DescendingOrder);
    EXPECT_EQ(model.row(0).name, "r5");
    model.sort(QueueRow::Size, Qt::DescendingOrder); // by the number, not its text
    EXPECT_EQ(model.row(0).name, "r1");
    EXPECT_TRUE(model.containsName("r3"));
    EXPECT_FALSE(model.containsName("R3"));
    // An unknown size is an empty cell, not 0.
    QueueRow unknown;
    unknown.name = "u";
    model.append(unknown);
    EXPECT_EQ(model.text(model.count() - 1, QueueRow::Size), "");
}

TEST(Runner, EmptyQueueSaysSoAndStaysIdle)
{
    resetSessionState();
    ScriptedPrompt prompt;
    clsFTPClient ftp;
    QueueModel model;
    TestHost host;
    TransferQueue queue(ftp, model, host, host);
    queue.RunTransferQueue();
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_EQ(prompt.asked().first().text, "Aucun fichier en attente");
    EXPECT_FALSE(bQueueBusy);
}

// A walk's folders come one by one; each file becomes a row once every row
// before it is known, so a folder listed late holds back only what follows it.
TEST(WalkedRows, RowsInDepthFirstOrderAsTheFoldersCome)
{
    auto entry = [](const char *name, bool folder = false) {
        inet::FindRecord e;
        e.name = QString::fromLatin1(name);
        e.attributes = folder ? inet::FILE_ATTRIBUTE_DIRECTORY : inet::FILE_ATTRIBUTE_NORMAL;
        return e;
    };
    auto folder = [](const char *path, const char *relative, std::vector<inet::FindRecord> entries,
                     bool entered = true) {
        ftp::Folder f;
        f.path = QString::fromLatin1(path);
        f.relative = QString::fromLatin1(relative);
        f.entered = entered;
        f.entries = std::move(entries);
        return f;
    };
    QStringList rows, refused;
    WalkedRows walk(QStringLiteral("/home/u"),
                    {[&](const RemoteSelection &file, const QString &remote, const QString &local) {
                         rows << remote + QLatin1Char('/') + file.name + QStringLiteral(" > ") + local;
                     },
                     [&](int id, const QString &name) { refused << QString::number(id) + QLatin1Char(' ') + name; }});
    walk.add(folder("/t", "t", {entry("a"), entry("sub", true), entry("../x"), entry("shut", true), entry("z")}));
    EXPECT_EQ(rows, QStringList{"/t/a > /home/u/t"});
    walk.add(folder("/t/sub", "t/sub", {entry("b")}));
    EXPECT_EQ(rows, (QStringList{"/t/a > /home/u/t", "/t/sub/b > /home/u/t/sub"}));
    // Read up to the folder still to come: the unsafe name is left out, with its line.
    EXPECT_EQ(refused, QStringList{"790 ../x"});
    walk.add(folder("/t/shut", "t/shut", {}, false));
    EXPECT_EQ(rows, (QStringList{"/t/a > /home/u/t", "/t/sub/b > /home/u/t/sub", "/t/z > /home/u/t"}));
    EXPECT_EQ(refused, (QStringList{"790 ../x", "792 /t/shut"}));
}
