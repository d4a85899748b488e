#include "update/UpdateFlow.h"

#include <cstdio>

#include "device/DeviceMainDef.h"
#include "device/Tasks.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/ProductConfig.h"
#include "support/TextConv.h"
#include "update/UpdateAddresses.h"
#include "update/UpdateFlowState.h"
#include "update/VersionLabels.h"
#include "update/VersionText.h"

namespace quorvel {
namespace {

constexpr int kUpdateTasks[] = {kTaskCheckSoftware, kTaskCheckFirmware, kTaskInstallSoftware,
                                kTaskFlashFirmware};

// "<582>: v<newest>" when the server has a newer version, else text 580.
std::string CheckLabel(bool newer, const std::string& newest) {
    return newer ? text("LAN", 582) + ": v" + newest : text("LAN", 580);
}

}  // namespace

std::string QuoteForMessage(const std::string& text) {
    std::string shown = Utf8Left(text, 40);
    for (char& c : shown) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) c = '?';
    }
    return "\"" + shown + (Utf8Length(text) > 40 ? "...\"" : "\"");
}

UpdateSettings SettingsFromProduct(const ProductConfig& config) {
    UpdateSettings settings;
    settings.softwareAddress = config.upgrade;
    settings.softwareVersion = config.version;
    return settings;
}

std::string UpdateFlow::State::WorkFolder() const {
    return UpdateWorkFolder(settings.dataFolder.empty() ? DataFolder() : settings.dataFolder);
}

void UpdateFlow::State::Step(int percent, int textId) {
    char line[320];
    std::snprintf(line, sizeof line, "%s: %d%%", text("LAN", textId).c_str(), percent);
    View().SetFirmwareProgress(percent, line);
}

void UpdateFlow::State::EndTask() {
    cancel.store(false);
    client.ResetCancel();
}

void UpdateFlow::State::BeginInstall() {
    std::lock_guard<std::mutex> lock(mutex);
    installing = true;
}

void UpdateFlow::State::EndInstall() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        installing = false;
    }
    EndTask();  // a cancel that came while the task ran ends with it
}

bool UpdateFlow::State::CheckSoftware() {
    VersionCheck result;
    result.current = settings.softwareVersion;
    {
        std::lock_guard<std::mutex> lock(mutex);
        newestSoftware.clear();
    }
    std::string fetched;
    const std::string address = SoftwareVersionAddress(settings.softwareAddress);
    if (settings.softwareAddress.empty()) {
        result.error = "config.xml names no software update address (upgrade url)";
    } else if (client.FetchText(address, &fetched) != kDownloadOk) {
        result.error = "cannot fetch the software version from " + address + ": " + client.LastError();
    } else if ((result.newest = AcceptSoftwareVersion(fetched)).empty()) {
        result.error = "the software version at " + address +
                       " is empty, longer than 10 characters or not a " +
                       "version: " + QuoteForMessage(fetched);
    } else {
        result.ok = true;
        result.newer = CompareVersions(result.current, result.newest) >= kVersionNewer;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        newestSoftware = result.newest;
        softwareCheck = result;
    }
    EndTask();
    // A failed check shows nothing: the label keeps its text.
    if (!result.ok) return false;
    View().SetSoftwareCheckLabel(CheckLabel(result.newer, result.newest));
    View().OfferUpdate(kUpdateSoftware, result.newer, result.newest);
    return true;
}

bool UpdateFlow::State::CheckFirmware() {
    VersionCheck result;
    result.current = CurrentMouseFirmwareVersion(core);
    {
        std::lock_guard<std::mutex> lock(mutex);
        newestFirmware.clear();
    }
    const std::string base = core.Snapshot().model.firmware_url;
    const std::string address = FirmwareVersionAddress(base);
    std::string fetched;
    if (base.empty()) {
        result.error = "the device descriptor of this model names no firmware address";
    } else if (client.FetchText(address, &fetched) != kDownloadOk) {
        result.error = "cannot fetch the firmware version from " + address + ": " + client.LastError();
    } else if ((result.newest = AcceptFirmwareVersion(fetched)).empty()) {
        result.error = "the firmware version at " + address +
                       " is empty, longer than 9 characters or not a " +
                       "version: " + QuoteForMessage(fetched);
    } else {
        result.ok = true;
        result.newer = CompareVersions(result.current, result.newest) >= kVersionNewer;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        newestFirmware = result.newest;
        firmwareCheck = result;
    }
    EndTask();
    if (!result.ok) return false;
    View().SetFirmwareCheckLabel(CheckLabel(result.newer, result.newest));
    View().OfferUpdate(kUpdateFirmware, result.newer, result.newest);
    return true;
}

UpdateFlow::UpdateFlow(DeviceMainDef& core, UpdateSettings settings)
    : state_(std::make_shared<State>(core, std::move(settings))) {}

UpdateFlow::~UpdateFlow() {
    if (!registered_) return;
    for (int task : kUpdateTasks) state_->core.SetTaskHandler(task, nullptr);
}

void UpdateFlow::SetView(DeviceView* view) {
    state_->view.store(view ? view : &state_->nullView);
}

DownloadClient& UpdateFlow::Client() {
    return state_->client;
}

void UpdateFlow::Register() {
    std::shared_ptr<State> s = state_;
    s->core.SetTaskHandler(kTaskCheckSoftware, [s] { return s->CheckSoftware(); });
    s->core.SetTaskHandler(kTaskCheckFirmware, [s] { return s->CheckFirmware(); });
    s->core.SetTaskHandler(kTaskInstallSoftware, [s] { return s->InstallSoftware(); });
    s->core.SetTaskHandler(kTaskFlashFirmware, [s] { return s->InstallFirmware(); });
    registered_ = true;
}

bool UpdateFlow::CheckSoftwareVersion() {
    return state_->CheckSoftware();
}
bool UpdateFlow::CheckFirmwareVersion() {
    return state_->CheckFirmware();
}
bool UpdateFlow::InstallSoftwareUpdate() {
    return state_->InstallSoftware();
}
bool UpdateFlow::InstallFirmwareUpdate() {
    return state_->InstallFirmware();
}

void UpdateFlow::SetFirmwareFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->firmwareFile = path;
}

VersionCheck UpdateFlow::SoftwareCheck() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->softwareCheck;
}

VersionCheck UpdateFlow::FirmwareCheck() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->firmwareCheck;
}

UpdateInstall UpdateFlow::SoftwareInstall() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->softwareInstall;
}

UpdateInstall UpdateFlow::FirmwareInstall() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->firmwareInstall;
}

void UpdateFlow::Cancel() {
    state_->cancel.store(true);
    state_->client.Cancel();
}

bool UpdateFlow::CancelTransfer() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (!state_->installing) return false;
    state_->cancel.store(true);
    state_->client.Cancel();
    return true;
}

}  // namespace quorvel
