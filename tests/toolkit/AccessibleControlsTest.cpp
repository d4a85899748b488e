// What a screen reader is told about the custom controls, read through Qt's accessibility layer as an
// assistive technology reads it.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QButtonGroup>
#include <functional>
#include <memory>

#include "ToolkitTestSupport.h"
#include "toolkit/Accessible.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/CColorButton.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/CRecordList.h"
#include "toolkit/DPIControl.h"
#include "toolkit/DPISlider.h"
#include "toolkit/MTabCtrl.h"
#include "toolkit/MacroList.h"
#include "toolkit/MouseCtrl.h"
#include "toolkit/MouseKeyCtrl.h"
#include "toolkit/ReporteCtrl.h"

namespace quorvel {
namespace {

QAccessibleInterface* Query(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w);
}

// Before any control is made: Qt keeps the first interface it made for a widget, and a widget asks for
// one as soon as it changes its accessible name.
class AccessibleControls : public ::testing::Test {
protected:
    void SetUp() override { InstallAccessibleControls(); }
};

QStringList ChildNames(QAccessibleInterface* iface) {
    QStringList names;
    for (int i = 0; i < iface->childCount(); ++i) names << iface->child(i)->text(QAccessible::Name);
    return names;
}

// Each item control: its role, its name, the selected item as its value, and one child per item.
TEST_F(AccessibleControls, ItemControlsGiveRoleNameValueAndItems) {
    struct Case {
        const char* what;
        std::function<QWidget*()> make;  // a control with three items, the second selected, named "Words"
        QAccessible::Role role, itemRole;
        QStringList items;
    };
    const Case cases[] = {
        {"report rate",
         [] {
             auto* c = new ReporteCtrl;
             for (int hz : {125, 500, 1000}) c->AddItem(QStringLiteral("%1Hz").arg(hz), hz);
             c->SetSelectItem(1);
             return c;
         },
         QAccessible::List,
         QAccessible::RadioButton,
         {"125Hz", "500Hz", "1000Hz"}},
        {"tab strip",
         [] {
             auto* c = new MTabCtrl;
             c->InsertItem(1, "Home", "");
             c->InsertItem(2, "Buttons", "");
             c->InsertItem(3, "Performance", "");
             c->SetCurSel(1);
             return c;
         },
         QAccessible::PageTabList,
         QAccessible::PageTab,
         {"Home", "Buttons", "Performance"}},
        {"mouse picture",
         [] {
             auto* c = new MouseCtrl;
             // Buttons on the picture, captions out at its sides.
             const QSize s = c->ImageSize();
             auto at = [s](double x, double y) { return QPoint(int(s.width() * x), int(s.height() * y)); };
             c->AddItem("Left", 1, 0, at(0.3, 0.2), at(0.05, 0.2));
             c->AddItem("Right", 2, 1, at(0.7, 0.2), at(0.95, 0.2));
             c->AddItem("Wheel", 3, 1, at(0.5, 0.3), at(0.95, 0.4));
             c->SetSelectItem(1);
             return c;
         },
         QAccessible::List,
         QAccessible::ListItem,
         {"Left", "Right", "Wheel"}},
        {"button list",
         [] {
             auto* c = new MouseKeyCtrl;
             c->AddItem("Left", "Left click", 1);
             c->AddItem("Right", "Right click", 2);
             c->AddItem("Wheel", "Middle click", 3);
             c->SetSelectItem(1);
             return c;
         },
         QAccessible::List,
         QAccessible::ListItem,
         {"Left", "Right", "Wheel"}},
        {"device cards",
         [] {
             auto* c = new CDeviceList;
             c->AddDevice("R1", 101, "");
             c->AddDevice("R2", 102, "");
             c->AddDevice("R3", 103, "");
             c->SetSelectDevice(102);
             return c;
         },
         QAccessible::List,
         QAccessible::ListItem,
         {"R1", "R2", "R3"}},
        {"DPI levels",
         [] {
             auto* c = new DPIControl;
             c->AddItem(400, 0xFF);
             c->AddItem(800, 0xFF00);
             c->AddItem(1600, 0xFF0000);
             c->SetSelectItem(1);
             return c;
         },
         QAccessible::List,
         QAccessible::ListItem,
         {"400 DPI", "800 DPI", "1600 DPI"}},
        {"macro list",
         [] {
             auto* c = new MacroList;
             c->AddString("Copy", 1);
             c->AddString("Paste", 2);
             c->AddString("Burst", 3);
             c->SetCurSel(1);
             return c;
         },
         QAccessible::List,
         QAccessible::ListItem,
         {"Copy", "Paste", "Burst"}},
        {"event list",
         [] {
             auto* c = new CRecordList;
             c->AddString("A down", kRecordKeyDown, 65, 1);
             c->AddString("50 ms", kRecordDelay, 50, 0);
             c->AddString("A up", kRecordKeyUp, 65, 1);
             c->SetCurSel(1);
             return c;
         },
         QAccessible::List,
         QAccessible::ListItem,
         {"A down", "50 ms", "A up"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<QWidget> control(c.make());
        control->setAccessibleName("Words");
        control->resize(1000, 400);
        control->show();
        QAccessibleInterface* iface = Query(control.get());
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), c.role);
        EXPECT_EQ(iface->text(QAccessible::Name), "Words");
        EXPECT_EQ(iface->text(QAccessible::Value), c.items[1]);
        ASSERT_EQ(iface->childCount(), 3);
        EXPECT_EQ(ChildNames(iface), c.items);
        for (int i = 0; i < 3; ++i) {
            QAccessibleInterface* item = iface->child(i);
            EXPECT_EQ(item->role(), c.itemRole) << i;
            EXPECT_EQ(item->parent(), iface);
            EXPECT_EQ(iface->indexOfChild(item), i);
            const QAccessible::State state = item->state();
            EXPECT_EQ(state.selected || state.checked, i == 1) << i;
            // A reader points at the item where it is drawn (cards on another page are not drawn).
            if (state.invisible) continue;
            const QRect global(control->mapToGlobal(QPoint(0, 0)), control->size());
            EXPECT_TRUE(global.contains(item->rect().center())) << i;
            EXPECT_EQ(iface->childAt(item->rect().center().x(), item->rect().center().y()), item) << i;
        }
    }
}

// The reader's "press" on an item is the user's pick, with the control's own signal.
TEST_F(AccessibleControls, PressingAnItemPicksIt) {
    ReporteCtrl rate;
    for (int hz : {125, 500, 1000}) rate.AddItem(QStringLiteral("%1Hz").arg(hz), hz);
    rate.resize(400, 40);
    test::SignalLog picked(&rate, &ReporteCtrl::itemClicked);
    QAccessibleInterface* item = Query(&rate)->child(2);
    ASSERT_TRUE(item->actionInterface());
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(rate.GetSelectItem(), 2);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.last()[0].toInt(), 2);

    MacroList macros;
    macros.AddString("Copy", 1);
    macros.AddString("Paste", 2);
    macros.resize(300, 200);
    test::SignalLog clicked(&macros, &RowList::itemClicked);
    Query(&macros)->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(macros.GetCurSel(), 1);
    EXPECT_EQ(clicked.count(), 1);

    // A disabled control is not picked through its reader either.
    rate.setEnabled(false);
    Query(&rate)->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(rate.GetSelectItem(), 2);
}

// Items are read when asked: a language change (new item texts) or fewer items show at once, and an item
// interface kept from before a clear answers as gone instead of reading past the end.
TEST_F(AccessibleControls, ItemsFollowTheControl) {
    ReporteCtrl rate;
    rate.AddItem("125Hz", 125);
    rate.AddItem("500Hz", 500);
    QAccessibleInterface* iface = Query(&rate);
    QAccessibleInterface* second = iface->child(1);
    rate.SetItemText(1, "500 Hz");
    EXPECT_EQ(second->text(QAccessible::Name), "500 Hz");
    rate.setAccessibleName("Polling rate");
    EXPECT_EQ(iface->text(QAccessible::Name), "Polling rate");

    rate.DeleteAllItems();
    rate.AddItem("1000Hz", 1000);
    EXPECT_EQ(iface->childCount(), 1);
    EXPECT_EQ(iface->child(1), nullptr);
    EXPECT_FALSE(second->isValid());
    EXPECT_TRUE(second->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(iface->text(QAccessible::Value), QString()) << "nothing selected";
}

// Hidden tabs and cards on another page are items a reader does not show.
TEST_F(AccessibleControls, ItemsThatDoNotShowAreInvisible) {
    MTabCtrl strip;
    strip.InsertItem(1, "Home", "");
    strip.InsertItem(5, "Lighting", "");
    strip.SetItemVisible(1, false);
    strip.resize(200, 300);
    strip.show();
    QAccessibleInterface* iface = Query(&strip);
    EXPECT_FALSE(iface->child(0)->state().invisible);
    EXPECT_TRUE(iface->child(1)->state().invisible);

    CDeviceList cards;
    cards.resize(400, 300);  // room for one card a page
    for (int type : {101, 102, 103, 104}) cards.AddDevice(QStringLiteral("R%1").arg(type - 100), type, "");
    cards.show();
    ASSERT_GT(cards.GetPageCount(), 1);
    QAccessibleInterface* list = Query(&cards);
    EXPECT_FALSE(list->child(0)->state().invisible);
    EXPECT_TRUE(list->child(cards.GetDeviceCount() - 1)->state().invisible);
}

// A card tells its state in the words the front end set, with battery and firmware once known.
TEST_F(AccessibleControls, DeviceCardDescribesItsState) {
    CDeviceList cards;
    DeviceListTexts words;
    words.connected = "Verbunden";
    words.disconnected = "Nicht verbunden";
    words.wired = "Kabel";
    words.wireless = "Funk";
    words.version = "Firmware";
    cards.SetTexts(words);
    cards.AddDevice("R2", 102, "");
    cards.AddDevice("R3", 103, "");
    cards.SetDeviceState(103, 1, 1);
    cards.SetDeviceBattery(103, 0, 80);
    cards.SetDeviceVersion(103, 0x0103);
    QAccessibleInterface* iface = Query(&cards);
    EXPECT_EQ(iface->child(0)->text(QAccessible::Description), "Nicht verbunden, Kabel");
    EXPECT_EQ(iface->child(1)->text(QAccessible::Description), "Verbunden, Funk, 80%, Firmware 1.03");
}

// Controls with one value: the battery and the sliders as ranges, the colour buttons by their colour.
TEST_F(AccessibleControls, ValueControls) {
    BatteryCtrl battery;
    battery.setAccessibleName("Battery");
    QAccessibleInterface* b = Query(&battery);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(QAccessible::Name), "Battery");
    EXPECT_EQ(b->text(QAccessible::Value), "-") << "not reported";
    battery.SetBatteryInfo(80, 0);
    EXPECT_EQ(b->text(QAccessible::Value), "80%");
    ASSERT_TRUE(b->valueInterface());
    EXPECT_EQ(b->valueInterface()->currentValue().toInt(), 80);
    EXPECT_EQ(b->valueInterface()->maximumValue().toInt(), 100);

    DPISlider slider;
    slider.SetRange(100, 26000);
    slider.SetProgress(800);
    QAccessibleInterface* s = Query(&slider);
    EXPECT_EQ(s->role(), QAccessible::Slider);
    EXPECT_EQ(s->text(QAccessible::Value), "800");
    slider.SetValueText("800 DPI");
    EXPECT_EQ(s->text(QAccessible::Value), "800 DPI") << "the text the slider shows";
    EXPECT_EQ(s->valueInterface()->minimumValue().toInt(), 100);
    EXPECT_EQ(s->valueInterface()->maximumValue().toInt(), 26000);

    // Stored colours hold red in the low byte.
    QWidget parent;
    CColorButton plain(0x0000FF, QString(), &parent);
    QAccessibleInterface* c = Query(&plain);
    EXPECT_EQ(c->role(), QAccessible::Button);
    EXPECT_EQ(c->text(QAccessible::Name), "#FF0000") << "no name: the colour";
    EXPECT_EQ(c->text(QAccessible::Value), "#FF0000");
    plain.setAccessibleName("Red");
    EXPECT_EQ(c->text(QAccessible::Name), "Red");

    // One of an exclusive group is a radio button, checked when chosen; the reader's press chooses it.
    QButtonGroup group;
    auto* blue = new CColorButton(0xFF0000, QString(), &parent);
    auto* green = new CColorButton(0x00FF00, QString(), &parent);
    blue->SetGroup(&group);
    green->SetGroup(&group);
    blue->SetCheck(true);
    QAccessibleInterface* g = Query(green);
    EXPECT_EQ(g->role(), QAccessible::RadioButton);
    EXPECT_TRUE(g->state().checkable);
    EXPECT_FALSE(g->state().checked);
    g->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(green->GetCheck());
    EXPECT_TRUE(g->state().checked);
    EXPECT_FALSE(Query(blue)->state().checked);
}

}  // namespace
}  // namespace quorvel
