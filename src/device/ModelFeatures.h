#pragma once
// What a model has, in one place for every view: a wireless link and its battery, lights, and which of the
// power settings apply to it. Worked out from the product configuration (a model with a receiver mode is
// wireless) and the model's descriptor (lighting), and the protocol family (the feature family takes no
// wake-on-move and no button response time).

#include <map>
#include <optional>
#include <vector>

#include "shell/DeviceDescriptor.h"
#include "shell/ProductConfig.h"

namespace quorvel {

struct ModelFeatures {
    bool wireless = false;  // it can be reached through a receiver
    bool battery = false;   // it runs on a battery: the wireless models
    bool lights = false;    // lighting switched on by the descriptor, with at least one mode
    // The power settings that mean something on the model.
    bool sleepTime = false;        // sleep_light: only a battery needs the mouse to sleep
    bool wakeOnMove = false;       // move_wakeup: waking from that sleep; not sent to the feature family
    bool lightsOffMoving = false;  // move_closelight: only with lights
    bool responseTime = false;     // button_respondtime: not sent to the feature family

    friend bool operator==(const ModelFeatures&, const ModelFeatures&) = default;
};

// The features of `deviceType` from its connection modes (the product's mode list) and its model state.
ModelFeatures FeaturesOf(int deviceType, const std::vector<DeviceEntry>& modes, const ModelState& model);

// The features of every model of the product, each from its own descriptor under programDir (a model
// whose descriptor cannot be read has no lights).
std::map<int, ModelFeatures> FeaturesOfModels(const std::string& programDir, const ProductConfig& config);

// The battery level a view shows: only for a model with a battery whose mouse answered (reachable), and
// never 0, which the mouse sends when it reports no level.
std::optional<int> ShownBatteryLevel(const ModelFeatures& features, bool reachable, int level);

}  // namespace quorvel
