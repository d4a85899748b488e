#pragma once
// Which virtual mice to plug in: "TYPE[:wired|:wireless][,key=value...]", several joined by ";".
// TYPE is a device_type of config.xml; the link picks that model's mode entry (vid, pid, dev_id).

#include <cstdint>
#include <string>
#include <vector>

#include "shell/ProductConfig.h"

namespace quorvel {

inline constexpr const char* kVirtualEnv = "QUORVEL_VIRTUAL";
inline constexpr const char* kVirtualStateEnv = "QUORVEL_VIRTUAL_STATE";

struct VirtualMouseSpec {
    int deviceType = 0;
    int linkMode = 0;          // 0 wired, 1 through the receiver
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string devId;         // the 4 characters of the info block (shorter ids are padded with zero bytes)
    std::string name;          // product string
    int sensor = 149;          // report family only; the feature family reports the third id character
    int rateCap = 0x40;        // info byte 12 (report family)
    uint16_t release = 0x0105; // bcdDevice and firmware version
    int battery = 80;          // battery level
    bool linked = true;        // the receiver reaches the mouse

    bool FeatureFamily() const { return deviceType >= 200; }
    // "101:wired", the key of this mouse in the state file.
    std::string Key() const;
};

// Parses the QUORVEL_VIRTUAL list; false with a readable *error on the first bad spec (nothing is appended then).
// Empty items (";;", blanks) are skipped, so an empty text yields no mouse.
bool ParseVirtualSpecs(const std::string& text, const std::vector<DeviceEntry>& modes,
                       std::vector<VirtualMouseSpec>* out, std::string* error);

// "123" or "0x7B"; false for anything else (signs, blanks, trailing text, overflow).
bool ParseVirtualNumber(const std::string& text, uint32_t* value);

}  // namespace quorvel
