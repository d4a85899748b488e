#include "store/LightDefaults.h"

#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

struct ZoneMode {
    const char* name;
    int mode, config_func, reserved;
};

constexpr ZoneMode kZoneModes[6] = {
    {"流光", 1, 3, 280}, {"呼吸", 2, 3, 281},     {"常亮", 3, 1, 282},
    {"霓虹", 4, 3, 283}, {"七彩波浪", 5, 3, 284}, {"关闭", 0, 0, 285},
};

// Red, green, blue, cyan, yellow, magenta, white.
constexpr int kDefaultColours[7] = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};

}  // namespace

LightModeRecord DefaultLightMode(int zone, int profile, std::optional<int> configFunc) {
    LightModeRecord record;
    if (zone < 1 || zone > 6) return record;
    const ZoneMode& z = kZoneModes[zone - 1];
    record.profile = profile;
    record.name = z.name;
    record.mode = z.mode;
    record.brightness = 4;
    record.speed = 2;
    record.direction = 0;
    record.colorful = 1;
    record.colorindex = 0;
    for (int i = 0; i < 7; ++i) record.color_value[i] = kDefaultColours[i];
    record.config_func = configFunc.value_or(z.config_func);
    record.reserved = z.reserved;
    record.status = 0;
    return record;
}

int AddDefaultLightModes(DeviceDatabase& db, int profile, const std::array<bool, 6>& zoneEnabled,
                         const ZoneOptions& zoneOptions) {
    auto hold = db.Hold();
    if (db.CountLightModes(profile) != 0) return 0;
    int added = 0;
    for (int zone = 1; zone <= 6; ++zone) {
        if (zoneEnabled[zone - 1] &&
            db.AddLightMode(DefaultLightMode(zone, profile, zoneOptions[zone - 1])) > 0)
            ++added;
    }
    db.SetActiveLightMode(profile, 1);
    return added;
}

}  // namespace quorvel
