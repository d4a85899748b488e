#pragma once
// Which key of the US layout types a character: the virtual key and whether Shift is held for it.

namespace quorvel {

struct TextKey {
    int virtualKey = 0;  // 0: the character cannot be typed
    bool shift = false;
};

// Letters, digits, printable ASCII signs, blank, tab ('\t') and line end ('\n' and '\r' give Enter).
TextKey TextKeyOf(char c);

// The Shift key as key capture records it (left Shift).
inline constexpr int kTextShiftKey = 0xA0;

}  // namespace quorvel
