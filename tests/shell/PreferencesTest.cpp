#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "platform/Autostart.h"
#include "platform/TempHome.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"

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

// "Start minimised" decides whether the entry starts the program without a window; the choice made
// before or after turning autorun on gives the same entry.
TEST_F(PreferencesTest, StartMinimisedDecidesWhetherTheAutorunEntryHidesTheWindow) {
    ASSERT_EQ(ReadLCID(), 0);
    const std::string path = home.Root() + "/config/autostart/Quorvel Mouse.desktop";
    const std::string shown = "\nExec=" + DesktopExecValue(ExecutablePath(), {}) + "\n";
    const std::string hidden = "\nExec=" + DesktopExecValue(ExecutablePath(), {"-hide"}) + "\n";
    struct Step {
        const char* what;
        std::function<bool()> act;
        const std::string* exec;  // null: no entry
    };
    const Step steps[] = {
        {"autorun on", [] { return SetAutorun(true); }, &shown},
        {"start minimised", [] { return SetAutorunMinimize(true); }, &hidden},
        {"start shown again", [] { return SetAutorunMinimize(false); }, &shown},
        {"autorun off", [] { return SetAutorun(false); }, nullptr},
        {"start minimised while off", [] { return SetAutorunMinimize(true); }, nullptr},
        {"autorun on again", [] { return SetAutorun(true); }, &hidden},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(step.act()) << step.what;
        EXPECT_EQ(IsAutorunOn(), step.exec != nullptr) << step.what;
        if (step.exec) {
            EXPECT_NE(ReadFileBytes(path).find(*step.exec), std::string::npos) << step.what;
        }
    }
    ASSERT_TRUE(SetAutorun(false));
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
