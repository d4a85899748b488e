#include "update/VersionLabels.h"

#include <cstdio>

#include "device/DeviceMainDef.h"
#include "shell/Localisation.h"
#include "support/TextConv.h"

namespace quorvel {
namespace {

std::string Hex(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", value);
    return buffer;
}

uint32_t CurrentRelease(HidDeviceManager& manager, int linkKind) {
    uint32_t release = 0;
    if (!manager.ReleaseForLinkMode(&release, static_cast<uint32_t>(linkKind))) release = 0;
    return release;
}

}  // namespace

std::string VersionCaption(const std::string& caption, const std::string& version) {
    const std::size_t length = Utf8Length(version);
    const std::string last = length > 2 ? Utf8Mid(version, length - 2) : version;
    return caption + ": " + Utf8Left(version, 1) + "." + last;
}

VersionLabels MakeVersionLabels(int linkKind, uint32_t release) {
    VersionLabels labels;
    labels.mouseFirmware = text("LAN", 551);
    labels.receiver = text("LAN", 552);
    const std::string version = Hex(release);
    if (linkKind == 1) {
        labels.receiverVersion = version;
        labels.receiver = VersionCaption(labels.receiver, version);
        labels.receiverResult = text("LAN", 580);
        labels.firmwareCheckEnabled = false;
        labels.receiverCheckEnabled = true;
    } else {
        labels.mouseFirmwareVersion = version;
        labels.mouseFirmware = VersionCaption(labels.mouseFirmware, version);
        labels.firmwareResult = text("LAN", 580);
    }
    return labels;
}

VersionLabels CurrentVersionLabels(DeviceMainDef& core) {
    const int linkKind = core.Manager().CurrentLinkKind();
    return MakeVersionLabels(linkKind, CurrentRelease(core.Manager(), linkKind));
}

std::string CurrentMouseFirmwareVersion(DeviceMainDef& core) {
    const int linkKind = core.Manager().CurrentLinkKind();
    if (linkKind == 1) return core.Snapshot().mouseFirmwareVersion;
    return Hex(CurrentRelease(core.Manager(), linkKind));
}

}  // namespace quorvel
