// Button assignments and macros.

#include <set>

#include "device/CommandsLightingFrames.h"
#include "device/CommandsMacroFrames.h"
#include "device/CoreContext.h"
#include "device/DeviceCommands.h"
#include "store/ButtonCodes.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

constexpr const char* kKeyFailure = "0x09: 设置按键功能失败";
constexpr const char* kMacroFailure = "0x08: 设置按键宏数据失败!";
constexpr int kDefaultSlots = 6;  // slots 0-5 have a function of their own before any assignment

}  // namespace

// A macro was chosen for a button: its events go to the button's macro slot before the key codes that
// refer to it. Every macro assignment of that button in the profile is sent.
DeviceError DeviceCommands::SendMacroOfSlot(int profile, int slot) {
    if (slot < 0) return DeviceError::None;
    std::vector<KeyAssignmentRecord> assignments;
    db_.ListKeyAssignments(profile, assignments);
    std::vector<MacroRecord> macros;
    db_.ListMacros(macros);
    DeviceError first = DeviceError::None;
    for (const KeyAssignmentRecord& a : assignments) {
        if (a.macro_type != kMacroFunction || a.key_code != slot) continue;
        for (const MacroRecord& m : macros) {
            if (m.macro_id != a.macro_value) continue;
            KeepFirst(&first, SendMacro(slot, m.macro_id));
            break;
        }
    }
    return first;
}

// The uploads still pending for the current model, then the one the request asks for. An upload that does
// not go through stays pending (with those after it) for the next key write, so it is never lost; a macro too
// long for the protocol never goes and is not kept.
DeviceError DeviceCommands::SendMacros(int profile, int macroSlot) {
    const int type = context_.CurrentDeviceType();
    std::set<int> slots;
    context_.Update([&](DeviceState& s) {
        const auto pending = s.pendingMacroSlots.find(type);
        if (pending != s.pendingMacroSlots.end()) slots = pending->second;
    });
    if (macroSlot >= 0) slots.insert(macroSlot);
    DeviceError first = DeviceError::None;
    bool stopped = false;  // the mouse did not take an upload: the others wait for the next key write too
    for (int slot : slots) {
        if (!stopped) {
            const DeviceError error = SendMacroOfSlot(profile, slot);
            KeepFirst(&first, error);
            stopped = error != DeviceError::None && error != DeviceError::TooLong;
        }
        const bool keep = stopped;
        context_.Update([&](DeviceState& s) {
            std::set<int>& pending = s.pendingMacroSlots[type];
            if (keep)
                pending.insert(slot);
            else
                pending.erase(slot);
            if (pending.empty()) s.pendingMacroSlots.erase(type);
        });
    }
    return first;
}

DeviceError DeviceCommands::SendMacro(int keySlot, int macroId) {
    const Family family = CurrentFamily();
    std::vector<MacroEventRecord> rows;
    db_.ListMacroEvents(macroId, rows);
    std::vector<Frame> packets = BuildMacroPackets(family, keySlot, rows);
    if (packets.empty()) {
        // The packet count is a nibble: a longer stream would reach the mouse garbled, so none of it goes.
        context_.Trace("%s (%d > %d)", kMacroFailure, MacroPacketCount(family, rows), kMaxMacroPackets);
        return DeviceError::TooLong;
    }
    for (Frame& f : packets) {
        const DeviceError error = Send(family, f);
        if (error == DeviceError::None) continue;
        // The packets after a lost one would reach the mouse out of order: the upload ends here.
        context_.Trace("%s", kMacroFailure);
        return error;
    }
    return DeviceError::None;
}

DeviceError DeviceCommands::WriteKeys(int profile, int keySlot, int macroSlot) {
    return CurrentFamily() == Family::Report ? WriteKeyTable(profile, macroSlot)
                                             : WriteKeyFunction(profile, keySlot, macroSlot);
}

DeviceError DeviceCommands::WriteKeyTable(int profile, int macroSlot) {
    profile = ProfileOr(profile);
    DeviceError first = SendMacros(profile, macroSlot);
    Frame f = BuildKeyTable(EncodeKeyTable(db_, profile));
    const DeviceError error = Transact(f);
    if (error != DeviceError::None) context_.Trace("%s", kKeyFailure);
    KeepFirst(&first, error);
    return first;
}

DeviceError DeviceCommands::SendKeyFunction(int profile, int keySlot) {
    Frame f = BuildKeyFunction(keySlot, EncodeSingleKey(db_, profile, keySlot));
    const DeviceError error = SendFeatureFrame(f);
    if (error != DeviceError::None) context_.Trace("%s", kKeyFailure);
    return error;
}

DeviceError DeviceCommands::WriteKeyFunction(int profile, int keySlot, int macroSlot) {
    profile = ProfileOr(profile);
    DeviceError first = SendMacros(profile, macroSlot);
    KeepFirst(&first, SendKeyFunction(profile, keySlot));
    return first;
}

// The model's buttons; without a button list from the descriptor, the slots with a function of their own
// and every assigned slot.
std::vector<int> DeviceCommands::ProfileKeySlots(int profile) {
    std::set<int> slots;
    for (const DescriptorKey& key : context_.Snapshot().model.keys)
        if (key.key_value >= 0 && key.key_value < kKeySlotCount) slots.insert(key.key_value);
    if (slots.empty()) {
        for (int slot = 0; slot < kDefaultSlots; ++slot) slots.insert(slot);
        std::vector<KeyAssignmentRecord> assignments;
        db_.ListKeyAssignments(profile, assignments);
        for (const KeyAssignmentRecord& a : assignments)
            if (a.key_code >= 0 && a.key_code < kKeySlotCount) slots.insert(a.key_code);
    }
    return {slots.begin(), slots.end()};
}

DeviceError DeviceCommands::WriteProfileKeys(int profile) {
    profile = ProfileOr(profile);
    if (CurrentFamily() == Family::Report) return WriteKeyTable(profile);
    // One button per command in this family: every button, so none keeps the previous profile's function.
    DeviceError first = SendMacros(profile, -1);
    for (int slot : ProfileKeySlots(profile)) KeepFirst(&first, SendKeyFunction(profile, slot));
    return first;
}

DeviceError DeviceCommands::WriteDefaultKeys(int profile) {
    if (CurrentFamily() == Family::Report) return WriteKeyTable(profile);
    DeviceError first = DeviceError::None;
    for (int slot = 0; slot < kDefaultSlots; ++slot) {
        Frame f = BuildKeyFunction(slot, DefaultKeyCode(slot, true));
        const DeviceError error = SendFeatureFrame(f);
        if (error == DeviceError::None) continue;
        context_.Trace("%s", kKeyFailure);
        KeepFirst(&first, error);
    }
    return first;
}

}  // namespace quorvel
