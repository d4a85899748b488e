#include "device/ModelFeatures.h"

#include <algorithm>

#include "device/Family.h"

namespace quorvel {

ModelFeatures FeaturesOf(int deviceType, const std::vector<DeviceEntry>& modes, const ModelState& model) {
    ModelFeatures f;
    f.wireless = std::any_of(modes.begin(), modes.end(), [&](const DeviceEntry& m) {
        return m.device_type == deviceType && m.mode == 1;
    });
    f.battery = f.wireless;
    f.lights = model.light &&
               std::any_of(model.light_zone.begin(), model.light_zone.end(), [](bool on) { return on; });
    const bool feature = IsFeatureFamily(deviceType);
    f.sleepTime = f.battery;
    f.wakeOnMove = f.battery && !feature;
    f.lightsOffMoving = f.lights;
    f.responseTime = !feature;
    return f;
}

std::map<int, ModelFeatures> FeaturesOfModels(const std::string& programDir, const ProductConfig& config) {
    std::map<int, ModelFeatures> features;
    for (const DeviceEntry& m : config.models) {
        ModelState model;
        DeviceDescriptor descriptor;
        if (LoadDeviceDescriptor(programDir, m.device_attr, &descriptor))
            ApplyModelDescriptor(descriptor, &model);
        else
            model.light = false;
        features[m.device_type] = FeaturesOf(m.device_type, config.modes, model);
    }
    return features;
}

std::optional<int> ShownBatteryLevel(const ModelFeatures& features, bool reachable, int level) {
    if (!features.battery || !reachable || level <= 0) return std::nullopt;
    return level;
}

}  // namespace quorvel
