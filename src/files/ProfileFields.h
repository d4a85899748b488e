#pragma once
// Element and attribute names of the profile file that both directions walk in the same order.

#include <array>
#include <string_view>

namespace quorvel {

inline constexpr std::array<std::string_view, 7> kColorValueNames = {
    "color_value1", "color_value2", "color_value3", "color_value4", "color_value5", "color_value6", "color_value7"};

// Attributes of Mouse_DPI, each the setting of the same name.
inline constexpr std::array<std::string_view, 3> kDpiAttributes = {"dpi_flag", "dpi_index", "dpi_count"};

// DPI1..DPI6 carry the levels 0..5 (dpi_groupN_value / dpi_groupN_rgb).
inline constexpr int kDpiLevels = 6;
inline constexpr std::array<std::string_view, kDpiLevels> kDpiElements = {"DPI1", "DPI2", "DPI3",
                                                                          "DPI4", "DPI5", "DPI6"};

// Children of Mouse, each with a `value` holding the setting of the same name.
inline constexpr std::array<std::string_view, 9> kMouseSettings = {
    "button_respondtime", "report_rate", "sensor_flag",  "liftoff_height",  "scroll_flag",
    "e-sports_flag",      "sleep_light", "move_wakeup", "move_closelight"};

}  // namespace quorvel
