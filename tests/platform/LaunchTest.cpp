#include "platform/Launch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/TempHome.h"

namespace quorvel {
namespace {

using testing::ReadFileBytes;
using testing::TempHome;
using testing::WriteFileBytes;

// Waits for a file the started program writes; the limit only guards against a hang.
bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path) && !ReadFileBytes(path).empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(LaunchTest, AddressReachesTheOpenerAsOneUntouchedArgument) {
    TempHome home;
    const std::string out = home.Root() + "/args";
    const std::string opener = home.Root() + "/opener";
    WriteFileBytes(opener, "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + out + ".part'\nmv '" + out + ".part' '" + out + "'\n");
    chmod(opener.c_str(), 0700);

    const std::string address = "https://updates.example.com/q?a=1&b=$(touch " + home.Root() + "/pwned); echo x";
    ASSERT_TRUE(OpenWebAddress(address, opener));
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFileBytes(out), "1|" + address + "|");
    EXPECT_FALSE(std::filesystem::exists(home.Root() + "/pwned"));
}

TEST(LaunchTest, RefusesWhatCannotBeOpened) {
    EXPECT_FALSE(OpenWebAddress(""));
    EXPECT_FALSE(OpenWebAddress("--help"));
    EXPECT_FALSE(OpenWebAddress("https://example.com/", "/nonexistent/opener"));
    EXPECT_FALSE(LaunchDetached({}));
}

}  // namespace
}  // namespace quorvel
