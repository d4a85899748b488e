// Pictures for docs/images of profiles that follow the game: the Applications dialog, the profile dialog
// with its bindings and the indicator naming the profile now active, with the shipped skin, in English
// ("-en") and Chinese ("-zh"). Taken by
// scripts/screenshots.sh.

#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QtTest/QTest>

#include "Shots.h"
#include "actions/ProfileBindings.h"
#include "toolkit/Theme.h"
#include "ui/PageFixture.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/dialogs/ProfileAppsDlg.h"
#include "ui/dialogs/ProfileDlg.h"

namespace quorvel::test {
namespace {

// A window icon drawn here: a filled disc in the accent colour on a transparent square.
OpenWindow Window(const std::string& instance, const std::string& cls, const std::string& title,
                  QColor colour) {
    OpenWindow w;
    w.window.id = 1;
    w.window.instance = instance;
    w.window.windowClass = cls;
    w.title = title;
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawEllipse(3, 3, 26, 26);
    p.end();
    w.iconWidth = w.iconHeight = 32;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) w.iconArgb.push_back(icon.pixel(x, y));
    return w;
}

class ProfileFollowScreenshots : public PageTest {
protected:
    void SetUp() override {
        out_ = ShotDir();
        PageTest::SetUp();
        QDir().mkpath(out_);
        UseShippedSkin();
    }

    void EachLanguage(const std::function<void(const QString& suffix)>& shoot) {
        OpenMice("102:wired");
        ASSERT_TRUE(BindApp(host->Actions(), 2, "cs2").ok);
        ASSERT_TRUE(BindApp(host->Actions(), 2, "steam_app_730").ok);
        ASSERT_TRUE(BindApp(host->Actions(), 3, "WowClassic.exe").ok);
        QWidget* window = host->Window();
        FillWithWindowColour(window);
        window->show();
        for (const auto& [lcid, suffix] : {std::pair{kLcidEnglish, "-en"}, std::pair{kLcidChinese, "-zh"}}) {
            ChangeUiLanguage(lcid);
            shoot(QString::fromLatin1(suffix));
        }
    }
    void Save(QWidget* widget, const QString& name) {
        QTest::qWait(150);  // let the window system draw it
        const QPixmap shot = widget->grab();
        ASSERT_FALSE(shot.isNull());
        ASSERT_TRUE(shot.save(out_ + '/' + name + ".png")) << name.toStdString();
    }

    QString out_;
};

TEST_F(ProfileFollowScreenshots, ApplicationsDialog) {
    EachLanguage([&](const QString& suffix) {
        ProfileAppsDlg dialog(*host, 2, host->Window());
        dialog.SetOpenWindows(
            {Window("steam_app_730", "cs2", "Counter-Strike 2", QColor(0xF0, 0x8C, 0x28)),
             Window("org.gnome.Terminal", "Gnome-terminal", "Terminal", QColor(0x50, 0x50, 0x50)),
             Window("firefox-esr", "firefox-esr", "Mozilla Firefox", QColor(0xE6, 0x5C, 0x2E))});
        dialog.show();
        Save(&dialog, "profile-apps" + suffix);
    });
}

TEST_F(ProfileFollowScreenshots, ProfileDialogWithBindings) {
    EachLanguage([&](const QString& suffix) {
        auto* anchor = new QPushButton(host->Window());
        anchor->setGeometry(1230, 750, 150, 26);
        ProfileDlg::Open(*host, anchor);
        auto* dialog = host->Window()->findChild<ProfileDlg*>();
        ASSERT_NE(dialog, nullptr);
        Save(dialog, "profiles-dialog-bindings" + suffix);
        dialog->done(0);
        delete dialog;
        delete anchor;
        QApplication::processEvents();
    });
}

TEST_F(ProfileFollowScreenshots, Indicator) {
    EachLanguage([&](const QString& suffix) {
        DPIMsgDlg indicator(nullptr);
        indicator.ShowProfile(QStringLiteral("Profile 2"));
        Save(&indicator, "profile-follow-indicator" + suffix);
    });
}

}  // namespace
}  // namespace quorvel::test
