#pragma once
// Where the update server keeps its files and what they are called. The base addresses come from the
// product configuration (software) and the device descriptor (firmware); none is built in.

#include <string>
#include <string_view>

namespace quorvel {

// Software: "<base>version" (no separator added), "<base>//Mouse-Setup-<v>.zip" holding
// "Mouse-Setup-<v>.exe" at its top level.
std::string SoftwareVersionAddress(std::string_view updateAddress);
std::string SoftwareArchiveName(std::string_view version);
std::string SoftwareArchiveAddress(std::string_view updateAddress, std::string_view version);
std::string SoftwareInstallerName(std::string_view version);

// Firmware: "<base>/mouse/version", "<base>//mouse//firmware-<v>.zip" holding "firmware-<v>.bin".
std::string FirmwareVersionAddress(std::string_view firmwareAddress);
std::string FirmwareArchiveName(std::string_view version);
std::string FirmwareArchiveAddress(std::string_view firmwareAddress, std::string_view version);
std::string FirmwareImageName(std::string_view version);

// The work folder below the data folder (given with or without a trailing '/'): "<data>/temp/".
std::string UpdateWorkFolder(std::string_view dataFolder);

}  // namespace quorvel
