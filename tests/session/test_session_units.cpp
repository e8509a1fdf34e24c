// The session's pieces that need no server: the entry collection, dates and
// the composition of error texts.
#include "session/SessionState.h"
#include "session/cdEnum.h"
#include "session/clsFTPClient.h"

#include "SessionWait.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <ctime>

TEST(cdEnum, NamesAreExactALookupFallsBackToLetterCaseOnlyWithoutAnExactMatch)
{
    cdEnum list;
    const qint64 fiveGiB = 5LL * 1024 * 1024 * 1024;
    list.Add(inet::FILE_ATTRIBUTE_NORMAL, 0, 0, 0, fiveGiB, "Makefile");
    list.Add(inet::FILE_ATTRIBUTE_NORMAL, 0, 0, 0, 20, "makefile");
    list.Add(inet::FILE_ATTRIBUTE_NORMAL, 0, 0, 0, 30, "makefile"); // an exact duplicate
    list.Add(inet::FILE_ATTRIBUTE_DIRECTORY, 0, 0, 0, 0, "src");
    list.Add(inet::FILE_ATTRIBUTE_REPARSE_POINT, 0, 0, 0, 0, "link");
    list.Add(0, 0, 0, 0, 0, "what");
    list.Add(inet::FILE_ATTRIBUTE_READONLY | inet::FILE_ATTRIBUTE_HIDDEN | inet::FILE_ATTRIBUTE_NORMAL,
             0, 0, 0, 0, "file");
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.Item(1)->Filename, "Makefile");
    EXPECT_EQ(list.Item(2)->Filename, "makefile");
    EXPECT_EQ(list.Item("Makefile")->FileSize, fiveGiB); // beyond four gigabytes, whole
    EXPECT_EQ(list.Item("makefile")->FileSize, 20);
    // No exact match: the first entry that differs only in letter case.
    EXPECT_EQ(list.Item("MAKEFILE")->Filename, "Makefile");
    EXPECT_EQ(list.Item("SRC")->Filename, "src");
    list.Add(inet::FILE_ATTRIBUTE_NORMAL, 0, 0, 0, 1, "MAKEFILE");
    EXPECT_EQ(list.Item("MAKEFILE")->FileSize, 1); // now there is one
    EXPECT_TRUE(list.Item(3)->Directory);
    EXPECT_EQ(list.Item(0), nullptr);
    EXPECT_EQ(list.Item(8), nullptr);
    EXPECT_EQ(list.Item("nothing"), nullptr);
    // A link and an entry of no kind: the server tells what they are.
    EXPECT_TRUE(list.Item("link")->isLink);
    EXPECT_FALSE(list.Item("link")->AttNothing || list.Item("link")->Directory);
    EXPECT_TRUE(list.Item("what")->AttNothing);
    EXPECT_TRUE(list.Item("link")->kindFromServer() && list.Item("what")->kindFromServer());
    EXPECT_FALSE(list.Item("src")->kindFromServer() || list.Item("file")->kindFromServer());
    const cDItemAttribute *f = list.Item("file");
    EXPECT_TRUE(f->ReadOnly && f->Hidden && f->Normal);
    EXPECT_FALSE(f->AttNothing || f->System || f->Directory);
}

TEST(Dates, FileTimesBecomeLocalDateValues)
{
    // 2000-01-01 00:00 UTC is 36526 days after 1899-12-30 (tests run with TZ=UTC).
    const QDateTime utc(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    EXPECT_NEAR(FileTimeToDate(inet::fileTimeFromDateTime(utc)), 36526.0, 1e-6);
    // Noon adds half a day.
    EXPECT_NEAR(FileTimeToDate(inet::fileTimeFromDateTime(utc.addSecs(12 * 3600))), 36526.5, 1e-6);
    // An all-zero file time is a date in 1601, not an error.
    const QDateTime zero = dateTimeFromDateValue(FileTimeToDate(0));
    EXPECT_EQ(zero.date().year(), 1601);
    EXPECT_NEAR(FileTimeToDate(0), -109205.0, 1.0);
}

// The per-hour offsets must agree with the system's own conversion, also
// around daylight-saving changes.
TEST(Dates, FileTimesFollowTheLocalZoneAcrossDaylightSaving)
{
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "Europe/Paris");
    tzset();
    const QDateTime start(QDate(2024, 3, 30), QTime(22, 0), Qt::UTC);
    for (int minutes = 0; minutes < 6 * 60; minutes += 17) {
        const QDateTime utc = start.addSecs(minutes * 60);
        EXPECT_NEAR(FileTimeToDate(inet::fileTimeFromDateTime(utc)), dateValueFromDateTime(utc.toLocalTime()), 1e-7)
            << utc.toString(Qt::ISODate).toStdString();
    }
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    tzset();
}

TEST(Dates, GeneralTextRoundTrips)
{
    const QDateTime t(QDate(2024, 3, 5), QTime(14, 22, 10), Qt::LocalTime);
    const QString text = formatGeneralDate(dateValueFromDateTime(t));
    EXPECT_TRUE(text.contains("14:22:10")) << text.toStdString();
    EXPECT_EQ(parseGeneralDate(text), t);
    const QDateTime midnight(QDate(2024, 3, 5), QTime(0, 0), Qt::LocalTime);
    EXPECT_FALSE(formatGeneralDate(midnight).contains(':'));
    EXPECT_EQ(parseGeneralDate(formatGeneralDate(midnight)), midnight);
}

class ErrorTexts : public ::testing::Test {
protected:
    void SetUp() override { resetSessionState(); }
    clsFTPClient ftp;
};

// The texts of a failure as the worker's result carries it: the server's own
// words for internet codes, our text for our own codes (never a stale
// reply), the system's for a local file, and nothing for an unknown code.
TEST_F(ErrorTexts, ServersReplyFirstOwnTextsFollowTheLanguageUnknownCodesGiveNothing)
{
    ftp.ErrorOut(4242, "X", "");
    EXPECT_EQ(sLastError, "");

    ftp::Result r;
    r.outcome = ftp::Outcome::Failed;
    r.response = "550 No such file.\r\n";
    for (quint32 code : {quint32(inet::ErrorExtended), quint32(inet::ErrorTimeout)}) {
        r.error = code;
        EXPECT_EQ(r.errorText(true), "550 No such file.\r\n") << code;
    }
    r.response.clear();
    EXPECT_FALSE(r.errorText(true).isEmpty());
    EXPECT_FALSE(r.errorText(true).endsWith("\r\n"));

    r.response = "220 stale greeting\r\n";
    r.error = inet::ErrorInvalidPort;
    EXPECT_FALSE(r.errorText(false).isEmpty());
    EXPECT_NE(r.errorText(false), r.errorText(true));
    EXPECT_FALSE(r.errorText(true).contains("stale"));

    r.error = inet::ErrorLocalFile;
    r.systemError = ENOSPC;
    EXPECT_EQ(r.errorText(false), QString::fromLocal8Bit(strerror(ENOSPC)));
}

TEST_F(ErrorTexts, BadPortsAndMissingConnectionsFailQuietlyWithAText)
{
    for (const char *port : {"0", "70000", "21a", "-5", "+21", "abc"}) {
        const ftp::Result r = testwait::result(
            [&](clsFTPClient::Done d) { ftp.OpenConnection("127.0.0.1", port, "u", "p", 0, d); });
        EXPECT_FALSE(r.ok()) << port;
        EXPECT_FALSE(sLastError.isEmpty()) << port;
        EXPECT_EQ(hConnection, nullptr);
    }
    EXPECT_EQ(ftp.GetFTPDirectory(), "");
    EXPECT_FALSE(testwait::result([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("/x", d); }).ok());
    EXPECT_FALSE(testwait::result([&](clsFTPClient::Done d) { ftp.GetDirectoryListing("*.*", d); }).ok());
    EXPECT_EQ(ftp.Directory().Count(), 0);
    testwait::result([&](clsFTPClient::Done d) { ftp.SetCHMOD("SITE CHMOD 644 a", QString(), false, d); });
    EXPECT_EQ(sCommandResponse, sLastError);
    EXPECT_TRUE(bActivity);
}
