// The window side of the updates on virtual mice against the loopback server: the offers, the software
// download with its progress dialog, the firmware update with its own, and the device-information page's
// version rows and check buttons.

#include <gmock/gmock.h>

#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>
#include <set>
#include <thread>

#include "PageFixture.h"
#include "sim/VirtualMouse.h"
#include "ui/pages/deviceinfo/DeviceInfoPage.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/dialogs/UpdateProcessDlg.h"
#include "ui/dialogs/UpdateTipDlg.h"
#include "ui/window/UpdateUi.h"
#include "update/TestFiles.h"
#include "update/TestHttpServer.h"
#include "update/UpdateFlow.h"
#include "update/UpdateServerFixture.h"

namespace quorvel::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

// What the worker reports, carried to the UI thread as the main window does.
class Bridge : public GateView {
public:
    UpdateUi* updates = nullptr;
    DeviceInfoPage* page = nullptr;
    // The tasks whose end reached the UI thread. A task's other reports (an offer) come before its end.
    std::set<uint64_t> finished;

    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) override {
        Post([this, id, request, result] {
            if (updates) updates->TaskFinished(id, request, result);
            if (page) page->TaskFinished(id, request, result);
            finished.insert(id);
        });
        GateView::TaskFinished(id, request, result);
    }
    void OfferUpdate(int kind, bool newer, const std::string& newest) override {
        Post([this, kind, newer, newest] {
            if (updates) updates->OfferUpdate(kind, newer, newest);
        });
    }
    void SetDownloadProgress(int percent) override {
        Post([this, percent] {
            if (updates) updates->SetDownloadProgress(percent);
        });
    }
    void InstallerStarted(const std::string& path) override {
        Post([this, path] {
            if (updates) updates->InstallerStarted(path);
        });
    }
    void UpdateFailed(int kind, const std::string& reason) override {
        Post([this, kind, reason] {
            if (updates) updates->UpdateFailed(kind, reason);
        });
    }
    void SetFirmwareProgress(int percent, const std::string& text) override {
        Post([this, percent, text] {
            if (page) page->SetFirmwareProgress(percent, text);
        });
    }
    void EndFirmwareProgress() override {
        Post([this] {
            if (page) page->EndFirmwareProgress();
        });
    }
    void SetFirmwareCheckLabel(const std::string& text) override {
        Post([this, text] {
            if (page) page->SetFirmwareCheckLabel(text);
        });
    }

private:
    // Calls still queued when the bridge goes are dropped with its context.
    void Post(std::function<void()> call) {
        QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
    }
    QObject context_;
};

// Sees every widget being shown, so a dialog that opens and closes again between two looks of a test (a
// download of a few bytes ends at once) is still seen.
class ShowRecorder : public QObject {
public:
    std::function<void(QWidget*)> shown;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() && shown)
            shown(static_cast<QWidget*>(watched));
        return false;
    }
};

class UpdateUiTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        BypassProxies();
        product_ = CopyProductFor(server, scratch.Path());
    }
    void TearDown() override {
        qApp->removeEventFilter(&recorder);
        bridge.updates = nullptr;
        bridge.page = nullptr;
        delete updates;
        delete page;
        PageTest::TearDown();
    }

    // The session on these mice with the product whose update addresses are the test server's; the
    // update side and the device-information page on the test host.
    void OpenMice(const std::string& mice) {
        SessionOptions options = Options(mice);
        options.productDir = product_;
        OpenWith(options);
        if (HasFatalFailure()) return;
        session->Update().Client().SetLimits(QuickLimits());
        Start(&bridge);
        SetCurrentLanguage(kLcidEnglish);
        host = std::make_unique<TestPageHost>(*session);
        host->Window()->show();
        updates = new UpdateUi(*host);
        updates->SetExitAction([this] { ++exits; });
        page = new DeviceInfoPage(*host, host->Window());
        page->show();
        bridge.updates = updates;
        bridge.page = page;
        recorder.shown = [this](QWidget* w) {
            if (dynamic_cast<UpdateProcessDlg*>(w)) ++downloadsShown, busyWhenShown = updates->Busy();
            if (dynamic_cast<UpdateTipDlg*>(w)) ++tipsShown, busyWhenShown = updates->Busy();
        };
        qApp->installEventFilter(&recorder);
    }

    // Queues a task as the window does and waits until its end reached the UI.
    void RunTask(DeviceTask task) {
        const uint64_t id = session->Worker().QueueTask(DeviceTaskRequest(task));
        ASSERT_NE(id, 0u);
        ASSERT_TRUE(Until([&] { return bridge.finished.count(id) != 0; }));
    }
    // The next message box: its title and text; answered with `button` (1 or 2).
    struct Shown {
        QString title, message;
    };
    std::shared_ptr<Shown> AnswerNextBox(int button) {
        auto shown = std::make_shared<Shown>();
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [shown, button, poll] {
            // A progress dialog may be the modal window under the box: wait for the box itself.
            if (auto* box = qobject_cast<CUIMessageBox*>(QApplication::activeModalWidget());
                box && box->isVisible()) {
                shown->title = Control<QLabel>(box, CUIMessageBox::kTitle)->text();
                shown->message = Control<QLabel>(box, CUIMessageBox::kMessage)->text();
                Control<QPushButton>(box,
                                     button == 1 ? CUIMessageBox::kFirstButton : CUIMessageBox::kSecondButton)
                    ->click();
                *poll = nullptr;
                return;
            }
            QTimer::singleShot(1, *poll);
        };
        QTimer::singleShot(0, *poll);
        return shown;
    }
    // Runs the UI until `done` holds (false after 20 s).
    bool Until(const std::function<bool()>& done) {
        for (int i = 0; i < 4000 && !done(); ++i) {
            QApplication::processEvents();
            QTest::qWait(5);
        }
        return done();
    }
    // The box was answered and is gone.
    bool Answered(const std::shared_ptr<Shown>& shown) {
        return Until([&] { return !shown->title.isEmpty(); }) && Until([&] { return NoModal(); });
    }
    bool NoModal() { return qobject_cast<CUIMessageBox*>(QApplication::activeModalWidget()) == nullptr; }
    std::string Work() const { return DataFolder() + "temp/"; }

    TestHttpServer server;
    ScratchDir scratch;
    Bridge bridge;
    ShowRecorder recorder;
    int downloadsShown = 0, tipsShown = 0;
    bool busyWhenShown = false;
    UpdateUi* updates = nullptr;
    DeviceInfoPage* page = nullptr;
    int exits = 0;

private:
    std::string product_;
};

// The software check (installed 1.0.0) offers only a newer version; declining queues nothing.
TEST_F(UpdateUiTest, SoftwareOfferOnlyWhenNewer) {
    OpenMice("102:wired");
    struct Case {
        const char* server;
        bool offered;
    };
    const Case cases[] = {{"1.0.0", false}, {"0.9.9", false}, {"1.0.1", true}, {"1.1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        server.Answer(kSoftwareVersion, Reply(200, c.server));
        if (!c.offered) {
            RunTask(kTaskCheckSoftware);
            QApplication::processEvents();
            EXPECT_TRUE(NoModal());
        } else {
            auto shown = AnswerNextBox(2);
            RunTask(kTaskCheckSoftware);
            ASSERT_TRUE(Answered(shown));
            EXPECT_EQ(shown->title, "Software Update");
            // The sample product copied here lists no update keys: the offer says so.
            EXPECT_EQ(shown->message.toStdString(),
                      "New version:v" + std::string(c.server) +
                          ", Update now?\nUpdates are not signed: this program holds no update keys.");
            QApplication::processEvents();
        }
        EXPECT_FALSE(updates->Busy());
        EXPECT_EQ(updates->DownloadDialog(), nullptr);
    }
}

TEST_F(UpdateUiTest, YesDownloadsAndStartsTheSetUpProgram) {
    OpenMice("102:wired");
    const std::string marker = scratch / "started";
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1"));
    const std::string script =
        "#!/bin/sh\necho started > '" + marker + ".tmp'\nmv '" + marker + ".tmp' '" + marker + "'\n";
    server.Answer(kSoftwareArchive, Reply(200, MakeZip(scratch, {{"Mouse-Setup-1.0.1.run", script}}, true)));
    auto offer = AnswerNextBox(1);
    RunTask(kTaskCheckSoftware);
    ASSERT_TRUE(Until([&] { return downloadsShown == 1; }));
    EXPECT_TRUE(busyWhenShown) << "the window must not end during the download";
    ASSERT_TRUE(Until([&] { return exits == 1; }));
    EXPECT_TRUE(Until([&] { return updates->DownloadDialog() == nullptr; }));
    EXPECT_FALSE(updates->Busy());
    for (int i = 0; i < 1000 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadWholeFile(marker), "started\n");
}

// A download that fails, and one the user cancels: the dialog closes; only the failure is explained.
TEST_F(UpdateUiTest, FailedOrCancelledDownloadClosesTheDialog) {
    OpenMice("102:wired");
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1"));
    server.Answer(kSoftwareArchive, Reply(404, "gone"));
    auto offer = AnswerNextBox(1);
    RunTask(kTaskCheckSoftware);
    ASSERT_TRUE(Until([&] { return !offer->title.isEmpty(); }));
    // The download fails at once: its dialog may come and go before a look.
    auto failure = AnswerNextBox(1);
    ASSERT_TRUE(Answered(failure));
    EXPECT_EQ(updates->DownloadDialog(), nullptr);
    EXPECT_EQ(failure->title, "Software Update");
    EXPECT_THAT(failure->message.toStdString(), HasSubstr("HTTP status 404"));
    EXPECT_FALSE(updates->Busy());
    EXPECT_EQ(exits, 0);

    // A download that stalls until the user cancels it.
    HttpAnswer stalled = Reply(200, std::string(100000, 'x'));
    stalled.pieces = {1000};
    stalled.stallAfterPieces = true;
    server.Answer(kSoftwareArchive, stalled);
    offer = AnswerNextBox(1);
    RunTask(kTaskCheckSoftware);
    ASSERT_TRUE(Until([&] { return updates->DownloadDialog() != nullptr; }));
    UpdateProcessDlg* dialog = updates->DownloadDialog();
    Control<QPushButton>(dialog, UpdateProcessDlg::kCancel)->click();
    ASSERT_TRUE(Until([&] { return updates->DownloadDialog() == nullptr; }));
    QTest::qWait(50);
    QApplication::processEvents();
    EXPECT_TRUE(NoModal()) << "a cancel by the user needs no explanation";
    EXPECT_FALSE(updates->Busy());
    EXPECT_EQ(exits, 0);
}

// The firmware offer of the page's check button; a sound image reaches the mouse, a damaged one never does
// and the user is told why.
TEST_F(UpdateUiTest, FirmwareUpdateFromThePage) {
    OpenMice("102:wired");
    struct Case {
        const char* name;
        bool damaged;
        const char* title;
        const char* message;
    };
    const Case cases[] = {
        // The damaged one first: the sound one makes the mouse's version the newest.
        {"damaged", true, "Mouse Firmware", "CRC-32 does not match"},
        {"sound", false, "Mouse Firmware", "Upgrade finished"},
    };
    const std::string image = Image(2000);
    server.Answer(kFirmwareVersion, Reply(200, "106"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string zip = MakeZip(scratch, {{"firmware-106.bin", image}}, true);
        server.Answer(kFirmwareArchive, Reply(200, c.damaged ? DamageFirstEntry(zip) : zip));
        Mice().Mouse(0).ClearRequests();
        auto offer = AnswerNextBox(1);
        QPushButton* check = Control<QPushButton>(page, DeviceInfoPage::kFirmwareCheck);
        ASSERT_TRUE(check->isEnabled());
        check->click();
        EXPECT_FALSE(check->isEnabled()) << "one check at a time";
        const int tipsBefore = tipsShown;
        ASSERT_TRUE(Until([&] { return tipsShown > tipsBefore; }));
        EXPECT_EQ(offer->title, "Mouse Firmware");
        EXPECT_TRUE(busyWhenShown);
        auto end = AnswerNextBox(1);
        ASSERT_TRUE(Answered(end));
        EXPECT_EQ(end->title, c.title);
        EXPECT_THAT(end->message.toStdString(), HasSubstr(c.message));
        EXPECT_TRUE(Until([&] { return UpdateTipDlg::Find(host->Window()) == nullptr; }));
        EXPECT_FALSE(updates->Busy());
        EXPECT_TRUE(check->isEnabled());
        const std::vector<uint8_t> received = Mice().Mouse(0).FirmwareImage();
        EXPECT_EQ(std::string(received.begin(), received.end()), c.damaged ? "" : image);
    }
    EXPECT_THAT(Mice().AllIssues(), IsEmpty());
}

// The firmware dialog's Cancel ends the download, once; from the transfer on it is gone, and Esc does
// nothing either: an image cut off halfway would leave the mouse without firmware.
class UpdateTipCancel : public UiTest {};

TEST_F(UpdateTipCancel, OnlyBeforeTheTransfer) {
    QWidget owner;
    owner.show();
    struct Case {
        int step;
        int cancels;
    };
    for (const Case c : {Case{5, 1}, Case{7, 1}, Case{10, 0}, Case{60, 0}}) {
        SCOPED_TRACE(c.step);
        UpdateTipDlg* dialog = UpdateTipDlg::Open(&owner);
        int cancels = 0;
        QObject::connect(dialog, &UpdateTipDlg::cancelRequested, [&cancels] { ++cancels; });
        dialog->SetStep(c.step, QStringLiteral("step"));
        auto* cancel = Control<QPushButton>(dialog, UpdateTipDlg::kCancel);
        EXPECT_EQ(cancel->isEnabled(), c.cancels == 1);
        cancel->click();
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_EQ(cancels, c.cancels) << "asked once at most";
        EXPECT_TRUE(dialog->isVisible()) << "the dialog waits for the task's end";
        dialog->Finish();
        EXPECT_EQ(UpdateTipDlg::Find(&owner), nullptr);
        QApplication::processEvents();
    }
}

// A check that cannot reach the server says so where the user pressed, with the reason; the button comes
// back for another try.
TEST_F(UpdateUiTest, AFailedFirmwareCheckIsSaid) {
    OpenMice("102:wired");
    server.Answer(kFirmwareVersion, Reply(500, "busy"));
    auto shown = AnswerNextBox(1);
    QPushButton* check = Control<QPushButton>(page, DeviceInfoPage::kFirmwareCheck);
    check->click();
    ASSERT_TRUE(Answered(shown));
    EXPECT_EQ(shown->title, "Mouse Firmware");
    EXPECT_THAT(shown->message.toStdString(), HasSubstr("Check failed: cannot fetch the firmware version"));
    EXPECT_THAT(Control<QLabel>(page, DeviceInfoPage::kFirmwareResult)->text().toStdString(),
                HasSubstr("Check failed"));
    EXPECT_TRUE(check->isEnabled());
    EXPECT_EQ(tipsShown, 0);
}

// The version rows by link: the firmware check only on a wired link; the receiver's button only tells.
// The battery shows only for the model that runs on one.
struct LinkCase {
    const char* mice;
    const char* firmware;
    const char* receiver;
    bool firmwareCheck, receiverCheck;
    const char* link;
    bool battery;
    const char* batteryRow;
};
std::ostream& operator<<(std::ostream& os, const LinkCase& c) {
    return os << c.mice;
}

class VersionRows : public UpdateUiTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(VersionRows, ByLink) {
    const LinkCase& c = GetParam();
    OpenMice(c.mice);
    page->ShowVersionLabels();
    EXPECT_EQ(Control<QLabel>(page, DeviceInfoPage::kFirmwareVersion)->text().toStdString(), c.firmware);
    EXPECT_EQ(Control<QLabel>(page, DeviceInfoPage::kReceiverVersion)->text().toStdString(), c.receiver);
    EXPECT_EQ(Control<QPushButton>(page, DeviceInfoPage::kFirmwareCheck)->isEnabled(), c.firmwareCheck);
    EXPECT_EQ(Control<QPushButton>(page, DeviceInfoPage::kReceiverCheck)->isEnabled(), c.receiverCheck);
    EXPECT_EQ(Control<QLabel>(page, DeviceInfoPage::kLinkText)->text().toStdString(), c.link);
    EXPECT_EQ(Control(page, DeviceInfoPage::kBattery)->isVisibleTo(page), c.battery);
    EXPECT_EQ(Control<QLabel>(page, DeviceInfoPage::kBatteryLabel)->text().toStdString(), c.batteryRow);
    if (!c.receiverCheck) return;
    auto shown = AnswerNextBox(1);
    Control<QPushButton>(page, DeviceInfoPage::kReceiverCheck)->click();
    ASSERT_TRUE(Until([&] { return !shown->title.isEmpty(); }));
    EXPECT_EQ(shown->title, "Receiver Firmware");
    EXPECT_TRUE(server.Requests().empty()) << "no check is made for the receiver";
}

const LinkCase kLinks[] = {
    // The virtual R2 reports a battery level it does not have.
    {"102:wired", "Mouse Firmware: 1.05", "Receiver Firmware", true, false, "Wired connection", false,
     "Connection"},
    // The mouse told its own version through the receiver at read-back.
    {"103:wireless", "Mouse Firmware: 1.05", "Receiver Firmware: 1.05", false, true, "Wireless connection",
     true, "Battery"},
};
INSTANTIATE_TEST_SUITE_P(Links, VersionRows, ::testing::ValuesIn(kLinks), [](const auto& info) {
    return info.index == 0 ? std::string("Wired") : std::string("Wireless");
});

}  // namespace
}  // namespace quorvel::test
