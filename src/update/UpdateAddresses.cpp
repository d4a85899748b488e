#include "update/UpdateAddresses.h"

#include <initializer_list>

namespace quorvel {
namespace {

std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text += piece;
    return text;
}

}  // namespace

std::string SoftwareVersionAddress(std::string_view updateAddress) { return Concat({updateAddress, "version"}); }

std::string SoftwareArchiveName(std::string_view version) { return Concat({"Mouse-Setup-", version, ".zip"}); }

std::string SoftwareArchiveAddress(std::string_view updateAddress, std::string_view version) {
    return Concat({updateAddress, "//", SoftwareArchiveName(version)});
}

std::string SoftwareInstallerName(std::string_view version) { return Concat({"Mouse-Setup-", version, ".exe"}); }

std::string FirmwareVersionAddress(std::string_view firmwareAddress) {
    return Concat({firmwareAddress, "/mouse/version"});
}

std::string FirmwareArchiveName(std::string_view version) { return Concat({"firmware-", version, ".zip"}); }

std::string FirmwareArchiveAddress(std::string_view firmwareAddress, std::string_view version) {
    return Concat({firmwareAddress, "//mouse//", FirmwareArchiveName(version)});
}

std::string FirmwareImageName(std::string_view version) { return Concat({"firmware-", version, ".bin"}); }

std::string UpdateWorkFolder(std::string_view dataFolder) {
    std::string folder(dataFolder);
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "temp/";
}

}  // namespace quorvel
