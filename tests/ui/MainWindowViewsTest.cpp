// The main window's views as the mice come and go: what discovery, a pick in the device list, the tab
// strip, the settings page and the link reports of a wireless mouse show; hot-plug of every model.

#include <QApplication>
#include <QMenu>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/MTabCtrl.h"
#include "ui/pages/home/HomePage.h"
#include "ui/window/MainFrame.h"
#include "ui/window/MainTabs.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/settings/SettingsPage.h"

namespace quorvel::test {
namespace {

using View = MainViews::View;

// The controls whose visibility the views decide.
constexpr int kWatched[] = {31, 40, 41, 43, 44, 45, 46, 47, 48, 49, 50, 56, 57, 58, 59};

class MainWindowViews : public MainWindowTest {
protected:
    // The watched controls that are visible now.
    std::set<int> VisibleNow() const {
        std::set<int> visible;
        for (int id : kWatched)
            if (Shown(id)) visible.insert(id);
        return visible;
    }
    MTabCtrl& Strip() { return *Find<MTabCtrl>(MainTabs::kTabStrip); }
    CDeviceList& List() { return window->Home().List(); }
    // A user's click on an item of the tab strip (rows from the top; every item visible).
    void ClickTab(int index) {
        const int row = Strip().height() / 6;
        QTest::mouseClick(&Strip(), Qt::LeftButton, {}, QPoint(Strip().width() / 2, row * index + row / 2));
    }
    void PickCard(int deviceType) { emit List().deviceClicked(deviceType); }
};

TEST_F(MainWindowViews, ViewsFollowDiscoveryTheListTheTabsAndTheSettingsPage) {
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    // The window's own captions stay; the list is all the home page shows.
    const std::set<int> list = {40, 41, 49, 57};
    // The R2 runs on its cable: no battery (43) beside the status title.
    const std::set<int> device = {40, 41, 44, 45, 46, 47, 48, 50};
    struct Step {
        const char* what;
        std::function<void()> act;
        View view;
        std::set<int> visible;
        int tabIndex;  // -1: not checked
    };
    const Step steps[] = {
        {"discovery found the mouse", [] {}, View::DeviceList, list, -1},
        {"the mouse is picked", [&] { PickCard(102); }, View::Device, device, 1},
        {"the performance tab", [&] { ClickTab(2); }, View::Device, {40, 41, 44, 45, 46, 47, 48}, 2},
        {"the settings page",
         [&] { Find<QAbstractButton>(MainFrame::kSettings)->click(); },
         View::Device,
         {44, 45, 46, 56},
         2},
        {"back from the settings page", [&] { Find<QAbstractButton>(SettingsPage::kLeave)->click(); },
         View::Device, device, 1},
        {"the home tab", [&] { ClickTab(0); }, View::DeviceList, list, 0},
        {"picked again", [&] { PickCard(102); }, View::Device, device, 1},
    };
    for (const Step& s : steps) {
        s.act();
        Settle();
        EXPECT_EQ(CurrentView(), s.view) << s.what;
        EXPECT_EQ(VisibleNow(), s.visible) << s.what;
        if (s.tabIndex >= 0) {
            EXPECT_EQ(Strip().GetCurSel(), s.tabIndex) << s.what;
        }
    }
    EXPECT_EQ(Find<QLabel>(MainFrame::kStatusTitle)->text(), "Wired connection");
    EXPECT_EQ(Find<QPushButton>(MainFrame::kProfile)->text(), "Profile 1");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowViews, WithoutAMouseTheNoDevicePanelShowsAndSettingsReturnToIt) {
    OpenWindow("");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::NoDevice; }));
    EXPECT_EQ(VisibleNow(), (std::set<int>{40, 41, 49, 58, 59}));
    EXPECT_EQ(Strip().GetCurSel(), 0);
    EXPECT_TRUE(Find<QLabel>(HomePage::kNoDeviceText)->text().contains("No device connected"));
    EXPECT_FALSE(Shown(HomePage::kCommand)) << "no permission problem";

    Find<QAbstractButton>(MainFrame::kSettings)->click();
    EXPECT_EQ(VisibleNow(), (std::set<int>{56}));
    Find<QAbstractButton>(SettingsPage::kLeave)->click();
    EXPECT_EQ(CurrentView(), View::NoDevice);
    EXPECT_EQ(VisibleNow(), (std::set<int>{40, 41, 49, 58, 59}));

    // The profile button is not reachable here, and a card of a mouse that is not there only says so.
    bool noticed = false;
    OnNextModal([&](QWidget* box) {
        noticed = Control<QLabel>(box, CUIMessageBox::kTitle)->text() == "Device not connected";
        qobject_cast<QDialog*>(box)->reject();
    });
    PickCard(102);
    EXPECT_TRUE(WaitFor([&] { return noticed; }));
    EXPECT_EQ(CurrentView(), View::NoDevice);
}

// Discovery switches the view of the window as it is, but only the user brings the window up: a start at
// log-in stays hidden, a minimised window stays minimised, and another application keeps the focus when
// the mouse is plugged in again.
TEST_F(MainWindowViews, DiscoveryNeverShowsRestoresOrActivatesTheWindow) {
    enum class State { Hidden, Minimised, Behind };
    const std::pair<const char*, State> cases[] = {
        {"hidden", State::Hidden}, {"minimised", State::Minimised}, {"behind another window", State::Behind}};
    for (const auto& [what, state] : cases) {
        OpenWindow("102:wired", state != State::Hidden);
        ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; })) << what;
        QWidget game;
        game.setWindowTitle("game");
        if (state == State::Minimised) window->showMinimized();
        if (state == State::Behind) {
            game.show();
            game.activateWindow();
            ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &game; })) << what;
        }
        Mice().Mouse(0).Unplug();
        ASSERT_TRUE(WaitForTask(kTaskRemoval)) << what;
        Mice().Mouse(0).Replug();
        ASSERT_TRUE(WaitForTask(kTaskArrival)) << what;
        Settle();
        EXPECT_EQ(CurrentView(), View::DeviceList) << what << ": the view follows all the same";
        EXPECT_EQ(window->isVisible(), state != State::Hidden) << what;
        EXPECT_EQ(window->isMinimized(), state == State::Minimised) << what;
        if (state == State::Behind) {
            EXPECT_EQ(QApplication::activeWindow(), &game) << what;
        }
        CloseWindow();
    }
}

// The user asks for the window (a second start, the tray): shown, restored and in front.
TEST_F(MainWindowViews, TheUserBringsTheWindowBack) {
    OpenWindow("102:wired", false);
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    EXPECT_FALSE(window->isVisible());
    window->ShowFromOutside();
    EXPECT_TRUE(window->isVisible());
    window->showMinimized();
    window->ShowFromOutside();
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(MainWindowViews, PickingAnotherModelSwitchesItOnTheWorkerAndFollowsItsDescriptor) {
    OpenWindow("102:wired;103:wireless;201:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    EXPECT_EQ(List().GetDeviceCount(), 3);
    EXPECT_EQ(List().GetOnlineDevCount(), 3);
    EXPECT_EQ(List().GetSelectDevice(), 102);
    const int lighting = Strip().IndexOfItem(MainTabs::kLightingItem);
    EXPECT_TRUE(Strip().IsItemVisible(lighting));

    // Model 103 has no lighting: its descriptor hides the lighting tab once the worker switched to it.
    PickCard(103);
    ASSERT_TRUE(WaitForTask(kTaskSelectDevice));
    Settle();
    EXPECT_EQ(session->Core().CurrentDeviceType(), 103);
    EXPECT_EQ(ReadDeviceType(), 103);
    EXPECT_EQ(CurrentView(), View::Device);
    EXPECT_FALSE(Strip().IsItemVisible(lighting));
    EXPECT_FALSE(window->Model().light);
    EXPECT_EQ(Find<QLabel>(MainFrame::kStatusTitle)->text(), "Wireless connection");

    PickCard(201);
    ASSERT_TRUE(WaitForTask(kTaskSelectDevice));
    Settle();
    EXPECT_EQ(session->Core().CurrentDeviceType(), 201);
    EXPECT_TRUE(Strip().IsItemVisible(lighting));
    EXPECT_EQ(Find<QLabel>(MainFrame::kStatusTitle)->text(), "Wired connection");
    EXPECT_TRUE(Mice().AllIssues().empty());
}

TEST_F(MainWindowViews, AWirelessLinkLostAndRestoredSwitchesTheViews) {
    OpenWindow("103:wireless");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    emit List().deviceClicked(103);
    ASSERT_EQ(CurrentView(), View::Device);
    ClickTab(2);
    // Under way when the link goes: a question, a menu, and a macro recording.
    int answer = 0;
    OpenMessageBox(window.get(), 570, 571, kBoxOkCancel, [&](int result) { answer = result; });
    QMenu menu(window.get());
    menu.setObjectName("Menu Window");
    menu.addAction("item");
    menu.popup(window->mapToGlobal(QPoint(400, 400)));
    window->SetRecording(true);
    EXPECT_FALSE(Strip().isEnabled());
    EXPECT_FALSE(Find(MainFrame::kProfile)->isEnabled());

    Mice().Mouse(0).SetLink(false);
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::NoDevice; }));
    Settle();
    EXPECT_EQ(answer, kResultCancel) << "an open question counts as refused";
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(Strip().isEnabled()) << "the recording stopped";
    EXPECT_TRUE(Find(MainFrame::kProfile)->isEnabled());
    EXPECT_EQ(List().GetDeviceState(103), 0);
    EXPECT_EQ(Strip().GetCurSel(), 0);
    EXPECT_EQ(Find<QLabel>(MainFrame::kStatusTitle)->text(), Text(kTitleNoDevice));
    EXPECT_FALSE(session->Core().Snapshot().connected);

    // The profile dialog is not offered while the mouse is away.
    bool noticed = false;
    OnNextModal([&](QWidget* box) {
        noticed = Control<QLabel>(box, CUIMessageBox::kMessage)->text() == "Device not connected";
        qobject_cast<QDialog*>(box)->reject();
    });
    Find<QPushButton>(MainFrame::kProfile)->click();
    EXPECT_TRUE(WaitFor([&] { return noticed; }));

    Mice().Mouse(0).SetLink(true);
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::Device; }));
    Settle();
    EXPECT_EQ(Strip().GetCurSel(), 1);
    EXPECT_EQ(Find<QLabel>(MainFrame::kStatusTitle)->text(), Text(kTitleWireless));
    EXPECT_EQ(List().GetDeviceState(103), 1);
    EXPECT_TRUE(session->Core().Snapshot().connected);
}

// Every model and link, unplugged and plugged in again: the removal reaches the worker as task 3, the
// arrival as task 2, and the views and the list follow. The status line says why the pages went, and the
// window goes back to the mouse the user was on when it is back.
class MainWindowHotplug : public MainWindowViews, public ::testing::WithParamInterface<const char*> {};

TEST_P(MainWindowHotplug, UnplugAndReplug) {
    OpenWindow(GetParam());
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    const int type = Mice().Mouse(0).Spec().deviceType;
    emit List().deviceClicked(type);
    EXPECT_EQ(CurrentView(), View::Device);

    Mice().Mouse(0).Unplug();
    ASSERT_TRUE(WaitForTask(kTaskRemoval));
    Settle();
    EXPECT_EQ(CurrentView(), View::NoDevice);
    EXPECT_EQ(List().GetDeviceState(type), 0);
    EXPECT_EQ(List().GetOnlineDevCount(), 0);
    EXPECT_EQ(ends.back().result.error, DeviceError::NoDevice);
    EXPECT_EQ(Find<QLabel>(MainFrame::kBottomText)->text(), "The mouse was unplugged.")
        << "why, and not as a failed change";

    Mice().Mouse(0).Replug();
    ASSERT_TRUE(WaitForTask(kTaskArrival));
    Settle();
    EXPECT_TRUE(ends.back().result.ok()) << DeviceErrorText(ends.back().result.error);
    EXPECT_EQ(CurrentView(), View::Device) << "back to the mouse";
    EXPECT_EQ(Strip().GetCurSel(), 1);
    EXPECT_EQ(List().GetDeviceState(type), 1);
    EXPECT_EQ(List().GetSelectDevice(), type);
    EXPECT_TRUE(Mice().AllIssues().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryModel, MainWindowHotplug,
                         ::testing::Values("102:wired", "103:wireless", "103:wired", "201:wired",
                                           "201:wireless"));

}  // namespace
}  // namespace quorvel::test
