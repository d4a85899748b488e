#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "SimTestUtil.h"
#include "sim/ControlPipe.h"

namespace quorvel {
namespace {

class ControlPipeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("quorvel-pipe-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "control").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void Send(const std::string& text) {
        int fd = open(path_.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(fd);
    }

    std::filesystem::path dir_;
    std::string path_;
};

// What the pipe makes the mice do is waited for as a program would see it: hot-plug events and the
// receiver's link reports on an open handle (a read without time-out).
TEST_F(ControlPipeTest, AnotherProcessUnplugsReplugsAndCutsTheLink) {
    auto backend = simtest::MakeBackend("102;101:wireless");
    std::mutex mutex;
    std::condition_variable changed;
    int removals = 0, arrivals = 0;
    backend->WatchHotplug([&](const HidHotplugEvent& e) {
        std::lock_guard<std::mutex> lock(mutex);
        ++(e.arrival ? arrivals : removals);
        changed.notify_all();
    });
    auto waitFor = [&](const int& count) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return count > 0; });
    };
    VirtualMouse& wired = backend->Mouse(0);
    VirtualMouse& wireless = backend->Mouse(1);
    HidHandle* receiver = backend->Open(wireless.PathOf(SimInterface::Mouse));
    ASSERT_NE(receiver, nullptr);
    uint8_t report[65] = {};
    std::string error;
    ASSERT_TRUE(backend->StartControl(path_, &error)) << error;

    Send("unplug 1\nlink 2 0\n");
    ASSERT_TRUE(waitFor(removals));
    ASSERT_GT(backend->ReadTimeout(receiver, report, sizeof report, -1), 0);
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 0x00) << "link lost";
    EXPECT_FALSE(wired.Plugged());
    EXPECT_TRUE(wireless.Plugged());
    // Two writers in turn: the pipe stays open between them.
    Send("replug 1\r\n");
    Send("link 2 1\n");
    ASSERT_TRUE(waitFor(arrivals));
    ASSERT_GT(backend->ReadTimeout(receiver, report, sizeof report, -1), 0);
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 0x01) << "link back";
    EXPECT_TRUE(wired.Plugged());
    backend->WatchHotplug(nullptr);
    backend->Close(receiver);
}

TEST_F(ControlPipeTest, LinesItDoesNotUnderstandChangeNothing) {
    auto backend = simtest::MakeBackend("101");
    ControlPipe pipe(path_, [&](size_t k) { return k == 1 ? &backend->Mouse(0) : nullptr; });
    for (const char* line : {"unplug", "unplug 0", "unplug 2", "unplug 1 1", "link 1 2", "battery 1 101 0",
                             "battery 1 50", "dpi x", "explode 1"}) {
        EXPECT_FALSE(pipe.Execute(line)) << line;
    }
    EXPECT_TRUE(backend->Mouse(0).Plugged());
    EXPECT_TRUE(pipe.Execute("unplug 1"));
    EXPECT_FALSE(backend->Mouse(0).Plugged());
}

TEST_F(ControlPipeTest, APathThatIsNotAPipeIsRefused) {
    auto backend = simtest::MakeBackend("101");
    std::string error;
    EXPECT_FALSE(backend->StartControl(dir_.string(), &error));
    EXPECT_NE(error.find(dir_.string()), std::string::npos) << error;
}

// Only the user's own pipe, closed to others and not reached through a link, drives the mice.
TEST_F(ControlPipeTest, APipeOthersCouldWriteOrALinkIsRefused) {
    auto backend = simtest::MakeBackend("101");
    std::string error;
    ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    ASSERT_EQ(chmod(path_.c_str(), 0622), 0);
    EXPECT_FALSE(backend->StartControl(path_, &error));
    EXPECT_NE(error.find("open to other users"), std::string::npos) << error;

    ASSERT_EQ(chmod(path_.c_str(), 0600), 0);
    const std::string link = (dir_ / "link").string();
    ASSERT_EQ(symlink(path_.c_str(), link.c_str()), 0);
    EXPECT_FALSE(backend->StartControl(link, &error));
    EXPECT_NE(error.find(link), std::string::npos) << error;

    EXPECT_TRUE(backend->StartControl(path_, &error)) << error;
}

TEST(ControlLine, ParsesCommandsAndRefusesTheRest) {
    const struct {
        const char* line;
        bool ok;
        const char* verb;
        size_t mouse;
        std::vector<int> args;
    } cases[] = {
        {"unplug 1", true, "unplug", 1, {}},
        {"replug 3", true, "replug", 3, {}},
        {"link 2 0", true, "link", 2, {0}},
        {"battery 1 100 2", true, "battery", 1, {100, 2}},
        {"  dpi   1 ", true, "dpi", 1, {}},
        {"unplug 0", false, "", 0, {}},
        {"unplug -1", false, "", 0, {}},
        {"link 1 2", false, "", 0, {}},
        {"battery 1 -1 0", false, "", 0, {}},
        {"dpi 1 x", false, "", 0, {}},
        {"", false, "", 0, {}},
    };
    for (const auto& c : cases) {
        ControlCommand command;
        EXPECT_EQ(ParseControlLine(c.line, &command), c.ok) << c.line;
        if (!c.ok) continue;
        EXPECT_EQ(command.verb, c.verb) << c.line;
        EXPECT_EQ(command.mouse, c.mouse) << c.line;
        EXPECT_EQ(command.args, c.args) << c.line;
    }
    ControlCommand command;
    EXPECT_FALSE(ParseControlLine("unplug 1" + std::string(kControlLineLimit, ' '), &command)) << "too long";
}

// A line without end is dropped up to its newline; the next line is carried out.
TEST_F(ControlPipeTest, AnOverlongLineIsSkipped) {
    auto backend = simtest::MakeBackend("101");
    std::mutex mutex;
    std::condition_variable changed;
    bool unplugged = false;
    backend->WatchHotplug([&](const HidHotplugEvent& e) {
        std::lock_guard<std::mutex> lock(mutex);
        unplugged = unplugged || !e.arrival;
        changed.notify_all();
    });
    std::string error;
    ASSERT_TRUE(backend->StartControl(path_, &error)) << error;
    Send(std::string(4 * kControlLineLimit, 'x') + " unplug 1\nunplug 1\n");
    std::unique_lock<std::mutex> lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return unplugged; }));
    lock.unlock();
    backend->WatchHotplug(nullptr);
    EXPECT_FALSE(backend->Mouse(0).Plugged());
}

}  // namespace
}  // namespace quorvel
