// Button assignments and macros.

#include "device/CommandsLightingFrames.h"
#include "device/CommandsMacroFrames.h"
#include "device/DeviceMainDef.h"
#include "store/ButtonCodes.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

// A macro changed on a key slot: send its events before the key codes that refer to it.
bool DeviceMainDef::SendPendingMacro() {
    int slot = -1;
    Update([&](DeviceState& s) {
        if (s.macroUploadPending && s.macroUploadSlot >= 0) {
            slot = s.macroUploadSlot;
            s.macroUploadPending = 0;
            s.macroUploadSlot = -1;
        }
    });
    if (slot < 0) return true;
    const int profile = CurrentProfile();
    std::vector<KeyAssignmentRecord> assignments;
    db_.ListKeyAssignments(profile, assignments);
    std::vector<MacroRecord> macros;
    db_.ListMacros(macros);
    bool ok = true;
    for (const KeyAssignmentRecord& a : assignments) {
        if (a.macro_type != kMacroFunction || a.key_code != slot) continue;
        for (const MacroRecord& m : macros) {
            if (m.macro_id != a.macro_value) continue;
            ok = SendMacro(slot, m.macro_id) && ok;
            break;
        }
    }
    return ok;
}

bool DeviceMainDef::SendMacro(int keySlot, int macroId) {
    const Family family = FamilyOf(CurrentDeviceType());
    std::vector<MacroEventRecord> rows;
    db_.ListMacroEvents(macroId, rows);
    std::vector<Frame> packets = BuildMacroPackets(family, keySlot, rows);
    if (packets.empty()) {
        // The packet count is a nibble: a longer stream would reach the mouse garbled, so none of it goes.
        TraceLine("0x08: 设置按键宏数据失败! (%d > %d)", MacroPacketCount(family, rows), kMaxMacroPackets);
        return false;
    }
    bool ok = true;
    for (Frame& f : packets) {
        if (Send(family, f)) continue;
        TraceLine("0x08: 设置按键宏数据失败!");
        ok = false;
    }
    return ok;
}

bool DeviceMainDef::WriteKeyTable() {
    const bool macroOk = SendPendingMacro();
    Frame f = BuildKeyTable(EncodeKeyTable(db_, CurrentProfile()));
    if (Transact(f)) return macroOk;
    TraceLine("0x09: 设置按键功能失败");
    return false;
}

bool DeviceMainDef::WriteKeyFunction() {
    const bool macroOk = SendPendingMacro();
    const DeviceState s = Snapshot();
    Frame f = BuildKeyFunction(s.currentKeySlot, EncodeSingleKey(db_, s.currentProfile, s.currentKeySlot));
    if (SendFeatureFrame(f)) return macroOk;
    TraceLine("0x09: 设置按键功能失败");
    return false;
}

bool DeviceMainDef::WriteDefaultKeys() {
    if (FamilyOf(CurrentDeviceType()) == Family::Report) return WriteKeyTable();
    bool ok = true;
    for (int slot = 0; slot <= 5; ++slot) {
        Frame f = BuildKeyFunction(slot, DefaultKeyCode(slot, true));
        if (SendFeatureFrame(f)) continue;
        TraceLine("0x09: 设置按键功能失败");
        ok = false;
    }
    return ok;
}

}  // namespace quorvel
