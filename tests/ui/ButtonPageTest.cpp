// The button page with the worker and virtual mice: what each control stores, what reaches the mouse
// (the HID trace, exactly, on both protocol families), the protected primary button, the panels and the
// notices a user sees.

#include "ButtonPageFixture.h"
#include "sim/MouseMemory.h"
#include "store/ButtonCodes.h"
#include "toolkit/KeyCaptureFilter.h"
#include "toolkit/MouseCtrl.h"

namespace quorvel::test {
namespace {

// The primary button keeps its function: every way of giving it another shows the notice and stores and
// sends nothing; both resets still apply to it.
TEST_F(ButtonPageTest, ThePrimaryButtonIsProtected) {
    OpenPage("102:wired");
    PressA("Burst");
    page->MacrosChanged();
    ASSERT_EQ(page->SelectedKeyCode(), 0);
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"mouse menu", [&] { Choose(kMouseMenu, 3); }},
        {"multimedia menu", [&] { Choose(kMediaMenu, 8); }},
        {"macro menu", [&] { Choose(kMacroMenu, At<QComboBox>(kMacroMenu)->itemData(0).toInt()); }},
        {"shortcut menu", [&] { Choose(kShortcutMenu, 9); }},
        {"DPI menu", [&] { Choose(kDpiMenu, 1); }},
        {"special menu", [&] { Choose(kSpecialMenu, 2); }},
        {"key combination", [&] { Click(kKeyOpen); }},
        {"click function", [&] { Click(kClickOpen); }},
        {"fixed function", [&] { Click(kFixedButton); }},
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(AnswerBox(), "Notice | The left button cannot be reassigned.") << c.what;
        EXPECT_EQ(Row(0), "none") << c.what;
        EXPECT_FALSE(At(kKeyPanel)->isVisible()) << c.what;
        EXPECT_FALSE(At(kClickTitle)->isVisible()) << c.what;
        EXPECT_EQ(At<QComboBox>(kMouseMenu)->currentData().toInt(), 1)
            << c.what << ": the menu shows Left Click";
    }
    EXPECT_EQ(host->queued, 0u);
    EXPECT_EQ(host->savingShown, 0);

    Click(kResetButton);
    EXPECT_EQ(AnswerBox(), "Reset Button | Restore the default function of Left Click?");
    Click(kResetAll);
    EXPECT_EQ(AnswerBox(), "Reset Buttons | Restore the default functions of all buttons in this profile?");
    ASSERT_EQ(host->queued, 2u);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(SentSinceLastCall().size(), 2u);  // the key table twice
}

// Another model chosen: the list and the picture take its buttons and image, the first button is chosen
// again and an open panel closes (it belonged to a button of the other model).
TEST_F(ButtonPageTest, AnotherModelBringsItsButtonsAndPicture) {
    OpenPage("102:wired;201:wired");
    auto* list = At<MouseKeyCtrl>(kButtonList);
    auto* picture = At<MouseCtrl>(kPicture);
    ASSERT_EQ(session->Core().CurrentDeviceType(), 102);
    EXPECT_EQ(list->GetItemCount(), 6);
    const QString r2Image = picture->Image();
    EXPECT_FALSE(r2Image.isEmpty());
    Pick(3);
    Click(kKeyOpen);
    ASSERT_TRUE(At(kKeyPanel)->isVisible());

    const TaskResult selected = session->Worker().QueueTaskAndWait(SelectDeviceRequest(201), 10s);
    ASSERT_TRUE(selected.ok()) << DeviceErrorText(selected.error);
    page->ModelLoaded(session->Core().Snapshot().model);
    EXPECT_EQ(list->GetItemCount(), 8);
    EXPECT_EQ(picture->GetItemCount(), 8);
    EXPECT_NE(picture->Image(), r2Image);
    EXPECT_EQ(page->SelectedKeyCode(), 0);
    EXPECT_EQ(Description(6), "Volume Up");
    EXPECT_FALSE(At(kKeyPanel)->isVisible());
}

// With the mouse gone the choice is still kept for when it is back: stored and described, with no notice;
// the key write it queued ends on the missing mouse.
TEST_F(ButtonPageTest, AChoiceWhileTheMouseIsUnpluggedIsKept) {
    OpenPage("201:wired");
    Mice().Mouse(0).Unplug();
    Pick(4);
    Choose(kShortcutMenu, 3);
    EXPECT_EQ(AnswerBox(), "none");
    EXPECT_EQ(Row(4), "8 3 0 Calculator");
    EXPECT_EQ(Description(4), "Calculator");
    EXPECT_EQ(host->savingShown, 1);
    const std::vector<TaskEnd> ends = gate.WaitForEnds(2);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[1].request.code, kTaskWriteKeys);
    EXPECT_EQ(ends[1].result.error, DeviceError::Gone);
    EXPECT_EQ(Mice().Mouse(0).Memory().keys[4], (KeyCode{0x10, 0x10, 0x00})) << "the mouse kept its own";
}

// The pair of families: what the key writes of a button look like on each.
struct Family {
    const char* mice;
    bool feature;
};

class ButtonPageOnBothFamilies : public ButtonPageTest, public ::testing::WithParamInterface<Family> {};

INSTANTIATE_TEST_SUITE_P(ButtonPage, ButtonPageOnBothFamilies,
                         ::testing::Values(Family{"102:wired", false}, Family{"201:wired", true}),
                         [](const auto& info) { return info.param.feature ? "Feature" : "Report"; });

// Holding left Ctrl and pressing A in the key field shows A (the Ctrl key itself is no key here) and
// switches the Ctrl toggle on; OK stores usage 0x04 with modifier bit 0x01, and 70 01 04 goes to the mouse.
TEST_P(ButtonPageOnBothFamilies, CtrlAIsSentAsUsage4WithTheCtrlBit) {
    OpenPage(GetParam().mice);
    Pick(1);
    Click(kKeyOpen);
    ASSERT_TRUE(At(kKeyPanel)->isVisible());
    auto* field = At<QLineEdit>(kKeyField);
    QTest::mouseClick(field, Qt::LeftButton);
    ASSERT_TRUE(field->hasFocus());
    QTest::keyPress(field, Qt::Key_Control);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyRelease(field, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "A");
    EXPECT_TRUE(At<QAbstractButton>(kCtrlToggle)->isChecked());
    Click(kKeyOk);
    EXPECT_EQ(AnswerBox(), "none");
    EXPECT_EQ(Row(1), "2 4 1 Ctrl + A");
    EXPECT_EQ(Description(1), "Ctrl + A");
    EXPECT_TRUE(At(kKeyPanel)->isVisible()) << "the panel stays open after OK";
    EXPECT_EQ(host->savingShown, 1);
    ASSERT_TRUE(Drain());
    const std::vector<std::string> expected = {
        GetParam().feature
            ? FeatureSend("0C 01 04 00 00 01 04 01 70 01 04")
            : ReportWrite("00 09 00 01 0F 10 01 00 70 01 04 10 04 00 10 08 00 10 10 00 40 01 00")};
    EXPECT_EQ(SentSinceLastCall(), expected);
}

// After a reset of all buttons the mouse has its own key functions again: the default table on the report
// family, every button's slot one at a time on the feature family (slots 6 and up get the plain "10 00 00").
TEST_P(ButtonPageOnBothFamilies, ResetAllSendsTheDefaultKeyTable) {
    OpenPage(GetParam().mice);
    Pick(2);
    Click(kFixedButton);
    Pick(4);
    Choose(kMediaMenu, 8);
    ASSERT_EQ(Row(2), "9 1 0 Disable");
    ASSERT_TRUE(Drain());
    SentSinceLastCall();

    Click(kResetAll);
    EXPECT_EQ(AnswerBox(), "Reset Buttons | Restore the default functions of all buttons in this profile?");
    EXPECT_EQ(Row(2), "none");
    EXPECT_EQ(Row(4), "none");
    EXPECT_EQ(Description(2), "Middle Click");
    EXPECT_EQ(Description(4), "Forward");
    EXPECT_EQ(page->SelectedKeyCode(), 0);
    ASSERT_TRUE(Drain());
    std::vector<std::string> expected;
    if (GetParam().feature) {
        // Sequence numbers go on from the two writes before (00, 01).
        for (const char* write : {"02 01 04 00 10 01 00", "03 01 04 01 10 02 00", "04 01 04 02 10 04 00",
                                  "05 01 04 03 10 08 00", "06 01 04 04 10 10 00", "07 01 04 05 40 01 00",
                                  "08 01 04 06 10 00 00", "09 01 04 07 10 00 00"})
            expected.push_back(FeatureSend(std::string("0C 01 04 00 ") + write));
    } else {
        expected.push_back(
            ReportWrite("00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 10 10 00 40 01 00"));
    }
    EXPECT_EQ(SentSinceLastCall(), expected);
}

// A macro chosen in the macro menu goes to the button's macro slot, then the button's code names it.
TEST_P(ButtonPageOnBothFamilies, AMacroChosenForAButtonReachesTheMouse) {
    OpenPage(GetParam().mice);
    const int id = PressA("Custom 1");
    page->MacrosChanged();
    EXPECT_EQ(At<QComboBox>(kMacroMenu)->itemText(0), "Custom 1");
    Pick(3);
    Choose(kMacroMenu, id);
    EXPECT_EQ(AnswerBox(), "none");
    EXPECT_EQ(Row(3), std::to_string(kMacroFunction) + " " + std::to_string(id) + " 0 Custom 1");
    EXPECT_EQ(Description(3), "Custom 1");
    ASSERT_TRUE(Drain());
    const std::vector<std::string> expected =
        GetParam().feature
            ? std::vector<std::string>{FeatureSend("0C 01 0E 00 00 01 07 03 30 01 04 B0 00 04"),
                                       FeatureSend("0C 01 04 00 01 01 04 03 90 23 01")}
            : std::vector<std::string>{
                  ReportWrite("00 08 00 01 09 03 30 01 00 04 B0 01 00 04"),
                  ReportWrite("00 09 00 01 0F 10 01 00 10 02 00 10 04 00 90 23 01 10 10 00 40 01 00")};
    EXPECT_EQ(SentSinceLastCall(), expected);
    const MouseMemory memory = Mice().Mouse(0).Memory();
    EXPECT_EQ(memory.keys[3], (KeyCode{0x90, 0x23, 0x01}));
    EXPECT_EQ(memory.macros.count(3), 1u);
    EXPECT_TRUE(Mice().AllIssues().empty());
}

}  // namespace
}  // namespace quorvel::test
