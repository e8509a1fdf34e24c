// The session object against a real FTP server, in passive and in active mode.
#include "FtpServer.h"
#include "ScriptedPrompt.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"

#include <QDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class RecordingHost : public NullSessionHost {
public:
    void setKeepAliveEnabled(bool enabled) override { keepAlive = enabled; ++keepAliveCalls; }
    bool keepAlive = false;
    int keepAliveCalls = 0;
};

struct Mode {
    bool passive;
    bool mlsd;
};

std::string modeName(const ::testing::TestParamInfo<Mode> &info)
{
    return std::string(info.param.passive ? "Passive" : "Active") + (info.param.mlsd ? "Mlsd" : "List");
}

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
        ftp = std::make_unique<clsFTPClient>();
        ftp->setHost(&host);
        ftp->setTimeouts({5000, 5000, 5000});
    }
    void TearDown() override
    {
        ftp.reset();
        resetSessionState();
    }

    FtpServer &server() { return GetParam().mlsd ? *mlsdServer : *listServer; }
    qint64 mode() const { return GetParam().passive ? 0x08000000 : 0; }

    bool connect(const QString &password = QString())
    {
        return ftp->OpenConnection(server().host(), QString::number(server().port()), server().user(),
                                   password.isNull() ? server().password() : password, mode());
    }

    QStringList names(const cdEnum *list)
    {
        QStringList out;
        if (list)
            for (const cDItemAttribute &e : *list)
                out << e.Filename;
        return out;
    }

    static std::unique_ptr<FtpServer> mlsdServer;
    static std::unique_ptr<FtpServer> listServer;
    RecordingHost host;
    ScriptedPrompt prompt;
    std::unique_ptr<clsFTPClient> ftp;
};

std::unique_ptr<FtpServer> SessionFtp::mlsdServer;
std::unique_ptr<FtpServer> SessionFtp::listServer;

TEST_P(SessionFtp, ConnectsLogsInAndEnablesKeepAlive)
{
    ASSERT_TRUE(connect()) << sLastError.toStdString();
    EXPECT_NE(hConnection, nullptr);
    EXPECT_TRUE(host.keepAlive);
    ftp->ActionOut("");
    EXPECT_TRUE(sLastResponse.contains("Tarvo test server ready.")) << sLastResponse.toStdString();
    EXPECT_EQ(ftp->GetFTPDirectory(), "/");

    bConnected = true;
    ftp->CloseConnection();
    EXPECT_EQ(hConnection, nullptr);
    EXPECT_FALSE(bConnected);
    EXPECT_FALSE(host.keepAlive);
}

TEST_P(SessionFtp, WrongPasswordShowsTheServersWords)
{
    EXPECT_FALSE(connect("wrong"));
    EXPECT_EQ(hConnection, nullptr);
    EXPECT_TRUE(sLastError.startsWith("530")) << sLastError.toStdString();
    EXPECT_FALSE(host.keepAlive);
}

TEST_P(SessionFtp, ClosedPortAndUnknownHostFailWithText)
{
    EXPECT_FALSE(ftp->OpenConnection("127.0.0.1", "1", "u", "p", mode()));
    EXPECT_FALSE(sLastError.isEmpty());
    EXPECT_FALSE(ftp->OpenConnection("no-such-host.invalid", "21", "u", "p", mode()));
    EXPECT_FALSE(sLastError.isEmpty());
    EXPECT_EQ(hConnection, nullptr);
}

TEST_P(SessionFtp, ReconnectDropsTheOldConnectionEvenWhenTheNewOneFails)
{
    ASSERT_TRUE(connect());
    host.keepAliveCalls = 0;
    EXPECT_FALSE(connect("wrong"));
    EXPECT_EQ(hConnection, nullptr);
    EXPECT_EQ(host.keepAliveCalls, 0); // a failed reconnect leaves the timer as it was

    // Closing while not connected still clears the handle and nothing else.
    bConnected = true;
    ftp->CloseConnection();
    EXPECT_TRUE(bConnected);
    EXPECT_EQ(host.keepAliveCalls, 0);
}

TEST_P(SessionFtp, ListsEmptyOneAndManyEntries)
{
    ASSERT_TRUE(connect());
    const QString before = sLastError;
    EXPECT_EQ(ftp->GetDirectoryListing("*.*"), nullptr); // empty folder: nothing, no error text
    EXPECT_EQ(sLastError, before);
    EXPECT_EQ(ftp->Directory().Count(), 0);

    server().writeFile("one.txt", "12345");
    const cdEnum *list = ftp->GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr) << sLastError.toStdString();
    QStringList got = names(list);
    got.removeAll(".");
    got.removeAll("..");
    EXPECT_EQ(got, QStringList{"one.txt"});
    EXPECT_EQ(list->Item("one.txt")->FileSize, 5);
    EXPECT_TRUE(list->Item("ONE.TXT")->Normal);
    EXPECT_TRUE(bActivity);

    for (int i = 0; i < 300; ++i)
        server().writeFile(QString("f%1.dat").arg(i, 3, 10, QChar('0')), QByteArray(i, 'x'));
    server().makeDir("sub folder");
    list = ftp->GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->Item("sub folder")->Directory);
    EXPECT_EQ(list->Item("f299.dat")->FileSize, 299);
    EXPECT_GE(list->Count(), 302);
}

TEST_P(SessionFtp, NamesDifferingInCaseKeepTheFirstListed)
{
    server().writeFile("Makefile", "a");
    server().writeFile("makefile", "bb");
    ASSERT_TRUE(connect());
    const cdEnum *list = ftp->GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr);
    QStringList got = names(list);
    EXPECT_EQ(got.count(QString("Makefile")) + got.count(QString("makefile")), 1);
}

TEST_P(SessionFtp, NonAsciiNamesSurviveListingAndRemoteOperations)
{
    server().writeFile(QString::fromUtf8("été à l'ombre.txt"), "x");
    ASSERT_TRUE(connect());
    const cdEnum *list = ftp->GetDirectoryListing("*.*");
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->Item(QString::fromUtf8("été à l'ombre.txt")), nullptr) << names(list).join('|').toStdString();
    EXPECT_TRUE(ftp->RenameFTPFile(QString::fromUtf8("été à l'ombre.txt"), QString::fromUtf8("Ærø.txt")));
    EXPECT_TRUE(QFile::exists(server().path(QString::fromUtf8("Ærø.txt"))));
    EXPECT_TRUE(ftp->DeleteFTPFile(QString::fromUtf8("Ærø.txt")));
    EXPECT_FALSE(QFile::exists(server().path(QString::fromUtf8("Ærø.txt"))));
}

TEST_P(SessionFtp, CreatesEntersRemovesAndRenames)
{
    ASSERT_TRUE(connect());
    EXPECT_TRUE(ftp->CreateFTPDirectory("made"));
    EXPECT_TRUE(QDir(server().path("made")).exists());
    EXPECT_FALSE(sLastResponse.isEmpty());
    EXPECT_TRUE(ftp->SetFTPDirectory("made"));
    EXPECT_EQ(ftp->GetFTPDirectory(), "/made");
    EXPECT_TRUE(ftp->SetFTPDirectory(".."));
    EXPECT_EQ(ftp->GetFTPDirectory(), "/");

    server().writeFile("made/inside.txt", "x");
    sLastError = "earlier failure";
    EXPECT_FALSE(ftp->RemoveFTPDirectory("made")); // not empty
    EXPECT_EQ(sLastError, "earlier failure");
    EXPECT_TRUE(ftp->DeleteFTPFile("made/inside.txt"));
    EXPECT_TRUE(ftp->RemoveFTPDirectory("made"));
    EXPECT_FALSE(QDir(server().path("made")).exists());

    server().writeFile("a.txt", "x");
    EXPECT_TRUE(ftp->RenameFTPFile("a.txt", "b.txt"));
    EXPECT_EQ(server().readFile("b.txt"), "x");
    EXPECT_FALSE(ftp->DeleteFTPFile("a.txt"));
    EXPECT_TRUE(sLastError.startsWith("550")) << sLastError.toStdString();
}

TEST_P(SessionFtp, MissingFolderIsCreatedOnlyWhenAsked)
{
    ASSERT_TRUE(connect());
    EXPECT_FALSE(ftp->SetFTPDirectory("/nowhere"));
    EXPECT_FALSE(sLastError.isEmpty());
    bool create = true;
    EXPECT_TRUE(ftp->SetFTPDirectory("/nowhere", create));
    EXPECT_FALSE(create);
    EXPECT_EQ(ftp->GetFTPDirectory(), "/nowhere");
}

TEST_P(SessionFtp, RawCommandsKeepTheirReplies)
{
    ASSERT_TRUE(connect());
    ftp->SetCHMOD("SYST");
    EXPECT_TRUE(sCommandResponse.startsWith("215")) << sCommandResponse.toStdString();
    EXPECT_TRUE(sCommandResponse.endsWith(QChar(0)));
    const QString syst = sCommandResponse;

    ftp->SetCHMOD("NOOP");
    EXPECT_EQ(sCommandResponse, syst); // the keep-alive never hides the user's reply
    ftp->SetCHMOD("noop");
    EXPECT_TRUE(sCommandResponse.startsWith("200")) << sCommandResponse.toStdString();

    ftp->SetCHMOD("BOGUS");
    EXPECT_EQ(sCommandResponse, sLastError);
    EXPECT_TRUE(sLastError.startsWith("500")) << sLastError.toStdString();

    // A line break would smuggle a second command: refused, never sent.
    ftp->SetCHMOD("NOOP\r\nDELE x");
    EXPECT_FALSE(sLastError.isEmpty());
    EXPECT_EQ(sCommandResponse, sLastError);
    EXPECT_EQ(ftp->GetFTPDirectory(), "/"); // the connection still works
}

TEST_P(SessionFtp, FileSizeOfPresentMissingAndFailed)
{
    server().writeFile("sized.bin", QByteArray(1234, 'z'));
    ASSERT_TRUE(connect());
    EXPECT_EQ(ftp->GetFTPFileSize("sized.bin"), 1234);
    EXPECT_EQ(ftp->GetFTPFileSize("absent.bin"), -1);
}

INSTANTIATE_TEST_SUITE_P(Modes, SessionFtp,
                         ::testing::Values(Mode{true, true}, Mode{false, true}, Mode{true, false},
                                           Mode{false, false}),
                         modeName);

} // namespace
