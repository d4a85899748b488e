// The firmware transfer on the upgrade interface.

#include <chrono>
#include <cstdio>
#include <thread>

#include "device/CommandsFirmwareFrames.h"
#include "device/CoreContext.h"
#include "device/DeviceCommands.h"
#include "device/HidDeviceManager.h"
#include "shell/Localisation.h"

namespace quorvel {

bool DeviceCommands::StartFirmwareUpgrade() {
    if (!manager_.UpgradeHandle()) return false;
    const UpgradeReport r = BuildFirmwareStart();
    return manager_.UpgradeWrite(r.data());
}

bool DeviceCommands::EndFirmwareUpgrade() {
    if (!manager_.UpgradeHandle()) return false;
    const UpgradeReport r = BuildFirmwareEnd();
    return manager_.UpgradeWrite(r.data());
}

bool DeviceCommands::SendFirmware(const uint8_t* image, size_t size) {
    if (!manager_.UpgradeHandle()) return false;
    const std::vector<UpgradeReport> packets = BuildFirmwarePackets(image, size);
    const size_t fullPackets = size / 48;
    const std::string word = text("LAN", 592);
    for (size_t i = 0; i < packets.size(); ++i) {
        if (!manager_.UpgradeWrite(packets[i].data())) return false;  // the mouse stopped taking data
        if (i >= fullPackets) break;  // the short last packet shows no progress
        const size_t sent = i + 1;
        if (sent <= 2) context_.Sleep(10);
        const int percent = static_cast<int>(90 * sent / fullPackets + 10);
        char line[320];
        std::snprintf(line, sizeof line, "%s: %d%%", word.c_str(), percent);
        context_.View().SetFirmwareProgress(percent, line);
    }
    return true;
}

}  // namespace quorvel
