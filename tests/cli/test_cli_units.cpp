// The splitting of typed commands and the command line's options. The log's
// line rules are the main window's (tests/mainwindow); the program's own log
// is checked in test_cli_program.
#include "cli/CliOptions.h"
#include "cli/CommandLine.h"

#include <gtest/gtest.h>

namespace {

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

// The options the program's runs cannot see, and every kind of bad value.
TEST(CliOptions, ValuesDefaultsAndErrors)
{
    const cli::ParsedOptions set = cli::parseArguments({"prog", "--active", "--ascii", "--exists=skip", "script.txt"});
    ASSERT_TRUE(set.error.isEmpty()) << set.error.toStdString();
    EXPECT_EQ(set.options.passive, false);
    EXPECT_EQ(set.options.binary, false);
    EXPECT_EQ(set.options.exists, cli::ExistsPolicy::Skip);
    EXPECT_EQ(set.options.script, "script.txt");

    const cli::ParsedOptions none = cli::parseArguments({"prog", "-c", "ls; pwd"});
    EXPECT_TRUE(none.error.isEmpty());
    EXPECT_FALSE(none.options.passive.has_value());
    EXPECT_EQ(none.options.exists, cli::ExistsPolicy::Ask);
    EXPECT_EQ(none.options.timeoutSeconds, 30);
    EXPECT_FALSE(none.options.tls.has_value()); // the site's, else "auto"

    const std::pair<const char *, inet::TlsMode> modes[] = {{"auto", inet::TlsMode::IfOffered},
                                                            {"explicit", inet::TlsMode::Required},
                                                            {"implicit", inet::TlsMode::Implicit},
                                                            {"off", inet::TlsMode::Off}};
    for (const auto &[word, mode] : modes)
        EXPECT_EQ(cli::parseArguments({"prog", "--tls", word}).options.tls, mode) << word;
    const QByteArray sha256 = QByteArray::fromHex("00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff");
    for (const char *hex : {"00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff",
                            "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:00:11:22:33:44:55:66:77:88:99:aa:bb:cc:dd:ee:ff"}) {
        const cli::ParsedOptions pinned = cli::parseArguments({"prog", QStringLiteral("--fingerprint=%1").arg(hex)});
        ASSERT_TRUE(pinned.error.isEmpty()) << pinned.error.toStdString();
        EXPECT_EQ(pinned.options.fingerprint, sha256);
    }
    EXPECT_EQ(cli::parseArguments({"prog", "--ca-file", "ca.pem"}).options.caFile, "ca.pem");

    for (const QStringList &bad : QList<QStringList>{{"prog", "--lang", "de"}, {"prog", "--timeout", "0"},
                                                     {"prog", "--timeout"}, {"prog", "-c", "ls", "script"},
                                                     {"prog", "a", "b"}, {"prog", "--tls", "yes"}, {"prog", "--tls", ""},
                                                     {"prog", "--fingerprint", "0011"},
                                                     {"prog", "--fingerprint", QString(64, 'g')},
                                                     {"prog", "--fingerprint", QString(66, 'a')},
                                                     {"prog", "--ca-file"}})
        EXPECT_FALSE(cli::parseArguments(bad).error.isEmpty()) << bad.join(' ').toStdString();
}

} // namespace
