#pragma once
// Key events of the window system in the terms key capture works in: the Windows virtual key, the make
// code of scan code set 1 with its E0/E1 prefix, and the side of a modifier. On X11 and Wayland the event
// carries the keyboard's keycode (evdev code + 8) and the keysym of the current layout; the keysym decides
// the key where it names one unambiguously (function keys F1-F24, navigation, the keypad in either Num
// Lock state, modifiers with their side, letters and digits of the user's layout), the keycode decides the
// physical key otherwise (F13-F24 that the stock keymaps label XF86Tools and the like, punctuation, keys of
// non-Latin layouts). Without native codes (the offscreen platform) the Qt key and its keypad flag stand in.

#include <QKeyEvent>
#include <optional>

#include "store/KeyCapture.h"

namespace quorvel {

// One key event as the platform delivered it.
struct NativeKey {
    int qtKey = 0;        // Qt::Key
    quint32 keycode = 0;  // QKeyEvent::nativeScanCode(): X11/xkb keycode; 0 when the platform gives none
    quint32 keysym = 0;   // QKeyEvent::nativeVirtualKey(): X keysym; 0 when none
    Qt::KeyboardModifiers modifiers;
};

enum class KeySide { None, Left, Right };

struct WindowsKey {
    // Shift, Ctrl and Alt stay generic (0x10, 0x11, 0x12) as raw input delivers them; `side` and the make
    // code with its prefix tell left from right. The Windows keys are sided (0x5B, 0x5C).
    int virtualKey = 0;  // 0: the key has no Windows counterpart
    int makeCode = 0;
    bool extended = false;  // E0 prefix
    bool e1 = false;        // E1 prefix (Pause)
    KeySide side = KeySide::None;

    bool IsValid() const { return virtualKey != 0; }
    // 0xA0-0xA5 for a sided Shift, Ctrl or Alt; the virtual key otherwise.
    int SidedVirtualKey() const;
    friend bool operator==(const WindowsKey&, const WindowsKey&) = default;
};

WindowsKey TranslateKey(const NativeKey& key);
NativeKey NativeKeyOf(const QKeyEvent& event);

// The raw keyboard input for key capture: direction (Alt held, Alt itself and F10 give the system
// messages), virtual key, make code and prefix flags (and the break flag on release). Nothing for a key
// without a Windows counterpart.
std::optional<RawKeyEvent> ToRawKeyEvent(const WindowsKey& key, bool pressed,
                                         Qt::KeyboardModifiers modifiers);
std::optional<RawKeyEvent> ToRawKeyEvent(const QKeyEvent& event);

// The modifiers held with a key: the sided bits key capture followed (`tracked`, as
// KeyCapture::HeldModifiers), plus the left-hand bit of any modifier the window system says is held that
// capture did not see go down (it was pressed before capture started).
int HeldModifierBits(int tracked, Qt::KeyboardModifiers modifiers);

}  // namespace quorvel
