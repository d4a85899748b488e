// Screenshots of the main window's views for docs/images, with the shipped skin, in English and Chinese:
// no device, the permission problem, the device list with three mice, the device view and the settings
// page.

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>

#include "Shots.h"
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

}  // namespace
}  // namespace quorvel::test
