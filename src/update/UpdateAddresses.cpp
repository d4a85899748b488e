#include "update/UpdateAddresses.h"

#include <initializer_list>

namespace quorvel {
namespace {

std::string Concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text += piece;
    return text;
}

// An address of the server layout: its pieces joined, with the path's doubled slashes made single.
std::string Address(std::initializer_list<std::string_view> pieces) {
    return CollapsePathSlashes(Concat(pieces));
}

}  // namespace

std::string CollapsePathSlashes(std::string_view address) {
    std::size_t path = 0;
    if (const std::size_t scheme = address.find("://"); scheme != std::string_view::npos) {
        path = address.find('/', scheme + 3);
        if (path == std::string_view::npos) return std::string(address);
    }
    std::size_t end = address.find_first_of("?#", path);
    if (end == std::string_view::npos) end = address.size();
    std::string collapsed(address.substr(0, path));
    for (std::size_t i = path; i < end; ++i) {
        if (address[i] == '/' && i > path && address[i - 1] == '/') continue;
        collapsed += address[i];
    }
    collapsed += address.substr(end);
    return collapsed;
}

std::string SoftwareVersionAddress(std::string_view updateAddress) {
    return Address({updateAddress, "version"});
}

std::string SoftwareArchiveName(std::string_view version) { return Concat({"Mouse-Setup-", version, ".zip"}); }

std::string SoftwareArchiveAddress(std::string_view updateAddress, std::string_view version) {
    return Address({updateAddress, "//", SoftwareArchiveName(version)});
}

std::string SoftwareInstallerName(std::string_view version) { return Concat({"Mouse-Setup-", version, ".exe"}); }

std::string FirmwareVersionAddress(std::string_view firmwareAddress) {
    return Address({firmwareAddress, "/mouse/version"});
}

std::string FirmwareArchiveName(std::string_view version) { return Concat({"firmware-", version, ".zip"}); }

std::string FirmwareArchiveAddress(std::string_view firmwareAddress, std::string_view version) {
    return Address({firmwareAddress, "//mouse//", FirmwareArchiveName(version)});
}

std::string FirmwareImageName(std::string_view version) { return Concat({"firmware-", version, ".bin"}); }

std::string UpdateWorkFolder(std::string_view dataFolder) {
    std::string folder(dataFolder);
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "temp/";
}

}  // namespace quorvel
