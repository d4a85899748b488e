#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/ButtonCodes.h"
#include "store/KeyCapture.h"

namespace quorvel {
namespace {

RawKeyEvent Down(int vk, int make, int flags = 0) {
    return {RawSource::Keyboard, KeyMessage::KeyDown, vk, make, flags};
}
RawKeyEvent Up(int vk, int make, int flags = 0) {
    return {RawSource::Keyboard, KeyMessage::KeyUp, vk, make, flags | kRawKeyBreak};
}

struct Expect {
    int up, vk;
    const char* name;
};

// Each case is a sequence of raw inputs fed to one capture object; every input's result is checked.
TEST(KeyCapture, Sequences) {
    struct Case {
        const char* what;
        std::vector<RawKeyEvent> events;
        std::vector<Expect> expected;
        int held = 0;  // modifier bits still held afterwards
    } cases[] = {
        {"letter", {Down(0x41, 0x1E), Up(0x41, 0x1E)}, {{0, 0x41, "A"}, {1, 0x41, "A"}}},
        {"keypad 8, Num Lock off", {Down(0x26, 0x48)}, {{0, 0x68, "Num 8"}}},
        {"arrow up (E0)", {Down(0x26, 0x48, kRawKeyE0)}, {{0, 0x26, "Up"}}},
        {"keypad 5, Num Lock off", {Down(0x0C, 0x4C)}, {{0, 0x65, "Num 5"}}},
        {"keypad . released, Num Lock off", {Up(0x2E, 0x53)}, {{1, 0x6E, "Num Del"}}},
        {"Delete (E0)", {Up(0x2E, 0x53, kRawKeyE0)}, {{1, 0x2E, "Delete"}}},
        {"keypad Enter",
         {Down(0x0D, 0x1C, kRawKeyE0), Up(0x0D, 0x1C, kRawKeyE0)},
         {{0, 0x6C, "Num Enter"}, {1, 0x6C, "Num Enter"}}},
        {"Enter", {Down(0x0D, 0x1C)}, {{0, 0x0D, "Enter"}}},
        {"right Shift alone", {Down(0x10, 0x36), Up(0x10, 0x36)}, {{0, 0xA1, "RShift"}, {1, 0xA1, "RShift"}}},
        {"right Shift while left Shift is held",
         {Down(0x10, 0x2A), Down(0x10, 0x36), Up(0x10, 0x36), Up(0x10, 0x2A)},
         {{0, 0xA0, "Shift"}, {0, 0xA0, "Shift"}, {1, 0xA1, "RShift"}, {1, 0xA0, "Shift"}}},
        {"right Ctrl and right Alt",
         {Down(0x11, 0x1D, kRawKeyE0), Down(0x12, 0x38, kRawKeyE0)},
         {{0, 0xA3, "RCtrl"}, {0, 0xA5, "RAlt"}},
         0x50},
        {"left Ctrl, Alt on the system message",
         {Down(0x11, 0x1D),
          {RawSource::Keyboard, KeyMessage::SysKeyDown, 0x12, 0x38, 0},
          {RawSource::Keyboard, KeyMessage::SysKeyUp, 0x12, 0x38, kRawKeyBreak}},
         {{0, 0xA2, "Ctrl"}, {0, 0xA4, "Alt"}, {1, 0xA4, "Alt"}},
         0x01},
        {"left and right Win",
         {Down(0x5B, 0x5B, kRawKeyE0), Up(0x5B, 0x5B, kRawKeyE0), Down(0x5C, 0x5C, 2)},
         {{0, 0x5B, "Windows"}, {1, 0x5B, "Windows"}, {0, 0x5C, "RWindows"}},
         0x80},
        {"right Win let go is still right Win",
         {Down(0x5C, 0x5C, kRawKeyE0), Up(0x5C, 0x5C, kRawKeyE0)},
         {{0, 0x5C, "RWindows"}, {1, 0x5C, "RWindows"}}},
        {"both Win keys, right one let go first",
         {Down(0x5B, 0x5B, kRawKeyE0), Down(0x5C, 0x5C, kRawKeyE0), Up(0x5C, 0x5C, kRawKeyE0)},
         {{0, 0x5B, "Windows"}, {0, 0x5C, "RWindows"}, {1, 0x5C, "RWindows"}},
         0x08},
        {"fixed names",
         {Down(0x13, 0x45), Down(0x2C, 0x37, kRawKeyE0), Down(0x5D, 0x5D, 2), Down(0x90, 0x45)},
         {{0, 0x13, "Pause"}, {0, 0x2C, "Print Screen"}, {0, 0x5D, "Application"}, {0, 0x90, "Num Lock"}}},
        {"yen", {Down(0xFF, 0x7D)}, {{0, 0x89, "\xEF\xBF\xA5"}}},
        {"navigation names",
         {Down(0x21, 0x49, 2), Down(0x24, 0x47, 2), Down(0x2D, 0x52, 2)},
         {{0, 0x21, "Page Up"}, {0, 0x24, "Home"}, {0, 0x2D, "Insert"}}},
        {"other keys",
         {Down(0x70, 0x3B), Down(0xBA, 0x27), Down(0x20, 0x39), Down(0x1B, 0x01)},
         {{0, 0x70, "F1"}, {0, 0xBA, ";"}, {0, 0x20, "Space"}, {0, 0x1B, "Esc"}}},
    };
    for (const Case& c : cases) {
        KeyCapture capture;
        ASSERT_EQ(c.events.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < c.events.size(); ++i) {
            CapturedKey key = capture.CaptureKey(c.events[i]);
            EXPECT_EQ(key.kind, kCaptureKeyboard) << c.what << " #" << i;
            EXPECT_EQ(key.up, c.expected[i].up) << c.what << " #" << i;
            EXPECT_EQ(key.virtualKey, c.expected[i].vk) << c.what << " #" << i;
            EXPECT_EQ(key.name, c.expected[i].name) << c.what << " #" << i;
        }
        EXPECT_EQ(capture.HeldModifiers(), c.held) << c.what;
    }
}

// Each captured key carries the modifiers held with it, by side, in the key-combination bits.
TEST(KeyCapture, KeysCarryTheModifiersHeldWithThem) {
    struct Case {
        const char* what;
        std::vector<RawKeyEvent> before;  // the modifiers pressed (and let go) first
        int modifiers;                    // of the C pressed after them
    } cases[] = {
        {"nothing held", {}, 0},
        {"left Ctrl", {Down(0x11, 0x1D)}, kModCtrl},
        {"right Ctrl", {Down(0x11, 0x1D, kRawKeyE0)}, kModRightCtrl},
        {"right Shift and right Win",
         {Down(0x10, 0x36), Down(0x5C, 0x5C, kRawKeyE0)},
         kModRightShift | kModRightWin},
        {"left Alt and left Win", {Down(0x12, 0x38), Down(0x5B, 0x5B, kRawKeyE0)}, kModAlt | kModWin},
        {"Ctrl pressed and let go", {Down(0x11, 0x1D), Up(0x11, 0x1D)}, 0},
        {"right Win let go, left Win held",
         {Down(0x5B, 0x5B, kRawKeyE0), Down(0x5C, 0x5C, kRawKeyE0), Up(0x5C, 0x5C, kRawKeyE0)},
         kModWin},
    };
    for (const Case& c : cases) {
        KeyCapture capture;
        for (const RawKeyEvent& e : c.before) capture.CaptureKey(e);
        EXPECT_EQ(capture.CaptureKey(Down(0x43, 0x2E)).modifiers, c.modifiers) << c.what;
    }
}

TEST(KeyCapture, CapturedKeysConvertToTheirUsage) {
    KeyCapture capture;
    EXPECT_EQ(VirtualKeyToUsage(capture.CaptureKey(Down(0x26, 0x48)).virtualKey), 0x60);     // keypad 8
    EXPECT_EQ(VirtualKeyToUsage(capture.CaptureKey(Down(0x0D, 0x1C, 2)).virtualKey), 0x58);  // keypad Enter
    EXPECT_EQ(VirtualKeyToUsage(capture.CaptureKey(Down(0xFF, 0x7D)).virtualKey), 0x89);     // yen
}

TEST(KeyCapture, SourcesAndMessages) {
    KeyCapture capture;
    EXPECT_EQ(capture.CaptureKey({RawSource::OtherHid, KeyMessage::KeyDown, 0x41, 0x1E, 0}).kind,
              kCaptureOtherHid);
    EXPECT_EQ(capture.CaptureKey({RawSource::Mouse, KeyMessage::KeyDown, 0x41, 0x1E, 0}).kind, kCaptureNothing);
    EXPECT_EQ(capture.CaptureKey({RawSource::Keyboard, KeyMessage::Other, 0x41, 0x1E, 0}).kind, kCaptureNothing);
}

// With the system's key state: the generic key resolves to whichever side the system reports down.
TEST(KeyCapture, SystemKeyStateQuery) {
    int down = 0;
    KeyCapture capture([&](int key) { return key == down; });
    down = 0xA3;
    EXPECT_EQ(capture.CaptureKey(Down(0x11, 0x1D)).virtualKey, 0xA3);
    EXPECT_EQ(capture.HeldModifiers(), 0x10);
    down = 0;
    EXPECT_EQ(capture.CaptureKey(Down(0x12, 0x38)).virtualKey, 0x12);  // neither side down: stays generic
    EXPECT_EQ(capture.CaptureKey(Up(0x11, 0x1D)).virtualKey, 0xA3);
    EXPECT_EQ(capture.HeldModifiers(), 0);
    capture.CaptureKey(Down(0xA0, 0x2A));  // already sided: only its bit
    EXPECT_EQ(capture.HeldModifiers(), 0x02);
    capture.Reset();
    EXPECT_EQ(capture.HeldModifiers(), 0);
}

}  // namespace
}  // namespace quorvel
