#include "cli/SettingMeaning.h"

#include "actions/PerformanceActions.h"
#include "shell/Localisation.h"
#include "store/SettingsCatalogue.h"

namespace quorvel::cli {

namespace {

constexpr int kLevels = 7;  // dpi_group0 ... dpi_group6

struct SensorOption {
    int bit;
    int text;
    const char* fallback;
};
constexpr SensorOption kSensorOptions[] = {
    {4, 515, "Angle Snapping"}, {8, 516, "Ripple Control"}, {16, 517, "Motion Sync"}};

// The level of a per-level key, or -1.
int LevelOf(std::string_view key, bool colour) {
    for (int level = 0; level < kLevels; ++level) {
        if (key == (colour ? DpiColorKey(level) : DpiValueKey(level))) return level;
    }
    return -1;
}

std::string OnOff(std::string_view value) {
    return value == "1" ? "on" : "off";
}

}  // namespace

std::string SensorOptionName(int bit) {
    for (const SensorOption& o : kSensorOptions) {
        if (o.bit != bit) continue;
        const std::string name = text("LAN", o.text);
        return name.empty() ? o.fallback : name;
    }
    return {};
}

std::vector<std::string> SensorOptionNames(int flags) {
    std::vector<std::string> names;
    for (const SensorOption& o : kSensorOptions) {
        if (flags & o.bit) names.push_back(SensorOptionName(o.bit));
    }
    return names;
}

std::string SettingMeaning(std::string_view key, std::string_view value) {
    const int number = SettingToInt(value);
    if (const int level = LevelOf(key, false); level >= 0)
        return "level " + std::to_string(level + 1) + ": " + std::to_string(number) + " DPI";
    if (const int level = LevelOf(key, true); level >= 0)
        return "level " + std::to_string(level + 1) + ": " + ColourText(number);
    if (key == "dpi_index") return "active level " + std::to_string(number + 1);
    if (key == "dpi_count") return std::to_string(number) + (number == 1 ? " level" : " levels");
    if (key == "report_rate" || key == "report_rate_wireless") {
        const int hertz = ReportRateHzOfCode(number);
        return hertz ? std::to_string(hertz) + " Hz" : "no rate has code " + std::string(value);
    }
    if (key == "liftoff_height") return std::string(value == "2" ? "2" : "1") + " mm";
    if (key == "sensor_flag") {
        std::string names;
        for (const std::string& n : SensorOptionNames(number)) names += (names.empty() ? "" : " + ") + n;
        return names.empty() ? "no sensor option" : names;
    }
    if (key == "sleep_light") return "sleep after " + std::to_string(number * 10) + " s";
    if (key == "move_wakeup") return "wake on motion " + OnOff(value);
    if (key == "move_closelight") return "lights off while moving " + OnOff(value);
    if (key == "button_respondtime") return std::to_string(number) + " ms button response";
    return {};
}

}  // namespace quorvel::cli
