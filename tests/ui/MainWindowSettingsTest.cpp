// The settings page (autorun, start minimised, exit mode, language, links), the close button with and
// without a notification area, the exits while an update runs, the teardown, and the re-text of the whole
// window.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MainWindowFixture.h"
#include "platform/Autostart.h"
#include "shell/Preferences.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/MTabCtrl.h"
#include "ui/pages/home/HomePage.h"
#include "ui/window/MainFrame.h"
#include "ui/window/MainTabs.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/common/Page.h"
#include "ui/pages/settings/SettingsPage.h"

namespace quorvel::test {
namespace {

class MainWindowSettings : public MainWindowTest {
protected:
    void OpenSettings() {
        Find<QAbstractButton>(MainFrame::kSettings)->click();
        ASSERT_TRUE(window->SettingsOpen());
    }
    std::string AutostartText() {
        std::ifstream in(AutostartEntryPath(GetDeviceName()));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(MainWindowSettings, AutorunStartMinimisedAndExitModeAreWritten) {
    OpenWindow("102:wired");
    OpenSettings();
    auto* autorun = Find<QCheckBox>(SettingsPage::kAutorun);
    auto* minimised = Find<QCheckBox>(SettingsPage::kStartMinimised);
    EXPECT_FALSE(autorun->isChecked());
    EXPECT_FALSE(minimised->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>(SettingsPage::kExitOnClose)->isChecked()) << "no exit_mode: exit";

    autorun->click();
    EXPECT_TRUE(IsAutorunOn());
    const std::string entry = AutostartText();
    EXPECT_NE(entry.find("Exec="), std::string::npos) << entry;
    EXPECT_EQ(entry.find(" -hide"), std::string::npos) << "starts with its window: " << entry;
    EXPECT_TRUE(minimised->isEnabled());
    EXPECT_FALSE(minimised->isChecked());

    minimised->click();
    EXPECT_EQ(ReadAutorunMinimize(), 1);
    EXPECT_NE(AutostartText().find(" -hide\n"), std::string::npos) << "starts hidden: " << AutostartText();
    minimised->click();
    EXPECT_EQ(ReadAutorunMinimize(), 0);
    EXPECT_EQ(AutostartText().find(" -hide"), std::string::npos) << AutostartText();
    minimised->click();

    autorun->click();  // off: the entry goes, start minimised is cleared with it
    EXPECT_FALSE(IsAutorunOn());
    EXPECT_FALSE(minimised->isChecked());
    EXPECT_FALSE(minimised->isEnabled());
    EXPECT_EQ(ReadAutorunMinimize(), 0);

    Find<QRadioButton>(SettingsPage::kHideOnClose)->click();
    EXPECT_EQ(ReadExitMode(), 1);
    Find<QRadioButton>(SettingsPage::kExitOnClose)->click();
    EXPECT_EQ(ReadExitMode(), 0);

    // The page reads the preferences again each time it opens.
    WritePreferenceText("exit_mode", "1");
    SetAutorun(true);
    WriteAutorunMinimize(true);
    Find<QAbstractButton>(SettingsPage::kLeave)->click();
    OpenSettings();
    EXPECT_TRUE(Find<QRadioButton>(SettingsPage::kHideOnClose)->isChecked());
    EXPECT_TRUE(autorun->isChecked());
    EXPECT_TRUE(minimised->isChecked());
}

// Without a notification area the note follows the exit mode as the user changes it.
TEST_F(MainWindowSettings, TheTrayNoteFollowsTheExitModeChoice) {
    TrayIcon::SetAvailableForTests(false);
    OpenWindow("");
    OpenSettings();
    auto* page = window->findChild<SettingsPage*>();
    for (const auto& [mode, note] :
         {std::pair{SettingsPage::kHideOnClose, true}, std::pair{SettingsPage::kExitOnClose, false},
          std::pair{SettingsPage::kHideOnClose, true}}) {
        Find<QRadioButton>(mode)->click();
        EXPECT_EQ(Find(SettingsPage::kTrayHint)->isVisibleTo(page), note) << mode;
    }
    TrayIcon::SetAvailableForTests(true);
    page->SetTrayAvailable(true);
    EXPECT_FALSE(Find(SettingsPage::kTrayHint)->isVisibleTo(page)) << "a tray needs no note";
}

// The page is built when it first opens and shows what the window learned before it existed.
TEST_F(MainWindowSettings, ThePageBuiltOnFirstOpenShowsWhatTheWindowLearnedBefore) {
    TrayIcon::SetAvailableForTests(false);
    OpenWindow("");
    WritePreferenceText("exit_mode", "1");
    EXPECT_EQ(window->findChild<SettingsPage*>(), nullptr) << "the first view needs no settings page";
    OpenSettings();
    auto* page = window->findChild<SettingsPage*>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(Find(SettingsPage::kTrayHint)->isVisibleTo(page)) << "no tray: closing minimises";
    TrayIcon::SetAvailableForTests(true);
}

// An autostart entry that cannot be written leaves the box off and says why, naming the file.
TEST_F(MainWindowSettings, AFailedAutorunWriteIsSaid) {
    OpenWindow("");
    // A file where the autostart folder belongs: the entry cannot be written.
    const std::string entry = AutostartEntryPath(GetDeviceName());
    const std::filesystem::path folder = std::filesystem::path(entry).parent_path();
    std::filesystem::create_directories(folder.parent_path());
    std::ofstream(folder) << "not a folder";
    OpenSettings();
    QString said;
    OnNextModal([&said](QWidget* box) {
        said = Control<QLabel>(box, CUIMessageBox::kMessage)->text();
        Control<QPushButton>(box, CUIMessageBox::kFirstButton)->click();
    });
    auto* autorun = Find<QCheckBox>(SettingsPage::kAutorun);
    autorun->click();
    QTRY_VERIFY(!said.isEmpty());
    EXPECT_FALSE(autorun->isChecked());
    EXPECT_FALSE(IsAutorunOn());
    EXPECT_TRUE(said.contains(QString::fromStdString(entry))) << said.toStdString();
}

TEST_F(MainWindowSettings, LinksOpenTheProductsAddresses) {
    OpenWindow("");
    OpenSettings();
    std::vector<std::string> opened;
    window->findChild<SettingsPage*>()->SetOpener([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    for (int id : {SettingsPage::kWebsite, SettingsPage::kFeedback, SettingsPage::kQuestions})
        Find<QAbstractButton>(id)->click();
    EXPECT_EQ(opened, (std::vector<std::string>{"https://updates.example.com/quorvel/",
                                                "https://updates.example.com/quorvel/feedback",
                                                "https://updates.example.com/quorvel/faq"}));
}

TEST_F(MainWindowSettings, CloseButtonByExitModeWithAndWithoutATray) {
    struct Case {
        bool tray;
        const char* exitMode;
        bool hidden, minimised, exits;
    };
    const Case cases[] = {
        {true, "1", true, false, false},   // into the tray
        {false, "1", false, true, false},  // no tray: the window stays reachable, minimised
        {true, "0", false, false, true},   // ends, the tray icon removed first
        {false, "0", false, false, true}, {true, "2", false, false, true},  // any other value ends too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("tray ") + (c.tray ? "yes" : "no") + ", exit_mode " + c.exitMode);
        TrayIcon::SetAvailableForTests(c.tray);
        OpenWindow("");
        WritePreferenceText("exit_mode", c.exitMode);
        EXPECT_EQ(window->findChild<TrayIcon*>()->Shown(), c.tray);
        // The note is about "keep running": it shows in that mode only.
        OpenSettings();  // it reads the preferences as it opens
        auto* page = window->findChild<SettingsPage*>();
        EXPECT_EQ(Find(SettingsPage::kTrayHint)->isVisibleTo(page),
                  !c.tray && std::string(c.exitMode) == "1");
        QSignalSpy exits(window.get(), &DeviceMainDlg::ExitRequested);
        Find<QAbstractButton>(MainFrame::kClose)->click();
        EXPECT_EQ(!window->isVisible(), c.hidden);
        EXPECT_EQ(window->isMinimized(), c.minimised);
        EXPECT_EQ(exits.count(), c.exits ? 1 : 0);
        if (c.exits) {
            EXPECT_FALSE(window->findChild<TrayIcon*>()->Shown());
        }

        // A second start (or the tray) brings it back in every case.
        window->ShowFromOutside();
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isMinimized());
        CloseWindow();
    }
}

TEST_F(MainWindowSettings, TheTrayShowsTheWindowAndEndsTheProgram) {
    TrayIcon::SetAvailableForTests(true);
    OpenWindow("", false);
    EXPECT_FALSE(window->isVisible());
    emit window->findChild<TrayIcon*>()->showRequested();  // a click on the icon, with or without a mouse
    EXPECT_TRUE(window->isVisible());
    QSignalSpy exits(window.get(), &DeviceMainDlg::ExitRequested);
    QList<QAction*> items = window->findChild<TrayIcon*>()->Menu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "Show Window");
    EXPECT_EQ(items[1]->text(), "Exit");
    items[1]->trigger();
    EXPECT_EQ(exits.count(), 1);
    EXPECT_FALSE(window->findChild<TrayIcon*>()->Shown());
}

TEST_F(MainWindowSettings, TeardownStopsTheWorkerThenClosesWhatIsOpenAndRemovesTheTray) {
    TrayIcon::SetAvailableForTests(true);
    OpenWindow("102:wired");
    int answer = 0;
    OpenMessageBox(window.get(), 570, 571, kBoxOkCancel, [&](int result) { answer = result; });
    window->Teardown();
    EXPECT_FALSE(session->Worker().IsRunning());
    EXPECT_EQ(answer, kResultCancel);
    EXPECT_FALSE(window->findChild<TrayIcon*>()->Shown());
    // Reports after the teardown are not posted any more.
    window->Bridge().ShowNoDeviceView(kTitleNoDevice);
    Settle();
    EXPECT_NE(window->CurrentView(), MainViews::View::NoDevice);
    window->Teardown();  // again: nothing happens
}

// The texts of the whole window, English then Chinese, as a language pick on the settings page changes
// them; the profile button shows the default profile name in the new language.
TEST_F(MainWindowSettings, ALanguagePickReTextsTheWholeWindow) {
    OpenWindow("102:wired");
    emit window->Home().List().deviceClicked(102);
    struct Case {
        int id;
        QString english, chinese;
        bool toolTip = false;
    };
    const Case cases[] = {
        {MainFrame::kVersion, "Version: v1.0.0", "版本: v1.0.0"},
        {MainFrame::kSettings, "Settings", "设置", true},
        {MainFrame::kProfile, "Profile 1", "配置 1"},
        {MainFrame::kReset, "Restore Factory Settings", "恢复出厂设置"},
        {MainFrame::kStatusTitle, "Wired connection", "有线连接"},
        {HomePage::kHeading, "Choose a mouse to set it up", "选择要设置的鼠标"},
        {SettingsPage::kLeave, "Back", "返回"},
        {SettingsPage::kAutorun, "Start when I log in", "登录时自动启动"},
        {SettingsPage::kHideOnClose, "Keep running in the notification area", "最小化到通知区域继续运行"},
        {SettingsPage::kCheckSoftware, "Check for Updates", "检查更新"},
        {SettingsPage::kWebsite, "Website", "官方网站"},
    };
    auto shown = [&](const Case& c) {
        QWidget* w = Find(c.id);
        if (!w) return QString("<no control %1>").arg(c.id);
        if (c.toolTip) return w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        return qobject_cast<QAbstractButton*>(w)->text();
    };
    OpenSettings();
    for (const Case& c : cases) EXPECT_EQ(shown(c), c.english) << c.id;
    EXPECT_EQ(Find<MTabCtrl>(MainTabs::kTabStrip)->GetItemText(2), "Performance");

    auto* language = Find<QComboBox>(SettingsPage::kLanguage);
    EXPECT_EQ(language->currentData().toInt(), kLcidEnglish);
    language->setCurrentIndex(language->findData(kLcidChinese));
    emit language->activated(language->currentIndex());
    QApplication::processEvents();
    EXPECT_EQ(CurrentLanguage(), kLcidChinese);
    EXPECT_EQ(ReadLCID(), kLcidChinese);
    for (const Case& c : cases) EXPECT_EQ(shown(c), c.chinese) << c.id;
    EXPECT_EQ(Find<MTabCtrl>(MainTabs::kTabStrip)->GetItemText(2), "性能设置");
    EXPECT_EQ(window->findChild<TrayIcon*>()->Menu()->actions().at(1)->text(), "退出");
}

// Every text the window's own parts show is bound to its id (so it follows a language change), except the
// device name and the udev command. (The pages have their own tests.)
TEST_F(MainWindowSettings, EveryVisibleTextOfTheWindowIsBoundToItsId) {
    OpenWindow("102:wired");
    window->Bridge().ShowPermissionProblem({"/dev/hidraw3", 0x1209, 0x0001, 102, "denied"});
    emit window->Home().List().deviceClicked(102);
    Settle();
    // The window's registry, or the own one of a window it owns (the saving indicator): every registry
    // follows a language change.
    const QList<TextRegistry*> registries = window->findChildren<TextRegistry*>();
    const auto bound = [&](QWidget* w) {
        return std::any_of(registries.begin(), registries.end(),
                           [w](TextRegistry* registry) { return !registry->IdsOf(w).empty(); });
    };
    const QList<Page*> pages = window->findChildren<Page*>();
    const auto onAPage = [&](QWidget* w) {
        return std::any_of(pages.begin(), pages.end(), [w](Page* page) { return page->isAncestorOf(w); });
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (onAPage(w)) continue;
        QStringList texts;
        if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
        texts << w->toolTip();
        texts.removeAll(QString());
        if (texts.isEmpty() || w->objectName() == ControlName(MainFrame::kTitle) ||
            w->objectName() == ControlName(HomePage::kCommand))
            continue;
        EXPECT_TRUE(bound(w)) << "\"" << texts.join('|').toStdString() << "\" on "
                              << w->objectName().toStdString() << " has no text id";
    }
}

}  // namespace
}  // namespace quorvel::test
