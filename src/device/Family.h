#pragma once
// The two protocol families, told apart by the model's device_type. One rule for discovery (which
// interface carries the commands), the command set and the notification pollers alike.

namespace quorvel {

// device_type from 200 on speaks feature reports; below it, output reports with a checksum.
constexpr int kFeatureFamilyFrom = 200;

enum class Family { Report, Feature };

inline bool IsFeatureFamily(int deviceType) {
    return deviceType >= kFeatureFamilyFrom;
}
inline Family FamilyOf(int deviceType) {
    return IsFeatureFamily(deviceType) ? Family::Feature : Family::Report;
}

}  // namespace quorvel
