#include "device/CommandsRead.h"

#include <cstdio>
#include <string>

#include "device/CommandsPerformanceFrames.h"
#include "device/CoreContext.h"
#include "device/DeviceCommands.h"
#include "device/HidDeviceManager.h"
#include "device/SensorTable.h"
#include "shell/Localisation.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

InfoBlock DecodeInfoBlock(Family family, const uint8_t* info) {
    InfoBlock b;
    if (family == Family::Report) {
        auto r = [info](size_t reportOffset) { return info[reportOffset - 1]; };
        b.firmwareVersion = static_cast<uint16_t>(r(9) | r(10) << 8);
        b.sensorCode = r(11);
        if (r(12) == 0x10) b.reportRateEntry = 5;
        else if (r(12) == 0x20) b.reportRateEntry = 6;
        else if (r(12) == 0x40) b.reportRateEntry = 7;
        b.batteryStatus = r(13);
        b.batteryLevel = r(14);
        b.linkFlag = r(15);
        return b;
    }
    b.firmwareVersion = static_cast<uint16_t>(info[12] | info[13] << 8);
    b.sensorCode = info[10];
    b.batteryLevel = info[18];
    b.batteryStatus = info[19];
    b.linkFlag = info[21];
    return b;
}

int SensorFlagFromBytes(int stored, uint8_t bit8, uint8_t bit4) {
    constexpr int kCarried = 8 | 4;
    return (stored & ~kCarried) | (bit8 == 1 ? 8 : 0) | (bit4 == 1 ? 4 : 0);
}

DeviceError DeviceCommands::ReadDeviceConfig() {
    const DeviceState before = context_.Snapshot();
    const int type = before.currentDeviceType;
    context_.View().SetBatteryInfo(before.batteryLevel, 0);
    context_.View().SetDeviceBattery(type, before.batteryStatus, 0);
    context_.Update([](DeviceState& s) { s.linkFlag = 0; });
    return FamilyOf(type) == Family::Report ? ReadDeviceConfigReport(type) : ReadDeviceConfigFeature(type);
}

namespace {

void ApplyInfo(DeviceState& s, const InfoBlock& info) {
    s.firmwareVersion = info.firmwareVersion;
    s.sensorCode = info.sensorCode;
    const SensorRange range = LookupSensor(info.sensorCode);
    s.maxDpi = range.maxDpi;
    s.dpiStep = range.step;
    s.sliderPositions = range.sliderPositions;
    s.reportRateEntry = info.reportRateEntry;
    s.batteryStatus = info.batteryStatus;
    s.batteryLevel = info.batteryLevel;
    s.linkFlag = info.linkFlag;
}

}  // namespace

// The info block of the current device, decoded into the state and shown; NotLinked when the receiver does
// not reach the mouse. Both families start their read-back with it.
DeviceError DeviceCommands::ReadInfoBlock(Family family, int type, InfoBlock* decoded) {
    Frame info{};
    DeviceError error = DeviceError::None;
    const bool read = family == Family::Report ? manager_.ReadInfoByReport(info.data(), nullptr, &error)
                                               : manager_.ReadInfoByFeature(info.data(), nullptr, &error);
    if (!read) {
        context_.Trace("无线设备未连接");
        return error;
    }
    const InfoBlock block = DecodeInfoBlock(family, info.data());
    *decoded = block;
    context_.Update([&](DeviceState& s) { ApplyInfo(s, block); });
    const SensorRange range = LookupSensor(block.sensorCode);
    context_.View().SetDpiRange(range.maxDpi, range.step, range.sliderPositions);
    context_.View().SetReportRateEntries(block.reportRateEntry);
    context_.View().SetBatteryInfo(block.batteryLevel, block.batteryStatus);
    context_.View().SetDeviceBattery(type, block.batteryStatus, block.batteryLevel);
    if (block.linkFlag == 0) {
        context_.Trace("无线设备未连接");
        return DeviceError::NotLinked;
    }
    return DeviceError::None;
}

DeviceError DeviceCommands::ReadDeviceConfigFeature(int type) {
    InfoBlock block;
    const DeviceError error = ReadInfoBlock(Family::Feature, type, &block);
    if (error != DeviceError::None) return error;
    context_.Update([&](DeviceState& s) { s.readDeviceTypes.insert(type); });
    return DeviceError::None;
}

DeviceError DeviceCommands::ReadDeviceConfigReport(int type) {
    InfoBlock block;
    const DeviceError error = ReadInfoBlock(Family::Report, type, &block);
    if (error != DeviceError::None) return error;
    bool readBefore = false;
    context_.Update([&](DeviceState& s) { readBefore = !s.readDeviceTypes.insert(type).second; });
    if (readBefore) return DeviceError::None;

    // Failed requests only leave their settings alone: the read-back as a whole stands.
    const int profile = context_.CurrentProfile();
    const int sensor = block.sensorCode;
    Frame f = BuildReadRequest(0x11);
    Transact(f);  // start of the read-back; the reply says nothing

    f = BuildReadRequest(0x12);
    if (Transact(f) == DeviceError::None) {
        SetInt(profile, "report_rate", ReplyByte(f, 5));
        SetInt(profile, "report_rate_wireless", ReplyByte(f, 5));
    }

    f = BuildReadRequest(0x13);
    Transact(f);
    f = BuildReadRequest(0x13);  // the first answer can be stale; the second counts
    if (Transact(f) == DeviceError::None) {
        const int count = ReplyByte(f, 5) & 0x0F;
        SetInt(profile, "dpi_flag", count);
        SetInt(profile, "dpi_count", count);
        SetInt(profile, "dpi_index", ReplyByte(f, 5) >> 4);
        for (int n = 0; n < 6; ++n) {
            const size_t at = 6 + 4 * static_cast<size_t>(n);
            const int raw = ReplyByte(f, at) | ReplyByte(f, at + 1) << 8;
            const int dpi = RawToDpi(sensor, raw);
            if (dpi > 49)
                SetInt(profile, "dpi_group" + std::to_string(n) + "_value", dpi);  // unused slots read 0
        }
    }

    f = BuildReadRequest(0x14);
    if (Transact(f) == DeviceError::None) {
        for (int n = 0; n < 6; ++n) {
            const size_t at = 5 + 3 * static_cast<size_t>(n);
            const int colour = ReplyByte(f, at) | ReplyByte(f, at + 1) << 8 | ReplyByte(f, at + 2) << 16;
            SetInt(profile, "dpi_group" + std::to_string(n) + "_rgb", colour);
        }
    }

    f = BuildReadRequest(0x15);
    if (Transact(f) == DeviceError::None) ReadLightingBack(profile, f);

    f = BuildReadRequest(0x16);
    if (Transact(f) == DeviceError::None) {
        SetInt(profile, "liftoff_height", ReplyByte(f, 5));
        SetInt(profile, "sensor_flag",
               SensorFlagFromBytes(GetInt(profile, "sensor_flag"), ReplyByte(f, 6), ReplyByte(f, 7)));
    }

    f = BuildReadRequest(0x17);
    if (Transact(f) == DeviceError::None) {
        SetInt(profile, "sleep_light", ReplyByte(f, 5));
        SetInt(profile, "move_wakeup", ReplyByte(f, 6));
        SetInt(profile, "move_closelight", ReplyByte(f, 7));
        SetInt(profile, "button_respondtime", ReplyByte(f, 8));
    }

    if (manager_.CurrentLinkKind() == 1) {
        f = BuildReadRequest(0x20);
        if (Transact(f) == DeviceError::None) {
            char version[16];
            std::snprintf(version, sizeof version, "%X%02X", ReplyByte(f, 5), ReplyByte(f, 6));
            const std::string text551 = text("LAN", 551);
            const std::string v = version;
            char label[320];
            std::snprintf(label, sizeof label, "%s: %s.%s", text551.c_str(), v.substr(0, 1).c_str(),
                          v.substr(v.size() - 2).c_str());
            context_.Update([&](DeviceState& s) { s.mouseFirmwareVersion = v; });
            context_.View().SetMouseFirmwareLabel(label, text("LAN", 580));
        }
    }
    return DeviceError::None;
}

// Reply of request 0x15: the active mode, and brightness/speed of that mode's row.
void DeviceCommands::ReadLightingBack(int profile, const Frame& reply) {
    const int mode = ReplyByte(reply, 5);
    if (profile == context_.CurrentProfile())
        context_.Update([&](DeviceState& s) { s.currentLightMode = mode; });
    db_.SetActiveLightMode(profile, mode);
    LightModeRecord row;
    if (!db_.GetLightMode(profile, mode, row)) return;
    row.brightness = ReplyByte(reply, 6) >> 4;
    row.speed = ReplyByte(reply, 6) & 0x0F;
    db_.UpdateLightMode(mode, row);
}

}  // namespace quorvel
