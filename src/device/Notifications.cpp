#include "device/Notifications.h"

#include <algorithm>
#include <cstring>

#include "device/CommandsRead.h"
#include "device/DeviceMainDef.h"
#include "device/Discovery.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

// Reports a command's wait read on this handle come first: they were sent before anything still pending.
int ReadOnce(HidDeviceManager& manager, HidHandle* handle, uint8_t* buffer, int timeoutMs) {
    std::memset(buffer, 0, kNotifyBufferSize);
    return manager.ReadNotification(handle, buffer, kNotifyBufferSize, timeoutMs);
}

// A connect report: the record is reachable again; its info block is read afresh so that the read-back
// that follows sees the mouse's current link flag, battery and sensor. The same report on a link that is
// already up only tells a new battery state. Returns whether the link came up.
bool HandleLinkReport(HidDeviceManager& manager, HidDeviceRecord* record, const uint8_t* report,
                      const std::function<void(int)>& sleep) {
    // Up: reachable, and the mouse linked when its info was last read (a receiver found while its mouse
    // was off has the first, not the second).
    const bool up = record->linkState == 1 && DecodeInfoBlock(Family::Report, record->info).linkFlag != 0;
    if (report[1] == 1 && up) {
        if (report[2] != 0) {
            manager.UpdateRecord(record, [&](HidDeviceRecord& r) {
                r.batteryLevel = report[2];
                r.batteryStatus = report[3];
                r.info[12] = report[3];  // the stored info block's battery, report offsets 13, 14
                r.info[13] = report[2];
            });
        }
        return false;
    }
    if (report[1] == 1) {
        manager.UpdateRecord(record, [](HidDeviceRecord& r) { r.linkState = 1; });
        uint8_t info[kReportBufferSize];
        bool read = manager.ReadInfoByReport(info, record->handle);
        if (!read) {
            sleep(500);
            read = manager.ReadInfoByReport(info, record->handle);
        }
        if (read) {
            const std::string id = DeviceIdFromInfo(info, false);
            const int type = manager.DeviceTypeById(record->vendorId, record->productId, id);
            manager.UpdateRecord(record, [&](HidDeviceRecord& r) {
                r.deviceType = type;
                r.deviceId = id;
                std::memcpy(r.info, info, sizeof r.info);
                r.batteryStatus = info[12];  // report offsets 13, 14 without the report-ID byte
                r.batteryLevel = info[13];
            });
        }
    } else {
        manager.UpdateRecord(record, [](HidDeviceRecord& r) { r.linkState = 0; });
    }
    manager.SetLinkState(record->deviceType, record->linkMode, record->linkState);
    return report[1] == 1;
}

}  // namespace

bool PollReportFamily(HidDeviceManager& manager, uint8_t* buffer, int* deviceType,
                      const std::function<void(int)>& sleep, int timeoutMs, bool* linkCameUp) {
    *deviceType = 0;
    if (linkCameUp) *linkCameUp = false;
    if (!manager.IsOpen()) return false;
    uint8_t report[kNotifyBufferSize];
    for (HidDeviceRecord* record : manager.Records()) {
        if (!record->handle || IsFeatureFamily(record->deviceType)) continue;
        if (ReadOnce(manager, record->handle, report, timeoutMs) <= 0) continue;
        // A connect report identifies the record anew: its type is known only after that.
        if (report[0] == 0xC0) {
            const bool up = HandleLinkReport(manager, record, report, sleep);
            if (linkCameUp) *linkCameUp = up;
        }
        *deviceType = record->deviceType;
        std::memcpy(buffer, report, kNotifyBufferSize);
        return true;
    }
    return false;
}

bool PollFeatureFamily(HidDeviceManager& manager, uint8_t* buffer, int* deviceType, int timeoutMs) {
    *deviceType = 0;
    HidHandle* notify = manager.NotifyHandle();
    if (!notify) return false;
    uint8_t report[kNotifyBufferSize];
    for (HidDeviceRecord* record : manager.Records()) {
        if (!record->handle || !IsFeatureFamily(record->deviceType)) continue;
        if (ReadOnce(manager, notify, report, timeoutMs) <= 0) continue;
        *deviceType = record->deviceType;
        if (report[0] == 0xC0)
            manager.SetLinkState(record->deviceType, record->linkMode, report[1] == 1 ? 1 : 0);
        std::memcpy(buffer, report, kNotifyBufferSize);
        return true;
    }
    return false;
}

void PollSelectedWireless(HidDeviceManager& manager, int selectedType, int timeoutMs) {
    uint8_t report[kNotifyBufferSize];
    for (HidDeviceRecord* record : manager.Records()) {
        if (record->deviceType != selectedType || record->linkMode != 1 || !record->handle) continue;
        if (ReadOnce(manager, record->handle, report, timeoutMs) <= 0 || report[0] != 0xC0) continue;
        manager.SetLinkState(record->deviceType, 1, report[1] == 1 ? 1 : 2);
    }
}

void DeviceMainDef::HandleReportNotifications(int timeoutMs) {
    uint8_t b[kNotifyBufferSize] = {};
    int type = 0;
    bool linkCameUp = false;
    PollReportFamily(
        manager_, b, &type, [this](int ms) { context_.Sleep(ms); }, timeoutMs, &linkCameUp);
    if (b[0] == 0) return;
    context_.Trace("mouse notify data: %02X %02X %02X %02X %02X %02X", b[0], b[1], b[2], b[3], b[4], b[5]);
    const int current = CurrentDeviceType();

    if (b[0] == 0xC2 && type == current) {
        const int count = b[1] & 0x0F;
        const int level = b[1] >> 4;
        bool countChanged = false, levelChanged = false;
        context_.Update([&](DeviceState& s) {
            countChanged = s.dpiLevelCount != count;
            if (countChanged) s.dpiLevelCount = count;
        });
        if (countChanged) {
            SetInt("dpi_count", count);
            context_.View().SetDpiLevelCount(count);
        }
        context_.Update([&](DeviceState& s) {
            levelChanged = s.dpiLevelSelected != level;
            if (levelChanged) s.dpiLevelSelected = level;
        });
        if (levelChanged) {
            SetInt("dpi_index", level);
            const int value = GetInt("dpi_group" + std::to_string(level) + "_value");
            context_.View().SelectDpiLevel(level, value, Snapshot().sensorCode);
        }
        return;
    }
    if (b[0] != 0xC0) return;

    context_.Trace("上报dongle和设备的连接状态: %d", b[3]);
    // A connect report on a link that is already up is how this family tells a battery change: the
    // battery alone is shown, and what the user is doing goes on.
    const bool batteryOnly = b[1] == 1 && !linkCameUp;
    if (!batteryOnly) context_.View().CloseTransientWindows();
    if (batteryOnly) {
        // shown below
    } else if (b[1] == 1) {
        context_.Update([](DeviceState& s) { s.connected = true; });
        const int kind = manager_.CurrentLinkKind();
        const int m = kind == 1 ? 1 : 0;
        context_.View().ShowConnectedView(kind == 1 ? kTitleWireless : kTitleWired);
        context_.View().SetDeviceState(type, m, 1);
        manager_.SetLinkState(type, static_cast<uint32_t>(m), 1);
        const unsigned pages = kPageButtons | kPageMacros | kPagePerformance | LightingPage();
        PrepareProfileLighting(CurrentProfile());
        context_.View().RefreshPages(pages);
        if (commands_.ReadDeviceConfig() == DeviceError::None) {
            context_.View().RefreshPages(pages);
            context_.View().ShowVersionLabels();
        } else {
            context_.Trace("获取鼠标数据异常");
        }
    } else {
        context_.Update([](DeviceState& s) { s.connected = false; });
        context_.View().SetDeviceState(type, 1, 0);
        manager_.SetLinkState(type, 1, 0);
        PollSelectedWireless(manager_, discovery_.SelectedDeviceType(), timeoutMs);
        context_.View().StopMacroRecording();
        context_.View().ShowLinkLostView(OnlineDeviceCount(manager_));
    }
    if (b[2] != 0) {
        if (type == current) {
            context_.Update([&](DeviceState& s) {
                s.batteryLevel = b[2];
                s.batteryStatus = b[3];
            });
            context_.View().SetBatteryInfo(b[2], b[3]);
        }
        context_.View().SetDeviceBattery(type, b[3], b[2]);
    }
}

void DeviceMainDef::HandleFeatureNotifications(int timeoutMs) {
    uint8_t b[kNotifyBufferSize] = {};
    int type = 0;
    PollFeatureFamily(manager_, b, &type, timeoutMs);
    if (b[0] == 0) return;
    context_.Trace("mouse notify data: %02X %02X %02X %02X %02X %02X", b[0], b[1], b[2], b[3], b[4], b[5]);
    if (b[0] != 0x05 || b[1] != 0x06 || type != CurrentDeviceType()) return;
    const int level = (b[4] & 0x0F) - 1;
    if (level < 0) return;  // no level is numbered 0 here; storing -1 would corrupt dpi_index
    bool changed = false;
    context_.Update([&](DeviceState& s) {
        changed = s.dpiLevelSelected != level;
        if (changed) s.dpiLevelSelected = level;
    });
    if (!changed) return;
    SetInt("dpi_index", level);
    const int value = GetInt("dpi_group" + std::to_string(level) + "_value");
    context_.View().SelectDpiLevel(level, value, Snapshot().sensorCode);
}

}  // namespace quorvel
