// Screenshots of the main window's views for docs/images, with the shipped skin, in English and Chinese:
// no device, the permission problem, the device list with three mice, the device view and the settings
// page; and the performance and macro pages in the window as it opens on a 1280 x 800 screen.

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include "Shots.h"
#include "actions/MacroActions.h"
#include "actions/MacroEventActions.h"
#include "toolkit/CDeviceList.h"
#include "ui/MainWindowFixture.h"
#include "ui/common/UiText.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/MainFrame.h"

namespace quorvel::test {
namespace {

class MainWindowScreenshots : public MainWindowTest {
protected:
    void SetUp() override {
        dir_ = ShotDir();
        MainWindowTest::SetUp();
        UseShippedSkin();
    }
    // The window as it is now, once in each language.
    void Shoot(const QString& name) {
        for (int lcid : {kLcidEnglish, kLcidChinese}) {
            // As the settings page's language list does it.
            ChangeUiLanguage(lcid);
            if (auto* list = Find<QComboBox>(SettingsPage::kLanguage))
                list->setCurrentIndex(list->findData(lcid));
            QApplication::processEvents();
            QDir().mkpath(dir_);
            const QString file = QString("%1-%2.png").arg(name, lcid == kLcidChinese ? "zh" : "en");
            ASSERT_TRUE(window->grab().save(QDir(dir_).filePath(file))) << file.toStdString();
        }
        ChangeUiLanguage(kLcidEnglish);
    }
    QString dir_;
};

TEST_F(MainWindowScreenshots, Views) {
    OpenWindow("");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::NoDevice; }));
    Shoot("main-window-no-device");
    window->Bridge().ShowPermissionProblem({"/dev/hidraw3", 0x1209, 0x0001, 102, "permission denied"});
    Settle();
    Shoot("main-window-permission");
    CloseWindow();

    OpenWindow("102:wired;103:wireless;201:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    Shoot("main-window-device-list");
    emit window->Home().List().deviceClicked(102);
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::Device; }));
    Settle();
    Shoot("main-window-device");
    Find<QAbstractButton>(MainFrame::kSettings)->click();
    Settle();
    Shoot("main-window-settings");
}

// The window sized and centred by the program itself on a small laptop screen (it keeps the design's
// aspect: 1280 x 720 on 1280 x 800). scripts/screenshots.sh runs this on a screen of that size.
TEST_F(MainWindowScreenshots, PagesOnA1280x800Screen) {
    if (QGuiApplication::primaryScreen()->availableGeometry().size() != QSize(1280, 800))
        GTEST_SKIP() << "needs a 1280 x 800 screen";
    OpenWindow("201:wired");
    window->PlaceOnScreen();
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::DeviceList; }));
    emit window->Home().List().deviceClicked(201);
    ASSERT_TRUE(
        WaitFor([&] { return CurrentView() == MainViews::View::Device && window->PendingPick() == 0; }));
    // Two macros, the first with a few events, for the macro page to show.
    int macro = 0;
    ASSERT_TRUE(NewMacro(window->Actions(), std::string("Reload + Sprint"), &macro).ok);
    ASSERT_TRUE(NewMacro(window->Actions(), std::string("Burst fire")).ok);
    // R tapped, then Shift held; a key's press and release share their pair number.
    const int kR = 0x52, kShift = 0x10;
    const int rows[][3] = {{kMacroKeyDown, kR, 1},  {kMacroDelay, 40, 2},       {kMacroKeyUp, kR, 1},
                           {kMacroDelay, 120, 3},   {kMacroKeyDown, kShift, 4}, {kMacroDelay, 300, 5},
                           {kMacroKeyUp, kShift, 4}};
    std::vector<MacroEventRecord> events;
    for (const auto& [type, value, pair] : rows) {
        MacroEventRecord e;
        e.type = type;
        e.value = value;
        e.delay_time = pair;
        e.desc = MacroEventText(type, value);
        events.push_back(e);
    }
    ASSERT_TRUE(ReplaceMacroEvents(window->Actions(), macro, events).ok);

    PickTab(MainTabs::kPerformanceItem);
    Settle();
    Shoot("performance-1280x800");
    PickTab(MainTabs::kMacrosItem);
    Settle();
    Shoot("macro-page-1280x800");
}

}  // namespace
}  // namespace quorvel::test
