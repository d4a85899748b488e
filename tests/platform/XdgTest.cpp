#include "platform/Xdg.h"

#include <gtest/gtest.h>

#include "platform/TempHome.h"

namespace quorvel {
namespace {

using testing::ScopedEnv;

TEST(XdgTest, AbsoluteVariablesWinRelativeOnesFallBackToHome) {
    struct Case {
        const char* configHome;  // null: unset
        const char* dataHome;
        std::string config, data;
    };
    const Case cases[] = {
        {"/x/cfg", "/x/data", "/x/cfg", "/x/data"},
        {"/x/cfg/", "/x/data//", "/x/cfg", "/x/data"},
        {nullptr, nullptr, "/home/q/.config", "/home/q/.local/share"},
        {"relative/cfg", "", "/home/q/.config", "/home/q/.local/share"},
    };
    for (const Case& c : cases) {
        ScopedEnv env;
        env.Set("HOME", "/home/q");
        if (c.configHome) env.Set("XDG_CONFIG_HOME", c.configHome);
        else env.Unset("XDG_CONFIG_HOME");
        if (c.dataHome) env.Set("XDG_DATA_HOME", c.dataHome);
        else env.Unset("XDG_DATA_HOME");
        EXPECT_EQ(XdgConfigHome(), c.config) << (c.configHome ? c.configHome : "(unset)");
        EXPECT_EQ(XdgDataHome(), c.data) << (c.dataHome ? c.dataHome : "(unset)");
    }
}

TEST(XdgTest, RuntimeDirIsEmptyUnlessAbsolute) {
    ScopedEnv env;
    env.Set("XDG_RUNTIME_DIR", "run");
    EXPECT_EQ(XdgRuntimeDir(), "");
    env.Set("XDG_RUNTIME_DIR", "/run/user/1000");
    EXPECT_EQ(XdgRuntimeDir(), "/run/user/1000");
}

TEST(XdgTest, HomeComesFromThePasswordDatabaseWithoutHomeVariable) {
    ScopedEnv env;
    env.Unset("HOME");
    std::string home = HomeDir();
    ASSERT_FALSE(home.empty());
    EXPECT_EQ(home.front(), '/');
}

TEST(XdgTest, SafePathSegment) {
    const std::pair<std::string, std::string> cases[] = {
        {"Quorvel Mouse", "Quorvel Mouse"}, {"", "_"},     {".", "_"}, {"..", "_"},
        {"a/b", "a_b"},                     {"鼠标", "鼠标"}, {"..a", "..a"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(SafePathSegment(in), out) << in;
}

}  // namespace
}  // namespace quorvel
