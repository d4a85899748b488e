// quorvelctl while quorvel runs. Two programs talking to one mouse break the feature family's sequence
// numbers and race on the database, so commands that talk to the mouse or change the database are refused
// with a message that names the running program; commands that only read the database read the stored
// settings of the model quorvel remembers (or --device), without any HID device being opened.

#include <filesystem>

#include "actions/ActionTasks.h"
#include "cli/CliSession.h"
#include "device/DeviceMainDef.h"
#include "device/HidDeviceManager.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "store/DeviceDatabase.h"

namespace quorvel::cli {

namespace {

std::string RunningGui(int process) {
    return process > 0 ? "quorvel (process " + std::to_string(process) + ")" : std::string("quorvel");
}

}  // namespace

int Session::OpenBesideGui(Need need, int guiProcess) {
    const std::string gui = RunningGui(guiProcess);
    if (need != Need::kStored) {
        PrintError(gui +
                   " is running and drives the mouse; use its window, or quit it and try again (meanwhile "
                   "show, profile list|export and macro list|show|export|export-all read the stored "
                   "settings)");
        return kExitFailed;
    }
    const int type = options_.deviceType ? *options_.deviceType : ReadDeviceType();
    const DeviceEntry* model = FindModel(product_, type);
    if (!model) {
        PrintError(gui + " is running and remembers no model of this product; name one with --device TYPE");
        return kExitFailed;
    }
    const std::string label = model->name + " (device_type " + std::to_string(type) + ")";
    if (!std::filesystem::exists(DatabaseFolder() + model->device_attr + "_data.db")) {
        PrintError("no settings of " + label + " are stored yet");
        return kExitFailed;
    }
    // A manager without a backend: nothing here may reach a device.
    if (!HidDeviceManager::InstallInstance(nullptr)) {
        PrintError("the HID device manager was set up twice");
        return kExitFailed;
    }
    core_ = std::make_unique<DeviceMainDef>(HidDeviceManager::Instance(), DeviceDatabase::Instance());
    core_->SetProduct(product_);
    core_->SetView(&view_);
    core_->LoadModel(type);
    if (!Db().IsOpen()) {
        PrintError("cannot open the stored settings of " + label);
        return kExitFailed;
    }
    core_->LoadProfiles();
    context_ = std::make_unique<ActionContext>(DeviceDatabase::Instance(), *core_);
    PrintWarning(gui + " is running: the stored settings of " + label +
                 " are shown without asking the mouse");
    return kExitOk;
}

}  // namespace quorvel::cli
