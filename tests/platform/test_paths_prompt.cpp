#include "platform/Paths.h"
#include "ScriptedPrompt.h"

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
