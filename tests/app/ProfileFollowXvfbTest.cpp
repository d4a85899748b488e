// Profiles that follow the game, end to end on a private Xvfb with a window manager: quorvelctl profile
// follow watches the window in front while two small programs of different classes are brought to the
// front with xdotool; its HID trace shows the whole-profile write of the bound profile, then the return to
// the profile chosen by hand, each the same bytes as a profile switch sends. Every wait is for an event (a
// line of output, a property of the root window, a window becoming active), never for a time.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "QuorvelProcessFixture.h"
#include "cli/TraceHelpers.h"

namespace quorvel::test {
namespace {

// A child process with its stdout on a pipe, read line by line.
class Child {
public:
    Child(const std::string& binary, const std::vector<std::string>& args,
          const std::map<std::string, std::string>& env, const std::string& errPath) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        pid_ = SpawnProcess(binary, args, env, fds[1], errPath);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }

    pid_t Pid() const { return pid_; }

    // Waits for a line of output that contains `text`; the lines before it are passed over. False on
    // time-out or end of output.
    bool WaitForLine(const std::string& text, std::string* line = nullptr) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (true) {
            for (size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
                const std::string got = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                seen_ += got + "\n";
                if (got.find(text) != std::string::npos) {
                    if (line) *line = got;
                    return true;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd fd{out_, POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) return false;
            char chunk[512];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) return false;
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

    // The exit status after SIGTERM (128 + signal when killed), or -1 when it did not end in time: its
    // output is read to the end (the pipe closes when it exits), then it is reaped.
    int Terminate() {
        ::kill(pid_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{out_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) return -1;
            char chunk[512];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) break;
            seen_.append(chunk, static_cast<size_t>(n));
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    const std::string& Seen() const { return seen_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
    std::string seen_;
};

std::vector<std::string> Requests(const std::vector<std::string>& trace) {
    std::vector<std::string> out;
    for (const std::string& line : trace)
        if (StartsWith(line, "write ") || StartsWith(line, "send_feature ")) out.push_back(line);
    return out;
}

class ProfileFollowXvfb : public QuorvelWindowTest {
protected:
    std::map<std::string, std::string> Env() const {
        std::map<std::string, std::string> env = GuiEnv(x_->Display(), {{"QUORVEL_HID_TRACE", TracePath()}});
        env.erase("QUORVEL_VIRTUAL");
        return env;
    }
    std::unique_ptr<Child> Window(const std::string& instance, const std::string& cls) {
        return std::make_unique<Child>(std::string(QUORVEL_BIN_DIR) + "/focus_window",
                                       std::vector<std::string>{instance, cls}, Env(), Path("window.stderr"));
    }
    // Brings the window of the class to the front and waits until the window manager made it active.
    void Activate(const std::string& cls) {
        ASSERT_FALSE(
            Xdotool(x_->Display(), "search --sync --classname " + cls + " windowactivate --sync").empty())
            << cls;
    }
};

TEST_F(ProfileFollowXvfb, BoundWindowWritesItsProfileAndAnotherBringsTheHandsBack) {
    const std::vector<std::string> mouse = {"--virtual", "102:wired"};
    auto args = [&](std::vector<std::string> words) {
        words.insert(words.begin(), mouse.begin(), mouse.end());
        return words;
    };
    ASSERT_EQ(Run(args({"profile", "bind", "2", "quorvel-game"})).exitCode, 0);
    TakeTrace();

    // Openbox runs its start-up command once it has taken the screen and made its first choice of focus;
    // the command marks the root window, so no window of the test is mapped while that choice is open.
    Child wm("/usr/bin/openbox",
             {"--sm-disable", "--startup", "xprop -root -f _QUORVEL_WM_READY 8s -set _QUORVEL_WM_READY 1"},
             Env(), Path("openbox.stderr"));
    ASSERT_GT(wm.Pid(), 0);
    ASSERT_TRUE(WaitForRootProperty(x_->Display(), "_QUORVEL_WM_READY", kWait))
        << ReadWhole(Path("openbox.stderr"));

    Child follow(std::string(QUORVEL_BIN_DIR) + "/quorvelctl", args({"profile", "follow"}), Env(),
                 Path("follow.stderr"));
    ASSERT_TRUE(follow.WaitForLine("following the window in front")) << ReadWhole(Path("follow.stderr"));
    TakeTrace();  // discovery and read-back

    auto game = Window("quorvel-game", "QuorvelGame");
    Activate("quorvel-game");
    std::string line;
    ASSERT_TRUE(follow.WaitForLine("in front: profile", &line))
        << follow.Seen() << ReadWhole(Path("follow.stderr"))
        << "requests since: " << Requests(TakeTrace()).size()
        << "; active: " << Xdotool(x_->Display(), "getactivewindow getwindowname");
    EXPECT_EQ(line, "quorvel-game in front: profile 2 (Profile 2)");
    const std::vector<std::string> toGame = Requests(TakeTrace());

    auto editor = Window("quorvel-editor", "QuorvelEditor");
    Activate("quorvel-editor");
    ASSERT_TRUE(follow.WaitForLine("in front: profile", &line))
        << follow.Seen() << ReadWhole(Path("follow.stderr"));
    EXPECT_EQ(line, "quorvel-editor in front: profile 1 (Profile 1)");
    const std::vector<std::string> back = Requests(TakeTrace());

    EXPECT_EQ(follow.Terminate(), 0) << ReadWhole(Path("follow.stderr"));
    EXPECT_TRUE(Requests(TakeTrace()).empty());

    // The same bytes as the profile switches of quorvelctl, on the same mouse and store.
    ASSERT_EQ(Run(args({"profile", "switch", "2"})).exitCode, 0);
    const std::vector<std::string> switch2 = CommandRequests(TakeTrace());
    ASSERT_EQ(Run(args({"profile", "switch", "1"})).exitCode, 0);
    const std::vector<std::string> switch1 = CommandRequests(TakeTrace());
    ASSERT_FALSE(switch2.empty());
    EXPECT_EQ(toGame, switch2);
    EXPECT_EQ(back, switch1);
}

TEST_F(ProfileFollowXvfb, WithoutADisplayFollowSaysWhy) {
    ASSERT_EQ(Run({"--virtual", "102:wired", "profile", "bind", "2", "quorvel-game"}).exitCode, 0);
    const CliRun run = Run({"--virtual", "102:wired", "profile", "follow"}, {{"DISPLAY", ""}});
    EXPECT_EQ(run.exitCode, 1) << run;
    EXPECT_NE(
        run.err.find("automatic switching needs an X11 or XWayland window: no X display is set (DISPLAY)"),
        std::string::npos)
        << run;
}

// Beside a running quorvel the bindings are read, never changed, and nothing watches for a second writer.
TEST_F(QuorvelProcessTest, BindingsBesideQuorvelAreReadOnly) {
    ASSERT_EQ(Run({"--virtual", "102", "profile", "bind", "2", "cs2"}).exitCode, 0);
    TakeTrace();
    auto gui = Start("");
    ASSERT_EQ(Status(), StatusOf(gui->Pid(), true)) << GuiErr();
    const std::string running = "quorvel (process " + std::to_string(gui->Pid()) + ") is running";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--virtual", "102", "profile", "bind", "3", "dota2"},
          std::vector<std::string>{"--virtual", "102", "profile", "unbind", "2", "cs2"}}) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.exitCode, 1) << run;
        EXPECT_NE(run.err.find(running), std::string::npos) << run;
    }
    const CliRun list = Run({"--json", "profile", "bindings"});
    ASSERT_EQ(list.exitCode, 0) << list;
    EXPECT_EQ(list.Json()[1]["apps"].dump(), R"(["cs2"])");
    EXPECT_TRUE(TakeTrace().empty());
    gui->Signal(SIGTERM);
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

}  // namespace
}  // namespace quorvel::test
