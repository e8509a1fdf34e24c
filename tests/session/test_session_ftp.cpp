// The session object against a real FTP server, in passive and in active mode,
// with MLSD and with LIST only.
#include "FtpServer.h"
#include "ScriptedPrompt.h"
#include "SessionWait.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"

#include <QDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class RecordingHost : public NullSessionHost {
public:
    void setKeepAliveEnabled(bool) override { ++keepAliveCalls; }
    void logState(int, const QString &message) override { logged << message; }
    QStringList logged;
    int keepAliveCalls = 0;
};

struct Mode {
    bool passive;
    bool mlsd;
};

class SessionFtp : public ::testing::TestWithParam<Mode> {
protected:
    static void SetUpTestSuite()
    {
        mlsdServer = std::make_unique<FtpServer>();
        FtpServerOptions listOnly;
        listOnly.mlsd = false;
        listServer = std::make_unique<FtpServer>(listOnly);
    }
    static void TearDownTestSuite()
    {
        mlsdServer.reset();
        listServer.reset();
    }

    void SetUp() override
    {
        resetSessionState();
        ASSERT_TRUE(server().isRunning()) << server().errorText().toStdString();
        server().clearRoot();
        ftp.setHost(&host);
        ftp.setTimeouts({5000, 5000, 5000});
    }
    void TearDown() override { resetSessionState(); }

    FtpServer &server() { return GetParam().mlsd ? *mlsdServer : *listServer; }
    qint64 mode() const { return GetParam().passive ? 0x08000000 : 0; }

    // Each member's result, waited for.
    using Start = std::function<void(clsFTPClient::Done)>;
    ftp::Result result(const Start &start) { return testwait::result(start); }
    bool ok(const Start &start) { return result(start).ok(); }

    bool connect(const QString &password = QString())
    {
        return open(server().host(), QString::number(server().port()), server().user(),
                    password.isNull() ? server().password() : password)
            .ok();
    }
    ftp::Result open(const QString &host, const QString &port, const QString &user, const QString &password)
    {
        return result([&](clsFTPClient::Done d) { ftp.OpenConnection(host, port, user, password, mode(), d); });
    }

    // The names of a listing, without the "." and ".." some servers add.
    QStringList list(const QString &pattern = QStringLiteral("*.*"))
    {
        QStringList out;
        result([&](clsFTPClient::Done d) { ftp.GetDirectoryListing(pattern, d); });
        for (const cDItemAttribute &e : ftp.Directory())
            out << e.Filename;
        out.removeAll(QStringLiteral("."));
        out.removeAll(QStringLiteral(".."));
        return out;
    }
    qint64 size(const QString &name)
    {
        const ftp::Result r = result([&](clsFTPClient::Done d) { ftp.GetFTPFileSize(name, d); });
        return r.ok() ? r.size : -2;
    }
    void raw(const QString &line) { result([&](clsFTPClient::Done d) { ftp.SetCHMOD(line, QString(), false, d); }); }

    static inline std::unique_ptr<FtpServer> mlsdServer;
    static inline std::unique_ptr<FtpServer> listServer;
    RecordingHost host;
    ScriptedPrompt prompt;
    clsFTPClient ftp;
};

// Logging in, the keep-alive timer and closing are the connection window
// suite's, through the window; every test here starts by logging in.

// A failed reconnect also drops the old connection, and leaves the keep-alive
// timer as it was.
TEST_P(SessionFtp, FailedConnectionsSayWhyAndDropTheOldOne)
{
    ASSERT_TRUE(connect());
    host.keepAliveCalls = 0;
    const ftp::Result refused = open(server().host(), QString::number(server().port()), server().user(), "wrong");
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.error, quint32(inet::ErrorIncorrectPassword));
    EXPECT_TRUE(sLastError.startsWith("530")) << sLastError.toStdString();
    EXPECT_EQ(hConnection, nullptr);

    const struct { const char *host, *port; quint32 error; } cases[] = {
        {"127.0.0.1", "1", inet::ErrorCannotConnect},
        {"no-such-host.invalid", "21", inet::ErrorNameNotResolved},
    };
    for (const auto &c : cases) {
        const ftp::Result r = open(c.host, c.port, "u", "p");
        EXPECT_FALSE(r.ok()) << c.host;
        EXPECT_EQ(r.error, c.error) << c.host;
        EXPECT_FALSE(sLastError.isEmpty()) << c.host;
    }
    EXPECT_EQ(hConnection, nullptr);

    // Closing while not connected clears the handle and nothing else.
    bConnected = true;
    ftp.CloseConnection();
    EXPECT_TRUE(bConnected);
    EXPECT_EQ(host.keepAliveCalls, 0);
}

TEST_P(SessionFtp, ListsEmptyOneAndManyEntriesPatternsAndNamesDifferingInCase)
{
    ASSERT_TRUE(connect());
    const QString before = sLastError;
    EXPECT_TRUE(list().isEmpty()); // empty folder: nothing, no error text
    EXPECT_EQ(sLastError, before);
    EXPECT_EQ(ftp.Directory().Count(), 0);

    server().writeFile("one.txt", "12345");
    EXPECT_EQ(list(), QStringList{"one.txt"});
    EXPECT_EQ(ftp.Directory().Item("ONE.TXT")->FileSize, 5);
    EXPECT_TRUE(ftp.Directory().Item("one.txt")->Normal);
    EXPECT_TRUE(bActivity);
    EXPECT_EQ(size("one.txt"), 5);
    EXPECT_EQ(size("absent.bin"), -1);

    for (int i = 0; i < 300; ++i)
        server().writeFile(QString("f%1.dat").arg(i, 3, 10, QChar('0')), QByteArray(i, 'x'));
    server().writeFile("sub folder/inner.txt", "in");
    EXPECT_EQ(list().size(), 302);
    EXPECT_EQ(ftp.Directory().Item("f299.dat")->FileSize, 299);
    EXPECT_EQ(list("f10?.dat").size(), 10);
    // A pattern's folder is listed; a plain name is that one entry, never
    // the content of a folder of that name.
    EXPECT_EQ(list("sub folder/*.txt"), QStringList{"inner.txt"});
    EXPECT_EQ(list("/sub folder/inner.txt"), QStringList{"inner.txt"});
    ASSERT_EQ(list("sub folder"), QStringList{"sub folder"});
    EXPECT_TRUE(ftp.Directory().Item("sub folder")->Directory);
    EXPECT_TRUE(list("missing.txt").isEmpty());
    EXPECT_EQ(sLastError, before);

    // Names differing only in case are two entries, each found by its name.
    server().clearRoot();
    server().writeFile("Makefile", "a");
    server().writeFile("makefile", "bb");
    QStringList cased = list();
    cased.sort();
    EXPECT_EQ(cased, (QStringList{"Makefile", "makefile"}));
    EXPECT_EQ(ftp.Directory().Item("Makefile")->FileSize, 1);
    EXPECT_EQ(ftp.Directory().Item("makefile")->FileSize, 2);
    EXPECT_EQ(size("Makefile"), 1);
    EXPECT_EQ(size("makefile"), 2);
}

// A server whose lines we cannot read must not look like an empty folder:
// the log says how many lines were lost and shows the first. What a line
// leaves out (a size, a date) stays unknown.
TEST_P(SessionFtp, LinesNoFormatReadsAreToldInTheLogOncePerListing)
{
    if (GetParam().mlsd)
        GTEST_SKIP() << "canned listings answer LIST";
    QStringList &logged = host.logged;
    ASSERT_TRUE(connect());
    server().writeFile("mixed/.listing",
                       "-rw-r--r-- 1 u g 5 Jan 1 2020 good.txt\r\n"
                       "this is nothing\r\n"
                       "drwxrwxr-x               folder        2 May 10  1996 Mac Folder\r\n"
                       "neither is this\r\n"
                       "-rw-r--r-- 1 u g 531 undated.txt\r\n");
    server().writeFile("lost/.listing", "?? what ??\r\n");
    ASSERT_TRUE(ok([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("mixed", d); }));
    logged.clear();
    EXPECT_EQ(list(), (QStringList{"good.txt", "Mac Folder", "undated.txt"}));
    EXPECT_EQ(ftp.listingSummary().unreadLines, 2);
    EXPECT_EQ(logged, QStringList{"2 " + LangStr(872) + "\"this is nothing\""});
    const cDItemAttribute *folder = ftp.Directory().Item("Mac Folder");
    EXPECT_TRUE(folder->Directory && !folder->sizeKnown && folder->timeKnown);
    const cDItemAttribute *undated = ftp.Directory().Item("undated.txt");
    EXPECT_TRUE(undated->sizeKnown && !undated->timeKnown);
    EXPECT_EQ(undated->FileSize, 531);

    // Nothing readable at all: no entry, no error, but not in silence.
    ASSERT_TRUE(ok([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("/lost", d); }));
    logged.clear();
    const QString before = sLastError;
    EXPECT_TRUE(list().isEmpty());
    EXPECT_EQ(sLastError, before);
    EXPECT_EQ(logged, QStringList{"1 " + LangStr(871) + "\"?? what ??\""});

    // A listing read whole says nothing.
    ASSERT_TRUE(ok([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("/", d); }));
    logged.clear();
    list();
    EXPECT_EQ(ftp.listingSummary().unreadLines, 0);
    EXPECT_TRUE(logged.isEmpty()) << logged.join('|').toStdString();
}

TEST_P(SessionFtp, NamesWithSpacesAndNonAsciiSurviveListingAndRemoteOperations)
{
    const QString accented = QString::fromUtf8("été à l'ombre.txt");
    server().writeFile(accented, "x");
    server().writeFile("with  two spaces.txt", "x");
    ASSERT_TRUE(connect());
    EXPECT_EQ(list().size(), 2);
    ASSERT_NE(ftp.Directory().Item(accented), nullptr);
    ASSERT_NE(ftp.Directory().Item("with  two spaces.txt"), nullptr);
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.RenameFTPFile(accented, QString::fromUtf8("Ærø.txt"), d); }));
    EXPECT_TRUE(QFile::exists(server().path(QString::fromUtf8("Ærø.txt"))));
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.DeleteFTPFile(QString::fromUtf8("Ærø.txt"), d); }));
    EXPECT_FALSE(QFile::exists(server().path(QString::fromUtf8("Ærø.txt"))));
}

TEST_P(SessionFtp, CreatesEntersRemovesRenamesAndCreatesMissingFoldersWhenAsked)
{
    ASSERT_TRUE(connect());
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.CreateFTPDirectory("made", d); }));
    EXPECT_TRUE(QDir(server().path("made")).exists());
    EXPECT_FALSE(sLastResponse.isEmpty());
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("made", d); }));
    EXPECT_EQ(ftp.GetFTPDirectory(), "/made");
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("..", d); }));
    EXPECT_EQ(ftp.GetFTPDirectory(), "/");

    server().writeFile("made/inside.txt", "x");
    sLastError = "earlier failure";
    EXPECT_FALSE(ok([&](clsFTPClient::Done d) { ftp.RemoveFTPDirectory("made", d); })); // not empty
    EXPECT_EQ(sLastError, "earlier failure");
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.DeleteFTPFile("made/inside.txt", d); }));
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.RemoveFTPDirectory("made", d); }));
    EXPECT_FALSE(QDir(server().path("made")).exists());

    server().writeFile("a.txt", "x");
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.RenameFTPFile("a.txt", "b.txt", d); }));
    EXPECT_EQ(server().readFile("b.txt"), "x");
    EXPECT_FALSE(ok([&](clsFTPClient::Done d) { ftp.DeleteFTPFile("a.txt", d); }));
    EXPECT_TRUE(sLastError.startsWith("550")) << sLastError.toStdString();

    // A missing folder is created only when asked.
    EXPECT_FALSE(ok([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("/nowhere", d); }));
    EXPECT_TRUE(sLastError.startsWith("550")) << sLastError.toStdString();
    EXPECT_TRUE(ok([&](clsFTPClient::Done d) { ftp.SetFTPDirectory("/nowhere", true, d); }));
    EXPECT_EQ(ftp.GetFTPDirectory(), "/nowhere");
}

TEST_P(SessionFtp, RawCommandsKeepTheirReplies)
{
    server().writeFile("x", "keep");
    ASSERT_TRUE(connect());
    raw("SYST");
    EXPECT_TRUE(sCommandResponse.startsWith("215")) << sCommandResponse.toStdString();
    EXPECT_TRUE(sCommandResponse.endsWith(QChar(0)));
    const QString syst = sCommandResponse;

    raw("NOOP");
    EXPECT_EQ(sCommandResponse, syst); // the keep-alive never hides the user's reply
    raw("noop");
    EXPECT_TRUE(sCommandResponse.startsWith("200")) << sCommandResponse.toStdString();

    raw("BOGUS");
    EXPECT_EQ(sCommandResponse, sLastError);
    EXPECT_TRUE(sLastError.startsWith("500")) << sLastError.toStdString();

    // A line break would smuggle a second command: refused, never sent.
    raw("NOOP\r\nDELE x");
    EXPECT_FALSE(sLastError.isEmpty());
    EXPECT_EQ(sCommandResponse, sLastError);
    EXPECT_EQ(server().readFile("x"), "keep");
    EXPECT_EQ(ftp.GetFTPDirectory(), "/"); // the connection still works
}

INSTANTIATE_TEST_SUITE_P(Modes, SessionFtp,
                         ::testing::Values(Mode{true, true}, Mode{false, true}, Mode{true, false}, Mode{false, false}),
                         [](const auto &info) {
                             return std::string(info.param.passive ? "Passive" : "Active")
                                 + (info.param.mlsd ? "Mlsd" : "List");
                         });

} // namespace
