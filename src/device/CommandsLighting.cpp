// Lighting, the lighting reset and the factory reset.

#include "device/CommandsLightingFrames.h"
#include "device/CommandsPerformanceFrames.h"
#include "device/DeviceMainDef.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

bool DeviceMainDef::WriteLighting() {
    const DeviceState s = Snapshot();
    const Family family = FamilyOf(s.currentDeviceType);
    db_.SetActiveLightMode(s.currentProfile, s.currentLightMode);
    LightModeRecord row;
    if (!db_.GetLightMode(s.currentProfile, s.currentLightMode, row)) return false;  // nothing to send
    LightingData light;
    light.mode = row.mode;
    light.brightness = row.brightness;
    light.speed = row.speed;
    for (size_t k = 0; k < 7; ++k) light.colours[k] = row.color_value[k];
    Frame f = BuildLighting(family, light);
    if (Send(family, f)) return true;
    TraceLine("0x05: 设置灯光模式失败");
    return false;
}

// The feature family has no read-back: the reset is mode 2 with brightness and speed 2, sent as usual.
void DeviceMainDef::ApplyFeatureLightingReset() {
    const int profile = CurrentProfile();
    SetCurrentLightMode(2);
    db_.SetActiveLightMode(profile, 2);
    LightModeRecord row;
    if (db_.GetLightMode(profile, 2, row)) {
        row.brightness = 2;
        row.speed = 2;
        db_.UpdateLightMode(2, row);
    }
    View().RefreshPages(kPageLighting);
}

bool DeviceMainDef::ResetLighting() {
    if (FamilyOf(CurrentDeviceType()) == Family::Feature) {
        ApplyFeatureLightingReset();
        return WriteLighting();
    }
    Frame reset = BuildLightingReset();
    Transact(reset);  // answered late or not at all; the read below tells
    Sleep(100);
    Frame f = BuildReadRequest(0x15);
    const bool ok = Transact(f);
    if (ok) ReadLightingBack(f);
    View().RefreshPages(kPageLighting);
    return ok;
}

bool DeviceMainDef::FactoryReset() {
    const Family family = FamilyOf(CurrentDeviceType());
    Frame f = BuildFactoryReset(family);
    const bool sent = Send(family, f);
    if (family == Family::Report) return sent;
    ApplyFeatureLightingReset();
    return WriteLighting() && sent;
}

}  // namespace quorvel
