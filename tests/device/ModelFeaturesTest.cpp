// What each model has, from the sample product's files, and when a battery is shown.

#include <gtest/gtest.h>

#include "device/ModelFeatures.h"

namespace quorvel {
namespace {

TEST(ModelFeatures, EachSampleModelHasWhatItsFilesSay) {
    ProductConfig config;
    ASSERT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &config));
    const std::map<int, ModelFeatures> features = FeaturesOfModels(QUORVEL_PRODUCT_DIR, config);
    struct Case {
        int type;
        const char* what;
        ModelFeatures expected;  // wireless, battery, lights, sleep, wake, lights off moving, response
    } cases[] = {
        {102, "R2: wired only, lights", {false, false, true, false, false, true, true}},
        {103, "R3: wireless, no lights", {true, true, false, true, true, false, true}},
        {201, "F1: wireless, lights, feature family", {true, true, true, true, false, true, false}},
    };
    ASSERT_EQ(features.size(), std::size(cases));
    for (const Case& c : cases) {
        ASSERT_TRUE(features.count(c.type)) << c.what;
        EXPECT_EQ(features.at(c.type), c.expected) << c.what;
    }
}

TEST(ModelFeatures, LightsNeedTheSwitchAndAMode) {
    ModelState model;
    model.light = true;
    EXPECT_FALSE(FeaturesOf(102, {}, model).lights) << "no zone enabled";
    model.light_zone[5] = true;
    EXPECT_TRUE(FeaturesOf(102, {}, model).lights);
    model.light = false;
    EXPECT_FALSE(FeaturesOf(102, {}, model).lightsOffMoving);
}

TEST(ModelFeatures, ABatteryIsShownOnlyWhenThereIsOneToShow) {
    const ModelFeatures wireless{true, true};
    const ModelFeatures wired{};
    EXPECT_EQ(ShownBatteryLevel(wireless, true, 80), 80);
    EXPECT_FALSE(ShownBatteryLevel(wired, true, 80)) << "a wired mouse's info block says 80 all the same";
    EXPECT_FALSE(ShownBatteryLevel(wireless, false, 80)) << "out of reach";
    EXPECT_FALSE(ShownBatteryLevel(wireless, true, 0)) << "no level reported";
}

}  // namespace
}  // namespace quorvel
