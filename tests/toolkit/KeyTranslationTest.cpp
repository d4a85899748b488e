#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <vector>

#include "ToolkitTestSupport.h"
#include "toolkit/KeyCaptureFilter.h"
#include "toolkit/KeyTranslation.h"

namespace quorvel {
namespace {

// One key event as Qt delivered it under Xvfb with the stock keymap (evdev rules, pc105, us), recorded
// with tests/toolkit/keyprobe/record-keys.sh: press, Qt key, keycode, keysym, modifiers.
struct Recorded {
    bool press;
    int qtKey;
    quint32 keycode;
    quint32 keysym;
    unsigned modifiers;
};

constexpr int E0 = 1, E1 = 2;
using S = KeySide;

// What the event must become: the Windows key, then what key capture makes of it.
struct Expected {
    int vk;
    int make;
    int prefix;  // E0 / E1
    KeySide side;
    int capturedVk;
    const char* name;
};

struct Case {
    const char* what;
    std::vector<Recorded> events;
    std::vector<Expected> expected;  // one per event
};

// Presses and releases of one key give the same key; this repeats an expectation for both.
std::vector<Expected> Twice(Expected e) {
    return {e, e};
}

const Expected kLShift{0x10, 0x2A, 0, S::Left, 0xA0, "Shift"};
const Expected kLCtrl{0x11, 0x1D, 0, S::Left, 0xA2, "Ctrl"};
const Expected kLAlt{0x12, 0x38, 0, S::Left, 0xA4, "Alt"};

const std::vector<Case>& RecordedCases() {
    static const std::vector<Case> cases = {
        {"F13 (the stock keymap calls it XF86Tools)",
         {{true, 0x010000f1, 191, 0x1008ff81, 0x00000000}, {false, 0x010000f1, 191, 0x1008ff81, 0x00000000}},
         Twice({0x7C, 0x64, 0, S::None, 0x7C, "F13"})},
        {"F14 (XF86Launch5)",
         {{true, 0x010000a7, 192, 0x1008ff45, 0x00000000}, {false, 0x010000a7, 192, 0x1008ff45, 0x00000000}},
         Twice({0x7D, 0x65, 0, S::None, 0x7D, "F14"})},
        {"F19 (no keysym in the stock keymap)",
         {{true, 0x00000000, 197, 0x0000, 0x00000000}, {false, 0x00000000, 197, 0x0000, 0x00000000}},
         Twice({0x82, 0x6A, 0, S::None, 0x82, "F19"})},
        {"F23 (XF86TouchpadOff)",
         {{true, 0x01000112, 201, 0x1008ffb1, 0x00000000}, {false, 0x01000112, 201, 0x1008ffb1, 0x00000000}},
         Twice({0x86, 0x6E, 0, S::None, 0x86, "F23"})},
        {"F24 (no keysym)",
         {{true, 0x00000000, 202, 0x0000, 0x00000000}, {false, 0x00000000, 202, 0x0000, 0x00000000}},
         Twice({0x87, 0x76, 0, S::None, 0x87, "F24"})},
        {"F13 typed by its keysym: xdotool lends it a spare keycode",
         {{true, 0x0100003c, 8, 0xffca, 0x00000000}, {false, 0x0100003c, 8, 0xffca, 0x00000000}},
         Twice({0x7C, 0x64, 0, S::None, 0x7C, "F13"})},
        {"F12",
         {{true, 0x0100003b, 96, 0xffc9, 0x00000000}, {false, 0x0100003b, 96, 0xffc9, 0x00000000}},
         Twice({0x7B, 0x58, 0, S::None, 0x7B, "F12"})},
        {"Enter",
         {{true, 0x01000004, 36, 0xff0d, 0x00000000}, {false, 0x01000004, 36, 0xff0d, 0x00000000}},
         Twice({0x0D, 0x1C, 0, S::None, 0x0D, "Enter"})},
        {"Escape",
         {{true, 0x01000000, 9, 0xff1b, 0x00000000}, {false, 0x01000000, 9, 0xff1b, 0x00000000}},
         Twice({0x1B, 0x01, 0, S::None, 0x1B, "Esc"})},
        {"Tab",
         {{true, 0x01000001, 23, 0xff09, 0x00000000}, {false, 0x01000001, 23, 0xff09, 0x00000000}},
         Twice({0x09, 0x0F, 0, S::None, 0x09, "Tab"})},
        {"Shift+Tab",
         {{true, 0x01000020, 50, 0xffe1, 0x02000000},
          {true, 0x01000002, 23, 0xfe20, 0x02000000},
          {false, 0x01000002, 23, 0xfe20, 0x02000000},
          {false, 0x01000020, 50, 0xffe1, 0x00000000}},
         {kLShift, {0x09, 0x0F, 0, S::None, 0x09, "Tab"}, {0x09, 0x0F, 0, S::None, 0x09, "Tab"}, kLShift}},
        {"Pause",
         {{true, 0x01000008, 127, 0xff13, 0x00000000}, {false, 0x01000008, 127, 0xff13, 0x00000000}},
         Twice({0x13, 0x45, E1, S::None, 0x13, "Pause"})},
        {"Print",
         {{true, 0x01000009, 107, 0xff61, 0x00000000}, {false, 0x01000009, 107, 0xff61, 0x00000000}},
         Twice({0x2C, 0x37, E0, S::None, 0x2C, "Print Screen"})},
        {"Alt+Print (Sys Req)",
         {{true, 0x01000023, 64, 0xffe9, 0x08000000},
          {true, 0x0100000a, 107, 0xff15, 0x08000000},
          {false, 0x0100000a, 107, 0xff15, 0x08000000},
          {false, 0x01000023, 64, 0xffe9, 0x00000000}},
         {kLAlt,
          {0x2C, 0x54, 0, S::None, 0x2C, "Print Screen"},
          {0x2C, 0x54, 0, S::None, 0x2C, "Print Screen"},
          kLAlt}},
        {"keypad 8, Num Lock off",
         {{true, 0x01000013, 80, 0xff97, 0x20000000}, {false, 0x01000013, 80, 0xff97, 0x20000000}},
         Twice({0x26, 0x48, 0, S::None, 0x68, "Num 8"})},
        {"keypad 5, Num Lock off",
         {{true, 0x0100000b, 84, 0xff9d, 0x20000000}, {false, 0x0100000b, 84, 0xff9d, 0x20000000}},
         Twice({0x0C, 0x4C, 0, S::None, 0x65, "Num 5"})},
        {"keypad ., Num Lock off",
         {{true, 0x01000007, 91, 0xff9f, 0x20000000}, {false, 0x01000007, 91, 0xff9f, 0x20000000}},
         Twice({0x2E, 0x53, 0, S::None, 0x6E, "Num Del"})},
        {"keypad Enter",
         {{true, 0x01000005, 104, 0xff8d, 0x20000000}, {false, 0x01000005, 104, 0xff8d, 0x20000000}},
         Twice({0x0D, 0x1C, E0, S::None, 0x6C, "Num Enter"})},
        {"keypad /",
         {{true, 0x0000002f, 106, 0xffaf, 0x20000000}, {false, 0x0000002f, 106, 0xffaf, 0x20000000}},
         Twice({0x6F, 0x35, E0, S::None, 0x6F, "/"})},
        {"keypad *",
         {{true, 0x0000002a, 63, 0xffaa, 0x20000000}, {false, 0x0000002a, 63, 0xffaa, 0x20000000}},
         Twice({0x6A, 0x37, 0, S::None, 0x6A, "Num *"})},
        {"Num Lock",
         {{true, 0x01000025, 77, 0xff7f, 0x00000000}, {false, 0x01000025, 77, 0xff7f, 0x00000000}},
         Twice({0x90, 0x45, E0, S::None, 0x90, "Num Lock"})},
        {"keypad 8, Num Lock on",
         {{true, 0x00000038, 80, 0xffb8, 0x20000000}, {false, 0x00000038, 80, 0xffb8, 0x20000000}},
         Twice({0x68, 0x48, 0, S::None, 0x68, "Num 8"})},
        {"keypad 0, Num Lock on",
         {{true, 0x00000030, 90, 0xffb0, 0x20000000}, {false, 0x00000030, 90, 0xffb0, 0x20000000}},
         Twice({0x60, 0x52, 0, S::None, 0x60, "Num 0"})},
        {"keypad ., Num Lock on",
         {{true, 0x0000002e, 91, 0xffae, 0x20000000}, {false, 0x0000002e, 91, 0xffae, 0x20000000}},
         Twice({0x6E, 0x53, 0, S::None, 0x6E, "Num Del"})},
        {"left Ctrl",
         {{true, 0x01000021, 37, 0xffe3, 0x04000000}, {false, 0x01000021, 37, 0xffe3, 0x00000000}},
         Twice(kLCtrl)},
        {"right Ctrl",
         {{true, 0x01000021, 105, 0xffe4, 0x04000000}, {false, 0x01000021, 105, 0xffe4, 0x00000000}},
         Twice({0x11, 0x1D, E0, S::Right, 0xA3, "RCtrl"})},
        {"left Shift",
         {{true, 0x01000020, 50, 0xffe1, 0x02000000}, {false, 0x01000020, 50, 0xffe1, 0x00000000}},
         Twice(kLShift)},
        {"right Shift",
         {{true, 0x01000020, 62, 0xffe2, 0x02000000}, {false, 0x01000020, 62, 0xffe2, 0x00000000}},
         Twice({0x10, 0x36, 0, S::Right, 0xA1, "RShift"})},
        {"left Shift held, right Shift pressed: the left one is down, so the press reads as Shift",
         {{true, 0x01000020, 50, 0xffe1, 0x02000000},
          {true, 0x01000020, 62, 0xffe2, 0x00000000},
          {false, 0x01000020, 62, 0xffe2, 0x00000000},
          {false, 0x01000020, 50, 0xffe1, 0x00000000}},
         {kLShift,
          {0x10, 0x36, 0, S::Right, 0xA0, "Shift"},
          {0x10, 0x36, 0, S::Right, 0xA1, "RShift"},
          kLShift}},
        {"left Alt",
         {{true, 0x01000023, 64, 0xffe9, 0x08000000}, {false, 0x01000023, 64, 0xffe9, 0x00000000}},
         Twice(kLAlt)},
        {"right Alt",
         {{true, 0x01000023, 108, 0xffea, 0x08000000}, {false, 0x01000023, 108, 0xffea, 0x00000000}},
         Twice({0x12, 0x38, E0, S::Right, 0xA5, "RAlt"})},
        {"left Win",
         {{true, 0x01000022, 133, 0xffeb, 0x10000000}, {false, 0x01000022, 133, 0xffeb, 0x00000000}},
         Twice({0x5B, 0x5B, E0, S::Left, 0x5B, "Windows"})},
        // Released, it is still the right key (it once read as the left one).
        {"right Win",
         {{true, 0x01000022, 134, 0xffec, 0x10000000}, {false, 0x01000022, 134, 0xffec, 0x00000000}},
         Twice({0x5C, 0x5C, E0, S::Right, 0x5C, "RWindows"})},
        {"Menu",
         {{true, 0x01000055, 135, 0xff67, 0x00000000}, {false, 0x01000055, 135, 0xff67, 0x00000000}},
         Twice({0x5D, 0x5D, E0, S::None, 0x5D, "Application"})},
        {"a",
         {{true, 0x00000041, 38, 0x0061, 0x00000000}, {false, 0x00000041, 38, 0x0061, 0x00000000}},
         Twice({0x41, 0x1E, 0, S::None, 0x41, "A"})},
        {"Shift+a",
         {{true, 0x01000020, 50, 0xffe1, 0x02000000},
          {true, 0x00000041, 38, 0x0041, 0x02000000},
          {false, 0x00000041, 38, 0x0041, 0x02000000},
          {false, 0x01000020, 50, 0xffe1, 0x00000000}},
         {kLShift, {0x41, 0x1E, 0, S::None, 0x41, "A"}, {0x41, 0x1E, 0, S::None, 0x41, "A"}, kLShift}},
        {"Ctrl+a",
         {{true, 0x01000021, 37, 0xffe3, 0x04000000},
          {true, 0x00000041, 38, 0x0061, 0x04000000},
          {false, 0x00000041, 38, 0x0061, 0x04000000},
          {false, 0x01000021, 37, 0xffe3, 0x00000000}},
         {kLCtrl, {0x41, 0x1E, 0, S::None, 0x41, "A"}, {0x41, 0x1E, 0, S::None, 0x41, "A"}, kLCtrl}},
        {"Shift+1: the keysym is '!', the key is 1",
         {{true, 0x01000020, 50, 0xffe1, 0x02000000},
          {true, 0x00000021, 10, 0x0021, 0x02000000},
          {false, 0x00000021, 10, 0x0021, 0x02000000},
          {false, 0x01000020, 50, 0xffe1, 0x00000000}},
         {kLShift, {0x31, 0x02, 0, S::None, 0x31, "1"}, {0x31, 0x02, 0, S::None, 0x31, "1"}, kLShift}},
        {"Up",
         {{true, 0x01000013, 111, 0xff52, 0x00000000}, {false, 0x01000013, 111, 0xff52, 0x00000000}},
         Twice({0x26, 0x48, E0, S::None, 0x26, "Up"})},
        {"Home",
         {{true, 0x01000010, 110, 0xff50, 0x00000000}, {false, 0x01000010, 110, 0xff50, 0x00000000}},
         Twice({0x24, 0x47, E0, S::None, 0x24, "Home"})},
        {"Delete",
         {{true, 0x01000007, 119, 0xffff, 0x00000000}, {false, 0x01000007, 119, 0xffff, 0x00000000}},
         Twice({0x2E, 0x53, E0, S::None, 0x2E, "Delete"})},
        {"Insert",
         {{true, 0x01000006, 118, 0xff63, 0x00000000}, {false, 0x01000006, 118, 0xff63, 0x00000000}},
         Twice({0x2D, 0x52, E0, S::None, 0x2D, "Insert"})},
        {"minus",
         {{true, 0x0000002d, 20, 0x002d, 0x00000000}, {false, 0x0000002d, 20, 0x002d, 0x00000000}},
         Twice({0xBD, 0x0C, 0, S::None, 0xBD, "-"})},
        {"space",
         {{true, 0x00000020, 65, 0x0020, 0x00000000}, {false, 0x00000020, 65, 0x0020, 0x00000000}},
         Twice({0x20, 0x39, 0, S::None, 0x20, "Space"})},
        {"Caps Lock",
         {{true, 0x01000024, 66, 0xffe5, 0x00000000}, {false, 0x01000024, 66, 0xffe5, 0x00000000}},
         Twice({0x14, 0x3A, 0, S::None, 0x14, "Caps Lock"})},
        {"German layout, Caps Lock on: Z on the US Y key names Z where the Y key sits",
         {{true, 0x0000005a, 29, 0x005a, 0x00000000}, {false, 0x0000005a, 29, 0x005a, 0x00000000}},
         Twice({0x5A, 0x15, 0, S::None, 0x5A, "Z"})},
        {"German AltGr",
         {{true, 0x01001103, 108, 0xfe03, 0x40000000}, {false, 0x01001103, 108, 0xfe03, 0x00000000}},
         Twice({0x12, 0x38, E0, S::Right, 0xA5, "RAlt"})},
        {"Russian layout: ef on the US A key is A",
         {{true, 0x00000424, 38, 0x06e6, 0x00000000}, {false, 0x00000424, 38, 0x06e6, 0x00000000}},
         Twice({0x41, 0x1E, 0, S::None, 0x41, "A"})},
    };
    return cases;
}

QKeyEvent EventOf(const Recorded& r) {
    return QKeyEvent(r.press ? QEvent::KeyPress : QEvent::KeyRelease, r.qtKey,
                     Qt::KeyboardModifiers(r.modifiers), r.keycode, r.keysym, 0);
}

TEST(KeyTranslation, RecordedX11EventsBecomeWindowsKeysAndCapturedKeys) {
    for (const Case& c : RecordedCases()) {
        ASSERT_EQ(c.events.size(), c.expected.size()) << c.what;
        KeyCapture capture;
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            const Recorded& r = c.events[i];
            const Expected& e = c.expected[i];
            const QKeyEvent event = EventOf(r);
            const WindowsKey key = TranslateKey(NativeKeyOf(event));
            const std::string at = std::string(c.what) + ", event " + std::to_string(i);
            EXPECT_EQ(key.virtualKey, e.vk) << at;
            EXPECT_EQ(key.makeCode, e.make) << at;
            EXPECT_EQ(key.extended, (e.prefix & E0) != 0) << at;
            EXPECT_EQ(key.e1, (e.prefix & E1) != 0) << at;
            EXPECT_EQ(key.side, e.side) << at;

            const auto raw = ToRawKeyEvent(event);
            ASSERT_TRUE(raw.has_value()) << at;
            EXPECT_EQ((raw->flags & kRawKeyBreak) != 0, !r.press) << at;
            const CapturedKey captured = capture.CaptureKey(*raw);
            EXPECT_EQ(captured.kind, kCaptureKeyboard) << at;
            EXPECT_EQ(captured.up, r.press ? 0 : 1) << at;
            EXPECT_EQ(captured.virtualKey, e.capturedVk) << at;
            EXPECT_EQ(captured.name, e.name) << at;
        }
        EXPECT_EQ(capture.HeldModifiers(), 0) << c.what << ": every modifier was released";
    }
}

// The offscreen platform and synthetic events carry no native codes: the Qt key and the keypad flag decide.
TEST(KeyTranslation, WithoutNativeCodesTheQtKeyStandsIn) {
    struct QtCase {
        int key;
        Qt::KeyboardModifiers modifiers;
        WindowsKey expected;
    } cases[] = {
        {Qt::Key_F13, {}, {0x7C, 0x64, false, false, S::None}},
        {Qt::Key_F24, {}, {0x87, 0x76, false, false, S::None}},
        {Qt::Key_F1, {}, {0x70, 0x3B, false, false, S::None}},
        {Qt::Key_Return, {}, {0x0D, 0x1C, false, false, S::None}},
        {Qt::Key_Enter, Qt::KeypadModifier, {0x0D, 0x1C, true, false, S::None}},
        {Qt::Key_8, Qt::KeypadModifier, {0x68, 0x48, false, false, S::None}},
        {Qt::Key_8, {}, {0x38, 0x09, false, false, S::None}},
        {Qt::Key_Up, Qt::KeypadModifier, {0x26, 0x48, false, false, S::None}},
        {Qt::Key_Up, {}, {0x26, 0x48, true, false, S::None}},
        {Qt::Key_Slash, Qt::KeypadModifier, {0x6F, 0x35, true, false, S::None}},
        {Qt::Key_Pause, {}, {0x13, 0x45, false, true, S::None}},
        {Qt::Key_Print, {}, {0x2C, 0x37, true, false, S::None}},
        {Qt::Key_Escape, {}, {0x1B, 0x01, false, false, S::None}},
        {Qt::Key_Tab, {}, {0x09, 0x0F, false, false, S::None}},
        {Qt::Key_Control, {}, {0x11, 0x1D, false, false, S::Left}},
        {Qt::Key_AltGr, {}, {0x12, 0x38, true, false, S::Right}},
        {Qt::Key_Super_R, {}, {0x5C, 0x5C, true, false, S::Right}},
        {Qt::Key_A, Qt::ShiftModifier, {0x41, 0x1E, false, false, S::None}},
        {Qt::Key_Exclam, Qt::ShiftModifier, {}},  // a shifted symbol: the key is unknown without native codes
        {Qt::Key_unknown, {}, {}},
        {Qt::Key_VolumeUp, {}, {}},
    };
    for (const QtCase& c : cases) {
        const WindowsKey key = TranslateKey({c.key, 0, 0, c.modifiers});
        EXPECT_EQ(key, c.expected) << std::hex << c.key;
        EXPECT_EQ(ToRawKeyEvent(key, true, c.modifiers).has_value(), c.expected.IsValid())
            << std::hex << c.key;
    }
}

TEST(KeyTranslation, RawInputMessagesAndFlags) {
    struct RawCase {
        WindowsKey key;
        bool pressed;
        Qt::KeyboardModifiers modifiers;
        KeyMessage message;
        int flags;
    } cases[] = {
        {{0x41, 0x1E, false, false, S::None}, true, {}, KeyMessage::KeyDown, 0},
        {{0x41, 0x1E, false, false, S::None}, false, {}, KeyMessage::KeyUp, kRawKeyBreak},
        {{0x41, 0x1E, false, false, S::None}, true, Qt::AltModifier, KeyMessage::SysKeyDown, 0},
        {{0x12, 0x38, true, false, S::Right}, true, {}, KeyMessage::SysKeyDown, kRawKeyE0},
        {{0x12, 0x38, true, false, S::Right}, false, {}, KeyMessage::SysKeyUp, kRawKeyE0 | kRawKeyBreak},
        {{0x79, 0x44, false, false, S::None}, true, {}, KeyMessage::SysKeyDown, 0},  // F10
        {{0x13, 0x45, false, true, S::None}, false, {}, KeyMessage::KeyUp, kRawKeyE1 | kRawKeyBreak},
    };
    for (const RawCase& c : cases) {
        const auto raw = ToRawKeyEvent(c.key, c.pressed, c.modifiers);
        ASSERT_TRUE(raw.has_value());
        EXPECT_EQ(raw->message, c.message) << std::hex << c.key.virtualKey;
        EXPECT_EQ(raw->flags, c.flags) << std::hex << c.key.virtualKey;
        EXPECT_EQ(raw->virtualKey, c.key.virtualKey);
        EXPECT_EQ(raw->makeCode, c.key.makeCode);
        EXPECT_EQ(raw->source, RawSource::Keyboard);
    }
    EXPECT_EQ((WindowsKey{0x10, 0x36, false, false, S::Right}).SidedVirtualKey(), 0xA1);
    EXPECT_EQ((WindowsKey{0x11, 0x1D, false, false, S::Left}).SidedVirtualKey(), 0xA2);
    EXPECT_EQ((WindowsKey{0x5C, 0x5C, true, false, S::Right}).SidedVirtualKey(), 0x5C);
}

// A key field with the filter takes Tab, Escape and Enter as keys: the focus stays, nothing else acts.
TEST(KeyCaptureFilter, TheFieldTakesEveryKeyWhileActive) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    auto* next = new QLineEdit(&window);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), field);
    KeyCaptureFilter filter;
    field->installEventFilter(&filter);
    std::vector<std::pair<int, std::string>> captured;
    QObject::connect(&filter, &KeyCaptureFilter::keyCaptured,
                     [&](const CapturedKey& key) { captured.emplace_back(key.up, key.name); });

    auto send = [&](const Recorded& r, bool repeat = false) {
        QKeyEvent event(r.press ? QEvent::KeyPress : QEvent::KeyRelease, r.qtKey,
                        Qt::KeyboardModifiers(r.modifiers), r.keycode, r.keysym, 0, QString(), repeat);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    };
    const Recorded tab{true, 0x01000001, 23, 0xff09, 0};
    const Recorded tabUp{false, 0x01000001, 23, 0xff09, 0};
    const Recorded rctrl{true, 0x01000021, 105, 0xffe4, 0};
    const Recorded f13{true, 0x010000f1, 191, 0x1008ff81, 0};

    send(tab);  // inactive: Tab moves the focus as usual
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_TRUE(captured.empty());

    field->setFocus();
    filter.SetActive(true);
    send(tab);
    send(tabUp);
    send(rctrl);
    send(rctrl, true);  // held down: not captured again
    send(f13);
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_TRUE(field->text().isEmpty());
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "Tab"}, {1, "Tab"}, {0, "RCtrl"}, {0, "F13"}};
    EXPECT_EQ(captured, expected);
}

// A key typed with modifiers held carries them, by side; a modifier pressed before the capture started
// (which it never saw go down) still counts, on the left, when the window system says it is held.
TEST(KeyCaptureFilter, KeysCarryTheModifiersTypedWithThem) {
    QLineEdit field;
    KeyCaptureFilter filter;
    field.installEventFilter(&filter);
    std::vector<int> modifiers;  // of each captured press
    QObject::connect(&filter, &KeyCaptureFilter::keyCaptured, [&](const CapturedKey& key) {
        if (key.up == 0) modifiers.push_back(key.modifiers);
    });
    auto send = [&](const Recorded& r) {
        QKeyEvent event = EventOf(r);
        QApplication::sendEvent(&field, &event);
    };
    constexpr unsigned kCtrl = 0x04000000, kMeta = 0x10000000;
    const Recorded rctrl{true, 0x01000021, 105, 0xffe4, kCtrl};
    const Recorded rctrlUp{false, 0x01000021, 105, 0xffe4, 0};
    const Recorded rwin{true, 0x01000022, 134, 0xffec, kMeta};
    const Recorded rwinUp{false, 0x01000022, 134, 0xffec, 0};
    auto c = [](unsigned held) { return Recorded{true, 0x43, 54, 0x63, held}; };

    filter.SetActive(true);
    send(rctrl);
    send(rwin);
    send(c(kCtrl | kMeta));
    send(rwinUp);
    send(rctrlUp);
    send(c(0));
    filter.SetActive(false);
    filter.SetActive(true);  // a new capture: Ctrl is already down
    send(c(kCtrl));
    const std::vector<int> expected = {0x10, 0x90, 0x90, 0, 0x01};  // RCtrl, RWin, C, C, C
    EXPECT_EQ(modifiers, expected);

    EXPECT_EQ(HeldModifierBits(0x10, Qt::ControlModifier), 0x10) << "the side seen wins";
    EXPECT_EQ(HeldModifierBits(0, Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier), 0x0E);
}

}  // namespace
}  // namespace quorvel
