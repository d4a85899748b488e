// The window and the mouse agree: an edit goes to the mouse it was made on or nowhere, the picked model is
// the one the pages show and edit, a battery report leaves what the user does alone, notices about the
// program's own files stay until read, and the firmware row says "up to date" only after a check said so.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <atomic>

#include "MainWindowFixture.h"
#include "sim/MouseMemory.h"
#include "store/DeviceDatabase.h"
#include "store/SettingsCatalogue.h"
#include "toolkit/BatteryCtrl.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/DPIControl.h"
#include "ui/pages/buttons/ButtonPage.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/pages/performance/DpiPanel.h"
#include "ui/pages/home/HomePage.h"
#include "ui/pages/macros/MacroPage.h"
#include "ui/window/MainFrame.h"
#include "ui/window/MainTabs.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/performance/PerformancePage.h"
#include "update/DownloadClient.h"
#include "update/UpdateFlow.h"

namespace quorvel::test {
namespace {

using View = MainViews::View;

class MainWindowMouse : public MainWindowTest {
protected:
    void Pick(int deviceType) { emit window->Home().List().deviceClicked(deviceType); }
    DPIControl* Levels() {
        return Find<PerformancePage>(MainTabs::kPerformancePage)
            ->findChild<DPIControl*>(ControlName(DpiPanel::kLevels));
    }
    std::string Stored(const std::string& key) {
        std::string value;
        session->Database().GetConfig(session->Core().CurrentProfile(), key, value);
        return value;
    }
    // The window in front, so that a field has the keyboard focus as with a user.
    void Activate() {
        window->activateWindow();
        ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == window.get(); }));
    }
};

// A DPI value typed (no Enter) on the wired mouse that is then unplugged: the window goes to the list with
// the other mouse, and the typed value reaches neither mouse nor its database. A question open on the
// page counts as refused.
TEST_F(MainWindowMouse, AnEditBelongsToTheMouseItWasMadeOn) {
    OpenWindow("102:wired;201:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    Pick(102);
    ASSERT_EQ(session->Core().CurrentDeviceType(), 102);
    PickTab(MainTabs::kPerformanceItem);
    Activate();
    const MouseMemory otherBefore = Mice().Mouse(1).Memory();

    Levels()->EditItem(3);
    auto* editor = Levels()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("4000");
    ASSERT_TRUE(WaitFor([&] { return editor->hasFocus(); }));
    int answer = 0;
    OpenMessageBox(window.get(), 253, 258, kBoxOkCancel, [&](int result) { answer = result; });

    Mice().Mouse(0).Unplug();
    ASSERT_TRUE(WaitForTask(kTaskRemoval));
    Settle();
    EXPECT_EQ(CurrentView(), View::DeviceList);
    EXPECT_EQ(session->Core().CurrentDeviceType(), 201);
    EXPECT_FALSE(Levels()->IsEditing());
    EXPECT_EQ(answer, kResultCancel) << "a question open while its mouse went is no consent";
    EXPECT_NE(Stored(DpiValueKey(3)), "4000") << "stored for the other mouse";
    // Whatever was queued has ended (a task queued last has): nothing reached the other mouse.
    session->Core().SetTaskHandler(kTaskCheckSoftware, [] { return true; });
    session->Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskCheckSoftware), std::chrono::seconds(10));
    EXPECT_TRUE(Mice().Mouse(1).Memory() == otherBefore) << "sent to the other mouse";
}

// A pick made while another switch waits ends on the model of the last pick, and the pages take no input
// until the picked model is loaded.
TEST_F(MainWindowMouse, TheLastPickIsTheModelLoaded) {
    OpenWindow("102:wired;201:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    ASSERT_EQ(session->Core().CurrentDeviceType(), 102);
    HoldWorker();  // a slow task ahead of the switch
    Pick(201);
    EXPECT_EQ(window->PendingPick(), 201);
    EXPECT_FALSE(Find<ButtonPage>(MainTabs::kButtonPage)->isEnabled())
        << "the pages still show the previous model";
    EXPECT_FALSE(Find<QPushButton>(MainFrame::kProfile)->isEnabled());
    PickTab(MainTabs::kHomeItem);
    Pick(102);  // back to the model still loaded, while the switch to 201 waits
    ReleaseWorker();
    ASSERT_TRUE(WaitFor([&] { return window->PendingPick() == 0; }));
    EXPECT_EQ(session->Core().CurrentDeviceType(), 102);
    EXPECT_EQ(window->Home().List().GetSelectDevice(), 102);
    EXPECT_TRUE(Find<ButtonPage>(MainTabs::kButtonPage)->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(MainFrame::kProfile)->isEnabled());
}

// The start-up software check waits for the first model load: a slow network never holds up the pick.
TEST_F(MainWindowMouse, TheSoftwareCheckNeverDelaysTheFirstModelLoad) {
    OpenWindow("102:wired;201:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    std::atomic<int> checks{0};
    session->Core().SetTaskHandler(kTaskCheckSoftware, [&] {
        ++checks;
        return true;
    });
    window->CheckSoftwareAfterFirstLoad();
    Settle();
    EXPECT_EQ(checks.load(), 0) << "no check before the model the user picks is loaded";
    Pick(201);
    const auto ended = [&](DeviceTask code) {
        for (const TaskEnd& end : ends)
            if (end.request.code == code) return true;
        return false;
    };
    ASSERT_TRUE(WaitFor([&] { return ended(kTaskSelectDevice) && ended(kTaskCheckSoftware); }))
        << "the check follows the load";
    EXPECT_EQ(checks.load(), 1);
    size_t select = ends.size(), check = ends.size();
    for (size_t i = 0; i < ends.size(); ++i) {
        if (ends[i].request.code == kTaskSelectDevice) select = i;
        if (ends[i].request.code == kTaskCheckSoftware) check = i;
    }
    EXPECT_LT(select, check);
}

// A connect report on a link that is up is a battery report: the battery changes and nothing else does
// (the page, an open question, a recording, the mouse is not read again).
TEST_F(MainWindowMouse, ABatteryReportIsNotAReconnect) {
    OpenWindow("103:wireless");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    Pick(103);
    PickTab(MainTabs::kDeviceInfoItem);
    const int item = CurrentItem();
    window->SetRecording(true);  // as the macro page's record button does
    int answer = 0;
    OpenMessageBox(window.get(), 253, 258, kBoxOkCancel, [&](int result) { answer = result; });
    SentSinceLastCall();

    Mice().Mouse(0).SetBattery(37, 0);
    ASSERT_TRUE(WaitFor([&] { return Find<BatteryCtrl>(MainFrame::kBattery)->GetBatteryLevel() == 37; }));
    Settle();
    EXPECT_EQ(CurrentView(), View::Device);
    EXPECT_EQ(CurrentItem(), item) << "still on the page the user chose";
    EXPECT_EQ(answer, 0) << "the question is still open";
    EXPECT_TRUE(window->Recording()) << "the recording goes on";
    EXPECT_TRUE(SentSinceLastCall().empty()) << "the mouse is not read again";
    EXPECT_EQ(CloseMessageBoxes(), 1);

    // A real reconnect still runs the reconnect path.
    Mice().Mouse(0).SetLink(false);
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::NoDevice; }));
    EXPECT_FALSE(window->Recording());
    Mice().Mouse(0).SetLink(true);
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::Device; }));
}

// A notice about the program's own files (a damaged database set aside, no trace log) stays open through
// a device change; a question about the mouse closes with it.
TEST_F(MainWindowMouse, NoticesAboutTheProgramsFilesStayUntilRead) {
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    window->ShowFileProblem("The trace log cannot be written.");
    int answer = 0;
    OpenMessageBox(window.get(), 253, 258, kBoxOkCancel, [&](int result) { answer = result; });
    Mice().Mouse(0).Unplug();
    ASSERT_TRUE(WaitForTask(kTaskRemoval));
    Settle();
    EXPECT_EQ(answer, kResultCancel);
    EXPECT_EQ(CloseMessageBoxes(), 0) << "only the program's notice is left, and it is not closed";
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<CUIMessageBox*>(w) && w->isVisible()) ++open;
    EXPECT_EQ(open, 1);
}

// The firmware row: "not checked" before a check, the failure with its reason after a failed one, and
// the receiver never said to be up to date.
TEST_F(MainWindowMouse, UpToDateOnlyAfterACheckSaidSo) {
    {
        OpenWindow("103:wireless");
        ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
        Pick(103);
        PickTab(MainTabs::kDeviceInfoItem);
        Settle();
        EXPECT_EQ(window->findChild<QLabel*>(ControlName(DeviceInfoPage::kReceiverResult))->text(),
                  "Not checked");
        window->findChild<QPushButton*>(ControlName(DeviceInfoPage::kReceiverCheck))->click();
        QString said;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<CUIMessageBox*>(w) && w->isVisible())
                said = Control<QLabel>(w, CUIMessageBox::kMessage)->text();
        EXPECT_EQ(said, "The receiver cannot be checked for updates here.");
        CloseMessageBoxes();
        CloseWindow();
    }
    OpenWindow("102:wired");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == View::DeviceList; }));
    Pick(102);
    PickTab(MainTabs::kDeviceInfoItem);
    Settle();
    auto* result = window->findChild<QLabel*>(ControlName(DeviceInfoPage::kFirmwareResult));
    auto* receiver = window->findChild<QLabel*>(ControlName(DeviceInfoPage::kReceiverResult));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->text(), "Not checked");
    EXPECT_TRUE(receiver->text().isEmpty()) << "a wired mouse has no receiver result";
    auto* check = window->findChild<QPushButton*>(ControlName(DeviceInfoPage::kFirmwareCheck));
    ASSERT_FALSE(session->Core().Snapshot().model.firmware_url.empty());
    // The server cannot be reached: through a proxy that refuses at once.
    DownloadLimits quick;
    quick.connectTimeoutMs = 2000;
    quick.fetchTextTimeoutMs = 5000;
    session->Update().Client().SetLimits(quick);
    ::setenv("https_proxy", "http://127.0.0.1:1", 1);
    ::setenv("HTTPS_PROXY", "http://127.0.0.1:1", 1);
    check->click();
    const bool ended = WaitForTask(kTaskCheckFirmware);
    ::unsetenv("https_proxy");
    ::unsetenv("HTTPS_PROXY");
    ASSERT_TRUE(ended);
    Settle();
    EXPECT_TRUE(result->text().startsWith("Check failed: ")) << result->text().toStdString();
    EXPECT_GT(result->text().size(), QString("Check failed: ").size()) << "with its reason";
}

}  // namespace
}  // namespace quorvel::test
