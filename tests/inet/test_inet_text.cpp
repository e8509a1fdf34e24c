// Name encoding, wildcards, file times and error texts.
#include "platform/inet/Inet.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace inet;

TEST(InetNames, EveryByteSequenceRoundTripsByteForByte)
{
    const QByteArray valid = "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80.txt";
    EXPECT_EQ(decodeName(valid), QString::fromUtf8(valid));
    const QByteArray cases[] = {
        valid, "\xff", "a\x80z", "\xc3", "\xe0\x80\x80", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xc0\xaf", "x\xe6\x97",
    };
    for (const QByteArray &bytes : cases) {
        const QString name = decodeName(bytes);
        EXPECT_EQ(encodeName(name), bytes) << bytes.toHex().constData();
        EXPECT_FALSE(name.contains(QChar(0xFFFD)));
    }
    // A lone surrogate typed by the user is not sent as garbage.
    QString s = QStringLiteral("a");
    s.append(QChar(0xD800));
    EXPECT_EQ(encodeName(s), QByteArray("a?"));
}

TEST(InetPatterns, WildcardsMatchNames)
{
    const struct { const char *name, *pattern; bool match; } cases[] = {
        {"anything", "*.*", true}, {"anything", "*", true}, {"anything", "", true},
        {"report.txt", "*.txt", true}, {"report.txt", "*.doc", false}, {"a1.txt", "a?.txt", true},
        {"a12.txt", "a?.txt", false}, {"abcabc", "*bc*c", true},
        {"Report.txt", "report*", false}, // case matters on FTP servers
    };
    for (const auto &c : cases)
        EXPECT_EQ(matchesPattern(c.name, c.pattern), c.match) << c.name << " " << c.pattern;
}

TEST(InetFileTime, ConvertsBothWays)
{
    const QDateTime epoch(QDate(1970, 1, 1), QTime(0, 0), QTimeZone::utc());
    EXPECT_EQ(fileTimeFromDateTime(epoch), 116444736000000000ULL);
    const QDateTime t(QDate(2021, 3, 4), QTime(5, 6, 7), QTimeZone::utc());
    EXPECT_EQ(dateTimeFromFileTime(fileTimeFromDateTime(t)), t);
    EXPECT_EQ(fileTimeFromDateTime(QDateTime()), 0u);
}

TEST(InetMessages, OurTableInBothLanguages)
{
    const quint32 codes[] = {ErrorNoMoreFiles, ErrorInvalidPort, ErrorLineBreak, ErrorLocalFile, ErrorTimeout,
                             ErrorExtended, ErrorInternal, ErrorInvalidUrl, ErrorNameNotResolved,
                             ErrorIncorrectUserName, ErrorIncorrectPassword, ErrorLoginFailure,
                             ErrorIncorrectHandleState, ErrorCannotConnect, ErrorConnectionAborted,
                             ErrorConnectionReset, ErrorTransferInProgress, ErrorFtpDropped, ErrorHttpStatus};
    for (quint32 code : codes) {
        const QString en = formatMessage(code, QString(), false);
        const QString fr = formatMessage(code, QStringLiteral("wininet.dll"), true);
        EXPECT_TRUE(en.endsWith(QLatin1String("\r\n")) && en.size() > 4) << code;
        EXPECT_TRUE(fr.endsWith(QLatin1String("\r\n"))) << code;
        EXPECT_NE(en, fr) << code;
    }
    EXPECT_EQ(formatMessage(12002, "", false), QStringLiteral("The operation timed out.\r\n"));
}

TEST(InetMessages, SystemTextsFromKernel32AndNoneForUnknownCodesOrModules)
{
    const QString success = formatMessage(0, "kernel32", false);
    EXPECT_TRUE(success.endsWith(QLatin1String("\r\n")) && success.size() > 2);
    EXPECT_FALSE(formatMessage(2, "kernel32", false).isEmpty()); // ENOENT
    EXPECT_EQ(formatMessage(99999, "kernel32", false), QString());
    EXPECT_EQ(formatMessage(12000, "", false), QString());
    EXPECT_EQ(formatMessage(5, "wininet.dll", false), QString());
    EXPECT_EQ(formatMessage(12002, "nosuch.dll", false), QString());
}

TEST(InetOnline, LoopbackCounts)
{
    EXPECT_TRUE(isOnline());
}
