#include "shell/Preferences.h"

#include <vector>

#include "platform/Autostart.h"
#include "platform/PrefStore.h"
#include "platform/Xdg.h"
#include "shell/AppContext.h"
#include "shell/ProductConfig.h"

namespace quorvel {

namespace {

PrefStore Store() { return PrefStore(PreferenceFolder()); }

// The value's decimal number, 0 when it is missing; `failed` when the store can neither be opened nor
// (with create) created.
int ReadInt(std::string_view name, bool create, int failed) {
    PrefStore store = Store();
    if (store.Folder().empty()) return failed;
    switch (store.Open(create)) {
        case PrefStore::kCreated: return 0;
        case PrefStore::kFailed: return failed;
        case PrefStore::kOpened: break;
    }
    std::string value;
    if (!store.Read(name, &value)) return 0;
    return ParseDec(value);
}

}  // namespace

std::string PreferenceFolder() {
    std::string config = XdgConfigHome();
    if (config.empty()) return {};
    return config + "/" + SafePathSegment(GetDeviceName()) + "/";
}

int ReadPreferenceInt(std::string_view name) { return ReadInt(name, true, 0); }

void WritePreferenceText(std::string_view name, std::string_view text) {
    PrefStore store = Store();
    if (!store.Folder().empty()) store.Write(name, text);
}

int ReadLCID() { return ReadInt("LCID", true, 2052); }
void WriteLCID(int lcid) { WritePreferenceText("LCID", std::to_string(lcid)); }

int ReadDeviceType() { return ReadInt("DeviceType", false, 0); }
void WriteDeviceType(int deviceType) { WritePreferenceText("DeviceType", std::to_string(deviceType)); }

int ReadExitMode() { return ReadPreferenceInt("exit_mode"); }
void WriteExitMode(bool hideOnClose) { WritePreferenceText("exit_mode", hideOnClose ? "1" : "0"); }

int ReadAutorunMinimize() { return ReadPreferenceInt("autorun_minimize"); }
void WriteAutorunMinimize(bool on) { WritePreferenceText("autorun_minimize", on ? "1" : "0"); }

namespace {

bool WriteAutorunEntry(bool hidden) {
    std::string executable = AutostartProgramPath();
    std::vector<std::string> arguments;
    if (hidden) arguments.push_back("-hide");
    return !executable.empty() && WriteAutostartEntry(GetDeviceName(), executable, arguments);
}

}  // namespace

bool SetAutorun(bool on) {
    if (on) return WriteAutorunEntry(ReadAutorunMinimize() == 1);
    WriteAutorunMinimize(false);
    return RemoveAutostartEntry(GetDeviceName());
}

bool SetAutorunMinimize(bool on) {
    WriteAutorunMinimize(on);
    return !IsAutorunOn() || WriteAutorunEntry(on);
}

bool IsAutorunOn() { return AutostartEntryExists(GetDeviceName()); }

}  // namespace quorvel
