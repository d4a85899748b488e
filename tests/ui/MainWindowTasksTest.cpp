// Changes made in the window reach the mouse as made (HID trace compared), a failed change is told with
// its reason, and a mouse this user may not open is explained with the command that fixes it.

#include <QClipboard>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "actions/Actions.h"
#include "store/ButtonCodes.h"
#include "store/LightDefaults.h"
#include "toolkit/CDeviceList.h"
#include "ui/pages/home/HomePage.h"
#include "ui/window/MainFrame.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/window/TaskNotice.h"

namespace quorvel::test {
namespace {

class MainWindowTasks : public MainWindowTest {};

std::vector<std::string> OnlyCommand(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
}

// Two button changes made while the mouse is still busy with an earlier task: both reach it. The
// feature family sends each button with its own request; the report family sends the whole table, which
// holds both changes by the time the first write runs.
TEST_F(MainWindowTasks, TwoQuickButtonChangesBothReachTheMouse) {
    const struct {
        const char* mice;
        std::vector<std::string> sent;
    } cases[] = {
        {"201:wired",
         {FeatureSend("0C 01 04 00 00 01 04 01 10 04 00"), FeatureSend("0C 01 04 00 01 01 04 02 10 10 00")}},
        {"102:wired",
         {ReportWrite("00 09 00 01 0F 10 01 00 10 04 00 10 10 00 10 08 00 10 10 00 40 01 00"),
          ReportWrite("00 09 00 01 0F 10 01 00 10 04 00 10 10 00 10 08 00 10 10 00 40 01 00")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mice);
        OpenWindow(c.mice);
        HoldWorker();
        // Right button: middle click; middle button: forward.
        EXPECT_EQ(window->Queue(AssignMenuFunction(ctx(), 1, kMouseFunction, 2)).size(), 1u);
        EXPECT_EQ(window->Queue(AssignMenuFunction(ctx(), 2, kMouseFunction, 5)).size(), 1u);
        const size_t seen = ends.size();
        ReleaseWorker();
        ASSERT_TRUE(WaitForEnds(seen + 3));  // the held task and both writes
        EXPECT_TRUE(ends[seen + 1].result.ok()) << DeviceErrorText(ends[seen + 1].result.error);
        EXPECT_TRUE(ends[seen + 2].result.ok()) << DeviceErrorText(ends[seen + 2].result.error);
        EXPECT_EQ(SentSinceLastCall(), c.sent);
        EXPECT_TRUE(Mice().AllIssues().empty());
        CloseWindow();
        db.Close();
    }
}

TEST_F(MainWindowTasks, AProfileSwitchFromTheWindowSendsTheNewProfilesLighting) {
    OpenWindow("102:wired");
    Settle();
    EXPECT_EQ(Find<QPushButton>(MainFrame::kProfile)->text(), "Profile 1");
    // Profile 2 was set up with mode 4 active at brightness 1, speed 5.
    AddDefaultLightModes(db, 2, {true, true, true, true, true, true});
    ASSERT_TRUE(db.SetActiveLightMode(2, 4));
    LightModeRecord four;
    ASSERT_TRUE(db.GetLightMode(2, 4, four));
    four.brightness = 1;
    four.speed = 5;
    ASSERT_TRUE(db.UpdateLightMode(4, four));

    ASSERT_EQ(window->Queue(SwitchProfile(ctx(), 2)).size(), 1u);
    window->ProfileChanged();  // as the profile dialog tells the window
    EXPECT_EQ(Find<QPushButton>(MainFrame::kProfile)->text(), "Profile 2");
    ASSERT_TRUE(WaitForTask(kTaskWriteProfile));
    EXPECT_TRUE(ends.back().result.ok()) << DeviceErrorText(ends.back().result.error);
    EXPECT_EQ(OnlyCommand(SentSinceLastCall(), "write 0001:0000 00 05"),
              std::vector<std::string>{ReportWrite("00 05 00 01 02 04 15")});
    EXPECT_TRUE(Mice().AllIssues().empty());
}

TEST_F(MainWindowTasks, AFailedChangeTellsItsReasonInTheBottomBar) {
    const struct {
        const char* mice;
        SimFaultKind fault;
        const char* shown;
    } cases[] = {
        {"102:wired", SimFaultKind::BadStatus, "Not sent to the mouse: the mouse refused the change."},
        {"102:wired", SimFaultKind::NoReply, "Not sent to the mouse: the mouse did not answer."},
        {"201:wired", SimFaultKind::WriteFails, "Not sent to the mouse: the mouse did not accept the data."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        OpenWindow(c.mice);
        Mice().Mouse(0).InjectFault({c.fault, -1, 1});
        ASSERT_EQ(window->Queue(SetReportRate(ctx(), 500)).size(), 1u);
        ASSERT_TRUE(WaitForTask(kTaskWriteReportRate));
        EXPECT_EQ(ends.back().result.status, TaskStatus::Failed);
        EXPECT_EQ(Find<QLabel>(MainFrame::kBottomText)->text(), c.shown);
        CloseWindow();
        db.Close();
    }
}

TEST_F(MainWindowTasks, AFailedFactoryResetIsToldInABox) {
    OpenWindow("102:wired");
    const ActionResult reset = FactoryReset(ctx());
    ASSERT_TRUE(reset.ok) << reset.message;
    // The reset's first request is refused. Refusing every request would also refuse the read-back after
    // it, and each refused request waits out all its reads, as on a real mouse.
    Mice().Mouse(0).InjectFault({SimFaultKind::BadStatus, -1, 1});
    QString title, message;
    OnNextModal([&](QWidget* box) {
        title = Control<QLabel>(box, CUIMessageBox::kTitle)->text();
        message = Control<QLabel>(box, CUIMessageBox::kMessage)->text();
        qobject_cast<QDialog*>(box)->accept();
    });
    window->Queue(reset);
    ASSERT_TRUE(WaitForTask(kTaskFactoryReset));
    EXPECT_TRUE(WaitFor([&] { return !title.isEmpty(); }));
    EXPECT_EQ(title, "Restore Factory Settings");
    EXPECT_EQ(message, "Not sent to the mouse: the mouse refused the change.");
    Mice().Mouse(0).ClearFaults();
}

// A model's database that SQLite calls damaged is set aside when the worker opens it on a model switch;
// the notice crosses from the worker to the window and is shown in a box.
TEST_F(MainWindowTasks, ADamagedDatabaseFoundOnAModelSwitchIsToldInABox) {
    OpenWindow("102:wired;201:wired");
    emit window->Home().List().deviceClicked(201);
    ASSERT_TRUE(WaitForTask(kTaskSelectDevice));
    ASSERT_EQ(session->Core().CurrentDeviceType(), 201);
    // Model 102's database (its key in config.xml is QuorvelR2) is overwritten while 201's is open.
    namespace fs = std::filesystem;
    int damaged = 0;
    for (const auto& entry : fs::recursive_directory_iterator(std::getenv("XDG_DATA_HOME"))) {
        if (entry.path().filename() != "QuorvelR2_data.db") continue;
        std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << std::string(3000, 'Z');
        ++damaged;
    }
    ASSERT_EQ(damaged, 1);

    QString message;
    OnNextModal([&](QWidget* box) {
        message = Control<QLabel>(box, CUIMessageBox::kMessage)->text();
        qobject_cast<QDialog*>(box)->accept();
    });
    emit window->Home().List().deviceClicked(102);
    ASSERT_TRUE(WaitForTask(kTaskSelectDevice));
    EXPECT_TRUE(WaitFor([&] { return !message.isEmpty(); })) << "no box told of the damaged file";
    EXPECT_TRUE(message.contains(".damaged-")) << message.toStdString();
    EXPECT_EQ(session->Core().CurrentDeviceType(), 102);
}

TEST(TaskNoticeTest, OnlyFailuresOfTheUsersChangesAreTold) {
    const struct {
        DeviceTask code;
        TaskResult result;
        std::vector<int> ids;
        bool box;
    } cases[] = {
        {kTaskWriteReportRate, TaskResult::Of(DeviceError::Refused), {720, 726}, false},
        {kTaskWriteKeys, TaskResult::Of(DeviceError::Gone), {720, 723}, false},
        {kTaskWriteProfile, TaskResult::Of(DeviceError::NotLinked), {720, 727}, false},
        {kTaskSelectDevice, TaskResult::Of(DeviceError::NoReply), {731, 725}, false},
        {kTaskFactoryReset, TaskResult::Of(DeviceError::WriteFailed), {720, 724}, true},
        {kTaskWriteKeys, TaskResult::Of(DeviceError::TooLong), {720, 729}, false},
        {kTaskRemoval, TaskResult::Of(DeviceError::NoDevice), {}, false},  // hot-plug: the views tell it
        {kTaskStart, TaskResult::Of(DeviceError::NoReply), {}, false},
        {kTaskWriteDpiLevels, TaskResult::Of(DeviceError::ModelChanged), {}, false},  // overtaken by a pick
        {kTaskWriteDpiLevels, {TaskStatus::Stopped}, {}, false},                      // the program ends
        {kTaskWriteDpiLevels, TaskResult::Of(DeviceError::None), {}, false},
        {kTaskInstallSoftware, TaskResult::Of(DeviceError::UpdateFailed), {}, false},  // the update dialogs
    };
    for (const auto& c : cases) {
        const TaskNotice notice = NoticeForTask(DeviceTaskRequest(c.code), c.result);
        EXPECT_EQ(notice.textIds, c.ids) << c.code << " " << DeviceErrorText(c.result.error);
        EXPECT_EQ(notice.box, c.box) << c.code;
    }
    // Every reason has its words.
    for (DeviceError e :
         {DeviceError::NotOpen, DeviceError::NoDevice, DeviceError::Gone, DeviceError::WriteFailed,
          DeviceError::NoReply, DeviceError::Refused, DeviceError::NotLinked, DeviceError::NothingToSend,
          DeviceError::TooLong, DeviceError::UpdateFailed})
        EXPECT_NE(ReasonText(e), 0) << DeviceErrorText(e);
}

TEST_F(MainWindowTasks, APermissionProblemShowsTheCommandThatFixesIt) {
    OpenWindow("");
    ASSERT_TRUE(WaitFor([&] { return CurrentView() == MainViews::View::NoDevice; }));
    // What discovery reports for a mouse it may not open (the virtual mouse never refuses).
    window->Bridge().ShowNoDeviceView(kTitleNoDevice);
    window->Bridge().ShowPermissionProblem({"/dev/hidraw3", 0x1209, 0x0001, 102, "permission denied"});
    Settle();
    EXPECT_TRUE(Find<QLabel>(HomePage::kNoDeviceText)->text().contains("The mouse cannot be opened"));
    EXPECT_FALSE(Find<QLabel>(HomePage::kNoDeviceText)->text().contains("No device connected"));
    ASSERT_TRUE(Shown(HomePage::kCommand));
    EXPECT_EQ(Find<QLabel>(HomePage::kCommand)->text(), UdevRuleCommand());
    auto* copy = Find<QPushButton>(HomePage::kCopy);
    copy->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), UdevRuleCommand());
    EXPECT_EQ(copy->text(), "Copied");

    // The next discovery without the problem says "no device" again.
    window->Bridge().ShowNoDeviceView(kTitleNoDevice);
    Settle();
    EXPECT_TRUE(Find<QLabel>(HomePage::kNoDeviceText)->text().contains("No device connected"));
    EXPECT_FALSE(Shown(HomePage::kCommand));
}

TEST(UdevRuleCommandTest, InstallsTheProgramsRuleOrOnlyReloads) {
    const std::string reload =
        "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw";
    const struct {
        const char* folder;
        bool installed;
        std::string command;
    } cases[] = {
        {"/opt/quorvel/bin/", false,
         "sudo install -m 644 /opt/quorvel/bin/70-quorvel.rules /etc/udev/rules.d/ && " + reload},
        {"/opt/quorvel/bin", false,
         "sudo install -m 644 /opt/quorvel/bin/70-quorvel.rules /etc/udev/rules.d/ && " + reload},
        {"/home/me/My Builds/bin/", false,
         "sudo install -m 644 '/home/me/My Builds/bin/70-quorvel.rules' /etc/udev/rules.d/ && " + reload},
        {"/tmp/it's/", false,
         "sudo install -m 644 '/tmp/it'\\''s/70-quorvel.rules' /etc/udev/rules.d/ && " + reload},
        {"/opt/quorvel/bin/", true, reload},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UdevRuleCommand(c.folder, c.installed).toStdString(), c.command) << c.folder;
}

}  // namespace
}  // namespace quorvel::test
