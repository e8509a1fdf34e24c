// The TLS mode of saved sites, kept beside ftp.tf: it follows every edit,
// rename, move and deletion of the site, ftp.tf keeps its eleven fields, and
// a number handed out again does not carry an old site's mode.
#include "TestFiles.h"
#include "platform/Paths.h"
#include "sites/SiteRecord.h"
#include "sites/SiteTls.h"
#include "sites/clsGestionData.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using sitetls::Mode;

namespace {

class SiteTlsTest : public ::testing::Test {
public: // the cases' functions below reach in
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform::setProgramDirectory(dir.path());
        ASSERT_TRUE(testfiles::writeFile(dir.filePath("TypeFtp.tf"), "1|Work|\r\n2|Home|\r\n"));
        // Alpha is the newest site: deleting it frees the biggest number.
        ASSERT_TRUE(testfiles::writeFile(dir.filePath("ftp.tf"), "1|Beta|b.example|21|u||1|1||1|\r\n"
                                                                 "2|Alpha|a.example|21|u||1|1||1|\r\n"));
        db.SetFirstData();
        ASSERT_TRUE(db.setTlsMode(2, Mode::Implicit).ok());
        ASSERT_TRUE(db.setTlsMode(1, Mode::Off).ok());
    }
    void TearDown() override { platform::setProgramDirectory(QString()); }

    // The mode of the site named `name` as the site manager would load it;
    // nothing when there is no such site.
    std::optional<Mode> modeOf(const QString &name)
    {
        db.SetFirstData();
        for (int i = 1; i <= clsGestionData::siteCollection().count(); ++i) {
            if (db.SetCollectionData(QString::number(i), false) && db.sServerName == name)
                return db.tlsMode;
        }
        return std::nullopt;
    }
    qint32 numberOf(const QString &name)
    {
        return modeOf(name) ? db.lServerNo : 0;
    }
    // An edit as the site manager saves one (the former name when renamed).
    FileResult edit(const QString &name, const QString &host, const QString &folder, const QString &former = {})
    {
        return db.SaveDataChange(name + "|" + host + "|21|u||1|2||" + folder + "|", false, true, former);
    }
    QStringList fileLines(const QString &name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).split("\r\n", Qt::SkipEmptyParts)
                                           : QStringList();
    }

    QTemporaryDir dir;
    clsGestionData db;
};

} // namespace

TEST_F(SiteTlsTest, EveryChangeOfTheAddressBookKeepsOrDropsTheModeAsItShould)
{
    struct Case {
        const char *name;
        std::function<FileResult(SiteTlsTest &)> change;
        const char *site;           // the site looked at afterwards
        std::optional<Mode> mode;   // its mode (nothing: no such site)
        std::optional<Mode> beta;   // the other site's mode, untouched
        bool otherCopy = false;     // ftp.tf written by a copy that knows no side file
    };
    const Case cases[] = {
        {"edit (the line moves to the end)", [](SiteTlsTest &t) { return t.edit("Alpha", "new.example", "1"); },
         "Alpha", Mode::Implicit, Mode::Off},
        {"rename", [](SiteTlsTest &t) { return t.edit("Gamma", "a.example", "1", "Alpha"); },
         "Gamma", Mode::Implicit, Mode::Off},
        {"move to another folder", [](SiteTlsTest &t) { return t.edit("Alpha", "a.example", "2"); },
         "Alpha", Mode::Implicit, Mode::Off},
        {"local folder stored at once (whole record)",
         [](SiteTlsTest &t) { return t.db.SaveDataChange("2|Alpha|a.example|21|u||1|1||1|/tmp/", true, false, ""); },
         "Alpha", Mode::Implicit, Mode::Off},
        {"delete", [](SiteTlsTest &t) { return t.db.DeleteData("ser", "Alpha"); }, "Alpha", std::nullopt, Mode::Off},
        {"delete, then a new site gets the number again",
         [](SiteTlsTest &t) {
             const FileResult deleted = t.db.DeleteData("ser", "Alpha");
             return deleted ? t.db.SaveDataChange("Alpha||21|||1|1||1|", false, false, "") : deleted;
         },
         "Alpha", Mode::IfOffered, Mode::Off},
        {"delete the folder", [](SiteTlsTest &t) { return t.db.DeleteData("type", "Work"); }, "Alpha", std::nullopt,
         std::nullopt},
        {"a new site replaces one of the same name (a fresh number)",
         [](SiteTlsTest &t) { return t.db.SaveDataChange("Alpha||21|||1|1||2|", false, false, ""); }, "Alpha",
         Mode::IfOffered, Mode::Off},
        {"another copy deletes the site and makes a new one under its number",
         [](SiteTlsTest &t) {
             testfiles::writeFile(t.dir.filePath("ftp.tf"), "1|Beta|b.example|21|u||1|1||1|\r\n"
                                                            "2|Delta|d.example|21|u||1|1||1|\r\n");
             return FileResult::success();
         },
         "Delta", Mode::IfOffered, Mode::Off, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_EQ(modeOf("Alpha"), Mode::Implicit);
        const qint32 before = numberOf("Alpha");
        const FileResult result = c.change(*this);
        ASSERT_TRUE(result.ok()) << result.error().toStdString();
        EXPECT_EQ(modeOf(c.site), c.mode);
        EXPECT_EQ(modeOf("Beta"), c.beta);
        if (c.mode == Mode::Implicit) {
            EXPECT_EQ(numberOf(c.site), before);
        }
        // Another copy of the program reads eleven fields per site, as ever.
        for (const QString &line : fileLines("ftp.tf"))
            EXPECT_EQ(line.split('|').size(), siterecord::SiteFieldCount) << line.toStdString();
        // And the side file holds only live sites (after our own changes).
        for (const QString &line : c.otherCopy ? QStringList() : fileLines("ftptls.tf")) {
            const QString name = line.section('|', 2);
            EXPECT_TRUE(modeOf(name).has_value()) << line.toStdString();
        }
    }
}

TEST_F(SiteTlsTest, TheDefaultModeNeedsNoLineAndUnknownLinesAreIgnored)
{
    ASSERT_TRUE(db.setTlsMode(1, Mode::IfOffered).ok());
    EXPECT_EQ(fileLines("ftptls.tf"), QStringList({"2|implicit|Alpha"}));
    ASSERT_TRUE(testfiles::writeFile(dir.filePath("ftptls.tf"), "2|implicit|Alpha\r\nnonsense\r\n1|sometimes|Beta\r\n"));
    EXPECT_EQ(modeOf("Alpha"), Mode::Implicit);
    EXPECT_EQ(modeOf("Beta"), Mode::IfOffered);
    EXPECT_FALSE(db.setTlsMode(99, Mode::Required).ok()); // no such site
}

TEST(SiteTlsKeywords, WordsOfTheFileAndTheCommandLine)
{
    const std::pair<const char *, Mode> words[] = {
        {"auto", Mode::IfOffered}, {"explicit", Mode::Required}, {"implicit", Mode::Implicit}, {"off", Mode::Off}};
    for (const auto &[word, mode] : words) {
        EXPECT_EQ(sitetls::keyword(mode), QLatin1String(word));
        EXPECT_EQ(sitetls::fromKeyword(QString::fromLatin1(word).toUpper()), mode);
    }
    EXPECT_EQ(sitetls::fromKeyword("tls"), std::nullopt);
}
