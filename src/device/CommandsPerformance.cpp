// Performance settings: report rate, DPI levels and colours, advanced and power parameters.

#include <string>

#include "device/CommandsPerformanceFrames.h"
#include "device/CoreContext.h"
#include "device/DeviceCommands.h"

namespace quorvel {

namespace {

std::string LevelKey(int n, const char* suffix) { return "dpi_group" + std::to_string(n) + suffix; }

}  // namespace

DeviceError DeviceCommands::WriteReportRate(int profile) {
    const Family family = CurrentFamily();
    Frame f = BuildReportRate(family, GetInt(ProfileOr(profile), "report_rate"));
    const DeviceError error = Send(family, f);
    if (error != DeviceError::None) context_.Trace("0x02: 设置回报率失败");
    return error;
}

DeviceError DeviceCommands::WriteDpiLevels(int profile) {
    profile = ProfileOr(profile);
    const DeviceState s = context_.Snapshot();
    const Family family = FamilyOf(s.currentDeviceType);
    DpiLevelSettings levels;
    levels.count = GetInt(profile, "dpi_count");
    levels.index = GetInt(profile, "dpi_index");
    for (int n = 0; n < 6; ++n)
        levels.values[static_cast<size_t>(n)] = GetInt(profile, LevelKey(n, "_value"));
    Frame f = BuildDpiLevels(family, s.sensorCode, levels);
    const DeviceError error = Send(family, f);
    if (error != DeviceError::None) context_.Trace("0x02: 设置回报率失败");  // shares the report-rate text
    return error;
}

DeviceError DeviceCommands::WriteDpiColours(int profile) {
    profile = ProfileOr(profile);
    const Family family = CurrentFamily();
    std::array<int, 6> colours{};
    for (int n = 0; n < 6; ++n) colours[static_cast<size_t>(n)] = GetInt(profile, LevelKey(n, "_rgb"));
    Frame f = BuildDpiColours(family, colours);
    const DeviceError error = Send(family, f);
    if (error != DeviceError::None) context_.Trace("0x04: 设置鼠标DPI颜色数据失败");
    return error;
}

DeviceError DeviceCommands::WriteAdvanced(int profile) {
    profile = ProfileOr(profile);
    const Family family = CurrentFamily();
    Frame f = BuildAdvanced(family, GetInt(profile, "liftoff_height"), GetInt(profile, "sensor_flag"));
    const DeviceError error = Send(family, f);
    if (error != DeviceError::None) context_.Trace("0x02: 设置高级参数失败");
    return error;
}

DeviceError DeviceCommands::WritePower(int profile) {
    profile = ProfileOr(profile);
    const Family family = CurrentFamily();
    PowerSettings power;
    power.sleep = GetInt(profile, "sleep_light");
    power.wakeOnMove = GetInt(profile, "move_wakeup");
    power.lightOffMoving = GetInt(profile, "move_closelight");
    power.responseTime = GetInt(profile, "button_respondtime");
    DeviceError first = DeviceError::None;
    for (Frame& f : BuildPower(family, power)) {
        const DeviceError error = Send(family, f);
        if (error == DeviceError::None) continue;
        context_.Trace("0x07: 设置睡眠时间、移动关闭灯效使能");
        KeepFirst(&first, error);
    }
    return first;
}

DeviceError DeviceCommands::ResetReportRate(int profile) {
    profile = ProfileOr(profile);
    const Family family = CurrentFamily();
    if (family == Family::Feature) {
        SetInt(profile, "report_rate", 1);
        SetInt(profile, "report_rate_wireless", 1);
        context_.View().SelectReportRate(1);
        return WriteReportRate(profile);
    }
    Frame reset = BuildReportRateReset();
    Transact(reset);  // the mouse acknowledges a reset late or not at all; the read below tells
    context_.Sleep(100);
    Frame f = BuildReadRequest(0x12);
    const DeviceError error = Transact(f);
    if (error != DeviceError::None) return error;
    const int code = ReplyByte(f, 5);
    SetInt(profile, "report_rate", code);
    SetInt(profile, "report_rate_wireless", code);
    context_.View().SelectReportRate(code);
    return DeviceError::None;
}

}  // namespace quorvel
