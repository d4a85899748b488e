#include <gtest/gtest.h>

#include <string>

#include "store/AssignmentText.h"
#include "store/ButtonCodes.h"

namespace quorvel {
namespace {

// A language whose text n reads "t<n>", and whose text 351 (the default macro-name prefix) is "Custom".
std::string FakeText(int id) {
    return id == 351 ? "Custom" : "t" + std::to_string(id);
}

TEST(DescribeAssignment, TextsByTypeAndValue) {
    struct Case {
        int type, value;
        const char* expected;
    } cases[] = {
        {kFixedFunction, 1, "t139"},   {kMouseFunction, 1, "t106"},     {kMouseFunction, 4, "t111"},
        {kMouseFunction, 10, "t115"},  {kMouseFunction, 11, "stored"},  {kMediaFunction, 6, "t117"},
        {kMediaFunction, 3, "t124"},   {kShortcutFunction, 9, "t31"},   {kShortcutFunction, 11, "t36"},
        {kSpecialFunction, 1, "t151"}, {kSpecialFunction, 2, "stored"}, {kSpecialFunction, 3, "t152"},
        {kSpecialFunction, 6, "t155"}, {kSpecialFunction, 7, "stored"}, {kClickFunction, 9, "t161"},
        {kKeyboardKey, 4, "stored"},   {kDpiFunction, 3, "stored"},     {0, 0, "stored"},
        {kMacroFunction, 1, "stored"},
    };
    for (const Case& c : cases) {
        KeyAssignmentRecord r;
        r.macro_type = c.type;
        r.macro_value = c.value;
        r.macro_desc = "stored";
        EXPECT_EQ(DescribeAssignment(r, FakeText, 1033), c.expected) << c.type << "/" << c.value;
    }
}

TEST(DescribeAssignment, MacroNamesAreReworded) {
    struct Case {
        int lcid;
        const char* name;
        const char* expected;
    } cases[] = {
        {1033, "自定义3", "Custom3"},
        {1033, "自定义3 复制", "Custom3 Copy"},  // the kept blank serves the pattern: never two
        {1033, "自定义3复制", "Custom3 Copy"},
        {1033, "Custom3 Copy", "Custom3 Copy"},  // already this language's words
        {2052, "Custom3 Copy", "自定义3 复制"},
        {1049, "Мой Copy", "Мой Копировать"},
        {1049, "Мой Копировать", "Мой Копировать"},  // its own word is not in its list
        {1028, "Copy of Copy", "複製"},              // cut before the first occurrence
        {1041, "カスタム1", "カスタム1"},            // its own prefix
        {1041, "Пользоват 2", "Custom 2"},
        {3082, "自定义3 复制", "自定义3 复制"},  // a language not in the table
        {1033, "", ""},
    };
    for (const Case& c : cases) {
        std::string prefix = c.lcid == 2052 ? "自定义" : "Custom";
        EXPECT_EQ(RelocaliseMacroName(c.name, c.lcid, prefix), c.expected) << c.lcid << " " << c.name;
    }

    KeyAssignmentRecord r;
    r.macro_type = kMacroFunction;
    r.macro_desc = "自定义1 复制";
    EXPECT_EQ(DescribeAssignment(r, FakeText, 1033), "Custom1 Copy");
}

TEST(KeyCombinationText, ModifierOrderAndJoin) {
    struct Case {
        int bits;
        const char* key;
        const char* expected;
    } cases[] = {
        {0, "A", "A"},
        {kModCtrl, "", "Ctrl"},
        {kModCtrl, "A", "Ctrl + A"},
        {kModShift | kModCtrl, "A", "Shift+ Ctrl + A"},
        {kModAlt | kModWin | kModCtrl | kModShift, "F1", "Shift+ Ctrl+ Win+ Alt + F1"},
        {kModAlt | kModWin, "Num 8", "Win+ Alt + Num 8"},
        // A right-hand modifier reads as the key capture names it, after its left-hand one.
        {kModRightCtrl, "B", "RCtrl + B"},
        {kModRightWin | kModShift, "E", "Shift+ RWin + E"},
        {kModCtrl | kModRightCtrl | kModRightAlt, "", "Ctrl+ RCtrl+ RAlt"},
        {0, "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyCombinationText(c.bits, c.key), c.expected) << c.bits;
}

}  // namespace
}  // namespace quorvel
