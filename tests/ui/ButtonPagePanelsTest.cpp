// The button page's function area and panels: what each shows for the chosen button, the key field's
// capture, the click parameters, the confirmations and notices, and the texts in another language.

#include <QAbstractButton>

#include "ButtonPageFixture.h"
#include "store/ButtonCodes.h"
#include "ui/pages/buttons/FunctionMenuPanel.h"

namespace quorvel::test {
namespace {

class ButtonPagePanels : public ButtonPageTest {
protected:
    void SetUp() override {
        ButtonPageTest::SetUp();
        OpenPage("201:wired");  // F1: buttons 0-7
    }
    FunctionRow Marked() { return page->findChild<FunctionMenuPanel*>()->Marked(); }
    QString Shown(int menuId) { return At<QComboBox>(menuId)->currentText(); }
    // Presses and releases a key in the focused key field.
    void Type(Qt::Key key) { QTest::keyClick(At<QLineEdit>(kKeyField), key); }
};

// The marked row and the menu item show what the button does: its stored function, or its factory one.
TEST_F(ButtonPagePanels, PickingAButtonShowsWhatItDoes) {
    Pick(5);  // factory: DPI Cycle
    EXPECT_EQ(Marked(), FunctionRow::Dpi);
    EXPECT_EQ(Shown(kDpiMenu), "DPI Cycle");
    Pick(6);  // factory: Volume Up
    EXPECT_EQ(Marked(), FunctionRow::Media);
    EXPECT_EQ(Shown(kMediaMenu), "Volume Up");
    Choose(kShortcutMenu, 3);
    EXPECT_EQ(Row(6), "8 3 0 Calculator");
    EXPECT_EQ(Marked(), FunctionRow::Shortcut);

    struct Case {
        int key;
        FunctionRow row;
        int menuId;
        const char* shown;
    };
    const Case cases[] = {
        {6, FunctionRow::Shortcut, kShortcutMenu, "Calculator"},
        {1, FunctionRow::Mouse, kMouseMenu, "Right Click"},
        {7, FunctionRow::Media, kMediaMenu, "Volume Down"},
        {0, FunctionRow::Mouse, kMouseMenu, "Left Click"},
    };
    for (const Case& c : cases) {
        Pick(c.key);
        EXPECT_EQ(Marked(), c.row) << c.key;
        EXPECT_EQ(Shown(c.menuId), c.shown) << c.key;
        EXPECT_EQ(
            At<QLabel>(kCaption)->text(),
            At<MouseKeyCtrl>(kButtonList)->GetItemKeyName(At<MouseKeyCtrl>(kButtonList)->IndexOfKey(c.key)));
    }
    // Menus that do not hold the function show no choice, only their placeholder.
    Pick(1);
    EXPECT_EQ(Shown(kMediaMenu), "");
    EXPECT_EQ(At<QComboBox>(kShortcutMenu)->placeholderText(), "Choose\u2026");
}

// Reopening the panel forgets the key captured before, the field's text with it: an OK with only a
// modifier stores the modifier, never the old key's name with no key behind it.
TEST_F(ButtonPagePanels, AReopenedKeyPanelStoresOnlyAKeyCapturedSince) {
    Pick(2);
    Click(kKeyOpen);
    QTest::mouseClick(At<QLineEdit>(kKeyField), Qt::LeftButton);
    Type(Qt::Key_F5);
    EXPECT_EQ(At<QLineEdit>(kKeyField)->text(), "F5");
    Click(kKeyClose);
    EXPECT_FALSE(At(kKeyPanel)->isVisible());

    Click(kKeyOpen);
    EXPECT_EQ(At<QLineEdit>(kKeyField)->text(), "");
    Click(kShiftToggle);
    Click(kKeyOk);
    EXPECT_EQ(Row(2), "2 0 2 Shift");
    EXPECT_EQ(Description(2), "Shift");

    // Nothing chosen: nothing stored, and the field is ready for a key.
    Pick(3);
    Click(kKeyOpen);
    Click(kKeyOk);
    EXPECT_EQ(Row(3), "none");
    EXPECT_TRUE(At<QLineEdit>(kKeyField)->hasFocus());
    // Win and Alt alone; Tab, Enter and Escape are keys like any other while the field captures.
    Click(kWinToggle);
    Click(kAltToggle);
    Click(kKeyOk);
    EXPECT_EQ(Row(3), "2 0 12 Win+ Alt");
    QTest::mouseClick(At<QLineEdit>(kKeyField), Qt::LeftButton);
    Type(Qt::Key_Escape);
    EXPECT_TRUE(At(kKeyPanel)->isVisible());
    Type(Qt::Key_Return);
    EXPECT_EQ(At<QLineEdit>(kKeyField)->text(), "Enter");
    EXPECT_EQ(Row(3), "2 0 12 Win+ Alt") << "Enter in the field is captured, not OK";
    Click(kKeyOk);
    EXPECT_EQ(Row(3), "2 40 12 Win+ Alt + Enter");
    EXPECT_EQ(host->queued, 3u);
    ASSERT_TRUE(Drain());
}

// The click parameters are put back into range when a field is left; OK stores them with the panel's title.
TEST_F(ButtonPagePanels, ClickParametersAreClampedWhenTheFieldIsLeft) {
    Pick(4);
    Click(kClickOpen);
    EXPECT_EQ(At<QLineEdit>(kSecondEdit)->text(), "1");
    EXPECT_EQ(At<QLineEdit>(kFirstEdit)->text(), "5");
    struct Case {
        int field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {kFirstEdit, "300", "255"}, {kFirstEdit, "3", "5"}, {kFirstEdit, "40", "40"},
        {kSecondEdit, "-1", "0"},   {kSecondEdit, "", "0"}, {kSecondEdit, "7", "7"},
    };
    for (const Case& c : cases) {
        auto* edit = At<QLineEdit>(c.field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Tab);  // leaves the field
        EXPECT_EQ(edit->text(), c.shown) << c.typed;
    }
    Click(kClickOk);
    EXPECT_EQ(Row(4), "7 40 7 Fire Key");
    EXPECT_EQ(Description(4), "Fire Key");
    EXPECT_EQ(Marked(), FunctionRow::Click);
    // Opening the key panel closes this one; choosing from a menu closes both.
    Click(kKeyOpen);
    EXPECT_FALSE(At(kClickTitle)->isVisible());
    Choose(kMouseMenu, 7);
    EXPECT_FALSE(At(kKeyPanel)->isVisible());
    ASSERT_TRUE(Drain());
}

// Resetting one button asks first; Cancel keeps it, OK gives it its factory function back.
TEST_F(ButtonPagePanels, ResettingAButtonAsksFirst) {
    Pick(6);
    Click(kFixedButton);
    ASSERT_EQ(Description(6), "Disable");
    const std::string question =
        "Reset Button | Restore the default function of " + At<QLabel>(kCaption)->text().toStdString() + "?";
    Click(kResetButton);
    EXPECT_EQ(AnswerBox(false), question);
    EXPECT_EQ(Row(6), "9 1 0 Disable");
    Click(kResetButton);
    EXPECT_EQ(AnswerBox(true), question);
    EXPECT_EQ(Row(6), "none");
    EXPECT_EQ(Description(6), "Volume Up");
    EXPECT_EQ(Marked(), FunctionRow::Media);
    EXPECT_EQ(host->queued, 2u);
    Click(kResetAll);
    EXPECT_EQ(AnswerBox(false),
              "Reset Buttons | Restore the default functions of all buttons in this profile?");
    EXPECT_EQ(host->queued, 2u);
    ASSERT_TRUE(Drain());
}

// A macro too long for the mouse is refused when it is chosen, with a notice: nothing is stored and the
// saving indicator does not claim otherwise.
TEST_F(ButtonPagePanels, AMacroTooLongForTheMouseIsRefusedWithANotice) {
    const int id = db.AddMacro("Endless");
    std::vector<MacroEventRecord> rows;
    for (int i = 0; i < 126; ++i) {
        MacroEventRecord e;
        e.macro_id = id;
        e.type = i % 2 == 0 ? 2 : 3;
        e.value = 'A';
        rows.push_back(e);
    }
    db.AddMacroEvents(rows);
    page->MacrosChanged();
    Pick(3);
    Choose(kMacroMenu, id);
    EXPECT_EQ(
        AnswerBox(),
        "Notice | This macro is too long for the mouse. Remove some of its events and assign it again.");
    EXPECT_EQ(Row(3), "none");
    EXPECT_EQ(Marked(), FunctionRow::Mouse) << "the area shows what the button still does";
    EXPECT_EQ(host->queued, 0u);
    EXPECT_EQ(host->savingShown, 0);
}

// Every text of the page is a language text: switching to Chinese re-texts the open page, the buttons'
// captions and descriptions and the menus with it.
TEST_F(ButtonPagePanels, TheOpenPageFollowsTheLanguage) {
    Pick(5);
    Click(kKeyOpen);
    const TextRegistry& registry = host->Texts();
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
        if (text.isEmpty() && w->toolTip().isEmpty()) continue;
        EXPECT_FALSE(registry.IdsOf(w).empty())
            << w->objectName().toStdString() << " \"" << text.toStdString() << "\" has no text id";
    }
    ChangeUiLanguage(kLcidChinese);
    EXPECT_EQ(At<QLabel>(kCaption)->text(), "DPI 循环");
    EXPECT_EQ(Description(2), "中键");
    EXPECT_EQ(At<QLabel>(kMouseLabel)->text(), "鼠标功能");
    EXPECT_EQ(At<QComboBox>(kMouseMenu)->itemText(0), "左键");
    EXPECT_EQ(Shown(kDpiMenu), "DPI 循环");
    EXPECT_EQ(At<QAbstractButton>(kKeyOk)->text(), "确定");
    EXPECT_TRUE(At(kKeyPanel)->isVisible()) << "a language change leaves the panel open";
    ChangeUiLanguage(kLcidEnglish);
    EXPECT_EQ(At<QLabel>(kCaption)->text(), "DPI Cycle");
}

}  // namespace
}  // namespace quorvel::test
