// Pictures of the performance page and its windows for docs/images, with the shipped skin, in the language
// of QUORVEL_SCREENSHOT_LANG (1033 or 2052) and at the scale of QT_SCALE_FACTOR. scripts/screenshots.sh
// runs them once per language and scale.

#include <sys/stat.h>

#include <QDir>
#include <QPainter>
#include <QProgressBar>

#include "Shots.h"
#include "toolkit/Skin.h"
#include "ui/PerformanceFixture.h"
#include "ui/dialogs/MousePaletteDlg.h"
#include "ui/dialogs/SaveWaitDlg.h"

namespace quorvel::test {
namespace {

class PerformanceScreenshots : public PerformancePageTest {
protected:
    void SetUp() override {
        dir_ = ShotDir();
        PerformancePageTest::SetUp();
        const std::string tool = tools_.Root() + "/bin/gnome-control-center";
        testing::WriteFileBytes(tool, "#!/bin/sh\n");
        ::chmod(tool.c_str(), 0755);
        tools_.Env().Set("PATH", tools_.Root() + "/bin:" + qgetenv("PATH").toStdString());
    }
    // The session, the page in the language asked for, with the shipped skin and levels worth showing.
    void Open(const std::string& mice) {
        OpenPage(mice, [this] {
            const char* values[] = {"400", "800", "1600", "3200", "6400", "12000"};
            const int colours[] = {0x0000FF, 0xFF6000, 0x00FF00, 0x00D0FF, 0xFF00FF, 0xFFFF00};
            Set("dpi_count", "6");
            Set("dpi_index", "2");
            for (int i = 0; i < 6; ++i) {
                Set(DpiValueKey(i), values[i]);
                Set(DpiColorKey(i), std::to_string(colours[i]));
            }
            Set("report_rate", "1");
        });
        const int lcid = qEnvironmentVariableIntValue("QUORVEL_SCREENSHOT_LANG");
        ChangeUiLanguage(lcid ? lcid : kLcidEnglish);
        UseShippedSkin();
        suffix_ = QString(CurrentLanguage() == kLcidChinese ? "-zh" : "-en") +
                  (qEnvironmentVariable("QT_SCALE_FACTOR") == "2" ? "@2x" : "");
    }
    void Save(QWidget& widget, const QString& name) {
        widget.show();
        QApplication::processEvents();
        QDir().mkpath(dir_);
        ASSERT_TRUE(widget.grab().save(QDir(dir_).filePath(name + suffix_ + ".png")));
    }
    void SavePage(const QString& name) {
        Backdrop backdrop;
        backdrop.resize(PerformancePage::kDesignSize + QSize(40, 40));
        page->setParent(&backdrop);
        page->move(20, 20);
        page->show();
        Save(backdrop, name);
        page->setParent(host->Window());
    }

    QString dir_;
    QString suffix_;
    testing::TempHome tools_;  // a desktop mouse-settings program on the path, so its button shows
};

TEST_F(PerformanceScreenshots, ReportFamilyPage) {
    Open("102:wired");
    SavePage("performance-r2");
}

TEST_F(PerformanceScreenshots, FeatureFamilyPage) {
    Open("201:wired");
    SavePage("performance-f1");
}

TEST_F(PerformanceScreenshots, DpiIndicator) {
    Open("102:wired");
    host->ShowDpiIndicator(3200);
    Save(Indicator(), "performance-dpi-indicator");
}

TEST_F(PerformanceScreenshots, SavingIndicator) {
    Open("102:wired");
    SaveWaitDlg saving(host->Window());
    saving.ShowSaving();
    saving.Bar()->setValue(60);  // mid-run, as the eye catches it
    Save(saving, "performance-saving");
}

TEST_F(PerformanceScreenshots, ColourPicker) {
    Open("102:wired");
    MousePaletteDlg picker(host->Window(), 0x00D0FF);
    Save(picker, "performance-colour-picker");
}

}  // namespace
}  // namespace quorvel::test
