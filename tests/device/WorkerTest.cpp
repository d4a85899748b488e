// The worker thread and its task queue.

#include <atomic>
#include <condition_variable>
#include <thread>

#include "DeviceMainFixture.h"
#include "device/Tasks.h"

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

// Commands of the report family the mouse received, by command byte.
std::vector<int> Commands(CoreFixture& f) {
    std::vector<int> out;
    for (const Bytes& b : f.Take()) out.push_back(b[1]);
    return out;
}

TEST(Worker, RunsQueuedTasksOnceEachInOrder) {
    CoreFixture f("102:wired");
    f.Start();
    f.Worker().SetInterval(2);
    ASSERT_TRUE(f.Worker().StartThread());
    f.Worker().QueueTask(DeviceTaskRequest(kTaskWriteDpiLevels));
    f.Worker().QueueTask(DeviceTaskRequest(kTaskWriteDpiLevels));
    EXPECT_TRUE(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteDpiColours), 5s).ok());
    EXPECT_EQ(Commands(f), (std::vector<int>{0x03, 0x03, 0x04}));
    EXPECT_TRUE(f.Worker().StopWorker());
}

TEST(Worker, UnknownCodeIsDroppedAndTheQueueGoesOn) {
    CoreFixture f("102:wired");
    f.Start();
    ASSERT_TRUE(f.Worker().StartThread());
    const uint64_t unknown = f.Worker().QueueTrackedTask(DeviceTaskRequest(static_cast<DeviceTask>(26)));
    EXPECT_TRUE(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteReportRate), 5s).ok());
    EXPECT_EQ(f.Worker().WaitForTask(unknown, 1s).status, TaskStatus::Dropped);
    EXPECT_EQ(Commands(f), std::vector<int>{0x02});
    EXPECT_FALSE(IsKnownTask(26));
    EXPECT_TRUE(IsKnownTask(28));
}

TEST(Worker, FailureIsReportedToTheWaiter) {
    CoreFixture f("102:wired");
    f.Start();
    ASSERT_TRUE(f.Worker().StartThread());
    f.Mouse().InjectFault({SimFaultKind::BadStatus, 0x06, 1, 0x01});
    EXPECT_EQ(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteAdvanced), 5s).status,
              TaskStatus::Failed);
    EXPECT_TRUE(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteAdvanced), 5s).ok());
}

TEST(Worker, RemovalWithoutDeviceEndsQuietly) {
    CoreFixture f("102:wired");
    f.Start();
    f.Mouse().Unplug();
    EXPECT_EQ(f.Execute(kTaskRemoval), TaskStatus::Failed);
    for (const std::string& t : f.Traces()) EXPECT_EQ(t.find("获取鼠标数据异常"), std::string::npos) << t;
    EXPECT_FALSE(f.core->Snapshot().devicePresent);
}

TEST(Worker, WholeProfileGoesOutInOrder) {
    CoreFixture f("102:wired");
    f.Start();
    LightModeRecord row;
    row.profile = f.Profile();
    row.mode = 1;
    f.db.AddLightMode(row);
    f.core->SetCurrentLightMode(1);
    EXPECT_EQ(f.Execute(kTaskWriteProfile), TaskStatus::Confirmed);
    EXPECT_EQ(Commands(f), (std::vector<int>{0x09, 0x05, 0x03, 0x04, 0x02, 0x06, 0x07}));
}

TEST(Worker, DpiResetWritesDescriptorDefaults) {
    CoreFixture f("102:wired");
    f.Start();
    f.Set("dpi_group0_value", "1234");
    f.Set("report_rate", "8");
    EXPECT_EQ(f.Execute(kTaskResetDpi), TaskStatus::Confirmed);
    EXPECT_EQ(f.Get("dpi_group0_value"), "400");
    EXPECT_EQ(f.Get("dpi_group0_rgb"), "255");
    EXPECT_EQ(f.Get("report_rate"), "8");  // DPI only
    EXPECT_EQ(Commands(f), (std::vector<int>{0x03, 0x04}));
}

// The full reset writes every default of the model's descriptor over the read-back, and takes the
// report-rate capability from it.
TEST(Worker, FactoryResetWritesAllDescriptorDefaults) {
    CoreFixture f("102:wired");
    f.Start();
    ASSERT_EQ(f.core->Snapshot().model.report_rate_capability, 0);
    const std::vector<std::pair<const char*, const char*>> changed = {
        {"dpi_group0_value", "1234"}, {"report_rate", "8"}, {"sleep_light", "30"}, {"move_closelight", "1"}};
    for (const auto& [key, value] : changed) f.Set(key, value);
    EXPECT_EQ(f.Execute(kTaskFactoryReset), TaskStatus::Confirmed);
    EXPECT_EQ(f.Get("dpi_group0_value"), "400");
    EXPECT_EQ(f.Get("report_rate"), "1");
    EXPECT_EQ(f.Get("sleep_light"), "6");
    EXPECT_EQ(f.Get("move_closelight"), "0");
    EXPECT_EQ(f.core->Snapshot().model.report_rate_capability, 1);
}

TEST(Worker, UpdateTasksRunTheirHandlers) {
    CoreFixture f("");
    std::atomic<int> calls{0};
    f.core->SetTaskHandler(kTaskCheckSoftware, [&] { return ++calls > 0; });
    EXPECT_EQ(f.Execute(kTaskCheckSoftware), TaskStatus::Confirmed);
    EXPECT_EQ(f.Execute(kTaskCheckFirmware), TaskStatus::Failed);  // no handler
    EXPECT_EQ(calls, 1);
}

// A gate a task waits at, for the teardown tests.
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    bool entered = false, open = false;
    bool Wait() {
        std::unique_lock<std::mutex> lock(m);
        entered = true;
        cv.notify_all();
        cv.wait(lock, [&] { return open; });
        return true;
    }
    void AwaitEntered() {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return entered; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(m);
        open = true;
        cv.notify_all();
    }
};

TEST(Worker, StopReturnsWhileATaskRunsAndTeardownWaitsForIt) {
    Gate gate;
    std::thread opener;
    uint64_t queuedAfter = 0;
    {
        CoreFixture f("");
        f.core->SetTaskHandler(kTaskFlashFirmware, [&] { return gate.Wait(); });
        ASSERT_TRUE(f.Worker().StartThread());
        f.Worker().QueueTask(DeviceTaskRequest(kTaskFlashFirmware));
        gate.AwaitEntered();
        queuedAfter = f.Worker().QueueTrackedTask(DeviceTaskRequest(kTaskWriteReportRate));
        EXPECT_FALSE(f.Worker().StopWorker(20ms));  // still busy: the wait ends, the thread stays
        opener = std::thread([&] {
            std::this_thread::sleep_for(20ms);
            gate.Open();
        });
        // The task left behind is dropped with the worker; its waiter and the view learn so.
        EXPECT_EQ(f.Worker().WaitForTask(queuedAfter, 5s).status, TaskStatus::Stopped);
        const std::vector<TaskEnd> ends = f.view.WaitForEnds(2);
        ASSERT_EQ(ends.size(), 2u);
        EXPECT_EQ(ends[0].result.status, TaskStatus::Confirmed);
        EXPECT_EQ(ends[1].id, queuedAfter);
        EXPECT_EQ(ends[1].request.code, kTaskWriteReportRate);
        EXPECT_EQ(ends[1].result.status, TaskStatus::Stopped);
        // A stopped worker takes nothing more: nothing waits for a task that would never run.
        EXPECT_EQ(f.Worker().QueueTask(DeviceTaskRequest(kTaskWriteReportRate)), 0u);
        EXPECT_EQ(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteReportRate), 5s).status,
                  TaskStatus::Stopped);
    }  // the core's destructor has joined the worker: nothing was destroyed under the task
    opener.join();
}

// The front end that never waits learns of every task's end, with the request as it queued it.
TEST(Worker, EveryTaskReportsItsEndWithTheRequestAsQueued) {
    CoreFixture f("102:wired");
    f.Start();
    ASSERT_TRUE(f.Worker().StartThread());
    DeviceTaskRequest levels(kTaskWriteDpiLevels);
    levels.deviceType = 102;
    levels.profile = f.Profile();
    DeviceTaskRequest otherModel = levels;
    otherModel.deviceType = 201;  // made for a model that is not the selected one: not carried out
    f.Mouse().InjectFault({SimFaultKind::BadStatus, 0x02, 1, 0x01});
    const uint64_t first = f.Worker().QueueTask(levels);
    const uint64_t second = f.Worker().QueueTask(otherModel);
    const uint64_t third = f.Worker().QueueTrackedTask(DeviceTaskRequest(kTaskWriteReportRate));
    const TaskResult waited = f.Worker().WaitForTask(third, 5s);

    const std::vector<TaskEnd> ends = f.view.WaitForEnds(3);
    ASSERT_EQ(ends.size(), 3u);
    EXPECT_EQ(ends[0].id, first);
    EXPECT_TRUE(ends[0].request == levels);
    EXPECT_EQ(ends[0].result.status, TaskStatus::Confirmed);
    EXPECT_EQ(ends[1].id, second);
    EXPECT_TRUE(ends[1].request == otherModel);
    EXPECT_EQ(ends[1].result.status, TaskStatus::Failed);
    EXPECT_EQ(ends[1].result.error, DeviceError::ModelChanged);
    EXPECT_EQ(ends[2].id, third);
    EXPECT_EQ(ends[2].result.error, DeviceError::Refused);
    EXPECT_EQ(waited.status, TaskStatus::Failed);
    EXPECT_EQ(waited.error, DeviceError::Refused);
    EXPECT_EQ(Commands(f), (std::vector<int>{0x03, 0x02}));
}

TEST(Worker, AWaitThatTimesOutKeepsNoResult) {
    Gate gate;
    CoreFixture f("");
    f.core->SetTaskHandler(kTaskCheckSoftware, [&] { return gate.Wait(); });
    ASSERT_TRUE(f.Worker().StartThread());
    const uint64_t id = f.Worker().QueueTrackedTask(DeviceTaskRequest(kTaskCheckSoftware));
    gate.AwaitEntered();
    EXPECT_EQ(f.Worker().WaitForTask(id, 1ms).status, TaskStatus::TimedOut);
    gate.Open();
    ASSERT_EQ(f.view.WaitForEnds(1).size(), 1u);
    // The task has ended, but the given-up wait left nothing behind to collect.
    EXPECT_EQ(f.Worker().WaitForTask(id, 5s).status, TaskStatus::TimedOut);
}

TEST(Worker, IdleWithoutDeviceDoesNotWakeUp) {
    CoreFixture f("");
    ASSERT_TRUE(f.Worker().StartThread());
    EXPECT_EQ(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskStart), 5s).status, TaskStatus::Failed);
    const uint64_t passes = f.Worker().PassCount();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(f.Worker().PassCount(), passes);  // no polling loop without a device
    EXPECT_TRUE(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskCheckSoftware), 5s).status ==
                TaskStatus::Failed);
    EXPECT_EQ(f.Worker().PassCount(), passes + 1);
}

TEST(Worker, GuiThreadReadsStateWhileTheWorkerWrites) {
    CoreFixture f("102:wired");
    f.core->StartWorker();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            const DeviceState s = f.core->Snapshot();
            (void)s;
            f.core->SetCurrentKeySlot(2);
            f.manager->HasOnlineDevice(102);
        }
    });
    for (int i = 0; i < 20; ++i) f.Worker().QueueTask(DeviceTaskRequest(kTaskWriteDpiLevels));
    EXPECT_TRUE(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteDpiColours), 10s).ok());
    done = true;
    reader.join();
}

}  // namespace
}  // namespace quorvel::test
