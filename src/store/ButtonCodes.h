#pragma once
// The button-function vocabulary: function types and values, their three-byte device codes, the keyboard
// usage of a captured key, and the key table of a profile as the mouse receives it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "store/Records.h"

namespace quorvel {

class DeviceDatabase;

// macro_type of an assignment.
enum FunctionType : int {
    kMouseFunction = 1,
    kKeyboardKey = 2,
    kMediaFunction = 3,
    kMacroFunction = 4,
    kDpiFunction = 5,
    kSpecialFunction = 6,
    kClickFunction = 7,
    kShortcutFunction = 8,
    kFixedFunction = 9,
};

using DeviceCode = std::array<uint8_t, 3>;

inline constexpr int kKeySlotCount = 20;
using KeyTable = std::array<uint8_t, 3 * kKeySlotCount>;  // slot k at byte 3*k

// One menu value of a function type.
struct FunctionValue {
    int value;
    DeviceCode code;
    int textId;        // display text (language text number); 0 when the text is a literal
    int menuPosition;  // 1-based position in the button page's menu; 0 when not offered
};

// The value tables of the types whose values are fixed (mouse, media, DPI, shortcut, special).
std::span<const FunctionValue> FunctionValues(int macroType);
const FunctionValue* FindFunctionValue(int macroType, int value);

// Modifier bits of a keyboard assignment (macro_value2) and of byte 1 of class 0x70.
enum ModifierBit : int {
    kModCtrl = 0x01,
    kModShift = 0x02,
    kModAlt = 0x04,
    kModWin = 0x08,
    kModRightCtrl = 0x10,
    kModRightShift = 0x20,
    kModRightAlt = 0x40,
    kModRightWin = 0x80,
};

// Virtual key (or one of the program codes 666, 301, 302) -> HID keyboard usage; 0 when there is none.
int VirtualKeyToUsage(int virtualKey);
// Modifier usages and sided modifier virtual keys -> their modifier bit; other values pass through.
int UsageToDeviceByte(int value);

// The mouse's own code of a slot before any assignment. singleKey: the single-key command gives slots
// 6 and above 10 00 00 instead of 00 00 00.
DeviceCode DefaultKeyCode(int keyCode, bool singleKey = false);
// The code of one assignment; `previous` is what the slot held. `macros` is every macro of the device.
DeviceCode EncodeKey(const KeyAssignmentRecord& record, const DeviceCode& previous,
                     const std::vector<MacroRecord>& macros);
// Default table with the assignments applied in row order; assignments outside slots 0-19 are ignored.
KeyTable EncodeKeyTable(const std::vector<KeyAssignmentRecord>& assignments,
                        const std::vector<MacroRecord>& macros);
// The same from the database: the profile's assignments and all macros.
KeyTable EncodeKeyTable(DeviceDatabase& db, int profile);
// The code of one slot for the single-key command.
DeviceCode EncodeSingleKey(DeviceDatabase& db, int profile, int keyCode);

}  // namespace quorvel
