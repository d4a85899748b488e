// The hidapi backend on this machine (no mouse attached: finding nothing is fine) and the backend choice.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "device/BackendFactory.h"
#include "device/HidTrace.h"
#include "device/HidapiBackend.h"
#include "sim/VirtualBackend.h"

namespace quorvel {
namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        if (old) old_ = old, had_ = true;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (had_) {
            setenv(name_.c_str(), old_.c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }

private:
    std::string name_, old_;
    bool had_ = false;
};

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

TEST(HidapiBackendTest, HotplugWatchStartsAndStops) {
    HidapiBackend backend;
    backend.WatchHotplug([](const HidHotplugEvent&) {});
    backend.WatchHotplug([](const HidHotplugEvent&) {});  // replaces the watcher
    backend.WatchHotplug(nullptr);
    backend.WatchHotplug([](const HidHotplugEvent&) {});
}  // the destructor stops the last one

TEST(HidapiBackendChoice, EnvironmentAndOptions) {
    ProductConfig product;
    ASSERT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &product));
    auto trace = std::filesystem::temp_directory_path() / ("quorvel-choice-" + std::to_string(getpid()) + ".trace");
    ScopedEnv noVirtual("QUORVEL_VIRTUAL", nullptr);
    ScopedEnv noState("QUORVEL_VIRTUAL_STATE", nullptr);
    ScopedEnv noTrace("QUORVEL_HID_TRACE", nullptr);
    std::string error;

    auto plain = CreateBackend(BackendOptions{}, &error);
    ASSERT_TRUE(plain) << error;
    EXPECT_NE(dynamic_cast<HidapiBackend*>(plain.get()), nullptr);
    EXPECT_FALSE(VirtualRequested());

    auto byOption = CreateBackend(BackendOptions{"102:wired", &product, ""}, &error);
    ASSERT_TRUE(byOption) << error;
    EXPECT_NE(dynamic_cast<VirtualBackend*>(byOption.get()), nullptr);

    {
        ScopedEnv env("QUORVEL_VIRTUAL", "201:wireless");
        ScopedEnv traced("QUORVEL_HID_TRACE", trace.c_str());
        EXPECT_TRUE(VirtualRequested());
        auto both = CreateBackend(BackendOptions{"", &product, ""}, &error);
        ASSERT_TRUE(both) << error;
        auto* t = dynamic_cast<HidTrace*>(both.get());
        ASSERT_NE(t, nullptr);
        EXPECT_NE(dynamic_cast<VirtualBackend*>(t->Inner()), nullptr);
    }

    error.clear();
    EXPECT_FALSE(CreateBackend(BackendOptions{"999:wired", &product, ""}, &error));
    EXPECT_NE(error.find("999"), std::string::npos) << error;

    EXPECT_FALSE(CreateBackend(BackendOptions{"", nullptr, "/nonexistent-dir/x.trace"}, &error));
    EXPECT_NE(error.find("/nonexistent-dir/x.trace"), std::string::npos) << error;
    std::filesystem::remove(trace);
}

}  // namespace
}  // namespace quorvel
