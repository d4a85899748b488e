#pragma once
// The button page on a composition root with virtual mice (PageFixture), driven the way a user does:
// clicks on the list, menu choices, the panels' fields and buttons, and the answers to its message boxes.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "PageFixture.h"
#include "toolkit/MouseKeyCtrl.h"
#include "ui/pages/buttons/ButtonPage.h"
#include "ui/pages/buttons/ButtonPageIds.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel::test {

using namespace button_page;

class ButtonPageTest : public PageTest {
protected:
    // The page on these mice, laid out in the window's content area as the main window places it.
    void OpenPage(const std::string& mice) {
        OpenMice(mice);
        page = new ButtonPage(*host, host->Window());
        page->setGeometry(200, 80, 1180, 658);
        host->Window()->show();
        host->Window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host->Window()));
    }

    template <typename T = QWidget>
    T* At(int id) {
        T* control = Control<T>(page, id);
        EXPECT_NE(control, nullptr) << "no control " << id;
        return control;
    }
    void Click(int id) { QTest::mouseClick(At<QAbstractButton>(id), Qt::LeftButton); }

    // Clicks the button's row in the list, as a user picks it.
    void Pick(int keyCode) {
        auto* list = At<MouseKeyCtrl>(kButtonList);
        const int index = list->IndexOfKey(keyCode);
        ASSERT_GE(index, 0) << "no button " << keyCode;
        const int y = index * (list->GetItemHeight() + 6) + list->GetItemHeight() / 2;
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(20, y));
        ASSERT_EQ(page->SelectedKeyCode(), keyCode);
    }
    // Chooses the menu item with this value, as a user does (the item's activation).
    void Choose(int menuId, int value) {
        auto* menu = At<QComboBox>(menuId);
        const int index = menu->findData(value);
        ASSERT_GE(index, 0) << "menu " << menuId << " has no value " << value;
        menu->setCurrentIndex(index);
        emit menu->activated(index);
    }

    // The message box that is open, if any.
    static CUIMessageBox* OpenBox() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<CUIMessageBox*>(w); box && box->isVisible()) return box;
        }
        return nullptr;
    }
    // "title | message" of the open box, which is then answered with its first button (OK), or "none".
    static std::string AnswerBox(bool ok = true) {
        CUIMessageBox* box = OpenBox();
        if (!box) return "none";
        const std::string shown = Control<QLabel>(box, CUIMessageBox::kTitle)->text().toStdString() + " | " +
                                  Control<QLabel>(box, CUIMessageBox::kMessage)->text().toStdString();
        if (ok)
            QTest::mouseClick(Control<QPushButton>(box, CUIMessageBox::kFirstButton), Qt::LeftButton);
        else
            box->reject();
        return shown;
    }

    // The stored row of a button in the current profile: "type value value2 desc", or "none".
    std::string Row(int keyCode) {
        KeyAssignmentRecord r;
        if (!db.GetKeyAssignment(session->Core().CurrentProfile(), keyCode, r)) return "none";
        return std::to_string(r.macro_type) + " " + std::to_string(r.macro_value) + " " +
               std::to_string(r.macro_value2) + " " + r.macro_desc;
    }
    std::string Description(int keyCode) {
        auto* list = At<MouseKeyCtrl>(kButtonList);
        return list->GetItemKeyDesc(list->IndexOfKey(keyCode)).toStdString();
    }

    // A macro of one key press (A down, A up) named `name`.
    int PressA(const std::string& name) {
        const int id = db.AddMacro(name);
        MacroEventRecord down, up;
        down.macro_id = up.macro_id = id;
        down.type = 2;
        up.type = 3;
        down.value = up.value = 'A';
        db.AddMacroEvents({down, up});
        return id;
    }

    ButtonPage* page = nullptr;  // owned by the host's window
};

}  // namespace quorvel::test
