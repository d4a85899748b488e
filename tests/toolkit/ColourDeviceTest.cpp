#include <gtest/gtest.h>

#include <QButtonGroup>
#include <functional>

#include "ToolkitTestSupport.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/CColorButton.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/MPalette.h"
#include "toolkit/Theme.h"

namespace quorvel {
namespace {

using test::SignalLog;

// Two groups under one parent, as the lighting page has them, and one button without a group.
TEST(ColorButton, GroupsKeepOneChoice) {
    QWidget page;
    CColorButton* presets[3];
    CColorButton* colourSlots[3];
    for (int i = 0; i < 3; ++i) {
        presets[i] = new CColorButton(0x0000FF << (8 * i), "DEFAULTCOLOR", &page);
        colourSlots[i] = new CColorButton(0x00FF00, "COLORVALUE", &page);
        presets[i]->resize(26, 26);
        colourSlots[i]->resize(26, 26);
    }
    auto* plain = new CColorButton(&page);
    plain->resize(26, 26);
    SignalLog clicked(presets[1], &QAbstractButton::clicked);
    auto checks = [&](CColorButton* const* group) {
        return QList<bool>{group[0]->GetCheck(), group[1]->GetCheck(), group[2]->GetCheck()};
    };
    colourSlots[0]->SetCheck(true);
    test::Click(*presets[1], {13, 13});
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(checks(presets), (QList<bool>{false, true, false}));
    test::Click(*presets[1], {13, 13});  // a checked one stays checked
    EXPECT_EQ(checks(presets), (QList<bool>{false, true, false}));
    test::Click(*presets[2], {13, 13});
    EXPECT_EQ(checks(presets), (QList<bool>{false, false, true}));
    EXPECT_EQ(checks(colourSlots), (QList<bool>{true, false, false}));  // the other group is untouched
    colourSlots[2]->SetCheck(true);
    EXPECT_EQ(checks(colourSlots), (QList<bool>{false, false, true}));
    for (CColorButton* preset : presets) preset->SetCheck(false);  // the palette unchecks every preset
    EXPECT_EQ(checks(presets), (QList<bool>{false, false, false}));
    test::Click(*plain, {13, 13});
    EXPECT_FALSE(plain->GetCheck());
    EXPECT_EQ(presets[1]->GetColor(), 0x00FF00);
    presets[1]->SetColor(0x123456);
    EXPECT_EQ(presets[1]->GetColor(), 0x123456);
}

// Groups the caller owns: two under one parent stay apart, and a button that leaves its group only reports.
TEST(ColorButton, ExplicitGroupsAndLeavingOne) {
    QWidget page;
    QButtonGroup first, second;
    CColorButton* buttons[4];
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new CColorButton(0x0000FF, QString(), &page);
        buttons[i]->resize(26, 26);
        buttons[i]->SetGroup(i < 2 ? &first : &second);
    }
    test::Click(*buttons[0], {13, 13});
    test::Click(*buttons[2], {13, 13});
    test::Click(*buttons[1], {13, 13});
    EXPECT_EQ((QList<bool>{buttons[0]->GetCheck(), buttons[1]->GetCheck(), buttons[2]->GetCheck()}),
              (QList<bool>{false, true, true}));
    buttons[1]->SetCheck(false);  // an exclusive group lets its checked button go only this way
    EXPECT_EQ(first.checkedButton(), nullptr);
    buttons[3]->SetGroup(static_cast<QButtonGroup*>(nullptr));
    test::Click(*buttons[3], {13, 13});
    EXPECT_FALSE(buttons[3]->GetCheck());
    EXPECT_TRUE(buttons[2]->GetCheck());
}

TEST(Palette, KeepsTheColourItWasGiven) {
    MPalette palette;
    palette.resize(170, 160);
    // Colours the field cannot show exactly (dark, grey, off-hue) come back unchanged.
    for (int colour : {0xD027FB, 0x000000, 0x808080, 0x010203, 0xFFFFFF, 0x00FF00}) {
        palette.SetSelectColor(colour);
        EXPECT_EQ(palette.GetSelectColor(), colour) << std::hex << colour;
    }
    palette.SetSelectColor(static_cast<int>(0xFF0000FFu));
    EXPECT_EQ(palette.GetSelectColor(), 0x0000FF);  // the high byte is not a colour
}

TEST(Palette, DraggingReportsEveryColourAndTheReleasedOne) {
    MPalette palette;
    palette.resize(170, 160);
    palette.SetSelectColor(0x000000);
    SignalLog changing(&palette, &MPalette::colorChanging);
    SignalLog picked(&palette, &MPalette::colorPicked);
    // Top of the field is full saturation; its left edge is red. From black the field brings the light up.
    test::Drag(palette, {{1, 1}, {40, 1}, {1, 1}});
    ASSERT_GE(changing.count(), 2);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.last().at(0).toInt(), 0x0000FF);
    EXPECT_EQ(palette.GetSelectColor(), 0x0000FF);
    EXPECT_EQ(changing.last(), picked.last());
    // The brightness strip at the bottom: black, same hue kept for the next pick.
    changing.clear();
    picked.clear();
    test::Drag(palette, {{165, 159}});
    EXPECT_EQ(picked.last().at(0).toInt(), 0x000000);
    test::Drag(palette, {{165, 0}});
    EXPECT_EQ(picked.last().at(0).toInt(), 0x0000FF);
}

TEST(Battery, LevelText) {
    BatteryCtrl battery;
    struct Case {
        int level, status;
        const char* text;
    } cases[] = {{80, 0, "80%"}, {0, 0, "-"}, {100, 1, "100%"}, {130, 0, "100%"}, {5, 1, "5%"}};
    for (const Case& c : cases) {
        battery.SetBatteryInfo(c.level, c.status);
        EXPECT_EQ(battery.LevelText(), QString(c.text)) << c.level;
        EXPECT_EQ(battery.GetBatteryLevel(), c.level);
        EXPECT_EQ(battery.GetBatteryStatus(), c.status);
    }
}

TEST(DeviceList, VersionText) {
    struct Case {
        quint32 release;
        const char* text;
    } cases[] = {{0x103, "1.03"}, {0x1003, "10.03"}, {0x21, "21"}, {0, "0"}, {0xABCD, "AB.CD"}};
    for (const Case& c : cases) EXPECT_EQ(CDeviceList::VersionText(c.release), QString(c.text)) << c.release;
}

class Devices : public ::testing::Test {
protected:
    void SetUp() override {
        list.resize(1000, 400);
        list.AddDevice("Quorvel R2", 102, "device\\QuorvelR2.png");
        list.AddDevice("Quorvel R3 Wireless", 103, "device\\QuorvelR3.png");
        list.AddDevice("Quorvel F1", 201, "device\\QuorvelF1.png");
    }
    CDeviceList list;
};

TEST_F(Devices, StateBatteryAndVersionByDeviceType) {
    EXPECT_EQ(list.GetDeviceCount(), 3);
    EXPECT_EQ(list.GetDeviceType(1), 103);
    EXPECT_EQ(list.IndexOfDevice(201), 2);
    EXPECT_EQ(list.GetOnlineDevCount(), 0);
    list.SetDeviceState(102, 0, 1);
    list.SetDeviceState(103, 1, 2);  // a wireless mouse out of range
    list.SetDeviceBattery(103, 1, 40);
    list.SetDeviceVersion(103, 0x1021);
    list.SetDeviceState(999, 0, 1);  // not listed: nothing happens
    EXPECT_EQ(list.GetOnlineDevCount(), 1);
    EXPECT_EQ(list.GetDeviceState(103), 2);
    EXPECT_EQ(list.GetDeviceLinkMode(103), 1);
    EXPECT_EQ(list.GetDeviceBatteryLevel(103), 40);
    EXPECT_EQ(list.GetDeviceVersionText(103), QString("10.21"));
    EXPECT_EQ(list.GetDeviceVersionText(102), QString());
    list.SetDeviceState(103, 1, 1);
    EXPECT_EQ(list.GetOnlineDevCount(), 2);
    list.SetAllDeviceState(0);
    EXPECT_EQ(list.GetOnlineDevCount(), 0);
    EXPECT_EQ(list.GetDeviceState(999), 0);
}

TEST_F(Devices, SelectionAndClicks) {
    EXPECT_EQ(list.GetSelectDevice(), 0);
    list.SetSelectDevice(201);
    EXPECT_EQ(list.GetSelectDevice(), 201);
    list.SetSelectDevice(5);
    EXPECT_EQ(list.GetSelectDevice(), 0);
    SignalLog clicked(&list, &CDeviceList::deviceClicked);
    list.resize(1000, 600);  // cards 317 wide, 412 high, centred: from y 94
    test::Click(list, {500, 200});
    test::Click(list, {500, 20});  // above the cards
    EXPECT_EQ(clicked.calls, QList<QVariantList>{{103}});
    test::KeyClick(list, Qt::Key_Right);
    test::KeyClick(list, Qt::Key_Return);
    EXPECT_EQ(clicked.last(), QVariantList{102}) << "from no selection the arrow goes to the first card";
    list.ClearList();
    EXPECT_EQ(list.GetSelectDevice(), 0);
    EXPECT_EQ(list.GetDeviceCount(), 0);
}

// A pick only asks: the card the owner takes becomes the selected one; a refused pick, by click or by
// Enter, leaves the current card selected, or none.
TEST_F(Devices, ARefusedPickLeavesTheCurrentCardSelected) {
    list.resize(1000, 600);
    constexpr int kUnreachable = 103;
    QObject::connect(&list, &CDeviceList::deviceClicked, &list, [this](int type) {
        if (type != kUnreachable) list.SetSelectDevice(type);
    });
    const QPoint r2(150, 200), r3(500, 200), f1(850, 200);
    struct Step {
        const char* what;
        std::function<void()> act;
        int selected;
    };
    const Step steps[] = {
        {"refused with nothing current", [&] { test::Click(list, r3); }, 0},
        {"taken", [&] { test::Click(list, f1); }, 201},
        {"refused click", [&] { test::Click(list, r3); }, 201},
        {"taken again", [&] { test::Click(list, r2); }, 102},
        {"refused Enter",
         [&] {
             test::KeyClick(list, Qt::Key_Right);
             ASSERT_EQ(list.GetSelectDevice(), kUnreachable) << "the arrow moves the highlight";
             test::KeyClick(list, Qt::Key_Return);
         },
         102},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(list.GetSelectDevice(), s.selected) << s.what;
    }
}

// A narrow list shows one card per page; the arrows (-1) turn the pages and wrap.
TEST_F(Devices, Pages) {
    list.resize(300, 400);
    EXPECT_EQ(list.GetPageCount(), 3);
    EXPECT_EQ(list.GetPage(), 0);
    SignalLog clicked(&list, &CDeviceList::deviceClicked);
    const QList<int> expected = {103, 201, 102};
    QList<int> got;
    for (int i = 0; i < 3; ++i) {
        list.SetSelectIndex(-1);
        test::Click(list, {150, 200});
        got << clicked.last().at(0).toInt();
    }
    EXPECT_EQ(got, expected);
    list.ScrollPage(-1);
    EXPECT_EQ(list.GetPage(), 2);
    list.SetSelectDevice(103);  // the page follows the selection
    EXPECT_EQ(list.GetPage(), 1);
    list.SetSelectIndex(0);
    EXPECT_EQ(list.GetPage(), 0);
}

}  // namespace
}  // namespace quorvel
