// The folder comparison's marks and the tool bars' selection rule, on
// hand-made rows.
#include "session/DateValue.h"
#include "session/SessionState.h"
#include "transfer/Comparison.h"
#include "transfer/QueueModel.h"

#include <gtest/gtest.h>

namespace {

CompareRow file(const QString &name, const QString &size, const QString &day)
{
    return {name, size, day, QStringLiteral(".txt"), false};
}

CompareRow folder(const QString &name, const QString &size = QString(), const QString &day = QString())
{
    return {name, size, day, QStringLiteral("<Folder>"), true};
}

using comparison::KeyDate;
using comparison::KeyMissing;
using comparison::KeySize;

QStringList keysSelecting(const CompareFlags &flags)
{
    QStringList keys;
    for (const QString &key : {KeyMissing, KeySize, KeyDate}) {
        if (comparison::selects(key, flags))
            keys << key;
    }
    return keys;
}

TEST(Comparison, MarksEqualMissingSizeAndDateRows)
{
    const QList<CompareRow> local{
        file("same.txt", "  13", "2024-05-01"),
        file("only-local.txt", "  1", "2024-05-01"),
        file("size.txt", "  10", "2024-05-01"),
        file("date.txt", "  10", "2024-05-01"),
        file("both.txt", "  10", "2024-05-01"),
    };
    const QList<CompareRow> server{
        file("same.txt", "  13", "2024-05-01"),
        file("size.txt", "  11", "2024-05-01"),
        file("date.txt", "  10", "2024-05-02"),
        file("both.txt", " 1 000", "2023-01-01"),
        file("only-server.txt", "  2", "2024-05-01"),
    };
    const CompareResult r = comparison::CompareLists(local, server);
    ASSERT_EQ(r.local.size(), 5);
    ASSERT_EQ(r.server.size(), 5);

    const struct { int row; CompareMark mark; bool boldRow, boldSize, boldDate; QStringList keys; } expected[] = {
        {0, CompareMark::None, false, false, false, {}},
        {1, CompareMark::Missing, true, true, true, {KeyMissing}},
        {2, CompareMark::SizeDiffers, false, true, false, {KeySize}},
        {3, CompareMark::DateDiffers, false, false, true, {KeyDate}},
        // Size and date differ: only the size is marked, both buttons take it.
        {4, CompareMark::SizeDiffers, false, true, false, {KeySize, KeyDate}},
    };
    for (const auto &e : expected) {
        SCOPED_TRACE(local.at(e.row).name.toStdString());
        const CompareFlags &f = r.local.at(e.row);
        EXPECT_EQ(f.mark(), e.mark);
        EXPECT_EQ(f.boldRow(), e.boldRow);
        EXPECT_EQ(f.boldSize(), e.boldSize);
        EXPECT_EQ(f.boldDate(), e.boldDate);
        EXPECT_EQ(keysSelecting(f), e.keys);
    }
    // The server side is marked against the local side the same way.
    EXPECT_EQ(r.server.at(0).mark(), CompareMark::None);
    EXPECT_EQ(r.server.at(1).mark(), CompareMark::SizeDiffers);
    EXPECT_EQ(r.server.at(2).mark(), CompareMark::DateDiffers);
    EXPECT_EQ(r.server.at(3).mark(), CompareMark::SizeDiffers);
    EXPECT_EQ(r.server.at(4).mark(), CompareMark::Missing);
}

TEST(Comparison, NamesAreCaseSensitiveAndEveryRowOfTheOtherSideIsVisited)
{
    const QList<CompareRow> local{file("Readme.txt", "  5", "2024-01-01")};
    const QList<CompareRow> server{file("README.TXT", "  5", "2024-01-01")};
    const CompareResult r = comparison::CompareLists(local, server);
    EXPECT_EQ(r.local.at(0).mark(), CompareMark::Missing);
    EXPECT_EQ(r.server.at(0).mark(), CompareMark::Missing);

    // A later row of the same name still sets its flag.
    const QList<CompareRow> twice{file("a", "  5", "2024-01-01"), file("a", "  6", "2024-01-01")};
    const QList<CompareFlags> flags = comparison::compareRows({file("a", "  5", "2024-01-01")}, twice);
    EXPECT_TRUE(flags.at(0).found);
    EXPECT_TRUE(flags.at(0).sizeDiff);
    EXPECT_FALSE(flags.at(0).dateDiff);
}

TEST(Comparison, SizesCompareAsByteCountsAndFoldersByName)
{
    // The local pane writes an empty file "  0", the server pane "0".
    EXPECT_EQ(comparison::compareRows({file("empty", "  0", "2024-01-01")}, {file("empty", "0", "2024-01-01")})
                  .at(0).mark(),
              CompareMark::None);
    // Folders: no size or date locally, the server's own figures remotely.
    EXPECT_EQ(comparison::compareRows({folder("docs")}, {folder("docs", "4 096", "2024-01-01")}).at(0).mark(),
              CompareMark::None);
    // A folder on one side and a file on the other do differ.
    EXPECT_EQ(comparison::compareRows({folder("x")}, {file("x", "  5", "2024-01-01")}).at(0).mark(),
              CompareMark::SizeDiffers);
    // Texts that are no numbers are compared as texts.
    EXPECT_TRUE(comparison::compareRows({file("a", "?", "")}, {file("a", "??", "")}).at(0).sizeDiff);
}

// A size or a date the server did not give is an empty cell: it cannot be
// compared, so it neither differs nor hides a difference of the other column.
TEST(Comparison, WhatOneSideDoesNotKnowIsNeverADifference)
{
    const QList<CompareRow> local{
        file("nosize", "  5", "2024-01-01"), file("nodate", "  5", "2024-01-01"),
        file("nosize-olddate", "  5", "2024-01-01"), file("nodate-bigger", "  5", "2024-01-01"),
        file("nothing", "  5", "2024-01-01"),
    };
    const QList<CompareRow> server{
        file("nosize", "", "2024-01-01"), file("nodate", "  5", ""),
        file("nosize-olddate", "", "2020-01-01"), file("nodate-bigger", "  6", ""),
        file("nothing", "", ""),
    };
    const CompareResult r = comparison::CompareLists(local, server);
    const CompareMark expected[] = {CompareMark::None, CompareMark::None, CompareMark::DateDiffers,
                                    CompareMark::SizeDiffers, CompareMark::None};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(local.at(i).name.toStdString());
        EXPECT_EQ(r.local.at(i).mark(), expected[i]);
        EXPECT_EQ(r.server.at(i).mark(), expected[i]);
    }
}

TEST(Comparison, QueuedNamesAreNotAddedAgain)
{
    QueueModel queue;
    QueueRow row;
    row.name = QStringLiteral("queued.txt");
    queue.append(row);
    EXPECT_TRUE(comparison::IsQueued(queue, "queued.txt"));
    EXPECT_FALSE(comparison::IsQueued(queue, "Queued.txt"));

    const QList<CompareRow> local{file("queued.txt", "  1", "2024-01-01"), file("new.txt", "  1", "2024-01-01"),
                                  file("same.txt", "  1", "2024-01-01")};
    const QList<CompareRow> server{file("same.txt", "  1", "2024-01-01")};
    const CompareResult r = comparison::CompareLists(local, server);
    EXPECT_EQ(comparison::rowsToQueue(KeyMissing, local, r.local, queue), QList<int>{1});
    EXPECT_TRUE(comparison::rowsToQueue(KeySize, local, r.local, queue).isEmpty());
    EXPECT_TRUE(comparison::rowsToQueue("other", local, r.local, queue).isEmpty());
}

TEST(Comparison, DayTexts)
{
    const QDateTime when(QDate(2024, 3, 9), QTime(23, 59, 58), Qt::LocalTime);
    EXPECT_EQ(comparison::dayText(when), "2024-03-09");
    EXPECT_EQ(comparison::dayText(dateValueFromDateTime(when)), "2024-03-09");
    EXPECT_EQ(comparison::dayTextOfPaneDate(formatGeneralDate(when)), "2024-03-09");
    EXPECT_EQ(comparison::dayText(QDateTime()), "");
    EXPECT_EQ(comparison::dayTextOfPaneDate(""), "");
}

} // namespace
