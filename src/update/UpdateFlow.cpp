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

// A version text is read up to its first zero byte (the signature covers all of it).
std::string TextUpToZero(const std::string& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

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
    settings.keysFile = ProgramDir() + kUpdateKeysFileName;
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

std::shared_ptr<std::atomic<bool>> UpdateFlow::State::BeginInstall(int kind) {
    std::lock_guard<std::mutex> lock(mutex);
    installing = true;
    running = prepared[kind] ? std::move(prepared[kind]) : std::make_shared<std::atomic<bool>>(false);
    prepared[kind].reset();
    return running;
}

void UpdateFlow::State::EndInstall() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        installing = false;
        running.reset();
    }
    EndTask();  // a cancel that came while the task ran ends with it
}

void UpdateFlow::State::Pass(UpdatePoint point) {
    if (pointHook) pointHook(point);
}

UpdateKeys UpdateFlow::State::Keys() const {
    return settings.keysFile.empty() ? UpdateKeys{} : LoadUpdateKeys(settings.keysFile);
}

std::string UpdateFlow::State::CheckSigned(const UpdateKeys& keys, const std::string& address,
                                           std::string_view data, const std::string& file) {
    if (keys.keys.empty()) return {};
    const std::string sigAddress = address + ".sig";
    std::string signature;
    if (client.FetchBytes(sigAddress, kMaxSignatureBytes, &signature) != kDownloadOk)
        return "no signature at " + sigAddress + ": " + client.LastError();
    const std::string why =
        file.empty() ? CheckSignature(data, signature, keys) : CheckFileSignature(file, signature, keys);
    return why.empty() ? why : sigAddress + ": " + why;
}

std::string SignatureRefusal(const std::string& why) {
    return text("LAN", kTextSignatureRefused) + " (" + why + ")";
}

bool UpdateFlow::State::CheckSoftware() {
    VersionCheck result;
    result.current = settings.softwareVersion;
    {
        std::lock_guard<std::mutex> lock(mutex);
        newestSoftware.clear();
    }
    std::string fetched, refusal;
    const std::string address = SoftwareVersionAddress(settings.softwareAddress);
    const UpdateKeys keys = Keys();
    result.unsignedUpdates = keys.keys.empty() && keys.error.empty();
    if (settings.softwareAddress.empty()) {
        result.error = "config.xml names no software update address (upgrade url)";
    } else if (!keys.error.empty()) {
        result.error = refusal = SignatureRefusal(keys.error);
    } else if (client.FetchBytes(address, client.Limits().maxTextBytes, &fetched) != kDownloadOk) {
        result.error = "cannot fetch the software version from " + address + ": " + client.LastError();
    } else if (std::string why = CheckSigned(keys, address, fetched); !why.empty()) {
        result.error = refusal = SignatureRefusal(why);
    } else if ((result.newest = AcceptSoftwareVersion(TextUpToZero(fetched))).empty()) {
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
    // A failed check shows nothing (the label keeps its text), unless its file was refused.
    if (!refusal.empty()) View().SetSoftwareCheckLabel(text("LAN", kTextSignatureLabel));
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
    const DeviceState state = core.Snapshot();
    const std::string base = state.model.firmware_url;
    const std::string address = FirmwareVersionAddress(base);
    std::string fetched, refusal;
    const UpdateKeys keys = Keys();
    result.unsignedUpdates = keys.keys.empty() && keys.error.empty();
    if (base.empty()) {
        result.error = "the device descriptor of this model names no firmware address";
    } else if (!keys.error.empty()) {
        result.error = refusal = SignatureRefusal(keys.error);
    } else if (client.FetchBytes(address, client.Limits().maxTextBytes, &fetched) != kDownloadOk) {
        result.error = "cannot fetch the firmware version from " + address + ": " + client.LastError();
    } else if (std::string why = CheckSigned(keys, address, fetched); !why.empty()) {
        result.error = refusal = SignatureRefusal(why);
    } else if ((result.newest = AcceptFirmwareVersion(TextUpToZero(fetched))).empty()) {
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
        checkedDeviceType = state.currentDeviceType;
        firmwareCheck = result;
    }
    EndTask();
    if (!refusal.empty()) View().SetFirmwareCheckLabel(text("LAN", kTextSignatureLabel));
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

void UpdateFlow::SetPointHook(std::function<void(UpdatePoint)> hook) {
    state_->pointHook = std::move(hook);
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

void UpdateFlow::PrepareInstall(int kind) {
    if (kind != kUpdateSoftware && kind != kUpdateFirmware) return;
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->prepared[kind] = std::make_shared<std::atomic<bool>>(false);
}

bool UpdateFlow::CancelTransfer() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    bool any = false;
    for (auto& token : state_->prepared) {
        if (!token) continue;
        token->store(true);
        any = true;
    }
    if (state_->installing && state_->running) {
        state_->running->store(true);
        state_->cancel.store(true);
        state_->client.Cancel();
        any = true;
    }
    return any;
}

}  // namespace quorvel
