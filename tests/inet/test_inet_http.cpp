// HTTP download against Python's http.server on a loopback port.
#include "HttpServer.h"
#include "TestFiles.h"

#include "platform/inet/Inet.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace inet;
using testfiles::readFile;

namespace {

QStringList filesIn(const QTemporaryDir &dir) { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

} // namespace

TEST(Http, DownloadsTheFileAndAFailureLeavesNoFileAndTheOldOneWhole)
{
    HttpServer http;
    ASSERT_TRUE(http.isRunning());
    http.writeFile(QStringLiteral("hello.txt"), "hello over http\n");
    QTemporaryDir local;
    const QString target = local.filePath(QStringLiteral("got.txt"));
    ASSERT_TRUE(downloadUrlToFile(http.url(QStringLiteral("/hello.txt")), target, 10000)) << lastError();
    EXPECT_EQ(readFile(target), QByteArray("hello over http\n"));
    EXPECT_TRUE(openUrl(http.url(QStringLiteral("/hello.txt")), 10000));

    for (const char *name : {"got.txt", "new.txt"}) {
        EXPECT_FALSE(downloadUrlToFile(http.url(QStringLiteral("/missing.txt")), local.filePath(name), 10000));
        EXPECT_EQ(lastError(), quint32(ErrorHttpStatus));
        EXPECT_TRUE(lastResponseInfo().contains(QLatin1String("404")));
    }
    EXPECT_EQ(readFile(target), QByteArray("hello over http\n"));
    EXPECT_EQ(filesIn(local), QStringList{QStringLiteral("got.txt")});
}

TEST(Http, RefusedConnectionAndBadUrls)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    QTemporaryDir local;
    const QString target = local.filePath(QStringLiteral("x"));
    EXPECT_FALSE(downloadUrlToFile(QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort), target, 10000));
    EXPECT_EQ(lastError(), quint32(ErrorCannotConnect));
    EXPECT_FALSE(downloadUrlToFile(QStringLiteral("ftp://127.0.0.1/x"), target, 10000));
    EXPECT_EQ(lastError(), quint32(ErrorInvalidUrl));
    EXPECT_FALSE(openUrl(QStringLiteral("not a url"), 1000));
    EXPECT_EQ(lastError(), quint32(ErrorInvalidUrl));
    EXPECT_TRUE(filesIn(local).isEmpty());
}

TEST(Http, SilentServerTimesOutAndLeavesNoFile)
{
    // Listening but never answering: the connection is made, no reply comes.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const QString url = QStringLiteral("http://127.0.0.1:%1/x").arg(silent.serverPort());
    QTemporaryDir local;
    EXPECT_FALSE(downloadUrlToFile(url, local.filePath(QStringLiteral("x")), 300));
    EXPECT_EQ(lastError(), quint32(ErrorTimeout));
    EXPECT_TRUE(filesIn(local).isEmpty());
    EXPECT_FALSE(openUrl(url, 300));
    EXPECT_EQ(lastError(), quint32(ErrorTimeout));
}
