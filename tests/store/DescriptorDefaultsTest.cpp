#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreFixture.h"
#include "store/DescriptorDefaults.h"

namespace quorvel {
namespace {

using testing::StoreTest;

const std::string kProductDir = QUORVEL_FIXTURE_DIR "/store/";

std::vector<std::string> Values(DeviceDatabase& db, int profile, const std::vector<std::string>& keys) {
    std::vector<std::string> values;
    for (const std::string& key : keys) {
        std::string value;
        db.GetConfig(profile, key, value);
        values.push_back(value);
    }
    return values;
}

const std::vector<std::string> kKeys = {
    "dpi_index",        "dpi_flag",         "dpi_count",        "dpi_group0_value", "dpi_group0_rgb",
    "dpi_group1_value", "dpi_group1_rgb",   "dpi_group2_value", "dpi_group2_rgb",   "dpi_group3_value",
    "dpi_group3_rgb",   "dpi_group4_value", "dpi_group4_rgb",   "dpi_group5_value", "dpi_group5_rgb",
    "report_rate",      "sleep_light",      "move_wakeup",      "move_closelight",
};

TEST_F(StoreTest, DescriptorDefaultsDpiOnlyAndFull) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    ASSERT_EQ(db_.AddProfile({}), 2);
    const std::vector<std::string> untouched = Values(db_, 1, kKeys);

    DefaultsResult dpi = LoadDescriptorDefaults(db_, 1, kProductDir, "DefaultsModel", true);
    EXPECT_TRUE(dpi.loaded);
    EXPECT_FALSE(dpi.reportRateCapability.has_value());
    const std::vector<std::string> afterDpi = {
        "2",     "4",        "4",       // index; flag and count alike
        "400",   "33023",               // #FF8000
        "1200",  "255",                 // #FF: red only
        "3600",  "33023",               // FF8000: without the "#", the same colour
        "3200",  "65535",               // dpi_4 absent: unchanged
        "12000", "0",                   // more than six digits
        "26000", "16776960",            // dpi_6 absent
        "2",     "1",        "1", "1",  // the power and rate settings wait for the full reset
    };
    EXPECT_EQ(Values(db_, 1, kKeys), afterDpi);
    EXPECT_EQ(Values(db_, 2, kKeys), untouched);  // only the given profile

    DefaultsResult full = LoadDescriptorDefaults(db_, 1, kProductDir, "DefaultsModel", false);
    EXPECT_EQ(full.reportRateCapability, 1);
    std::vector<std::string> afterFull = afterDpi;
    afterFull[15] = "1", afterFull[16] = "6", afterFull[17] = "0", afterFull[18] = "";
    EXPECT_EQ(Values(db_, 1, kKeys), afterFull);
}

TEST_F(StoreTest, MissingDescriptorWritesNothing) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    const std::vector<std::string> before = Values(db_, 1, kKeys);
    EXPECT_FALSE(LoadDescriptorDefaults(db_, 1, kProductDir, "NoSuchModel", false).loaded);
    EXPECT_EQ(Values(db_, 1, kKeys), before);
}

}  // namespace
}  // namespace quorvel
