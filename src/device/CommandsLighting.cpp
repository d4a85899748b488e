// Lighting, the lighting reset and the factory reset.

#include "device/CommandsLightingFrames.h"
#include "device/CommandsPerformanceFrames.h"
#include "device/CoreContext.h"
#include "device/DeviceCommands.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

DeviceError DeviceCommands::WriteLighting(int profile, int mode) {
    profile = ProfileOr(profile);
    const Family family = CurrentFamily();
    LightModeRecord row;
    if (!db_.GetLightMode(profile, mode, row)) return DeviceError::NothingToSend;
    LightingData light;
    light.mode = row.mode;
    light.brightness = row.brightness;
    light.speed = row.speed;
    for (size_t k = 0; k < 7; ++k) light.colours[k] = row.color_value[k];
    Frame f = BuildLighting(family, light);
    const DeviceError error = Send(family, f);
    if (error != DeviceError::None) context_.Trace("0x05: 设置灯光模式失败");
    return error;
}

// The feature family has no read-back: the reset is mode 2 with brightness and speed 2, sent as usual.
void DeviceCommands::ApplyFeatureLightingReset(int profile) {
    if (profile == context_.CurrentProfile()) context_.Update([](DeviceState& s) { s.currentLightMode = 2; });
    db_.SetActiveLightMode(profile, 2);
    LightModeRecord row;
    if (db_.GetLightMode(profile, 2, row)) {
        row.brightness = 2;
        row.speed = 2;
        db_.UpdateLightMode(2, row);
    }
    context_.View().RefreshPages(kPageLighting);
}

DeviceError DeviceCommands::ResetLighting(int profile) {
    profile = ProfileOr(profile);
    if (CurrentFamily() == Family::Feature) {
        ApplyFeatureLightingReset(profile);
        return WriteLighting(profile, 2);
    }
    Frame reset = BuildLightingReset();
    Transact(reset);  // answered late or not at all; the read below tells
    context_.Sleep(100);
    Frame f = BuildReadRequest(0x15);
    const DeviceError error = Transact(f);
    if (error == DeviceError::None) ReadLightingBack(profile, f);
    context_.View().RefreshPages(kPageLighting);
    return error;
}

DeviceError DeviceCommands::FactoryReset(int profile) {
    profile = ProfileOr(profile);
    const Family family = CurrentFamily();
    Frame f = BuildFactoryReset(family);
    const DeviceError sent = Send(family, f);
    if (family == Family::Report) return sent;
    ApplyFeatureLightingReset(profile);
    const DeviceError lighting = WriteLighting(profile, 2);
    return sent != DeviceError::None ? sent : lighting;
}

}  // namespace quorvel
