// Recording a macro from real key events: the macro page alone in a program on a private Xvfb
// (macroprobe/MacroPageProbe.cpp), xdotool typing "a", Shift+b and Enter into it through XTest as a
// keyboard would, and the events stored for the macro compared exactly. Skipped without Xvfb or xdotool;
// every wait has a time-out.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "XServer.h"

extern char** environ;

namespace quorvel::test {
namespace {

constexpr std::chrono::seconds kWait{20};

bool OnPath(const std::string& program) {
    for (const char* dir : {"/usr/bin", "/bin", "/usr/local/bin"}) {
        if (::access((std::string(dir) + "/" + program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (std::string& t : texts) out.push_back(t.data());
    out.push_back(nullptr);
    return out;
}

// A child whose stdin and stdout are pipes of this process; killed if it is still running at the end.
class Child {
public:
    Child(const std::string& binary, const std::map<std::string, std::string>& env) {
        int in[2], out[2];
        if (::pipe(in) != 0) return;
        if (::pipe(out) != 0) return;
        std::vector<std::string> envText, argText = {binary};
        for (const auto& [k, v] : env) envText.push_back(k + "=" + v);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        for (int fd : {in[0], in[1], out[0], out[1]}) posix_spawn_file_actions_addclose(&actions, fd);
        std::vector<char*> argv = Pointers(argText), envp = Pointers(envText);
        if (posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~Child() {
        if (pid_ > 0 && status_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdin_ >= 0) ::close(stdin_);
        if (stdout_ >= 0) ::close(stdout_);
    }
    bool Started() const { return pid_ > 0; }

    // The next line of its output; empty at the end of the output or after the time-out.
    std::string ReadLine(std::chrono::milliseconds timeout = kWait) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::string line;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return {};
            pollfd p{stdout_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char c = 0;
            if (::read(stdout_, &c, 1) != 1) return line;
            if (c == '\n') return line;
            line += c;
        }
    }
    void Write(const std::string& text) { (void)!::write(stdin_, text.data(), text.size()); }

    // The exit status, or -1 when it did not end in time.
    int Wait(std::chrono::milliseconds timeout = kWait) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (status_ < 0) {
            int raw = 0;
            const pid_t done = ::waitpid(pid_, &raw, WNOHANG);
            if (done == pid_) status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            if (done < 0 || std::chrono::steady_clock::now() >= deadline) return status_;
            if (status_ < 0) ReadLine(std::chrono::milliseconds(5));  // drains, and paces the wait
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    int status_ = -1;
    int stdin_ = -1, stdout_ = -1;
};

// xdotool on the display; its exit status.
int Xdotool(const std::string& display, std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    std::vector<std::string> envText = {"DISPLAY=" + display, "PATH=/usr/bin:/bin"};
    std::vector<char*> argv = Pointers(args), envp = Pointers(envText);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(MacroRecordingXvfb, TypedKeysAreStoredExactly) {
    if (!OnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed (Debian package xdotool)";
    XServer x;
    if (!x.Installed()) GTEST_SKIP() << "no X server: " << x.Why();
    ASSERT_TRUE(x.Running()) << x.Why();

    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("quorvel-macro-xvfb-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    std::map<std::string, std::string> env = {
        {"PATH", "/usr/bin:/bin"},
        {"HOME", home.string()},
        {"LC_ALL", "C"},
        {"XDG_CONFIG_HOME", (home / "config").string()},
        {"XDG_DATA_HOME", (home / "data").string()},
        {"XDG_RUNTIME_DIR", (home / "runtime").string()},
        {"DISPLAY", x.Display()},
        {"QT_QPA_PLATFORM", "xcb"},
    };
    for (const char* keep : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* v = std::getenv(keep)) env.emplace(keep, v);
    }
    std::vector<std::string> stored;
    {
        Child probe(std::string(QUORVEL_BIN_DIR) + "/macro_page_probe", env);
        ASSERT_TRUE(probe.Started());
        const std::string ready = probe.ReadLine();
        ASSERT_EQ(ready.rfind("ready ", 0), 0u) << "the probe said: " << ready;

        // Focus on the window, then the keys as a keyboard types them.
        ASSERT_EQ(Xdotool(x.Display(), {"windowfocus", ready.substr(6)}), 0);
        ASSERT_EQ(Xdotool(x.Display(), {"key", "--delay", "30", "a", "shift+b", "Return"}), 0);
        std::string line;
        do {
            line = probe.ReadLine();
        } while (!line.empty() && line != "events 8");
        ASSERT_EQ(line, "events 8") << "not every key reached the recording";

        probe.Write("stop\n");
        for (line = probe.ReadLine(); !line.empty() && line != "end"; line = probe.ReadLine()) {
            if (line.rfind("stored ", 0) == 0) stored.push_back(line.substr(7));
        }
        EXPECT_EQ(line, "end");
        EXPECT_EQ(probe.Wait(), 0);
    }
    std::error_code ec;
    std::filesystem::remove_all(home, ec);

    // Fixed delays of 50 ms: one before every key after the first, and one after the last. xdotool lets go
    // of Shift+b in the order it pressed them, Shift first.
    const std::vector<std::string> expected = {
        "2 65 ↓  A",     "1 50 50 ms", "3 65 ↑  A",      "1 50 50 ms", "2 160 ↓  Shift", "1 50 50 ms",
        "2 66 ↓  B",     "1 50 50 ms", "3 160 ↑  Shift", "1 50 50 ms", "3 66 ↑  B",      "1 50 50 ms",
        "2 13 ↓  Enter", "1 50 50 ms", "3 13 ↑  Enter",  "1 50 50 ms",
    };
    EXPECT_EQ(stored, expected);
}

}  // namespace
}  // namespace quorvel::test
