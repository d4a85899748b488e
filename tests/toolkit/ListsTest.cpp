#include <gtest/gtest.h>

#include <QLineEdit>
#include <functional>

#include "ToolkitTestSupport.h"
#include "toolkit/CRecordList.h"
#include "toolkit/MacroList.h"

namespace quorvel {
namespace {

using test::SignalLog;

// Rows of 40 with 6 between them, from 6 down: row i spans 6 + 46 i to 46 + 46 i.
QPoint MacroRow(int i) {
    return {100, 6 + 46 * i + 20};
}
// The "more" image sits at the right end of a row.
QPoint MacroMore(int i, int width) {
    return {width - 6 - 8 - 14, 6 + 46 * i + 20};
}

TEST(MacroList, ItemsByIndexAndData) {
    MacroList list;
    list.resize(300, 400);
    EXPECT_EQ(list.AddString("Custom 1", 11), 0);
    EXPECT_EQ(list.AddString("Custom 2", 12, -1), 1);
    EXPECT_EQ(list.AddString("First", 10, 0), 0);
    EXPECT_EQ(list.AddString("Past the end", 13, 9), 3);
    EXPECT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetItemText(1), QString("Custom 1"));
    EXPECT_EQ(list.GetItemData(3), 13);
    EXPECT_EQ(list.GetItemData(4), 0);
    EXPECT_TRUE(list.ModifyItemString(2, "Renamed"));
    EXPECT_FALSE(list.ModifyItemString(7, "x"));
    EXPECT_EQ(list.GetItemText(2), QString("Renamed"));

    // The selection follows its row through inserts and deletes; deleting it selects nothing.
    list.SetCurSel(2);
    list.AddString("Inserted", 20, 1);
    EXPECT_EQ(list.GetCurSel(), 3);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_TRUE(list.DeleteItem(2));
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_FALSE(list.DeleteItem(5));
    list.SetCurSel(8);
    EXPECT_EQ(list.GetCurSel(), -1);
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST(MacroList, ClicksMenusAndRenames) {
    MacroList list;
    list.resize(300, 400);
    for (int i = 0; i < 3; ++i) list.AddString(QString("Macro %1").arg(i + 1), i + 1);
    list.show();
    QWidget& area = *list.viewport();
    SignalLog clicked(&list, &RowList::itemClicked);
    SignalLog more(&list, &RowList::moreClicked);
    SignalLog renamed(&list, &MacroList::renamed);
    auto editor = [&] { return list.findChild<QLineEdit*>(); };
    const int w = area.width();
    struct Step {
        const char* what;
        std::function<void()> act;
        int selected;
        QList<int> clicks, menus;
        QList<QVariantList> renames;
    } steps[] = {
        {"click row 1", [&] { test::Click(area, MacroRow(1)); }, 1, {1}, {}, {}},
        {"its more image: the menu only", [&] { test::Click(area, MacroMore(1, w)); }, 1, {}, {1}, {}},
        {"another row's more image selects that row first",
         [&] { test::Click(area, MacroMore(2, w)); },
         2,
         {2},
         {2},
         {}},
        {"below the rows", [&] { test::Click(area, MacroRow(5)); }, 2, {}, {}, {}},
        {"double click renames in place; Enter ends it",
         [&] {
             test::DoubleClick(area, MacroRow(0));
             editor()->setText("Sprint");
             test::KeyClick(*editor(), Qt::Key_Return);
         },
         0,
         {0},
         {},
         {{0, "Sprint"}}},
        {"an emptied name is reported as typed (the page puts the stored name back)",
         [&] {
             list.EditItem(1);
             editor()->clear();
             test::KeyClick(*editor(), Qt::Key_Enter);
         },
         1,
         {},
         {},
         {{1, ""}}},
        {"Escape drops the rename",
         [&] {
             list.EditItem(2);
             editor()->setText("never");
             test::KeyClick(*editor(), Qt::Key_Escape);
         },
         2,
         {},
         {},
         {}},
        {"key down from the last row", [&] { test::KeyClick(list, Qt::Key_Down); }, 2, {}, {}, {}},
        {"key home", [&] { test::KeyClick(list, Qt::Key_Home); }, 0, {0}, {}, {}},
    };
    for (const Step& s : steps) {
        clicked.clear();
        more.clear();
        renamed.clear();
        s.act();
        EXPECT_EQ(list.GetCurSel(), s.selected) << s.what;
        QList<int> clicks, menus;
        for (const auto& c : clicked.calls) clicks << c.at(0).toInt();
        for (const auto& c : more.calls) menus << c.at(0).toInt();
        EXPECT_EQ(clicks, s.clicks) << s.what;
        EXPECT_EQ(menus, s.menus) << s.what;
        EXPECT_EQ(renamed.calls, s.renames) << s.what;
    }
    EXPECT_EQ(list.GetItemText(0), QString("Sprint"));
    EXPECT_EQ(list.GetItemText(1), QString(""));
    EXPECT_EQ(list.GetItemText(2), QString("Macro 3"));
}

// A recorded key and a click inserted by hand: presses and releases pair by id, delays have their own.
class EventList : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(400, 600);
        list.AddString("\u2193  A", kRecordKeyDown, 0x41, 100);
        list.AddString("50 ms", kRecordDelay, 50, 101);
        list.AddString("\u2191  A", kRecordKeyUp, 0x41, 102);
        list.AddString("\u2193  LB", kRecordButtonDown, 1, 500);
        list.AddString("10 ms", kRecordDelay, 10, 501);
        list.AddString("\u2191  LB", kRecordButtonUp, 1, 500);
        list.AddString("10 ms", kRecordDelay, 10, 502);
    }
    QStringList Texts() const {
        QStringList texts;
        for (const RecordItem& item : list.GetRecordItems()) texts << item.text;
        return texts;
    }
    CRecordList list;
};

TEST_F(EventList, CountsAndRecords) {
    EXPECT_EQ(list.GetItemCount(), 7);
    EXPECT_EQ(list.GetEventCount(), 4);  // delays are not events of their own
    RecordItem item;
    ASSERT_TRUE(list.GetRecordInfo(3, &item));
    EXPECT_EQ(item, (RecordItem{"\u2193  LB", kRecordButtonDown, 1, 500}));
    EXPECT_FALSE(list.GetRecordInfo(7, &item));
    EXPECT_EQ(list.GetRecordTimeStamp(5), 500);
    EXPECT_EQ(list.GetRecordTimeStamp(9), 0);
    EXPECT_EQ(list.GetSelectEvent(), -1);

    // Insert before an index, or append with -1 or past the end.
    EXPECT_EQ(list.InsertString(1, "\u2193  B", kRecordKeyDown, 0x42, 7), 1);
    EXPECT_EQ(list.InsertString(-1, "end", kRecordDelay, 5, 8), 8);
    EXPECT_EQ(list.InsertString(42, "end 2", kRecordDelay, 5, 9), 9);
    EXPECT_EQ(list.GetEventCount(), 5);
    EXPECT_TRUE(list.SetRecordInfo(0, "\u2193  C", kRecordKeyDown, 0x43, 100));
    EXPECT_FALSE(list.SetRecordInfo(10, "x", 1, 1, 1));
    EXPECT_EQ(list.GetRecordItems().at(0), (RecordItem{"\u2193  C", kRecordKeyDown, 0x43, 100}));
}

TEST_F(EventList, PairedItemsChangeTogether) {
    // The button pair shares id 500: both change; the delay with the same id but another type does not.
    list.AddString("id clash", kRecordDelay, 1, 500);
    EXPECT_EQ(list.SetRecordInfoById(500, kRecordButtonDown, "\u2193  RB", 2), 1);
    EXPECT_EQ(list.SetRecordInfoById(500, kRecordButtonUp, "\u2191  RB", 2), 1);
    EXPECT_EQ(list.SetRecordInfoById(999, kRecordKeyDown, "none", 0), 0);
    EXPECT_EQ(Texts(), (QStringList{"\u2193  A", "50 ms", "\u2191  A", "\u2193  RB", "10 ms", "\u2191  RB",
                                    "10 ms", "id clash"}));
    EXPECT_EQ(list.GetRecordItems().at(5).value, 2);
}

TEST_F(EventList, MovesKeepTheSelectionOnTheMovedRow) {
    struct Step {
        const char* what;
        std::function<bool()> act;
        bool done;
        int selected;
        QStringList order;
    } steps[] = {
        {"select the third",
         [&] {
             list.SetCurSel(2);
             return true;
         },
         true,
         2,
         {"\u2193  A", "50 ms", "\u2191  A", "\u2193  LB", "10 ms", "\u2191  LB", "10 ms"}},
        {"up",
         [&] { return list.SwapItem(2, 1); },
         true,
         1,
         {"\u2193  A", "\u2191  A", "50 ms", "\u2193  LB", "10 ms", "\u2191  LB", "10 ms"}},
        {"to the bottom",
         [&] { return list.MoveBottom(1); },
         true,
         6,
         {"\u2193  A", "50 ms", "\u2193  LB", "10 ms", "\u2191  LB", "10 ms", "\u2191  A"}},
        {"down from the last",
         [&] { return list.SwapItem(6, 7); },
         false,
         6,
         {"\u2193  A", "50 ms", "\u2193  LB", "10 ms", "\u2191  LB", "10 ms", "\u2191  A"}},
        {"another row to the top: the selection stays on its row",
         [&] { return list.MoveTop(4); },
         true,
         6,
         {"\u2191  LB", "\u2193  A", "50 ms", "\u2193  LB", "10 ms", "10 ms", "\u2191  A"}},
        {"a row from above the selection to below it",
         [&] {
             list.SetCurSel(3);
             return list.MoveBottom(0);
         },
         true,
         2,
         {"\u2193  A", "50 ms", "\u2193  LB", "10 ms", "10 ms", "\u2191  A", "\u2191  LB"}},
        {"the top to the top",
         [&] { return list.MoveTop(0); },
         false,
         2,
         {"\u2193  A", "50 ms", "\u2193  LB", "10 ms", "10 ms", "\u2191  A", "\u2191  LB"}},
        {"delete the selected",
         [&] { return list.DeleteItem(2); },
         true,
         -1,
         {"\u2193  A", "50 ms", "10 ms", "10 ms", "\u2191  A", "\u2191  LB"}},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.act(), s.done) << s.what;
        EXPECT_EQ(list.GetCurSel(), s.selected) << s.what;
        EXPECT_EQ(Texts(), s.order) << s.what;
    }
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetEventCount(), 0);
}

TEST_F(EventList, ClicksOnRowsAndTheirMenus) {
    list.SetHeaderTexts({"No.", "Event", "Options"});
    list.show();
    QWidget& area = *list.viewport();
    SignalLog clicked(&list, &RowList::itemClicked);
    SignalLog more(&list, &RowList::moreClicked);
    // Under a header of 30: rows of 34 with 6 between them.
    auto row = [](int i) { return QPoint(120, 30 + 6 + 40 * i + 17); };
    test::Click(area, row(2));
    test::Click(area, {area.width() - 6 - 8 - 13, row(2).y()});
    test::Click(area, {120, 15});  // the header
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.last(), QVariantList{2});
    ASSERT_EQ(more.count(), 1);
    EXPECT_EQ(more.last().at(0), QVariant(2));
    EXPECT_EQ(list.GetSelectEvent(), 2);
}

}  // namespace
}  // namespace quorvel
