#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "SimTestUtil.h"
#include "sim/ControlPipe.h"

namespace quorvel {
namespace {

// Waits for the reader thread to act on what was written (it polls the pipe, so this is short).
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 500 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return condition();
}

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

TEST_F(ControlPipeTest, AnotherProcessUnplugsReplugsAndCutsTheLink) {
    auto backend = simtest::MakeBackend("102;101:wireless");
    std::string error;
    ASSERT_TRUE(backend->StartControl(path_, &error)) << error;
    VirtualMouse& wired = backend->Mouse(0);
    VirtualMouse& wireless = backend->Mouse(1);

    Send("unplug 1\nlink 2 0\n");
    EXPECT_TRUE(Eventually([&] { return !wired.Plugged() && !wireless.Linked(); }));
    EXPECT_TRUE(wireless.Plugged());
    // Two writers in turn: the pipe stays open between them.
    Send("replug 1\r\n");
    Send("link 2 1\n");
    EXPECT_TRUE(Eventually([&] { return wired.Plugged() && wireless.Linked(); }));
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

}  // namespace
}  // namespace quorvel
