// Pictures for docs/images of the lighting page, the profile dialog, the device-information page and the
// two update progress dialogs, with the shipped skin, in English ("-en") and Chinese ("-zh"). Taken by
// scripts/screenshots.sh.

#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QtTest/QTest>

#include "Shots.h"
#include "store/DeviceDatabase.h"
#include "toolkit/Theme.h"
#include "ui/PageFixture.h"
#include "ui/dialogs/ProfileDlg.h"
#include "ui/dialogs/UpdateProcessDlg.h"
#include "ui/dialogs/UpdateTipDlg.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/lighting/LightColours.h"
#include "ui/pages/lighting/LightingPage.h"

namespace quorvel::test {
namespace {

class LightProfileInfoScreenshots : public PageTest {
protected:
    void SetUp() override {
        out_ = ShotDir();
        PageTest::SetUp();
        QDir().mkpath(out_);
        UseShippedSkin();
    }

    // Runs `shoot` once per language on a fresh window over "102:wired".
    void EachLanguage(const std::function<void(const QString& suffix)>& shoot) {
        OpenMice("102:wired");
        QWidget* window = host->Window();
        FillWithWindowColour(window);
        window->show();
        for (const auto& [lcid, suffix] : {std::pair{kLcidEnglish, "-en"}, std::pair{kLcidChinese, "-zh"}}) {
            ChangeUiLanguage(lcid);
            shoot(QString::fromLatin1(suffix));
        }
    }
    void Save(const QPixmap& shot, const QString& name) {
        ASSERT_FALSE(shot.isNull());
        ASSERT_TRUE(shot.save(out_ + '/' + name + ".png")) << name.toStdString();
    }
    // Lets the window system draw, then the window area of `widget`.
    QPixmap Grab(QWidget* widget, QRect area = {}) {
        QTest::qWait(150);
        return widget->grab(area.isNull() ? widget->rect() : area);
    }

    QString out_;
};

TEST_F(LightProfileInfoScreenshots, LightingPage) {
    EachLanguage([&](const QString& suffix) {
        auto* page = new LightingPage(*host, host->Window());
        page->setGeometry(0, 0, 1180, 658);
        page->Refresh();
        page->show();
        // Steady with its one colour, and Breathing with its seven colour slots, as the R2 has them.
        const struct {
            int mode;
            const char* name;
        } shots[] = {{3, "lighting-page"}, {2, "lighting-page-breathing"}};
        for (const auto& shot : shots) {
            auto* list = Control<QComboBox>(page, LightingPage::kModeList);
            const int index = list->findData(shot.mode);
            ASSERT_GE(index, 0) << shot.mode;
            list->setCurrentIndex(index);
            emit list->activated(index);
            Save(Grab(host->Window(), QRect(0, 0, 560, 680)), shot.name + suffix);
        }
        delete page;
    });
}

TEST_F(LightProfileInfoScreenshots, DeviceInfoPage) {
    EachLanguage([&](const QString& suffix) {
        auto* page = new DeviceInfoPage(*host, host->Window());
        page->setGeometry(0, 0, 720, 680);
        page->ShowVersionLabels();
        page->show();
        Save(Grab(host->Window(), QRect(0, 0, 720, 400)), "device-info" + suffix);
        delete page;
    });
}

TEST_F(LightProfileInfoScreenshots, ProfileDialog) {
    EachLanguage([&](const QString& suffix) {
        auto* anchor = new QPushButton(host->Window());
        anchor->setGeometry(1230, 750, 150, 26);
        ProfileDlg::Open(*host, anchor);
        auto* dialog = host->Window()->findChild<ProfileDlg*>();
        ASSERT_NE(dialog, nullptr);
        Save(Grab(dialog), "profiles-dialog" + suffix);
        dialog->done(0);
        delete dialog;
        delete anchor;
        QApplication::processEvents();
    });
}

TEST_F(LightProfileInfoScreenshots, UpdateDialogs) {
    EachLanguage([&](const QString& suffix) {
        auto* download = new UpdateProcessDlg(host->Window());
        download->SetDownloadProgress(45);
        download->show();
        Save(Grab(download), "update-download" + suffix);
        download->Finish();
        delete download;

        UpdateTipDlg* firmware = UpdateTipDlg::Open(host->Window());
        firmware->SetStep(7, QString::fromStdString(text("LAN", 591)) + QStringLiteral(": 7%"));
        Save(Grab(firmware), "update-firmware" + suffix);
        firmware->Finish();
        delete firmware;
    });
}

}  // namespace
}  // namespace quorvel::test
