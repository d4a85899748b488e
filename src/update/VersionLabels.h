#pragma once
// What the device-information page shows about the firmware of the current link, and the mouse firmware
// version the firmware check compares. The GUI draws it when the core calls DeviceView::ShowVersionLabels.

#include <cstdint>
#include <string>

namespace quorvel {

class DeviceMainDef;

struct VersionLabels {
    std::string mouseFirmware;          // label 243: "<551>: X.YZ" (only the caption on a wireless link)
    std::string receiver;               // label 244: "<552>: X.YZ" (only the caption unless wireless)
    std::string firmwareResult;         // label 246: text 580, or empty on a wireless link
    std::string receiverResult;         // label 247: text 580 on a wireless link, else empty
    bool firmwareCheckEnabled = true;   // button 248
    bool receiverCheckEnabled = false;  // button 249
    std::string mouseFirmwareVersion;   // "%X" of the release; set unless the link is wireless
    std::string receiverVersion;        // "%X" of the release on a wireless link
};

// "<caption>: <first character>.<last two characters>" ("105" -> "Mouse Firmware: 1.05").
std::string VersionCaption(const std::string& caption, const std::string& version);

// linkKind: 0 wired, 1 wireless, -1 none; release: the release number of the record of that link kind
// (binary-coded decimal, 0 when there is none). Texts from the current language.
VersionLabels MakeVersionLabels(int linkKind, uint32_t release);
// The same for the core's current link.
VersionLabels CurrentVersionLabels(DeviceMainDef& core);

// The mouse firmware version the firmware check compares: on a wireless link the version the mouse
// reported through the receiver (read-back), otherwise "%X" of the release of the current link.
std::string CurrentMouseFirmwareVersion(DeviceMainDef& core);

}  // namespace quorvel
