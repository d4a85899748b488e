#include "toolkit/KeyTranslation.h"

#include "platform/KeyNames.h"

namespace quorvel {

namespace {

constexpr int kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12, kVkF10 = 0x79;

struct Entry {
    quint32 code;  // keysym, keycode or Qt key, by table
    int vk;
    int make;
    bool extended;
    KeySide side;
    bool e1;
};
constexpr KeySide N = KeySide::None, L = KeySide::Left, R = KeySide::Right;

// Keysyms that name one key whatever the layout.
constexpr Entry kKeysyms[] = {
    {0xff08, 0x08, 0x0E, false, N, false},  // BackSpace
    {0xff09, 0x09, 0x0F, false, N, false},  // Tab
    {0xfe20, 0x09, 0x0F, false, N, false},  // ISO_Left_Tab (Shift+Tab)
    {0xff0d, 0x0D, 0x1C, false, N, false},  // Return
    {0xff13, 0x13, 0x45, false, N, true},   // Pause
    {0xff6b, 0x03, 0x46, true, N, false},   // Break (Ctrl+Pause)
    {0xff14, 0x91, 0x46, false, N, false},  // Scroll_Lock
    {0xff15, 0x2C, 0x54, false, N, false},  // Sys_Req (Alt+Print)
    {0xff61, 0x2C, 0x37, true, N, false},   // Print
    {0xff1b, 0x1B, 0x01, false, N, false},  // Escape
    {0x0020, 0x20, 0x39, false, N, false},  // space
    {0xff50, 0x24, 0x47, true, N, false},   // Home
    {0xff51, 0x25, 0x4B, true, N, false},   // Left
    {0xff52, 0x26, 0x48, true, N, false},   // Up
    {0xff53, 0x27, 0x4D, true, N, false},   // Right
    {0xff54, 0x28, 0x50, true, N, false},   // Down
    {0xff55, 0x21, 0x49, true, N, false},   // Prior
    {0xff56, 0x22, 0x51, true, N, false},   // Next
    {0xff57, 0x23, 0x4F, true, N, false},   // End
    {0xff63, 0x2D, 0x52, true, N, false},   // Insert
    {0xffff, 0x2E, 0x53, true, N, false},   // Delete
    {0xff67, 0x5D, 0x5D, true, N, false},   // Menu
    {0xff7f, 0x90, 0x45, true, N, false},   // Num_Lock
    {0xffe5, 0x14, 0x3A, false, N, false},  // Caps_Lock
    // Keypad with Num Lock on.
    {0xffb0, 0x60, 0x52, false, N, false},
    {0xffb1, 0x61, 0x4F, false, N, false},
    {0xffb2, 0x62, 0x50, false, N, false},
    {0xffb3, 0x63, 0x51, false, N, false},
    {0xffb4, 0x64, 0x4B, false, N, false},
    {0xffb5, 0x65, 0x4C, false, N, false},
    {0xffb6, 0x66, 0x4D, false, N, false},
    {0xffb7, 0x67, 0x47, false, N, false},
    {0xffb8, 0x68, 0x48, false, N, false},
    {0xffb9, 0x69, 0x49, false, N, false},
    {0xffae, 0x6E, 0x53, false, N, false},  // KP_Decimal
    {0xffac, 0x6E, 0x53, false, N, false},  // KP_Separator: the same key in comma locales
    // Keypad keys Num Lock does not change.
    {0xffaa, 0x6A, 0x37, false, N, false},  // KP_Multiply
    {0xffab, 0x6B, 0x4E, false, N, false},  // KP_Add
    {0xffad, 0x6D, 0x4A, false, N, false},  // KP_Subtract
    {0xffaf, 0x6F, 0x35, true, N, false},   // KP_Divide
    {0xff8d, 0x0D, 0x1C, true, N, false},   // KP_Enter
    // Keypad with Num Lock off: navigation keys without the E0 prefix, as the keyboard sends them.
    {0xff95, 0x24, 0x47, false, N, false},  // KP_Home
    {0xff96, 0x25, 0x4B, false, N, false},  // KP_Left
    {0xff97, 0x26, 0x48, false, N, false},  // KP_Up
    {0xff98, 0x27, 0x4D, false, N, false},  // KP_Right
    {0xff99, 0x28, 0x50, false, N, false},  // KP_Down
    {0xff9a, 0x21, 0x49, false, N, false},  // KP_Prior
    {0xff9b, 0x22, 0x51, false, N, false},  // KP_Next
    {0xff9c, 0x23, 0x4F, false, N, false},  // KP_End
    {0xff9d, 0x0C, 0x4C, false, N, false},  // KP_Begin
    {0xff9e, 0x2D, 0x52, false, N, false},  // KP_Insert
    {0xff9f, 0x2E, 0x53, false, N, false},  // KP_Delete
    // Modifiers, with their side.
    {0xffe1, kVkShift, 0x2A, false, L, false},    // Shift_L
    {0xffe2, kVkShift, 0x36, false, R, false},    // Shift_R
    {0xffe3, kVkControl, 0x1D, false, L, false},  // Control_L
    {0xffe4, kVkControl, 0x1D, true, R, false},   // Control_R
    {0xffe9, kVkMenu, 0x38, false, L, false},     // Alt_L
    {0xffea, kVkMenu, 0x38, true, R, false},      // Alt_R
    {0xfe03, kVkMenu, 0x38, true, R, false},      // ISO_Level3_Shift (AltGr)
    {0xffeb, 0x5B, 0x5B, true, L, false},         // Super_L
    {0xffe7, 0x5B, 0x5B, true, L, false},         // Meta_L
    {0xffec, 0x5C, 0x5C, true, R, false},         // Super_R
    {0xffe8, 0x5C, 0x5C, true, R, false},         // Meta_R
};

// Physical keys of a PC keyboard by X keycode (evdev code + 8), as a US layout names them.
constexpr Entry kKeycodes[] = {
    {9, 0x1B, 0x01, false, N, false},
    {10, 0x31, 0x02, false, N, false},
    {11, 0x32, 0x03, false, N, false},
    {12, 0x33, 0x04, false, N, false},
    {13, 0x34, 0x05, false, N, false},
    {14, 0x35, 0x06, false, N, false},
    {15, 0x36, 0x07, false, N, false},
    {16, 0x37, 0x08, false, N, false},
    {17, 0x38, 0x09, false, N, false},
    {18, 0x39, 0x0A, false, N, false},
    {19, 0x30, 0x0B, false, N, false},
    {20, 0xBD, 0x0C, false, N, false},
    {21, 0xBB, 0x0D, false, N, false},
    {22, 0x08, 0x0E, false, N, false},
    {23, 0x09, 0x0F, false, N, false},
    {24, 0x51, 0x10, false, N, false},
    {25, 0x57, 0x11, false, N, false},
    {26, 0x45, 0x12, false, N, false},
    {27, 0x52, 0x13, false, N, false},
    {28, 0x54, 0x14, false, N, false},
    {29, 0x59, 0x15, false, N, false},
    {30, 0x55, 0x16, false, N, false},
    {31, 0x49, 0x17, false, N, false},
    {32, 0x4F, 0x18, false, N, false},
    {33, 0x50, 0x19, false, N, false},
    {34, 0xDB, 0x1A, false, N, false},
    {35, 0xDD, 0x1B, false, N, false},
    {36, 0x0D, 0x1C, false, N, false},
    {37, kVkControl, 0x1D, false, L, false},
    {38, 0x41, 0x1E, false, N, false},
    {39, 0x53, 0x1F, false, N, false},
    {40, 0x44, 0x20, false, N, false},
    {41, 0x46, 0x21, false, N, false},
    {42, 0x47, 0x22, false, N, false},
    {43, 0x48, 0x23, false, N, false},
    {44, 0x4A, 0x24, false, N, false},
    {45, 0x4B, 0x25, false, N, false},
    {46, 0x4C, 0x26, false, N, false},
    {47, 0xBA, 0x27, false, N, false},
    {48, 0xDE, 0x28, false, N, false},
    {49, 0xC0, 0x29, false, N, false},
    {50, kVkShift, 0x2A, false, L, false},
    {51, 0xDC, 0x2B, false, N, false},
    {52, 0x5A, 0x2C, false, N, false},
    {53, 0x58, 0x2D, false, N, false},
    {54, 0x43, 0x2E, false, N, false},
    {55, 0x56, 0x2F, false, N, false},
    {56, 0x42, 0x30, false, N, false},
    {57, 0x4E, 0x31, false, N, false},
    {58, 0x4D, 0x32, false, N, false},
    {59, 0xBC, 0x33, false, N, false},
    {60, 0xBE, 0x34, false, N, false},
    {61, 0xBF, 0x35, false, N, false},
    {62, kVkShift, 0x36, false, R, false},
    {63, 0x6A, 0x37, false, N, false},
    {64, kVkMenu, 0x38, false, L, false},
    {65, 0x20, 0x39, false, N, false},
    {66, 0x14, 0x3A, false, N, false},
    {67, 0x70, 0x3B, false, N, false},
    {68, 0x71, 0x3C, false, N, false},
    {69, 0x72, 0x3D, false, N, false},
    {70, 0x73, 0x3E, false, N, false},
    {71, 0x74, 0x3F, false, N, false},
    {72, 0x75, 0x40, false, N, false},
    {73, 0x76, 0x41, false, N, false},
    {74, 0x77, 0x42, false, N, false},
    {75, 0x78, 0x43, false, N, false},
    {76, 0x79, 0x44, false, N, false},
    {77, 0x90, 0x45, true, N, false},
    {78, 0x91, 0x46, false, N, false},
    {79, 0x67, 0x47, false, N, false},
    {80, 0x68, 0x48, false, N, false},
    {81, 0x69, 0x49, false, N, false},
    {82, 0x6D, 0x4A, false, N, false},
    {83, 0x64, 0x4B, false, N, false},
    {84, 0x65, 0x4C, false, N, false},
    {85, 0x66, 0x4D, false, N, false},
    {86, 0x6B, 0x4E, false, N, false},
    {87, 0x61, 0x4F, false, N, false},
    {88, 0x62, 0x50, false, N, false},
    {89, 0x63, 0x51, false, N, false},
    {90, 0x60, 0x52, false, N, false},
    {91, 0x6E, 0x53, false, N, false},
    {94, 0xE2, 0x56, false, N, false},
    {95, 0x7A, 0x57, false, N, false},
    {96, 0x7B, 0x58, false, N, false},
    {104, 0x0D, 0x1C, true, N, false},
    {105, kVkControl, 0x1D, true, R, false},
    {106, 0x6F, 0x35, true, N, false},
    {107, 0x2C, 0x37, true, N, false},
    {108, kVkMenu, 0x38, true, R, false},
    {110, 0x24, 0x47, true, N, false},
    {111, 0x26, 0x48, true, N, false},
    {112, 0x21, 0x49, true, N, false},
    {113, 0x25, 0x4B, true, N, false},
    {114, 0x27, 0x4D, true, N, false},
    {115, 0x23, 0x4F, true, N, false},
    {116, 0x28, 0x50, true, N, false},
    {117, 0x22, 0x51, true, N, false},
    {118, 0x2D, 0x52, true, N, false},
    {119, 0x2E, 0x53, true, N, false},
    {127, 0x13, 0x45, false, N, true},
    {132, 0xFF, 0x7D, false, N, false},
    {133, 0x5B, 0x5B, true, L, false},
    {134, 0x5C, 0x5C, true, R, false},
    {135, 0x5D, 0x5D, true, N, false},
    // F13-F24: the stock X keymaps call them XF86Tools, XF86Launch5 ... so only the keycode knows them.
    {191, 0x7C, 0x64, false, N, false},
    {192, 0x7D, 0x65, false, N, false},
    {193, 0x7E, 0x66, false, N, false},
    {194, 0x7F, 0x67, false, N, false},
    {195, 0x80, 0x68, false, N, false},
    {196, 0x81, 0x69, false, N, false},
    {197, 0x82, 0x6A, false, N, false},
    {198, 0x83, 0x6B, false, N, false},
    {199, 0x84, 0x6C, false, N, false},
    {200, 0x85, 0x6D, false, N, false},
    {201, 0x86, 0x6E, false, N, false},
    {202, 0x87, 0x76, false, N, false},
};

// Qt keys, for platforms that give no native codes. Sides are unknown there: left is assumed.
constexpr Entry kQtKeys[] = {
    {Qt::Key_Escape, 0x1B, 0x01, false, N, false},
    {Qt::Key_Tab, 0x09, 0x0F, false, N, false},
    {Qt::Key_Backtab, 0x09, 0x0F, false, N, false},
    {Qt::Key_Backspace, 0x08, 0x0E, false, N, false},
    {Qt::Key_Return, 0x0D, 0x1C, false, N, false},
    {Qt::Key_Enter, 0x0D, 0x1C, true, N, false},
    {Qt::Key_Insert, 0x2D, 0x52, true, N, false},
    {Qt::Key_Delete, 0x2E, 0x53, true, N, false},
    {Qt::Key_Pause, 0x13, 0x45, false, N, true},
    {Qt::Key_Print, 0x2C, 0x37, true, N, false},
    {Qt::Key_SysReq, 0x2C, 0x54, false, N, false},
    {Qt::Key_Home, 0x24, 0x47, true, N, false},
    {Qt::Key_End, 0x23, 0x4F, true, N, false},
    {Qt::Key_Left, 0x25, 0x4B, true, N, false},
    {Qt::Key_Up, 0x26, 0x48, true, N, false},
    {Qt::Key_Right, 0x27, 0x4D, true, N, false},
    {Qt::Key_Down, 0x28, 0x50, true, N, false},
    {Qt::Key_PageUp, 0x21, 0x49, true, N, false},
    {Qt::Key_PageDown, 0x22, 0x51, true, N, false},
    {Qt::Key_Shift, kVkShift, 0x2A, false, L, false},
    {Qt::Key_Control, kVkControl, 0x1D, false, L, false},
    {Qt::Key_Meta, 0x5B, 0x5B, true, L, false},
    {Qt::Key_Alt, kVkMenu, 0x38, false, L, false},
    {Qt::Key_AltGr, kVkMenu, 0x38, true, R, false},
    {Qt::Key_CapsLock, 0x14, 0x3A, false, N, false},
    {Qt::Key_NumLock, 0x90, 0x45, true, N, false},
    {Qt::Key_ScrollLock, 0x91, 0x46, false, N, false},
    {Qt::Key_Menu, 0x5D, 0x5D, true, N, false},
    {Qt::Key_Space, 0x20, 0x39, false, N, false},
    {Qt::Key_Minus, 0xBD, 0x0C, false, N, false},
    {Qt::Key_Equal, 0xBB, 0x0D, false, N, false},
    {Qt::Key_BracketLeft, 0xDB, 0x1A, false, N, false},
    {Qt::Key_BracketRight, 0xDD, 0x1B, false, N, false},
    {Qt::Key_Backslash, 0xDC, 0x2B, false, N, false},
    {Qt::Key_Semicolon, 0xBA, 0x27, false, N, false},
    {Qt::Key_Apostrophe, 0xDE, 0x28, false, N, false},
    {Qt::Key_QuoteLeft, 0xC0, 0x29, false, N, false},
    {Qt::Key_Comma, 0xBC, 0x33, false, N, false},
    {Qt::Key_Period, 0xBE, 0x34, false, N, false},
    {Qt::Key_Slash, 0xBF, 0x35, false, N, false},
    {Qt::Key_Asterisk, 0x38, 0x09, false, N, false},
    {Qt::Key_Plus, 0xBB, 0x0D, false, N, false},
    {Qt::Key_Super_L, 0x5B, 0x5B, true, L, false},
    {Qt::Key_Super_R, 0x5C, 0x5C, true, R, false},
};

// The keypad's own keys when Qt marks the event with the keypad modifier.
constexpr Entry kQtKeypad[] = {
    {Qt::Key_0, 0x60, 0x52, false, N, false},        {Qt::Key_1, 0x61, 0x4F, false, N, false},
    {Qt::Key_2, 0x62, 0x50, false, N, false},        {Qt::Key_3, 0x63, 0x51, false, N, false},
    {Qt::Key_4, 0x64, 0x4B, false, N, false},        {Qt::Key_5, 0x65, 0x4C, false, N, false},
    {Qt::Key_6, 0x66, 0x4D, false, N, false},        {Qt::Key_7, 0x67, 0x47, false, N, false},
    {Qt::Key_8, 0x68, 0x48, false, N, false},        {Qt::Key_9, 0x69, 0x49, false, N, false},
    {Qt::Key_Period, 0x6E, 0x53, false, N, false},   {Qt::Key_Comma, 0x6E, 0x53, false, N, false},
    {Qt::Key_Asterisk, 0x6A, 0x37, false, N, false}, {Qt::Key_Plus, 0x6B, 0x4E, false, N, false},
    {Qt::Key_Minus, 0x6D, 0x4A, false, N, false},    {Qt::Key_Slash, 0x6F, 0x35, true, N, false},
    {Qt::Key_Enter, 0x0D, 0x1C, true, N, false},     {Qt::Key_Home, 0x24, 0x47, false, N, false},
    {Qt::Key_End, 0x23, 0x4F, false, N, false},      {Qt::Key_Left, 0x25, 0x4B, false, N, false},
    {Qt::Key_Up, 0x26, 0x48, false, N, false},       {Qt::Key_Right, 0x27, 0x4D, false, N, false},
    {Qt::Key_Down, 0x28, 0x50, false, N, false},     {Qt::Key_PageUp, 0x21, 0x49, false, N, false},
    {Qt::Key_PageDown, 0x22, 0x51, false, N, false}, {Qt::Key_Clear, 0x0C, 0x4C, false, N, false},
    {Qt::Key_Insert, 0x2D, 0x52, false, N, false},   {Qt::Key_Delete, 0x2E, 0x53, false, N, false},
};

template <std::size_t Size>
const Entry* Find(const Entry (&table)[Size], quint32 code) {
    for (const Entry& entry : table) {
        if (entry.code == code) return &entry;
    }
    return nullptr;
}

WindowsKey FromEntry(const Entry& e) {
    return {e.vk, e.make, e.extended, e.e1, e.side};
}

bool IsLetterOrDigitVk(int vk) {
    return (vk >= 0x41 && vk <= 0x5A) || (vk >= 0x30 && vk <= 0x39);
}

// A letter or digit of the user's layout, from its keysym; 0 otherwise.
int LatinVirtualKey(quint32 keysym) {
    if (keysym >= 'a' && keysym <= 'z') return static_cast<int>(keysym - 'a' + 0x41);
    if (keysym >= 'A' && keysym <= 'Z') return static_cast<int>(keysym);
    if (keysym >= '0' && keysym <= '9') return static_cast<int>(keysym);
    return 0;
}

// F1-F24 in both the keysym and the Qt numbering, with their make codes.
int FunctionMake(int index) {  // index 0 = F1
    if (index < 10) return 0x3B + index;
    if (index == 10) return 0x57;
    if (index == 11) return 0x58;
    if (index < 23) return 0x64 + (index - 12);
    return 0x76;
}

WindowsKey FromQtKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (const Entry* e = Find(kQtKeypad, static_cast<quint32>(qtKey))) return FromEntry(*e);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        const int index = qtKey - Qt::Key_F1;
        return {0x70 + index, FunctionMake(index), false, false, KeySide::None};
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return {qtKey, VirtualKeyToScanCode(qtKey), false, false, KeySide::None};
    }
    if (const Entry* e = Find(kQtKeys, static_cast<quint32>(qtKey))) return FromEntry(*e);
    return {};
}

}  // namespace

int WindowsKey::SidedVirtualKey() const {
    if (side == KeySide::None) return virtualKey;
    const int right = side == KeySide::Right ? 1 : 0;
    switch (virtualKey) {
        case kVkShift:
            return 0xA0 + right;
        case kVkControl:
            return 0xA2 + right;
        case kVkMenu:
            return 0xA4 + right;
        default:
            return virtualKey;
    }
}

WindowsKey TranslateKey(const NativeKey& key) {
    const bool native = key.keycode != 0 || key.keysym != 0;
    if (!native) return FromQtKey(key.qtKey, key.modifiers);

    const Entry* physical = key.keycode ? Find(kKeycodes, key.keycode) : nullptr;
    if (key.keysym >= 0xffbe && key.keysym <= 0xffd5) {  // F1-F24
        const int index = static_cast<int>(key.keysym - 0xffbe);
        return {0x70 + index, FunctionMake(index), false, false, KeySide::None};
    }
    if (const Entry* e = Find(kKeysyms, key.keysym)) return FromEntry(*e);
    if (const int vk = LatinVirtualKey(key.keysym)) {
        // The layout names the letter; the keyboard says where it sits.
        const bool onCharacterKey = physical && IsLetterOrDigitVk(physical->vk);
        return {vk, onCharacterKey ? physical->make : VirtualKeyToScanCode(vk), false, false, KeySide::None};
    }
    if (physical) return FromEntry(*physical);
    return FromQtKey(key.qtKey, key.modifiers);
}

NativeKey NativeKeyOf(const QKeyEvent& event) {
    return {event.key(), event.nativeScanCode(), event.nativeVirtualKey(), event.modifiers()};
}

std::optional<RawKeyEvent> ToRawKeyEvent(const WindowsKey& key, bool pressed,
                                         Qt::KeyboardModifiers modifiers) {
    if (!key.IsValid()) return std::nullopt;
    RawKeyEvent raw;
    raw.source = RawSource::Keyboard;
    const bool system =
        (modifiers & Qt::AltModifier) || key.virtualKey == kVkMenu || key.virtualKey == kVkF10;
    if (pressed) {
        raw.message = system ? KeyMessage::SysKeyDown : KeyMessage::KeyDown;
    } else {
        raw.message = system ? KeyMessage::SysKeyUp : KeyMessage::KeyUp;
    }
    raw.virtualKey = key.virtualKey;
    raw.makeCode = key.makeCode;
    raw.flags = (pressed ? 0 : kRawKeyBreak) | (key.extended ? kRawKeyE0 : 0) | (key.e1 ? kRawKeyE1 : 0);
    return raw;
}

std::optional<RawKeyEvent> ToRawKeyEvent(const QKeyEvent& event) {
    const bool pressed = event.type() == QEvent::KeyPress;
    if (!pressed && event.type() != QEvent::KeyRelease) return std::nullopt;
    return ToRawKeyEvent(TranslateKey(NativeKeyOf(event)), pressed, event.modifiers());
}

int HeldModifierBits(int tracked, Qt::KeyboardModifiers modifiers) {
    struct Modifier {
        Qt::KeyboardModifier qt;
        int left, right;
    };
    // Qt's Meta is the Windows key on X11 and Wayland.
    static constexpr Modifier kModifiers[] = {{Qt::ControlModifier, 0x01, 0x10},
                                              {Qt::ShiftModifier, 0x02, 0x20},
                                              {Qt::AltModifier, 0x04, 0x40},
                                              {Qt::MetaModifier, 0x08, 0x80}};
    int bits = tracked;
    for (const Modifier& m : kModifiers) {
        if ((modifiers & m.qt) && (bits & (m.left | m.right)) == 0) bits |= m.left;
    }
    return bits;
}

}  // namespace quorvel
