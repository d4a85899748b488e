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

// A fake program tree under a temporary folder: executables and product data where a build or an
// install puts them.
class ProgramTree {
public:
    const std::string& Root() const { return home_.Root(); }
    std::string Program(const std::string& relative, bool executable = true) {
        const std::string path = Root() + "/" + relative;
        testing::WriteFileBytes(path, "#!/bin/sh\n");
        std::filesystem::permissions(
            path, executable ? std::filesystem::perms::owner_all : std::filesystem::perms::owner_read);
        return path;
    }
    void ProductData(const std::string& relativeDir) {
        testing::WriteFileBytes(Root() + "/" + relativeDir + "/config.xml", "<config/>");
    }

private:
    TempHome home_;
};

TEST(AppContextTest, ProductDataBesideTheExecutableOrInShare) {
    ProgramTree tree;
    const std::string r = tree.Root();
    tree.ProductData("build/bin");          // build tree
    tree.ProductData("usr/share/quorvel");  // installed tree
    tree.ProductData("both/bin");           // a build copied into a prefix: beside wins
    tree.ProductData("both/share/quorvel");
    std::filesystem::create_directories(r + "/odd/share/quorvel/config.xml");  // a folder is no file
    std::filesystem::create_directories(r + "/bare/bin");

    const std::pair<std::string, std::string> cases[] = {
        {r + "/build/bin/", r + "/build/bin/"},       {r + "/build/bin", r + "/build/bin/"},
        {r + "/usr/bin/", r + "/usr/share/quorvel/"}, {r + "/usr/bin", r + "/usr/share/quorvel/"},
        {r + "/both/bin/", r + "/both/bin/"},         {r + "/odd/bin/", r + "/odd/bin/"},
        {r + "/bare/bin/", r + "/bare/bin/"},         {"", ""},
    };
    for (const auto& [exeDir, programDir] : cases) EXPECT_EQ(ProgramDirFor(exeDir), programDir) << exeDir;

    EXPECT_TRUE(IsInstalledProgram(r + "/usr/bin/quorvel"));
    EXPECT_FALSE(IsInstalledProgram(r + "/build/bin/quorvel"));
    EXPECT_FALSE(IsInstalledProgram(r + "/both/bin/quorvel"));
    EXPECT_FALSE(IsInstalledProgram(r + "/bare/bin/quorvel"));
    EXPECT_FALSE(IsInstalledProgram("quorvel"));
}

TEST(AppContextTest, AutostartNamesTheInstalledProgram) {
    ProgramTree tree;
    const std::string r = tree.Root();
    tree.ProductData("build/bin");
    tree.ProductData("usr/share/quorvel");
    tree.ProductData("opt/quorvel/share/quorvel");
    const std::string built = tree.Program("build/bin/quorvel");
    const std::string installed = tree.Program("usr/bin/quorvel");
    tree.Program("other/bin/quorvel");  // on PATH, but a build tree without data
    tree.Program("noexec/bin/quorvel", false);
    tree.Program("cwd/quorvel");
    const std::string target = tree.Program("opt/quorvel/bin/quorvel");
    std::filesystem::create_directories(r + "/local/bin");
    std::filesystem::create_symlink(target, r + "/local/bin/quorvel");  // a link into an installed tree

    struct Case {
        std::string executable, searchPath, expected;
    };
    const Case cases[] = {
        // An installed program names itself, whatever PATH holds.
        {installed, r + "/opt/quorvel/bin", installed},
        // From a build tree: the first installed copy on PATH; relative and empty entries, files that are
        // not executable and copies outside an installed tree are passed over.
        {built, "cwd::" + r + "/noexec/bin:" + r + "/other/bin:" + r + "/usr/bin", installed},
        {built, r + "/local/bin:" + r + "/usr/bin", r + "/local/bin/quorvel"},
        {built, r + "/build/bin", built},
        {built, "", built},
        {r + "/build/bin/quorvelctl", r + "/usr/bin", r + "/build/bin/quorvelctl"},  // no such program there
        {"", r + "/usr/bin", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AutostartProgramPathFor(c.executable, c.searchPath), c.expected)
            << c.executable << " with PATH " << c.searchPath;
    }
}

TEST(AppContextTest, JoinPath) {
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
}

}  // namespace
}  // namespace quorvel
