// A screen reader names the custom controls of the window in the user's language, and follows a change of
// it.

#include <QAccessible>

#include "MainWindowFixture.h"
#include "toolkit/CDeviceList.h"
#include "ui/pages/buttons/ButtonPageIds.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/macros/MacroPageIds.h"
#include "ui/pages/performance/DpiPanel.h"
#include "ui/pages/performance/ReportRatePanel.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {

using namespace macro_page;
namespace {

class AccessibleNames : public MainWindowTest {};

TEST_F(AccessibleNames, CustomControlsAreNamedInTheUsersLanguage) {
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    emit window->Home().List().deviceClicked(102);
    for (int item : {MainTabs::kPerformanceItem, MainTabs::kMacrosItem, MainTabs::kDeviceInfoItem})
        PickTab(item);
    struct Case {
        const char* what;
        QWidget* control;
        QString english, chinese;
    };
    auto on = [&](const char* pageClass, int id) -> QWidget* {
        for (QWidget* w : window->findChildren<QWidget*>(ControlName(id)))
            for (QWidget* p = w; p; p = p->parentWidget())
                if (p->inherits(pageClass)) return w;
        return nullptr;
    };
    const Case cases[] = {
        {"device cards", Find(HomePage::kDeviceList), "Device list", "设备列表"},
        {"tab strip", Find(MainTabs::kTabStrip), "Pages", "页面"},
        {"battery", Find(MainFrame::kBattery), "Battery", "电池电量"},
        {"DPI levels", Find(DpiPanel::kLevels), "DPI Settings", "DPI 设置"},
        {"report rate", Find(ReportRatePanel::kRates), "Report Rate", "回报率"},
        {"button list", on("quorvel::ButtonPage", button_page::kButtonList), "Buttons", "按键设置"},
        {"mouse picture", on("quorvel::ButtonPage", button_page::kPicture), "Buttons", "按键设置"},
        {"macro list", on("quorvel::MacroPage", kMacroListCtrl), "Macro List", "宏列表"},
        {"event list", on("quorvel::MacroPage", kEventListCtrl), "Event List", "事件列表"},
        {"battery of the device page", on("quorvel::DeviceInfoPage", DeviceInfoPage::kBattery), "Battery",
         "电池电量"},
    };
    auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    for (const Case& c : cases) {
        ASSERT_NE(c.control, nullptr) << c.what;
        EXPECT_EQ(name(c.control), c.english) << c.what;
    }
    ChangeUiLanguage(kLcidChinese);
    for (const Case& c : cases) EXPECT_EQ(name(c.control), c.chinese) << c.what;
}

}  // namespace
}  // namespace quorvel::test
