#include "actions/KeyNameTable.h"

#include <array>
#include <cctype>

#include "store/ButtonCodes.h"

namespace quorvel {

namespace {

constexpr KeyNameEntry kFixedNames[] = {
    {"enter", 0x0D},        {"return", 0x0D},      {"esc", 0x1B},          {"escape", 0x1B},
    {"backspace", 0x08},    {"tab", 0x09},         {"space", 0x20},        {"lwin", 0x5B},
    {"rwin", 0x5C},         {"menu", 0x5D},        {"application", 0x5D},  {"minus", 0xBD},
    {"equal", 0xBB},        {"equals", 0xBB},      {"plus", 0xBB},         {"lbracket", 0xDB},
    {"rbracket", 0xDD},     {"backslash", 0xDC},   {"semicolon", 0xBA},    {"quote", 0xDE},
    {"apostrophe", 0xDE},   {"grave", 0xC0},       {"backtick", 0xC0},     {"comma", 0xBC},
    {"period", 0xBE},       {"dot", 0xBE},         {"slash", 0xBF},        {"oem102", 0xE2},
    {"capslock", 0x14},     {"printscreen", 0x2C}, {"scrolllock", 0x91},   {"pause", 0x13},
    {"insert", 0x2D},       {"ins", 0x2D},         {"home", 0x24},         {"pageup", 0x21},
    {"pgup", 0x21},         {"delete", 0x2E},      {"del", 0x2E},          {"end", 0x23},
    {"pagedown", 0x22},     {"pgdn", 0x22},        {"right", 0x27},        {"left", 0x25},
    {"down", 0x28},         {"up", 0x26},          {"numlock", 0x90},      {"kpdivide", 0x6F},
    {"kpmultiply", 0x6A},   {"kpminus", 0x6D},     {"kpplus", 0x6B},       {"kpenter", 0x6C},
    {"kpdecimal", 0x6E},
};

// Letters, digits, F-keys and keypad digits follow patterns; their names are kept here so that every
// entry is a view into static storage.
constexpr std::array<const char*, 26> kLetters = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
                                                  "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z"};
constexpr std::array<const char*, 10> kDigits = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::array<const char*, 24> kFKeys = {"f1",  "f2",  "f3",  "f4",  "f5",  "f6",  "f7",  "f8",
                                                "f9",  "f10", "f11", "f12", "f13", "f14", "f15", "f16",
                                                "f17", "f18", "f19", "f20", "f21", "f22", "f23", "f24"};
constexpr std::array<const char*, 10> kKeypadDigits = {"kp0", "kp1", "kp2", "kp3", "kp4",
                                                       "kp5", "kp6", "kp7", "kp8", "kp9"};

std::vector<KeyNameEntry> BuildTable() {
    std::vector<KeyNameEntry> table;
    for (size_t i = 0; i < kLetters.size(); ++i) table.push_back({kLetters[i], 0x41 + static_cast<int>(i)});
    for (size_t i = 0; i < kDigits.size(); ++i) table.push_back({kDigits[i], 0x30 + static_cast<int>(i)});
    for (size_t i = 0; i < kFKeys.size(); ++i) table.push_back({kFKeys[i], 0x70 + static_cast<int>(i)});
    for (size_t i = 0; i < kKeypadDigits.size(); ++i)
        table.push_back({kKeypadDigits[i], 0x60 + static_cast<int>(i)});
    for (const KeyNameEntry& e : kFixedNames) table.push_back(e);
    return table;
}

const std::vector<KeyNameEntry>& Table() {
    static const std::vector<KeyNameEntry> table = BuildTable();
    return table;
}

std::string Lower(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

}  // namespace

std::span<const KeyNameEntry> KeyNames() {
    return Table();
}

int VirtualKeyFromName(std::string_view name) {
    const std::string lower = Lower(name);
    for (const KeyNameEntry& e : Table()) {
        if (e.name == lower) return e.virtualKey;
    }
    return 0;
}

std::string_view NameOfVirtualKey(int virtualKey) {
    for (const KeyNameEntry& e : Table()) {
        if (e.virtualKey == virtualKey) return e.name;
    }
    return {};
}

int ModifierBitFromName(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower == "ctrl" || lower == "control") return kModCtrl;
    if (lower == "shift") return kModShift;
    if (lower == "alt") return kModAlt;
    if (lower == "win") return kModWin;
    if (lower == "rctrl") return kModRightCtrl;
    if (lower == "rshift") return kModRightShift;
    if (lower == "ralt") return kModRightAlt;
    return 0;
}

bool ParseKeyCombination(std::string_view text, KeyCombination* out, std::string* message) {
    auto fail = [message](std::string why) {
        if (message != nullptr) *message = std::move(why);
        return false;
    };
    KeyCombination combo;
    bool any = false;
    std::string_view rest = text;
    while (true) {
        const size_t plus = rest.find('+');
        const std::string_view part = Trim(rest.substr(0, plus));
        if (part.empty()) return fail("\"" + std::string(text) + "\" has an empty part; write a '+' key as \"plus\"");
        int bit = ModifierBitFromName(part);
        // A Windows key before another part is a modifier of it ("rwin+e"); last, it is the key itself.
        if (bit == 0 && plus != std::string_view::npos) {
            const int key = VirtualKeyFromName(part);
            if (key == 0x5B) bit = kModWin;
            if (key == 0x5C) bit = kModRightWin;
        }
        if (bit != 0) {
            if (combo.modifierBits & bit) return fail("modifier \"" + std::string(part) + "\" is given twice");
            combo.modifierBits |= bit;
        } else if (const int key = VirtualKeyFromName(part)) {
            if (combo.virtualKey != 0) return fail("\"" + std::string(text) + "\" names more than one key");
            combo.virtualKey = key;
        } else {
            return fail("unknown key name \"" + std::string(part) + "\"");
        }
        any = true;
        if (plus == std::string_view::npos) break;
        rest = rest.substr(plus + 1);
    }
    if (!any) return fail("no key given");
    if (out != nullptr) *out = combo;
    return true;
}

}  // namespace quorvel
