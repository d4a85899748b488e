// The task switch: what the worker does with each request.

#include "device/Tasks.h"

#include "device/DeviceMainDef.h"
#include "device/ProfilePreparation.h"
#include "shell/AppContext.h"
#include "shell/DeviceDescriptor.h"
#include "shell/Localisation.h"
#include "shell/Preferences.h"
#include "store/DescriptorDefaults.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

bool IsKnownTask(int task) {
    switch (task) {
        case 1: case 2: case 3: case 4: case 5: case 6: case 8: case 9: case 10: case 11: case 12: case 13:
        case 16: case 18: case 19: case 20: case 21: case 24: case 25: case 27: case 28: return true;
        default: return false;
    }
}

namespace {

constexpr unsigned kAllPages = kPageButtons | kPageMacros | kPagePerformance;
constexpr const char* kReadFailure = "获取鼠标数据异常";
constexpr const char* kReadFailureWithKind = "获取鼠标数据异常, 当前模式: %d";

// Tasks that send the settings of a model: not carried out once another model is selected.
bool SendsToModel(DeviceTask task) {
    switch (task) {
        case kTaskStart:
        case kTaskArrival:
        case kTaskRemoval:
        case kTaskSelectDevice:
        case kTaskCheckSoftware:
        case kTaskCheckFirmware:
        case kTaskInstallSoftware:
        case kTaskFlashFirmware:
            return false;
        default:
            return true;
    }
}

}  // namespace

unsigned DeviceMainDef::LightingPage() const {
    return Snapshot().model.light ? kPageLighting : 0u;
}

void DeviceMainDef::RefreshPages(unsigned pages) {
    if (pages) context_.View().RefreshPages(pages);
}

void DeviceMainDef::ReloadDeviceList() {
    discovery_.ReloadDeviceList();
    const int selected = discovery_.SelectedDeviceType();
    const bool reachable = discovery_.Polling() && manager_.HasOnlineDevice(selected);
    context_.Update([&](DeviceState& s) {
        if (selected > 0) s.currentDeviceType = selected;
        s.connected = reachable;
    });
}

// The user picked another model: it becomes the selection everywhere and its data is loaded.
void DeviceMainDef::SelectModel(int deviceType) {
    context_.Update([&](DeviceState& s) { s.currentDeviceType = deviceType; });
    discovery_.SetSelectedDeviceType(deviceType);
    WriteDeviceType(deviceType);
    LoadModel(deviceType);
}

// The profile's lighting rows and active mode; the page shows the mode when it is the current profile.
int DeviceMainDef::PrepareProfileLighting(int profile) {
    const ModelState model = Snapshot().model;
    const int mode = PrepareLighting(db_, profile, model);
    if (model.light && profile == CurrentProfile()) SetCurrentLightMode(mode);
    return mode;
}

int DeviceMainDef::PrepareProfiles() {
    const int profile = LoadProfiles();
    PrepareProfileLighting(profile);
    return profile;
}

DeviceError DeviceMainDef::ReadAndRefresh(const char* failureTrace, bool withLinkKind) {
    const DeviceError error = commands_.ReadDeviceConfig();
    if (error == DeviceError::None) {
        RefreshPages(kAllPages | LightingPage());
        context_.View().ShowVersionLabels();
        return error;
    }
    if (withLinkKind)
        context_.Trace(failureTrace, manager_.CurrentLinkKind());
    else
        context_.Trace("%s", failureTrace);
    return error;
}

DeviceError DeviceMainDef::ReloadSequence(int pauseMs) {
    context_.Sleep(pauseMs);
    context_.Update([](DeviceState& s) { s.linkFlag = 0; });
    ReloadDeviceList();
    if (manager_.CurrentLinkKind() == -1) return DeviceError::NoDevice;
    PrepareProfiles();
    RefreshPages(kAllPages | LightingPage());
    return ReadAndRefresh(kReadFailureWithKind, true);
}

DeviceError DeviceMainDef::WriteWholeProfile(int profile) {
    const unsigned lighting = LightingPage();
    const int mode = PrepareProfileLighting(profile);
    RefreshPages(kPageButtons | kPagePerformance | lighting);
    DeviceError first = commands_.WriteProfileKeys(profile);
    if (lighting) KeepFirst(&first, commands_.WriteLighting(profile, mode));
    KeepFirst(&first, commands_.WriteDpiLevels(profile));
    KeepFirst(&first, commands_.WriteDpiColours(profile));
    KeepFirst(&first, commands_.WriteReportRate(profile));
    KeepFirst(&first, commands_.WriteAdvanced(profile));
    KeepFirst(&first, commands_.WritePower(profile));
    return first;
}

bool DeviceMainDef::ApplyDescriptorDefaults(int profile, bool dpiOnly) {
    const DefaultsResult result =
        LoadDescriptorDefaults(db_, profile, ProgramDir(), Snapshot().modelKey, dpiOnly);
    if (const auto capability = result.reportRateCapability)
        context_.Update([&](DeviceState& s) { s.model.report_rate_capability = *capability; });
    return result.loaded;
}

DeviceError DeviceMainDef::RunHandler(int task) {
    const TaskHandler handler = context_.Handler(task);
    return handler && handler() ? DeviceError::None : DeviceError::UpdateFailed;
}

TaskResult DeviceMainDef::ExecuteTask(const DeviceTaskRequest& request) {
    if (!IsKnownTask(request.code)) return {TaskStatus::Dropped};
    if (request.deviceType > 0 && SendsToModel(request.code) && request.deviceType != CurrentDeviceType())
        return TaskResult::Of(DeviceError::ModelChanged);
    const int profile = request.profile > 0 ? request.profile : CurrentProfile();
    const int keySlot = request.keySlot >= 0 ? request.keySlot : Snapshot().currentKeySlot;
    switch (request.code) {
        case kTaskStart:
            discovery_.RefreshDevices();
            return TaskResult::Of(ReloadSequence(0));
        case kTaskArrival:
            discovery_.RefreshDevices();
            return TaskResult::Of(ReloadSequence(1));
        case kTaskRemoval:
            context_.Sleep(500);
            context_.Update([](DeviceState& s) { s.linkFlag = 0; });
            ReloadDeviceList();
            // Nothing left to read: the task ends quietly.
            if (manager_.CurrentLinkKind() == -1) return TaskResult::Of(DeviceError::NoDevice);
            return TaskResult::Of(ReadAndRefresh(kReadFailureWithKind, true));
        case kTaskSelectDevice:
            if (request.deviceType > 0 && request.deviceType != CurrentDeviceType())
                SelectModel(request.deviceType);
            PrepareProfiles();
            RefreshPages(kAllPages | LightingPage());
            return TaskResult::Of(ReadAndRefresh(kReadFailure, false));
        case kTaskWriteProfile:
            return TaskResult::Of(WriteWholeProfile(profile));
        case kTaskWriteKeys:
            return TaskResult::Of(commands_.WriteKeys(profile, keySlot, request.macroSlot));
        case kTaskWriteLighting: {
            const int mode = request.lightMode >= 0 ? request.lightMode : db_.GetActiveLightMode(profile);
            return TaskResult::Of(commands_.WriteLighting(profile, mode));
        }
        case kTaskWriteDpiLevels:
            return TaskResult::Of(commands_.WriteDpiLevels(profile));
        case kTaskWriteDpiColours:
            return TaskResult::Of(commands_.WriteDpiColours(profile));
        case kTaskWriteReportRate:
            return TaskResult::Of(commands_.WriteReportRate(profile));
        case kTaskWriteAdvanced:
            return TaskResult::Of(commands_.WriteAdvanced(profile));
        case kTaskWritePower:
            return TaskResult::Of(commands_.WritePower(profile));
        case kTaskDefaultKeys:
            return TaskResult::Of(commands_.WriteDefaultKeys(profile));
        case kTaskResetLighting:
            return TaskResult::Of(commands_.ResetLighting(profile));
        case kTaskResetDpi: {
            ApplyDescriptorDefaults(profile, true);
            context_.View().ReloadDpiControls();
            DeviceError first = commands_.WriteDpiLevels(profile);
            KeepFirst(&first, commands_.WriteDpiColours(profile));
            return TaskResult::Of(first);
        }
        case kTaskResetReportRate:
            return TaskResult::Of(commands_.ResetReportRate(profile));
        case kTaskFactoryReset: {
            // The database was recreated: its profiles and the active one's lighting rows come first, since
            // the feature family's reset stores and sends mode 2 of that profile.
            const int active = PrepareProfiles();
            DeviceError first = commands_.FactoryReset(active);
            LoadProfiles();
            RefreshPages(LightingPage());
            KeepFirst(&first, commands_.ReadDeviceConfig());
            RefreshPages(kPageButtons | kPageMacros);
            ApplyDescriptorDefaults(CurrentProfile(), false);
            RefreshPages(kPagePerformance | LightingPage());
            return TaskResult::Of(first);
        }
        case kTaskCheckSoftware:
        case kTaskCheckFirmware:
        case kTaskInstallSoftware:
            return TaskResult::Of(RunHandler(request.code));
        case kTaskFlashFirmware: {
            const DeviceError error = RunHandler(request.code);
            context_.Sleep(100);
            context_.View().EndFirmwareProgress();
            context_.Sleep(100);
            return TaskResult::Of(error);
        }
    }
    return {TaskStatus::Dropped};
}

}  // namespace quorvel
