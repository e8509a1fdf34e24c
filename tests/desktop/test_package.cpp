// The build tree installed (cmake --install into a staging folder) and
// packaged (cpack -G DEB): the files a desktop needs, where it looks for
// them; the installed programs keep their files in the user's data folder;
// the package's dependencies come from the programs and it starts nothing.
#include "ProcessRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

const QString AppId = QStringLiteral(TARVO_APP_ID);
const QString BuildDir = QStringLiteral(TARVO_BUILD_DIR);

// Every file the install puts under the prefix, and nothing more.
QStringList expectedFiles()
{
    QStringList files = {
        QStringLiteral("bin/tarvoftp"),
        QStringLiteral("bin/tarvoftp-cli"),
        QStringLiteral("share/applications/") + AppId + QStringLiteral(".desktop"),
        QStringLiteral("share/metainfo/") + AppId + QStringLiteral(".metainfo.xml"),
        QStringLiteral("share/icons/hicolor/scalable/apps/") + AppId + QStringLiteral(".svg"),
        QStringLiteral("share/man/man1/tarvoftp.1.gz"),
        QStringLiteral("share/man/man1/tarvoftp-cli.1.gz"),
        QStringLiteral("share/bash-completion/completions/tarvoftp-cli"),
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId);
    files.sort();
    return files;
}

QStringList filesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QProcessEnvironment environmentWith(const QString &name, const QString &value)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(name, value);
    return env;
}

// The programs as a user starts them: their own HOME and data folder, no
// folder chosen.
QProcessEnvironment userEnvironment(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TARVOFTP_HOME"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    return env;
}

ProcessRun addSite(const QString &cli, const QProcessEnvironment &env)
{
    return runProgram(cli, {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("-c"),
                            QStringLiteral("site-add Work Demo 127.0.0.1")}, env);
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        stage = new QTemporaryDir;
        installResult = runProgram(QStringLiteral("cmake"),
            {QStringLiteral("--install"), BuildDir, QStringLiteral("--prefix"), QStringLiteral("/usr")},
            environmentWith(QStringLiteral("DESTDIR"), stage->path()));
    }
    static void TearDownTestSuite() { delete stage; }

    void SetUp() override { ASSERT_EQ(installResult.status, 0) << installResult; }

    static QString prefix() { return stage->filePath(QStringLiteral("usr")); }

    static inline QTemporaryDir *stage = nullptr;
    static inline ProcessRun installResult;
};

TEST_F(Installed, TheTreeHoldsWhatTheDesktopNeedsAndNothingElse)
{
    EXPECT_EQ(filesUnder(prefix()), expectedFiles());
    // The fixed sizes of the icon theme hold pictures of that size.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(prefix() + QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
    // The man pages as man reads them.
    const ProcessRun man = runProgram(QStringLiteral("gzip"),
                                      {QStringLiteral("-dc"), prefix() + QStringLiteral("/share/man/man1/tarvoftp-cli.1.gz")});
    EXPECT_TRUE(man.out.startsWith(QStringLiteral(".TH TARVOFTP\\-CLI 1"))) << man;
}

TEST_F(Installed, TheProgramsRunAndKeepTheUsersFilesInTheUsersDataFolder)
{
    const ProcessRun version = runProgram(prefix() + QStringLiteral("/bin/tarvoftp"), {QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0) << version;
    EXPECT_TRUE(version.out.contains(QStringLiteral(TARVO_PROJECT_VERSION))) << version;

    // Root may write to an installed bin/ folder; the files still go to the
    // user's data folder.
    QTemporaryDir home;
    const ProcessRun added = addSite(prefix() + QStringLiteral("/bin/tarvoftp-cli"), userEnvironment(home.path()));
    ASSERT_EQ(added.status, 0) << added;
    EXPECT_TRUE(QFileInfo::exists(home.filePath(QStringLiteral(".local/share/Tarvo/Tarvo FTP/ftp.tf"))));
    EXPECT_EQ(filesUnder(prefix()), expectedFiles());

    // The same program copied into a folder of its own is a portable copy:
    // its files beside it.
    QTemporaryDir portable;
    const QString copy = portable.filePath(QStringLiteral("tarvoftp-cli"));
    ASSERT_TRUE(QFile::copy(prefix() + QStringLiteral("/bin/tarvoftp-cli"), copy));
    QTemporaryDir otherHome;
    ASSERT_EQ(addSite(copy, userEnvironment(otherHome.path())).status, 0);
    EXPECT_TRUE(QFileInfo::exists(portable.filePath(QStringLiteral("ftp.tf"))));
    EXPECT_TRUE(filesUnder(otherHome.path()).isEmpty()) << filesUnder(otherHome.path()).join(' ').toStdString();
}

TEST(DebianPackage, HoldsTheInstalledTreeDependsOnWhatTheProgramsLinkAndStartsNothing)
{
    QTemporaryDir out;
    const ProcessRun cpack = runProgram(QStringLiteral("cpack"), {QStringLiteral("-G"), QStringLiteral("DEB"),
        QStringLiteral("--config"), BuildDir + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"), out.path()});
    ASSERT_EQ(cpack.status, 0) << cpack;
    const QStringList debs = QDir(out.path()).entryList({QStringLiteral("tarvoftp_*.deb")}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << cpack;
    const QString deb = out.filePath(debs.first());
    EXPECT_EQ(debs.first(), QStringLiteral("tarvoftp_%1_amd64.deb").arg(QStringLiteral(TARVO_PROJECT_VERSION)))
        << "the name Debian's tools give it";

    const ProcessRun contents = runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb});
    ASSERT_EQ(contents.status, 0) << contents;
    QStringList files;
    for (const QString &line : contents.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1Char('d')))
            files << line.section(QLatin1String("./usr/"), 1).section(QLatin1String(" -> "), 0, 0);
    }
    files.sort();
    EXPECT_EQ(files, expectedFiles());

    const ProcessRun depends = runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb,
                                                                       QStringLiteral("Depends")});
    ASSERT_EQ(depends.status, 0) << depends;
    // Versioned by dpkg-shlibdeps from the libraries the programs link.
    for (const char *library : {"libc6 (>=", "libqt6core6 (>=", "libqt6widgets6 (>=", "libqt6network6 (>=",
                                "libqt6keychain1 (>=", "libqt6multimedia6 (>="})
        EXPECT_TRUE(depends.out.contains(QString::fromLatin1(library))) << library << " in " << depends;

    // No maintainer script: installing it starts nothing.
    QTemporaryDir control;
    ASSERT_EQ(runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--control"), deb, control.path()}).status, 0);
    QStringList controlFiles = QDir(control.path()).entryList(QDir::Files);
    controlFiles.sort();
    EXPECT_EQ(controlFiles, (QStringList{QStringLiteral("control"), QStringLiteral("md5sums")}));

    // apt-get takes it as it is, its dependencies found in Debian.
    const ProcessRun apt = runProgram(QStringLiteral("apt-get"), {QStringLiteral("install"), QStringLiteral("--simulate"),
        QStringLiteral("--no-install-recommends"), deb});
    EXPECT_EQ(apt.status, 0) << apt;
}

} // namespace
