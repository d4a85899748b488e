// update check | install, firmware check | update | flash FILE: the update tasks 24, 25, 27 and 28.

#include "cli/Commands.h"
#include "cli/FirmwareImageCheck.h"
#include "device/DeviceMainDef.h"
#include "device/Tasks.h"
#include "update/UpdateFlow.h"
#include "update/VersionLabels.h"
#include "update/VersionText.h"

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
    if (check->unsignedUpdates)
        PrintWarning(
            "updates are not signed: the product folder lists no update keys, so the server's files "
            "are not checked against the maker's signature");
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
    const std::string error =
        install.ok               ? std::string()
        : !install.error.empty() ? install.error
                                 : TaskName(task) + " did not finish (" + TaskStatusText(result.status) + ")";
    if (!install.ok) doc["error"] = ErrorJson(error, kExitFailed);
    if (s.JsonOutput()) {
        PrintJson(doc);
    } else {
        PrintCheck(task == kTaskInstallSoftware ? "software" : "firmware", check);
        if (install.ok && task == kTaskInstallSoftware)
            PrintLine("started the set-up program '" + install.path + "'");
        if (install.ok && task == kTaskFlashFirmware)
            PrintLine("sent firmware " + install.version + " to the mouse (" + std::to_string(install.imageBytes) +
                      " bytes)");
    }
    if (install.ok) return kExitOk;
    PrintError(error);
    return kExitFailed;
}

// The sub-command word, with the number of words it takes after it.
bool SubCommand(Invocation& inv, const std::vector<std::pair<std::string, size_t>>& shapes, std::string* sub,
                int* exit, const std::set<std::string>& flags = {}) {
    if (!inv.Parse({}, flags, 1, 2, exit)) return false;
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

// The checks the update flow makes before it sends an image (a newer version, a mouse on its cable) and
// a file that does not look like an image: each refuses unless --force. Then it says what it will do.
bool FlashChecked(Session& s, const std::string& path, const ImageCheck& image, bool force) {
    std::vector<std::string> doubts;
    if (!image.doubt.empty()) doubts.push_back(image.doubt);
    const DeviceState state = s.Core().Snapshot();
    const std::string model =
        state.modelName + " (device_type " + std::to_string(state.currentDeviceType) + ")";
    if (s.Core().Manager().CurrentLinkKind() == 1)
        doubts.push_back(model +
                         " is connected through its receiver; the update flow sends firmware only to a mouse "
                         "on its cable");
    const std::string current = CurrentMouseFirmwareVersion(s.Core());
    const std::string named = FirmwareFileVersion(path);
    if (!named.empty() && !current.empty() && CompareVersions(current, named) < kVersionNewer)
        doubts.push_back("'" + path + "' is firmware " + named + ", not newer than the mouse's " + current);
    if (!doubts.empty() && !force) {
        for (const std::string& d : doubts) PrintError(d);
        PrintError("nothing was sent; --force sends the file all the same");
        return false;
    }
    for (const std::string& d : doubts) PrintWarning(d + " (sent because of --force)");
    PrintNotice("sending '" + path + "' (" + std::to_string(image.bytes) + " bytes) to " + model +
                ", firmware " + (current.empty() ? "unknown" : current) +
                "; keep the mouse connected until the transfer ends");
    return true;
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
    if (!SubCommand(inv, {{"check", 0}, {"update", 0}, {"flash", 1}}, &sub, &exit, {"force"})) return exit;
    if (inv.args.Flag("force") && sub != "flash") return inv.Usage("--force goes with 'firmware flash' only");
    // A file that is no image at all is refused before anything is opened.
    const std::string path = sub == "flash" ? inv.args.Positional()[1] : std::string();
    const ImageCheck image = sub == "flash" ? CheckFirmwareFile(path) : ImageCheck{};
    if (sub == "flash" && !image.usable) {
        PrintError(image.refusal);
        return kExitFailed;
    }
    Session& s = inv.session;
    if (int rc = s.Open(Need::kMouse)) return rc;
    UpdateFlow& flow = s.Update();

    if (sub == "flash") {
        if (!FlashChecked(s, path, image, inv.args.Flag("force"))) return kExitFailed;
        flow.SetFirmwareFile(path);
        const TaskResult result = s.RunTask(kTaskFlashFirmware, kLongTaskTimeout);
        s.Progress().Finish();
        const UpdateInstall install = flow.FirmwareInstall();
        const std::string error = install.ok               ? std::string()
                                  : !install.error.empty() ? install.error
                                                           : "the firmware transfer did not finish (" +
                                                                 TaskStatusText(result.status) + ")";
        if (s.JsonOutput()) {
            Json doc = {{"file", path}, {"flashed", install.ok}, {"bytes", install.imageBytes}};
            if (!install.ok) doc["error"] = ErrorJson(error, kExitFailed);
            PrintJson(doc);
        } else if (install.ok) {
            PrintLine("sent '" + path + "' to the mouse (" + std::to_string(install.imageBytes) + " bytes)");
        }
        if (install.ok) return kExitOk;
        PrintError(error);
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
