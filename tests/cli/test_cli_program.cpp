// tarvoftp-cli as a user runs it: commands, scripts, exit statuses and the
// session log, against a real FTP server.
#include "CliFixture.h"

#include <QRegularExpression>
#include <QTcpServer>

#include <algorithm>
#include <cstdio>

namespace {

using testfiles::randomBytes;

// The table row of `name` in an ls or lls output, its spaces simplified.
QString rowOf(const QString &output, const QString &name)
{
    for (const QString &line : output.split('\n'))
        if (line.startsWith(name + ' '))
            return line.simplified();
    return QString();
}

TEST_F(CliProgram, ConnectsAndLogsAsTheWindowDoes)
{
    const CliRun r = session("pwd");
    ASSERT_EQ(r.status, 0) << r;
    EXPECT_EQ(r.out, "/\n");
    EXPECT_TRUE(r.err.contains("tarvoftp> open 127.0.0.1 " + QString::number(server->port()) + " tester ****\n")) << r;
    // The default mode asks for TLS first; this server does not offer it.
    EXPECT_TRUE(r.err.contains("  Connection resolving host\n - Warning: the server does not offer TLS; the connection "
                               "is not encrypted, the password and the files travel in clear.\n"
                               " - 220 Tarvo test server ready.\n - 230 ")) << r;
    EXPECT_TRUE(r.err.contains("  Connection host resolved - 127.0.0.1\n")) << r;
    EXPECT_FALSE(r.err.contains('\x1b')) << "colours are for terminals only";

    // Anonymous without a user; a wrong password shows the failure block.
    EXPECT_EQ(run({"-c", QStringLiteral("open 127.0.0.1 %1; pwd").arg(server->port())}).status, 0);
    const CliRun refused = run({"-c", QStringLiteral("open 127.0.0.1 %1 tester Wrong-Pw-123; pwd").arg(server->port())});
    EXPECT_EQ(refused.status, 1) << refused;
    const QString rule(70, '-');
    EXPECT_TRUE(refused.err.contains(rule + "\nfailed to Connected To 127.0.0.1\n" + rule + "\n")) << refused;
    EXPECT_TRUE(refused.err.contains(" - 530 ")) << refused;
    EXPECT_FALSE(refused.err.contains("Wrong-Pw-123")) << refused;
    EXPECT_FALSE(refused.err.contains("tarvoftp> pwd")) << "the script must stop at the failure";
}

TEST_F(CliProgram, TimeoutOptionBoundsEveryWait)
{
    // A server that takes the connection and never greets.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const CliRun r = run({"--timeout", "1", "-c", QStringLiteral("open 127.0.0.1 %1").arg(silent.serverPort())});
    EXPECT_EQ(r.status, 1) << r;
    EXPECT_TRUE(r.err.contains("failed to Connected To 127.0.0.1\n")) << r;
    EXPECT_TRUE(r.err.contains("tarvoftp-cli: open: The operation timed out.")) << r;
}

TEST_F(CliProgram, CloseReopenAndQuit)
{
    server->writeFile("a.txt", "a");
    const CliRun r = session("get -q a.txt; " + openCommand() + "; queue; close; lpwd; pwd");
    EXPECT_EQ(r.status, 1) << r;
    // A new connection starts with an empty queue, as after a disconnect.
    EXPECT_TRUE(r.out.startsWith("The are no files in queue.\n" + local.path() + "\n")) << r;
    EXPECT_TRUE(r.err.contains("tarvoftp-cli: pwd: You are not connected to a server")) << r;

    const CliRun quit = run({"-c", "lpwd; quit; lpwd"});
    EXPECT_EQ(quit.status, 0) << quit;
    EXPECT_EQ(quit.out, local.path() + "\n") << "quit must end the run";
}

TEST_F(CliProgram, TransferTypeAndModeFromTheSiteOrTheOptions)
{
    server->writeFile("lines.txt", "one\ntwo\n");
    writeFile(data.filePath("TypeFtp.tf"), "1|Sites|\r\n");
    // ASCII transfers ("2") in active mode ("1").
    writeFile(data.filePath("ftp.tf"), "1|Text|127.0.0.1|" + QByteArray::number(server->port()) + "|tester|"
                                          + storedPassword() + "|2|1||1|\r\n");
    ASSERT_EQ(run({"-c", "open Text; get lines.txt"}).status, 0);
    EXPECT_EQ(readFile(local.filePath("lines.txt")), "one\r\ntwo\r\n");
    // An option given on the command line wins over the site.
    ASSERT_EQ(run({"--binary", "--passive", "--exists", "overwrite", "-c", "open Text; get lines.txt"}).status, 0);
    EXPECT_EQ(readFile(local.filePath("lines.txt")), "one\ntwo\n");
}

TEST_F(CliProgram, RemoteCommands)
{
    server->writeFile("a.txt", "hello\n");
    server->writeFile("empty.dat", "");
    server->makeDir("docs");
    const CliRun r = session("ls; mkdir made; cd made; pwd; cd ..; rename a.txt b.txt; size b.txt; "
                             "chmod 600 b.txt; quote NOOP; quote SYST; rm empty.dat; rmdir docs; ls b*");
    ASSERT_EQ(r.status, 0) << r;
    const QStringList out = r.out.split('\n');
    // ls: name, size, type and date as the server pane shows them.
    const auto row = [&](const QString &name) { return rowOf(r.out, name); };
    EXPECT_TRUE(row("a.txt").startsWith("a.txt 6 .txt ")) << r;
    EXPECT_TRUE(row("empty.dat").startsWith("empty.dat 0 .dat ")) << r;
    EXPECT_TRUE(row("docs").contains(" <Folder> ")) << r;
    for (const char *said : {"Directory  made was successfully created.\n", "/made\n", "File was successfully renamed\n",
                             "\n6\n", "200 SITE CHMOD successful.", "215 UNIX Type: L8",
                             "empty.dat: File was successfully deleted", "The folder was successfully deleted"})
        EXPECT_TRUE(r.out.contains(said)) << said << "\n" << r;
    EXPECT_TRUE(out.last().isEmpty() && out.at(out.size() - 2).startsWith("b.txt ")) << r;

    // What each did on the server is the session suite's; the mode is checked
    // here and in the permissions dialog's suite.
    EXPECT_EQ(QFileInfo(server->path("b.txt")).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

    // Failures say why, with the server's reply.
    const CliRun missing = session("size nothing.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("tarvoftp-cli: size: no such file or folder on the server: nothing.txt")) << missing;
    const CliRun cd = session("cd nowhere");
    EXPECT_EQ(cd.status, 1);
    EXPECT_TRUE(cd.err.contains("tarvoftp-cli: cd: 550 ")) << cd;
    const CliRun notConnected = run({"-c", "pwd"});
    EXPECT_EQ(notConnected.status, 1);
    EXPECT_TRUE(notConnected.err.contains("You are not connected to a server")) << notConnected;
}

TEST_F(CliProgram, LocalCommands)
{
    writeFile(local.filePath("sub/inner.txt"), "12345");
    writeFile(local.filePath("top.bin"), "");
    const CliRun r = run({"-c", "lpwd; lls; lcd sub; lpwd; lls; lcd ~; lpwd"});
    ASSERT_EQ(r.status, 0) << r;
    const QStringList out = r.out.split('\n');
    ASSERT_GE(out.size(), 6) << r;
    EXPECT_EQ(out.at(0), local.path());
    EXPECT_EQ(out.at(1).simplified(), "sub <Folder>");
    EXPECT_TRUE(out.at(2).simplified().startsWith("top.bin 0 .bin ")) << r;
    EXPECT_EQ(out.at(3), local.filePath("sub"));
    EXPECT_TRUE(out.at(4).simplified().startsWith("inner.txt 5 .txt ")) << r;
    EXPECT_EQ(out.at(5), QDir::homePath());

    const CliRun bad = run({"-c", "lcd nowhere"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains("not a local folder: " + local.filePath("nowhere"))) << bad;
}

TEST_F(CliProgram, FolderRoundTripByteForByte)
{
    // Names with spaces, an empty file, folders three levels deep.
    writeFile(local.filePath("tree/a b.txt"), "with a space\r\n");
    writeFile(local.filePath("tree/empty"), "");
    writeFile(local.filePath("tree/one/big.bin"), randomBytes(300 * 1024 + 7, 1));
    writeFile(local.filePath("tree/one/two/deep.dat"), randomBytes(4097, 2));
    writeFile(local.filePath("single.txt"), "single\n");
    const CliRun up = session("mkdir up; cd up; put tree single.txt; ls");
    ASSERT_EQ(up.status, 0) << up;
    EXPECT_EQ(treeOf(server->path("up/tree")), treeOf(local.filePath("tree")));
    EXPECT_EQ(server->readFile("up/single.txt"), "single\n");
    EXPECT_TRUE(up.err.contains("  Transfer completed\n")) << up;
    // The run leaves the server folder where the command started.
    EXPECT_TRUE(up.out.contains("single.txt")) << up;

    QTemporaryDir back;
    const CliRun down = run({"-c", openCommand() + "; cd up; lcd " + back.path() + "; get tree \"single.txt\"; pwd; lpwd"});
    ASSERT_EQ(down.status, 0) << down;
    EXPECT_EQ(treeOf(back.filePath("tree")), treeOf(local.filePath("tree")));
    EXPECT_EQ(readFile(back.filePath("single.txt")), "single\n");
    EXPECT_TRUE(down.out.endsWith("/up\n" + back.path() + "\n")) << down;
}

TEST_F(CliProgram, WildcardsAndQuotedNames)
{
    server->writeFile("x1.txt", "1");
    server->writeFile("x2.txt", "22");
    server->writeFile("y.log", "3");
    writeFile(local.filePath("my notes;v2.txt"), "notes");
    const CliRun r = session("get x*.txt; put \"my notes;v2.txt\"");
    ASSERT_EQ(r.status, 0) << r;
    EXPECT_EQ(readFile(local.filePath("x1.txt")), "1");
    EXPECT_EQ(readFile(local.filePath("x2.txt")), "22");
    EXPECT_FALSE(QFileInfo::exists(local.filePath("y.log")));
    EXPECT_EQ(server->readFile("my notes;v2.txt"), "notes");
}

TEST_F(CliProgram, QueueRunAndClear)
{
    server->writeFile("a.txt", "aaa");
    server->writeFile("b.txt", "bbbb");
    const CliRun r = session("get -q a.txt; queue; clear; queue; get -q b.txt; queue; run; queue; run");
    ASSERT_EQ(r.status, 0) << r;
    const QStringList out = r.out.split('\n');
    ASSERT_GE(out.size(), 5) << r;
    EXPECT_TRUE(out.at(0).simplified().startsWith("a.txt 3 Download / -> " + local.path())) << r;
    EXPECT_EQ(out.at(1), "The are no files in queue.");
    EXPECT_TRUE(out.at(2).simplified().startsWith("b.txt 4 Download")) << r;
    EXPECT_EQ(out.at(3), "The are no files in queue.");
    EXPECT_EQ(out.at(4), "The are no files in queue.");
    EXPECT_FALSE(QFileInfo::exists(local.filePath("a.txt")));
    EXPECT_EQ(readFile(local.filePath("b.txt")), "bbbb");
}

TEST_F(CliProgram, FailingLineStopsTheScriptUnlessKeepGoing)
{
    server->writeFile("ok.txt", "ok");
    const QString script = local.filePath("job.txt");
    writeFile(script, (openCommand() + "\r\n# a comment\r\nget ok.txt\r\nget missing.txt\r\nmkdir after\r\n").toUtf8());

    const CliRun stop = run({script});
    EXPECT_EQ(stop.status, 1) << stop;
    EXPECT_TRUE(stop.err.contains("tarvoftp-cli: get: no such file or folder on the server: missing.txt")) << stop;
    EXPECT_EQ(readFile(local.filePath("ok.txt")), "ok");
    EXPECT_FALSE(QFileInfo::exists(server->path("after")));
    EXPECT_FALSE(stop.err.contains("tarvoftp> mkdir")) << stop;

    const CliRun keepGoing = run({"--keep-going", script});
    EXPECT_EQ(keepGoing.status, 1) << keepGoing;
    EXPECT_TRUE(QFileInfo(server->path("after")).isDir());

    // The same commands from standard input.
    server->clearRoot();
    const CliRun input = run({}, (openCommand() + "\nmkdir piped\n").toUtf8());
    EXPECT_EQ(input.status, 0) << input;
    EXPECT_TRUE(QFileInfo(server->path("piped")).isDir());
}

TEST_F(CliProgram, FailedTransfersFailTheCommand)
{
    // A download that cannot be written: a local folder stands in the way.
    server->writeFile("blocked.txt", "data");
    server->writeFile("later.txt", "later");
    QDir().mkpath(local.filePath("blocked.txt"));
    const CliRun down = session("get blocked.txt later.txt; lpwd", {"--exists", "overwrite", "--parallel", "1"});
    EXPECT_EQ(down.status, 1) << down;
    EXPECT_TRUE(down.err.contains("file(s) left in the queue")) << down;
    EXPECT_FALSE(QFileInfo::exists(local.filePath("later.txt")));

    // An upload the server refuses: a folder has that name there.
    server->makeDir("taken");
    writeFile(local.filePath("taken"), "file");
    writeFile(local.filePath("fine.txt"), "fine");
    const CliRun up = session("put taken fine.txt; queue");
    EXPECT_EQ(up.status, 1) << up;
    EXPECT_TRUE(up.err.contains("tarvoftp-cli: put: ")) << up;
    // The runner goes on after a refused upload, as the desktop does.
    EXPECT_EQ(server->readFile("fine.txt"), "fine");

    // A file whose name is not UTF-8 cannot be sent under its name: it is
    // named as left out, never lost in silence.
    QDir().mkpath(local.filePath("odd"));
    writeFile(local.filePath("odd/plain.txt"), "plain");
    const QByteArray rawPath = QFile::encodeName(local.filePath("odd")) + "/caf\xe9.txt";
    FILE *odd = std::fopen(rawPath.constData(), "w");
    ASSERT_TRUE(odd);
    std::fclose(odd);
    const CliRun folder = session("put odd");
    EXPECT_EQ(folder.status, 1) << folder;
    EXPECT_TRUE(folder.err.contains("Local file name is not UTF-8, skipped:")) << folder;
    EXPECT_EQ(server->readFile("odd/plain.txt"), "plain");
}

// Each choice of --exists, both ways; how the engine resumes, retries and
// probes is the transfer suites'.
TEST_F(CliProgram, ExistsPolicies)
{
    server->writeFile("a.txt", "server");
    writeFile(local.filePath("a.txt"), "local");
    const struct { const char *command; QStringList options; int status; const char *localNow, *serverNow; } cases[] = {
        {"get a.txt", {"--exists", "skip"}, 0, "local", "server"},
        {"put a.txt", {"--exists", "skip"}, 0, "local", "server"},
        {"get a.txt", {"--exists", "cancel"}, 1, "local", "server"},
        {"put a.txt", {"--exists", "cancel"}, 1, "local", "server"},
        {"get a.txt", {}, 1, "local", "server"}, // without a terminal, ask means cancel
        {"get a.txt", {"--exists", "resume"}, 0, "localr", "server"}, // the smaller file continued
        {"get a.txt", {"--exists", "overwrite"}, 0, "server", "server"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command + (" " + c.options.join(' ')).toStdString());
        const CliRun r = session(c.command, c.options);
        EXPECT_EQ(r.status, c.status) << r;
        EXPECT_EQ(r.err.contains("transfer cancelled: a.txt"), c.status == 1) << r;
        EXPECT_EQ(readFile(local.filePath("a.txt")), c.localNow);
        EXPECT_EQ(server->readFile("a.txt"), c.serverNow);
    }
}

TEST_F(CliProgram, OpenSiteFromTheAddressBook)
{
    server->writeFile("pub/readme.txt", "read me");
    const QString siteLocal = local.filePath("site-local");
    // The address book as the site manager writes it: Windows-1252, CR LF,
    // the password hex-encoded twice; passive mode, binary transfers.
    writeFile(data.filePath("TypeFtp.tf"), "3|Work|\r\n");
    writeFile(data.filePath("ftp.tf"),
             "7|Test site|127.0.0.1|" + QByteArray::number(server->port()) + "|tester|" + storedPassword()
                 + "|1|2|/pub|3|" + siteLocal.toUtf8() + "\r\n");
    const CliRun r = run({"-c", "sites; open \"Test site\"; pwd; lpwd; get readme.txt"});
    ASSERT_EQ(r.status, 0) << r;
    EXPECT_TRUE(r.out.startsWith("Work\n    Test site  (127.0.0.1:" + QString::number(server->port()) + ")\n")) << r;
    EXPECT_TRUE(r.out.contains("/pub\n" + siteLocal + "\n")) << r;
    EXPECT_EQ(readFile(siteLocal + "/readme.txt"), "read me");

    // site-add writes a site the address book reads back.
    const CliRun added = run({"--active", "-c", QStringLiteral("site-add Demo \"My server\" 127.0.0.1 %1 tester %2 /pub; sites; open \"My server\"; pwd")
                                                 .arg(server->port())
                                                 .arg(QString::fromLatin1(Password))});
    ASSERT_EQ(added.status, 0) << added;
    EXPECT_TRUE(added.out.contains("Demo\n    My server  (127.0.0.1:")) << added;
    EXPECT_TRUE(added.out.endsWith("/pub\n")) << added;
    const QByteArray sites = readFile(data.filePath("ftp.tf"));
    EXPECT_TRUE(sites.contains("|My server|127.0.0.1|" + QByteArray::number(server->port()) + "|tester|"
                               + storedPassword() + "|1|1|/pub|4|\r\n"))
        << sites.toStdString();
    EXPECT_TRUE(readFile(data.filePath("TypeFtp.tf")).endsWith("4|Demo|\r\n"));
}

TEST_F(CliProgram, CompareMarksMissingSizeAndDate)
{
    server->writeFile("same.txt", "same");
    server->writeFile("sized.txt", "server size");
    server->writeFile("dated.txt", "four");
    server->writeFile("server-only.txt", "x");
    writeFile(local.filePath("same.txt"), "same");
    writeFile(local.filePath("sized.txt"), "local");
    writeFile(local.filePath("dated.txt"), "FOUR");
    writeFile(local.filePath("local-only.txt"), "y");
    QFile dated(local.filePath("dated.txt"));
    ASSERT_TRUE(dated.open(QIODevice::ReadWrite));
    ASSERT_TRUE(dated.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5)), QFileDevice::FileModificationTime));
    dated.close();

    const CliRun r = session("compare");
    ASSERT_EQ(r.status, 0) << r;
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.simplified();
    // Each side in its pane's order: the server's own order is its choice.
    std::sort(lines.begin() + 3, lines.end());
    EXPECT_EQ(lines, (QStringList{"Local Date dated.txt", "Local Missing local-only.txt", "Local Size sized.txt",
                                  "Remote Date dated.txt", "Remote Missing server-only.txt", "Remote Size sized.txt"}))
        << r;
}

TEST_F(CliProgram, BadInputIsRefusedWithStatusTwo)
{
    const struct { QStringList args; QString error; } cases[] = {
        {{"-c", "frobnicate"}, "unknown command: frobnicate"},
        {{"-c", "cd"}, "missing argument; usage: cd DIR"},
        {{"-c", "rename a"}, "missing argument; usage: rename OLD NEW"},
        {{"-c", "pwd extra"}, "too many arguments; usage: pwd"},
        {{"-c", "quote NOOP\r\nDELE x"}, "A command cannot hold a line break; it was not sent."},
        {{"-c", "open 127.0.0.1 70000"}, "The port must be a whole number from 1 to 65535: 70000"},
        {{"-c", "get \"open"}, "unterminated quote"},
        {{"-c", "chmod rwx a"}, "not a mode (three octal digits): rwx"},
        {{"-c", "put \"\""}, "empty name; missing argument; usage: put [-q] NAME..."},
        {{"--exists", "maybe"}, "bad value for --exists: maybe"},
        {{"--frobnicate"}, "unknown option: --frobnicate"},
        {{"--retries", "11", "-c", "lpwd"}, "--retries"},
        {{"--tls", "sometimes"}, "--tls"},
        {{"--ca-file", "none.pem", "-c", "lpwd"}, "no readable (PEM) certificate in none.pem"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 2) << r;
        EXPECT_TRUE(r.err.contains(c.error)) << r;
    }
    // A line break never reaches the server, even after a good login.
    server->writeFile("x", "keep");
    const CliRun r = session("quote NOOP\nDELE x");
    EXPECT_EQ(r.status, 2) << r;
    EXPECT_EQ(server->readFile("x"), "keep");
    // In a script: the bad line ends the run like any failure.
    writeFile(local.filePath("bad.txt"), "lpwd\nnope\nlpwd\n");
    const CliRun script = run({local.filePath("bad.txt")});
    EXPECT_EQ(script.status, 2) << script;
    EXPECT_EQ(script.out.count('\n'), 1) << script;
}

// The fixture checks every run's output for the password; these are the
// runs that hold it: a raw PASS command and a password from the environment.
TEST_F(CliProgram, PasswordsNeverShown)
{
    const CliRun r = session("quote PASS " + QString::fromLatin1(Password), {"--keep-going"});
    EXPECT_TRUE(r.err.contains("tarvoftp> quote PASS ****")) << r;
    const CliRun env = run({"-c", QStringLiteral("open 127.0.0.1 %1 tester; pwd").arg(server->port())}, {},
                           QString::fromLatin1(Password));
    EXPECT_EQ(env.status, 0) << env;
    EXPECT_EQ(env.out, "/\n") << env;
}

// A server answering LIST with the lines of its folder's .listing file: ls
// --tsv gives raw values, empty where the server gave none, and the lines no
// format reads are told on standard error (the formats are the parser's suite's).
TEST_F(CliProgram, LsTsvGivesRawValuesAndSaysWhatItCouldNotRead)
{
    FtpServerOptions listOnly;
    listOnly.mlsd = false;
    listOnly.password = QString::fromLatin1(Password);
    FtpServer other(listOnly);
    ASSERT_TRUE(other.isRunning()) << other.errorText().toStdString();
    other.writeFile("odd/.listing",
                    "-rw-r--r-- 1 u g 1234 Jan 5 2020 with  spaces.txt\r\n"
                    "lrwxrwxrwx 1 u g 7 Feb 3 2021 link -> target dir\r\n"
                    "-rw-r--r-- 1 u g 531 undated\r\n"
                    "-rw-r--r-- 1 u g 1.2M Jan 5 2020 rough.bin\r\n"
                    "garbage line here\r\n"
                    "-rw-r--r-- 1 u g 3 Jan 5 2020 tab\there\r\n");
    const QString open = openOn(other) + "; cd odd; ";
    const QString expected = "1234\t2020-01-05T00:00:00\tf\twith  spaces.txt\n"
                             "7\t2021-02-03T00:00:00\tl\tlink\ttarget dir\n"
                             "531\t\tf\tundated\n"
                             "\t2020-01-05T00:00:00\tf\trough.bin\n"
                             "3\t2020-01-05T00:00:00\tf\ttab\\there\n";
    const QString notice = "1 listing line was not understood: \"garbage line here\"";
    for (const QStringList &args : {QStringList{"-c", open + "ls --tsv"}, QStringList{"--tsv", "-c", open + "ls"}}) {
        const CliRun r = run(args);
        ASSERT_EQ(r.status, 0) << r;
        EXPECT_EQ(r.out, expected) << r;
        EXPECT_EQ(r.err.count(notice), 1) << r;
    }
    // The table leaves the unknown cells empty and names the link's kind.
    const CliRun table = run({"-c", open + "ls"});
    ASSERT_EQ(table.status, 0) << table;
    EXPECT_EQ(rowOf(table.out, "undated"), "undated 531") << table;
    EXPECT_TRUE(rowOf(table.out, "link").startsWith("link 7 <Link> ")) << table;
    EXPECT_EQ(table.err.count(notice), 1) << table;

    const CliRun bad = run({"-c", open + "ls --tsv a b"});
    EXPECT_EQ(bad.status, 2) << bad;
}

TEST_F(CliProgram, HelpVersionAndFrench)
{
    const CliRun command = run({"-c", "help"});
    EXPECT_EQ(command.status, 0) << command;
    EXPECT_TRUE(command.out.contains("compare the local and the server folder")) << command;
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("adds the rows to the queue,\n                                  then runs the queue")) << help;
    EXPECT_TRUE(help.out.contains("--exists ask|overwrite|skip|cancel")) << help;
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(QRegularExpression("^tarvoftp-cli \\d+\\.\\d+\\.\\d+\n$").match(version.out).hasMatch()) << version;

    const CliRun french = run({"--lang", "fr", "-c", "pwd"});
    EXPECT_EQ(french.status, 1);
    EXPECT_TRUE(french.err.contains(QString::fromUtf8("Vous n'êtes pas connecté à un serveur"))) << french;
}

} // namespace
