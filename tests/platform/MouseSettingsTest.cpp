// Which program opens the desktop's mouse settings: the running desktop's own, else the first known one on
// the path.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/MouseSettings.h"
#include "platform/TempHome.h"

namespace quorvel {
namespace {

using testing::TempHome;
using testing::WriteFileBytes;

using Command = std::vector<std::string>;

class MouseSettingsTest : public ::testing::Test {
protected:
    // An executable file `name` in the folder `dir` of the temporary home.
    std::string Tool(const std::string& dir, const std::string& name, mode_t mode = 0755) {
        const std::string path = home_.Root() + "/" + dir + "/" + name;
        WriteFileBytes(path, "#!/bin/sh\n");
        ::chmod(path.c_str(), mode);
        return path;
    }
    std::string Dir(const std::string& dir) { return home_.Root() + "/" + dir; }

    TempHome home_;
};

TEST_F(MouseSettingsTest, TheRunningDesktopsToolComesFirst) {
    Tool("a", "gnome-control-center");
    Tool("b", "xfce4-mouse-settings");
    Tool("b", "systemsettings5");
    const std::string path = Dir("a") + ":" + Dir("b");
    struct Case {
        const char* desktops;
        Command expected;
    };
    const Case cases[] = {
        {"", {"gnome-control-center", "mouse"}},
        {"XFCE", {"xfce4-mouse-settings"}},
        {"xfce", {"xfce4-mouse-settings"}},  // names compared without case
        {"ubuntu:GNOME", {"gnome-control-center", "mouse"}},
        {"KDE", {"systemsettings5", "kcm_mouse"}},  // Plasma 6's program is missing, Plasma 5's is there
        {"X-Cinnamon", {"gnome-control-center", "mouse"}},  // no tool of its own: the first found
        {"Unknown:XFCE", {"xfce4-mouse-settings"}},
    };
    for (const Case& c : cases) EXPECT_EQ(MouseSettingsCommand(path, c.desktops), c.expected) << c.desktops;
}

TEST_F(MouseSettingsTest, OnlyExecutableFilesCount) {
    Tool("plain", "gnome-control-center", 0644);                                // not executable
    std::filesystem::create_directories(Dir("dir") + "/xfce4-mouse-settings");  // a folder of that name
    Tool("ok", "lxinput");
    EXPECT_EQ(MouseSettingsCommand(Dir("plain") + ":" + Dir("dir"), ""), Command{});
    EXPECT_EQ(MouseSettingsCommand("::" + Dir("plain") + "::" + Dir("dir") + ":" + Dir("ok") + ":", "GNOME"),
              Command{"lxinput"});
    EXPECT_EQ(MouseSettingsCommand("", ""), Command{});
    EXPECT_EQ(FindOnPath("lxinput", Dir("ok")), Dir("ok") + "/lxinput");
    EXPECT_EQ(FindOnPath("../ok/lxinput", Dir("plain")), "");  // names with a slash are not looked up
    EXPECT_EQ(FindOnPath("", Dir("ok")), "");
}

}  // namespace
}  // namespace quorvel
