#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <functional>

#include "ToolkitTestSupport.h"
#include "toolkit/DPIControl.h"
#include "toolkit/DPISlider.h"
#include "toolkit/LightSlider.h"
#include "toolkit/ReporteCtrl.h"

namespace quorvel {
namespace {

using test::SignalLog;

// Six levels across 720 x 120: cards of (720 - 5 * 10) / 6 wide.
class DpiLevels : public ::testing::Test {
protected:
    void SetUp() override {
        control.resize(720, 120);
        const int values[] = {400, 800, 1600, 3200, 6400, 26000};
        for (int i = 0; i < 6; ++i) control.AddItem(values[i], 0x0000FF << i);
        control.SetSelectItem(1);
    }
    QPoint Card(int level) const { return {static_cast<int>(level * (111.67 + 10) + 55), 60}; }
    QPoint Swatch(int level) const { return {static_cast<int>(level * (111.67 + 10) + 111.67 - 22), 22}; }
    QLineEdit* Editor() { return control.findChild<QLineEdit*>(); }
    DPIControl control;
};

TEST_F(DpiLevels, DataOperations) {
    EXPECT_EQ(control.GetItemCount(), 6);
    EXPECT_EQ(control.GetDPIValue(5), 26000);
    EXPECT_EQ(control.GetDPIColorValue(2), 0x0000FF << 2);
    control.SetDPIValue(3, 4000);
    control.SetDPIColorValue(3, 0x123456);
    EXPECT_EQ(control.GetDPIValue(3), 4000);
    EXPECT_EQ(control.GetDPIColorValue(3), 0x123456);
    // A refresh sets seven levels before the list is rebuilt: levels that do not exist are left alone.
    control.SetDPIValue(6, 999);
    control.SetDPIColorValue(-1, 1);
    EXPECT_EQ(control.GetItemCount(), 6);
    EXPECT_EQ(control.GetDPIValue(6), 0);
    EXPECT_EQ(control.GetDPIValue(-1), 0);
    control.SetSelectItem(9);
    EXPECT_EQ(control.GetSelectItem(), -1);
    control.SetSelectItem(4);
    EXPECT_EQ(control.GetSelectItem(), 4);
    control.ClearList();
    EXPECT_EQ(control.GetItemCount(), 0);
    EXPECT_EQ(control.GetSelectItem(), -1);
    EXPECT_EQ(control.AddItem(800, 255), 0);
}

TEST_F(DpiLevels, PointerAndKeyEvents) {
    SignalLog clicked(&control, &DPIControl::levelClicked);
    SignalLog colour(&control, &DPIControl::colorClicked);
    SignalLog started(&control, &DPIControl::editStarted);
    SignalLog finished(&control, &DPIControl::editFinished);
    struct Step {
        const char* what;
        std::function<void()> act;
        int selected;
        QList<QVariantList> clicks, colours, starts, ends;
    } steps[] = {
        {"click level 3", [&] { test::Click(control, Card(3)); }, 3, {{3}}, {}, {}, {}},
        {"click the swatch of level 5: asks for a colour, selects nothing",
         [&] { test::Click(control, Swatch(5)); },
         3,
         {},
         {{5}},
         {},
         {}},
        {"click between the cards",
         [&] {
             test::Click(control, {116, 60});
         },
         3,
         {},
         {},
         {},
         {}},
        {"double click level 0 edits it",
         [&] { test::DoubleClick(control, Card(0)); },
         0,
         {{0}},
         {},
         {{0}},
         {}},
        {"type and press Enter",
         [&] {
             Editor()->setText("12345");
             test::KeyClick(*Editor(), Qt::Key_Return);
         },
         0,
         {},
         {},
         {},
         {{0, "12345"}}},
        {"click the value of the selected card edits it",
         [&] { test::Click(control, Card(0)); },
         0,
         {{0}},
         {},
         {{0}},
         {}},
        {"Escape drops the edit without an end",
         [&] { test::KeyClick(*Editor(), Qt::Key_Escape); },
         0,
         {},
         {},
         {},
         {}},
        {"right arrow", [&] { test::KeyClick(control, Qt::Key_Right); }, 1, {{1}}, {}, {}, {}},
        {"F2 edits the selected level", [&] { test::KeyClick(control, Qt::Key_F2); }, 1, {}, {}, {{1}}, {}},
        {"EndEdit ends it as losing the focus would",
         [&] { control.EndEdit(); },
         1,
         {},
         {},
         {},
         {{1, "800"}}},
        {"the arrows stop at the first level and pick it again",
         [&] {
             test::KeyClick(control, Qt::Key_Left);
             test::KeyClick(control, Qt::Key_Left);
         },
         0,
         {{0}, {0}},
         {},
         {},
         {}},
        {"and at the last",
         [&] {
             control.SetSelectItem(5);
             test::KeyClick(control, Qt::Key_Right);
         },
         5,
         {{5}},
         {},
         {},
         {}},
    };
    for (const Step& s : steps) {
        clicked.clear();
        colour.clear();
        started.clear();
        finished.clear();
        s.act();
        EXPECT_EQ(control.GetSelectItem(), s.selected) << s.what;
        EXPECT_EQ(clicked.calls, s.clicks) << s.what;
        EXPECT_EQ(colour.calls, s.colours) << s.what;
        EXPECT_EQ(started.calls, s.starts) << s.what;
        EXPECT_EQ(finished.calls, s.ends) << s.what;
    }
    EXPECT_EQ(control.GetEditText(), QString("800"));
    // The editor takes digits only (a DPI value), at most five.
    control.EditItem(2);
    Editor()->clear();
    test::TypeText(*Editor(), "4a5b000000");
    EXPECT_EQ(Editor()->text(), QString("45000"));
    control.CancelEdit();
    EXPECT_FALSE(control.IsEditing());
}

TEST(DpiSlider, ProgressAndEvents) {
    DPISlider slider;
    slider.resize(540, 40);  // the track runs from the thumb's half width to the other end
    slider.SetRange(0, 520);
    SignalLog moved(&slider, &SkinSlider::progressMoved);
    SignalLog released(&slider, &SkinSlider::progressReleased);

    slider.SetProgress(600);  // clamped, and code never reports
    EXPECT_EQ(slider.GetProgress(), 520);
    slider.SetProgress(-5);
    EXPECT_EQ(slider.GetProgress(), 0);
    EXPECT_EQ(moved.count() + released.count(), 0);

    // A drag from the start to the far end: every position passed is reported, the last on release too.
    test::Drag(slider, {{5, 20}, {200, 20}, {400, 20}, {539, 20}});
    ASSERT_GE(moved.count(), 2);
    EXPECT_EQ(moved.last(), QVariantList{520});
    EXPECT_EQ(released.calls, QList<QVariantList>{{520}});

    moved.clear();
    released.clear();
    slider.setFocus();
    test::KeyClick(slider, Qt::Key_Left);
    test::KeyClick(slider, Qt::Key_PageDown);
    test::KeyClick(slider, Qt::Key_Home);
    test::KeyClick(slider, Qt::Key_Home);  // already there: nothing
    EXPECT_EQ(moved.calls, (QList<QVariantList>{{519}, {509}, {0}}));
    EXPECT_EQ(released.calls, (QList<QVariantList>{{519}, {509}, {0}}));

    slider.SetDPIDesc("26000", "50");
    EXPECT_EQ(slider.GetMaximumText(), QString("26000"));
    EXPECT_EQ(slider.GetStepText(), QString("50"));
}

// The wheel changes a slider only while it has the focus: scrolling a page must not change the DPI.
TEST(LightSlider, WheelOnlyWhenFocused) {
    QWidget window;
    auto* slider = new LightSlider(&window);
    auto* other = new LightSlider(&window);
    slider->resize(200, 30);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(slider->GetMaximum(), 4);
    slider->SetProgress(2);
    SignalLog released(slider, &SkinSlider::progressReleased);
    other->setFocus();
    test::Wheel(*slider, {100, 15}, 1);
    EXPECT_EQ(slider->GetProgress(), 2);
    slider->setFocus();
    test::Wheel(*slider, {100, 15}, 1);
    test::Wheel(*slider, {100, 15}, 1);
    test::Wheel(*slider, {100, 15}, 1);
    EXPECT_EQ(slider->GetProgress(), 4);
    EXPECT_EQ(released.calls, (QList<QVariantList>{{3}, {4}}));
}

TEST(ReportRate, ItemsSelectionAndClicks) {
    ReporteCtrl rates;
    rates.resize(7 * 80 + 6 * 8, 36);
    const struct {
        const char* text;
        int code;
    } entries[] = {{"125Hz", 8}, {"250Hz", 4}, {"500Hz", 2}, {"1000Hz", 1}};
    for (const auto& e : entries) rates.AddItem(e.text, e.code, 0);
    EXPECT_EQ(rates.GetItemCount(), 4);
    EXPECT_EQ(rates.GetItemKeyValue(1), 4);
    EXPECT_EQ(rates.GetItemKeyValue(4), -1);
    EXPECT_EQ(rates.GetItemText(3), QString("1000Hz"));

    struct Case {
        int code;
        int index;
    } select[] = {{1, 3}, {8, 0}, {64, -1}, {2, 2}};
    for (const Case& c : select) {
        rates.SetSelectItemValue(c.code);
        EXPECT_EQ(rates.GetSelectItem(), c.index) << c.code;
    }

    SignalLog clicked(&rates, &ReporteCtrl::itemClicked);
    test::Click(rates, {88 + 40, 18});      // second segment
    test::Click(rates, {7 * 88 - 20, 18});  // the seventh slot holds no item
    rates.setFocus();
    test::KeyClick(rates, Qt::Key_Right);
    test::KeyClick(rates, Qt::Key_Left);
    test::KeyClick(rates, Qt::Key_Left);
    test::KeyClick(rates, Qt::Key_Left);  // at the first already
    EXPECT_EQ(clicked.calls, (QList<QVariantList>{{1}, {2}, {1}, {0}}));
    EXPECT_EQ(rates.GetSelectItem(), 0);
    rates.DeleteAllItems();
    EXPECT_EQ(rates.GetSelectItem(), -1);
    EXPECT_EQ(rates.GetItemCount(), 0);
}

}  // namespace
}  // namespace quorvel
