#pragma once
// The customised profile that fixture profile_custom.xml describes, stored through the database.

#include <gtest/gtest.h>

#include <string>

#include "store/DeviceDatabase.h"

namespace quorvel::testing {

inline const std::string kCustomName = "FPS <Pro> & 'Ünï' \"2\"";

inline void SetLight(DeviceDatabase& db, int profile, int mode, int brightness, int speed, int direction,
                     int colorful, int colorindex, const int (&colors)[7]) {
    LightModeRecord row;
    ASSERT_TRUE(db.GetLightMode(profile, mode, row));
    row.brightness = brightness;
    row.speed = speed;
    row.direction = direction;
    row.colorful = colorful;
    row.colorindex = colorindex;
    for (int i = 0; i < 7; ++i) row.color_value[i] = colors[i];
    ASSERT_TRUE(db.UpdateLightMode(mode, row));
}

inline void CustomiseProfile(DeviceDatabase& db, int profile) {
    ASSERT_TRUE(db.RenameProfile(profile, kCustomName));

    struct Key {
        int code, type, value, value2, value3;
        const char* desc;
    };
    const Key keys[] = {{2, 5, 1, 0, 0, "DPI +"},
                        {4, 4, 7, 0, 0, "宏 1"},
                        {3, 2, 0, 65, 1, "Ctrl + A"},
                        {7, 1, 10, 0, 0, "Fire & forget"}};
    for (const Key& k : keys) {
        KeyAssignmentRecord record;
        record.profile = profile;
        record.key_code = k.code;
        record.macro_type = k.type;
        record.macro_value = k.value;
        record.macro_value2 = k.value2;
        record.macro_value3 = k.value3;
        record.macro_desc = k.desc;
        ASSERT_GT(db.SaveKeyAssignment(record), 0);
    }

    const int defaults[7] = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
    const int mode2[7] = {33023, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
    const int mode3[7] = {0, 128, 32768, 8388608, 1, 256, 65536};
    SetLight(db, profile, 2, 3, 4, 1, 0, 3, mode2);
    SetLight(db, profile, 3, 1, 2, 0, 1, 0, mode3);
    SetLight(db, profile, 5, 0, 0, 0, 1, 0, defaults);
    ASSERT_TRUE(db.SetActiveLightMode(profile, 3));

    const std::pair<const char*, const char*> settings[] = {
        {"dpi_flag", "3"},          {"dpi_index", "2"},         {"dpi_count", "3"},
        {"dpi_group0_value", "400"}, {"dpi_group0_rgb", "33023"}, {"dpi_group1_value", "1200"},
        {"dpi_group2_value", "12000"}, {"button_respondtime", "4"}, {"report_rate", "1"},
        {"sensor_flag", "12"},      {"liftoff_height", "2"},    {"scroll_flag", "0"},
        {"e-sports_flag", "1"},     {"sleep_light", "30"},      {"move_wakeup", "0"}};
    for (const auto& [key, value] : settings) ASSERT_TRUE(db.SetConfig(profile, key, value));
}

}  // namespace quorvel::testing
