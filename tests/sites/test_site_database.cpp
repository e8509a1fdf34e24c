#include "TestFiles.h"
#include "platform/Paths.h"
#include "sites/SiteRecord.h"
#include "sites/clsGestionData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SiteDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform::setProgramDirectory(dir.path());
        db.SetFirstData();
    }
    void TearDown() override { platform::setProgramDirectory(QString()); }

    QByteArray bytes(const QString &name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void put(const QString &name, const QByteArray &content) const
    {
        ASSERT_TRUE(testfiles::writeFile(dir.filePath(name), content));
    }
    QStringList siteLines() const
    {
        return QString::fromLatin1(bytes("ftp.tf")).split("\r\n", Qt::SkipEmptyParts);
    }
    // The loaded site's texts, in the order of the record.
    static QStringList fieldsOf(const clsGestionData &d)
    {
        return {d.sServerName, d.sServerIp, d.sServerPort, d.sServerUser, d.sServerPass, d.sServerTransfert,
                d.sServerTypeConnect, d.sServerInitServPath, d.sServerInitialPath};
    }
    // A new site the way the site manager's "addsite" writes it.
    FileResult addSite(const QString &name, const QString &folder)
    {
        return db.SaveDataChange(name + "||21|||1|1||" + folder + "|", false, false, "");
    }

    QTemporaryDir dir;
    clsGestionData db;
};

} // namespace

TEST_F(SiteDatabaseTest, MissingFilesAreEmptyAndNumberingStartsAtOne)
{
    EXPECT_EQ(db.GetBigNo("Site"), "0");
    EXPECT_EQ(db.GetBigNo("Type"), "0");
    EXPECT_FALSE(db.ChkIfDataExist("type", "Work"));
    EXPECT_EQ(db.GetServerName("Server", "x"), QString());
    EXPECT_EQ(clsGestionData::siteCollection().count(), 0);
    ASSERT_TRUE(db.addFolder("Work"));
    EXPECT_EQ(db.lTypeNo, 1);
    ASSERT_TRUE(addSite("Home", "1"));
    EXPECT_EQ(bytes("ftp.tf"), "1|Home||21|||1|1||1|\r\n");
    EXPECT_EQ(bytes("TypeFtp.tf"), "1|Work|\r\n");
}

TEST_F(SiteDatabaseTest, ASiteRoundTripsWithItsPassword)
{
    clsGestionData::SiteFields f;
    f.name = QString::fromUtf8("Zoé");
    f.host = "ftp.example.com";
    f.port = "";
    f.user = "me";
    f.password = QString::fromUtf8("sécr€t");
    f.mode = "2";
    f.remotePath = "/www";
    f.folder = "3";
    f.localPath = "/home/me/site/";
    QString line;
    ASSERT_TRUE(clsGestionData::composeSiteLine(f, &line));
    ASSERT_TRUE(db.SaveDataChange(line, false, false, ""));
    EXPECT_EQ(bytes("ftp.tf"), "1|Zo\xe9|ftp.example.com|21|me|373345393633373238303734|1|2|/www|3|/home/me/site/\r\n");
    EXPECT_EQ(siteLines().at(0).section('|', 5, 5).size(), 4 * f.password.size());
    ASSERT_TRUE(db.SetFirstData());
    ASSERT_TRUE(db.SetCollectionData("1", true));
    EXPECT_EQ(db.lServerNo, 1);
    EXPECT_EQ(db.lServerType, 3);
    EXPECT_EQ(fieldsOf(db), QStringList({f.name, f.host, "21", "me", f.password, "1", "2", "/www", "/home/me/site/"}));
}

TEST_F(SiteDatabaseTest, AnEditedSiteKeepsItsNumberAndMovesToTheEnd)
{
    for (const char *name : {"A", "B", "C"})
        ASSERT_TRUE(addSite(name, "1"));
    ASSERT_TRUE(db.SaveDataChange("A|host|21|u||1|1||1|", false, true, ""));
    EXPECT_EQ(siteLines(), QStringList({"2|B||21|||1|1||1|", "3|C||21|||1|1||1|", "1|A|host|21|u||1|1||1|"}));
    ASSERT_TRUE(db.SaveDataChange("B2|h|21|u||1|1||1|", false, true, "B"));
    EXPECT_EQ(siteLines().last(), "2|B2|h|21|u||1|1||1|");
    EXPECT_FALSE(db.ChkIfDataExist("ser", "B"));
    ASSERT_TRUE(addSite("D", "1"));
    EXPECT_EQ(siteLines().last().section('|', 0, 0), "4");
}

// A new site of an existing name replaces it; choosing the local folder
// rewrites the whole record; deleting the last site leaves no record.
TEST_F(SiteDatabaseTest, ReplacingChoosingTheLocalFolderAndDeletingTheLast)
{
    ASSERT_TRUE(addSite("A", "1"));
    ASSERT_TRUE(addSite("B", "1"));
    ASSERT_TRUE(addSite("A", "2"));
    EXPECT_EQ(siteLines(), QStringList({"2|B||21|||1|1||1|", "3|A||21|||1|1||2|"}));
    ASSERT_TRUE(addSite("C", "1"));
    const QString head = db.GetServerName("Server", "A");
    EXPECT_EQ(head, "3|A||21|||1|1||2");
    ASSERT_TRUE(db.SaveDataChange(head + "|/data/", true, false, ""));
    EXPECT_EQ(siteLines(), QStringList({"2|B||21|||1|1||1|", "4|C||21|||1|1||1|", "3|A||21|||1|1||2|/data/"}));

    for (const char *name : {"A", "B", "C"})
        ASSERT_TRUE(db.DeleteData("ser", name));
    EXPECT_EQ(bytes("ftp.tf"), QByteArray());
    EXPECT_EQ(db.GetBigNo("Site"), "0");
    ASSERT_TRUE(addSite("D", "1"));
    EXPECT_EQ(siteLines(), QStringList{"1|D||21|||1|1||1|"});
}

TEST_F(SiteDatabaseTest, DeletingAFolderTakesExactlyItsSites)
{
    put("TypeFtp.tf", "1|One|\r\n11|Eleven|\r\n21|TwentyOne|\r\n");
    put("ftp.tf", "1|a||21|||1|1||1|\r\n2|b||21|||1|1||11|\r\n3|c||21|||1|1||21|\r\n4|d||21|||1|1||1|/x\r\n");
    ASSERT_TRUE(db.DeleteData("TYPE", "One"));
    EXPECT_EQ(bytes("TypeFtp.tf"), "11|Eleven|\r\n21|TwentyOne|\r\n");
    EXPECT_EQ(siteLines(), QStringList({"2|b||21|||1|1||11|", "3|c||21|||1|1||21|"}));
    ASSERT_TRUE(db.DeleteData("type", "Nothing"));
    EXPECT_EQ(siteLines().size(), 2);
}

TEST_F(SiteDatabaseTest, ChkIfDataExistChoosesTheFileByAnyCaseAndMatchesNamesExactly)
{
    put("TypeFtp.tf", "1|Work|\r\n");
    put("ftp.tf", "1|Home||21|||1|1||1|\r\n");
    EXPECT_TRUE(db.ChkIfDataExist("Type", "Work"));
    EXPECT_TRUE(db.ChkIfDataExist("tYPE", "Work"));
    EXPECT_FALSE(db.ChkIfDataExist("Type", "work"));
    EXPECT_FALSE(db.ChkIfDataExist("Site", "Work"));
    EXPECT_TRUE(db.ChkIfDataExist("Site", "Home"));
    EXPECT_FALSE(db.ChkIfDataExist("Type", "Home"));
}

TEST_F(SiteDatabaseTest, AFileOfTheOriginalPlatformLoads)
{
    // CP1252 bytes, CR LF line ends, a blank line in the middle, no final line end.
    put("TypeFtp.tf", "1|Travail|\r\n2|Clients \x80|\r\n");
    put("ftp.tf", "4|Caf\xe9|ftp.caf\xe9.fr|21|jos\xe9|4539|1|2|/pub|2|C:\\Mes sites\\\r\n\r\n"
                  "9|Autre|h|2121|u|363136323633|2|1||1|");
    ASSERT_TRUE(db.SetFirstData());
    const KeyedCollection &sites = clsGestionData::siteCollection();
    ASSERT_EQ(sites.count(), 2);
    EXPECT_EQ(sites.key(1), "4");
    EXPECT_EQ(sites.item(1), QString::fromUtf8("Café"));
    EXPECT_EQ(clsGestionData::folderCollection().itemByKey("2"), QString::fromUtf8("Clients €"));
    ASSERT_TRUE(db.SetCollectionData("1", false));
    EXPECT_EQ(db.sServerPass, QString::fromUtf8("é"));
    EXPECT_EQ(db.sServerUser, QString::fromUtf8("josé"));
    EXPECT_EQ(db.sServerInitialPath, "C:\\Mes sites\\");
    ASSERT_TRUE(db.SetCollectionData("9", true));
    EXPECT_EQ(db.sServerPass, "abc");
    ASSERT_TRUE(db.SetCollectionSec("2"));
    EXPECT_EQ(db.lTypeNo, 2);
    EXPECT_EQ(clsGestionData::siteText().count("\r\n"), 2);
    EXPECT_EQ(db.GetBigNo("Site"), "9");
    ASSERT_TRUE(addSite("New", "1"));
    EXPECT_TRUE(bytes("ftp.tf").startsWith("4|Caf\xe9|ftp.caf\xe9.fr|21|jos\xe9|4539|1|2|/pub|2|C:\\Mes sites\\\r\n9|"));
    EXPECT_TRUE(bytes("ftp.tf").endsWith("\r\n10|New||21|||1|1||1|\r\n"));
}

TEST_F(SiteDatabaseTest, MalformedLinesAreSkippedButNeverDropped)
{
    const QStringList odd = {"junk", "7|Short|h", "x|Bad|h|21|u|p|1|1||1|", "8|NoFolder|h|21|u|p|1|1||z|"};
    put("ftp.tf", (odd.join("\r\n") + "\r\n1|A||21|||1|1||1|\r\n1|Twin||21|||1|1||1|\r\n").toLatin1());
    ASSERT_TRUE(db.SetFirstData());
    ASSERT_EQ(clsGestionData::siteCollection().count(), 1) << "malformed lines and a repeated number stay out";
    EXPECT_FALSE(db.SetCollectionData("2", false));
    EXPECT_EQ(db.GetBigNo("Site"), "8");
    ASSERT_TRUE(addSite("B", "1"));
    ASSERT_TRUE(db.SaveDataChange("A|h|21|u||1|1||1|", false, true, ""));
    ASSERT_TRUE(db.DeleteData("ser", "Twin"));
    EXPECT_EQ(siteLines(), odd + QStringList({"9|B||21|||1|1||1|", "1|A|h|21|u||1|1||1|"}));
    EXPECT_FALSE(db.SetCollectionData("abc", true));
}

TEST_F(SiteDatabaseTest, TextThatWouldCorruptARecordIsRefusedAndNothingIsWritten)
{
    ASSERT_TRUE(addSite("A", "1"));
    const QByteArray before = bytes("ftp.tf");
    const QStringList bad = {
        "Pipe|in|name||21|||1|1||1|", "Line\r\nbreak||21|||1|1||1|", QString::fromUtf8("Ωmega||21|||1|1||1|"),
        "||21|||1|1||1|", "NoFolder||21|||1|1|||", "Short|21"};
    for (const QString &line : bad) {
        const FileResult result = db.SaveDataChange(line, false, false, "");
        EXPECT_FALSE(result.ok()) << line.toStdString();
        EXPECT_FALSE(result.error().isEmpty());
    }
    EXPECT_FALSE(db.SaveDataChange("x|A||21|||1|1||1|", true, false, "").ok());
    EXPECT_FALSE(db.SaveDataChange("1|A||21|||1|1||1|/a|b", true, false, "").ok());
    clsGestionData::SiteFields f;
    f.name = "A";
    f.folder = "1";
    f.password = "p|w";
    QString line = "untouched";
    EXPECT_FALSE(clsGestionData::composeSiteLine(f, &line).ok());
    EXPECT_EQ(line, "untouched");
    EXPECT_FALSE(db.addFolder("a|b").ok());
    EXPECT_FALSE(db.addFolder("").ok());
    EXPECT_EQ(bytes("ftp.tf"), before);
    EXPECT_EQ(bytes("TypeFtp.tf"), QByteArray());
}

TEST_F(SiteDatabaseTest, AddingFoldersNumbersThemAndMarksRepeatedNames)
{
    put("TypeFtp.tf", "\r\n4|Old|\r\n");
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(db.addFolder("Work"));
    EXPECT_EQ(db.sTypeFtp, "Work(2)(2)(2)");
    EXPECT_EQ(db.lTypeNo, 9);
    EXPECT_EQ(bytes("TypeFtp.tf"), "4|Old|\r\n5|Work|\r\n6|Work(2)|\r\n7|Work(2)(2)|\r\n8|Work(2)(2)(2)|\r\n"
                                   "9|Work(2)(2)(2)|\r\n");
    const KeyedCollection &folders = clsGestionData::folderCollection();
    ASSERT_EQ(folders.count(), 6) << "the caches are reloaded";
    EXPECT_EQ(folders.item(2), "Work");
    ASSERT_TRUE(db.SetCollectionSec("1"));
    EXPECT_EQ(db.sTypeFtp, "Old");
}

TEST_F(SiteDatabaseTest, RewritesGoThroughATemporaryFileAndFailuresAreReported)
{
    ASSERT_TRUE(db.addFolder("Work"));
    ASSERT_TRUE(addSite("A", "1"));
    ASSERT_TRUE(db.SaveDataChange("A|h|21|u||1|1||1|", false, true, ""));
    ASSERT_TRUE(db.DeleteData("type", "Work"));
    QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    EXPECT_EQ(files, QStringList({"TypeFtp.tf", "ftp.tf"}));

    ASSERT_TRUE(QFile::remove(dir.filePath("ftp.tf")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("ftp.tf"));
    const FileResult result = addSite("B", "1");
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error().contains("ftp.tf")) << result.error().toStdString();
    EXPECT_FALSE(db.SetFirstData().ok());
}
