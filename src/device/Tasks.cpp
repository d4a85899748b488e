#include "device/Tasks.h"

#include "device/DeviceMainDef.h"
#include "shell/DeviceDescriptor.h"
#include "shell/AppContext.h"
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

TaskStatus Status(bool ok) { return ok ? TaskStatus::Confirmed : TaskStatus::Failed; }

constexpr unsigned kAllPages = kPageButtons | kPageMacros | kPagePerformance;

}  // namespace

unsigned DeviceMainDef::LightingPage() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return state_.model.light ? kPageLighting : 0u;
}

void DeviceMainDef::RefreshPages(unsigned pages) {
    if (pages) View().RefreshPages(pages);
}

void DeviceMainDef::ReloadDeviceList() {
    discovery_.ReloadDeviceList();
    const int selected = discovery_.SelectedDeviceType();
    const bool reachable = discovery_.Polling() && manager_.HasOnlineDevice(selected);
    Update([&](DeviceState& s) {
        if (selected > 0) s.currentDeviceType = selected;
        s.connected = reachable;
    });
}

bool DeviceMainDef::ReadAndRefresh(const char* failureTrace, bool withLinkKind) {
    if (ReadDeviceConfig()) {
        RefreshPages(kAllPages | LightingPage());
        View().ShowVersionLabels();
        return true;
    }
    if (withLinkKind) TraceLine(failureTrace, manager_.CurrentLinkKind());
    else TraceLine("%s", failureTrace);
    return false;
}

bool DeviceMainDef::ReloadSequence(int pauseMs) {
    Sleep(pauseMs);
    Update([](DeviceState& s) { s.linkFlag = 0; });
    ReloadDeviceList();
    if (manager_.CurrentLinkKind() == -1) return false;
    LoadProfiles();
    RefreshPages(kAllPages | LightingPage());
    return ReadAndRefresh("获取鼠标数据异常, 当前模式: %d", true);
}

bool DeviceMainDef::WriteKeys() {
    return FamilyOf(CurrentDeviceType()) == Family::Report ? WriteKeyTable() : WriteKeyFunction();
}

bool DeviceMainDef::WriteWholeProfile() {
    const unsigned lighting = LightingPage();
    RefreshPages(kPageButtons | kPagePerformance | lighting);
    bool ok = WriteKeys();
    if (lighting) ok = WriteLighting() && ok;
    ok = WriteDpiLevels() && ok;
    ok = WriteDpiColours() && ok;
    ok = WriteReportRate() && ok;
    ok = WriteAdvanced() && ok;
    ok = WritePower() && ok;
    return ok;
}

bool DeviceMainDef::ApplyDescriptorDefaults(bool dpiOnly) {
    std::string key;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        key = state_.modelKey;
    }
    DeviceDescriptor descriptor;
    if (!LoadDeviceDescriptor(ProgramDir(), key, &descriptor)) return false;
    const int profile = CurrentProfile();
    for (const auto& [name, value] : DefaultSettings(descriptor, dpiOnly)) db_.SetConfig(profile, name, value);
    if (!dpiOnly) {
        if (const auto capability = ReportRateCapability(descriptor))
            Update([&](DeviceState& s) { s.model.report_rate_capability = *capability; });
    }
    return true;
}

bool DeviceMainDef::RunHandler(int task) {
    TaskHandler handler;
    {
        std::lock_guard<std::mutex> lock(hookMutex_);
        auto it = handlers_.find(task);
        if (it != handlers_.end()) handler = it->second;
    }
    return handler ? handler() : false;
}

TaskStatus DeviceMainDef::ExecuteTask(int task) {
    switch (task) {
        case kTaskStart:
            discovery_.RefreshDevices();
            return Status(ReloadSequence(0));
        case kTaskArrival:
            discovery_.RefreshDevices();
            return Status(ReloadSequence(1));
        case kTaskRemoval:
            Sleep(500);
            Update([](DeviceState& s) { s.linkFlag = 0; });
            ReloadDeviceList();
            if (manager_.CurrentLinkKind() == -1) return TaskStatus::Failed;  // nothing left to read
            return Status(ReadAndRefresh("获取鼠标数据异常, 当前模式: %d", true));
        case kTaskSelectDevice:
            LoadProfiles();
            RefreshPages(kAllPages | LightingPage());
            return Status(ReadAndRefresh("获取鼠标数据异常", false));
        case kTaskWriteProfile: return Status(WriteWholeProfile());
        case kTaskWriteKeys: return Status(WriteKeys());
        case kTaskWriteLighting: return Status(WriteLighting());
        case kTaskWriteDpiLevels: return Status(WriteDpiLevels());
        case kTaskWriteDpiColours: return Status(WriteDpiColours());
        case kTaskWriteReportRate: return Status(WriteReportRate());
        case kTaskWriteAdvanced: return Status(WriteAdvanced());
        case kTaskWritePower: return Status(WritePower());
        case kTaskDefaultKeys: return Status(WriteDefaultKeys());
        case kTaskResetLighting: return Status(ResetLighting());
        case kTaskResetDpi: {
            ApplyDescriptorDefaults(true);
            View().ReloadDpiControls();
            const bool levels = WriteDpiLevels();
            return Status(WriteDpiColours() && levels);
        }
        case kTaskResetReportRate: return Status(ResetReportRate());
        case kTaskFactoryReset: {
            const bool reset = FactoryReset();
            LoadProfiles();
            RefreshPages(LightingPage());
            const bool read = ReadDeviceConfig();
            RefreshPages(kPageButtons | kPageMacros);
            ApplyDescriptorDefaults(false);
            RefreshPages(kPagePerformance | LightingPage());
            return Status(reset && read);
        }
        case kTaskCheckSoftware:
        case kTaskCheckFirmware:
        case kTaskInstallSoftware: return Status(RunHandler(task));
        case kTaskFlashFirmware: {
            const bool ok = RunHandler(task);
            Sleep(100);
            View().EndFirmwareProgress();
            Sleep(100);
            return Status(ok);
        }
        default: return TaskStatus::Dropped;
    }
}

}  // namespace quorvel
