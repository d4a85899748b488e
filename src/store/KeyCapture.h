#pragma once
// Turns raw keyboard input into the captured key the button page and the macro editor store: the
// virtual key with its modifier side resolved and keypad keys restored, and the key's name.
// Each capturing window owns one KeyCapture: it remembers which modifiers it saw go down.

#include <cstdint>
#include <functional>
#include <set>
#include <string>

namespace quorvel {

enum class KeyMessage { KeyDown, SysKeyDown, KeyUp, SysKeyUp, Other };
enum class RawSource { Keyboard, OtherHid, Mouse };

// Raw flag bits as the keyboard reports them.
inline constexpr int kRawKeyBreak = 0x01;
inline constexpr int kRawKeyE0 = 0x02;
inline constexpr int kRawKeyE1 = 0x04;

// One raw keyboard input, in Windows terms (a front end translates its toolkit's key events).
struct RawKeyEvent {
    RawSource source = RawSource::Keyboard;
    KeyMessage message = KeyMessage::KeyDown;
    int virtualKey = 0;  // generic for Shift/Ctrl/Alt (0x10-0x12), as raw input delivers them
    int makeCode = 0;    // scan code without the E0/E1 prefix
    int flags = 0;       // kRawKey* bits
};

enum CaptureKind : int { kCaptureNothing = 0, kCaptureKeyboard = 2, kCaptureOtherHid = 3 };

struct CapturedKey {
    int kind = kCaptureNothing;
    int up = 0;  // 0 pressed, 1 released
    int virtualKey = 0;
    std::string name;  // UTF-8
    // The modifiers held with the key (HeldModifiers after it), so a key typed with Ctrl reads as Ctrl+key.
    int modifiers = 0;
};

class KeyCapture {
public:
    // Whether a sided modifier key (0xA0-0xA5, 0x5B, 0x5C) is physically down at this moment.
    using KeyStateQuery = std::function<bool(int sidedVirtualKey)>;

    // Without a query, the physical state is followed from the events themselves.
    KeyCapture() = default;
    explicit KeyCapture(KeyStateQuery query) : query_(std::move(query)) {}

    CapturedKey CaptureKey(const RawKeyEvent& event);
    // Held-modifier bits, as the key-combination bits: 0x01 left Ctrl, 0x02 left Shift, 0x04 left Alt,
    // 0x08 left Win, 0x10 right Ctrl, 0x20 right Shift, 0x40 right Alt, 0x80 right Win.
    int HeldModifiers() const { return held_; }
    void Reset();

private:
    bool IsDown(int sidedKey) const;
    void TrackPhysical(const RawKeyEvent& event, bool down);
    int ResolveSide(int virtualKey, bool down);

    KeyStateQuery query_;
    std::set<int> physicalDown_;
    int held_ = 0;
};

// The name of a virtual key as the key capture gives it (fixed names, keypad Enter, yen, layout names).
std::string CapturedKeyName(int virtualKey);

}  // namespace quorvel
