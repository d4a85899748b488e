#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreFixture.h"
#include "store/ButtonCodes.h"

namespace quorvel {
namespace {

KeyAssignmentRecord Assign(int keyCode, int type, int value, int value2 = 0) {
    KeyAssignmentRecord r;
    r.key_code = keyCode;
    r.macro_type = type;
    r.macro_value = value;
    r.macro_value2 = value2;
    return r;
}

MacroRecord Macro(int id, int playType, int playTimes) {
    MacroRecord m;
    m.macro_id = id;
    m.play_type = playType;
    m.play_times = playTimes;
    return m;
}

std::string Hex(const DeviceCode& code) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", code[0], code[1], code[2]);
    return text;
}

// Every value of the fixed function tables and the code it sends. The slot starts at a non-zero code so
// that bytes which must be cleared are seen.
TEST(EncodeKey, FunctionValueCodes) {
    struct Case {
        int type, value;
        const char* code;
    } cases[] = {
        {1, 1, "10 01 00"}, {1, 2, "10 04 00"},  {1, 3, "10 02 00"},  {1, 4, "30 32 03"},
        {1, 5, "10 10 00"}, {1, 6, "10 08 00"},  {1, 7, "20 01 00"},  {1, 8, "20 FF 00"},
        {1, 9, "10 00 F5"}, {1, 10, "10 00 F6"}, {1, 11, "10 00 00"}, {3, 1, "80 83 01"},
        {3, 2, "80 CD 00"}, {3, 3, "80 B7 00"},  {3, 4, "80 B6 00"},  {3, 5, "80 B5 00"},
        {3, 6, "80 E9 00"}, {3, 7, "80 EA 00"},  {3, 8, "80 E2 00"},  {3, 0, "80 00 00"},
        {8, 1, "80 6F 00"}, {8, 2, "80 70 00"},  {8, 3, "80 92 01"},  {8, 4, "80 94 01"},
        {8, 5, "80 23 02"}, {8, 6, "80 8A 01"},  {8, 7, "70 08 07"},  {8, 8, "70 08 2B"},
        {8, 9, "70 01 06"}, {8, 10, "70 01 19"}, {8, 11, "70 01 1B"}, {5, 1, "40 02 00"},
        {5, 2, "40 03 00"}, {5, 3, "40 01 00"},  {5, 4, "40 00 00"},  {9, 1, "60 00 00"},
        {6, 1, "60 04 AB"}, {6, 2, "60 01 AB"},  {6, 3, "60 CD AB"},  {7, 0x105, "30 05 FF"},
        {0, 1, "EF CD AB"}, {10, 1, "EF CD AB"},
    };
    const DeviceCode previous = {0xEF, 0xCD, 0xAB};
    for (const Case& c : cases) {
        int value2 = c.type == 7 ? 0x3FF : 0;
        EXPECT_EQ(Hex(EncodeKey(Assign(3, c.type, c.value, value2), previous, {})), c.code)
            << "type " << c.type << " value " << c.value;
    }
}

TEST(EncodeKey, KeyboardKeysAndLoneModifiers) {
    struct Case {
        int usage, modifiers;
        const char* code;
    } cases[] = {
        {0x04, 0x00, "70 00 04"},    // A
        {0x04, 0x03, "70 03 04"},    // Ctrl+Shift+A
        {0xE3, 0x00, "70 08 00"},    // left Win alone: a modifier bit and no usage
        {0xE3, 0x01, "70 01 08"},    // Ctrl + left Win: the usage is converted to its bit as well
        {0xE5, 0x00, "70 20 00"},    // right Shift alone
        {0xA1, 0x00, "70 00 20"},    // a sided virtual key converts too, but is not a lone modifier usage
        {0x104, 0x102, "70 02 04"},  // only the low bytes travel
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(EncodeKey(Assign(2, kKeyboardKey, c.usage, c.modifiers), {0, 0, 0}, {})), c.code)
            << std::hex << c.usage << " " << c.modifiers;
    }
}

TEST(EncodeKey, MacroPlayModes) {
    const std::vector<MacroRecord> macros = {Macro(1, 0, 3), Macro(2, 1, 3), Macro(3, 2, 3),
                                             Macro(4, 3, 0), Macro(5, 0, 0), Macro(6, 7, 300)};
    struct Case {
        int keyCode, macroId;
        const char* code;
    } cases[] = {
        {4, 1, "90 24 03"},  // counted: 0x20 and the count
        {4, 2, "90 14 00"},  // play mode 1
        {4, 3, "90 44 00"},  // play mode 2
        {4, 4, "90 14 00"},  // play type 3 as 1
        {4, 5, "90 04 00"},  // no count: the bare key code
        {2, 6, "90 22 2C"},  // another play type counts; the count's low byte
        {4, 9, "11 22 33"},  // no such macro: the slot keeps its code
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(EncodeKey(Assign(c.keyCode, kMacroFunction, c.macroId), {0x11, 0x22, 0x33}, macros)),
                  c.code)
            << c.macroId;
    }
}

TEST(EncodeKeyTable, DefaultsAndAssignmentsInRowOrder) {
    KeyTable expected{};
    const uint8_t defaults[] = {0x10, 0x01, 0, 0x10, 0x02, 0, 0x10, 0x04, 0,
                                0x10, 0x08, 0, 0x10, 0x10, 0, 0x40, 0x01, 0};
    std::copy(std::begin(defaults), std::end(defaults), expected.begin());
    EXPECT_EQ(EncodeKeyTable({}, {}), expected);

    std::vector<KeyAssignmentRecord> rows = {
        Assign(5, kSpecialFunction, 1),  // 60 04, byte 2 kept from 40 01 00
        Assign(0, kSpecialFunction, 3),  // 60 01 00: byte 1 kept from the left button
        Assign(19, kMouseFunction, 7),   // the last slot
        Assign(20, kMouseFunction, 1),   // outside the table: ignored
        Assign(-1, kMouseFunction, 1),   // likewise
        Assign(19, kMediaFunction, 2),   // a later row for the same slot wins
    };
    KeyTable table = EncodeKeyTable(rows, {});
    KeyTable want = expected;
    want[15] = 0x60, want[16] = 0x04, want[17] = 0x00;
    want[0] = 0x60, want[1] = 0x01, want[2] = 0x00;
    want[57] = 0x80, want[58] = 0xCD, want[59] = 0x00;
    EXPECT_EQ(table, want);

    EXPECT_EQ(Hex(DefaultKeyCode(6)), "00 00 00");
    EXPECT_EQ(Hex(DefaultKeyCode(6, true)), "10 00 00");
    EXPECT_EQ(Hex(DefaultKeyCode(5, true)), "40 01 00");
}

using testing::StoreTest;

TEST_F(StoreTest, KeyTableFromTheDatabase) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    const int macro = db_.AddMacro("m");
    db_.SaveKeyAssignment([&] {
        KeyAssignmentRecord r = Assign(3, kMacroFunction, macro);
        r.profile = 1;
        return r;
    }());
    db_.SaveKeyAssignment([] {
        KeyAssignmentRecord r = Assign(7, kKeyboardKey, 0x04, 0x01);
        r.profile = 2;  // another profile
        return r;
    }());
    KeyTable table = EncodeKeyTable(db_, 1);
    EXPECT_EQ(Hex({table[9], table[10], table[11]}), "90 23 01");  // new macros play once
    EXPECT_EQ(Hex({table[21], table[22], table[23]}), "00 00 00");
    EXPECT_EQ(Hex(EncodeSingleKey(db_, 1, 3)), "90 23 01");
    EXPECT_EQ(Hex(EncodeSingleKey(db_, 1, 7)), "10 00 00");
    EXPECT_EQ(Hex(EncodeSingleKey(db_, 2, 7)), "70 01 04");
}

TEST(VirtualKeyToUsage, Table) {
    struct Case {
        int vk, usage;
    } cases[] = {
        {0x41, 0x04}, {0x5A, 0x1D}, {0x31, 0x1E}, {0x39, 0x26}, {0x30, 0x27}, {0x0D, 0x28}, {0x1B, 0x29},
        {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0xBD, 0x2D}, {0xBB, 0x2E}, {0xDB, 0x2F}, {0xDD, 0x30},
        {0xDC, 0x31}, {666, 0x32},  {0xBA, 0x33}, {0xDE, 0x34}, {0xC0, 0x35}, {0xBC, 0x36}, {0xBE, 0x37},
        {0xBF, 0x38}, {0x14, 0x39}, {0x70, 0x3A}, {0x7B, 0x45}, {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48},
        {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D}, {0x22, 0x4E}, {0x27, 0x4F},
        {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52}, {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56},
        {0x6B, 0x57}, {0x6C, 0x58}, {0x61, 0x59}, {0x69, 0x61}, {0x60, 0x62}, {0x6E, 0x63}, {0xE2, 0x64},
        {0x5D, 0x65}, {0x7C, 0x68}, {0x87, 0x73}, {0x88, 0x88}, {0x8B, 0x8B}, {0xFE, 0xAF}, {0xA2, 0xE0},
        {0xA0, 0xE1}, {0xA4, 0xE2}, {0x5B, 0xE3}, {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6}, {0x5C, 0xE7},
        {301, 0xEC},  {302, 0xEB},  {0x10, 0},    {0x8C, 0},    {0x40, 0},    {0x5E, 0},    {0, 0},
        {0xFF, 0},    {-1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(VirtualKeyToUsage(c.vk), c.usage) << std::hex << c.vk;
}

TEST(UsageToDeviceByte, Table) {
    struct Case {
        int value, byte;
    } cases[] = {
        {0xE0, 0x01}, {0xE1, 0x02}, {0xE2, 0x04}, {0xE3, 0x08}, {0xE4, 0x10}, {0xE5, 0x20},   {0xE6, 0x40},
        {0xE7, 0x80}, {0xA2, 0x01}, {0xA0, 0x02}, {0xA4, 0x04}, {0x5B, 0x08}, {0xA3, 0x10},   {0xA1, 0x20},
        {0xA5, 0x40}, {0x5C, 0x80}, {0, 0},       {0x04, 0x04}, {0xE8, 0xE8}, {0x300, 0x300},
    };
    for (const Case& c : cases) EXPECT_EQ(UsageToDeviceByte(c.value), c.byte) << std::hex << c.value;
}

}  // namespace
}  // namespace quorvel
