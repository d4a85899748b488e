#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "StoreFixture.h"
#include "store/ButtonCodes.h"
#include "store/ProfileLoader.h"

namespace quorvel {
namespace {

using testing::StoreTest;

// A settings writer (UI thread), a profile reader (worker) and a device switcher share one database for
// about two seconds. Every operation must succeed: a switch is one locked step, so the others never see
// the connection closed.
TEST_F(StoreTest, ThreeThreadsShareTheDatabase) {
    ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
    ASSERT_TRUE(db_.SwitchToDevice(folder_.path(), "second"));
    ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);

    std::atomic<bool> stop{false};
    std::atomic<int> failures{0};
    std::atomic<long> writes{0}, reads{0}, switches{0};

    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            const std::string value = std::to_string(i);
            if (!db_.SetConfig(1, "dpi_group0_value", value)) ++failures;
            std::string back;
            if (!db_.GetConfig(1, "dpi_group0_value", back)) ++failures;
            KeyAssignmentRecord key;
            key.profile = 1;
            key.key_code = i % 6;
            key.macro_type = kMouseFunction;
            key.macro_value = 1 + i % 8;
            if (db_.SaveKeyAssignment(key) <= 0) ++failures;
            ++writes;
        }
    });
    std::thread reader([&] {
        while (!stop) {
            std::vector<ProfileRecord> profiles;
            if (db_.ListProfiles(profiles) != 4) ++failures;
            if (db_.GetActiveProfile() != 1) ++failures;
            EncodeKeyTable(db_, 1);
            ++reads;
        }
    });
    std::thread switcher([&] {
        for (int i = 0; !stop; ++i) {
            if (!db_.SwitchToDevice(folder_.path(), i % 2 == 0 ? "model" : "second")) ++failures;
            ++switches;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    std::this_thread::sleep_for(std::chrono::seconds(2));
    stop = true;
    writer.join();
    reader.join();
    switcher.join();

    EXPECT_EQ(failures.load(), 0);
    EXPECT_GT(writes.load(), 0);
    EXPECT_GT(reads.load(), 0);
    EXPECT_GT(switches.load(), 0);
    EXPECT_TRUE(db_.IsOpened());
}

TEST(DeviceDatabase, OneInstanceWhoeverAsksFirst) {
    DeviceDatabase* seen[2] = {nullptr, nullptr};
    std::thread a([&] { seen[0] = &DeviceDatabase::Instance(); });
    std::thread b([&] { seen[1] = &DeviceDatabase::Instance(); });
    a.join();
    b.join();
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0], &DeviceDatabase::Instance());
}

}  // namespace
}  // namespace quorvel
