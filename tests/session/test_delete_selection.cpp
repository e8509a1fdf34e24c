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
    bool deleteItem(const QString &name, bool) override
    {
        asked << name;
        const QChar answer = answers.isEmpty() ? QChar('y') : answers.at(0);
        if (!answers.isEmpty())
            answers.remove(0, 1);
        bDeleteAll = answer == 'a';
        return answer != 'n';
    }
    void logState(int state, const QString &message) override { log << QString::number(state) + "|" + message; }
    QString answers;
    QStringList asked;
    QStringList log;
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

// Last row first and Remove All at the first question are the local pane
// suite's, through the window.

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

class RemoteDelete : public ::testing::Test, public SuiteFtpServer {
protected:
    static void SetUpTestSuite() { startServer(); }
    static void TearDownTestSuite() { stopServer(); }
    void SetUp() override
    {
        resetSessionState();
        readyServer();
        ftp.setTimeouts({5000, 5000, 5000});
        ASSERT_TRUE(testwait::open(ftp, server->host(), server->port(), server->user(), server->password(), true));
    }
    void TearDown() override
    {
        ftp.CloseConnection();
        resetSessionState();
    }
    clsFTPClient ftp;
    DeleteHost host;
    ScriptedPrompt prompt;
};

// Files answered for all, folders one by one and a folder that is not empty
// are the server pane suite's, through the window.

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
