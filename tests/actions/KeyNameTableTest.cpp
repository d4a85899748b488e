// Typed key names and key combinations.

#include <gtest/gtest.h>

#include <set>

#include "actions/KeyNameTable.h"
#include "store/ButtonCodes.h"

namespace quorvel {
namespace {

TEST(KeyNameTable, CombinationsParse) {
    struct Case {
        const char* text;
        int modifiers;
        int virtualKey;
    };
    const Case cases[] = {
        {"ctrl+shift+a", kModCtrl | kModShift, 0x41},
        {"Win + Alt", kModWin | kModAlt, 0},
        {"f5", 0, 0x74},
        {"F24", 0, 0x87},
        {"control+0", kModCtrl, 0x30},
        {"alt+kpenter", kModAlt, 0x6C},
        {"shift+plus", kModShift, 0xBB},
        {"lwin", 0, 0x5B},
        {"shift+tab", kModShift, 0x09},
        {"esc", 0, 0x1B},
        {"kp7", 0, 0x67},
        // Right-hand modifiers; a Windows key before another part is the modifier of its side.
        {"rctrl+c", kModRightCtrl, 0x43},
        {"rshift+ralt+f1", kModRightShift | kModRightAlt, 0x70},
        {"rwin+e", kModRightWin, 0x45},
        {"lwin+rwin", kModWin, 0x5C},
        {"ctrl+rwin", kModCtrl, 0x5C},
    };
    for (const Case& c : cases) {
        KeyCombination combo;
        std::string message;
        ASSERT_TRUE(ParseKeyCombination(c.text, &combo, &message)) << c.text << ": " << message;
        EXPECT_EQ(combo.modifierBits, c.modifiers) << c.text;
        EXPECT_EQ(combo.virtualKey, c.virtualKey) << c.text;
    }
}

TEST(KeyNameTable, BadCombinationsSayWhy) {
    struct Case {
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {"", "empty part"},        {"ctrl++a", "empty part"},     {"ctrl+", "empty part"},
        {"a+b", "more than one"},  {"ctrl+ctrl", "given twice"}, {"ctrl+hyper", "unknown key name \"hyper\""},
        {"lctrl", "unknown key"},
    };
    for (const Case& c : cases) {
        KeyCombination combo{7, 7};
        std::string message;
        EXPECT_FALSE(ParseKeyCombination(c.text, &combo, &message)) << c.text;
        EXPECT_NE(message.find(c.why), std::string::npos) << c.text << ": " << message;
        EXPECT_EQ(combo.modifierBits, 7) << c.text;  // untouched on failure
    }
}

// Every name stands for a key the mouse can send, names are unique, and the canonical name leads back.
TEST(KeyNameTable, EveryNameIsASendableKey) {
    std::set<std::string_view> names;
    for (const KeyNameEntry& e : KeyNames()) {
        EXPECT_TRUE(names.insert(e.name).second) << e.name;
        EXPECT_NE(VirtualKeyToUsage(e.virtualKey), 0) << e.name;
        EXPECT_EQ(VirtualKeyFromName(e.name), e.virtualKey) << e.name;
        EXPECT_EQ(VirtualKeyFromName(NameOfVirtualKey(e.virtualKey)), e.virtualKey) << e.name;
        EXPECT_EQ(ModifierBitFromName(e.name), 0) << e.name;
    }
    for (char c = 'a'; c <= 'z'; ++c) EXPECT_EQ(VirtualKeyFromName(std::string(1, c)), 0x41 + (c - 'a'));
    for (int f = 1; f <= 24; ++f) EXPECT_EQ(VirtualKeyFromName("f" + std::to_string(f)), 0x6F + f);
    EXPECT_EQ(NameOfVirtualKey(0x0D), "enter");
    EXPECT_EQ(VirtualKeyFromName("nosuchkey"), 0);
}

}  // namespace
}  // namespace quorvel
