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

TEST_F(SessionLogTest, EachStateAndMessageGivesItsLinesInTheirLooks)
{
    const QString rule(70, QLatin1Char('-'));
    const struct {
        int state;
        QString message;
        QStringList texts;
        QColor colour;
        bool bold;
        int indentTwips;
    } cases[] = {
        // A reply is split at every CR LF; size replies ("213") and remainders
        // shorter than three characters are left out, a last line without CR LF kept.
        {12, "220-Welcome to the server\r\n220 Ready\r\n", {" - 220-Welcome to the server", " - 220 Ready"}, Green, false, 200},
        {12, "213 1024\r\n200 Command okay\r\n213 5\r\nok", {" - 200 Command okay"}, Green, false, 200},
        {12, "213 77\r\n", {}, Green, false, 200},
        {12, "250 Done\r\nabc", {" - 250 Done", " - abc"}, Green, false, 200},
        // Text without CR LF is written whole, whatever it begins with.
        {12, "213 not a reply line", {" - 213 not a reply line"}, Green, false, 100},
        {12, "ab", {" - ab"}, Green, false, 100},
        // A message wins over the State it came with.
        {11, "530 Login incorrect.\r\n", {" - 530 Login incorrect."}, Green, false, 200},
        // Status lines: blue, bold, two leading spaces.
        {0, "", {"  Recherche serveur en cours"}, Blue, true, 0},
        {1, "", {"  Recherche du serveur Complété - ftp.example.org"}, Blue, true, 0},
        {2, "", {"  ftp.example.org - Est connecté"}, Blue, true, 0},
        {4, "", {"  marie Connecté"}, Blue, true, 0},
        {10, "", {"  Transfert Terminé"}, Blue, true, 0},
        {13, "", {"  Opération refusée"}, OrangeRed, true, 0},
        {11, "", {rule, "échec de connexion à ftp.example.org", rule}, OrangeRed, true, 0},
        // No message with State 12, or an unknown State: nothing.
        {12, "", {}, Green, false, 0},
        {14, "", {}, Green, false, 0},
        {-1, "", {}, Green, false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.state).arg(c.message).toStdString());
        log.clear();
        log.write(c.state, c.message);
        EXPECT_EQ(texts(), c.texts);
        for (const WrittenLine &line : lines()) {
            EXPECT_EQ(line.colour, c.colour);
            EXPECT_EQ(line.bold, c.bold);
            EXPECT_DOUBLE_EQ(line.indent, log.twipsToPixels(c.indentTwips));
        }
    }
    EXPECT_DOUBLE_EQ(log.twipsToPixels(1440), double(edit.logicalDpiX()));
}

TEST_F(SessionLogTest, LinesKeepTheirOwnLooksAndHeldLinesAreWrittenTogetherInOrder)
{
    log.write(0, QString());
    log.write(12, QStringLiteral("220 Hello\r\n"));
    log.hold(true);
    log.write(12, QStringLiteral("second"));
    log.write(10, QString());
    EXPECT_EQ(texts(), (QStringList{"  Recherche serveur en cours", " - 220 Hello"}));
    log.flush();
    EXPECT_EQ(texts().mid(2), (QStringList{" - second", "  Transfert Terminé"}));
    // Each line in its own looks, whatever the line before it.
    const QList<WrittenLine> written = lines();
    ASSERT_EQ(written.size(), 4);
    const struct { QColor colour; bool bold; int indentTwips; } looks[] = {
        {Blue, true, 0}, {Green, false, 200}, {Green, false, 100}, {Blue, true, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(written[i].colour, looks[i].colour) << i;
        EXPECT_EQ(written[i].bold, looks[i].bold) << i;
        EXPECT_DOUBLE_EQ(written[i].indent, log.twipsToPixels(looks[i].indentTwips)) << i;
    }
    log.write(12, QStringLiteral("third"));
    log.clear(); // what was held goes too
    log.hold(false);
    EXPECT_TRUE(edit.toPlainText().isEmpty());
    log.write(12, QStringLiteral("fourth"));
    EXPECT_EQ(texts(), QStringList{" - fourth"});
}

} // namespace
