// Why a task failed, as the worker reports it: faults injected into the virtual mouse each come back with
// their own reason, in the task's result and in the view's TaskFinished alike.

#include <functional>

#include "DeviceMainFixture.h"

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

struct FaultCase {
    const char* name;
    const char* mouse;
    bool discover;                             // run discovery first (task 1)
    std::function<void(CoreFixture&)> inject;  // what goes wrong before the report-rate write
    TaskStatus status;
    DeviceError reason;
};

// The report-rate write carries command 0x02 on the report family and 0x07 on the feature family.
void Fault(CoreFixture& f, SimFaultKind kind, uint8_t status = 0x01) {
    const int command = f.Mouse().FeatureFamily() ? 0x07 : 0x02;
    f.Mouse().InjectFault({kind, command, 1, status});
}

const FaultCase kCases[] = {
    {"report: before discovery", "102:wired", false, [](CoreFixture&) {}, TaskStatus::Failed,
     DeviceError::NotOpen},
    {"report: no mouse", "", true, [](CoreFixture&) {}, TaskStatus::Failed, DeviceError::NoDevice},
    {"report: unplugged", "102:wired", true, [](CoreFixture& f) { f.Mouse().Unplug(); }, TaskStatus::Failed,
     DeviceError::Gone},
    {"report: silent", "102:wired", true, [](CoreFixture& f) { Fault(f, SimFaultKind::NoReply); },
     TaskStatus::Failed, DeviceError::NoReply},
    {"report: refuses", "102:wired", true, [](CoreFixture& f) { Fault(f, SimFaultKind::BadStatus); },
     TaskStatus::Failed, DeviceError::Refused},
    {"report: write fails", "102:wired", true, [](CoreFixture& f) { Fault(f, SimFaultKind::WriteFails); },
     TaskStatus::Failed, DeviceError::WriteFailed},
    // The receiver is there, the mouse out of its reach (its link report handled): nothing answers.
    {"report: receiver lost the mouse", "103:wireless", true,
     [](CoreFixture& f) {
         f.Mouse().SetLink(false);
         f.core->HandleReportNotifications();
     },
     TaskStatus::Failed, DeviceError::NoReply},
    {"feature: unplugged", "201:wired", true, [](CoreFixture& f) { f.Mouse().Unplug(); }, TaskStatus::Failed,
     DeviceError::Gone},
    {"feature: write fails", "201:wired", true, [](CoreFixture& f) { Fault(f, SimFaultKind::WriteFails); },
     TaskStatus::Failed, DeviceError::WriteFailed},
    // A feature report the mouse refuses fails the send itself: it reads as a failed write.
    {"feature: refuses an unknown rate", "201:wired", true, [](CoreFixture& f) { f.Set("report_rate", "3"); },
     TaskStatus::Failed, DeviceError::WriteFailed},
    // No reply is read on the feature family, so a request the mouse swallows cannot be told from success.
    {"feature: silent", "201:wired", true, [](CoreFixture& f) { Fault(f, SimFaultKind::NoReply); },
     TaskStatus::Confirmed, DeviceError::None},
};

TEST(TaskEnd, EachFaultReadsWithItsOwnReason) {
    for (const FaultCase& c : kCases) {
        CoreFixture f(c.mouse);
        if (c.discover) f.Execute(kTaskStart);
        c.inject(f);
        ASSERT_TRUE(f.Worker().StartThread());
        DeviceTaskRequest request(kTaskWriteReportRate);
        request.profile = f.Profile();
        const uint64_t id = f.Worker().QueueTrackedTask(request);
        const TaskResult result = f.Worker().WaitForTask(id, 10s);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.error, c.reason) << c.name;

        const std::vector<TaskEnd> ends = f.view.WaitForEnds(1);
        ASSERT_EQ(ends.size(), 1u) << c.name;
        EXPECT_EQ(ends[0].id, id) << c.name;
        EXPECT_TRUE(ends[0].request == request) << c.name;
        EXPECT_EQ(ends[0].result.status, c.status) << c.name;
        EXPECT_EQ(ends[0].result.error, c.reason) << c.name;
        EXPECT_TRUE(f.Worker().StopWorker()) << c.name;
    }
}

// A command of several requests keeps the reason of the first that failed, and still sends the rest.
TEST(TaskEnd, TheFirstFailureOfSeveralRequestsIsTheReason) {
    CoreFixture f("102:wired");
    f.Start();
    f.Mouse().InjectFault({SimFaultKind::NoReply, 0x06, 1, 0});       // advanced parameters
    f.Mouse().InjectFault({SimFaultKind::BadStatus, 0x07, 1, 0x01});  // power
    const TaskResult result = f.core->ExecuteTask(DeviceTaskRequest(kTaskWriteProfile));
    EXPECT_EQ(result.status, TaskStatus::Failed);
    EXPECT_EQ(result.error, DeviceError::NoReply);
    std::vector<int> commands;
    for (const Bytes& b : f.Take()) commands.push_back(b[1]);
    EXPECT_EQ(commands, (std::vector<int>{0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07}));
}

TEST(TaskEnd, UpdateTasksFailWithTheUpdateReason) {
    CoreFixture f("");
    EXPECT_EQ(f.core->ExecuteTask(DeviceTaskRequest(kTaskCheckSoftware)).error, DeviceError::UpdateFailed)
        << "no handler";
    f.core->SetTaskHandler(kTaskCheckSoftware, [] { return false; });
    EXPECT_EQ(f.core->ExecuteTask(DeviceTaskRequest(kTaskCheckSoftware)).error, DeviceError::UpdateFailed);
    EXPECT_EQ(f.core->ExecuteTask(DeviceTaskRequest(static_cast<DeviceTask>(26))).status,
              TaskStatus::Dropped);
}

}  // namespace
}  // namespace quorvel::test
