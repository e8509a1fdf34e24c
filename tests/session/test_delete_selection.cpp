// Deleting the entries selected in either pane.
#include "FtpServer.h"
#include "ScriptedPrompt.h"
#include "TestFiles.h"
#include "session/DeleteSelection.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "SessionWait.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Answers the delete question from a script: 'y' yes, 'a' remove all, 'n' cancel.
class DeleteHost : public NullSessionHost {
public:
    bool deleteItem(const QString &name, bool isUp) override
    {
        asked << name;
        askedUp << isUp;
        const QChar answer = answers.isEmpty() ? QChar('y') : answers.at(0);
        if (!answers.isEmpty())
            answers.remove(0, 1);
        bDeleteAll = answer == 'a';
        return answer != 'n';
    }
    void logState(int state, const QString &message) override { log << QString::number(state) + "|" + message; }
    void refreshDirectoryListing() override { ++refreshes; }
    QString answers;
    QStringList asked;
    QList<bool> askedUp;
    QStringList log;
    int refreshes = 0;
};

void touch(const QString &path) { ASSERT_TRUE(testfiles::writeFile(path, "x")); }

class LocalDelete : public ::testing::Test {
protected:
    void SetUp() override { resetSessionState(); }
    void TearDown() override { resetSessionState(); }
    QTemporaryDir dir;
    clsFTPClient ftp;
    DeleteHost host;
    QList<int> removed;
    std::function<void(int)> remover = [this](int p) { removed << p; };
};

TEST_F(LocalDelete, LastRowFirstAndRemoveAllAtTheFirstQuestion)
{
    for (const char *n : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        touch(dir.filePath(n));
    QList<LocalPaneRow> rows = {{1, "b.txt", "  1"}, {4, "e.txt", "  1"}, {2, "c.txt", "  1"}};
    std::sort(rows.begin(), rows.end(), [](auto &a, auto &b) { return a.position < b.position; });
    host.answers = "a";
    DeleteLocalSelection(rows, dir.path(), ftp, host, remover);
    EXPECT_EQ(removed, QList<int>({4, 2, 1}));
    EXPECT_EQ(host.asked, QStringList({"e.txt"})); // one answer for all three
    EXPECT_FALSE(QFile::exists(dir.filePath("b.txt")));
    EXPECT_TRUE(QFile::exists(dir.filePath("a.txt")));
    EXPECT_FALSE(bDeleteAll); // the next deletion asks again
}

TEST_F(LocalDelete, DotRowsAreNeverDeletedNonEmptyFoldersAreRefusedDeclinedRowsStay)
{
    DeleteLocalSelection({{0, ".", ""}, {1, "..", ""}}, dir.path(), ftp, host, remover);
    EXPECT_TRUE(host.asked.isEmpty());
    EXPECT_TRUE(removed.isEmpty());

    QDir(dir.path()).mkdir("full");
    touch(dir.filePath("full/inside.txt"));
    QDir(dir.path()).mkdir("empty");
    touch(dir.filePath("keep.txt"));
    host.answers = "nyy"; // asked last row first: keep.txt, full, empty
    DeleteLocalSelection({{0, "empty", ""}, {1, "full", ""}, {2, "keep.txt", "  1"}}, dir.path(), ftp, host,
                         remover);
    EXPECT_EQ(removed, QList<int>({1, 0})); // keep.txt declined: its row stays
    EXPECT_TRUE(QFile::exists(dir.filePath("full/inside.txt")));
    EXPECT_FALSE(QDir(dir.filePath("empty")).exists());
    EXPECT_TRUE(QFile::exists(dir.filePath("keep.txt")));
    ASSERT_EQ(host.log.size(), 1);
    EXPECT_TRUE(host.log.first().startsWith("12|")) << host.log.first().toStdString();
    EXPECT_GT(host.log.first().size(), 4);
}

class RemoteDelete : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = std::make_unique<FtpServer>(); }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override
    {
        resetSessionState();
        server->clearRoot();
        ftp.setTimeouts({5000, 5000, 5000});
        ASSERT_TRUE(testwait::open(ftp, server->host(), server->port(), server->user(), server->password(), true));
    }
    void TearDown() override
    {
        ftp.CloseConnection();
        resetSessionState();
    }
    static std::unique_ptr<FtpServer> server;
    clsFTPClient ftp;
    DeleteHost host;
    ScriptedPrompt prompt;
};
std::unique_ptr<FtpServer> RemoteDelete::server;

TEST_F(RemoteDelete, FilesAnsweredForAllFoldersOneByOne)
{
    for (const char *n : {"one.txt", "two.txt", "three.txt"})
        server->writeFile(n, "x");
    server->makeDir("d1");
    server->makeDir("d2");
    server->writeFile("full/x.txt", "x");
    testwait::result([this](clsFTPClient::Done d) { ftp.GetDirectoryListing("*.*", d); });
    host.answers = "ayyy";
    DeleteRemoteSelection({".", "..", "one.txt", "two.txt", "three.txt", "d1", "d2", "full"}, ftp, host);
    ftp.waitIdle();
    EXPECT_EQ(host.asked, QStringList({"one.txt", "d1", "d2", "full"}));
    EXPECT_EQ(host.askedUp, QList<bool>({true, true, true, true}));
    for (const char *n : {"one.txt", "two.txt", "three.txt", "d1", "d2"})
        EXPECT_FALSE(QFileInfo::exists(server->path(n))) << n;
    EXPECT_TRUE(QFileInfo::exists(server->path("full/x.txt"))); // not empty: refused, reported in the log
    EXPECT_TRUE(host.log.last().startsWith("12|550")) << host.log.join('\n').toStdString();
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_FALSE(bDeleteAll);
}

TEST_F(RemoteDelete, AFileThatCannotGoIsShownInABox)
{
    server->writeFile("gone.txt", "x");
    testwait::result([this](clsFTPClient::Done d) { ftp.GetDirectoryListing("*.*", d); });
    QFile::remove(server->path("gone.txt"));
    DeleteRemoteSelection({"gone.txt"}, ftp, host);
    ftp.waitIdle();
    ASSERT_EQ(prompt.asked().size(), 1);
    EXPECT_TRUE(prompt.asked().first().text.startsWith("550"));
}

} // namespace
