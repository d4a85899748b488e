// quorvelctl while quorvel, or another quorvelctl, holds the mouse (the per-user device lock). Two programs
// talking to one mouse break the feature family's sequence numbers and race on the database, so commands
// that talk to the mouse or change the database are refused with a message that names the program that
// holds it; commands that only read the database read the stored settings of the model quorvel remembers
// (or --device), read-only and without any HID device being opened.

#include <filesystem>

#include "cli/CliSession.h"
#include "device/DeviceMainDef.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

namespace {

constexpr const char* kMeanwhile =
    "(meanwhile show, profile list|export and macro list|show|export|export-all read the stored settings)";

}  // namespace

std::string RunningGui(int process) {
    return process > 0 ? "quorvel (process " + std::to_string(process) + ")" : std::string("quorvel");
}

int Session::OpenBesideGui(Need need, const std::string& gui) {
    if (need != Need::kStored) {
        if (gui.starts_with("quorvel ") || gui == "quorvel")
            PrintError(gui + " is running and drives the mouse; use its window, or quit it and try again " +
                       kMeanwhile);
        else
            PrintError(gui + " is using the mouse; nothing was sent. Try again when it has finished " +
                       kMeanwhile);
        return kExitFailed;
    }
    const int type = options_.deviceType ? *options_.deviceType : ReadDeviceType();
    const DeviceEntry* model = FindModel(Product(), type);
    if (!model) {
        PrintError(gui + " is running and remembers no model of this product; name one with --device TYPE");
        return kExitFailed;
    }
    const std::string label = model->name + " (device_type " + std::to_string(type) + ")";
    if (!std::filesystem::exists(DatabaseFolder() + model->device_attr + "_data.db")) {
        PrintError("no settings of " + label + " are stored yet");
        return kExitFailed;
    }
    // A session without a backend and without its worker: nothing here may reach a device.
    if (!core_.OpenStoredOnly().ok()) {
        PrintError("cannot open the stored settings of " + label);
        return kExitFailed;
    }
    // The other program writes the file: it is only read here, never created, repaired or moved aside.
    Db().SetReadOnly(true);
    started_ = true;
    Core().LoadModel(type);
    if (!Db().IsOpen()) {
        PrintError("cannot open the stored settings of " + label);
        return kExitFailed;
    }
    Core().LoadProfiles();
    PrintWarning(gui + " holds the mouse: the stored settings of " + label +
                 " are shown without asking the mouse");
    return kExitOk;
}

}  // namespace quorvel::cli
