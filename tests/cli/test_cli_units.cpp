// The session log's line rules, the splitting of typed commands and the
// command line's options.
#include "cli/CliOptions.h"
#include "cli/CommandLine.h"
#include "session/LogLines.h"
#include "session/SessionState.h"

#include <gtest/gtest.h>

namespace {

using Kind = LogLine::Kind;

class LogLines : public ::testing::Test {
protected:
    void SetUp() override { LanguageOffset = 1000; }
    void TearDown() override { resetSessionState(); }
    static QList<LogLine> lines(int state, const QString &message)
    {
        return logline::linesFor(state, message, "ftp.example.org", "joe");
    }
};

TEST_F(LogLines, MessagesAndReplies)
{
    EXPECT_EQ(lines(12, "550 No such file"), (QList<LogLine>{{" - 550 No such file", Kind::Reply, 100}}));
    // A text without CR LF is written whole, whatever it begins with.
    EXPECT_EQ(lines(12, "213 1234"), (QList<LogLine>{{" - 213 1234", Kind::Reply, 100}}));
    // The State does not matter once there is a message.
    EXPECT_EQ(lines(11, "hello"), (QList<LogLine>{{" - hello", Kind::Reply, 100}}));

    const QString reply = "230-Welcome\r\n213 99\r\n230 Logged in\r\n";
    EXPECT_EQ(lines(12, reply), (QList<LogLine>{{" - 230-Welcome", Kind::Reply, 200},
                                                {" - 230 Logged in", Kind::Reply, 200}}));
    // A lone size reply disappears; a short remainder is noise; a last line
    // without CR LF is written like the others.
    EXPECT_TRUE(lines(12, "213 5\r\n").isEmpty());
    EXPECT_EQ(lines(12, "250 ok\r\nab"), (QList<LogLine>{{" - 250 ok", Kind::Reply, 200}}));
    EXPECT_EQ(lines(12, "250 ok\r\n226 end"), (QList<LogLine>{{" - 250 ok", Kind::Reply, 200},
                                                              {" - 226 end", Kind::Reply, 200}}));
}

TEST_F(LogLines, StatusLinesAndTheFailureBlock)
{
    EXPECT_EQ(lines(0, ""), (QList<LogLine>{{"  Connection resolving host", Kind::Status, 0}}));
    EXPECT_EQ(lines(1, "").value(0).text, "  Connection host resolved - ftp.example.org");
    EXPECT_EQ(lines(2, "").value(0).text, "  ftp.example.org - Connection connected");
    EXPECT_EQ(lines(4, "").value(0).text, "  joe logged");
    EXPECT_EQ(lines(9, "").value(0).text, "  Transfer starting");
    EXPECT_EQ(lines(10, "").value(0).text, "  Transfer completed");
    EXPECT_EQ(lines(13, ""), (QList<LogLine>{{"  Action denied", Kind::Failure, 0}}));
    EXPECT_TRUE(lines(12, "").isEmpty());
    EXPECT_TRUE(lines(99, "").isEmpty());

    const QString rule(70, '-');
    EXPECT_EQ(lines(11, ""), (QList<LogLine>{{rule, Kind::Failure, 0},
                                             {"failed to Connected To ftp.example.org", Kind::Failure, 0},
                                             {rule, Kind::Failure, 0}}));
    LanguageOffset = 0;
    EXPECT_EQ(lines(0, "").value(0).text, "  Recherche serveur en cours");
    EXPECT_EQ(lines(11, "").value(1).text, QString::fromUtf8("échec de connexion à ftp.example.org"));
}

TEST_F(LogLines, KindsCarryTheLogColours)
{
    EXPECT_EQ(LogLine::rgb(Kind::Reply), 0x3A8727u);
    EXPECT_EQ(LogLine::rgb(Kind::Status), 0x3661A7u);
    EXPECT_EQ(LogLine::rgb(Kind::Failure), 0xD5552Bu);
    EXPECT_FALSE((LogLine{"", Kind::Reply, 0}).emphasised());
    EXPECT_TRUE((LogLine{"", Kind::Status, 0}).emphasised());
}

TEST(CommandSplitting, CommandsWordsQuotesAndComments)
{
    EXPECT_EQ(cli::splitCommands("open h; ls ;; pwd"), (QStringList{"open h", "ls", "pwd"}));
    EXPECT_EQ(cli::splitCommands("put \"a;b.txt\"; ls"), (QStringList{"put \"a;b.txt\"", "ls"}));
    EXPECT_EQ(cli::splitCommands("  # a comment; still the comment?"), QStringList{});
    EXPECT_EQ(cli::splitCommands("ls; # note; pwd"), QStringList{"ls"});

    QStringList words;
    QString error;
    ASSERT_TRUE(cli::splitWords("put  \"my file.txt\"\tb \"say \\\"hi\\\" \\\\\" \"\"", words, &error));
    EXPECT_EQ(words, (QStringList{"put", "my file.txt", "b", "say \"hi\" \\", ""}));
    EXPECT_FALSE(cli::splitWords("get \"open", words, &error));
    EXPECT_FALSE(error.isEmpty());

    EXPECT_TRUE(cli::hasLineBreak("quote NOOP\r\nDELE x"));
    EXPECT_TRUE(cli::hasLineBreak("a\nb"));
    EXPECT_FALSE(cli::hasLineBreak("ls"));
}

TEST(CommandSplitting, EchoHidesPasswords)
{
    EXPECT_EQ(cli::echoText({"open", "host", "21", "joe", "pw"}), "open host 21 joe ****");
    EXPECT_EQ(cli::echoText({"open", "host", "joe", "pw"}), "open host joe ****");
    EXPECT_EQ(cli::echoText({"open", "host", "joe"}), "open host joe");
    EXPECT_EQ(cli::echoText({"open", "My Site"}), "open \"My Site\"");
    EXPECT_EQ(cli::echoText({"site-add", "F", "S", "h", "21", "u", "pw", "/r"}), "site-add F S h 21 u **** /r");
    EXPECT_EQ(cli::echoText({"quote", "pass", "pw"}), "quote pass ****");
    EXPECT_EQ(cli::echoText({"quote", "PASS pw"}), "quote PASS ****");
    EXPECT_EQ(cli::echoText({"quote", "NOOP"}), "quote NOOP");
}

TEST(CommandSplitting, Ports)
{
    quint16 port = 0;
    EXPECT_TRUE(cli::parsePortText("21", port));
    EXPECT_EQ(port, 21);
    EXPECT_TRUE(cli::parsePortText("65535", port));
    for (const char *bad : {"0", "65536", "70000", "99999999999", "", "-1", "+21", "2 1"})
        EXPECT_FALSE(cli::parsePortText(bad, port)) << bad;
    EXPECT_TRUE(cli::looksLikePort("70000"));
    EXPECT_FALSE(cli::looksLikePort("joe"));
}

TEST(CliOptions, EveryOptionAndItsErrors)
{
    const cli::ParsedOptions all = cli::parseArguments(
        {"prog", "--data-dir", "/d", "--active", "--ascii", "--exists=skip", "--keep-going", "--lang", "en",
         "--timeout", "7", "script.txt"});
    ASSERT_TRUE(all.error.isEmpty()) << all.error.toStdString();
    EXPECT_EQ(all.options.dataDir, "/d");
    EXPECT_EQ(all.options.passive, false);
    EXPECT_EQ(all.options.binary, false);
    EXPECT_EQ(all.options.exists, cli::ExistsPolicy::Skip);
    EXPECT_TRUE(all.options.keepGoing);
    EXPECT_EQ(all.options.languageOffset, 1000);
    EXPECT_EQ(all.options.timeoutSeconds, 7);
    EXPECT_EQ(all.options.script, "script.txt");

    const cli::ParsedOptions none = cli::parseArguments({"prog", "-c", "ls; pwd"});
    EXPECT_TRUE(none.error.isEmpty());
    EXPECT_EQ(none.options.commands, QString("ls; pwd"));
    EXPECT_FALSE(none.options.passive.has_value());
    EXPECT_EQ(none.options.exists, cli::ExistsPolicy::Ask);
    EXPECT_EQ(none.options.timeoutSeconds, 30);

    for (const QStringList &bad : QList<QStringList>{{"prog", "--frobnicate"}, {"prog", "--exists", "maybe"},
                                                     {"prog", "--lang", "de"}, {"prog", "--timeout", "0"},
                                                     {"prog", "--timeout"}, {"prog", "-c", "ls", "script"},
                                                     {"prog", "a", "b"}})
        EXPECT_FALSE(cli::parseArguments(bad).error.isEmpty()) << bad.join(' ').toStdString();
}

} // namespace
