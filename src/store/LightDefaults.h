#pragma once
// The lighting modes a profile starts with: one row per lighting zone the model's descriptor enables.

#include <array>
#include <optional>

#include "store/Records.h"

namespace quorvel {

class DeviceDatabase;

// The adjustments of each zone's mode that the descriptor names (config_func); unset: the built-in ones.
using ZoneOptions = std::array<std::optional<int>, 6>;

// The default row of zone 1..6 (light_1 ... light_6) for a profile; configFunc replaces the built-in
// adjustments of the zone's mode.
LightModeRecord DefaultLightMode(int zone, int profile, std::optional<int> configFunc = std::nullopt);

// When the profile has no lighting row: inserts the rows of the enabled zones in zone order, then makes
// mode 1 active. Returns the number of rows inserted (0 when the profile already had rows).
int AddDefaultLightModes(DeviceDatabase& db, int profile, const std::array<bool, 6>& zoneEnabled,
                         const ZoneOptions& zoneOptions = {});

}  // namespace quorvel
