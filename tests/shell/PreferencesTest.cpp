#include "shell/Preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "platform/Autostart.h"
#include "platform/TempHome.h"
#include "shell/AppContext.h"

namespace quorvel {
namespace {

using testing::ReadFileBytes;
using testing::TempHome;
using testing::WriteFileBytes;

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override { SetDeviceName("Quorvel Mouse"); }
    void TearDown() override { SetDeviceName(""); }
    std::string StoreFile() const { return home.Root() + "/config/Quorvel Mouse/preferences"; }
    TempHome home;
};

TEST_F(PreferencesTest, FirstStartCreatesTheStoreOnlyThroughReadsThatMayCreateIt) {
    EXPECT_EQ(PreferenceFolder(), home.Root() + "/config/Quorvel Mouse/");
    WriteExitMode(true);
    EXPECT_EQ(ReadDeviceType(), 0);
    EXPECT_FALSE(std::filesystem::exists(StoreFile())) << "writes and DeviceType never create the store";

    EXPECT_EQ(ReadLCID(), 0);
    EXPECT_TRUE(std::filesystem::exists(StoreFile()));
    EXPECT_EQ(ReadExitMode(), 0) << "the write before the store existed was dropped";
}

TEST_F(PreferencesTest, ValuesAreDecimalTexts) {
    ASSERT_EQ(ReadLCID(), 0);
    WriteLCID(2052);
    WriteDeviceType(101);
    WriteExitMode(true);
    WriteAutorunMinimize(false);
    EXPECT_EQ(ReadFileBytes(StoreFile()),
              "\"autorun_minimize\"=\"0\"\n\"DeviceType\"=\"101\"\n\"exit_mode\"=\"1\"\n\"LCID\"=\"2052\"\n");
    EXPECT_EQ(ReadLCID(), 2052);
    EXPECT_EQ(ReadDeviceType(), 101);
    EXPECT_EQ(ReadExitMode(), 1);

    const std::pair<const char*, int> texts[] = {{"2", 2}, {"12abc", 12}, {"", 0}, {"x1", 0}, {" 7", 7}};
    for (const auto& [textValue, number] : texts) {
        WritePreferenceText("exit_mode", textValue);
        EXPECT_EQ(ReadExitMode(), number) << textValue;
    }
}

TEST_F(PreferencesTest, AStoreThatCannotBeOpenedReadsAsDefaults) {
    WriteFileBytes(home.Root() + "/config/Quorvel Mouse", "not a folder");
    EXPECT_EQ(ReadLCID(), 2052);
    EXPECT_EQ(ReadExitMode(), 0);
    EXPECT_EQ(ReadDeviceType(), 0);
    WriteLCID(1033);  // silently not stored
    EXPECT_EQ(ReadLCID(), 2052);
}

TEST_F(PreferencesTest, AutorunStartsTheExecutableHidden) {
    ASSERT_EQ(ReadLCID(), 0);
    EXPECT_FALSE(IsAutorunOn());
    ASSERT_TRUE(SetAutorun(true));
    EXPECT_TRUE(IsAutorunOn());
    const std::string entry = ReadFileBytes(home.Root() + "/config/autostart/Quorvel Mouse.desktop");
    EXPECT_NE(entry.find("\nExec=" + DesktopExecValue(ExecutablePath(), {"-hide"}) + "\n"), std::string::npos)
        << entry;
    EXPECT_NE(entry.find(" -hide\n"), std::string::npos);

    WriteAutorunMinimize(true);
    ASSERT_TRUE(SetAutorun(false));
    EXPECT_FALSE(IsAutorunOn());
    EXPECT_EQ(ReadAutorunMinimize(), 0) << "turning autorun off resets the start-minimised choice";
}

TEST_F(PreferencesTest, WritersOnSeveralThreadsKeepEveryValue) {
    ASSERT_EQ(ReadLCID(), 0);
    std::vector<std::thread> threads;
    threads.emplace_back([] { for (int i = 1; i <= 10; ++i) WriteDeviceType(100 + i); });
    threads.emplace_back([] { for (int i = 1; i <= 10; ++i) WriteLCID(i % 2 ? 1033 : 2052); });
    threads.emplace_back([] { for (int i = 1; i <= 10; ++i) WriteExitMode(i % 2 == 0); });
    threads.emplace_back([] { for (int i = 0; i < 10; ++i) ReadDeviceType(); });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(ReadDeviceType(), 110);
    EXPECT_EQ(ReadLCID(), 2052);
    EXPECT_EQ(ReadExitMode(), 1);
}

}  // namespace
}  // namespace quorvel
