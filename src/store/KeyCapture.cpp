#include "store/KeyCapture.h"

#include "platform/KeyNames.h"

namespace quorvel {

namespace {

constexpr int kVkShift = 0x10, kVkCtrl = 0x11, kVkAlt = 0x12;
constexpr int kVkLShift = 0xA0, kVkRShift = 0xA1, kVkLCtrl = 0xA2, kVkRCtrl = 0xA3, kVkLAlt = 0xA4,
              kVkRAlt = 0xA5, kVkLWin = 0x5B, kVkRWin = 0x5C;
constexpr int kVkNumEnter = 0x6C, kVkYen = 0x89;

// A generic modifier with its two sides and their held bits.
struct Sides {
    int generic, left, right, leftBit, rightBit;
};
constexpr Sides kSides[] = {
    {kVkShift, kVkLShift, kVkRShift, 0x02, 0x20},
    {kVkCtrl, kVkLCtrl, kVkRCtrl, 0x01, 0x10},
    {kVkAlt, kVkLAlt, kVkRAlt, 0x04, 0x40},
};
// The Windows keys arrive sided (0x5B, 0x5C), each with its own bit.
constexpr int kLeftWinBit = 0x08, kRightWinBit = 0x80;

int SidedBit(int vk) {
    if (vk == kVkLWin) return kLeftWinBit;
    if (vk == kVkRWin) return kRightWinBit;
    for (const Sides& s : kSides) {
        if (vk == s.left) return s.leftBit;
        if (vk == s.right) return s.rightBit;
    }
    return 0;
}

// Keypad keys with Num Lock off arrive as navigation keys without the E0 prefix.
int KeypadKey(int vk) {
    switch (vk) {
        case 0x0C:
            return 0x65;
        case 0x21:
            return 0x69;
        case 0x22:
            return 0x63;
        case 0x23:
            return 0x61;
        case 0x24:
            return 0x67;
        case 0x25:
            return 0x64;
        case 0x26:
            return 0x68;
        case 0x27:
            return 0x66;
        case 0x28:
            return 0x62;
        case 0x2D:
            return 0x60;
        case 0x2E:
            return 0x6E;
        default:
            return vk;
    }
}

bool IsExtendedNavigation(int vk) {
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E;
}

}  // namespace

std::string CapturedKeyName(int vk) {
    switch (vk) {
        case 0x13:
            return "Pause";
        case 0x2C:
            return "Print Screen";
        case 0x5B:
            return "Windows";
        case 0x5C:
            return "RWindows";
        case 0x5D:
            return "Application";
        case 0x90:
            return "Num Lock";
        case 0xA0:
            return "Shift";
        case 0xA1:
            return "RShift";
        case 0xA2:
            return "Ctrl";
        case 0xA3:
            return "RCtrl";
        case 0xA4:
            return "Alt";
        case 0xA5:
            return "RAlt";
        case kVkNumEnter:
            return "Num Enter";
        case kVkYen:
            return "\xEF\xBF\xA5";  // U+FFE5 fullwidth yen sign
        default:
            return ScanCodeKeyName(VirtualKeyToScanCode(vk), IsExtendedNavigation(vk));
    }
}

void KeyCapture::Reset() {
    physicalDown_.clear();
    held_ = 0;
}

bool KeyCapture::IsDown(int sidedKey) const {
    if (query_) return query_(sidedKey);
    return physicalDown_.count(sidedKey) != 0;
}

void KeyCapture::TrackPhysical(const RawKeyEvent& event, bool down) {
    int key = event.virtualKey;
    // The make code and the E0 prefix tell the physical side of a generic modifier.
    if (key == kVkShift) key = event.makeCode == 0x36 ? kVkRShift : kVkLShift;
    if (key == kVkCtrl) key = (event.flags & kRawKeyE0) ? kVkRCtrl : kVkLCtrl;
    if (key == kVkAlt) key = (event.flags & kRawKeyE0) ? kVkRAlt : kVkLAlt;
    if (down) {
        physicalDown_.insert(key);
    } else {
        physicalDown_.erase(key);
    }
}

int KeyCapture::ResolveSide(int vk, bool down) {
    for (const Sides& s : kSides) {
        if (vk != s.generic) continue;
        if (down) {
            if (IsDown(s.left)) {
                held_ |= s.leftBit;
                return s.left;
            }
            if (IsDown(s.right)) {
                held_ |= s.rightBit;
                return s.right;
            }
            return vk;
        }
        if ((held_ & s.leftBit) && !IsDown(s.left)) {
            held_ &= ~s.leftBit;
            return s.left;
        }
        held_ &= ~s.rightBit;
        return s.right;
    }
    if (int bit = SidedBit(vk)) {
        if (down) {
            held_ |= bit;
        } else {
            held_ &= ~bit;
        }
    }
    return vk;
}

CapturedKey KeyCapture::CaptureKey(const RawKeyEvent& event) {
    CapturedKey key;
    if (event.source == RawSource::OtherHid) {
        key.kind = kCaptureOtherHid;
        return key;
    }
    if (event.source != RawSource::Keyboard) return key;
    bool down;
    switch (event.message) {
        case KeyMessage::KeyDown:
        case KeyMessage::SysKeyDown:
            down = true;
            break;
        case KeyMessage::KeyUp:
        case KeyMessage::SysKeyUp:
            down = false;
            break;
        default:
            return key;
    }
    if (!query_) TrackPhysical(event, down);
    int vk = ResolveSide(event.virtualKey, down);
    const bool prefixed = event.flags > 1;  // E0 or E1 prefix
    if (!prefixed) vk = KeypadKey(vk);
    if (vk == 0x0D && prefixed) vk = kVkNumEnter;
    if (vk == 0xFF && event.makeCode == 0x7D) vk = kVkYen;

    key.kind = kCaptureKeyboard;
    key.up = down ? 0 : 1;
    key.virtualKey = vk;
    key.name = CapturedKeyName(vk);
    key.modifiers = held_;
    return key;
}

}  // namespace quorvel
