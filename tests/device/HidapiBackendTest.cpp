// The hidapi backend on this machine (no mouse attached: finding nothing is fine).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "device/HidapiBackend.h"

namespace quorvel {
namespace {

TEST(HidapiBackendTest, EnumeratesWhateverIsThere) {
    HidapiBackend backend;
    ASSERT_TRUE(backend.Initialised());
    for (const HidDeviceInfo& info : backend.Enumerate(0, 0)) {
        EXPECT_FALSE(info.path.empty());
        EXPECT_GE(info.interfaceNumber, -1);
    }
    EXPECT_TRUE(backend.Enumerate(0xFFFE, 0xFFFE).empty()) << "no such product";
}

TEST(HidapiBackendTest, OpenFailuresSayWhy) {
    HidapiBackend backend;
    HidOpenError error = HidOpenError::None;
    EXPECT_EQ(backend.Open("/dev/hidraw-quorvel-missing", &error), nullptr);
    EXPECT_EQ(error, HidOpenError::Gone);

    if (geteuid() == 0) GTEST_SKIP() << "root opens everything; the permission case needs a normal user";
    auto locked = std::filesystem::temp_directory_path() / ("quorvel-locked-" + std::to_string(getpid()));
    { std::ofstream(locked.string()) << "x"; }
    chmod(locked.c_str(), 0);
    EXPECT_EQ(backend.Open(locked.string(), &error), nullptr);
    EXPECT_EQ(error, HidOpenError::Permission);
    std::filesystem::remove(locked);
}

TEST(HidapiBackendTest, NullHandlesFailQuietly) {
    HidapiBackend backend;
    uint8_t buffer[65] = {};
    EXPECT_EQ(backend.Write(nullptr, buffer, 33), -1);
    EXPECT_EQ(backend.ReadTimeout(nullptr, buffer, 33, 0), -1);
    EXPECT_EQ(backend.SendFeature(nullptr, buffer, 33), -1);
    EXPECT_EQ(backend.GetFeature(nullptr, buffer, 33), -1);
    EXPECT_EQ(backend.ProductString(nullptr), "");
    uint16_t page = 9, usage = 9;
    backend.Usage(nullptr, &page, &usage);
    EXPECT_EQ(page, 0);
    backend.Close(nullptr);
}

// The node is read and written directly, and one wait covers several nodes and the wake-up. A FIFO stands
// in for a hidraw node here: it is polled, read and written the same way.
TEST(HidapiBackendTest, WaitsOnSeveralNodesAndTheWake) {
    HidapiBackend backend;
    ASSERT_TRUE(backend.WaitsForInput());
    auto dir = std::filesystem::temp_directory_path() / ("quorvel-hidraw-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string quiet = (dir / "quiet").string(), talking = (dir / "talking").string();
    ASSERT_EQ(mkfifo(quiet.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(talking.c_str(), 0600), 0);
    HidHandle* a = backend.Open(quiet);
    HidHandle* b = backend.Open(talking);
    ASSERT_TRUE(a && b);

    backend.WakeWaiter();
    backend.WaitForInput({a, b}, -1);  // the wake ends it
    backend.WaitForInput({a, b}, 0);   // and is used up

    std::thread sender([&] {
        const uint8_t report[] = {0xC2, 0x24};
        EXPECT_EQ(backend.Write(b, report, sizeof report), 2);
    });
    backend.WaitForInput({a, b}, -1);
    sender.join();
    uint8_t buffer[65] = {};
    EXPECT_EQ(backend.ReadTimeout(a, buffer, sizeof buffer, 0), 0);
    ASSERT_EQ(backend.ReadTimeout(b, buffer, sizeof buffer, 0), 2);
    EXPECT_EQ(buffer[0], 0xC2);
    EXPECT_EQ(buffer[1], 0x24);
    backend.Close(a);
    backend.Close(b);
    std::filesystem::remove_all(dir);
}

TEST(HidapiBackendTest, HotplugWatchStartsAndStops) {
    HidapiBackend backend;
    backend.WatchHotplug([](const HidHotplugEvent&) {});
    backend.WatchHotplug([](const HidHotplugEvent&) {});  // replaces the watcher
    backend.WatchHotplug(nullptr);
    backend.WatchHotplug([](const HidHotplugEvent&) {});
}  // the destructor stops the last one

}  // namespace
}  // namespace quorvel
