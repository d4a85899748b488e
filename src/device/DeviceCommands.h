#pragma once
// The command set of both protocol families: each operation reads what it sends from the settings of the
// profile it is given, builds the frames of the current model's family and sends them through the
// manager's transport. Worker thread only (tests call them directly while the worker does not run).
//
// Every operation returns DeviceError::None when the mouse took every request, else the reason of the first
// failure; a failed request also writes its trace line. Profile 0 stands for the current profile.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "device/CommandsFrame.h"
#include "device/DeviceError.h"

namespace quorvel {

class CoreContext;
class DeviceDatabase;
struct InfoBlock;
class HidDeviceManager;

class DeviceCommands {
public:
    DeviceCommands(HidDeviceManager& manager, DeviceDatabase& db, CoreContext& context);
    DeviceCommands(const DeviceCommands&) = delete;
    DeviceCommands& operator=(const DeviceCommands&) = delete;

    // The info block of the current device and, on the report family, its configuration read back into
    // the current profile (once per model and run). NoDevice / NotLinked when there is no usable device.
    DeviceError ReadDeviceConfig();

    DeviceError WriteReportRate(int profile = 0);
    DeviceError WriteDpiLevels(int profile = 0);
    DeviceError WriteDpiColours(int profile = 0);
    DeviceError WriteAdvanced(int profile = 0);
    DeviceError WritePower(int profile = 0);
    // The profile's lighting row of `mode`; NothingToSend (and nothing sent) when there is no such row.
    DeviceError WriteLighting(int profile, int mode);
    // The family's key write: the whole table (report family) or the one button `keySlot` (feature family).
    // macroSlot >= 0: the macro assigned to that button goes first. Before it go the macro uploads of this
    // model that failed earlier (kept in its database); one that fails again stays pending for the next key
    // write, and its button keeps its previous code on the mouse until then.
    DeviceError WriteKeys(int profile, int keySlot, int macroSlot = -1);
    DeviceError WriteKeyTable(int profile = 0, int macroSlot = -1);
    DeviceError WriteKeyFunction(int profile, int keySlot, int macroSlot = -1);
    // Every button of the profile (a profile switch, an import): every macro bound in it, then the table or
    // one command per button of the model.
    DeviceError WriteProfileKeys(int profile = 0);
    DeviceError WriteDefaultKeys(int profile = 0);
    // The macro's packets in order; the first one the mouse does not take ends the upload.
    DeviceError SendMacro(int keySlot, int macroId);
    DeviceError ResetReportRate(int profile = 0);
    DeviceError ResetLighting(int profile = 0);
    DeviceError FactoryReset(int profile = 0);

    // The firmware transfer on the upgrade interface; false at once without an upgrade handle.
    bool StartFirmwareUpgrade();
    bool SendFirmware(const uint8_t* image, size_t size);
    bool EndFirmwareUpgrade();

private:
    Family CurrentFamily() const;
    int ProfileOr(int profile) const;
    DeviceError Send(Family family, Frame& frame);
    DeviceError Transact(Frame& frame);
    DeviceError SendFeatureFrame(Frame& frame);
    int GetInt(int profile, const std::string& key);
    void SetInt(int profile, const std::string& key, int value);

    // What became of the macro uploads before a key write.
    struct MacroUploads {
        DeviceError first = DeviceError::None;
        std::set<int> notTaken;  // not on the mouse (pending): their buttons keep what they did
        std::set<int> tooLong;   // never sendable: their buttons get their own function
        std::set<int> sent;      // on the mouse now
    };
    std::set<int> MacroSlots(int profile);
    DeviceError SendMacroOfSlot(int profile, int slot);
    MacroUploads SendMacros(int profile, std::set<int> slots);
    DeviceError SendKeyTable(int profile, const MacroUploads& uploads);
    DeviceError SendKeyFunction(int profile, int keySlot, const MacroUploads& uploads);
    std::vector<int> ProfileKeySlots(int profile);
    DeviceError ReadInfoBlock(Family family, int deviceType, InfoBlock* decoded);
    DeviceError ReadDeviceConfigReport(int deviceType);
    DeviceError ReadDeviceConfigFeature(int deviceType);
    void ReadLightingBack(int profile, const Frame& reply);
    void ApplyFeatureLightingReset(int profile);

    HidDeviceManager& manager_;
    DeviceDatabase& db_;
    CoreContext& context_;
};

}  // namespace quorvel
