// The update itself against a local HTTP server: the files fetched, checked
// and the updater started, or nothing started when anything is wrong.
#include "HttpServer.h"
#include "ScriptedPrompt.h"
#include "SessionWait.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "session/clsFTPClient.h"
#include "settings/Options.h"
#include "update/UpdateConfig.h"
#include "update/UpdateService.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class RecordingView : public UpdateView {
public:
    void setInfo(const QString &t) override { info = t; }
    void setNoUpdate(const QString &t) override { noUpdate = t; }
    void setCheckButtonVisible(bool v) override { checkVisible = v; }
    void setCloseEnabled(bool e) override { closeEnabled = e; }
    void setAnimationRunning(bool r) override { animation = r; }
    QString info, noUpdate;
    bool checkVisible = true, closeEnabled = true, animation = false;
};

QString sha(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
}

class UpdateCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite() { http = std::make_unique<HttpServer>(); }
    static void TearDownTestSuite() { http.reset(); }

    void SetUp() override
    {
        resetSessionState();
        LanguageOffset = 1000;
        ASSERT_TRUE(http->isRunning());
        http->clearRoot();
        platform::setProgramDirectory(dataDir.path());
        update::setUpdateServerUrl(http->url());
        update::setVendorWebSiteUrl(http->url());
    }
    void TearDown() override
    {
        platform::setProgramDirectory(QString());
        resetSessionState();
    }

    // An updater that leaves a mark in the program folder when it runs.
    QByteArray serveUpdater(const QString &sumOverride = QString())
    {
        const QByteArray script = "#!/bin/sh\ntouch \"" + dataDir.path().toUtf8() + "/updater-ran\"\n";
        http->writeFile("TUpdate.exe", script);
        http->writeFile("verupt.tf", "[ver]\r\nver=2.0\r\nsha256=" +
                                         (sumOverride.isEmpty() ? sha(script) : sumOverride).toLatin1() + "\r\n");
        return script;
    }

    void serveList(const QList<QPair<QString, QByteArray>> &files, const QStringList &entries = {})
    {
        QByteArray list = "[Update]\r\nNbrDl=" + QByteArray::number(files.size() + entries.size()) + "\r\n";
        int i = 1;
        for (const auto &f : files) {
            http->writeFile(f.first, f.second);
            list += "Upd" + QByteArray::number(i++) + "=" + f.first.toUtf8() + "|" + sha(f.second).toLatin1() + "\r\n";
        }
        for (const QString &e : entries)
            list += "Upd" + QByteArray::number(i++) + "=" + e.toUtf8() + "\r\n";
        http->writeFile("enupt.tf", list);
    }

    // The updater is a process of its own: its mark shows when it has run.
    bool updaterRan()
    {
        return testwait::until([this] { return QFileInfo::exists(dataDir.filePath("updater-ran")); }, 10000);
    }

    static inline std::unique_ptr<HttpServer> http;
    QTemporaryDir dataDir;
    clsFTPClient ftp;
    RecordingView view;
    UpdateService service{ftp, view};
    ScriptedPrompt prompt;
};

TEST(ProgramVersion, ComparesFieldByField)
{
    auto newer = [](const char *a, const char *b) {
        return ProgramVersion::parse(a).isNewerThan(ProgramVersion::parse(b));
    };
    EXPECT_TRUE(newer("1.10.0", "1.9.5"));
    EXPECT_TRUE(newer("2.0.0", "1.9.9"));
    EXPECT_FALSE(newer("1.9.9", "2.0.0"));
    EXPECT_FALSE(newer("1.9.5", "1.9.5"));
    EXPECT_TRUE(newer("1.9.6", "1.9.5"));
    EXPECT_TRUE(newer("1.100.0", "1.99.9")); // three-digit minors compare as numbers
    EXPECT_EQ(ProgramVersion::parse("1.10.0").text(), "1.10.0");
}

// What the check says for a newer, an equal, an older version, an
// unreachable server and a build without an update server is the update
// window suite's (it shows each answer).

// NbrDl = 0 starts the updater at once; otherwise every file comes first.
TEST_F(UpdateCheck, DownloadsEveryFileThenStartsTheUpdater)
{
    serveUpdater();
    serveList({});
    ASSERT_TRUE(service.startUpdate());
    EXPECT_TRUE(QDir(dataDir.filePath("Update")).isEmpty());
    EXPECT_TRUE(updaterRan());

    ASSERT_TRUE(QFile::remove(dataDir.filePath("updater-ran")));
    serveList({{"tarvoftp", "new program"}, {"notes.txt", "notes"}});
    ASSERT_TRUE(service.startUpdate()) << view.info.toStdString();
    EXPECT_TRUE(bUpdateLaunched);
    EXPECT_EQ(QFile(dataDir.filePath("Update/tarvoftp")).size(), 11);
    EXPECT_TRUE(QFileInfo::exists(dataDir.filePath("Update/notes.txt")));
    EXPECT_EQ(options::verupd(), "2.0");
    EXPECT_TRUE(updaterRan());
}

// Whatever is wrong, the updater is never started; what arrived before a
// failing file stays, and no name leaves the update folder.
TEST_F(UpdateCheck, RefusedUpdatesStartNothing)
{
    http->writeFile("first.bin", "1");
    http->writeFile("lib.so", "tampered");
    http->writeFile("evil", "x");
    const QString x = "|" + sha("x");
    const struct { QStringList entries; bool namedUpdater, errorShown; } cases[] = {
        {{"lib.so|" + sha("original")}, true, false}, // wrong checksum
        {{"lib.so"}, true, false},                    // no checksum at all
        {{"../evil" + x}, true, true},
        {{"sub/evil" + x}, true, true},
        {{"..\\evil" + x}, true, true},
        {{x}, true, true},
        {{}, false, false}, // an updater that is not the one named
        {{"first.bin|" + sha("1"), "missing.bin" + x}, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.entries.join(' ').toStdString());
        serveUpdater(c.namedUpdater ? QString() : sha("something else"));
        serveList({}, c.entries);
        EXPECT_FALSE(service.startUpdate());
        if (c.errorShown) {
            EXPECT_EQ(view.info, "Error while updating - please try again later");
        }
        EXPECT_FALSE(bUpdateLaunched);
        EXPECT_FALSE(QFileInfo::exists(dataDir.filePath("updater-ran")));
    }
    EXPECT_TRUE(QFileInfo::exists(dataDir.filePath("Update/first.bin")));
    EXPECT_FALSE(QFileInfo::exists(dataDir.filePath("Update/lib.so")));
    EXPECT_FALSE(QFileInfo::exists(dataDir.filePath("evil")));
}

} // namespace
