#pragma once
// The lighting modes a profile starts with: one row per lighting zone the model's descriptor enables.

#include <array>

#include "store/Records.h"

namespace quorvel {

class DeviceDatabase;

// The default row of zone 1..6 (light_1 ... light_6) for a profile.
LightModeRecord DefaultLightMode(int zone, int profile);

// When the profile has no lighting row: inserts the rows of the enabled zones in zone order, then makes
// mode 1 active. Returns the number of rows inserted (0 when the profile already had rows).
int AddDefaultLightModes(DeviceDatabase& db, int profile, const std::array<bool, 6>& zoneEnabled);

}  // namespace quorvel
