#include "platform/Autostart.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/TempHome.h"

namespace quorvel {
namespace {

using testing::ReadFileBytes;
using testing::TempHome;

TEST(AutostartTest, ExecValueQuotesByTheDesktopEntryRules) {
    struct Case {
        std::string executable;
        std::string expected;  // as it stands in the file
    };
    const Case cases[] = {
        {"/opt/quorvel/quorvel", "/opt/quorvel/quorvel -hide"},
        {"/opt/Quorvel Mouse/quorvel", "\"/opt/Quorvel Mouse/quorvel\" -hide"},
        // Inside quotes " ` $ \ take a backslash; then the string escapes double every backslash.
        {"/opt/a\"b$c`d\\e", "\"/opt/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e\" -hide"},
        {"/opt/100%/q", "/opt/100%%/q -hide"},
        {"/opt/it's/q", "\"/opt/it's/q\" -hide"},
        {"/opt/鼠标/q", "/opt/鼠标/q -hide"},
    };
    for (const Case& c : cases) EXPECT_EQ(DesktopExecValue(c.executable, {"-hide"}), c.expected) << c.executable;
}

TEST(AutostartTest, EntryIsWrittenUnderXdgConfigHomeAndRemoved) {
    TempHome home;
    const std::string path = home.Root() + "/config/autostart/Quorvel Mouse.desktop";
    EXPECT_EQ(AutostartEntryPath("Quorvel Mouse"), path);
    EXPECT_FALSE(AutostartEntryExists("Quorvel Mouse"));

    ASSERT_TRUE(WriteAutostartEntry("Quorvel Mouse", "/opt/Quorvel Mouse/quorvel", {"-hide"}));
    EXPECT_TRUE(AutostartEntryExists("Quorvel Mouse"));
    EXPECT_EQ(ReadFileBytes(path),
              "[Desktop Entry]\nType=Application\nName=Quorvel Mouse\n"
              "Exec=\"/opt/Quorvel Mouse/quorvel\" -hide\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");

    EXPECT_TRUE(RemoveAutostartEntry("Quorvel Mouse"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(RemoveAutostartEntry("Quorvel Mouse")) << "removing a missing entry is no failure";
}

TEST(AutostartTest, NameCannotEscapeTheAutostartFolder) {
    TempHome home;
    ASSERT_TRUE(WriteAutostartEntry("../x", "/bin/q", {}));
    EXPECT_TRUE(std::filesystem::exists(home.Root() + "/config/autostart/.._x.desktop"));
    EXPECT_FALSE(std::filesystem::exists(home.Root() + "/config/x.desktop"));
}

}  // namespace
}  // namespace quorvel
