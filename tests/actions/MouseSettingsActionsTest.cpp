// Opening the desktop's mouse settings: the program found is started with its arguments as they are.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "actions/MouseSettingsActions.h"
#include "platform/TempHome.h"

namespace quorvel::test {
namespace {

using quorvel::testing::ReadFileBytes;
using quorvel::testing::TempHome;
using quorvel::testing::WriteFileBytes;

// Waits for the file the started program writes; the limit only guards against a hang.
bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 1000; ++i) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(MouseSettingsActions, StartsTheDesktopsProgram) {
    TempHome home;
    const std::string out = home.Root() + "/args";
    const std::string tool = home.Root() + "/bin/gnome-control-center";
    WriteFileBytes(
        tool, "#!/bin/sh\nprintf '%s|' \"$@\" > '" + out + ".part'\nmv '" + out + ".part' '" + out + "'\n");
    ::chmod(tool.c_str(), 0700);
    home.Env().Set("PATH", home.Root() + "/bin:/usr/bin:/bin");
    home.Env().Set("XDG_CURRENT_DESKTOP", "GNOME");

    EXPECT_TRUE(MouseSettingsAvailable());
    const ActionResult r = OpenMouseSettings();
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(r.tasks.empty());
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFileBytes(out), "mouse|");
}

TEST(MouseSettingsActions, RefusedWithoutAProgram) {
    TempHome home;
    home.Env().Set("PATH", home.Root() + "/empty");
    EXPECT_FALSE(MouseSettingsAvailable());
    const ActionResult r = OpenMouseSettings();
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("no mouse settings program"), std::string::npos) << r.message;
}

}  // namespace
}  // namespace quorvel::test
