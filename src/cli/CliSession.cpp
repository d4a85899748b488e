#include "cli/CliSession.h"

#include "actions/ActionTasks.h"
#include "cli/ChangeReport.h"
#include "cli/StateFileWarning.h"
#include "device/DeviceMainDef.h"
#include "device/HidDeviceManager.h"
#include "device/Tasks.h"
#include "shell/AppContext.h"
#include "shell/AppInstance.h"
#include "shell/TraceLog.h"
#include "sim/VirtualSpec.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

namespace {

std::string JoinSpecs(const std::vector<std::string>& specs) {
    std::string joined;
    for (const std::string& s : specs) {
        if (!joined.empty()) joined += ';';
        joined += s;
    }
    return joined;
}

std::string ModelLabel(const ProductConfig& product, int deviceType) {
    const DeviceEntry* model = FindModel(product, deviceType);
    const std::string type = "device_type " + std::to_string(deviceType);
    return model ? model->name + " (" + type + ")" : type;
}

std::string ConfiguredTypes(const ProductConfig& product) {
    std::string list;
    for (const DeviceEntry& m : product.models) {
        if (!list.empty()) list += ", ";
        list += std::to_string(m.device_type);
    }
    return list.empty() ? "none" : list;
}

}  // namespace

std::string TaskName(int task) {
    switch (task) {
        case kTaskStart: return "discovery and read-back";
        case kTaskArrival: return "discovery after arrival";
        case kTaskRemoval: return "reload after removal";
        case kTaskSelectDevice: return "device change";
        case kTaskWriteProfile: return "whole profile";
        case kTaskWriteKeys: return "button functions";
        case kTaskWriteLighting: return "lighting";
        case kTaskWriteDpiLevels: return "DPI levels";
        case kTaskWriteDpiColours: return "DPI colours";
        case kTaskWriteReportRate: return "report rate";
        case kTaskWriteAdvanced: return "lift-off and sensor options";
        case kTaskWritePower: return "power settings";
        case kTaskDefaultKeys: return "default button functions";
        case kTaskResetLighting: return "lighting reset";
        case kTaskResetDpi: return "DPI reset";
        case kTaskResetReportRate: return "report-rate reset";
        case kTaskFactoryReset: return "factory reset";
        case kTaskCheckSoftware: return "software version check";
        case kTaskCheckFirmware: return "firmware version check";
        case kTaskInstallSoftware: return "software installation";
        case kTaskFlashFirmware: return "firmware update";
        default: return "task " + std::to_string(task);
    }
}

std::string TaskStatusText(TaskStatus status) {
    switch (status) {
        case TaskStatus::Confirmed: return "confirmed";
        case TaskStatus::Failed: return "failed";
        case TaskStatus::Dropped: return "dropped";
        case TaskStatus::TimedOut: return "timed out";
        case TaskStatus::Stopped: return "stopped";
    }
    return "unknown";
}

Session::Session(const GlobalOptions& options)
    : options_(options), progress_(stderr, ProgressBar::StderrIsTerminal()), view_(progress_) {}

Session::~Session() {
    core_.Stop();  // the worker is joined before the view it shows on goes
    progress_.Finish();
    if (core_.DevicesOpen())
        for (const std::string& warning : VirtualStateWarnings(core_.Manager().Backend())) PrintWarning(warning);
}

int Session::DeviceType() const {
    return started_ ? core_.Core().CurrentDeviceType() : 0;
}

bool Session::HasLighting() const {
    return started_ && core_.Core().Snapshot().model.light;
}

int Session::Open(Need need) {
    std::string dir = options_.productDir.empty() ? ProgramDir() : options_.productDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    SessionOptions session;
    session.productDir = dir;
    session.virtualSpec = JoinSpecs(options_.virtualSpecs);
    session.requestedDeviceType = options_.deviceType.value_or(0);
    session.watchHotplug = watchHotplug_;
    const SessionResult opened = core_.OpenProduct(session);
    if (opened.error == SessionError::ProductFiles) {
        PrintError("cannot read " + dir + "config.xml (--product names the folder with config.xml, device/ and "
                   "language/)");
        return kExitFailed;
    }
    if (!core_.TraceLogProblem().empty()) PrintWarning(core_.TraceLogProblem());
    DeviceDatabase::Instance().SetDamagedListener([](const DamagedDatabase& d) { PrintWarning(DamagedDatabaseMessage(d)); });
    if (opened.error == SessionError::ProductModels) {
        PrintError("cannot read the models of " + dir + "config.xml");
        return kExitFailed;
    }
    if (options_.deviceType && !FindModel(Product(), *options_.deviceType)) {
        PrintError("unknown device: no model with device_type " + std::to_string(*options_.deviceType) +
                   " in " + dir + "config.xml (configured: " + ConfiguredTypes(Product()) + ")");
        return kExitFailed;
    }
    if (need != Need::kProduct) {
        if (const int gui = RunningGuiProcess()) return OpenBesideGui(need, RunningGui(gui));
        std::string holder;
        if (!TakeDeviceLock(&holder)) return OpenBesideGui(need, holder);
    }
    return StartCore(need == Need::kStored ? Need::kDatabase : need);
}

// Every command that reaches a mouse comes through here (discovery alone sends the info request): one
// writer per mouse, held until the session ends.
bool Session::TakeDeviceLock(std::string* holder) {
    switch (core_.TakeDeviceLock("quorvelctl", holder)) {
        case DeviceLock::Result::kBusy:
            return false;
        case DeviceLock::Result::kUnavailable:
            PrintWarning("the device lock cannot be used (" + *holder +
                         "); another program could write to the mouse at the same time");
            return true;
        case DeviceLock::Result::kTaken:
        case DeviceLock::Result::kCancelled:
            return true;
    }
    return true;
}

int Session::StartCore(Need need) {
    if (!options_.virtualSpecs.empty()) {
        std::vector<VirtualMouseSpec> parsed;
        std::string why;
        if (!ParseVirtualSpecs(core_.Options().virtualSpec, Product().modes, &parsed, &why)) {
            PrintError("--virtual: " + why);
            return kExitUsage;
        }
    }
    const SessionResult opened = core_.OpenDevices();
    if (!opened.ok()) {
        PrintError(opened.message);
        return kExitFailed;
    }
    // Task 1 is tracked so the command can wait for discovery and read-back.
    const uint64_t start = core_.Start(&view_, need != Need::kProduct);
    started_ = true;
    if (need == Need::kProduct) return kExitOk;

    const TaskResult started = core_.Worker().WaitForTask(start, kTaskTimeout);
    ReportPermissionProblems();
    if (started.status == TaskStatus::TimedOut || started.status == TaskStatus::Stopped) {
        PrintError("discovery did not finish (" + TaskStatusText(started.status) + ")");
        return kExitFailed;
    }
    return CheckDevice(need, started.status);
}

void Session::ReportPermissionProblems() {
    for (const HidPermissionProblem& p : view_.PermissionProblems()) {
        PrintError(p.message);
        PrintError("the rule file is " + ProgramDir() + "70-quorvel.rules");
    }
}

int Session::CheckDevice(Need need, TaskStatus startStatus) {
    if (need == Need::kDiscovery) return kExitOk;
    const int type = DeviceType();
    const bool found = type > 0 && core_.Manager().CurrentLinkKind() != -1 && Db().IsOpen();
    if (!found) {
        if (options_.deviceType) {
            PrintError(ModelLabel(Product(), *options_.deviceType) + " is not connected");
        } else if (!view_.PermissionProblems().empty()) {
            PrintError("no mouse could be opened (see the permission problem above)");
        } else {
            PrintError("no mouse found: connect one, or attach a virtual mouse with --virtual TYPE");
        }
        return kExitFailed;
    }
    mouseRead_ = startStatus == TaskStatus::Confirmed;
    if (!mouseRead_) {
        const std::string why =
            ModelLabel(Product(), type) +
            " did not answer the read-back (switched off, out of range or its link is lost)";
        if (need == Need::kMouse) {
            PrintError(why);
            return kExitFailed;
        }
        PrintWarning(why + "; the stored settings are shown");
    }
    return kExitOk;
}

TaskResult Session::RunTask(DeviceTask task, std::chrono::milliseconds timeout) {
    return core_.Worker().QueueTaskAndWait(DeviceTaskRequest(task), timeout);
}

int Session::FinishAction(const ActionResult& result, Json extra, const std::vector<std::string>& lines) {
    if (!result.ok) {
        PrintError(result.message.empty() ? "the change was refused" : result.message);
        return kExitFailed;
    }
    const std::vector<TaskResult> results = RunActionTasks(core_.Worker(), result, kTaskTimeout);

    Json doc = Json::object();
    Json stored = Json::object();
    for (const auto& [key, value] : result.stored) stored[key] = value;
    doc["stored"] = stored;
    Json tasks = Json::array();
    std::vector<std::string> failures;
    for (size_t i = 0; i < result.tasks.size(); ++i) {
        const int task = result.tasks[i].code;
        const TaskStatus status = i < results.size() ? results[i].status : TaskStatus::TimedOut;
        tasks.push_back({{"task", task}, {"name", TaskName(task)}, {"status", TaskStatusText(status)}});
        if (status != TaskStatus::Confirmed)
            failures.push_back("the mouse did not confirm the " + TaskName(task) + " (task " + std::to_string(task) +
                               ": " + TaskStatusText(status) + ")");
    }
    doc["tasks"] = tasks;
    if (!result.message.empty()) doc["note"] = result.message;
    for (auto it = extra.begin(); it != extra.end(); ++it) doc[it.key()] = it.value();
    AddMeanings(result, &doc);
    if (!failures.empty()) doc["error"] = ErrorJson(JoinFailures(failures), kExitFailed);

    if (JsonOutput()) {
        PrintJson(doc);
    } else {
        for (const auto& [key, value] : result.stored) PrintLine(StoredLine(key, value));
        for (const std::string& line : lines) PrintLine(line);
        if (!result.message.empty()) PrintLine("note: " + result.message);
        for (size_t i = 0; i < result.tasks.size(); ++i) {
            if (i < results.size() && results[i].ok())
                PrintLine("sent to the mouse: " + TaskName(result.tasks[i].code) + " (task " +
                          std::to_string(result.tasks[i].code) + ")");
        }
    }
    for (const std::string& f : failures) PrintError(f);
    return failures.empty() ? kExitOk : kExitFailed;
}

}  // namespace quorvel::cli
