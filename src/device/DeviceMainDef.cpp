#include "device/DeviceMainDef.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <thread>

#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/Preferences.h"
#include "shell/TraceLog.h"
#include "store/DeviceDatabase.h"
#include "store/ProfileLoader.h"

namespace quorvel {

DeviceMainDef::DeviceMainDef(HidDeviceManager& manager, DeviceDatabase& db)
    : manager_(manager),
      db_(db),
      discovery_(manager, &nullView_,
                 DiscoveryHooks{[] { return ReadDeviceType(); }, [](int type) { WriteDeviceType(type); },
                                [this](int type) { LoadModel(type); },
                                [this](const std::string& line) { TraceLine("%s", line.c_str()); }}) {}

DeviceMainDef::~DeviceMainDef() {
    // The worker may still be inside a task that uses this object: wait for it before anything goes.
    JoinWorker();
}

void DeviceMainDef::SetView(DeviceView* view) {
    DeviceView* v = view ? view : &nullView_;
    view_.store(v);
    discovery_.SetView(v);
}

DeviceView& DeviceMainDef::View() { return *view_.load(); }

void DeviceMainDef::SetProduct(const ProductConfig& config) {
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        models_ = config.models;
        modes_ = config.modes;
    }
    discovery_.SetModes(config.modes);
}

void DeviceMainDef::SetTaskHandler(int task, TaskHandler handler) {
    std::lock_guard<std::mutex> lock(hookMutex_);
    handlers_[task] = std::move(handler);
}

void DeviceMainDef::SetTraceHook(std::function<void(const std::string&)> hook) {
    std::lock_guard<std::mutex> lock(hookMutex_);
    trace_ = std::move(hook);
}

void DeviceMainDef::SetSleep(std::function<void(int)> sleep) {
    std::lock_guard<std::mutex> lock(hookMutex_);
    sleep_ = std::move(sleep);
}

void DeviceMainDef::StartWorker() {
    QueueTask(1);
    SetInterval(2);
    SetLoopMode(1);
    StartThread();
}

std::vector<DeviceEntry> DeviceMainDef::Models() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return models_;
}

std::vector<DeviceEntry> DeviceMainDef::Modes() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return modes_;
}

DeviceState DeviceMainDef::Snapshot() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    DeviceState copy = state_;
    copy.devicePresent = discovery_.Polling();
    return copy;
}

int DeviceMainDef::CurrentDeviceType() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return state_.currentDeviceType;
}

int DeviceMainDef::CurrentProfile() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return state_.currentProfile;
}

void DeviceMainDef::SetCurrentDeviceType(int deviceType) {
    Update([&](DeviceState& s) { s.currentDeviceType = deviceType; });
    discovery_.SetSelectedDeviceType(deviceType);
}

void DeviceMainDef::SetCurrentProfile(int profile) {
    Update([&](DeviceState& s) { s.currentProfile = profile; });
}

void DeviceMainDef::SetCurrentLightMode(int mode) {
    Update([&](DeviceState& s) { s.currentLightMode = mode; });
}

void DeviceMainDef::SetCurrentKeySlot(int slot) {
    Update([&](DeviceState& s) { s.currentKeySlot = slot; });
}

void DeviceMainDef::SetMacroUploadPending(int keySlot) {
    Update([&](DeviceState& s) {
        s.macroUploadPending = 1;
        s.macroUploadSlot = keySlot;
    });
}

void DeviceMainDef::SetDpiLevelState(int count, int selected) {
    Update([&](DeviceState& s) {
        s.dpiLevelCount = count;
        s.dpiLevelSelected = selected;
    });
}

void DeviceMainDef::ForgetReadDevices() {
    Update([](DeviceState& s) { s.readDeviceTypes.clear(); });
}

void DeviceMainDef::LoadModel(int deviceType) {
    std::string name, key;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        for (const DeviceEntry& m : models_) {
            if (m.device_type == deviceType) {
                name = m.name;
                key = m.device_attr;
                break;
            }
        }
        state_.currentDeviceType = deviceType;
        state_.modelName = name;
        state_.modelKey = key;
    }
    // The database follows the model even when its descriptor cannot be read.
    CreateFolder(DataFolder() + "db/");
    db_.SwitchToDevice(DataFolder(), key);
    DeviceDescriptor descriptor;
    if (!LoadDeviceDescriptor(ProgramDir(), key, &descriptor)) return;
    ModelState model;
    Update([&](DeviceState& s) {
        ApplyModelDescriptor(descriptor, &s.model);
        model = s.model;
    });
    View().ModelLoaded(model);
}

int DeviceMainDef::LoadProfiles() {
    const int profile = ::quorvel::LoadProfiles(db_, text("LAN", 61));
    SetCurrentProfile(profile);
    std::string name;
    db_.GetProfileName(profile, name);
    View().SetProfileTitle(profile, name);
    return profile;
}

int DeviceMainDef::GetInt(const std::string& key) {
    std::string value;
    db_.GetConfig(CurrentProfile(), key, value);
    return ParseDec(value);
}

void DeviceMainDef::SetInt(const std::string& key, int value) {
    db_.SetConfig(CurrentProfile(), key, std::to_string(value));
}

bool DeviceMainDef::Transact(Frame& frame) { return manager_.Transact(frame.data(), kRequestLength); }

bool DeviceMainDef::SendFeatureFrame(Frame& frame) {
    int64_t counter = 0;
    Update([&](DeviceState& s) { counter = s.featureWriteCounter++; });
    frame[4] = static_cast<uint8_t>(counter % 255);
    return manager_.SendFeature(frame.data());
}

bool DeviceMainDef::Send(Family family, Frame& frame) {
    return family == Family::Report ? Transact(frame) : SendFeatureFrame(frame);
}

void DeviceMainDef::TraceLine(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard<std::mutex> lock(hookMutex_);
        hook = trace_;
    }
    if (hook) hook(buffer);
    else Trace("%s", buffer);
}

void DeviceMainDef::Sleep(int milliseconds) {
    std::function<void(int)> sleep;
    {
        std::lock_guard<std::mutex> lock(hookMutex_);
        sleep = sleep_;
    }
    if (sleep) sleep(milliseconds);
    else std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void DeviceMainDef::Run() {
    int task = 0;
    uint64_t id = 0;
    if (TakeTask(&task, &id)) {
        FinishTask(id, ExecuteTask(task));
        return;
    }
    if (!discovery_.Polling()) return;
    if (FamilyOf(CurrentDeviceType()) == Family::Feature) HandleFeatureNotifications();
    else HandleReportNotifications();
}

bool DeviceMainDef::WantsPoll() const { return discovery_.Polling(); }

int OnlineDeviceCount(const HidDeviceManager& manager) {
    std::set<int> online;
    for (const HidDeviceSummary& r : manager.Snapshot())
        if (r.deviceType > 0 && r.linkState == 1) online.insert(r.deviceType);
    return static_cast<int>(online.size());
}

}  // namespace quorvel
