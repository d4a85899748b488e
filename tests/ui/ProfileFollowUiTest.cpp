// Profiles that follow the game in the window: the Applications dialog (pick an open window, type a name,
// remove), the profile dialog's second line, the settings page's switch, and the window's follower on a
// fake focus source (the bound window's profile switched through the queue, the indicator told).

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest/QTest>

#include "PageFixture.h"
#include "actions/ProfileBindings.h"
#include "shell/Preferences.h"
#include "shell/ProductConfig.h"
#include "store/DeviceDatabase.h"
#include "ui/common/TextIds.h"
#include "ui/dialogs/DPIMsgDlg.h"
#include "ui/dialogs/ProfileAppsDlg.h"
#include "ui/dialogs/ProfileDlg.h"
#include "ui/dialogs/ProfileList.h"
#include "ui/pages/settings/SettingsPage.h"
#include "ui/window/ProfileFollow.h"

namespace quorvel::test {
namespace {

OpenWindow MakeWindow(const std::string& instance, const std::string& cls, const std::string& title) {
    OpenWindow w;
    w.window.id = 1;
    w.window.instance = instance;
    w.window.windowClass = cls;
    w.title = title;
    w.iconWidth = w.iconHeight = 2;
    w.iconArgb = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    return w;
}

class ProfileFollowUi : public PageTest {
protected:
    std::string Column(int profile) {
        std::string apps;
        session->Database().GetProfileApps(profile, apps);
        return apps;
    }
    QStringList Rows(QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }
};

TEST_F(ProfileFollowUi, ApplicationsDialogAddsFromWindowsAndByNameAndRemoves) {
    OpenMice("102:wired");
    ProfileAppsDlg dialog(*host, 2, host->Window());
    dialog.SetOpenWindows(
        {MakeWindow("steam_app_730", "cs2", "Counter-Strike 2"), MakeWindow("xterm", "XTerm", "")});
    auto* windows = Control<QComboBox>(&dialog, ProfileAppsDlg::kWindows);
    auto* list = Control<QListWidget>(&dialog, ProfileAppsDlg::kList);
    ASSERT_EQ(windows->count(), 2);
    EXPECT_EQ(windows->itemText(0), "Counter-Strike 2 (cs2)");
    EXPECT_EQ(windows->itemText(1), "XTerm");
    EXPECT_FALSE(windows->itemIcon(0).isNull());
    EXPECT_TRUE(Control<QLabel>(&dialog, ProfileAppsDlg::kEmpty)->isVisibleTo(&dialog));

    windows->setCurrentIndex(0);
    QTest::mouseClick(Control<QPushButton>(&dialog, ProfileAppsDlg::kAddWindow), Qt::LeftButton);
    auto* name = Control<QLineEdit>(&dialog, ProfileAppsDlg::kName);
    QTest::keyClicks(name, "  WowClassic.exe ");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(Rows(list), (QStringList{"cs2", "WowClassic.exe"}));
    EXPECT_FALSE(list->item(0)->icon().isNull());  // the open window's icon
    EXPECT_EQ(Column(2), "cs2\nWowClassic.exe");
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_FALSE(Control<QLabel>(&dialog, ProfileAppsDlg::kEmpty)->isVisibleTo(&dialog));

    list->setCurrentRow(0);
    QTest::mouseClick(Control<QPushButton>(&dialog, ProfileAppsDlg::kRemove), Qt::LeftButton);
    EXPECT_EQ(Rows(list), (QStringList{"WowClassic.exe"}));
    EXPECT_EQ(Column(2), "WowClassic.exe");
}

TEST_F(ProfileFollowUi, WithoutADisplayTheWindowsListSaysWhy) {
    OpenMice("102:wired");
    ProfileAppsDlg dialog(*host, 1, host->Window());
    dialog.SetOpenWindows({}, QStringLiteral("no display"));
    EXPECT_FALSE(Control<QComboBox>(&dialog, ProfileAppsDlg::kWindows)->isEnabled());
    EXPECT_EQ(Control<QLabel>(&dialog, ProfileAppsDlg::kNoDisplay)->text(), "no display");
    // A typed name still works.
    auto* name = Control<QLineEdit>(&dialog, ProfileAppsDlg::kName);
    QTest::keyClicks(name, "game");
    QTest::mouseClick(Control<QPushButton>(&dialog, ProfileAppsDlg::kAddName), Qt::LeftButton);
    EXPECT_EQ(Column(1), "game");
}

TEST_F(ProfileFollowUi, ProfileDialogShowsTheApplicationsUnderTheName) {
    OpenMice("102:wired");
    ASSERT_TRUE(BindApp(host->Actions(), 3, "cs2").ok);
    ASSERT_TRUE(BindApp(host->Actions(), 3, "dota2").ok);
    ProfileDlg dialog(*host, host->Window());
    auto* list = Control<ProfileList>(&dialog, ProfileDlg::kList);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(2)->data(ProfileList::kAppsRole).toString(), "cs2, dota2");
    EXPECT_TRUE(list->item(0)->data(ProfileList::kAppsRole).toString().isEmpty());
    EXPECT_NE(Control<QPushButton>(&dialog, ProfileDlg::kApps), nullptr);
}

TEST_F(ProfileFollowUi, SettingsSwitch) {
    OpenMice("102:wired");
    auto* texts = new TextRegistry(host->Window());
    SettingsPage page(*texts, session->Product(), host->Window());
    auto* box = Control<QCheckBox>(&page, SettingsPage::kFollow);
    auto* hint = Control<QLabel>(&page, SettingsPage::kFollowHint);
    QSignalSpy toggled(&page, &SettingsPage::followToggled);
    page.SetFollow(true, true);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(hint->text(), Text(txt::kFollowHint));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    ASSERT_EQ(toggled.count(), 1);
    EXPECT_FALSE(toggled[0][0].toBool());
    page.SetFollow(false, false);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(hint->text(), Text(txt::kFollowUnavailable));

    // The stored switch: unset follows the bindings; then what the user chose.
    EXPECT_TRUE(ProfileFollow::SwitchOn(true));
    EXPECT_FALSE(ProfileFollow::SwitchOn(false));
    ProfileFollow::SetSwitch(false);
    EXPECT_FALSE(ProfileFollow::SwitchOn(true));
    ProfileFollow::SetSwitch(true);
    EXPECT_TRUE(ProfileFollow::SwitchOn(true));
}

// Hands the windows the test names to the follower, as the X11 source does from its thread.
class FakeSource : public FocusSource {
public:
    bool Start(Listener changed, std::string*) override {
        listener = std::move(changed);
        return true;
    }
    void Stop() override { listener = nullptr; }
    static inline Listener listener;
};

TEST_F(ProfileFollowUi, BoundWindowSwitchesThroughTheQueueAndBack) {
    OpenMice("102:wired");
    ProfileFollow::SetSourceFactoryForTests([] { return std::make_unique<FakeSource>(); });
    ProfileFollow follow(
        *host, [] { return false; }, nullptr);
    follow.Reconsider();
    EXPECT_FALSE(follow.Active());  // nothing bound yet
    ASSERT_TRUE(BindApp(host->Actions(), 2, "cs2").ok);
    follow.Reconsider();
    ASSERT_TRUE(follow.Active());
    ASSERT_TRUE(FakeSource::listener);
    QSignalSpy followed(&follow, &ProfileFollow::followed);

    FocusWindow game;
    game.id = 5;
    game.executable = "cs2";
    FakeSource::listener(game);
    QTRY_COMPARE_WITH_TIMEOUT(followed.count(), 1, 10000);
    EXPECT_EQ(followed[0][0].toInt(), 2);
    EXPECT_EQ(session->Core().CurrentProfile(), 2);
    EXPECT_EQ(session->Database().GetActiveProfile(), 2);
    EXPECT_EQ(host->profileChanges, 1);
    EXPECT_EQ(follow.Follower().HandProfile(), 1);  // our own switch is not the hand's

    FocusWindow terminal;
    terminal.id = 6;
    terminal.instance = "xterm";
    FakeSource::listener(terminal);
    QTRY_COMPARE_WITH_TIMEOUT(followed.count(), 2, 10000);
    EXPECT_EQ(followed[1][0].toInt(), 1);
    EXPECT_TRUE(Drain());
    follow.Stop();
    ProfileFollow::SetSourceFactoryForTests(nullptr);
}

TEST_F(ProfileFollowUi, IndicatorSaysWhichProfileIsActive) {
    DPIMsgDlg indicator(nullptr);
    indicator.ShowProfile(QStringLiteral("Profile 2"));
    EXPECT_EQ(indicator.ProfileText(),
              Text(txt::kProfileOf).replace(QStringLiteral("%s"), QStringLiteral("Profile 2")));
    EXPECT_FALSE(Control<QLabel>(&indicator, DPIMsgDlg::kValue)->isVisibleTo(&indicator));
    indicator.ShowValue(1600);
    EXPECT_TRUE(indicator.ProfileText().isEmpty());
    EXPECT_TRUE(Control<QLabel>(&indicator, DPIMsgDlg::kValue)->isVisibleTo(&indicator));
}

}  // namespace
}  // namespace quorvel::test
