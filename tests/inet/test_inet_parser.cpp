// Listing parser: numbered vectors, alone, as one stream, and with noise.
#include "platform/inet/Inet.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace inet;

namespace {

enum class Zone { Local, Utc };

struct Vector {
    int id;
    const char *line;
    bool mlsd;
    bool entry;          // parses to an entry
    quint32 attributes;
    qint64 size;
    const char *name;
    const char *time;    // "yyyy-MM-dd HH:mm:ss", "" for none
    Zone zone;
};

constexpr quint32 D = FILE_ATTRIBUTE_DIRECTORY;
constexpr quint32 F = FILE_ATTRIBUTE_NORMAL;
constexpr Zone L = Zone::Local;
constexpr Zone U = Zone::Utc;

// "now" for every vector: 2024-06-15 12:00 local time.
const Vector kVectors[] = {
    // Unix
    {1, "drwxr-xr-x   2 user group  4096 Jan  1 12:00 folder", false, true, D, 4096, "folder", "2024-01-01 12:00:00", L},
    {2, "-rw-r--r--   1 user group  1234 Mar 10  2020 file.txt", false, true, F, 1234, "file.txt", "2020-03-10 00:00:00", L},
    {3, "-rw-r--r--   1 user  1234 Mar 10  2020 nogroup.txt", false, true, F, 1234, "nogroup.txt", "2020-03-10 00:00:00", L},
    {4, "lrwxrwxrwx   1 user group     7 Feb  3 09:30 link -> target", false, true, 0, 7, "link", "2024-02-03 09:30:00", L},
    {5, "-rw-r--r--   1 user group     5 2023-11-05 14:22 iso.txt", false, true, F, 5, "iso.txt", "2023-11-05 14:22:00", L},
    {6, "crw-rw-rw-   1 root root   1,   3 Jan  5 10:00 null", false, true, F, 0, "null", "2024-01-05 10:00:00", L},
    {7, "brw-rw----   1 root disk   8,   0 Jan  5  2019 sda", false, true, F, 0, "sda", "2019-01-05 00:00:00", L},
    {8, "-rw-r--r--   1 user group 5368709120 Dec 31 23:59 big.iso", false, true, F, 5368709120LL, "big.iso", "2023-12-31 23:59:00", L},
    {9, "-rw-r--r--   1 user group    10 Jun 16 08:00 tomorrow.txt", false, true, F, 10, "tomorrow.txt", "2024-06-16 08:00:00", L},
    {10, "-rw-r--r--   1 user group    10 Jul 20 08:00 lastyear.txt", false, true, F, 10, "lastyear.txt", "2023-07-20 08:00:00", L},
    {11, "drwxr-xr-x   2 user group  4096 Jan  1 12:00 name with  spaces", false, true, D, 4096, "name with  spaces", "2024-01-01 12:00:00", L},
    {12, "-rw-r--r--+  1 user group    12 Jan  1  2021 acl.txt", false, true, F, 12, "acl.txt", "2021-01-01 00:00:00", L},
    {13, "total 48", false, false, 0, 0, "", "", L},
    {14, "drwxr-xr-x   2 0 0  4096 Jan  1 12:00 .", false, true, D, 4096, ".", "2024-01-01 12:00:00", L},
    {15, "drwxr-xr-x   2 0 0  4096 Jan  1 12:00 ..", false, true, D, 4096, "..", "2024-01-01 12:00:00", L},
    {16, "-rwxr-xr-x 1 ftp ftp 100 Apr 30 2019 Exec", false, true, F, 100, "Exec", "2019-04-30 00:00:00", L},
    {17, "-rw-r--r--   1 jan  staff   99 Jan  2  2022 owner-named-jan", false, true, F, 99, "owner-named-jan", "2022-01-02 00:00:00", L},
    {18, "lrwxrwxrwx   1 u g  4 Jan  1  2020 a -> b -> c", false, true, 0, 4, "a", "2020-01-01 00:00:00", L},
    {19, "prw-r--r-- 1 u g 0 Jan 1 2020 fifo", false, true, F, 0, "fifo", "2020-01-01 00:00:00", L},
    {20, "-rw-r--r-- 1 user group 100 Feb 29 10:00 leap.txt", false, true, F, 100, "leap.txt", "2024-02-29 10:00:00", L},
    {21, "-rw-r--r-- 1 user group 123 2020-01-02 03:04:05 isosec.txt", false, true, F, 123, "isosec.txt", "2020-01-02 03:04:05", L},
    {22, "-rw-r--r-- 1 user group 7 Jan 1 12:00 a -> b", false, true, F, 7, "a -> b", "2024-01-01 12:00:00", L},
    {23, "-rw-r--r-- 1 user group 7 Jan 1 12:00 caf\xc3\xa9.txt", false, true, F, 7, "caf\xc3\xa9.txt", "2024-01-01 12:00:00", L},
    {24, "-rw-r--r-- 1 user group xx Jan 1 12:00 bad-size", false, false, 0, 0, "", "", L},
    // DOS / IIS
    {25, "01-15-20  03:04PM       <DIR>          Folder", false, true, D, 0, "Folder", "2020-01-15 15:04:00", L},
    {26, "01-15-20  03:04AM              1234 file.txt", false, true, F, 1234, "file.txt", "2020-01-15 03:04:00", L},
    {27, "12-31-2019  11:59PM         1,234,567 big file.zip", false, true, F, 1234567, "big file.zip", "2019-12-31 23:59:00", L},
    {28, "2020-01-15  15:04       <DIR>          Dir24", false, true, D, 0, "Dir24", "2020-01-15 15:04:00", L},
    {29, "01-15-20  12:00AM  10 midnight.txt", false, true, F, 10, "midnight.txt", "2020-01-15 00:00:00", L},
    {30, "01-15-20  12:30PM  10 noon.txt", false, true, F, 10, "noon.txt", "2020-01-15 12:30:00", L},
    {31, "04-27-00  09:09PM       <DIR>          licensed", false, true, D, 0, "licensed", "2000-04-27 21:09:00", L},
    {32, "01-15-20  15:04  1.234.567 dots.txt", false, true, F, 1234567, "dots.txt", "2020-01-15 15:04:00", L},
    {33, "15.01.2020  15:04  123 euro.txt", false, true, F, 123, "euro.txt", "2020-01-15 15:04:00", L},
    {34, "01/15/2020 03:04 PM 5 slash.txt", false, true, F, 5, "slash.txt", "2020-01-15 15:04:00", L},
    {35, "10-10-99  01:00AM  42 old.txt", false, true, F, 42, "old.txt", "1999-10-10 01:00:00", L},
    {36, "01-15-20  13:04PM  42 bad-clock.txt", false, false, 0, 0, "", "", L},
    // MLSD
    {37, "type=file;size=123;modify=20200101120000; file.txt", true, true, F, 123, "file.txt", "2020-01-01 12:00:00", U},
    {38, "Type=DIR;Modify=20200102030405;UNIX.mode=0755; Folder", true, true, D, 0, "Folder", "2020-01-02 03:04:05", U},
    {39, "type=cdir;modify=20200101120000; .", true, false, 0, 0, "", "", U},
    {40, "type=pdir;modify=20200101120000; ..", true, false, 0, 0, "", "", U},
    {41, "type=file;size=5; name with spaces.txt", true, true, F, 5, "name with spaces.txt", "", U},
    {42, "type=OS.unix=symlink;size=10; link", true, true, 0, 10, "link", "", U},
    {43, "type=OS.unix=slink:/target;size=10; slink", true, true, 0, 10, "slink", "", U},
    {44, "TYPE=FILE;SIZE=5368709120;MODIFY=20200101120000.123; upper.bin", true, true, F, 5368709120LL, "upper.bin", "2020-01-01 12:00:00", U},
    {45, "size=7; untyped", true, true, 0, 7, "untyped", "", U},
    {46, "type=file;size=1;  leading space", true, true, F, 1, " leading space", "", U},
    {47, "garbage-without-facts name", true, false, 0, 0, "", "", U},
    {48, "type=CDir; current", true, false, 0, 0, "", "", U},
    // EPLF
    {49, "+i8388621.29609,m824255902,/,\tdev", false, true, D, 0, "dev", "1996-02-13 23:58:22", U},
    {50, "+i8388621.44468,m839956783,r,s10376,\tRFCEPLF", false, true, F, 10376, "RFCEPLF", "1996-08-13 17:19:43", U},
    {51, "+r,s0,\tempty", false, true, F, 0, "empty", "", U},
    // garbage
    {52, "", false, false, 0, 0, "", "", L},
    {53, "hello world", false, false, 0, 0, "", "", L},
    {54, "550 No files found", false, false, 0, 0, "", "", L},
};

QDateTime now() { return QDateTime(QDate(2024, 6, 15), QTime(12, 0)); }

FileTime expectedTime(const Vector &v)
{
    if (!*v.time)
        return 0;
    const QDateTime dt = QDateTime::fromString(QString::fromLatin1(v.time), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (v.zone == Zone::Utc)
        return fileTimeFromDateTime(QDateTime(dt.date(), dt.time(), QTimeZone::utc()));
    return fileTimeFromDateTime(QDateTime(dt.date(), dt.time()).toUTC());
}

bool parseOne(const Vector &v, FindRecord &rec)
{
    return v.mlsd ? parseMlsdLine(QByteArrayView(v.line), rec) : parseListLine(QByteArrayView(v.line), rec, now());
}

QByteArray stream(bool mlsd)
{
    QByteArray s;
    for (const Vector &v : kVectors) {
        if (v.mlsd == mlsd)
            s += QByteArray(v.line) + "\r\n";
    }
    return s;
}

int entryCount(bool mlsd)
{
    int n = 0;
    for (const Vector &v : kVectors)
        n += (v.mlsd == mlsd && v.entry) ? 1 : 0;
    return n;
}

} // namespace

TEST(ListParser, EachVectorAlone)
{
    for (const Vector &v : kVectors) {
        SCOPED_TRACE(testing::Message() << "vector " << v.id << ": " << v.line);
        FindRecord rec;
        const bool ok = parseOne(v, rec);
        ASSERT_EQ(ok, v.entry);
        if (!ok)
            continue;
        EXPECT_EQ(rec.name, QString::fromUtf8(v.name));
        EXPECT_EQ(rec.attributes, v.attributes);
        EXPECT_EQ(rec.size, v.size);
        EXPECT_EQ(rec.lastWriteTime, expectedTime(v));
    }
}

TEST(ListParser, AllVectorsAsOneStreamKeepOrder)
{
    for (bool mlsd : {false, true}) {
        const std::vector<FindRecord> records = parseListing(stream(mlsd), mlsd, now());
        ASSERT_EQ(int(records.size()), entryCount(mlsd));
        size_t i = 0;
        for (const Vector &v : kVectors) {
            if (v.mlsd != mlsd || !v.entry)
                continue;
            EXPECT_EQ(records[i].name, QString::fromUtf8(v.name)) << "vector " << v.id;
            EXPECT_EQ(records[i].size, v.size) << "vector " << v.id;
            ++i;
        }
    }
}

TEST(ListParser, BareLineFeedsAndCarriageReturnsSplitLines)
{
    const QByteArray data = "-rw-r--r-- 1 u g 1 Jan 1 2020 a\n-rw-r--r-- 1 u g 2 Jan 1 2020 b\r-rw-r--r-- 1 u g 3 Jan 1 2020 c";
    const auto records = parseListing(data, false, now());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].name, QStringLiteral("c"));
}

TEST(ListParser, NoiseAtEveryPositionNeverBreaksTheCleanLines)
{
    const char noise[] = {'\r', '\n', ' ', '\0'};
    for (bool mlsd : {false, true}) {
        const QByteArray clean = stream(mlsd);
        const int expected = entryCount(mlsd);
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
