#pragma once
// Where the update server keeps its files and what they are called. The base addresses come from the
// product configuration (software) and the device descriptor (firmware); none is built in.

#include <string>
#include <string_view>

namespace quorvel {

// Every address is composed as the server layout names it and then has the repeated slashes of its path
// collapsed (CollapsePathSlashes), since not every server merges them.
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

// Runs of "/" in the path of an address become one; the "//" after the scheme, the query and the fragment
// stay as they are. "http://h//a///b.zip" -> "http://h/a/b.zip".
std::string CollapsePathSlashes(std::string_view address);

// The work folder below the data folder (given with or without a trailing '/'): "<data>/temp/".
std::string UpdateWorkFolder(std::string_view dataFolder);

}  // namespace quorvel
