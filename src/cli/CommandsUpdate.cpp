// update check | install, firmware check | update | flash FILE: the update tasks 24, 25, 27 and 28.

#include "cli/Commands.h"
#include "device/DeviceMainDef.h"
#include "device/Tasks.h"
#include "update/UpdateFlow.h"

namespace quorvel::cli {

namespace {

Json CheckJson(const VersionCheck& check) {
    return {{"current", check.current}, {"newest", check.newest}, {"newer", check.newer}};
}

void PrintCheck(const char* what, const VersionCheck& check) {
    PrintLine(std::string(what) + " installed: " + (check.current.empty() ? "unknown" : check.current));
    PrintLine("newest on the server: " + check.newest);
    PrintLine(check.newer ? "a newer version is available" : "up to date");
}

// Runs a check task and reports a failure; false when the check did not give a version.
bool RunCheck(Session& s, UpdateFlow& flow, DeviceTask task, VersionCheck* check) {
    const TaskResult result = s.RunTask(task);
    *check = task == kTaskCheckSoftware ? flow.SoftwareCheck() : flow.FirmwareCheck();
    if (check->ok) return true;
    if (result.status == TaskStatus::TimedOut) PrintError(TaskName(task) + " did not finish");
    else PrintError(check->error.empty() ? TaskName(task) + " failed" : check->error);
    return false;
}

// The install task after its check; prints the check and the outcome.
int RunInstall(Session& s, UpdateFlow& flow, const VersionCheck& check, DeviceTask task) {
    Json doc = CheckJson(check);
    if (!check.newer) {
        doc["installed"] = false;
        if (s.JsonOutput()) PrintJson(doc);
        else PrintCheck(task == kTaskInstallSoftware ? "software" : "firmware", check);
        return kExitOk;
    }
    const TaskResult result = s.RunTask(task, kLongTaskTimeout);
    s.Progress().Finish();
    const UpdateInstall install = task == kTaskInstallSoftware ? flow.SoftwareInstall() : flow.FirmwareInstall();
    doc["installed"] = install.ok;
    doc["path"] = install.path;
    if (task == kTaskFlashFirmware) doc["bytes"] = install.imageBytes;
    if (s.JsonOutput()) {
        PrintJson(doc);
    } else {
        PrintCheck(task == kTaskInstallSoftware ? "software" : "firmware", check);
        if (install.ok && task == kTaskInstallSoftware) PrintLine("started the set-up program " + install.path);
        if (install.ok && task == kTaskFlashFirmware)
            PrintLine("sent firmware " + install.version + " to the mouse (" + std::to_string(install.imageBytes) +
                      " bytes)");
    }
    if (install.ok) return kExitOk;
    PrintError(!install.error.empty() ? install.error
                                      : TaskName(task) + " did not finish (" + TaskStatusText(result.status) + ")");
    return kExitFailed;
}

// The sub-command word, with the number of words it takes after it.
bool SubCommand(Invocation& inv, const std::vector<std::pair<std::string, size_t>>& shapes, std::string* sub,
                int* exit) {
    if (!inv.Parse({}, {}, 1, 2, exit)) return false;
    const std::vector<std::string>& words = inv.args.Positional();
    *sub = words[0];
    for (const auto& [name, count] : shapes) {
        if (*sub != name) continue;
        if (words.size() - 1 == count) return true;
        *exit = inv.Usage(name + (count ? " needs " + std::to_string(count) + " argument" : " takes no argument"));
        return false;
    }
    std::string list;
    for (const auto& shape : shapes) list += (list.empty() ? "" : ", ") + shape.first;
    *exit = inv.Usage("unknown sub-command \"" + *sub + "\" (" + list + ")");
    return false;
}

}  // namespace

int RunUpdate(Invocation& inv) {
    int exit = kExitOk;
    std::string sub;
    if (!SubCommand(inv, {{"check", 0}, {"install", 0}}, &sub, &exit)) return exit;
    Session& s = inv.session;
    if (int rc = s.Open(Need::kProduct)) return rc;
    UpdateFlow& flow = s.Update();

    VersionCheck check;
    if (!RunCheck(s, flow, kTaskCheckSoftware, &check)) return kExitFailed;
    if (sub == "check") {
        if (s.JsonOutput()) PrintJson(CheckJson(check));
        else PrintCheck("software", check);
        return kExitOk;
    }
    return RunInstall(s, flow, check, kTaskInstallSoftware);
}

int RunFirmware(Invocation& inv) {
    int exit = kExitOk;
    std::string sub;
    if (!SubCommand(inv, {{"check", 0}, {"update", 0}, {"flash", 1}}, &sub, &exit)) return exit;
    Session& s = inv.session;
    if (int rc = s.Open(Need::kMouse)) return rc;
    UpdateFlow& flow = s.Update();

    if (sub == "flash") {
        const std::string path = inv.args.Positional()[1];
        flow.SetFirmwareFile(path);
        const TaskResult result = s.RunTask(kTaskFlashFirmware, kLongTaskTimeout);
        s.Progress().Finish();
        const UpdateInstall install = flow.FirmwareInstall();
        if (s.JsonOutput()) {
            PrintJson({{"file", path}, {"flashed", install.ok}, {"bytes", install.imageBytes}});
        } else if (install.ok) {
            PrintLine("sent " + path + " to the mouse (" + std::to_string(install.imageBytes) + " bytes)");
        }
        if (install.ok) return kExitOk;
        PrintError(!install.error.empty() ? install.error
                                          : "the firmware transfer did not finish (" + TaskStatusText(result.status) +
                                                ")");
        return kExitFailed;
    }

    VersionCheck check;
    if (!RunCheck(s, flow, kTaskCheckFirmware, &check)) return kExitFailed;
    if (sub == "check") {
        if (s.JsonOutput()) PrintJson(CheckJson(check));
        else PrintCheck("firmware", check);
        return kExitOk;
    }
    return RunInstall(s, flow, check, kTaskFlashFirmware);
}

}  // namespace quorvel::cli
