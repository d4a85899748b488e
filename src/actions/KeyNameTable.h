#pragma once
// Key names a user types (command line, tests) and the Windows virtual-key codes they stand for, and key
// combinations such as "ctrl+shift+a" or "win+alt".

#include <span>
#include <string>
#include <string_view>

namespace quorvel {

struct KeyNameEntry {
    std::string_view name;  // lower case; the first entry of a virtual key is its canonical name
    int virtualKey;
};

// Letters a-z, digits 0-9, f1-f24, enter, esc, backspace, tab, space, lwin, rwin, punctuation, the
// navigation block, arrows, lock keys and the keypad (kp0-kp9, kpenter, ...).
std::span<const KeyNameEntry> KeyNames();

// Virtual key of a name (any case); 0 when unknown.
int VirtualKeyFromName(std::string_view name);
// Canonical name of a virtual key; empty when it has none in the table.
std::string_view NameOfVirtualKey(int virtualKey);

// Modifier words "ctrl" (also "control"), "shift", "alt", "win" and the right-hand "rctrl", "rshift", "ralt":
// their bit (kModCtrl ... kModRightAlt); 0 otherwise. In a combination, the keys "lwin" and "rwin" before
// another part are the Win modifiers of their side.
int ModifierBitFromName(std::string_view name);

struct KeyCombination {
    int modifierBits = 0;  // kModCtrl | kModShift | kModAlt | kModWin
    int virtualKey = 0;    // 0: modifiers only
};

// "ctrl+shift+a", "win+alt", "f5": modifier words and at most one key, separated by '+', blanks ignored.
// A lone "+" key is written "plus". False with a message for anything else.
bool ParseKeyCombination(std::string_view text, KeyCombination* out, std::string* message);

}  // namespace quorvel
