#include "TestFiles.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "settings/OptionStore.h"
#include "settings/Options.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform::setProgramDirectory(dir.path());
    }
    void TearDown() override { platform::setProgramDirectory(QString()); }

    QString path(const QString &name) const { return dir.filePath(name); }
    QByteArray bytes(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void put(const QString &name, const QByteArray &content) const
    {
        ASSERT_TRUE(testfiles::writeFile(path(name), content));
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    OptionStore store;
};

} // namespace

TEST_F(OptionsTest, NoOptionsFileGivesTheDefaultsOfAFirstStart)
{
    EXPECT_TRUE(options::langue().isEmpty());
    EXPECT_EQ(options::startWindowChoice(), 0);
    EXPECT_TRUE(options::checkUpdateAtStart());
    EXPECT_FALSE(options::keepAlive());
    EXPECT_FALSE(options::veuxSon());
    EXPECT_EQ(options::son(), QString());
    EXPECT_EQ(options::verupd(), QString());
    EXPECT_EQ(options::optionsFilePath(), path("opt.tf"));
    EXPECT_TRUE(files().isEmpty()) << "reading must not create the file";
}

TEST_F(OptionsTest, AFirstStartSpeaksTheSessionsLanguageAndAStoredOneWins)
{
    // The message locale as the C library reads it: LC_ALL, LC_MESSAGES,
    // LANG, and LANGUAGE's list first unless the locale is C.
    const struct {
        const char *all, *messages, *lang, *language;
        qint16 offset;
    } sessions[] = {
        {"fr_FR.UTF-8", "", "", "", 0},
        {"", "fr_CH.UTF-8", "en_US.UTF-8", "", 0},
        {"en_US.UTF-8", "fr_FR.UTF-8", "fr_FR.UTF-8", "", 1000},
        {"", "", "fr", "", 0},
        {"", "", "fr@euro", "", 0},
        {"", "", "fy_NL.UTF-8", "", 1000}, // Frisian is not French
        {"", "", "en_CA.UTF-8", "fr_CA:en", 0},
        {"", "", "fr_FR.UTF-8", "de:fr", 1000},
        {"C.UTF-8", "", "", "fr", 1000},   // the C locale ignores LANGUAGE
        {"", "", "", "", 1000},
    };
    const char *names[] = {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"};
    QByteArray saved[4];
    for (int i = 0; i < 4; ++i)
        saved[i] = qgetenv(names[i]);
    for (const auto &s : sessions) {
        const char *values[] = {s.all, s.messages, s.lang, s.language};
        SCOPED_TRACE(std::string(s.all) + "/" + s.messages + "/" + s.lang + "/" + s.language);
        for (int i = 0; i < 4; ++i)
            qputenv(names[i], values[i]);
        QFile::remove(path("opt.tf"));
        EXPECT_EQ(options::startLanguageOffset(), s.offset);
        // Once chosen, the options' language is the one, whatever the session.
        for (const qint16 chosen : {qint16(0), qint16(1000)}) {
            ASSERT_TRUE(options::setLangue(chosen));
            EXPECT_EQ(options::startLanguageOffset(), chosen);
        }
    }
    for (int i = 0; i < 4; ++i)
        qputenv(names[i], saved[i]);
}

TEST_F(OptionsTest, TheEmptyValueConvertsToZeroFalseAndEmptyText)
{
    const OptionValue empty;
    EXPECT_EQ(empty.toNumber(), 0);
    EXPECT_FALSE(empty.toBoolean());
    EXPECT_EQ(empty.toText(), QString());
    EXPECT_TRUE(empty.equalsNumber(0));
    EXPECT_FALSE(empty.number().has_value());
    const OptionValue garbage(QStringLiteral("abc"));
    EXPECT_FALSE(garbage.number().has_value());
    EXPECT_EQ(garbage.toNumber(), 0);
    EXPECT_FALSE(garbage.equalsNumber(0));
    EXPECT_TRUE(OptionValue(QStringLiteral(" 1 ")).toBoolean());
    EXPECT_FALSE(OptionValue(QStringLiteral("0")).toBoolean());
}

TEST_F(OptionsTest, SwuIsStoredInvertedAndVsonAndVSonAreOneEntry)
{
    EXPECT_EQ(options::swuValueFor(true), "0");
    EXPECT_EQ(options::swuValueFor(false), "1");
    ASSERT_TRUE(options::setCheckUpdateAtStart(false));
    EXPECT_FALSE(options::checkUpdateAtStart());
    EXPECT_EQ(store.ReadValue("SWU", "Option", path("opt.tf")).toText(), "1");
    ASSERT_TRUE(options::setCheckUpdateAtStart(true));
    EXPECT_TRUE(options::checkUpdateAtStart());
    EXPECT_TRUE(options::swuMeansCheck(OptionValue()));

    ASSERT_TRUE(options::setVeuxSon(true));
    EXPECT_TRUE(options::veuxSon());
    EXPECT_EQ(store.ReadValue("VSON", "oPTION", path("opt.tf")).toText(), "1");
    ASSERT_TRUE(store.WriteValue("VSon", "OPTION", "0", path("opt.tf")));
    EXPECT_FALSE(options::veuxSon());
    EXPECT_EQ(bytes("opt.tf").toLower().count("vson="), 1) << bytes("opt.tf").constData();
}

TEST_F(OptionsTest, AValueWrittenIsReadBackAtOnceAndTheRestStays)
{
    ASSERT_TRUE(options::setLangue(1000));
    EXPECT_EQ(options::langue().number(), 1000);
    ASSERT_TRUE(options::setStartWindowChoice(1));
    ASSERT_TRUE(options::setKeepAlive(true));
    ASSERT_TRUE(options::setLangue(0));
    EXPECT_EQ(options::langue().number(), 0);
    EXPECT_EQ(options::startWindowChoice(), 1);
    EXPECT_TRUE(options::keepAlive());
    EXPECT_EQ(bytes("opt.tf"), "[Option]\r\nLangue=0\r\nOpen=1\r\nka=1\r\n");
    // The default sound lives in the program folder; a chosen one is used as it is.
    ASSERT_TRUE(options::setSon("/music/bell.wav"));
    EXPECT_EQ(options::soundFilePath(options::son()), "/music/bell.wav");
    ASSERT_TRUE(options::setSon(options::DefaultSound));
    EXPECT_EQ(options::soundFilePath(options::son()), path("recv.WAV"));
    // Outer spaces and quotes survive a round trip.
    for (const QString &value : {QStringLiteral(" padded "), QStringLiteral("\"quoted\""), QString()}) {
        ASSERT_TRUE(options::setSon(value));
        EXPECT_EQ(options::son(), value);
    }
}

TEST_F(OptionsTest, FilesOfTheOriginalPlatformAndOfTheUpdateServerAreRead)
{
    put("opt.tf", "; written by hand\r\n[OPTION]\r\nlangue = 1000\r\nSon=C:\\sons\\cloche \xe9t\xe9.wav\r\n"
                  "[Other]\r\nOpen=1\r\n");
    EXPECT_EQ(options::langue().number(), 1000);
    EXPECT_EQ(options::son(), QString::fromUtf8("C:\\sons\\cloche été.wav"));
    EXPECT_EQ(options::startWindowChoice(), 0) << "a key of another section is not ours";
    put("ver.tf", "[Version]\r\nTarvo Ftp.exe=1.10.0\r\n");
    put("upt.tf", "[Update]\nNbrDl=2\nUpd1=Tarvo Ftp.exe|x\nUpd2=b.dll|y");
    put("verupt.tf", "[ver]\r\nver=3.2\r\n");
    EXPECT_EQ(store.ReadValue("Tarvo Ftp.exe", "Version", path("ver.tf")).toText(), "1.10.0");
    EXPECT_EQ(store.ReadValue("NbrDl", "Update", path("upt.tf")).toNumber(), 2);
    EXPECT_EQ(store.ReadValue("Upd2", "Update", path("upt.tf")).toText(), "b.dll|y");
    EXPECT_EQ(store.ReadValue("ver", "ver", path("verupt.tf")).toText(), "3.2");
    EXPECT_TRUE(store.ReadValue("ver", "ver", path("missing.tf")).isEmpty());
}

TEST_F(OptionsTest, WritesKeepTheEightBitFormatOtherLinesAndNoTemporaryFiles)
{
    put("opt.tf", "; comment\r\n[Option]\r\nLangue=0\r\n\r\n[Licence]\r\nkey=abc\r\n");
    ASSERT_TRUE(options::setSon(QString::fromUtf8("/home/zoé/€.wav")));
    ASSERT_TRUE(options::setKeepAlive(false));
    EXPECT_EQ(bytes("opt.tf"), "; comment\r\n[Option]\r\nLangue=0\r\nSon=/home/zo\xe9/\x80.wav\r\nka=0\r\n"
                               "\r\n[Licence]\r\nkey=abc\r\n");
    EXPECT_EQ(files(), QStringList{"opt.tf"});
}

TEST_F(OptionsTest, ValuesThatWouldBreakTheFileAreRefusedAndChangeNothing)
{
    ASSERT_TRUE(options::setSon("a.wav"));
    const QByteArray before = bytes("opt.tf");
    for (const QString &bad : {QStringLiteral("a\r\nLangue=1000"), QStringLiteral("\u4e2d.wav")}) {
        const FileResult result = options::setSon(bad);
        EXPECT_FALSE(result.ok());
        EXPECT_FALSE(result.error().isEmpty());
    }
    EXPECT_FALSE(store.WriteValue("a=b", "Option", "1", path("opt.tf")));
    EXPECT_EQ(bytes("opt.tf"), before);
}

TEST_F(OptionsTest, AFileThatCannotBeWrittenIsReported)
{
    const FileResult result = store.WriteValue("ka", "Option", "1", path("no/such/folder/opt.tf"));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error().contains("opt.tf")) << result.error().toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("opt.tf"));
    EXPECT_FALSE(options::setKeepAlive(true).ok());
    EXPECT_FALSE(options::keepAlive());
}
