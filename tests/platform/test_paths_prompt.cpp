#include "platform/Paths.h"
#include "ScriptedPrompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Paths, JoinPutsExactlyOneSeparator)
{
    EXPECT_EQ(platform::joinPath("/home/a", "f.txt"), "/home/a/f.txt");
    EXPECT_EQ(platform::joinPath("/home/a/", "f.txt"), "/home/a/f.txt");
    EXPECT_EQ(platform::joinPath("/", "f.txt"), "/f.txt");
}

TEST(Paths, DataDirOptionWinsOverEverything)
{
    QTemporaryDir dir;
    platform::initProgramDirectory({"prog", "--data-dir", dir.path() + "/sub/"});
    EXPECT_EQ(platform::programDirectory(), dir.path() + "/sub");
    platform::initProgramDirectory({"prog", "--data-dir=" + dir.path()});
    EXPECT_EQ(platform::programDirectory(), dir.path());
    platform::setProgramDirectory(QString());
}

TEST(Paths, PortableCopiesKeepTheirFilesBesideThemInstalledOnesInTheUsersDataFolder)
{
    QTemporaryDir root, data;
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QCoreApplication::setOrganizationName("Tarvo");
    QCoreApplication::setApplicationName("Tarvo FTP");
    const QString perUser = data.path() + "/Tarvo/Tarvo FTP";
    QDir(root.path()).mkpath("portable");
    QDir(root.path()).mkpath("prefix/bin");
    QDir(root.path()).mkpath("prefix/share/applications");
    QFile desktopFile(root.filePath("prefix/share/applications/" TARVO_APP_ID ".desktop"));
    ASSERT_TRUE(desktopFile.open(QIODevice::WriteOnly));
    desktopFile.close();
    QDir(root.path()).mkpath("locked");
    QFile::setPermissions(root.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const bool rootUser = QFileInfo(root.filePath("locked")).isWritable(); // root writes anywhere

    const struct { QString exeDir; QString expected; } layouts[] = {
        {root.filePath("portable"), root.filePath("portable")},
        {root.filePath("prefix/bin"), perUser},  // installed, even though its folder is writable
        {root.filePath("locked"), rootUser ? root.filePath("locked") : perUser},
    };
    for (const auto &l : layouts) {
        SCOPED_TRACE(l.exeDir.toStdString());
        EXPECT_EQ(platform::programDirectoryFor(l.exeDir), l.expected);
    }
    EXPECT_TRUE(platform::isInstalledCopy(root.filePath("prefix/bin")));
    EXPECT_TRUE(QFileInfo(perUser).isDir());
    QFile::setPermissions(root.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", savedData);
}

TEST(Prompt, WithoutAnAnswererTheSafeChoiceIsTaken)
{
    using namespace platform;
    EXPECT_EQ(ask("q", PromptButtons::YesNo, PromptIcon::Question), PromptAnswer::No);
    EXPECT_EQ(ask("q", PromptButtons::OkCancel, PromptIcon::Question), PromptAnswer::Cancel);
    ScriptedPrompt scripted;
    scripted.push(PromptAnswer::Yes);
    EXPECT_EQ(ask("delete?", PromptButtons::YesNo, PromptIcon::Question), PromptAnswer::Yes);
    ASSERT_EQ(scripted.texts(), QStringList{"delete?"});
}
