// The cancel of an installation, in the windows where it used to be lost (queued, and between unpacking
// and starting), and the firmware task's own check of the link: only the checked model on its cable.

#include <gmock/gmock.h>
#include <sys/stat.h>

#include <thread>

#include "sim/VirtualMouse.h"
#include "update/UpdateFlowFixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

size_t RequestsFor(const TestHttpServer& server, const std::string& path) {
    size_t count = 0;
    for (const std::string& head : server.Requests()) count += head.rfind("GET " + path + " ", 0) == 0;
    return count;
}

// The user's Cancel from the window's thread, at the moment the task passes `at`.
void CancelFromAnotherThreadAt(UpdateFlow& flow, UpdatePoint at, std::atomic<int>* accepted) {
    flow.SetPointHook([&flow, at, accepted](UpdatePoint point) {
        if (point != at) return;
        std::thread ui([&flow, accepted] { *accepted += flow.CancelTransfer() ? 1 : 0; });
        ui.join();
    });
}

class CancelTest : public UpdateFlowTest {
protected:
    void ServeSoftware() {
        server.Answer(kSoftwareVersion, Reply(200, "1.0.1"));
        server.Answer(kSoftwareArchive,
                      Reply(200, Zip({{"Mouse-Setup-1.0.1.run", "#!/bin/sh\ntouch '" + marker + "'\n"}})));
    }
    void ServeFirmware() {
        server.Answer(kFirmwareVersion, Reply(200, "106"));
        server.Answer(kFirmwareArchive, Reply(200, Zip({{"firmware-106.bin", std::string(480, '\x11')}})));
    }
    const std::string marker = scratch_ / "started";
};

// A Cancel while the task waits in the queue: the task ends as cancelled when it starts, before any
// download. The token is that task's: the next installation is not cancelled by it.
TEST_F(CancelTest, CancelWhileQueuedEndsTheTaskWhenItStarts) {
    Start("102:wired");
    ServeSoftware();
    ServeFirmware();
    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    struct Case {
        int kind;
        DeviceTask task;
        const char* archive;
    };
    for (const Case& c : {Case{kUpdateSoftware, kTaskInstallSoftware, kSoftwareArchive},
                          Case{kUpdateFirmware, kTaskFlashFirmware, kFirmwareArchive}}) {
        SCOPED_TRACE(c.kind);
        view.Clear();
        flow->PrepareInstall(c.kind);
        EXPECT_TRUE(flow->CancelTransfer()) << "a queued installation takes the cancel";
        EXPECT_EQ(Run(c.task), TaskStatus::Failed);
        const UpdateInstall result =
            c.kind == kUpdateSoftware ? flow->SoftwareInstall() : flow->FirmwareInstall();
        EXPECT_TRUE(result.cancelled);
        EXPECT_EQ(result.error, "cancelled");
        EXPECT_THAT(view.Events(), ::testing::Contains("failed " + std::to_string(c.kind) + " cancelled"));
        EXPECT_EQ(RequestsFor(server, c.archive), 0u);
        EXPECT_FALSE(flow->CancelTransfer()) << "the token ended with its task";
    }
    EXPECT_EQ(UpgradeRequests(sim->Mouse(0)), 0u);

    // The next installation runs to its end.
    flow->PrepareInstall(kUpdateFirmware);
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Confirmed) << flow->FirmwareInstall().error;
    EXPECT_FALSE(flow->FirmwareInstall().cancelled);
}

// A Cancel after the archive was unpacked and before the set-up program starts: it never starts.
TEST_F(CancelTest, CancelBeforeTheSetUpProgramStartsIt) {
    Start("102:wired");
    ServeSoftware();
    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
    std::atomic<int> accepted{0};
    CancelFromAnotherThreadAt(*flow, UpdatePoint::kUnpacked, &accepted);
    view.Clear();
    flow->PrepareInstall(kUpdateSoftware);
    EXPECT_EQ(Run(kTaskInstallSoftware), TaskStatus::Failed);
    EXPECT_EQ(accepted.load(), 1);
    const UpdateInstall result = flow->SoftwareInstall();
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.exitProgram);
    EXPECT_THAT(view.Events(), ElementsAre("failed 1 cancelled"));
    // Unpacked but never made executable nor started.
    struct stat st {};
    ASSERT_EQ(::stat((Work() + "Mouse-Setup-1.0.1.run").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IXUSR, 0u);
    EXPECT_FALSE(std::filesystem::exists(marker));
}

// A Cancel after the image was unpacked and before the first report: nothing reaches the mouse.
TEST_F(CancelTest, CancelBeforeTheFirstFirmwareReportSendsNothing) {
    Start("102:wired");
    ServeFirmware();
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    std::atomic<int> accepted{0};
    CancelFromAnotherThreadAt(*flow, UpdatePoint::kBeforeTransfer, &accepted);
    sim->Mouse(0).ClearRequests();
    view.Clear();
    flow->PrepareInstall(kUpdateFirmware);
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
    EXPECT_EQ(accepted.load(), 1);
    EXPECT_TRUE(flow->FirmwareInstall().cancelled);
    EXPECT_EQ(UpgradeRequests(sim->Mouse(0)), 0u);
    EXPECT_THAT(sim->Mouse(0).FirmwareImage(), IsEmpty());
    EXPECT_THAT(view.Events(), ::testing::Contains("failed 2 cancelled"));
    EXPECT_THAT(ListTree(Work()), IsEmpty()) << "the downloaded image is used once";
}

// A failure that is not the cancel's stays a failure, whatever was clicked: the window then says why.
TEST_F(CancelTest, FailureAfterALateCancelIsNotCancelled) {
    Start("102:wired");
    server.Answer(kFirmwareVersion, Reply(200, "106"));
    server.Answer(kFirmwareArchive, Reply(200, Zip({{"readme.txt", "no image"}})));
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    std::atomic<int> accepted{0};
    // The cancel comes once the archive is unpacked; it lacks its image all the same.
    CancelFromAnotherThreadAt(*flow, UpdatePoint::kUnpacked, &accepted);
    flow->PrepareInstall(kUpdateFirmware);
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
    EXPECT_EQ(accepted.load(), 1);
    EXPECT_FALSE(flow->FirmwareInstall().cancelled);
    EXPECT_THAT(flow->FirmwareInstall().error, HasSubstr("holds no firmware-106.bin"));
}

// Task 28 itself refuses a mouse on its receiver and a model other than the one checked; nothing is
// downloaded or sent.
TEST_F(UpdateFlowTest, FirmwareGoesOnlyToTheCheckedModelOnItsCable) {
    Start("103:wireless;102:wired;201:wired");
    server.Answer("/firmware/QuorvelR3/mouse/version", Reply(200, "108"));
    server.Answer(kFirmwareVersion, Reply(200, "106"));
    server.Answer(kFirmwareArchive, Reply(200, Zip({{"firmware-106.bin", std::string(480, '\x22')}})));
    const auto select = [&](int deviceType) {
        return core->Worker()
            .QueueTaskAndWait(SelectDeviceRequest(deviceType), std::chrono::seconds(30))
            .status;
    };

    // Checked through the receiver (the window offers no such check, a script may ask for one).
    ASSERT_EQ(select(103), TaskStatus::Confirmed);
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
    EXPECT_THAT(flow->FirmwareInstall().error, HasSubstr("through its receiver"));

    // Checked as 102 on its cable, then the window switched to another model before the task ran.
    ASSERT_EQ(select(102), TaskStatus::Confirmed);
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    ASSERT_EQ(select(201), TaskStatus::Confirmed);
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
    EXPECT_THAT(flow->FirmwareInstall().error,
                HasSubstr("(device_type 201) is not the one whose firmware was checked (device_type 102)"));

    EXPECT_EQ(RequestsFor(server, kFirmwareArchive), 0u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(UpgradeRequests(sim->Mouse(i)), 0u);

    // Back on the checked model: it goes through.
    ASSERT_EQ(select(102), TaskStatus::Confirmed);
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Confirmed) << flow->FirmwareInstall().error;
    EXPECT_EQ(UpgradeRequests(sim->Mouse(2)), 0u);
}

}  // namespace
}  // namespace quorvel::test
