// The main window's pages are built when first shown, and a page built late shows what the mouse reported
// before it existed; the window's transient dialogs close on a device change.

#include <QtTest/QTest>

#include "MainWindowFixture.h"
#include "sim/VirtualMouse.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/DPIControl.h"
#include "ui/common/Page.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/performance/DpiPanel.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

using View = MainViews::View;

class MainWindowPages : public MainWindowTest {
protected:
    void Pick(int deviceType) { emit window->Home().List().deviceClicked(deviceType); }
    std::set<int> BuiltPages() const {
        std::set<int> built;
        for (int id : {MainTabs::kButtonPage, MainTabs::kPerformancePage, MainTabs::kMacroPage,
                       MainTabs::kLightingPage, MainTabs::kDeviceInfoPage})
            if (Find<Page>(id)) built.insert(id);
        return built;
    }
};

TEST_F(MainWindowPages, APageBuiltLateShowsWhatTheMouseReportedBefore) {
    OpenWindow("103:wireless");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    EXPECT_TRUE(BuiltPages().empty()) << "the list needs no page";
    Pick(103);
    EXPECT_EQ(BuiltPages(), std::set<int>{MainTabs::kButtonPage}) << "only the page shown";

    // Reports for pages that do not exist yet: a battery change and a DPI level switched on the mouse.
    Mice().Mouse(0).SetBattery(37, 0);
    ASSERT_TRUE(WaitFor([&] { return Find<BatteryCtrl>(MainFrame::kBattery)->GetBatteryLevel() == 37; }));
    Mice().Mouse(0).SetDpiLevel(2);
    ASSERT_TRUE(WaitFor([&] { return session->Core().Snapshot().dpiLevelSelected == 2; }));
    Settle();

    PickTab(MainTabs::kDeviceInfoItem);
    auto* info = Find<DeviceInfoPage>(MainTabs::kDeviceInfoPage);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->findChild<BatteryCtrl*>(ControlName(DeviceInfoPage::kBattery))->GetBatteryLevel(), 37);
    EXPECT_EQ(info->findChild<QLabel*>(ControlName(DeviceInfoPage::kLinkText))->text(), Text(kTitleWireless));

    PickTab(MainTabs::kPerformanceItem);
    auto* levels = Find<DPIControl>(DpiPanel::kLevels);
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(levels->GetSelectItem(), 2);
    EXPECT_EQ(BuiltPages(),
              (std::set<int>{MainTabs::kButtonPage, MainTabs::kPerformancePage, MainTabs::kDeviceInfoPage}));

    // Built pages follow the reports themselves from then on.
    Mice().Mouse(0).SetBattery(55, 0);
    ASSERT_TRUE(WaitFor([&] {
        return info->findChild<BatteryCtrl*>(ControlName(DeviceInfoPage::kBattery))->GetBatteryLevel() == 55;
    }));
    Mice().Mouse(0).SetDpiLevel(0);
    ASSERT_TRUE(WaitFor([&] { return levels->GetSelectItem() == 0; }));
}

// The colour picker must not outlive the mouse it colours: it closes when the mouse goes, as menus do.
TEST_F(MainWindowPages, TheColourPickerClosesWhenTheMouseGoes) {
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    Pick(102);
    int picked = -1;
    MousePaletteDlg::Open(window.get(), 0x336699, [&](int colour) { picked = colour; });
    auto* picker = window->findChild<MousePaletteDlg*>();
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(WaitFor([&] { return picker->isVisible(); }));

    Mice().Mouse(0).Unplug();
    ASSERT_TRUE(WaitFor([&] { return picked != -1; }));
    EXPECT_EQ(picked, 0) << "closed without a colour";
}

}  // namespace
}  // namespace quorvel::test
