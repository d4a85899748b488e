#include "store/ButtonCodes.h"

#include "store/DeviceDatabase.h"

namespace quorvel {

namespace {

constexpr FunctionValue kMouseValues[] = {
    {1, {0x10, 0x01, 0x00}, 106, 1},  {2, {0x10, 0x04, 0x00}, 108, 3}, {3, {0x10, 0x02, 0x00}, 107, 2},
    {4, {0x30, 0x32, 0x03}, 111, 6},  {5, {0x10, 0x10, 0x00}, 109, 4}, {6, {0x10, 0x08, 0x00}, 110, 5},
    {7, {0x20, 0x01, 0x00}, 112, 7},  {8, {0x20, 0xFF, 0x00}, 113, 8}, {9, {0x10, 0x00, 0xF5}, 114, 0},
    {10, {0x10, 0x00, 0xF6}, 115, 0},
};

constexpr FunctionValue kMediaValues[] = {
    {1, {0x80, 0x83, 0x01}, 120, 4}, {2, {0x80, 0xCD, 0x00}, 121, 5}, {3, {0x80, 0xB7, 0x00}, 124, 8},
    {4, {0x80, 0xB6, 0x00}, 122, 6}, {5, {0x80, 0xB5, 0x00}, 123, 7}, {6, {0x80, 0xE9, 0x00}, 117, 1},
    {7, {0x80, 0xEA, 0x00}, 118, 2}, {8, {0x80, 0xE2, 0x00}, 119, 3},
};

constexpr FunctionValue kShortcutValues[] = {
    {1, {0x80, 0x6F, 0x00}, 127, 1},  {2, {0x80, 0x70, 0x00}, 128, 2},  {3, {0x80, 0x92, 0x01}, 129, 3},
    {4, {0x80, 0x94, 0x01}, 130, 4},  {5, {0x80, 0x23, 0x02}, 131, 5},  {6, {0x80, 0x8A, 0x01}, 132, 6},
    {7, {0x70, 0x08, 0x07}, 133, 7},  {8, {0x70, 0x08, 0x2B}, 134, 8},  {9, {0x70, 0x01, 0x06}, 31, 9},
    {10, {0x70, 0x01, 0x19}, 32, 11}, {11, {0x70, 0x01, 0x1B}, 36, 10},
};

// "DPI +" and "DPI -" are literal menu texts (text id 0).
constexpr FunctionValue kDpiValues[] = {
    {1, {0x40, 0x02, 0x00}, 0, 2},
    {2, {0x40, 0x03, 0x00}, 0, 3},
    {3, {0x40, 0x01, 0x00}, 142, 1},
};

// Byte 2 of a special function keeps what the slot held; only byte 1 is given here.
constexpr FunctionValue kSpecialValues[] = {
    {1, {0x60, 0x04, 0x00}, 151, 1}, {2, {0x60, 0x01, 0x00}, 181, 2}, {3, {0x60, 0x00, 0x00}, 152, 0},
    {4, {0x60, 0x00, 0x00}, 153, 0}, {5, {0x60, 0x00, 0x00}, 154, 0}, {6, {0x60, 0x00, 0x00}, 155, 0},
};

uint8_t ClassOf(int macroType) {
    switch (macroType) {
        case kMouseFunction:
            return 0x10;
        case kMediaFunction:
            return 0x80;
        case kDpiFunction:
            return 0x40;
        case kShortcutFunction:
            return 0x80;
        default:
            return 0;
    }
}

uint8_t Low(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace

std::span<const FunctionValue> FunctionValues(int macroType) {
    switch (macroType) {
        case kMouseFunction:
            return kMouseValues;
        case kMediaFunction:
            return kMediaValues;
        case kDpiFunction:
            return kDpiValues;
        case kSpecialFunction:
            return kSpecialValues;
        case kShortcutFunction:
            return kShortcutValues;
        default:
            return {};
    }
}

const FunctionValue* FindFunctionValue(int macroType, int value) {
    for (const FunctionValue& entry : FunctionValues(macroType)) {
        if (entry.value == value) return &entry;
    }
    return nullptr;
}

int VirtualKeyToUsage(int vk) {
    if (vk >= 0x41 && vk <= 0x5A) return vk - 0x41 + 0x04;
    if (vk >= 0x31 && vk <= 0x39) return vk - 0x31 + 0x1E;
    if (vk >= 0x70 && vk <= 0x7B) return vk - 0x70 + 0x3A;
    if (vk >= 0x61 && vk <= 0x69) return vk - 0x61 + 0x59;
    if (vk >= 0x7C && vk <= 0x87) return vk - 0x7C + 0x68;
    if (vk >= 0x88 && vk <= 0x8B) return vk;
    switch (vk) {
        case 0x30:
            return 0x27;
        case 0x0D:
            return 0x28;
        case 0x1B:
            return 0x29;
        case 0x08:
            return 0x2A;
        case 0x09:
            return 0x2B;
        case 0x20:
            return 0x2C;
        case 0xBD:
            return 0x2D;
        case 0xBB:
            return 0x2E;
        case 0xDB:
            return 0x2F;
        case 0xDD:
            return 0x30;
        case 0xDC:
            return 0x31;
        case 666:
            return 0x32;
        case 0xBA:
            return 0x33;
        case 0xDE:
            return 0x34;
        case 0xC0:
            return 0x35;
        case 0xBC:
            return 0x36;
        case 0xBE:
            return 0x37;
        case 0xBF:
            return 0x38;
        case 0x14:
            return 0x39;
        case 0x2C:
            return 0x46;
        case 0x91:
            return 0x47;
        case 0x13:
            return 0x48;
        case 0x2D:
            return 0x49;
        case 0x24:
            return 0x4A;
        case 0x21:
            return 0x4B;
        case 0x2E:
            return 0x4C;
        case 0x23:
            return 0x4D;
        case 0x22:
            return 0x4E;
        case 0x27:
            return 0x4F;
        case 0x25:
            return 0x50;
        case 0x28:
            return 0x51;
        case 0x26:
            return 0x52;
        case 0x90:
            return 0x53;
        case 0x6F:
            return 0x54;
        case 0x6A:
            return 0x55;
        case 0x6D:
            return 0x56;
        case 0x6B:
            return 0x57;
        case 0x6C:
            return 0x58;
        case 0x60:
            return 0x62;
        case 0x6E:
            return 0x63;
        case 0xE2:
            return 0x64;
        case 0x5D:
            return 0x65;
        case 0xFE:
            return 0xAF;
        case 0xA2:
            return 0xE0;
        case 0xA0:
            return 0xE1;
        case 0xA4:
            return 0xE2;
        case 0x5B:
            return 0xE3;
        case 0xA3:
            return 0xE4;
        case 0xA1:
            return 0xE5;
        case 0xA5:
            return 0xE6;
        case 0x5C:
            return 0xE7;
        case 301:
            return 0xEC;
        case 302:
            return 0xEB;
        default:
            return 0;
    }
}

int UsageToDeviceByte(int value) {
    if (value >= 0xE0 && value <= 0xE7) return 1 << (value - 0xE0);
    static constexpr int kSidedKeys[] = {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};
    for (int i = 0; i < 8; ++i) {
        if (value == kSidedKeys[i]) return 1 << i;
    }
    return value;
}

DeviceCode DefaultKeyCode(int keyCode, bool singleKey) {
    switch (keyCode) {
        case 0:
            return {0x10, 0x01, 0x00};
        case 1:
            return {0x10, 0x02, 0x00};
        case 2:
            return {0x10, 0x04, 0x00};
        case 3:
            return {0x10, 0x08, 0x00};
        case 4:
            return {0x10, 0x10, 0x00};
        case 5:
            return {0x40, 0x01, 0x00};
        default:
            return singleKey ? DeviceCode{0x10, 0x00, 0x00} : DeviceCode{0x00, 0x00, 0x00};
    }
}

DeviceCode EncodeKey(const KeyAssignmentRecord& record, const DeviceCode& previous,
                     const std::vector<MacroRecord>& macros) {
    DeviceCode code = previous;
    switch (record.macro_type) {
        case kFixedFunction:
            return {0x60, 0x00, 0x00};
        case kKeyboardKey: {
            int usage = record.macro_value;
            if (record.macro_value2 == 0 && usage >= 0xE0 && usage <= 0xE7) {
                // A lone modifier key goes out as its modifier bit with no usage.
                return {0x70, Low(UsageToDeviceByte(usage)), 0x00};
            }
            return {0x70, Low(record.macro_value2), Low(UsageToDeviceByte(usage))};
        }
        case kMacroFunction: {
            const MacroRecord* macro = nullptr;
            for (const MacroRecord& m : macros) {
                if (m.macro_id == record.macro_value) {
                    macro = &m;
                    break;
                }
            }
            if (macro == nullptr) return previous;
            code = {0x90, Low(record.key_code), 0x00};
            if (macro->play_type == 1 || macro->play_type == 3) {
                code[1] |= 0x10;
            } else if (macro->play_type == 2) {
                code[1] |= 0x40;
            } else if (macro->play_times >= 1) {
                code[1] |= 0x20;
                code[2] = Low(macro->play_times);
            }
            return code;
        }
        case kMouseFunction:
        case kMediaFunction:
        case kDpiFunction:
        case kShortcutFunction: {
            code = {ClassOf(record.macro_type), 0x00, 0x00};
            if (const FunctionValue* entry = FindFunctionValue(record.macro_type, record.macro_value)) {
                code = entry->code;
            }
            return code;
        }
        case kSpecialFunction:
            code[0] = 0x60;
            if (record.macro_value == 1) code[1] = 0x04;
            if (record.macro_value == 2) code[1] = 0x01;
            return code;
        case kClickFunction:
            return {0x30, Low(record.macro_value), Low(record.macro_value2)};
        default:
            return previous;
    }
}

KeyTable EncodeKeyTable(const std::vector<KeyAssignmentRecord>& assignments,
                        const std::vector<MacroRecord>& macros) {
    KeyTable table{};
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        DeviceCode code = DefaultKeyCode(slot);
        for (int i = 0; i < 3; ++i) table[3 * slot + i] = code[i];
    }
    for (const KeyAssignmentRecord& record : assignments) {
        if (record.key_code < 0 || record.key_code >= kKeySlotCount) continue;
        const int at = 3 * record.key_code;
        DeviceCode previous = {table[at], table[at + 1], table[at + 2]};
        DeviceCode code = EncodeKey(record, previous, macros);
        for (int i = 0; i < 3; ++i) table[at + i] = code[i];
    }
    return table;
}

KeyTable EncodeKeyTable(DeviceDatabase& db, int profile) {
    std::vector<KeyAssignmentRecord> assignments;
    std::vector<MacroRecord> macros;
    {
        auto hold = db.Hold();
        db.ListKeyAssignments(profile, assignments);
        db.ListMacros(macros);
    }
    return EncodeKeyTable(assignments, macros);
}

DeviceCode EncodeSingleKey(DeviceDatabase& db, int profile, int keyCode) {
    DeviceCode code = DefaultKeyCode(keyCode, true);
    KeyAssignmentRecord record;
    std::vector<MacroRecord> macros;
    {
        auto hold = db.Hold();
        if (!db.GetKeyAssignment(profile, keyCode, record)) return code;
        db.ListMacros(macros);
    }
    return EncodeKey(record, code, macros);
}

}  // namespace quorvel
