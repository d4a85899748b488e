#pragma once
// The defaults loader: a model's factory values written into the settings of a profile, when the DPI
// levels are reset (DPI-only) or the mouse's factory settings are restored (everything).

#include <optional>
#include <string>
#include <string_view>

#include "shell/DeviceDescriptor.h"

namespace quorvel {

class DeviceDatabase;

struct DefaultsResult {
    bool loaded = false;  // the descriptor could be read
    // Low 8 bits of report_rate's value; set only by the full reset when the element is present.
    std::optional<int> reportRateCapability;
};

// Writes the descriptor's factory texts into `profile` through SetConfig, in the descriptor's order.
DefaultsResult ApplyDescriptorDefaults(DeviceDatabase& db, int profile, const DeviceDescriptor& descriptor,
                                       bool dpiOnly);
// Reads "<programDir>/device/<modelKey>.xml" first; nothing is written when it cannot be read.
DefaultsResult LoadDescriptorDefaults(DeviceDatabase& db, int profile, const std::string& programDir,
                                      std::string_view modelKey, bool dpiOnly);

}  // namespace quorvel
