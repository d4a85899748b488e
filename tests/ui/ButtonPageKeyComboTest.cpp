// The key-combination panel takes a combination as it is typed: the modifiers held with the key switch
// their toggles on, by side, and what the user clicked stays. Synthetic events carry the native codes of
// the X11 keyboard (keycode, keysym), as the key tests record them.

#include <QKeyEvent>

#include "ButtonPageFixture.h"

namespace quorvel::test {
namespace {

struct Key {
    int qtKey;
    quint32 keycode, keysym;
};
constexpr Key kRightCtrl{Qt::Key_Control, 105, 0xffe4};
constexpr Key kLeftShift{Qt::Key_Shift, 50, 0xffe1};
constexpr Key kRightWin{Qt::Key_Meta, 134, 0xffec};
constexpr Key kC{Qt::Key_C, 54, 0x63};
constexpr Key kE{Qt::Key_E, 26, 0x65};

class KeyCombination : public ButtonPageTest {
protected:
    void SetUp() override {
        ButtonPageTest::SetUp();
        OpenPage("102:wired");
        Pick(2);
        Click(kKeyOpen);
        field = At<QLineEdit>(kKeyField);
        QTest::mouseClick(field, Qt::LeftButton);
        ASSERT_TRUE(field->hasFocus());
    }
    void Send(const Key& key, bool press, Qt::KeyboardModifiers held) {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key.qtKey, held, key.keycode,
                        key.keysym, 0);
        QApplication::sendEvent(field, &event);
    }
    // Toggles on, in the order Ctrl, Win, Alt, Shift.
    std::string Toggles() {
        std::string on;
        for (int id : {kCtrlToggle, kWinToggle, kAltToggle, kShiftToggle})
            on += At<QAbstractButton>(id)->isChecked() ? "1" : "0";
        return on;
    }
    QLineEdit* field = nullptr;
};

// Right Ctrl + C: the Ctrl toggle goes on, and the right-hand bit is what is stored and sent (70 10 06).
TEST_F(KeyCombination, RightCtrlCIsStoredAndSentWithTheRightHandBit) {
    Send(kRightCtrl, true, Qt::ControlModifier);
    Send(kC, true, Qt::ControlModifier);
    Send(kRightCtrl, false, Qt::ControlModifier);  // Ctrl let go first: the press decided
    Send(kC, false, {});
    EXPECT_EQ(field->text(), "C");
    EXPECT_EQ(Toggles(), "1000");
    Click(kKeyOk);
    EXPECT_EQ(Row(2), "2 6 16 RCtrl + C");
    ASSERT_TRUE(Drain());
    const std::vector<std::string> expected = {
        ReportWrite("00 09 00 01 0F 10 01 00 10 02 00 70 10 06 10 08 00 10 10 00 40 01 00")};
    EXPECT_EQ(SentSinceLastCall(), expected);
}

// Right Win + E, with Win let go last: the key stays E (the right Win's release is no key), with right Win.
TEST_F(KeyCombination, RightWinEKeepsEAndTheRightWin) {
    Send(kRightWin, true, Qt::MetaModifier);
    EXPECT_EQ(field->text(), "RWindows");
    EXPECT_EQ(Toggles(), "0000") << "the Windows key alone is the key, not its own modifier";
    Send(kE, true, Qt::MetaModifier);
    Send(kE, false, Qt::MetaModifier);
    Send(kRightWin, false, {});
    EXPECT_EQ(field->text(), "E");
    EXPECT_EQ(Toggles(), "0100");
    Click(kKeyOk);
    EXPECT_EQ(Row(2), "2 8 128 RWin + E");
}

// A toggle the user clicked stays for a key typed alone; a key typed alone clears what an earlier key
// switched on; a new combination replaces the old one.
TEST_F(KeyCombination, ClickedTogglesStayTypedOnesFollowTheKeys) {
    Click(kAltToggle);
    QTest::mouseClick(field, Qt::LeftButton);
    Send(kC, true, {});
    EXPECT_EQ(Toggles(), "0010") << "clicked";

    Send(kLeftShift, true, Qt::ShiftModifier);
    Send(kC, true, Qt::ShiftModifier);
    Send(kLeftShift, false, Qt::ShiftModifier);
    EXPECT_EQ(Toggles(), "0001") << "typed with Shift";
    Send(kE, true, {});
    EXPECT_EQ(Toggles(), "0000") << "typed alone after a typed combination";

    Send(kRightCtrl, true, Qt::ControlModifier);
    Send(kE, true, Qt::ControlModifier);
    Send(kRightCtrl, false, Qt::ControlModifier);
    Click(kShiftToggle);  // added by hand: the left-hand Shift beside the typed right Ctrl
    Click(kKeyOk);
    EXPECT_EQ(Row(2), "2 8 18 Shift+ RCtrl + E");
}

}  // namespace
}  // namespace quorvel::test
