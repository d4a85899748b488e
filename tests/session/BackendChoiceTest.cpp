// The backend choice of the composition root: hidapi, or the virtual mouse by option or environment,
// wrapped in the HID trace when asked.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "device/HidTrace.h"
#include "device/HidapiBackend.h"
#include "session/BackendChoice.h"
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

TEST(BackendChoice, EnvironmentAndOptions) {
    ProductConfig product;
    ASSERT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &product));
    auto trace =
        std::filesystem::temp_directory_path() / ("quorvel-choice-" + std::to_string(getpid()) + ".trace");
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
