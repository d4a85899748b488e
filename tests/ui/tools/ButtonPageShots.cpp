// Pictures of the button page for docs/images, with the shipped skin, in English and Chinese: the page with
// a function menu open (Quorvel R2, report family) and with the key-combination panel (Quorvel F1, feature
// family), and the fire-key panel. Taken from the X screen, so the open menu is in the picture; with
// QT_SCALE_FACTOR=2 the "@2x" ones (scripts/screenshots.sh runs both).

#include <QAbstractItemView>
#include <QDir>
#include <QPainter>
#include <QScreen>

#include "Shots.h"
#include "toolkit/Skin.h"
#include "ui/ButtonPageFixture.h"
#include "ui/common/UiFonts.h"

namespace quorvel::test {
namespace {

class ButtonPageScreenshots : public ButtonPageTest {
protected:
    void SetUp() override {
        dir_ = ShotDir();
        ButtonPageTest::SetUp();
        UseShippedSkin();
    }
    void Open(const std::string& mice) {
        OpenPage(mice);
        auto* backdrop = new Backdrop(host->Window());
        backdrop->setGeometry(host->Window()->rect());
        backdrop->show();
        backdrop->lower();
        host->Window()->move(0, 0);
    }
    void Language(int lcid) {
        ChangeUiLanguage(lcid);
        QApplication::processEvents();
    }
    // The page's area of the screen, with whatever is open over it.
    void Shoot(const QString& name) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host->Window()));
        QApplication::processEvents();
        const QRect area(page->mapToGlobal(QPoint(0, 0)), page->size());
        const QPixmap shot = page->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        const QString suffix = QString(CurrentLanguage() == kLcidChinese ? "-zh" : "-en") +
                               (qEnvironmentVariable("QT_SCALE_FACTOR") == "2" ? "@2x" : "");
        QDir().mkpath(dir_);
        ASSERT_TRUE(shot.save(QDir(dir_).filePath(name + suffix + ".png")));
    }
    QString dir_;
};

TEST_F(ButtonPageScreenshots, FunctionMenuOpen) {
    Open("102:wired");
    PressA("Reload + Sprint");
    PressA("Custom 2");
    for (const int lcid : {kLcidEnglish, kLcidChinese}) {
        Language(lcid);
        page->MacrosChanged();
        Pick(3);
        Choose(kMediaMenu, 2);  // Play/Pause
        auto* menu = At<QComboBox>(kMediaMenu);
        menu->showPopup();
        QWidget* popup = menu->view()->window();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
        Shoot(QStringLiteral("buttons-menu"));
        menu->hidePopup();
    }
    ASSERT_TRUE(Drain());
}

TEST_F(ButtonPageScreenshots, KeyCombinationPanel) {
    Open("201:wired");
    for (const int lcid : {kLcidEnglish, kLcidChinese}) {
        Language(lcid);
        Pick(6);
        Click(kKeyOpen);
        auto* field = At<QLineEdit>(kKeyField);
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_F5);
        Click(kCtrlToggle);
        Click(kShiftToggle);
        Click(kKeyOk);
        Shoot(QStringLiteral("buttons-keys"));
    }
    ASSERT_TRUE(Drain());
}

TEST_F(ButtonPageScreenshots, FireKeyPanel) {
    Open("102:wired");
    for (const int lcid : {kLcidEnglish, kLcidChinese}) {
        Language(lcid);
        Pick(2);
        Click(kClickOpen);
        auto* interval = At<QLineEdit>(kFirstEdit);
        interval->setFocus();
        interval->selectAll();
        QTest::keyClicks(interval, "40");
        Shoot(QStringLiteral("buttons-fire"));
    }
}

}  // namespace
}  // namespace quorvel::test
