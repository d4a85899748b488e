#pragma once
// The performance page: DPI levels and colours, report rate, lift-off distance, sensor options, power
// settings, and the two resets. Every setting goes to the core's current profile.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/ActionResult.h"

namespace quorvel {

// The performance settings of the current profile as the page shows them.
struct PerformanceSettings {
    int dpiCount = 0;
    int dpiIndex = 0;
    std::vector<int> dpiValues;   // levels 0 .. dpiCount-1
    std::vector<int> dpiColours;  // R + 256*G + 65536*B, same levels
    // Every level the mouse has, in use or not: the page keeps them all, so raising the count brings back
    // the values and colours a level had.
    std::array<int, 6> allDpiValues{};
    std::array<int, 6> allDpiColours{};
    int reportRateCode = 0;  // report_rate
    int reportRateHz = 0;    // 0 when the code is not one of the seven
    int liftoffHeight = 1;   // 1 or 2 (anything but "2" reads as 1, as the page shows it)
    int sensorFlags = 0;     // the three bits the page knows: 4, 8, 16
    int sleepSeconds = 0;    // sleep_light * 10
    bool wakeOnMove = false;
    bool lightsOffMoving = false;
    int buttonResponseTime = 0;
};
ActionResult ReadPerformance(ActionContext& ctx, PerformanceSettings* out);
// The page's refresh: ReadPerformance, and the stored level count and active level become the page's DPI
// level state (what a later level click or edit is compared with).
ActionResult LoadPerformancePage(ActionContext& ctx, PerformanceSettings* out);

// The DPI levels: values.size() (1-6) becomes dpi_count, each value is rounded and clamped for the
// connected mouse's sensor (refused before the mouse was read). activeLevel (0-based) must lie below the
// new count; unset keeps the stored active level, moved to the last level when the count drops below it.
// Task 9.
ActionResult SetDpiLevels(ActionContext& ctx, const std::vector<int>& values,
                          std::optional<int> activeLevel = std::nullopt);

// Makes a level (0-based, below dpi_count) the active one. Like a click on a level: stored always, task 9
// only when it differs from the level last made active.
ActionResult SelectDpiLevel(ActionContext& ctx, int level);

// One level's value, rounded and clamped for the sensor. Task 9.
ActionResult SetDpiValue(ActionContext& ctx, int level, int value);
// The end of editing a level's value on the page: the value as SetDpiValue stores it, and the level
// becomes the active one when it is not (dpi_index). One task 9 carries both.
ActionResult EnterDpiValue(ActionContext& ctx, int level, int value);
// The number of levels in use (1-6) without touching their values: the active level moves to the last
// one when the count drops below it. Task 9.
ActionResult SetDpiCount(ActionContext& ctx, int count);
// The stored DPI levels sent again as they are (the page's send button). Task 9.
ActionResult SendDpiLevels(ActionContext& ctx);
// The DPI slider of the page moved to `position` for a level: the level takes the slider's value for the
// connected sensor (SliderPositionToDpi), except that the position showing the level's value keeps that
// value (a typed value may lie between two positions). Stored at once, nothing queued: the page sends
// the levels (SendDpiLevels) when the drag ends. `value` receives the level's value.
ActionResult DragDpiValue(ActionContext& ctx, int level, int position, int* value);

// "#RRGGBB" -> R + 256*G + 65536*B; false for any other form.
bool ParseColourText(std::string_view text, int* colour);
// "#RRGGBB" of a stored colour.
std::string ColourText(int colour);

// Colours of levels 0, 1, ... (unset entries keep their colour); each level must be in use. Pure black is
// refused: the page's colour picker reports it as "cancelled". Task 10.
ActionResult SetDpiColours(ActionContext& ctx, const std::vector<std::optional<std::string>>& colours);

// 125, 250, 500, 1000, and 2000/4000/8000 Hz when the mouse offers them; both report-rate keys. Task 11.
ActionResult SetReportRate(ActionContext& ctx, int hertz);
// The rates (Hz) the report-rate list offers for a mouse's highest selectable entry (DeviceState's
// reportRateEntry): 125 to 1000 Hz, and 2000, 4000, 8000 Hz only at entry 7.
std::vector<int> OfferedReportRates(int reportRateEntry);
// Report-rate code of a rate in Hz (0 when there is none) and back.
int ReportRateCodeOfHz(int hertz);
int ReportRateHzOfCode(int code);

// Lift-off distance 1 or 2 (mm). Task 12.
ActionResult SetLiftOff(ActionContext& ctx, int millimetres);
// Sensor options: a sum of 4, 8 and 16 (0 clears all three; other bits of the stored value are dropped).
// Task 12.
ActionResult SetSensorFlags(ActionContext& ctx, int flags);

struct PowerChange {
    std::optional<int> sleepSeconds;        // 10, 30, 60, 120, 300, 600, 1200 or 1800
    std::optional<bool> wakeOnMove;         // move_wakeup
    std::optional<bool> lightsOffMoving;    // move_closelight
    std::optional<int> buttonResponseTime;  // clamped to 0-20 as the page's edit does
};
// Any of the power settings; task 13 once.
ActionResult SetPower(ActionContext& ctx, const PowerChange& change);

// The descriptor's DPI defaults into the settings and to the mouse (task 19).
ActionResult ResetDpi(ActionContext& ctx);
// The mouse's own report rate (task 20).
ActionResult ResetReportRate(ActionContext& ctx);

}  // namespace quorvel
