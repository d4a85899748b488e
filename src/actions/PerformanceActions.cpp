#include "actions/PerformanceActions.h"

#include <algorithm>
#include <cstdio>

#include "actions/ActionSupport.h"
#include "actions/DpiRounding.h"
#include "device/PageState.h"
#include "device/Tasks.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"

namespace quorvel {

namespace {

constexpr int kMaxDpiLevels = 6;
// Sleep choices of the page, in seconds; sleep_light stores tenths of them.
constexpr int kSleepChoices[] = {10, 30, 60, 120, 300, 600, 1200, 1800};
constexpr int kSensorBits = 4 | 8 | 16;

struct RateEntry {
    int hertz;
    int code;
};
constexpr RateEntry kRates[] = {{125, kRate125},   {250, kRate250},   {500, kRate500},  {1000, kRate1000},
                                {2000, kRate2000}, {4000, kRate4000}, {8000, kRate8000}};
// Only a mouse that reports this capability level offers the rates above 1000 Hz.
constexpr int kHighRateCapability = 7;

// The sensor of the connected mouse, or why it is not known.
std::optional<std::string> SensorProblem(const DeviceState& state) {
    if (!DeviceWasRead(state))
        return "the mouse has not been read yet, so its sensor's DPI range is unknown; connect it and try again";
    return std::nullopt;
}

// Rounds a value for the sensor and notes a change.
int RoundNoted(ActionResult& result, int sensorCode, int level, int value) {
    const int rounded = RoundDpiEntry(sensorCode, value);
    if (rounded != value) {
        const DpiEntryLimits range = DpiEntryRange(sensorCode);
        AddNote(result, "level " + std::to_string(level + 1) + ": " + std::to_string(value) + " -> " +
                            std::to_string(rounded) + " (sensor range " + std::to_string(range.minimum) +
                            "-" + std::to_string(range.maximum) + ")");
    }
    return rounded;
}

// Levels are counted from 1 in every message.
std::string LevelRangeText(int count) {
    if (count <= 0) return "no level is in use";
    return count == 1 ? "the only level is 1" : "levels are 1-" + std::to_string(count);
}

std::string LevelNotInUse(int level, int count) {
    return "level " + std::to_string(level + 1) + " is not in use (" + LevelRangeText(count) + ")";
}

}  // namespace

ActionResult ReadPerformance(ActionContext& ctx, PerformanceSettings* out) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    PerformanceSettings s;
    s.dpiCount = ReadSetting(ctx, "dpi_count");
    s.dpiIndex = ReadSetting(ctx, "dpi_index");
    for (int i = 0; i < kMaxDpiLevels; ++i) {
        s.allDpiValues[static_cast<size_t>(i)] = ReadSetting(ctx, DpiValueKey(i));
        s.allDpiColours[static_cast<size_t>(i)] = ReadSetting(ctx, DpiColorKey(i));
    }
    const int shown = std::clamp(s.dpiCount, 0, kMaxDpiLevels);
    s.dpiValues.assign(s.allDpiValues.begin(), s.allDpiValues.begin() + shown);
    s.dpiColours.assign(s.allDpiColours.begin(), s.allDpiColours.begin() + shown);
    s.reportRateCode = ReadSetting(ctx, "report_rate");
    s.reportRateHz = ReportRateHzOfCode(s.reportRateCode);
    s.liftoffHeight = ReadSettingText(ctx, "liftoff_height") == "2" ? 2 : 1;
    s.sensorFlags = ReadSetting(ctx, "sensor_flag") & kSensorBits;
    s.sleepSeconds = ReadSetting(ctx, "sleep_light") * 10;
    s.wakeOnMove = ReadSetting(ctx, "move_wakeup") == 1;
    s.lightsOffMoving = ReadSetting(ctx, "move_closelight") == 1;
    s.buttonResponseTime = ReadSetting(ctx, "button_respondtime");
    if (out != nullptr) *out = std::move(s);
    return Accepted();
}

ActionResult LoadPerformancePage(ActionContext& ctx, PerformanceSettings* out) {
    PerformanceSettings s;
    ActionResult result = ReadPerformance(ctx, &s);
    if (!result.ok) return result;
    // The stored index as it is, also when it lies beyond the count (a mouse may report that): the page
    // then shows the first level, and a click on it is a change that reaches the mouse.
    ctx.core.SetDpiLevelState(s.dpiCount, s.dpiIndex);
    if (out != nullptr) *out = std::move(s);
    return result;
}

ActionResult SetDpiLevels(ActionContext& ctx, const std::vector<int>& values, std::optional<int> activeLevel) {
    const int count = static_cast<int>(values.size());
    if (count < 1 || count > kMaxDpiLevels)
        return ActionResult::Refused("give 1 to 6 DPI values (got " + std::to_string(count) + ")");
    if (activeLevel && (*activeLevel < 0 || *activeLevel >= count))
        return ActionResult::Refused("active level " + std::to_string(*activeLevel + 1) +
                                     " is not among the " + std::to_string(count) + " levels (" +
                                     LevelRangeText(count) + ")");
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    const DeviceState state = ctx.core.Snapshot();
    if (auto problem = SensorProblem(state)) return ActionResult::Refused(*problem);

    ActionResult result = Accepted();
    std::vector<int> rounded;
    for (int i = 0; i < count; ++i) rounded.push_back(RoundNoted(result, state.sensorCode, i, values[i]));
    for (int i = 0; i < count; ++i) {
        if (!StoreSetting(ctx, result, DpiValueKey(i), rounded[i])) return result;
    }
    if (!StoreSetting(ctx, result, "dpi_count", count)) return result;
    // The active level stays inside the levels in use: a count below it makes the last level active.
    const int storedIndex = ReadSetting(ctx, "dpi_index");
    int index = activeLevel ? *activeLevel : storedIndex;
    if (!activeLevel && index >= count) {
        index = count - 1;
        AddNote(result, "active level moved to " + std::to_string(index + 1));
    }
    if (activeLevel || storedIndex != index) {
        if (!StoreSetting(ctx, result, "dpi_index", index)) return result;
    }
    ctx.core.SetDpiLevelState(count, index);
    result.tasks = {PageRequest(ctx, kTaskWriteDpiLevels)};
    return result;
}

ActionResult SelectDpiLevel(ActionContext& ctx, int level) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    const int count = ReadSetting(ctx, "dpi_count");
    if (level < 0 || level >= count) return ActionResult::Refused(LevelNotInUse(level, count));
    const DeviceState state = ctx.core.Snapshot();
    // Before the page was first loaded its state is empty; the stored level is then what the mouse has.
    const int lastSelected = state.dpiLevelCount == 0 ? ReadSetting(ctx, "dpi_index") : state.dpiLevelSelected;
    ActionResult result = Accepted();
    if (!StoreSetting(ctx, result, "dpi_index", level)) return result;
    if (level != lastSelected || state.dpiLevelCount == 0) {
        ctx.core.SetDpiLevelState(count, level);
        if (level != lastSelected) result.tasks = {PageRequest(ctx, kTaskWriteDpiLevels)};
    }
    return result;
}

ActionResult SetDpiValue(ActionContext& ctx, int level, int value) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    const int count = ReadSetting(ctx, "dpi_count");
    if (level < 0 || level >= count) return ActionResult::Refused(LevelNotInUse(level, count));
    const DeviceState state = ctx.core.Snapshot();
    if (auto problem = SensorProblem(state)) return ActionResult::Refused(*problem);
    ActionResult result = Accepted();
    const int rounded = RoundNoted(result, state.sensorCode, level, value);
    if (!StoreSetting(ctx, result, DpiValueKey(level), rounded)) return result;
    result.tasks = {PageRequest(ctx, kTaskWriteDpiLevels)};
    return result;
}

ActionResult EnterDpiValue(ActionContext& ctx, int level, int value) {
    ActionResult result = SetDpiValue(ctx, level, value);
    if (!result.ok) return result;
    const DeviceState state = ctx.core.Snapshot();
    const int count = ReadSetting(ctx, "dpi_count");
    if (ReadSetting(ctx, "dpi_index") != level && !StoreSetting(ctx, result, "dpi_index", level))
        return result;
    if (state.dpiLevelSelected != level || state.dpiLevelCount != count)
        ctx.core.SetDpiLevelState(count, level);
    return result;
}

ActionResult SetDpiCount(ActionContext& ctx, int count) {
    if (count < 1 || count > kMaxDpiLevels)
        return ActionResult::Refused("the number of DPI levels must be 1 to 6 (got " + std::to_string(count) +
                                     ")");
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    ActionResult result = Accepted();
    if (!StoreSetting(ctx, result, "dpi_count", count)) return result;
    int index = ReadSetting(ctx, "dpi_index");
    if (index >= count || index < 0) {
        index = index < 0 ? 0 : count - 1;
        AddNote(result, "active level moved to " + std::to_string(index + 1));
        if (!StoreSetting(ctx, result, "dpi_index", index)) return result;
    }
    ctx.core.SetDpiLevelState(count, index);
    result.tasks = {PageRequest(ctx, kTaskWriteDpiLevels)};
    return result;
}

ActionResult SendDpiLevels(ActionContext& ctx) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    return Accepted({PageRequest(ctx, kTaskWriteDpiLevels)});
}

ActionResult DragDpiValue(ActionContext& ctx, int level, int position, int* value) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    const int count = ReadSetting(ctx, "dpi_count");
    if (level < 0 || level >= count) return ActionResult::Refused(LevelNotInUse(level, count));
    const DeviceState state = ctx.core.Snapshot();
    if (auto problem = SensorProblem(state)) return ActionResult::Refused(*problem);
    const int current = ReadSetting(ctx, DpiValueKey(level));
    int dpi = current;
    if (position != DpiToSliderPosition(state.sensorCode, current))
        dpi = SliderPositionToDpi(state.sensorCode, position);
    ActionResult result = Accepted();
    if (dpi != current && !StoreSetting(ctx, result, DpiValueKey(level), dpi)) return result;
    if (value != nullptr) *value = dpi;
    return result;
}

bool ParseColourText(std::string_view text, int* colour) {
    if (text.size() != 7 || text[0] != '#') return false;
    int rgb[3];
    for (int c = 0; c < 3; ++c) {
        int v = 0;
        for (int d = 0; d < 2; ++d) {
            const char ch = text[1 + 2 * c + d];
            int digit;
            if (ch >= '0' && ch <= '9') digit = ch - '0';
            else if (ch >= 'a' && ch <= 'f') digit = ch - 'a' + 10;
            else if (ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
            else return false;
            v = v * 16 + digit;
        }
        rgb[c] = v;
    }
    if (colour != nullptr) *colour = rgb[0] + 256 * rgb[1] + 65536 * rgb[2];
    return true;
}

std::string ColourText(int colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

ActionResult SetDpiColours(ActionContext& ctx, const std::vector<std::optional<std::string>>& colours) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    const int count = ReadSetting(ctx, "dpi_count");
    std::vector<std::pair<int, int>> changes;  // level, colour
    for (size_t i = 0; i < colours.size(); ++i) {
        if (!colours[i]) continue;
        const int level = static_cast<int>(i);
        if (level >= count) return ActionResult::Refused(LevelNotInUse(level, count));
        int colour = 0;
        if (!ParseColourText(*colours[i], &colour))
            return ActionResult::Refused("colour \"" + *colours[i] + "\" of level " +
                                         std::to_string(level + 1) + " is not of the form #RRGGBB");
        if (colour == 0)
            return ActionResult::Refused("level " + std::to_string(level + 1) +
                                         ": pure black (#000000) cannot be chosen as a level colour");
        changes.emplace_back(level, colour);
    }
    if (changes.empty()) return ActionResult::Refused("no colour given");
    ActionResult result = Accepted();
    for (const auto& [level, colour] : changes) {
        if (!StoreSetting(ctx, result, DpiColorKey(level), colour)) return result;
    }
    result.tasks = {PageRequest(ctx, kTaskWriteDpiColours)};
    return result;
}

std::vector<int> OfferedReportRates(int reportRateEntry) {
    std::vector<int> rates;
    for (const RateEntry& e : kRates) {
        if (e.hertz <= 1000 || reportRateEntry == kHighRateCapability) rates.push_back(e.hertz);
    }
    return rates;
}

int ReportRateCodeOfHz(int hertz) {
    for (const RateEntry& e : kRates) {
        if (e.hertz == hertz) return e.code;
    }
    return 0;
}

int ReportRateHzOfCode(int code) {
    for (const RateEntry& e : kRates) {
        if (e.code == code) return e.hertz;
    }
    return 0;
}

ActionResult SetReportRate(ActionContext& ctx, int hertz) {
    const int code = ReportRateCodeOfHz(hertz);
    if (code == 0)
        return ActionResult::Refused("report rate " + std::to_string(hertz) +
                                     " Hz is not offered (125, 250, 500, 1000, 2000, 4000 or 8000)");
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    if (hertz > 1000) {
        const DeviceState state = ctx.core.Snapshot();
        if (!DeviceWasRead(state))
            return ActionResult::Refused("the mouse has not been read yet, so it is not known whether it offers " +
                                         std::to_string(hertz) + " Hz");
        if (state.reportRateEntry != kHighRateCapability)
            return ActionResult::Refused("this mouse offers report rates up to 1000 Hz only");
    }
    ActionResult result = Accepted();
    // Both keys always carry the same code.
    if (!StoreSetting(ctx, result, "report_rate", code)) return result;
    if (!StoreSetting(ctx, result, "report_rate_wireless", code)) return result;
    result.tasks = {PageRequest(ctx, kTaskWriteReportRate)};
    return result;
}

ActionResult SetLiftOff(ActionContext& ctx, int millimetres) {
    if (millimetres != 1 && millimetres != 2)
        return ActionResult::Refused("lift-off distance " + std::to_string(millimetres) + " mm is not offered (1 or 2)");
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    ActionResult result = Accepted();
    if (!StoreSetting(ctx, result, "liftoff_height", millimetres)) return result;
    result.tasks = {PageRequest(ctx, kTaskWriteAdvanced)};
    return result;
}

ActionResult SetSensorFlags(ActionContext& ctx, int flags) {
    if (flags < 0 || (flags & ~kSensorBits) != 0)
        return ActionResult::Refused("sensor options " + std::to_string(flags) + " are not a sum of 4, 8 and 16");
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    ActionResult result = Accepted();
    if (!StoreSetting(ctx, result, "sensor_flag", flags)) return result;
    result.tasks = {PageRequest(ctx, kTaskWriteAdvanced)};
    return result;
}

ActionResult SetPower(ActionContext& ctx, const PowerChange& change) {
    if (!change.sleepSeconds && !change.wakeOnMove && !change.lightsOffMoving && !change.buttonResponseTime)
        return ActionResult::Refused("no power setting given");
    int sleepData = 0;
    if (change.sleepSeconds) {
        bool offered = false;
        for (int s : kSleepChoices) offered = offered || s == *change.sleepSeconds;
        if (!offered)
            return ActionResult::Refused("sleep time " + std::to_string(*change.sleepSeconds) +
                                         " s is not offered (10, 30, 60, 120, 300, 600, 1200 or 1800)");
        sleepData = *change.sleepSeconds / 10;
    }
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    ActionResult result = Accepted();
    if (change.sleepSeconds && !StoreSetting(ctx, result, "sleep_light", sleepData)) return result;
    if (change.wakeOnMove && !StoreSetting(ctx, result, "move_wakeup", *change.wakeOnMove ? 1 : 0)) return result;
    if (change.lightsOffMoving && !StoreSetting(ctx, result, "move_closelight", *change.lightsOffMoving ? 1 : 0))
        return result;
    if (change.buttonResponseTime) {
        const int typed = *change.buttonResponseTime;
        const int time = std::clamp(typed, 0, 20);
        if (time != typed)
            AddNote(result, "button response time " + std::to_string(typed) + " -> " + std::to_string(time) +
                                " (0-20)");
        if (!StoreSetting(ctx, result, "button_respondtime", time)) return result;
    }
    result.tasks = {PageRequest(ctx, kTaskWritePower)};
    return result;
}

ActionResult ResetDpi(ActionContext& ctx) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    return Accepted({PageRequest(ctx, kTaskResetDpi)});
}

ActionResult ResetReportRate(ActionContext& ctx) {
    if (auto problem = ProfileProblem(ctx)) return ActionResult::Refused(*problem);
    return Accepted({PageRequest(ctx, kTaskResetReportRate)});
}

}  // namespace quorvel
