// Tasks 27 and 28: download an update archive, check its signature, unpack it in the work folder, then
// start the set-up program or send the firmware image to the mouse.

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

constexpr const char* kCancelled = "cancelled";

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

void EndAsCancelled(UpdateInstall* result) {
    result->error = kCancelled;
    result->cancelled = true;
}

// The firmware goes only to the model that was checked, on its cable: a receiver (or a mouse that was
// unplugged and replaced meanwhile) is refused. Worker thread.
std::string LinkRefusal(DeviceMainDef& core, int checkedDeviceType) {
    const HidDeviceRecord* record = core.Manager().CurrentRecord();
    if (!record) return "no mouse connected";
    if (record->linkMode != 0)
        return "the mouse is connected through its receiver; firmware is sent only to a mouse on its cable";
    if (record->deviceType != checkedDeviceType)
        return "the mouse connected now (device_type " + std::to_string(record->deviceType) +
               ") is not the one whose firmware was checked (device_type " +
               std::to_string(checkedDeviceType) + ")";
    return {};
}

// Downloads `address` into the work folder as `archiveName`, checks its signature and unpacks it there.
// The file `wanted` is removed first, so whatever is found under that name afterwards came out of this
// archive whole (the extraction writes no entry whose size or CRC-32 is wrong). Returns the path of
// `wanted`, or empty with *error (and *cancelled when a cancel ended it).
std::string FetchAndUnpack(UpdateFlow::State& s, const UpdateKeys& keys, const std::string& address,
                           const std::string& archiveName, const std::string& wanted,
                           const std::function<void()>& downloaded, std::string* error, bool* cancelled) {
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
        *cancelled = s.client.LastError() == kCancelled;
        *error = "cannot download " + address + ": " + s.client.LastError();
        return {};
    }
    if (downloaded) downloaded();
    // Nothing of an archive that is not the maker's is unpacked.
    if (std::string why = s.CheckSigned(keys, address, {}, archive); !why.empty()) {
        ::unlink(archive.c_str());
        *cancelled = s.client.LastError() == kCancelled;
        *error = SignatureRefusal(why);
        return {};
    }
    const std::string target = work + wanted;
    ::unlink(target.c_str());
    ZipExtractOptions options;
    options.cancel = &s.cancel;
    ZipExtractReport report;
    if (!ExtractZip(archive, work, options, &report)) {
        *cancelled = report.error == kCancelled;
        *error = "cannot unpack " + archive + ": " + report.error;  // the archive stays for a look
        return {};
    }
    ::unlink(archive.c_str());
    s.Pass(UpdatePoint::kUnpacked);
    if (!IsRegularFile(target)) {
        *error = MissingEntry(wanted, report);
        return {};
    }
    return target;
}

}  // namespace

bool UpdateFlow::State::InstallSoftware() {
    const std::shared_ptr<std::atomic<bool>> token = BeginInstall(kUpdateSoftware);
    Pass(UpdatePoint::kStarted);
    UpdateInstall result;
    {
        std::lock_guard<std::mutex> lock(mutex);
        result.version = newestSoftware;
    }
    const UpdateKeys keys = Keys();
    result.unsignedUpdates = keys.keys.empty() && keys.error.empty();
    if (token->load()) {
        EndAsCancelled(&result);
    } else if (result.version.empty()) {
        result.error = "no software version from the server yet: check for updates first";
    } else if (settings.softwareAddress.empty()) {
        result.error = "config.xml names no software update address (upgrade url)";
    } else if (!keys.error.empty()) {
        result.error = SignatureRefusal(keys.error);
    } else {
        const std::string name = SoftwareArchiveName(result.version);
        result.path =
            FetchAndUnpack(*this, keys, SoftwareArchiveAddress(settings.softwareAddress, result.version),
                           name, InstallerName(result.version), nullptr, &result.error, &result.cancelled);
        if (!result.path.empty()) {
            if (token->load()) {
                EndAsCancelled(&result);
            } else if (StartInstaller(result.path, &result.error)) {
                result.ok = true;
                result.exitProgram = true;
            }
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
    const std::shared_ptr<std::atomic<bool>> token = BeginInstall(kUpdateFirmware);
    Pass(UpdatePoint::kStarted);
    UpdateInstall result;
    std::string localFile;
    int checkedType = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        result.version = newestFirmware;
        checkedType = checkedDeviceType;
        localFile.swap(firmwareFile);
    }
    const UpdateKeys keys = Keys();
    if (token->load()) {
        EndAsCancelled(&result);
    } else if (!localFile.empty()) {
        // A file the user named is the user's choice: no signature, no check of the model.
        result.version.clear();
        result.path = localFile;
    } else {
        result.unsignedUpdates = keys.keys.empty() && keys.error.empty();
        Step(5, 590);
        const std::string base = core.Snapshot().model.firmware_url;
        if (result.version.empty()) {
            result.error = "no firmware version from the server yet: check for firmware first";
        } else if (std::string why = LinkRefusal(core, checkedType); !why.empty()) {
            result.error = why;
        } else if (base.empty()) {
            result.error = "the device descriptor of this model names no firmware address";
        } else if (!keys.error.empty()) {
            result.error = SignatureRefusal(keys.error);
        } else {
            result.path = FetchAndUnpack(
                *this, keys, FirmwareArchiveAddress(base, result.version),
                FirmwareArchiveName(result.version), FirmwareImageName(result.version),
                [this] { Step(7, 591); }, &result.error, &result.cancelled);
        }
    }
    std::vector<uint8_t> image;
    if (!result.path.empty() && LoadFirmwareImage(result.path, &image, &result.error)) {
        Pass(UpdatePoint::kBeforeTransfer);
        if (token->load()) {
            EndAsCancelled(&result);
        } else if (std::string why = localFile.empty() ? LinkRefusal(core, checkedType) : std::string();
                   !why.empty()) {
            result.error = why;  // the mouse changed during the download
        } else {
            Step(10, 591);
            result.ok = FlashFirmware(core, image, &result.error);
            result.imageBytes = result.ok ? image.size() : 0;
            if (result.ok) Step(100, 593);
        }
        // A downloaded image is used once; a file the user named stays.
        if (localFile.empty()) ::unlink(result.path.c_str());
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
