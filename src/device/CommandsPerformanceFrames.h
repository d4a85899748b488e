#pragma once
// Request frames of the performance settings: report rate, DPI levels and colours, advanced and power
// parameters, and the reset requests. Pure: values in, frames out.

#include <array>
#include <vector>

#include "device/CommandsFrame.h"

namespace quorvel {

struct DpiLevelSettings {
    int count = 0;  // dpi_count, 1-6
    int index = 0;  // dpi_index, 0-based
    std::array<int, 6> values{};  // dpi_group0_value ... dpi_group5_value
};

struct PowerSettings {
    int sleep = 0;           // sleep_light
    int wakeOnMove = 0;      // move_wakeup
    int lightOffMoving = 0;  // move_closelight
    int responseTime = 0;    // button_respondtime
};

Frame BuildReportRate(Family family, int code);
// Values are clamped to the sensor's range and converted to raw codes.
Frame BuildDpiLevels(Family family, int sensorCode, const DpiLevelSettings& levels);
Frame BuildDpiColours(Family family, const std::array<int, 6>& colours);
Frame BuildAdvanced(Family family, int liftoffHeight, int sensorFlag);
// The feature family needs two requests (sleep/light-off, then 0x0C).
std::vector<Frame> BuildPower(Family family, const PowerSettings& power);

Frame BuildReportRateReset();  // report family only
Frame BuildLightingReset();    // report family only
Frame BuildFactoryReset(Family family);

// Read-back requests of the report family: the command alone, every other byte 0.
Frame BuildReadRequest(uint8_t command);

}  // namespace quorvel
