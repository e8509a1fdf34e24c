// HTTP download against Python's http.server on a loopback port.
#include "platform/inet/Inet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace inet;

namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

class HttpSuite : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_root = new QTemporaryDir;
        QFile f(QDir(s_root->path()).filePath(QStringLiteral("hello.txt")));
        if (f.open(QIODevice::WriteOnly))
            f.write("hello over http\n");
        s_server = new QProcess;
        s_port = freePort();
        s_server->start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                         QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--directory"),
                         s_root->path(), QString::number(s_port)});
        // It says "Serving HTTP on ..." once it listens.
        QByteArray out;
        while (!out.contains("Serving") && s_server->waitForReadyRead(15000))
            out += s_server->readAllStandardOutput();
        s_ready = out.contains("Serving");
    }
    static void TearDownTestSuite()
    {
        s_server->kill();
        s_server->waitForFinished(5000);
        delete s_server;
        delete s_root;
    }
    void SetUp() override { ASSERT_TRUE(s_ready); }

    QString url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(s_port).arg(path); }

    QTemporaryDir local;
    static QTemporaryDir *s_root;
    static QProcess *s_server;
    static quint16 s_port;
    static bool s_ready;
};

QTemporaryDir *HttpSuite::s_root = nullptr;
QProcess *HttpSuite::s_server = nullptr;
quint16 HttpSuite::s_port = 0;
bool HttpSuite::s_ready = false;

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST_F(HttpSuite, DownloadsTheFile)
{
    const QString target = local.filePath(QStringLiteral("got.txt"));
    ASSERT_TRUE(downloadUrlToFile(url(QStringLiteral("hello.txt")), target, 10000)) << lastError();
    EXPECT_EQ(contentOf(target), QByteArray("hello over http\n"));
    EXPECT_TRUE(openUrl(url(QStringLiteral("hello.txt")), 10000));
}

TEST_F(HttpSuite, NotFoundFailsAndLeavesNoFile)
{
    const QString target = local.filePath(QStringLiteral("missing.txt"));
    EXPECT_FALSE(downloadUrlToFile(url(QStringLiteral("missing.txt")), target, 10000));
    EXPECT_EQ(lastError(), quint32(ErrorHttpStatus));
    EXPECT_TRUE(lastResponseInfo().contains(QLatin1String("404")));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST_F(HttpSuite, OldFileStaysWhenTheDownloadFails)
{
    const QString target = local.filePath(QStringLiteral("keep.txt"));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    EXPECT_FALSE(downloadUrlToFile(url(QStringLiteral("missing.txt")), target, 10000));
    EXPECT_EQ(contentOf(target), QByteArray("old"));
}

TEST(Http, RefusedConnectionAndBadUrls)
{
    QTemporaryDir local;
    const QString target = local.filePath(QStringLiteral("x"));
    EXPECT_FALSE(downloadUrlToFile(QStringLiteral("http://127.0.0.1:%1/x").arg(freePort()), target, 10000));
    EXPECT_EQ(lastError(), quint32(ErrorCannotConnect));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(downloadUrlToFile(QStringLiteral("ftp://127.0.0.1/x"), target, 10000));
    EXPECT_EQ(lastError(), quint32(ErrorInvalidUrl));
    EXPECT_FALSE(openUrl(QStringLiteral("not a url"), 1000));
    EXPECT_EQ(lastError(), quint32(ErrorInvalidUrl));
}

TEST(Http, SilentServerTimesOutAndLeavesNoFile)
{
    // Listening but never answering: the connection is made, no reply comes.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QTemporaryDir local;
    const QString target = local.filePath(QStringLiteral("x"));
    EXPECT_FALSE(downloadUrlToFile(QStringLiteral("http://127.0.0.1:%1/x").arg(silent.serverPort()), target, 300));
    EXPECT_EQ(lastError(), quint32(ErrorTimeout));
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    EXPECT_FALSE(openUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(silent.serverPort()), 300));
    EXPECT_EQ(lastError(), quint32(ErrorTimeout));
}
