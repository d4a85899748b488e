// Performance settings: report rate, DPI levels and colours, advanced and power parameters.

#include <string>

#include "device/CommandsPerformanceFrames.h"
#include "device/DeviceMainDef.h"

namespace quorvel {

namespace {

std::string LevelKey(int n, const char* suffix) { return "dpi_group" + std::to_string(n) + suffix; }

}  // namespace

bool DeviceMainDef::WriteReportRate() {
    const Family family = FamilyOf(CurrentDeviceType());
    Frame f = BuildReportRate(family, GetInt("report_rate"));
    if (Send(family, f)) return true;
    TraceLine("0x02: 设置回报率失败");
    return false;
}

bool DeviceMainDef::WriteDpiLevels() {
    const DeviceState s = Snapshot();
    const Family family = FamilyOf(s.currentDeviceType);
    DpiLevelSettings levels;
    levels.count = GetInt("dpi_count");
    levels.index = GetInt("dpi_index");
    for (int n = 0; n < 6; ++n) levels.values[static_cast<size_t>(n)] = GetInt(LevelKey(n, "_value"));
    Frame f = BuildDpiLevels(family, s.sensorCode, levels);
    if (Send(family, f)) return true;
    TraceLine("0x02: 设置回报率失败");  // shares the report-rate text
    return false;
}

bool DeviceMainDef::WriteDpiColours() {
    const Family family = FamilyOf(CurrentDeviceType());
    std::array<int, 6> colours{};
    for (int n = 0; n < 6; ++n) colours[static_cast<size_t>(n)] = GetInt(LevelKey(n, "_rgb"));
    Frame f = BuildDpiColours(family, colours);
    if (Send(family, f)) return true;
    TraceLine("0x04: 设置鼠标DPI颜色数据失败");
    return false;
}

bool DeviceMainDef::WriteAdvanced() {
    const Family family = FamilyOf(CurrentDeviceType());
    Frame f = BuildAdvanced(family, GetInt("liftoff_height"), GetInt("sensor_flag"));
    if (Send(family, f)) return true;
    TraceLine("0x02: 设置高级参数失败");
    return false;
}

bool DeviceMainDef::WritePower() {
    const Family family = FamilyOf(CurrentDeviceType());
    PowerSettings power;
    power.sleep = GetInt("sleep_light");
    power.wakeOnMove = GetInt("move_wakeup");
    power.lightOffMoving = GetInt("move_closelight");
    power.responseTime = GetInt("button_respondtime");
    bool ok = true;
    for (Frame& f : BuildPower(family, power)) {
        if (Send(family, f)) continue;
        TraceLine("0x07: 设置睡眠时间、移动关闭灯效使能");
        ok = false;
    }
    return ok;
}

bool DeviceMainDef::ResetReportRate() {
    const Family family = FamilyOf(CurrentDeviceType());
    if (family == Family::Feature) {
        SetInt("report_rate", 1);
        SetInt("report_rate_wireless", 1);
        View().SelectReportRate(1);
        return WriteReportRate();
    }
    Frame reset = BuildReportRateReset();
    Transact(reset);  // the mouse acknowledges a reset late or not at all; the read below tells
    Sleep(100);
    Frame f = BuildReadRequest(0x12);
    if (!Transact(f)) return false;
    const int code = ReplyByte(f, 5);
    SetInt("report_rate", code);
    SetInt("report_rate_wireless", code);
    View().SelectReportRate(code);
    return true;
}

}  // namespace quorvel
