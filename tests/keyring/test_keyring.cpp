// Saved passwords and the desktop's keyring: with a real keyring the site
// line holds no password and the keyring follows every change of the site;
// a password another copy wrote into the file still works and moves to the
// keyring; without a keyring (no bus, or one that cannot be unlocked) the
// file keeps the password and the log says so once.
#include "FtpServer.h"
#include "KeyringDaemon.h"
#include "ProcessRun.h"
#include "WindowTestSupport.h"
#include "mainwindow/MainWindowApi.h"
#include "mainwindow/frmconc.h"
#include "platform/Keyring.h"
#include "session/clsFTPClient.h"
#include "settings/StringTable.h"
#include "sites/SiteKeyring.h"
#include "sites/SiteRecord.h"
#include "sites/clsGestionData.h"
#include "sites/frmManager.h"
#include "sites/frmWizard.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

constexpr int PasswordField = 5;
constexpr int NoKeyringId = 893;

// The address book of the test's program folder, the keyring as it stands,
// and the notices of the run.
class AddressBook : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        keyring::resetForTests();
        keyring::setNoticeSink([this] { ++notices; });
        writeFile(programDir.filePath("TypeFtp.tf"), "1|Work|\r\n2|Home|\r\n");
        clsGestionData().SetFirstData();
    }
    void TearDown() override
    {
        keyring::setNoticeSink(nullptr);
        WindowTest::TearDown();
        clsGestionData().SetFirstData();
    }

    QStringList siteLines() const
    {
        if (!QFile::exists(programDir.filePath("ftp.tf")))
            return {};
        return QString::fromLatin1(readFile(programDir.filePath("ftp.tf"))).split("\r\n", Qt::SkipEmptyParts);
    }
    // Field `index` of site `number` as the file holds it.
    QString fileField(qint32 number, int index) const
    {
        for (const QString &line : siteLines())
            if (const auto site = siterecord::parseSite(line); site && site->number == number)
                return site->fields.at(index);
        return QStringLiteral("<no site %1>").arg(number);
    }
    static std::optional<QString> inKeyring(qint32 number)
    {
        return keyring::readPassword(sitekeyring::keyFor(number));
    }
    // A site as the windows save it: new, or an edit that may rename it.
    static FileResult save(const QString &name, const QString &password, bool edit = false,
                           const QString &former = QString(), const QString &folder = QStringLiteral("1"))
    {
        clsGestionData::SiteFields f;
        f.name = name;
        f.host = QStringLiteral("ftp.example");
        f.user = QStringLiteral("bob");
        f.password = password;
        f.folder = folder;
        QString line;
        if (const FileResult composed = clsGestionData::composeSiteLine(f, &line); !composed)
            return composed;
        return clsGestionData().SaveDataChange(line, false, edit, former);
    }
    // The password a window reads for a site picked by number.
    static QString loaded(qint32 number)
    {
        clsGestionData db;
        db.SetFirstData();
        return db.SetCollectionData(QString::number(number), true) ? db.sServerPass : QStringLiteral("<none>");
    }

    // The built tarvoftp-cli on this program folder; the bus and keyring of
    // the test are the program's too.
    ProcessRun cli(const QString &commands) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("TARVOFTP_PASSWORD"));
        return runProgram(QStringLiteral(TARVOFTP_CLI),
                          {"--data-dir", programDir.path(), "--lang", "en", "--timeout", "10", "-c", commands}, env,
                          QByteArray(), QString(), 60000);
    }

    int notices = 0;
};

// The main window's connect routine is not wanted here.
class NoStarter : public ConnectionStarter {
public:
    void premier_Connect(bool, std::function<void()> done) override { if (done) done(); }
};

QTreeWidgetItem *node(frmManager &m, const QString &key)
{
    for (QTreeWidgetItemIterator it(m.tvManager); *it; ++it)
        if (frmManager::nodeKey(*it) == key)
            return *it;
    return nullptr;
}

// ---- a keyring unlocked at login ---------------------------------------------------

// A keyring of the suite's own, unlocked at login or one that cannot be unlocked.
template <bool Unlocked>
class DaemonAddressBook : public AddressBook {
protected:
    static void SetUpTestSuite() { daemon = std::make_unique<KeyringDaemon>(Unlocked); }
    static void TearDownTestSuite() { daemon.reset(); }
    void SetUp() override
    {
        if (!daemon->running())
            GTEST_SKIP() << "no keyring can run here: " << daemon->why().toStdString();
        AddressBook::SetUp();
    }
    void TearDown() override
    {
        if (daemon->running())
            AddressBook::TearDown();
    }
    static inline std::unique_ptr<KeyringDaemon> daemon;
};

using Keyring = DaemonAddressBook<true>;

TEST_F(Keyring, APasswordFollowsItsSiteThroughEditsRenamesReplacementAndDeletion)
{
    const QString password = QStringLiteral("s3cr&t é");
    ASSERT_TRUE(save("Alpha", password));
    EXPECT_EQ(fileField(1, PasswordField), "") << "the file holds no password";
    EXPECT_EQ(inKeyring(1), password);
    EXPECT_EQ(loaded(1), password);
    {
        // Listing the sites asks the keyring nothing; the site loaded last can.
        clsGestionData db;
        db.SetFirstData();
        ASSERT_TRUE(db.SetCollectionData("1", false));
        EXPECT_EQ(db.sServerPass, "");
        EXPECT_EQ(db.sitePassword(), password);
    }

    const struct {
        const char *step;
        std::function<FileResult()> act;
        QList<qint32> numbers;          // sites on file afterwards
        QMap<qint32, QString> keyring;  // what the keyring holds for them ("" none)
    } steps[] = {
        {"renamed with a new password keeps its number",
         [] { return save("Beta", "n3w", true, "Alpha"); }, {1}, {{1, "n3w"}}},
        {"a cleared password leaves the keyring",
         [] { return save("Beta", "", true); }, {1}, {{1, ""}}},
        {"a site without a password comes and goes, the keyring unharmed",
         [] { FileResult r = save("Delta", "", false, {}, "2"); return r ? clsGestionData().DeleteData("ser", "Delta") : r; },
         {1}, {{2, ""}}},
        {"a password again, and a second site",
         [] { FileResult r = save("Beta", "again", true); return r ? save("Gamma", "g", false, {}, "2") : r; },
         {1, 2}, {{1, "again"}, {2, "g"}}},
        {"a new site under a taken name replaces it, password and all",
         [] { return save("Beta", "x"); }, {2, 3}, {{1, ""}, {2, "g"}, {3, "x"}}},
        {"a deleted site takes its password along",
         [] { return clsGestionData().DeleteData("ser", "Gamma"); }, {3}, {{2, ""}, {3, "x"}}},
        {"so do the sites of a deleted folder",
         [] { return clsGestionData().DeleteData("type", "Work"); }, {}, {{3, ""}}},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.step);
        ASSERT_TRUE(s.act().ok());
        QList<qint32> onFile;
        for (const QString &line : siteLines()) {
            onFile << siterecord::leadingNumber(line).value_or(-1);
            EXPECT_EQ(fileField(onFile.last(), PasswordField), "");
        }
        EXPECT_EQ(onFile, s.numbers);
        for (auto it = s.keyring.begin(); it != s.keyring.end(); ++it)
            EXPECT_EQ(inKeyring(it.key()).value_or(QString()), it.value()) << "site " << it.key();
    }
    EXPECT_EQ(notices, 0);
    EXPECT_TRUE(keyring::usable());
}

TEST_F(Keyring, APasswordWrittenInTheFileLoadsAndMovesToTheKeyringAtTheNextSave)
{
    // As a copy of the program without a keyring wrote it.
    writeFile(programDir.filePath("ftp.tf"),
              "4|Old|old.example|21|bob|" + siterecord::encodePassword("fromfile").toLatin1() + "|1|1||1|\r\n");
    EXPECT_EQ(loaded(4), "fromfile");
    EXPECT_EQ(inKeyring(4), std::nullopt);
    // The site manager stores a chosen local folder in the record as on file.
    clsGestionData db;
    const QString record = db.GetServerName("Server", "Old");
    ASSERT_TRUE(db.SaveDataChange(record + "|/tmp/here/", true, false, QString()).ok());
    EXPECT_EQ(fileField(4, PasswordField), "");
    EXPECT_EQ(fileField(4, 10), "/tmp/here/");
    EXPECT_EQ(inKeyring(4), "fromfile");
    EXPECT_EQ(loaded(4), "fromfile");
}

TEST_F(Keyring, TheSiteManagerAndTheWizardReadAndWriteTheKeyring)
{
    writeFile(programDir.filePath("ftp.tf"), "1|Alpha|alpha.example|21|bob||1|1||1|\r\n");
    clsGestionData().SetFirstData();
    clsFTPClient ftp;
    NoStarter starter;
    frmManager m(&ftp, &starter);
    m.tvManager->setCurrentItem(node(m, "TV1"));
    EXPECT_EQ(m.txtPass->text(), "");
    m.txtPass->setText("m4n4ger");
    m.cmdSavechange->click();
    EXPECT_EQ(fileField(1, PasswordField), "");
    EXPECT_EQ(inKeyring(1), "m4n4ger");
    // Away and back: the box shows the keyring's password.
    m.tvManager->setCurrentItem(node(m, "TP1"));
    EXPECT_EQ(m.txtPass->text(), "");
    m.tvManager->setCurrentItem(node(m, "TV1"));
    EXPECT_EQ(m.txtPass->text(), "m4n4ger");

    frmWizard wizard;
    wizard.iSelGroupe = 1;
    wizard.TXT[1]->setText("Wizard site");
    wizard.TXT[3]->setText("ann");
    wizard.txtPass->setText("w1z");
    while (wizard.step() < 5)
        wizard.cmdNext->click();
    wizard.cmdTerminer->click();
    EXPECT_EQ(fileField(2, PasswordField), "");
    EXPECT_EQ(inKeyring(2), "w1z");

    // Deleted from the manager: gone from the keyring.
    m.LoadDatabaseList();
    m.tvManager->setCurrentItem(node(m, "TV2"));
    prompt.push(platform::PromptAnswer::Yes);
    m.toolbarButton("delete")->trigger();
    EXPECT_EQ(inKeyring(2), std::nullopt);
    EXPECT_EQ(inKeyring(1), "m4n4ger");
}

TEST_F(Keyring, TheCommandLineSavesToTheKeyringAndConnectsWithIt)
{
    FtpServerOptions options;
    options.password = QStringLiteral("cl1-Pw");
    FtpServer server(options);
    ASSERT_TRUE(server.isRunning()) << server.errorText().toStdString();
    const ProcessRun added = cli(QStringLiteral("site-add Work Site %1 %2 %3 %4")
                                 .arg(server.host()).arg(server.port()).arg(server.user(), server.password()));
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(fileField(1, PasswordField), "");
    EXPECT_EQ(inKeyring(1), server.password());
    // And one an older copy wrote, password in the file.
    QFile book(programDir.filePath("ftp.tf"));
    ASSERT_TRUE(book.open(QIODevice::Append));
    book.write(QStringLiteral("2|Old|%1|%2|%3|%4|1|2||1|\r\n")
                   .arg(server.host()).arg(server.port()).arg(server.user(), siterecord::encodePassword(server.password()))
                   .toLatin1());
    book.close();
    for (const char *site : {"Site", "Old"}) {
        const ProcessRun opened = cli(QStringLiteral("open %1; pwd").arg(QLatin1String(site)));
        EXPECT_EQ(opened.status, 0) << site << ": " << opened.err.toStdString();
        EXPECT_TRUE(opened.out.contains("/")) << site;
        EXPECT_FALSE(opened.err.contains(LangStr(NoKeyringId + 1000))) << site;
    }
}

// ---- a keyring that cannot be unlocked ----------------------------------------------

using LockedKeyring = DaemonAddressBook<false>;

TEST_F(LockedKeyring, ARefusedUnlockLeavesThePasswordInTheFileAndSaysSoOnce)
{
    ASSERT_TRUE(save("Alpha", "abc"));
    ASSERT_TRUE(save("Beta", "de"));
    EXPECT_EQ(fileField(1, PasswordField), "363136323633");
    EXPECT_EQ(fileField(2, PasswordField), "36343635");
    EXPECT_EQ(loaded(1), "abc");
    EXPECT_EQ(notices, 1);
    EXPECT_FALSE(keyring::usable());
}

// ---- no session bus -----------------------------------------------------------------

using NoKeyring = AddressBook;

TEST_F(NoKeyring, PasswordsStayObfuscatedInTheFileAndTheWindowsLogSaysSoOnce)
{
    keyring::setNoticeSink(nullptr);
    frmconc window; // its log is where the notice goes
    ASSERT_TRUE(save("Alpha", "abc"));
    ASSERT_TRUE(save("Beta", "de"));
    ASSERT_TRUE(save("Alpha", "", true)); // no password: nothing to say
    EXPECT_EQ(fileField(2, PasswordField), "36343635");
    EXPECT_EQ(loaded(2), "de");
    EXPECT_EQ(window.RTBHeader->toPlainText().count(LangStr(NoKeyringId)), 1) << window.RTBHeader->toPlainText().toStdString();
}

TEST_F(NoKeyring, TheCommandLineSaysOnceAndConnectsWithThePasswordInTheFile)
{
    FtpServer server;
    ASSERT_TRUE(server.isRunning()) << server.errorText().toStdString();
    const auto add = [&server](const char *name) {
        return QStringLiteral("site-add Work %1 %2 %3 %4 %5")
            .arg(QLatin1String(name), server.host()).arg(server.port()).arg(server.user(), server.password());
    };
    const ProcessRun added = cli(add("One") + "; " + add("Two"));
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(added.err.count(LangStr(NoKeyringId + 1000)), 1) << added.err.toStdString();
    EXPECT_EQ(fileField(2, PasswordField), siterecord::encodePassword(server.password()));
    const ProcessRun opened = cli("open Two; pwd");
    EXPECT_EQ(opened.status, 0) << opened.err.toStdString();
}

} // namespace
