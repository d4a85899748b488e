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

// The buttons of the profile bound to a macro that exists.
std::set<int> DeviceCommands::MacroSlots(int profile) {
    std::vector<KeyAssignmentRecord> assignments;
    std::vector<MacroRecord> macros;
    {
        auto hold = db_.Hold();
        db_.ListKeyAssignments(profile, assignments);
        db_.ListMacros(macros);
    }
    std::set<int> slots;
    for (const KeyAssignmentRecord& a : assignments) {
        if (a.macro_type != kMacroFunction || a.key_code < 0 || a.key_code >= kKeySlotCount) continue;
        for (const MacroRecord& m : macros)
            if (m.macro_id == a.macro_value) slots.insert(a.key_code);
    }
    return slots;
}

// The uploads still pending for this model (kept in its database, so they outlive the program), then the
// ones asked for. An upload that does not go through stays pending (with those after it) for the next key
// write, and its button is not pointed at its macro slot, which still holds what was uploaded before; a
// macro too long for the protocol never goes and its button gets its own function.
DeviceCommands::MacroUploads DeviceCommands::SendMacros(int profile, std::set<int> slots) {
    for (int slot : db_.ListPendingMacros()) slots.insert(slot);
    const std::set<int> bound = MacroSlots(profile);
    MacroUploads uploads;
    bool stopped = false;  // the mouse did not take an upload: the others wait for the next key write too
    for (int slot : slots) {
        if (!bound.count(slot)) {
            db_.RemovePendingMacro(slot);  // the button no longer plays a macro
            continue;
        }
        if (!stopped) {
            const DeviceError error = SendMacroOfSlot(profile, slot);
            KeepFirst(&uploads.first, error);
            if (error == DeviceError::None || error == DeviceError::TooLong) {
                (error == DeviceError::None ? uploads.sent : uploads.tooLong).insert(slot);
                db_.RemovePendingMacro(slot);
                continue;
            }
            stopped = true;
        }
        db_.AddPendingMacro(slot);
        uploads.notTaken.insert(slot);
    }
    return uploads;
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
    std::set<int> slots;
    if (macroSlot >= 0) slots.insert(macroSlot);
    return SendKeyTable(profile, SendMacros(profile, slots));
}

DeviceError DeviceCommands::SendKeyTable(int profile, const MacroUploads& uploads) {
    DeviceError first = uploads.first;
    // The table holds every button: while one of its macros is not on the mouse, none of it goes, so that
    // button keeps what it did instead of playing whatever its macro slot holds.
    if (!uploads.notTaken.empty()) return first;
    KeyTable table = EncodeKeyTable(db_, profile);
    for (int slot : uploads.tooLong) {
        const DeviceCode code = DefaultKeyCode(slot);
        for (int i = 0; i < 3; ++i) table[3 * slot + i] = code[i];
    }
    Frame f = BuildKeyTable(table);
    const DeviceError error = Transact(f);
    if (error != DeviceError::None) context_.Trace("%s", kKeyFailure);
    KeepFirst(&first, error);
    return first;
}

DeviceError DeviceCommands::SendKeyFunction(int profile, int keySlot, const MacroUploads& uploads) {
    // A button whose macro is not on the mouse keeps what it did (see SendKeyTable).
    if (uploads.notTaken.count(keySlot)) return DeviceError::None;
    const DeviceCode code = uploads.tooLong.count(keySlot) ? DefaultKeyCode(keySlot, true)
                                                           : EncodeSingleKey(db_, profile, keySlot);
    Frame f = BuildKeyFunction(keySlot, code);
    const DeviceError error = SendFeatureFrame(f);
    if (error != DeviceError::None) context_.Trace("%s", kKeyFailure);
    return error;
}

DeviceError DeviceCommands::WriteKeyFunction(int profile, int keySlot, int macroSlot) {
    profile = ProfileOr(profile);
    std::set<int> slots;
    if (macroSlot >= 0) slots.insert(macroSlot);
    const MacroUploads uploads = SendMacros(profile, slots);
    DeviceError first = uploads.first;
    KeepFirst(&first, SendKeyFunction(profile, keySlot, uploads));
    // A button whose earlier upload went through only now is pointed at its macro now too.
    for (int slot : uploads.sent)
        if (slot != keySlot) KeepFirst(&first, SendKeyFunction(profile, slot, uploads));
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
    // The mouse keeps one macro per button, whichever profile sent it: every macro of this profile goes.
    const MacroUploads uploads = SendMacros(profile, MacroSlots(profile));
    if (CurrentFamily() == Family::Report) return SendKeyTable(profile, uploads);
    // One button per command in this family: every button, so none keeps the previous profile's function.
    DeviceError first = uploads.first;
    for (int slot : ProfileKeySlots(profile)) KeepFirst(&first, SendKeyFunction(profile, slot, uploads));
    return first;
}

DeviceError DeviceCommands::WriteDefaultKeys(int profile) {
    if (CurrentFamily() == Family::Report) return WriteKeyTable(profile);
    // Every button the profile write sends, so none keeps a function the window no longer shows; slots 6
    // and up get the single-key command's own default, 10 00 00.
    DeviceError first = DeviceError::None;
    for (int slot : ProfileKeySlots(ProfileOr(profile))) {
        Frame f = BuildKeyFunction(slot, DefaultKeyCode(slot, true));
        const DeviceError error = SendFeatureFrame(f);
        if (error == DeviceError::None) continue;
        context_.Trace("%s", kKeyFailure);
        KeepFirst(&first, error);
    }
    return first;
}

}  // namespace quorvel
