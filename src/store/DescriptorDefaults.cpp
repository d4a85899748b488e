#include "store/DescriptorDefaults.h"

#include "store/DeviceDatabase.h"

namespace quorvel {

DefaultsResult ApplyDescriptorDefaults(DeviceDatabase& db, int profile, const DeviceDescriptor& descriptor,
                                       bool dpiOnly) {
    DefaultsResult result;
    result.loaded = true;
    // One lock for the whole reset, so the other thread never reads half of it.
    auto hold = db.Hold();
    for (const auto& [key, value] : DefaultSettings(descriptor, dpiOnly)) db.SetConfig(profile, key, value);
    if (!dpiOnly) result.reportRateCapability = ReportRateCapability(descriptor);
    return result;
}

DefaultsResult LoadDescriptorDefaults(DeviceDatabase& db, int profile, const std::string& programDir,
                                      std::string_view modelKey, bool dpiOnly) {
    DeviceDescriptor descriptor;
    if (!LoadDeviceDescriptor(programDir, modelKey, &descriptor)) return {};
    return ApplyDescriptorDefaults(db, profile, descriptor, dpiOnly);
}

}  // namespace quorvel
