// The function area says what a button does and nothing else: only the row of its function shows a value,
// the two resets ask what they do, and the notices come in the user's language.

#include <QAbstractButton>
#include <QKeyEvent>

#include "ButtonPageFixture.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

class ButtonPageRows : public ButtonPageTest {
protected:
    void SetUp() override {
        ButtonPageTest::SetUp();
        OpenPage("201:wired");  // F1: buttons 0-7, button 4 is Forward
    }

    // What each row shows as a value, "row=value", the rows showing their placeholder left out. A menu
    // without a chosen item must show its placeholder; a panel button reads "Set" unless it holds the value.
    std::string Values() {
        std::string shown;
        auto add = [&shown](const char* row, const QString& value) {
            shown += (shown.empty() ? "" : " ") + std::string(row) + "=" + value.toStdString();
        };
        const std::pair<const char*, int> menus[] = {{"mouse", kMouseMenu}, {"media", kMediaMenu},
                                                     {"macro", kMacroMenu}, {"shortcut", kShortcutMenu},
                                                     {"dpi", kDpiMenu},     {"special", kSpecialMenu}};
        for (const auto& [row, id] : menus) {
            auto* menu = At<QComboBox>(id);
            if (menu->currentIndex() >= 0)
                add(row, menu->currentText());
            else
                EXPECT_FALSE(menu->placeholderText().isEmpty()) << row << " shows an empty box";
        }
        for (const auto& [row, id] : {std::pair{"key", kKeyOpen}, std::pair{"click", kClickOpen}}) {
            const QString text = At<QAbstractButton>(id)->text();
            if (text != "Set") add(row, text);
        }
        if (At<QAbstractButton>(kFixedButton)->isChecked()) add("fixed", "on");
        return shown;
    }
    // The text of a menu's item.
    std::string Item(int menuId, int value) {
        auto* menu = At<QComboBox>(menuId);
        return menu->itemText(menu->findData(value)).toStdString();
    }
    std::string Caption(int keyCode) {
        auto* list = At<MouseKeyCtrl>(kButtonList);
        return list->GetItemKeyName(list->IndexOfKey(keyCode)).toStdString();
    }
    std::string Ask(int id) {
        Click(id);
        return AnswerBox();
    }
};

// A table of functions given to one button in turn: the row of each shows it, every other row its
// placeholder (the row of the function before goes back to it), also when the button is picked again.
TEST_F(ButtonPageRows, OnlyTheRowOfTheFunctionShowsAValue) {
    const int macro = PressA("Burst");
    page->MacrosChanged();
    Pick(4);
    ASSERT_EQ(Values(), "mouse=Forward") << "the factory function";
    struct Case {
        const char* what;
        std::function<void()> assign;
        std::string shown;
    };
    const Case cases[] = {
        {"mouse function", [&] { Choose(kMouseMenu, 2); }, "mouse=" + Item(kMouseMenu, 2)},
        {"multimedia", [&] { Choose(kMediaMenu, 8); }, "media=" + Item(kMediaMenu, 8)},
        {"macro", [&] { Choose(kMacroMenu, macro); }, "macro=Burst"},
        {"shortcut", [&] { Choose(kShortcutMenu, 3); }, "shortcut=Calculator"},
        {"DPI function", [&] { Choose(kDpiMenu, 1); }, "dpi=DPI +"},
        {"key combination",
         [&] {
             Click(kKeyOpen);
             QTest::mouseClick(At<QLineEdit>(kKeyField), Qt::LeftButton);
             QTest::keyClick(At<QLineEdit>(kKeyField), Qt::Key_F5);
             Click(kCtrlToggle);
             Click(kKeyOk);
             Click(kKeyClose);
         },
         "key=Ctrl + F5"},
        {"click function",
         [&] {
             Click(kClickOpen);
             Click(kClickOk);
             Click(kClickClose);
         },
         "click=5 ms \u00d7 1"},
        {"disabled", [&] { Click(kFixedButton); }, "fixed=on"},
        {"special function", [&] { Choose(kSpecialMenu, 2); }, "special=" + Item(kSpecialMenu, 2)},
    };
    for (const Case& c : cases) {
        c.assign();
        ASSERT_EQ(AnswerBox(), "none") << c.what;
        EXPECT_EQ(Values(), c.shown) << c.what;
        Pick(3);
        Pick(4);
        EXPECT_EQ(Values(), c.shown) << c.what << ", picked again";
    }
    Click(kResetButton);
    AnswerBox();
    EXPECT_EQ(Values(), "mouse=Forward") << "reset: the factory function again";
    ASSERT_TRUE(Drain());
}

// A refused change leaves the rows as they were: the primary button's disable click does not stay checked.
TEST_F(ButtonPageRows, ARefusedChangeLeavesTheRowsAsTheyWere) {
    ASSERT_EQ(page->SelectedKeyCode(), 0);
    Click(kFixedButton);
    EXPECT_EQ(AnswerBox(), "Notice | The left button cannot be reassigned.");
    EXPECT_EQ(Values(), "mouse=Left Click");
    Choose(kMediaMenu, 8);
    AnswerBox();
    EXPECT_EQ(Values(), "mouse=Left Click");
}

// Resetting one button asks about that button and resets only it; resetting all asks about all of them
// and resets every one.
TEST_F(ButtonPageRows, TheTwoResetsAskWhatTheyDo) {
    Pick(3);
    Choose(kShortcutMenu, 3);
    Pick(4);
    Click(kFixedButton);
    const std::string one = Ask(kResetButton);
    EXPECT_EQ(one, "Reset Button | Restore the default function of " + Caption(4) + "?");
    EXPECT_EQ(Row(4), "none");
    EXPECT_EQ(Row(3), "8 3 0 Calculator") << "the other button keeps its function";

    Pick(4);
    Click(kFixedButton);
    const std::string all = Ask(kResetAll);
    EXPECT_EQ(all, "Reset Buttons | Restore the default functions of all buttons in this profile?");
    EXPECT_NE(one.substr(one.find('|')), all.substr(all.find('|')));
    EXPECT_EQ(Row(3), "none");
    EXPECT_EQ(Row(4), "none");
    ASSERT_TRUE(Drain());
}

// The notices of refused changes are language texts: in Chinese, a key the mouse cannot send and a macro
// deleted since the menu was filled are told in Chinese, not in the actions' English.
TEST_F(ButtonPageRows, RefusalsAreToldInTheUsersLanguage) {
    const int macro = PressA("Burst");
    page->MacrosChanged();
    ChangeUiLanguage(kLcidChinese);
    Pick(4);
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* notice;
    };
    const Case cases[] = {
        {"a key with no keyboard code",
         [&] {
             Click(kKeyOpen);
             auto* field = At<QLineEdit>(kKeyField);
             QTest::mouseClick(field, Qt::LeftButton);
             // Break (Ctrl + Pause on X) has a virtual key but no keyboard code. Had it not been captured,
             // OK would store and say nothing.
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Pause, {}, 127, 0xff6b, 0);
             QApplication::sendEvent(field, &press);
             Click(kKeyOk);
         },
         "提示 | 鼠标无法发送此按键，请选择其他按键。"},
        {"a deleted macro",
         [&] {
             ASSERT_TRUE(db.DeleteMacro(macro));
             Choose(kMacroMenu, macro);
         },
         "提示 | 此宏已不存在，请选择其他宏。"},
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(AnswerBox(), c.notice) << c.what;
        EXPECT_EQ(Row(4), "none") << c.what;
    }
    EXPECT_EQ(host->queued, 0u);
    ChangeUiLanguage(kLcidEnglish);
}

}  // namespace
}  // namespace quorvel::test
