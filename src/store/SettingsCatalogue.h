#pragma once
// The settings of a profile: 40 keys, each one row of t_configdata with a text value, and their defaults.
// Values are decimal text; colours are R + 256*G + 65536*B.

#include <array>
#include <string>
#include <string_view>

namespace quorvel {

struct SettingDefault {
    std::string_view key;
    std::string_view value;
};

// In the order a new profile receives its rows.
inline constexpr std::array<SettingDefault, 40> kSettingsCatalogue = {{
    {"version", "1.0.1"},
    {"lightmode", "3"},
    {"sleep_light", "1"},
    {"move_wakeup", "1"},
    {"move_closelight", "1"},
    {"report_rate", "2"},
    {"report_rate_wireless", "1"},
    {"report_count", "4"},
    {"report_flag", "127"},
    {"button_respondtime", "8"},
    {"sensor_flag", "53"},
    {"liftoff_height", "1"},
    {"scroll_flag", "1"},
    {"e-sports_flag", "0"},
    {"leftbtn_lock", "1"},
    {"dpi_flag", "5"},
    {"dpi_index", "1"},
    {"dpi_count", "5"},
    {"dpi_group0_value", "800"},
    {"dpi_group1_value", "1600"},
    {"dpi_group2_value", "2400"},
    {"dpi_group3_value", "3200"},
    {"dpi_group4_value", "6400"},
    {"dpi_group5_value", "26000"},
    {"dpi_group6_value", "26000"},
    {"dpi_group7_value", "0"},
    {"dpi_group0_rgb", "255"},
    {"dpi_group1_rgb", "16711680"},
    {"dpi_group2_rgb", "65280"},
    {"dpi_group3_rgb", "65535"},
    {"dpi_group4_rgb", "16711935"},
    {"dpi_group5_rgb", "16776960"},
    {"dpi_group6_rgb", "16712191"},
    {"dpi_group7_rgb", "16777215"},
    {"dpi_group8_rgb", "2139135"},
    {"mouse_speed", "10"},
    {"mouse_sensitivity", "1"},
    {"wheel_scrollflag", "0"},
    {"wheel_scrolllines", "3"},
    {"doubleclick_time", "550"},
}};

// Report-rate codes of report_rate / report_rate_wireless.
enum ReportRateCode : int {
    kRate125 = 8,
    kRate250 = 4,
    kRate500 = 2,
    kRate1000 = 1,
    kRate2000 = 16,
    kRate4000 = 32,
    kRate8000 = 64,
};

// Key names of the DPI levels 0..8 (values exist for 0..7, colours for 0..8).
std::string DpiValueKey(int level);
std::string DpiColorKey(int level);

// The lenient decimal read of a stored value: leading digits count, anything else reads as 0.
int SettingToInt(std::string_view value);

}  // namespace quorvel
