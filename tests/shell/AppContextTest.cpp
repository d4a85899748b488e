#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/TempHome.h"

namespace quorvel {
namespace {

using testing::TempHome;

TEST(AppContextTest, HideOptionIsACaseSensitiveSubstring) {
    const std::pair<const char*, bool> cases[] = {
        {"-hide", true},  {"--hide", true}, {"x-hidey", true}, {"/a -hide /b", true},
        {"-HIDE", false}, {"-hid", false},  {"hide", false},   {"", false},
    };
    for (const auto& [line, hidden] : cases) EXPECT_EQ(HasHideOption(line), hidden) << line;

    const char* argv[] = {"quorvel", "--verbose", "-hide"};
    EXPECT_TRUE(HasHideOption(3, argv));
    EXPECT_FALSE(HasHideOption(1, argv));
}

TEST(AppContextTest, DataFolderIsNamedAfterTheDevice) {
    TempHome home;
    SetDeviceName("Quorvel Mouse");
    EXPECT_EQ(DataFolder(), home.Root() + "/data/Quorvel Mouse Files/");
    EXPECT_EQ(DatabaseFolder(), home.Root() + "/data/Quorvel Mouse Files/db/");

    home.Env().Unset("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder(), home.Root() + "/.local/share/Quorvel Mouse Files/");

    SetDeviceName("鼠标/驱动");  // a separator in the caption must not add a folder level
    EXPECT_EQ(DataFolder(), home.Root() + "/.local/share/鼠标_驱动 Files/");
    SetDeviceName("");
}

TEST(AppContextTest, CreateFolderMakesAllParents) {
    TempHome home;
    const std::string db = home.Root() + "/data/Quorvel Mouse Files/db/";
    EXPECT_TRUE(CreateFolder(db));
    EXPECT_TRUE(std::filesystem::is_directory(db));
    EXPECT_TRUE(CreateFolder(db));
    testing::WriteFileBytes(home.Root() + "/blocker", "x");
    EXPECT_FALSE(CreateFolder(home.Root() + "/blocker/db/"));
}

TEST(AppContextTest, ProgramDirDefaultsToTheExecutablesFolder) {
    const std::string exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(std::filesystem::path(exe).filename(), "test_shell");
    EXPECT_EQ(ExecutableDir(), std::filesystem::path(exe).parent_path().string() + "/");

    SetProgramDir("/opt/quorvel");
    EXPECT_EQ(ProgramDir(), "/opt/quorvel/");
    SetProgramDir(ExecutableDir());
    EXPECT_EQ(ProgramDir(), ExecutableDir());
}

TEST(AppContextTest, JoinPath) {
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
}

}  // namespace
}  // namespace quorvel
