// Tasks 27 and 28: download an update archive, unpack it in the work folder, then start the set-up
// program or send the firmware image to the mouse.

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "device/DeviceMainDef.h"
#include "shell/AppContext.h"
#include "update/FirmwareUpdate.h"
#include "update/Installer.h"
#include "update/UpdateAddresses.h"
#include "update/UpdateFlowState.h"
#include "update/ZipExtract.h"

namespace quorvel {
namespace {

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Why the archive gave no usable `name`: the extraction's reason when it skipped that entry.
std::string MissingEntry(const std::string& name, const ZipExtractReport& report) {
    for (const std::string& skipped : report.skipped) {
        if (skipped.compare(0, name.size() + 1, name + ":") == 0)
            return "the archive's " + name + " was not unpacked (" + skipped.substr(name.size() + 2) + ")";
    }
    return "the archive holds no " + name;
}

// Downloads `address` into the work folder as `archiveName` and unpacks it there. The file `wanted` is
// removed first, so whatever is found under that name afterwards came out of this archive whole (the
// extraction writes no entry whose size or CRC-32 is wrong). Returns the path of `wanted`, or empty
// with *error.
std::string FetchAndUnpack(UpdateFlow::State& s, const std::string& address, const std::string& archiveName,
                           const std::string& wanted, const std::function<void()>& downloaded,
                           std::string* error) {
    const std::string work = s.WorkFolder();
    if (!CreateFolder(work)) {
        *error = "cannot create the work folder " + work;
        return {};
    }
    const std::string archive = work + archiveName;
    ::unlink(archive.c_str());
    const int rc =
        s.client.DownloadFile(address, archive, [&s](int value) { s.View().SetDownloadProgress(value); });
    if (rc != kDownloadOk || !IsRegularFile(archive)) {
        *error = "cannot download " + address + ": " + s.client.LastError();
        return {};
    }
    if (downloaded) downloaded();
    const std::string target = work + wanted;
    ::unlink(target.c_str());
    ZipExtractOptions options;
    options.cancel = &s.cancel;
    ZipExtractReport report;
    if (!ExtractZip(archive, work, options, &report)) {
        *error = "cannot unpack " + archive + ": " + report.error;  // the archive stays for a look
        return {};
    }
    ::unlink(archive.c_str());
    if (!IsRegularFile(target)) {
        *error = MissingEntry(wanted, report);
        return {};
    }
    return target;
}

}  // namespace

bool UpdateFlow::State::InstallSoftware() {
    BeginInstall();
    UpdateInstall result;
    {
        std::lock_guard<std::mutex> lock(mutex);
        result.version = newestSoftware;
    }
    if (result.version.empty()) {
        result.error = "no software version from the server yet: check for updates first";
    } else if (settings.softwareAddress.empty()) {
        result.error = "config.xml names no software update address (upgrade url)";
    } else {
        const std::string name = SoftwareArchiveName(result.version);
        result.path = FetchAndUnpack(*this, SoftwareArchiveAddress(settings.softwareAddress, result.version),
                                     name, InstallerName(result.version), nullptr, &result.error);
        if (!result.path.empty() && StartInstaller(result.path, &result.error)) {
            result.ok = true;
            result.exitProgram = true;
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        softwareInstall = result;
    }
    EndInstall();
    if (result.ok)
        View().InstallerStarted(result.path);
    else
        View().UpdateFailed(kUpdateSoftware, result.error);
    return result.ok;
}

bool UpdateFlow::State::InstallFirmware() {
    BeginInstall();
    UpdateInstall result;
    std::string localFile;
    {
        std::lock_guard<std::mutex> lock(mutex);
        result.version = newestFirmware;
        localFile.swap(firmwareFile);
    }
    if (!localFile.empty()) {
        result.version.clear();
        result.path = localFile;
    } else {
        Step(5, 590);
        const std::string base = core.Snapshot().model.firmware_url;
        if (result.version.empty()) {
            result.error = "no firmware version from the server yet: check for firmware first";
        } else if (base.empty()) {
            result.error = "the device descriptor of this model names no firmware address";
        } else {
            result.path = FetchAndUnpack(
                *this, FirmwareArchiveAddress(base, result.version), FirmwareArchiveName(result.version),
                FirmwareImageName(result.version), [this] { Step(7, 591); }, &result.error);
        }
    }
    std::vector<uint8_t> image;
    if (!result.path.empty() && LoadFirmwareImage(result.path, &image, &result.error)) {
        Step(10, 591);
        result.ok = FlashFirmware(core, image, &result.error);
        result.imageBytes = result.ok ? image.size() : 0;
        // A downloaded image is used once; a file the user named stays.
        if (localFile.empty()) ::unlink(result.path.c_str());
        if (result.ok) Step(100, 593);
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        firmwareInstall = result;
    }
    EndInstall();
    if (!result.ok) View().UpdateFailed(kUpdateFirmware, result.error);
    return result.ok;
}

}  // namespace quorvel
