// The session log writer on its own: which lines a State and a message give,
// and the colour, emphasis and indent each line is written in.
#include "LogReader.h"
#include "mainwindow/SessionLog.h"
#include "session/SessionState.h"

#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

const QColor Green(58, 135, 39);
const QColor Blue(54, 97, 167);
const QColor OrangeRed(213, 85, 43);

class SessionLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSessionState();
        log.setNameSource([] { return QStringLiteral("ftp.example.org"); }, [] { return QStringLiteral("marie"); });
    }
    void TearDown() override { resetSessionState(); }

    QStringList texts() const { return writtenTexts(&edit); }
    QList<WrittenLine> lines() const { return writtenLines(&edit); }

    QTextEdit edit;
    SessionLog log{&edit};
};

TEST_F(SessionLogTest, ReplyIsSplitAtEveryCrLfAndWrittenGreenPlain)
{
    log.write(12, QStringLiteral("220-Welcome to the server\r\n220 Ready\r\n"));
    EXPECT_EQ(texts(), (QStringList{" - 220-Welcome to the server", " - 220 Ready"}));
    for (const WrittenLine &line : lines()) {
        EXPECT_EQ(line.colour, Green);
        EXPECT_FALSE(line.bold);
        EXPECT_DOUBLE_EQ(line.indent, log.twipsToPixels(200));
    }
}

TEST_F(SessionLogTest, SizeRepliesAndShortRemaindersAreLeftOut)
{
    log.write(12, QStringLiteral("213 1024\r\n200 Command okay\r\n213 5\r\nok"));
    EXPECT_EQ(texts(), QStringList{" - 200 Command okay"});

    edit.clear();
    log.write(12, QStringLiteral("213 77\r\n")); // a lone size reply: nothing
    EXPECT_TRUE(texts().isEmpty());

    // A last line without CR LF is written like the others.
    log.write(12, QStringLiteral("250 Done\r\nabc"));
    EXPECT_EQ(texts(), (QStringList{" - 250 Done", " - abc"}));
}

TEST_F(SessionLogTest, TextWithoutCrLfIsWrittenWholeWhateverItBeginsWith)
{
    log.write(12, QStringLiteral("213 not a reply line"));
    log.write(12, QStringLiteral("ab"));
    EXPECT_EQ(texts(), (QStringList{" - 213 not a reply line", " - ab"}));
    EXPECT_EQ(lines()[0].colour, Green);
    EXPECT_DOUBLE_EQ(lines()[0].indent, log.twipsToPixels(100));
}

TEST_F(SessionLogTest, MessageWinsOverTheStateItCameWith)
{
    log.write(11, QStringLiteral("530 Login incorrect.\r\n"));
    EXPECT_EQ(texts(), QStringList{" - 530 Login incorrect."});
}

TEST_F(SessionLogTest, StatusLinesAreBlueBoldWithTwoLeadingSpaces)
{
    log.write(0, QString());
    log.write(1, QString());
    log.write(2, QString());
    log.write(4, QString());
    log.write(10, QString());
    EXPECT_EQ(texts(), (QStringList{"  Recherche serveur en cours",
                                    "  Recherche du serveur Complété - ftp.example.org",
                                    "  ftp.example.org - Est connecté", "  marie Connecté",
                                    "  Transfert Terminé"}));
    for (const WrittenLine &line : lines()) {
        EXPECT_EQ(line.colour, Blue);
        EXPECT_TRUE(line.bold);
        EXPECT_DOUBLE_EQ(line.indent, 0.0);
    }
}

TEST_F(SessionLogTest, EmptyMessageOfState12OrUnknownStatesWritesNothing)
{
    log.write(12, QString());
    log.write(14, QString());
    log.write(-1, QString());
    EXPECT_TRUE(edit.toPlainText().isEmpty());
}

TEST_F(SessionLogTest, State13WritesActionDeniedInOrangeRedInTheCurrentLanguage)
{
    log.write(13, QString());
    LanguageOffset = 1000;
    log.write(13, QString());
    EXPECT_EQ(texts(), (QStringList{"  Opération refusée", "  Action denied"}));
    for (const WrittenLine &line : lines()) {
        EXPECT_EQ(line.colour, OrangeRed);
        EXPECT_TRUE(line.bold);
    }
}

TEST_F(SessionLogTest, FailureBlockNamesTheServerBetweenTwoRulesOfSeventyDashes)
{
    LanguageOffset = 1000;
    log.write(11, QString());
    const QString rule(70, QLatin1Char('-'));
    EXPECT_EQ(texts(), (QStringList{rule, "failed to Connected To ftp.example.org", rule}));
    for (const WrittenLine &line : lines()) {
        EXPECT_EQ(line.colour, OrangeRed);
        EXPECT_TRUE(line.bold);
    }
}

TEST_F(SessionLogTest, LinesFollowEachOtherAndClearEmptiesTheLog)
{
    log.write(0, QString());
    log.write(12, QStringLiteral("220 Hello\r\n"));
    log.write(12, QStringLiteral("message"));
    // Each line keeps its own kind: the colours do not run into each other.
    const QList<WrittenLine> written = lines();
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written[0].colour, Blue);
    EXPECT_EQ(written[1].colour, Green);
    EXPECT_DOUBLE_EQ(written[1].indent, log.twipsToPixels(200));
    EXPECT_DOUBLE_EQ(written[2].indent, log.twipsToPixels(100));
    log.clear();
    EXPECT_TRUE(edit.toPlainText().isEmpty());
}

TEST_F(SessionLogTest, TwipsAreInchesOver1440)
{
    EXPECT_DOUBLE_EQ(log.twipsToPixels(1440), double(edit.logicalDpiX()));
    EXPECT_DOUBLE_EQ(log.twipsToPixels(0), 0.0);
}

TEST_F(SessionLogTest, HeldLinesAreWrittenTogetherInOrderWithTheirLooks)
{
    log.write(12, QStringLiteral("first"));
    log.hold(true);
    log.write(12, QStringLiteral("second"));
    log.write(10, QString());
    EXPECT_EQ(texts(), QStringList{" - first"});
    log.flush();
    EXPECT_EQ(texts(), (QStringList{" - first", " - second", "  Transfert Terminé"}));
    EXPECT_EQ(lines()[2].colour, Blue);
    EXPECT_TRUE(lines()[2].bold);
    log.write(12, QStringLiteral("third"));
    log.clear(); // what was held goes too
    log.hold(false);
    EXPECT_TRUE(texts().isEmpty());
    log.write(12, QStringLiteral("fourth"));
    EXPECT_EQ(texts(), QStringList{" - fourth"});
}

} // namespace
