// The per-user device lock between real processes: the second one learns who holds the mouse, a waiter
// takes the lock when the holder ends (woken by the file's close, not by a clock), and a wait can be
// cancelled.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>

#include "TempHome.h"
#include "platform/DeviceLock.h"

namespace quorvel {
namespace {

using Result = DeviceLock::Result;

// A child process that holds the lock as `program` until its stdin-like pipe is closed.
class HoldingProcess {
public:
    HoldingProcess(const std::string& path, const char* program) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            DeviceLock lock(path);
            const char taken = lock.TryTake(program) == Result::kTaken ? 'y' : 'n';
            (void)!::write(ready[1], &taken, 1);
            char c;
            (void)!::read(release[0], &c, 1);  // until the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char taken = 'n';
        taken_ = ::read(ready[0], &taken, 1) == 1 && taken == 'y';
        ::close(ready[0]);
    }
    ~HoldingProcess() { End(); }
    bool Taken() const { return taken_; }
    pid_t Pid() const { return pid_; }
    // The holder ends (its lock goes with it); waits for the process.
    void End() {
        if (release_ >= 0) ::close(release_);
        release_ = -1;
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool taken_ = false;
};

TEST(DeviceLockTest, SecondProcessIsToldWhoHoldsTheMouseAndGetsItWhenTheHolderEnds) {
    testing::TempHome home;
    const std::string path = home.Root() + "/mouse.lock";
    HoldingProcess holder(path, "quorvelctl");
    ASSERT_TRUE(holder.Taken());

    DeviceLock second(path);
    EXPECT_EQ(second.TryTake("quorvel"), Result::kBusy);
    EXPECT_FALSE(second.Held());
    EXPECT_EQ(second.Holder(), "quorvelctl (process " + std::to_string(holder.Pid()) + ")");

    // The wait starts while the holder runs and ends because it ended.
    auto waited = std::async(std::launch::async, [&] { return second.Wait("quorvel"); });
    holder.End();
    EXPECT_EQ(waited.get(), Result::kTaken);
    EXPECT_TRUE(second.Held());
    EXPECT_EQ(second.Holder(), "quorvel (process " + std::to_string(::getpid()) + ")");

    // Released: the next one takes it at once; the file stays for it.
    second.Release();
    EXPECT_TRUE(std::filesystem::exists(path));
    HoldingProcess third(path, "quorvelctl");
    EXPECT_TRUE(third.Taken());
}

TEST(DeviceLockTest, AWaitEndsWhenCancelled) {
    testing::TempHome home;
    const std::string path = home.Root() + "/mouse.lock";
    HoldingProcess holder(path, "quorvelctl");
    ASSERT_TRUE(holder.Taken());
    DeviceLock waiting(path);
    auto waited = std::async(std::launch::async, [&] { return waiting.Wait("quorvel"); });
    waiting.Cancel();
    EXPECT_EQ(waited.get(), Result::kCancelled);
    EXPECT_FALSE(waiting.Held());
}

// What the holder wrote, as the second program shows it: only "<program> <pid>" is shown as it stands.
TEST(DeviceLockTest, HolderTextIsShownOnlyWhenItIsAProgramAndAProcess) {
    testing::TempHome home;
    const std::string path = home.Root() + "/mouse.lock";
    struct Case {
        const char* written;
        const char* shown;
    } cases[] = {
        {"quorvel 4711\n", "quorvel (process 4711)"},
        {"", "another program"},
        {"quorvel\n", "another program"},
        {"quorvel 47x1\n", "another program"},
        {"\x1b[2J 4711\n", "another program"},
        {"quorvel 4711", "another program"},  // cut short while being written
    };
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::trunc) << c.written;
        EXPECT_EQ(DeviceLock(path).Holder(), c.shown) << c.written;
    }
}

// A holder that removes the file as it ends (as the window's instance lock does) must not leave two
// holders: one that opened the removed file before, and one that made the file anew after.
TEST(DeviceLockTest, AFileRemovedByItsHolderIsNotTakenThroughAnOldOpen) {
    testing::TempHome home;
    const std::string path = home.Root() + "/app.lock";
    auto first = std::make_unique<DeviceLock>(path);
    ASSERT_EQ(first->TryTake("quorvel"), Result::kTaken);
    DeviceLock late(path);
    ASSERT_EQ(late.TryTake("quorvel"), Result::kBusy);  // holds the file open from here on
    std::filesystem::remove(path);
    first.reset();
    DeviceLock next(path);
    ASSERT_EQ(next.TryTake("quorvel"), Result::kTaken);  // the file made anew
    EXPECT_EQ(late.TryTake("quorvel"), Result::kBusy);
    EXPECT_FALSE(late.Held());
    next.Release();
    EXPECT_EQ(late.TryTake("quorvel"), Result::kTaken);
}

TEST(DeviceLockTest, ALinkInPlaceOfTheFileIsNotFollowed) {
    testing::TempHome home;
    const std::string target = home.Root() + "/elsewhere";
    std::ofstream(target) << "keep";
    const std::string path = home.Root() + "/mouse.lock";
    std::filesystem::create_symlink(target, path);
    DeviceLock lock(path);
    EXPECT_EQ(lock.TryTake("quorvel"), Result::kUnavailable);
    EXPECT_NE(lock.Error().find("cannot open " + path), std::string::npos) << lock.Error();
    std::ifstream in(target);
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "keep");
}

}  // namespace
}  // namespace quorvel
