// Listing parser: numbered vectors of every family, each alone, all in one
// stream, each after a line of every other family, and with noise inserted.
#include "ParserVectors.h"

#include "platform/inet/Inet.h"

#include <QSet>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace inet;
using namespace parservectors;

namespace {

QDateTime now() { return QDateTime(QDate(2024, 6, 15), QTime(12, 0)); }

FileTime expectedTime(const Vector &v)
{
    if (!*v.time)
        return 0;
    const QString text = QString::fromLatin1(v.time);
    const QDateTime dt = QDateTime::fromString(text, text.size() > 19 ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                                                       : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (v.zone == Zone::Utc)
        return fileTimeFromDateTime(QDateTime(dt.date(), dt.time(), QTimeZone::utc()));
    return fileTimeFromDateTime(QDateTime(dt.date(), dt.time()).toUTC());
}

quint32 attributesOf(Kind kind)
{
    switch (kind) {
    case Kind::File: return FILE_ATTRIBUTE_NORMAL;
    case Kind::Folder: return FILE_ATTRIBUTE_DIRECTORY;
    case Kind::Link: return FILE_ATTRIBUTE_REPARSE_POINT;
    default: return 0;
    }
}

bool isEntry(const Vector &v) { return v.kind != Kind::Skipped && v.kind != Kind::Unread; }

// What one record must hold for vector v.
void expectRecord(const FindRecord &rec, const Vector &v)
{
    EXPECT_EQ(rec.name, QString::fromUtf8(v.name));
    EXPECT_EQ(rec.attributes, attributesOf(v.kind));
    EXPECT_EQ(rec.sizeKnown, v.size >= 0);
    if (v.size >= 0) {
        EXPECT_EQ(rec.size, v.size);
    }
    EXPECT_EQ(rec.sizeRough, v.rough);
    EXPECT_EQ(rec.timeKnown, *v.time != 0);
    EXPECT_EQ(rec.lastWriteTime, expectedTime(v));
    EXPECT_EQ(rec.linkTarget, QString::fromUtf8(v.target));
}

QByteArray stream(bool mlsd)
{
    QByteArray s;
    for (const Vector &v : kVectors)
        if (v.mlsd == mlsd)
            s += QByteArray(v.text) + "\r\n";
    return s;
}

std::vector<const Vector *> vectorsOf(bool mlsd, bool entriesOnly)
{
    std::vector<const Vector *> out;
    for (const Vector &v : kVectors)
        if (v.mlsd == mlsd && (!entriesOnly || isEntry(v)))
            out.push_back(&v);
    return out;
}

int unreadCount(bool mlsd)
{
    int n = 0;
    for (const Vector &v : kVectors)
        n += (v.mlsd == mlsd && v.kind == Kind::Unread) ? 1 : 0;
    return n;
}

} // namespace

TEST(ListParser, VectorsAreNumberedOnceAndCoverEveryFamily)
{
    QSet<int> ids;
    QSet<QString> families;
    for (const Vector &v : kVectors) {
        EXPECT_FALSE(ids.contains(v.id)) << v.id;
        ids.insert(v.id);
        families.insert(QString::fromLatin1(v.family));
    }
    EXPECT_EQ(families, (QSet<QString>{"unix", "dos", "mlsd", "eplf", "vms", "os2", "netware", "as400", "mvs",
                                       "mvs-member", "tandem", "os9", "nortel", "connect", "netpresenz", "vshell",
                                       "numeric", "garbage"}));
}

TEST(ListParser, EachVectorAlone)
{
    for (const Vector &v : kVectors) {
        SCOPED_TRACE(testing::Message() << "vector " << v.id << " (" << v.family << "): " << v.text);
        ListingSummary summary;
        const std::vector<FindRecord> records = parseListing(QByteArrayView(v.text), v.mlsd, now(), &summary);
        ASSERT_EQ(records.size(), isEntry(v) ? 1u : 0u);
        EXPECT_EQ(summary.unreadLines, v.kind == Kind::Unread ? 1 : 0);
        if (isEntry(v))
            expectRecord(records.front(), v);
    }
}

TEST(ListParser, AllVectorsAsOneStreamKeepOrder)
{
    for (bool mlsd : {false, true}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        ListingSummary summary;
        const std::vector<FindRecord> records = parseListing(stream(mlsd), mlsd, now(), &summary);
        const std::vector<const Vector *> entries = vectorsOf(mlsd, true);
        ASSERT_EQ(records.size(), entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "vector " << entries[i]->id);
            expectRecord(records[i], *entries[i]);
        }
        EXPECT_EQ(summary.unreadLines, unreadCount(mlsd));
    }
}

// The format of the line before is tried first: it must never take a line of
// another format for one of its own.
TEST(ListParser, EveryVectorAfterALineOfEveryFamily)
{
    std::vector<const Vector *> leaders;
    QSet<QString> seen;
    for (const Vector *v : vectorsOf(false, true)) {
        if (!seen.contains(QString::fromLatin1(v->family)) && !QByteArrayView(v->text).contains('\n')) {
            seen.insert(QString::fromLatin1(v->family));
            leaders.push_back(v);
        }
    }
    for (const Vector *leader : leaders) {
        for (const Vector *v : vectorsOf(false, false)) {
            SCOPED_TRACE(testing::Message() << "vector " << v->id << " after vector " << leader->id);
            const QByteArray text = QByteArray(leader->text) + "\r\n" + v->text;
            const std::vector<FindRecord> records = parseListing(text, false, now());
            ASSERT_EQ(records.size(), isEntry(*v) ? 2u : 1u);
            if (isEntry(*v))
                expectRecord(records[1], *v);
        }
    }
}

TEST(ListParser, FedLineByLineAsTheDataArrives)
{
    for (bool mlsd : {false, true}) {
        const QByteArray whole = stream(mlsd);
        ListingParser parser(now(), mlsd);
        std::vector<FindRecord> records;
        for (const QByteArray &line : whole.split('\n'))
            parser.addLines(line + '\n', records);
        parser.finish(records);
        const std::vector<FindRecord> expected = parseListing(whole, mlsd, now());
        ASSERT_EQ(records.size(), expected.size());
        for (size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i].name, expected[i].name);
    }
}

TEST(ListParser, BareLineFeedsAndCarriageReturnsSplitLines)
{
    const QByteArray data = "-rw-r--r-- 1 u g 1 Jan 1 2020 a\n-rw-r--r-- 1 u g 2 Jan 1 2020 b\r-rw-r--r-- 1 u g 3 Jan 1 2020 c";
    const auto records = parseListing(data, false, now());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].name, QStringLiteral("c"));
}

TEST(ListParser, LinesNotUnderstoodAreCountedAndTheFirstIsKeptShort)
{
    const QByteArray longLine = "?" + QByteArray(200, 'x');
    const QByteArray data = "-rw-r--r-- 1 u g 1 Jan 1 2020 a\r\n" + longLine + "\r\nsecond\tbad\x01line\r\n\r\ntotal 0\r\n";
    ListingSummary summary;
    const auto records = parseListing(data, false, now(), &summary);
    EXPECT_EQ(records.size(), 1u);
    EXPECT_EQ(summary.unreadLines, 2);
    EXPECT_EQ(summary.firstUnread, QString::fromLatin1(longLine.left(ListingSummary::kShownLength)) + QChar(0x2026));

    parseListing("weird\x01\xff line\r\n", false, now(), &summary);
    EXPECT_EQ(summary.firstUnread, QStringLiteral("weird?? line")); // no control characters, no raw bytes
}

// The "unique" facts that tell a link back up from a folder, as three
// servers give them: pure-ftpd and proftpd name the listed folder and its
// parent on cdir/pdir lines, pyftpdlib gives none; proftpd and pyftpdlib
// give a link the fact of the folder it leads to, pure-ftpd its own.
TEST(ListParser, UniqueFactsOfEntriesAndOfTheListedFolder)
{
    struct Case {
        const char *server;
        QByteArray answer;
        QByteArray folder, parent, self;
    };
    const Case cases[] = {
        {"pure-ftpd",
         "type=OS.unix=slink:;size=1;modify=20261207172456;unique=fe00g52c0fa; self\r\n"
         "type=cdir;sizd=4096;modify=20261207172456;unique=fe00g52c0f7; .\r\n"
         "type=pdir;sizd=4096;modify=20261207172456;unique=fe00g52a592; ..\r\n",
         "fe00g52c0f7", "fe00g52a592", "fe00g52c0fa"},
        {"proftpd",
         "modify=20261207172456;perm=flcdmpe;type=cdir;unique=FE00U52C0F2;UNIX.mode=0755; .\r\n"
         "modify=20261207172456;perm=adfrw;size=1;type=OS.unix=symlink;unique=FE00U52C0F2;UNIX.mode=0777; self\r\n"
         "modify=20261207172456;perm=flcdmpe;type=pdir;unique=FE00U52A516;UNIX.mode=0755; ..\r\n",
         "FE00U52C0F2", "FE00U52A516", "FE00U52C0F2"},
        {"pyftpdlib", "modify=20261207172456;perm=eldfmMTcp;size=4096;type=dir;unique=fe00g52c0fc; self\r\n", "", "",
         "fe00g52c0fc"},
    };
    for (const Case &c : cases) {
        ListingSummary summary;
        const auto records = parseListing(c.answer, true, now(), &summary);
        ASSERT_EQ(records.size(), 1u) << c.server; // cdir and pdir are no entries
        EXPECT_EQ(records[0].name, QStringLiteral("self")) << c.server;
        EXPECT_EQ(records[0].unique, c.self) << c.server;
        EXPECT_EQ(summary.folderUnique, c.folder) << c.server;
        EXPECT_EQ(summary.parentUnique, c.parent) << c.server;
    }
}

TEST(ListParser, SingleLineFunctionsAgreeWithTheListing)
{
    FindRecord rec;
    ASSERT_TRUE(parseListLine("drwxr-xr-x 2 u g 512 Jan 1 2020 dir\r\n", rec, now()));
    EXPECT_EQ(rec.name, QStringLiteral("dir"));
    EXPECT_FALSE(parseListLine("total 12", rec, now()));
    ASSERT_TRUE(parseMlsdLine("type=file;size=3; one file\r\n", rec));
    EXPECT_EQ(rec.name, QStringLiteral("one file"));
    EXPECT_FALSE(parseMlsdLine("type=cdir; /here", rec));
}

TEST(ListParser, NoiseAtEveryPositionNeverBreaksTheCleanLines)
{
    const char noise[] = {'\r', '\n', ' ', '\0'};
    for (bool mlsd : {false, true}) {
        const QByteArray clean = stream(mlsd);
        const int expected = int(vectorsOf(mlsd, true).size());
        for (qsizetype pos = 0; pos <= clean.size(); ++pos) {
            for (char c : noise) {
                QByteArray noisy = clean;
                noisy.insert(pos, c);
                const auto records = parseListing(noisy, mlsd, now());
                // The one line that was hit may be lost; every other one stays.
                ASSERT_GE(int(records.size()), expected - 1) << "noise " << int(c) << " at " << pos;
            }
        }
    }
}
