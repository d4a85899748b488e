#pragma once
// quorvel as a separate process in a CliTest's throw-away home, on the offscreen platform or a private
// Xvfb: started, asked over its instance socket what it shows, and clicked with xdotool.

#include <cstdio>
#include <memory>
#include <thread>

#include "GuiProcess.h"
#include "XServer.h"
#include "cli/CliRunner.h"
#include "platform/TempHome.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

namespace quorvel::test {

constexpr std::chrono::seconds kWait{20};

class QuorvelProcessTest : public CliTest {
protected:
    std::string Socket() const { return Path("runtime") + "/com.quorvel.Quorvel.socket"; }
    std::string Lock() const { return Path("runtime") + "/com.quorvel.Quorvel.lock"; }
    std::string GuiErrPath() const { return Path("quorvel.stderr"); }
    std::string GuiTracePath() const { return Path("quorvel.trace"); }
    std::string GuiErr() const { return test::ReadWhole(GuiErrPath()); }

    // The environment quorvelctl gets from CliTest, with the display (or the offscreen platform).
    std::map<std::string, std::string> GuiEnv(const std::string& display,
                                              const std::map<std::string, std::string>& extra = {}) const {
        std::map<std::string, std::string> env = {
            {"PATH", "/usr/bin:/bin"},
            {"HOME", Path("home")},
            {"LC_ALL", "C"},
            {"XDG_CONFIG_HOME", Path("config")},
            {"XDG_DATA_HOME", Path("data")},
            {"XDG_RUNTIME_DIR", Path("runtime")},
            {"QUORVEL_VIRTUAL", "102"},
            {"QUORVEL_VIRTUAL_STATE", StatePath()},
            {"QUORVEL_HID_TRACE", GuiTracePath()},  // its own: quorvelctl's trace shows what quorvelctl sent
        };
        if (display.empty())
            env["QT_QPA_PLATFORM"] = "offscreen";
        else
            env["DISPLAY"] = display, env["QT_QPA_PLATFORM"] = "xcb";
        for (const char* keep : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
            if (const char* v = std::getenv(keep)) env.emplace(keep, v);
        }
        for (const auto& [k, v] : extra) env[k] = v;
        return env;
    }

    std::unique_ptr<GuiProcess> Start(const std::string& display, const std::vector<std::string>& args = {},
                                      const std::map<std::string, std::string>& extra = {}) {
        auto gui = std::make_unique<GuiProcess>(args, GuiEnv(display, extra), GuiErrPath());
        EXPECT_TRUE(gui->Started());
        return gui;
    }

    // The close button hides the window (into the tray where there is one) in the program started next.
    void UseHideOnClose() {
        testing::ScopedEnv env;
        env.Set("XDG_CONFIG_HOME", Path("config"));
        SetDeviceName("Quorvel Mouse");
        ReadExitMode();  // creates the store
        WritePreferenceText("exit_mode", "1");
        ASSERT_EQ(ReadExitMode(), 1);
    }

    // "quorvel <pid> visible|hidden" once the instance's event loop runs.
    std::string Status() { return test::AskInstance(Socket(), "status", kWait); }
    static std::string StatusOf(pid_t pid, bool visible) {
        return "quorvel " + std::to_string(pid) + (visible ? " visible" : " hidden");
    }

    void StartX() {
        x_ = std::make_unique<XServer>();
        // Only a missing Xvfb skips; one that is installed but does not start is a failure.
        if (!x_->Installed()) GTEST_SKIP() << "no X server for the window tests: " << x_->Why();
        ASSERT_TRUE(x_->Running()) << x_->Why();
        watcher_ = std::make_unique<MapWatcher>(x_->Display());
        ASSERT_TRUE(watcher_->Connected());
    }

    // Until the window shows a view whose description ("device tab 3 model 201") starts with `prefix`;
    // returns the last answer.
    std::string WaitForView(const std::string& prefix) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        std::string view;
        while (std::chrono::steady_clock::now() < deadline) {
            view = test::AskInstance(Socket(), "view", kWait);
            if (view.rfind(prefix, 0) == 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the worker's reports arrive
        }
        return view;
    }

    std::unique_ptr<XServer> x_;
    std::unique_ptr<MapWatcher> watcher_;
};

// xdotool on the test's display; its first line of output (empty when it failed).
inline std::string Xdotool(const std::string& display, const std::string& arguments) {
    const std::string command = "DISPLAY=" + display + " xdotool " + arguments + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = ::pclose(pipe);
    std::string out = read ? line : "";
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return status == 0 ? (out.empty() ? "ok" : out) : std::string();
}

// The tests that look at windows: each on its own Xvfb, started before the test body runs.
class QuorvelWindowTest : public QuorvelProcessTest {
protected:
    void SetUp() override {
        QuorvelProcessTest::SetUp();
        StartX();
    }
};

}  // namespace quorvel::test
