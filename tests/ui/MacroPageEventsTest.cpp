// The macro page's event list with the worker and a virtual mouse: the insert menu and its positions, the
// item limit, moves (at the ends they do nothing; pairs travel together), the event editor (delay clamped,
// key and button changed on both halves of a pair), the key dialog, delete and clear. The list always
// shows what is stored.

#include <QLabel>

#include "MacroPageFixture.h"
#include "ui/common/TextIds.h"
#include "ui/dialogs/RecordEditDlg.h"

namespace quorvel::test {
namespace {

constexpr int kA = 0x41, kB = 0x42, kR = 0x52;

std::string Down(const std::string& vk, const std::string& name, int type = kMacroKeyDown) {
    return std::to_string(type) + " " + vk + " ↓  " + name;
}
std::string Up(const std::string& vk, const std::string& name, int type = kMacroKeyUp) {
    return std::to_string(type) + " " + vk + " ↑  " + name;
}
std::string Delay(int ms) {
    return "1 " + std::to_string(ms) + " " + std::to_string(ms) + " ms";
}

class MacroPageEvents : public MacroPageTest {
protected:
    void SetUp() override {
        MacroPageTest::SetUp();
        OpenPage("102:wired");
        id = NewMacro();
        ASSERT_GT(id, 0);
    }
    RecordEditDlg* KeyDialog() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<RecordEditDlg*>(w); dialog && dialog->isVisible()) return dialog;
        }
        return nullptr;
    }
    int id = 0;
};

TEST_F(MacroPageEvents, InsertingPutsPressesAfterTheChosenEventAndADelayBeforeIt) {
    Seed(id, {Ev(kMacroKeyDown, kR, 1), Ev(kMacroDelay, 50, 2), Ev(kMacroKeyUp, kR, 1)});
    ClickRow(Events(), 2);
    Click(kEventInsert);
    Choose("InsertMenu", kInsertLeft);
    // The third item chosen: the left button's four items are items 4-7.
    const std::vector<std::string> fourToSeven = {Down("82", "R"),    Delay(50), Up("82", "R"),
                                                  Down("1", "LB", 4), Delay(10), Up("1", "LB", 5),
                                                  Delay(10)};
    EXPECT_EQ(Stored(id), fourToSeven);
    EXPECT_EQ(Shown(), Stored(id));
    const std::vector<MacroEventRecord> rows = Rows(id);
    EXPECT_EQ(rows[3].delay_time, rows[5].delay_time);  // the press and its release are a pair
    std::set<int> others;
    for (int i : {0, 1, 4, 6}) others.insert(rows[i].delay_time);
    EXPECT_EQ(others.count(rows[3].delay_time), 0u);
    // The group's last item stays chosen: the next insertion follows the group.
    EXPECT_EQ(Events()->GetCurSel(), 6);

    // A delay goes before the chosen event; with none chosen, everything goes to the end.
    ClickRow(Events(), 1);
    Click(kEventInsert);
    Choose("InsertMenu", kInsertDelay);
    EXPECT_EQ(Stored(id)[1], Delay(10));
    EXPECT_EQ(Stored(id)[2], Delay(50));
    Events()->SetCurSel(-1);
    Click(kEventInsert);
    Choose("InsertMenu", kInsertMiddle);
    const std::vector<std::string> stored = Stored(id);
    ASSERT_EQ(stored.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(stored.end() - 4, stored.end()),
              (std::vector<std::string>{Down("4", "MB", 4), Delay(10), Up("4", "MB", 5), Delay(10)}));
    EXPECT_EQ(Shown(), stored);
}

TEST_F(MacroPageEvents, TheItemLimitAndAMissingMacroStopTheInsertMenu) {
    Seed(id, std::vector<MacroEventRecord>(kMacroEventLimit, Ev(kMacroDelay, 10, 0)));
    Click(kEventInsert);
    EXPECT_EQ(Menu("InsertMenu"), nullptr);
    EXPECT_EQ(TakeBox(), std::make_pair(368, 386));
    EXPECT_EQ(Rows(id).size(), 200u);

    // 199 items take one more group.
    ClickRow(Events(), 0);
    Click(kEventDelete);
    Click(kEventInsert);
    Choose("InsertMenu", kInsertRight);
    EXPECT_EQ(Rows(id).size(), 203u);

    // Without a macro there is nothing to insert into.
    Click(kMacroDelete);
    ASSERT_EQ(page->CurrentMacro(), 0);
    Click(kEventInsert);
    EXPECT_EQ(Menu("InsertMenu"), nullptr);
    EXPECT_EQ(TakeBox(), std::make_pair(368, 387));
}

TEST_F(MacroPageEvents, MovesAtTheEndsDoNothingAndPairsMoveTogether) {
    Seed(id, {Ev(kMacroKeyDown, kA, 1), Ev(kMacroDelay, 10, 2), Ev(kMacroKeyUp, kA, 1),
              Ev(kMacroDelay, 20, 3), Ev(kMacroKeyDown, kB, 4), Ev(kMacroKeyUp, kB, 4)});
    const std::vector<std::string> before = Stored(id);
    // The first event up, the last one down, and the event menu's top and bottom at the ends.
    ClickRow(Events(), 0);
    Click(kEventUp);
    EXPECT_EQ(Stored(id), before);
    ClickRow(Events(), 0, true);
    Choose("EventMenu", kMoveTop);
    EXPECT_EQ(Stored(id), before);
    ClickRow(Events(), 5);
    Click(kEventDown);
    EXPECT_EQ(Stored(id), before);
    ClickRow(Events(), 5, true);
    Choose("EventMenu", kMoveBottom);
    EXPECT_EQ(Stored(id), before);
    // The release of B at the bottom cannot go down; its press one place up takes the release along.
    ClickRow(Events(), 4);
    Click(kEventUp);
    EXPECT_EQ(Stored(id), (std::vector<std::string>{Down("65", "A"), Delay(10), Up("65", "A"),
                                                    Down("66", "B"), Up("66", "B"), Delay(20)}));
    EXPECT_EQ(Events()->GetCurSel(), 3);  // the moved event stays chosen
    // To the top from the event menu of B's release: the pair goes first.
    ClickRow(Events(), 4, true);
    Choose("EventMenu", kMoveTop);
    EXPECT_EQ(Stored(id), (std::vector<std::string>{Down("66", "B"), Up("66", "B"), Down("65", "A"),
                                                    Delay(10), Up("65", "A"), Delay(20)}));
    EXPECT_EQ(Events()->GetCurSel(), 1);
    EXPECT_EQ(Shown(), Stored(id));
}

TEST_F(MacroPageEvents, TheEditorChangesBothHalvesOfAPairAndClampsDelays) {
    Seed(id, {Ev(kMacroKeyDown, kA, 1), Ev(kMacroDelay, 10, 2), Ev(kMacroKeyUp, kA, 1),
              Ev(kMacroButtonDown, kMacroButtonLeft, 3), Ev(kMacroButtonUp, kMacroButtonLeft, 3)});
    auto* editor = Ctl<QWidget>(kEditorKind);
    auto* hint = Ctl<QLabel>(kEditorHint);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(hint->isVisible());

    // A key: the field captures the next key pressed in it.
    ClickRow(Events(), 2);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Ctl<QComboBox>(kEditorKind)->currentText(), Text(txt::kKeyboard));
    auto* field = Ctl<QLineEdit>(kEditorValue);
    EXPECT_EQ(field->text(), "A");
    field->setFocus();
    QApplication::processEvents();
    QTest::keyClick(field, Qt::Key_F7);
    EXPECT_EQ(Stored(id)[0], Down("118", "F7"));
    EXPECT_EQ(Stored(id)[2], Up("118", "F7"));
    EXPECT_EQ(field->text(), "F7");

    // A delay: digits, clamped to 1-10000 and written back.
    ClickRow(Events(), 1);
    EXPECT_EQ(Ctl<QComboBox>(kEditorKind)->currentText(), Text(txt::kDelay));
    EXPECT_EQ(field->text(), "10");
    Type(kEditorValue, "20000");
    EXPECT_EQ(Stored(id)[1], Delay(10000));
    EXPECT_EQ(field->text(), "10000");
    Type(kEditorValue, "0");
    EXPECT_EQ(Stored(id)[1], Delay(1));
    EXPECT_EQ(field->text(), "1");

    // A mouse button: the box offers LB, RB, MB, Forward, Backward.
    ClickRow(Events(), 4);
    auto* buttons = Ctl<QComboBox>(kEditorButton);
    EXPECT_TRUE(buttons->isVisible());
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(buttons->currentIndex(), 0);
    buttons->setCurrentIndex(3);
    emit buttons->activated(3);
    EXPECT_EQ(Stored(id)[3], Down("16", "Forward", kMacroButtonDown));
    EXPECT_EQ(Stored(id)[4], Up("16", "Forward", kMacroButtonUp));
    EXPECT_EQ(Shown(), Stored(id));

    // Another macro hides the editor again.
    NewMacro();
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(MacroPageEvents, TheKeyDialogInsertsOnlyAKeyConfirmedWithOk) {
    Click(kEventInsert);
    Choose("InsertMenu", kInsertKey);
    RecordEditDlg* dialog = KeyDialog();
    ASSERT_NE(dialog, nullptr);
    auto* field = dialog->findChild<QLineEdit*>(ControlName(RecordEditDlg::kKeyField));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->hasFocus());
    // Escape is a key like any other here: it does not close the dialog.
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(field->text(), "Esc");
    QTest::keyClick(field, Qt::Key_F5);
    EXPECT_EQ(field->text(), "F5");
    QTest::mouseClick(dialog->findChild<QPushButton*>(ControlName(RecordEditDlg::kOk)), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(KeyDialog(), nullptr);
    EXPECT_EQ(Stored(id),
              (std::vector<std::string>{Down("116", "F5"), Delay(10), Up("116", "F5"), Delay(10)}));

    // Closed with its close button after a key: nothing.
    Click(kEventInsert);
    Choose("InsertMenu", kInsertKey);
    dialog = KeyDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClick(dialog->findChild<QLineEdit*>(ControlName(RecordEditDlg::kKeyField)), Qt::Key_G);
    QTest::mouseClick(dialog->findChild<QAbstractButton*>(ControlName(RecordEditDlg::kClose)),
                      Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Rows(id).size(), 4u);
    // OK without a key: nothing either.
    Click(kEventInsert);
    Choose("InsertMenu", kInsertKey);
    dialog = KeyDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->findChild<QPushButton*>(ControlName(RecordEditDlg::kOk)), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Rows(id).size(), 4u);
}

TEST_F(MacroPageEvents, DeleteTakesThePairAndClearEmptiesTheList) {
    Seed(id, {Ev(kMacroDelay, 5, 9), Ev(kMacroKeyDown, kA, 1), Ev(kMacroDelay, 10, 2), Ev(kMacroKeyUp, kA, 1),
              Ev(kMacroDelay, 20, 3)});
    Click(kEventDelete);  // nothing chosen: nothing deleted
    EXPECT_EQ(Rows(id).size(), 5u);
    ClickRow(Events(), 3);
    Click(kEventDelete);
    EXPECT_EQ(Stored(id), (std::vector<std::string>{Delay(5), Delay(10), Delay(20)}));
    EXPECT_EQ(Events()->GetCurSel(), 2);  // the row now in its place, ready for another Delete
    Click(kEventClear);
    EXPECT_TRUE(Rows(id).empty());
    EXPECT_EQ(Events()->GetItemCount(), 0);
}

}  // namespace
}  // namespace quorvel::test
