// Button page actions: the exact rows stored, protection of the primary button, the key slot the task
// reads, pending macro uploads and the two resets.

#include "ActionsFixture.h"
#include "store/ButtonCodes.h"
#include "store/KeyCapture.h"
#include "sim/MouseMemory.h"

namespace quorvel::test {
namespace {

class ButtonActions : public ActionsTest {
protected:
    void SetUp() override {
        Make("102:wired");
        Offline(102);  // R2: buttons 0-5
    }
    // The stored row of a button: "type value value2 value3 desc", or "none".
    std::string Row(int keyCode, int profile = 0) {
        KeyAssignmentRecord r;
        if (!db_.GetKeyAssignment(profile != 0 ? profile : Profile(), keyCode, r)) return "none";
        EXPECT_EQ(r.fn_layer, 0);
        EXPECT_EQ(r.layout_value, 0);
        EXPECT_EQ(r.layout_desc, "");
        return std::to_string(r.macro_type) + " " + std::to_string(r.macro_value) + " " +
               std::to_string(r.macro_value2) + " " + std::to_string(r.macro_value3) + " " + r.macro_desc;
    }
};

TEST_F(ButtonActions, MenuChoicesStoreTheMenuText) {
    struct Case {
        int key;
        int type;
        int value;
        const char* row;
    };
    const Case cases[] = {
        {1, kMouseFunction, 1, "1 1 0 0 T106"},     {1, kMouseFunction, 4, "1 4 0 0 T180"},
        {2, kMediaFunction, 6, "3 6 0 0 T117"},     {3, kDpiFunction, 1, "5 1 0 0 DPI +"},
        {3, kDpiFunction, 2, "5 2 0 0 DPI -"},      {3, kDpiFunction, 3, "5 3 0 0 T142"},
        {4, kSpecialFunction, 2, "6 2 0 0 T181"},   {5, kShortcutFunction, 9, "8 9 0 0 T31"},
        {5, kShortcutFunction, 10, "8 10 0 0 T32"},
    };
    for (const Case& c : cases) {
        EXPECT_ACCEPTED(AssignMenuFunction(ctx(), c.key, c.type, c.value), kTaskWriteKeys);
        EXPECT_EQ(Row(c.key), c.row);
        EXPECT_EQ(core_->Snapshot().currentKeySlot, c.key);
    }
    std::vector<KeyAssignmentRecord> rows;
    EXPECT_EQ(db_.ListKeyAssignments(Profile(), rows), 5);  // one row per button
}

TEST_F(ButtonActions, MenusListOfferedValuesInMenuOrder) {
    std::vector<int> values;
    for (const MenuItem& m : FunctionMenu(ctx(), kMouseFunction)) values.push_back(m.value);
    EXPECT_EQ(values, (std::vector<int>{1, 3, 2, 5, 6, 4, 7, 8}));
    values.clear();
    for (const MenuItem& m : FunctionMenu(ctx(), kSpecialFunction)) values.push_back(m.value);
    EXPECT_EQ(values, (std::vector<int>{1, 2}));
    values.clear();
    for (const MenuItem& m : FunctionMenu(ctx(), kShortcutFunction)) values.push_back(m.value);
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 10}));
}

TEST_F(ButtonActions, RefusalsStoreNothing) {
    ASSERT_EQ(Row(1), "none");
    EXPECT_REFUSED(AssignMenuFunction(ctx(), 0, kMouseFunction, 3), "T175");
    EXPECT_REFUSED(AssignFixedFunction(ctx(), 0), "T175");
    EXPECT_REFUSED(AssignClickFunction(ctx(), 0, 5, 1), "T175");
    EXPECT_REFUSED(AssignKeyCombination(ctx(), 0, kModCtrl, 0x41), "T175");
    EXPECT_REFUSED(AssignMenuFunction(ctx(), 9, kMouseFunction, 3), "no button with key code 9");
    EXPECT_REFUSED(ResetButton(ctx(), 9), "no button with key code 9");
    EXPECT_REFUSED(AssignMenuFunction(ctx(), 1, kKeyboardKey, 4), "not chosen from a menu");
    EXPECT_REFUSED(AssignMenuFunction(ctx(), 1, kMouseFunction, 9), "not in the menu");
    EXPECT_REFUSED(AssignMenuFunction(ctx(), 1, kSpecialFunction, 3), "not in the menu");
    EXPECT_REFUSED(AssignMenuFunction(ctx(), 1, kMacroFunction, 42), "no macro with id 42");
    EXPECT_REFUSED(AssignKeyCombination(ctx(), 1, 0, 0), "give a key");
    EXPECT_REFUSED(AssignKeyCombination(ctx(), 1, 0x100, 0x41), "modifier bits");
    EXPECT_REFUSED(AssignKeyCombination(ctx(), 1, 0, 0xA2), "modifiers here");
    EXPECT_REFUSED(AssignKeyCombination(ctx(), 1, kModCtrl, 0xAD), "0xAD");
    std::vector<KeyAssignmentRecord> rows;
    EXPECT_EQ(db_.ListKeyAssignments(Profile(), rows), 0);
}

TEST_F(ButtonActions, KeyCombinations) {
    struct Case {
        int modifiers;
        int virtualKey;
        std::optional<std::string> name;
        std::string row;
    };
    const Case cases[] = {
        {kModCtrl, 0x41, std::nullopt, "2 4 1 0 Ctrl + A"},
        {kModWin | kModAlt, 0, std::nullopt, "2 0 12 0 Win+ Alt"},
        {kModShift | kModCtrl, 0x74, std::nullopt, "2 62 3 0 Shift+ Ctrl + F5"},
        {0, 0x0D, std::nullopt, "2 40 0 0 " + CapturedKeyName(0x0D)},
        {0, 0x5B, std::nullopt, "2 227 0 0 Windows"},  // the Windows keys are keys like any other
        {kModAlt, 0x6C, std::nullopt, "2 88 4 0 Alt + Num Enter"},
        {kModCtrl, 0x43, std::string("Key C"), "2 6 1 0 Ctrl + Key C"},
    };
    for (const Case& c : cases) {
        EXPECT_ACCEPTED(AssignKeyCombination(ctx(), 2, c.modifiers, c.virtualKey, c.name), kTaskWriteKeys);
        EXPECT_EQ(Row(2), c.row);
    }
}

TEST_F(ButtonActions, ClickFunctionParametersAreClamped) {
    struct Case {
        int first, second;
        const char* row;
        const char* note;
    };
    const Case cases[] = {
        {5, 1, "7 5 1 0 T182", ""},
        {300, -1, "7 255 0 0 T182", "first parameter 300 -> 255 (5-255); second parameter -1 -> 0 (0-255)"},
        {3, 256, "7 5 255 0 T182", "first parameter 3 -> 5 (5-255); second parameter 256 -> 255 (0-255)"},
    };
    for (const Case& c : cases) {
        const ActionResult r = AssignClickFunction(ctx(), 3, c.first, c.second);
        EXPECT_ACCEPTED(r, kTaskWriteKeys);
        EXPECT_EQ(r.message, c.note);
        EXPECT_EQ(Row(3), c.row);
    }
    EXPECT_ACCEPTED(AssignFixedFunction(ctx(), 3), kTaskWriteKeys);
    EXPECT_EQ(Row(3), "9 1 0 0 T139");
}

// The request carries the button, and for a macro the upload of that button's macro, as they were when
// the change was made.
TEST_F(ButtonActions, RequestsCarryTheButtonAndItsMacroUpload) {
    const int id = db_.AddMacro("Custom 1");
    ASSERT_GT(id, 0);
    const ActionResult macro = AssignMenuFunction(ctx(), 4, kMacroFunction, id);
    EXPECT_ACCEPTED(macro, kTaskWriteKeys);
    EXPECT_EQ(Row(4), "4 " + std::to_string(id) + " 0 0 T351 1");  // the name as the menu shows it
    EXPECT_EQ(core_->Snapshot().currentKeySlot, 4);
    const ActionResult key = AssignFixedFunction(ctx(), 2);

    DeviceTaskRequest expected(kTaskWriteKeys);
    expected.deviceType = 102;
    expected.profile = Profile();
    expected.keySlot = 4;
    expected.macroSlot = 4;
    ASSERT_EQ(macro.tasks.size(), 1u);
    EXPECT_TRUE(macro.tasks[0] == expected);
    expected.keySlot = 2;
    expected.macroSlot = -1;
    ASSERT_EQ(key.tasks.size(), 1u);
    EXPECT_TRUE(key.tasks[0] == expected) << "the later change does not touch the earlier request";
    EXPECT_EQ(macro.tasks[0].keySlot, 4);
}

TEST_F(ButtonActions, ResettingOneButtonRemovesItsRow) {
    EXPECT_ACCEPTED(AssignFixedFunction(ctx(), 1), kTaskWriteKeys);
    EXPECT_ACCEPTED(ResetButton(ctx(), 1), kTaskWriteKeys);
    EXPECT_EQ(Row(1), "none");
    EXPECT_EQ(core_->Snapshot().currentKeySlot, 1);
    // The primary button can be reset although it cannot be reassigned.
    EXPECT_ACCEPTED(ResetButton(ctx(), 0), kTaskWriteKeys);
    EXPECT_EQ(core_->Snapshot().currentKeySlot, 0);
}

TEST_F(ButtonActions, ResetAllTouchesOnlyTheCurrentProfile) {
    EXPECT_ACCEPTED(AssignFixedFunction(ctx(), 1), kTaskWriteKeys);
    EXPECT_ACCEPTED(AssignFixedFunction(ctx(), 5), kTaskWriteKeys);
    core_->SetCurrentProfile(2);
    EXPECT_ACCEPTED(AssignFixedFunction(ctx(), 2), kTaskWriteKeys);
    core_->SetCurrentProfile(1);
    EXPECT_ACCEPTED(ResetAllButtons(ctx()), kTaskDefaultKeys);
    EXPECT_EQ(Row(1), "none");
    EXPECT_EQ(Row(5), "none");
    EXPECT_EQ(Row(2, 2), "9 1 0 0 T139");
    EXPECT_EQ(core_->Snapshot().currentKeySlot, 0);
}

TEST_F(ButtonActions, ListShowsDefaultsAndStoredAssignments) {
    EXPECT_ACCEPTED(AssignMenuFunction(ctx(), 2, kMediaFunction, 8), kTaskWriteKeys);
    const std::vector<ButtonInfo> buttons = ListButtons(ctx());
    ASSERT_EQ(buttons.size(), 6u);
    EXPECT_EQ(buttons[0].caption, "T106");
    EXPECT_EQ(buttons[0].description, "T106");
    EXPECT_FALSE(buttons[0].assigned);
    EXPECT_EQ(buttons[2].keyCode, 2);
    EXPECT_EQ(buttons[2].description, "T119");
    EXPECT_TRUE(buttons[2].assigned);
    EXPECT_EQ(buttons[5].macroType, kDpiFunction);
}

class ButtonPlaceholders : public ActionsTest {};

TEST_F(ButtonPlaceholders, BeforeADescriptorTheSixPlaceholdersAreTheButtons) {
    Make("102:wired");
    const std::vector<ButtonInfo> buttons = ListButtons(ctx());
    std::vector<int> codes;
    for (const ButtonInfo& b : buttons) codes.push_back(b.keyCode);
    EXPECT_EQ(codes, (std::vector<int>{0, 2, 1, 3, 4, 7}));
    EXPECT_EQ(buttons[5].caption, "T103 6");
    EXPECT_EQ(buttons[5].description, "T151");
}

}  // namespace
}  // namespace quorvel::test

namespace quorvel::test {
namespace {

class ButtonActionsOnTheMouse : public ActionsTest {};

// The key-table task of the feature family sends only the button the action chose, and a macro choice
// sends the macro's events to that button's slot.
TEST_F(ButtonActionsOnTheMouse, TheTaskSendsTheButtonTheActionChose) {
    Make("201:wired");
    Read();
    const ActionResult fixed = AssignFixedFunction(ctx(), 3);
    EXPECT_ACCEPTED(fixed, kTaskWriteKeys);
    EXPECT_EQ(Execute(fixed), std::vector<TaskStatus>{TaskStatus::Confirmed});
    EXPECT_EQ(sim_->Mouse(0).Memory().keys[3], (KeyCode{0x60, 0x00, 0x00}));

    const int id = db_.AddMacro("Burst");
    MacroEventRecord e;
    e.macro_id = id;
    e.type = 2;
    e.value = 0x41;
    e.desc = "↓  A";
    db_.AddMacroEvents({e});
    const ActionResult macro = AssignMenuFunction(ctx(), 4, kMacroFunction, id);
    EXPECT_ACCEPTED(macro, kTaskWriteKeys);
    EXPECT_EQ(Execute(macro), std::vector<TaskStatus>{TaskStatus::Confirmed});
    const MouseMemory memory = sim_->Mouse(0).Memory();
    EXPECT_EQ(memory.keys[4][0], 0x90);
    EXPECT_EQ(memory.macros.count(4), 1u);
}

}  // namespace
}  // namespace quorvel::test

namespace quorvel::test {
namespace {

class MacroLength : public ActionsTest {
protected:
    // A macro of `events` key presses.
    int MacroOf(int events) {
        const int id = db_.AddMacro("Long");
        std::vector<MacroEventRecord> rows;
        for (int i = 0; i < events; ++i) {
            MacroEventRecord e;
            e.macro_id = id;
            e.type = i % 2 == 0 ? 2 : 3;
            e.value = 0x41;
            rows.push_back(e);
        }
        db_.AddMacroEvents(rows);
        return id;
    }
};

// The packet count travels in a nibble: a macro needing more than 15 packets would never reach the mouse,
// so choosing it is refused with a message instead of being stored and silently not sent. The limit is the
// family's (6 events a packet with a 4-byte event and the slot byte, 25 bytes of 3-byte events).
TEST_F(MacroLength, AMacroTooLongForTheMouseIsRefusedWhenChosen) {
    struct Case {
        const char* mouse;
        int deviceType;
        int fits;  // events of the longest macro that fits in 15 packets
    };
    for (const Case& c : {Case{"102:wired", 102, 101}, Case{"201:wired", 201, 125}}) {
        Make(c.mouse);
        Offline(c.deviceType);
        const int longest = MacroOf(c.fits);
        const int tooLong = MacroOf(c.fits + 1);
        EXPECT_REFUSED(AssignMenuFunction(ctx(), 3, kMacroFunction, tooLong), "T790");
        KeyAssignmentRecord row;
        EXPECT_FALSE(db_.GetKeyAssignment(Profile(), 3, row)) << c.mouse;
        EXPECT_ACCEPTED(AssignMenuFunction(ctx(), 3, kMacroFunction, longest), kTaskWriteKeys);
        ASSERT_TRUE(db_.GetKeyAssignment(Profile(), 3, row)) << c.mouse;
        EXPECT_EQ(row.macro_value, longest);
        TearDown();
    }
}

// A key name given without a key (the key field still showing an earlier capture) describes nothing the
// mouse receives: only the modifiers are stored and shown.
TEST_F(ButtonActions, ANameWithoutAKeyIsNotStored) {
    EXPECT_ACCEPTED(AssignKeyCombination(ctx(), 2, kModCtrl, 0, std::string("A")), kTaskWriteKeys);
    EXPECT_EQ(Row(2), "2 0 1 0 Ctrl");
}

}  // namespace
}  // namespace quorvel::test
