// Every view shows only what the model has: the battery (sidebar and device information) only for a
// model that runs on one, the power settings only where they mean something. The mice are switched in one
// window, so what one model showed must not stay for the next.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "MainWindowFixture.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/CDeviceList.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/performance/PowerPanel.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

using View = MainViews::View;

class MainWindowFeatures : public MainWindowTest {
protected:
    // The user picks the model on the device list; true once it is read back and shown.
    bool Pick(int deviceType) {
        emit window->Home().List().deviceClicked(deviceType);
        const bool read = WaitFor([&] {
            const DeviceState state = session->Core().Snapshot();
            return window->PendingPick() == 0 && CurrentView() == View::Device &&
                   state.currentDeviceType == deviceType && state.readDeviceTypes.count(deviceType) > 0;
        });
        Settle();
        return read;
    }
    bool ShownOn(QWidget* page, int id) {
        QWidget* w = page->findChild<QWidget*>(ControlName(id));
        EXPECT_NE(w, nullptr) << id;
        return w && w->isVisibleTo(page);
    }
};

TEST_F(MainWindowFeatures, EachViewShowsOnlyWhatTheModelHas) {
    struct Case {
        const char* name;
        int deviceType;
        bool battery, sleep, wake, lightsOff, responseTime;
    };
    const Case cases[] = {
        // The virtual R2 reports an 80 % battery although it only runs on its cable.
        {"wired-only R2", 102, false, false, false, true, true},
        {"wireless R3 without lights", 103, true, true, true, false, true},
        // The feature family takes no wake-on-move and no response time.
        {"feature family F1", 201, true, true, false, true, false},
        {"back to the R2", 102, false, false, false, true, true},
    };
    OpenWindow("102:wired;103:wireless;201:wireless");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Pick(c.deviceType));
        EXPECT_EQ(Shown(MainFrame::kBattery), c.battery) << "sidebar";

        PickTab(MainTabs::kDeviceInfoItem);
        auto* info = Find<DeviceInfoPage>(MainTabs::kDeviceInfoPage);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(ShownOn(info, DeviceInfoPage::kBattery), c.battery);
        EXPECT_EQ(info->findChild<QLabel*>(ControlName(DeviceInfoPage::kBatteryLabel))->text(),
                  Text(c.battery ? 873 : 3200))
            << "without a battery the row names the link";
        EXPECT_TRUE(ShownOn(info, DeviceInfoPage::kLinkText));

        PickTab(MainTabs::kPerformanceItem);
        QWidget* performance = Find(MainTabs::kPerformancePage);
        ASSERT_NE(performance, nullptr);
        EXPECT_EQ(ShownOn(performance, PowerPanel::kSleep), c.sleep);
        EXPECT_EQ(ShownOn(performance, PowerPanel::kSleepLabel), c.sleep);
        EXPECT_EQ(ShownOn(performance, PowerPanel::kWake), c.wake);
        EXPECT_EQ(ShownOn(performance, PowerPanel::kLightsOff), c.lightsOff);
        EXPECT_EQ(ShownOn(performance, PowerPanel::kResponseTime), c.responseTime);
        EXPECT_EQ(ShownOn(performance, PowerPanel::kResponseLabel), c.responseTime);
        PickTab(MainTabs::kHomeItem);
        ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    }
}

}  // namespace
}  // namespace quorvel::test
