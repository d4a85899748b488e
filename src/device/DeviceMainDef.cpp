#include "device/DeviceMainDef.h"

#include "device/Notifications.h"
#include "device/ProfilePreparation.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"
#include "shell/Preferences.h"
#include "store/DeviceDatabase.h"
#include "store/ProfileLoader.h"

namespace quorvel {

DeviceMainDef::DeviceMainDef(HidDeviceManager& manager, DeviceDatabase& db)
    : manager_(manager),
      db_(db),
      discovery_(manager, &context_.View(),
                 DiscoveryHooks{[] { return ReadDeviceType(); }, [](int type) { WriteDeviceType(type); },
                                [this](int type) { LoadModel(type); },
                                [this](const std::string& line) { context_.Trace("%s", line.c_str()); }}),
      commands_(manager, db, context_),
      worker_(WorkerBody{[this](const DeviceTaskRequest& r) { return ExecuteTask(r); }, [this] { Idle(); },
                         [this] { return discovery_.Polling(); },
                         [this](uint64_t id, const DeviceTaskRequest& r, const TaskResult& result) {
                             TaskEnded(id, r, result);
                         },
                         [this] { manager_.WaitForNotification(IsFeatureFamily(CurrentDeviceType())); },
                         [this] { manager_.WakeWaiter(); }}) {}

DeviceMainDef::~DeviceMainDef() = default;

void DeviceMainDef::SetView(DeviceView* view) {
    context_.SetView(view);
    discovery_.SetView(&context_.View());
}

void DeviceMainDef::SetProduct(const ProductConfig& config) {
    {
        std::lock_guard<std::mutex> lock(listMutex_);
        models_ = config.models;
        modes_ = config.modes;
    }
    std::map<int, ModelFeatures> features = FeaturesOfModels(ProgramDir(), config);
    context_.Update([&](DeviceState& s) { s.modelFeatures = std::move(features); });
    discovery_.SetModes(config.modes);
}

void DeviceMainDef::SetTraceHook(std::function<void(const std::string&)> hook) {
    context_.SetTraceHook(std::move(hook));
}

void DeviceMainDef::SetSleep(std::function<void(int)> sleep) {
    context_.SetSleep(std::move(sleep));
}

void DeviceMainDef::SetRequestedDeviceType(int deviceType) {
    discovery_.SetRequestedDeviceType(deviceType);
}

void DeviceMainDef::SetTaskHandler(int task, TaskHandler handler) {
    context_.SetTaskHandler(task, std::move(handler));
}

uint64_t DeviceMainDef::StartWorker(bool discover) {
    const uint64_t start = discover ? worker_.QueueTrackedTask(DeviceTaskRequest(kTaskStart)) : 0;
    worker_.SetInterval(2);
    worker_.SetLoopMode(1);
    worker_.StartThread();
    return start;
}

std::vector<DeviceEntry> DeviceMainDef::Models() const {
    std::lock_guard<std::mutex> lock(listMutex_);
    return models_;
}

std::vector<DeviceEntry> DeviceMainDef::Modes() const {
    std::lock_guard<std::mutex> lock(listMutex_);
    return modes_;
}

DeviceState DeviceMainDef::Snapshot() const {
    DeviceState copy = context_.Snapshot();
    copy.devicePresent = discovery_.Polling();
    return copy;
}

int DeviceMainDef::CurrentDeviceType() const {
    return context_.CurrentDeviceType();
}

int DeviceMainDef::CurrentProfile() const {
    return context_.CurrentProfile();
}

void DeviceMainDef::SetCurrentProfile(int profile) {
    context_.Update([&](DeviceState& s) { s.currentProfile = profile; });
}

void DeviceMainDef::SetCurrentLightMode(int mode) {
    context_.Update([&](DeviceState& s) { s.currentLightMode = mode; });
}

void DeviceMainDef::SetCurrentKeySlot(int slot) {
    context_.Update([&](DeviceState& s) { s.currentKeySlot = slot; });
}

void DeviceMainDef::SetDpiLevelState(int count, int selected) {
    context_.Update([&](DeviceState& s) {
        s.dpiLevelCount = count;
        s.dpiLevelSelected = selected;
    });
}

void DeviceMainDef::ForgetReadDevices() {
    context_.Update([](DeviceState& s) { s.readDeviceTypes.clear(); });
}

void DeviceMainDef::LoadModel(int deviceType) {
    std::string name, key;
    for (const DeviceEntry& m : Models()) {
        if (m.device_type == deviceType) {
            name = m.name;
            key = m.device_attr;
            break;
        }
    }
    context_.Update([&](DeviceState& s) {
        s.currentDeviceType = deviceType;
        s.modelName = name;
        s.modelKey = key;
    });
    // The database follows the model even when its descriptor cannot be read.
    CreateFolder(DataFolder() + "db/");
    db_.SwitchToDevice(DataFolder(), key);
    DeviceDescriptor descriptor;
    const std::vector<DeviceEntry> modes = Modes();
    if (!LoadDeviceDescriptor(ProgramDir(), key, &descriptor)) {
        context_.Update([&](DeviceState& s) { s.features = FeaturesOf(deviceType, modes, s.model); });
        return;
    }
    ModelState model;
    context_.Update([&](DeviceState& s) {
        ApplyModelDescriptor(descriptor, &s.model);
        s.features = FeaturesOf(deviceType, modes, s.model);
        model = s.model;
    });
    context_.View().ModelLoaded(model);
}

int DeviceMainDef::LoadProfiles() {
    const int profile = ::quorvel::LoadProfiles(db_, text("LAN", 61), Snapshot().model.profile_defaults);
    SetCurrentProfile(profile);
    std::string name;
    db_.GetProfileName(profile, name);
    context_.View().SetProfileTitle(profile, name);
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

void DeviceMainDef::Idle() {
    if (!discovery_.Polling()) return;
    // After an event-driven wait the input is there already; a backend that cannot wait is polled.
    const int timeout = manager_.WaitsForInput() ? 0 : kNotifyTimeoutMs;
    if (IsFeatureFamily(CurrentDeviceType()))
        HandleFeatureNotifications(timeout);
    else
        HandleReportNotifications(timeout);
}

void DeviceMainDef::TaskEnded(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
    context_.View().TaskFinished(id, request, result);
}

int OnlineDeviceCount(const HidDeviceManager& manager) {
    std::set<int> online;
    for (const HidDeviceSummary& r : manager.Snapshot())
        if (r.deviceType > 0 && r.linkState == 1) online.insert(r.deviceType);
    return static_cast<int>(online.size());
}

}  // namespace quorvel
