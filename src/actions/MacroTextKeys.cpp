#include "actions/MacroTextKeys.h"

namespace quorvel {

namespace {

struct SignKey {
    char plain;
    char shifted;
    int virtualKey;
};

// The sign keys of the US layout: the character without and with Shift.
constexpr SignKey kSigns[] = {
    {'0', ')', 0x30}, {'1', '!', 0x31},  {'2', '@', 0x32}, {'3', '#', 0x33}, {'4', '$', 0x34},
    {'5', '%', 0x35}, {'6', '^', 0x36},  {'7', '&', 0x37}, {'8', '*', 0x38}, {'9', '(', 0x39},
    {'-', '_', 0xBD}, {'=', '+', 0xBB},  {'[', '{', 0xDB}, {']', '}', 0xDD}, {'\\', '|', 0xDC},
    {';', ':', 0xBA}, {'\'', '"', 0xDE}, {'`', '~', 0xC0}, {',', '<', 0xBC}, {'.', '>', 0xBE},
    {'/', '?', 0xBF},
};

}  // namespace

TextKey TextKeyOf(char c) {
    if (c >= 'a' && c <= 'z') return {0x41 + (c - 'a'), false};
    if (c >= 'A' && c <= 'Z') return {0x41 + (c - 'A'), true};
    switch (c) {
        case ' ':
            return {0x20, false};
        case '\t':
            return {0x09, false};
        case '\n':
        case '\r':
            return {0x0D, false};
        default:
            break;
    }
    for (const SignKey& s : kSigns) {
        if (c == s.plain) return {s.virtualKey, false};
        if (c == s.shifted) return {s.virtualKey, true};
    }
    return {};
}

}  // namespace quorvel
