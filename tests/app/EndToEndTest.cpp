// The whole product as a user meets it: quorvel started on a private X display with two virtual mice, driven
// only by mouse clicks and key presses from xdotool, the first mouse unplugged and plugged in again from
// outside, then closed with the window's close button. What reached the mouse is compared with the
// expected requests byte for byte.
//
// Clicks are at the design's coordinates in the 1400 x 788 window (docs/images/main-window-*.png): a
// layout change that moves a control shows here as a step whose requests never arrive.

#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "QuorvelProcessFixture.h"
#include "platform/TempHome.h"
#include "shell/Preferences.h"

namespace quorvel {
namespace {

using test::kWait;
using test::Xdotool;

// The writes that change the mouse (report-family commands 0x02-0x09), in the order sent, without the
// "write 0001:0000" prefix. The reads of the start-up and of the model switches are left out: other tests
// compare those.
std::vector<std::string> ChangesIn(const std::string& tracePath) {
    std::vector<std::string> changes;
    std::ifstream in(tracePath);
    const std::string prefix = "write 0001:0000 00 0";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0 || line.size() < prefix.size() + 1) continue;
        const char command = line[prefix.size()];
        if (command >= '2' && command <= '9') changes.push_back(line.substr(16));
    }
    return changes;
}

class EndToEndTest : public test::QuorvelWindowTest {
public:  // for the steps' lambdas
    using QuorvelWindowTest::WaitForView;
    const std::string& Display() const { return x_->Display(); }

    void Click(int x, int y) {
        ASSERT_FALSE(Xdotool(x_->Display(), "mousemove --window " + window_ + " " + std::to_string(x) + " " +
                                                std::to_string(y) + " click 1")
                         .empty());
    }
    // The program's windows now shown (the main window, a menu, the saving and DPI indicators).
    std::set<std::string> Windows() {
        const std::string command = "DISPLAY=" + x_->Display() + " xdotool search --onlyvisible --pid " +
                                    std::to_string(pid_) + " 2>/dev/null";
        std::set<std::string> windows;
        if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
            char line[64];
            while (std::fgets(line, sizeof line, pipe)) windows.insert(line);
            ::pclose(pipe);
        }
        return windows;
    }
    // Until the program shows no more than `count` windows; false on time-out.
    bool WaitForWindowCount(size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (Windows().size() > count) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
    // Until a window that was not among `before` shows (a menu that opened); false on time-out.
    bool WaitForNewWindow(const std::set<std::string>& before) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const std::string& window : Windows())
                if (!before.count(window)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    void Control(const std::string& line) {
        std::ofstream pipe(Path("control"));
        pipe << line << '\n';
    }
    // Until `count` changes have reached the mouse in all (or the time is up); the changes seen.
    std::vector<std::string> WaitForChanges(size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        std::vector<std::string> changes = ChangesIn(GuiTracePath());
        while (changes.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            changes = ChangesIn(GuiTracePath());
        }
        return changes;
    }

    // Until the window's view starts with `view` and ends with `model` (the worker's switch arrives later).
    bool WaitForViewOf(const std::string& view, const std::string& model) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string now = test::AskInstance(Socket(), "view", kWait);
            if (now.rfind(view, 0) == 0 && now.size() >= model.size() &&
                now.compare(now.size() - model.size(), model.size(), model) == 0)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    std::string window_;
    pid_t pid_ = 0;
};

struct Step {
    const char* what;
    std::function<void(EndToEndTest&)> act;
    std::vector<std::string> sent;  // what reaches the mouse for it
};

TEST_F(EndToEndTest, AUserSetsUpAMouseUnplugsItAndQuits) {
    if (Xdotool(x_->Display(), "version").empty()) GTEST_SKIP() << "xdotool is not installed";
    {
        testing::ScopedEnv env;
        env.Set("XDG_CONFIG_HOME", Path("config"));
        ReadExitMode();        // creates the store
        WriteExitMode(false);  // the close button ends the program
    }
    auto gui = Start(x_->Display(), {},
                     {{"QUORVEL_VIRTUAL", "102;103:wireless"}, {"QUORVEL_VIRTUAL_CONTROL", Path("control")}});
    ASSERT_TRUE(watcher_->WaitForMap(gui->Pid(), kWait)) << GuiErr();
    ASSERT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();
    pid_ = gui->Pid();
    window_ = Xdotool(x_->Display(), "search --sync --onlyvisible --pid " + std::to_string(gui->Pid()));
    ASSERT_FALSE(window_.empty());

    // The first card: the buttons tab of the wired mouse.
    Click(358, 444);
    ASSERT_EQ(WaitForView("device tab 2 model 102"), "device tab 2 model 102") << GuiErr();

    const std::vector<Step> steps = {
        {"button 4 (Back) disabled",
         [](EndToEndTest& t) {
             t.Click(303, 308);   // the fourth row of the button list
             t.Click(1265, 590);  // Disable
         },
         {"00 09 00 01 0F 10 01 00 10 02 00 10 04 00 60 00 00 10 10 00 40 01 00 00 00 00 00 00 00 00 00 00 "
          "F8"}},
        {"DPI level 1 made active, then a new value for it from the slider, sent again by Apply",
         [](EndToEndTest& t) {
             t.Click(108, 270);  // the performance tab
             ASSERT_EQ(t.WaitForView("device tab 3"), "device tab 3 model 102");
             t.Click(408, 251);   // the first level's card
             t.Click(476, 365);   // the slider, a little to the right of 1600
             t.Click(1295, 367);  // Apply
         },
         {"00 03 00 01 25 05 0F 00 0F 00 1F 00 1F 00 2F 00 2F 00 3F 00 3F 00 7F 00 7F 00 07 02 07 02 00 00 "
          "4D",
          "00 03 00 01 25 05 81 00 81 00 1F 00 1F 00 2F 00 2F 00 3F 00 3F 00 7F 00 7F 00 07 02 07 02 00 00 "
          "31",
          "00 03 00 01 25 05 81 00 81 00 1F 00 1F 00 2F 00 2F 00 3F 00 3F 00 7F 00 7F 00 07 02 07 02 00 00 "
          "31"}},
        {"a macro recorded from the keys a, b and given to button 5 (Forward)",
         [](EndToEndTest& t) {
             t.Click(92, 329);  // the macro tab
             ASSERT_EQ(t.WaitForView("device tab 4"), "device tab 4 model 102");
             t.Click(279, 703);   // New
             t.Click(1090, 304);  // No delay
             t.Click(1220, 172);  // Record
             ASSERT_FALSE(Xdotool(t.Display(), "key --delay 50 a b").empty());
             t.Click(1220, 172);  // Stop
             t.Click(96, 210);    // the buttons tab
             ASSERT_EQ(t.WaitForView("device tab 2"), "device tab 2 model 102");
             t.Click(303, 357);  // the fifth row
             const std::set<std::string> before = t.Windows();
             t.Click(1265, 278);  // the macro list
             ASSERT_TRUE(t.WaitForNewWindow(before)) << "the list did not open";
             // Its first and only macro, taken with Enter: the list ignores a click that comes within a
             // double-click time of its opening, as it would be the opening click's own release.
             ASSERT_FALSE(Xdotool(t.Display(), "key Return").empty());
         },
         {"00 08 00 01 11 04 30 01 00 04 B0 01 00 04 30 01 00 05 B0 01 00 05 00 00 00 00 00 00 00 00 00 00 "
          "DA",
          "00 09 00 01 0F 10 01 00 10 02 00 10 04 00 60 00 00 90 24 01 40 01 00 00 00 00 00 00 00 00 00 00 "
          "8D"}},
        {"the lighting brightness raised to 75 %",
         [](EndToEndTest& t) {
             t.Click(95, 389);  // the lighting tab
             ASSERT_EQ(t.WaitForView("device tab 5"), "device tab 5 model 102");
             t.Click(583, 326);  // the brightness slider's fourth stop
         },
         {"00 05 00 01 18 02 32 07 FF 00 00 00 FF 00 00 00 FF 00 FF FF FF FF 00 FF 00 FF FF FF FF 00 00 00 "
          "2F"}},
        {"profile 2 picked: its whole set of settings goes to the mouse",
         [](EndToEndTest& t) {
             // The DPI indicator, shown at the screen's corner since the level changed, lies over the
             // profile button on this screen: wait, as a user would, until it and "Saving..." are gone.
             ASSERT_TRUE(t.WaitForWindowCount(1)) << "an indicator stayed";
             const std::set<std::string> before = t.Windows();
             t.Click(1304, 763);  // the profile button
             ASSERT_TRUE(t.WaitForNewWindow(before)) << "the profile list did not open";
             t.Click(1176, 604);  // Profile 2
         },
         {"00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 10 10 00 40 01 00 00 00 00 00 00 00 00 00 00 "
          "B0",
          "00 05 00 01 03 01 42 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
          "43",
          "00 03 00 01 25 15 07 00 07 00 0F 00 0F 00 1F 00 1F 00 3F 00 3F 00 7F 00 7F 00 EF 00 EF 00 00 00 "
          "D9",
          "00 04 00 01 12 FF 00 00 00 00 FF 00 FF 00 FF FF 00 FF 00 FF 00 FF FF 00 00 00 00 00 00 00 00 00 "
          "F7",
          "00 02 00 01 01 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
          "01",
          "00 06 00 01 05 01 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
          "02",
          "00 07 00 01 04 06 01 00 08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
          "0F"}},
    };

    std::vector<std::string> expected;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act(*this);
        if (HasFatalFailure()) return;
        expected.insert(expected.end(), step.sent.begin(), step.sent.end());
        EXPECT_EQ(WaitForChanges(expected.size()), expected) << GuiErr();
    }

    // Unplugged: the window goes back to the list and the core to the mouse still there; plugged in again,
    // the window returns to the mouse the user was on, which is read again, not written.
    Control("unplug 1");
    EXPECT_TRUE(WaitForViewOf("device-list", "model 103")) << GuiErr();
    Control("replug 1");
    EXPECT_TRUE(WaitForViewOf("device tab 2", "model 102"))
        << test::AskInstance(Socket(), "view", kWait) << GuiErr();
    EXPECT_EQ(ChangesIn(GuiTracePath()), expected);

    Click(1365, 25);  // the close button
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
    EXPECT_EQ(ChangesIn(GuiTracePath()), expected) << "nothing more was sent on the way out";
}

}  // namespace
}  // namespace quorvel
