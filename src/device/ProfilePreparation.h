#pragma once
// What the pages' refresh leaves in the database before the device tasks read it: the four profiles, the
// default lighting rows of a profile that has none (models with lighting), and the profile's active
// lighting mode. The worker prepares it itself before the tasks that send or read a whole profile, so a
// front end that shows nothing (or shows it later) cannot leave a task without its rows.

#include <string_view>

#include "shell/DeviceDescriptor.h"

namespace quorvel {

class DeviceDatabase;

// The profile's lighting rows (created when it has none and the model has lighting); returns its active
// lighting mode (0 when no row is active or the model has none).
int PrepareLighting(DeviceDatabase& db, int profile, const ModelState& model);

struct PreparedProfile {
    int profile = 0;    // the active profile; 0 when the database is not usable
    int lightMode = 0;  // its active lighting mode
};

// The four profiles when there are none (named with profileWord, text 61), then the active one prepared.
PreparedProfile PrepareActiveProfile(DeviceDatabase& db, const ModelState& model,
                                     std::string_view profileWord);

}  // namespace quorvel
