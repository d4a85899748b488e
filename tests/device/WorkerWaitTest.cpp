// The running worker sleeps while the mice are silent and wakes for what they send, for a queued task and
// for an unplug; replies still answer their own request while notifications arrive.

#include <atomic>
#include <chrono>
#include <thread>

#include "DeviceMainFixture.h"
#include "device/Hotplug.h"

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

// Starts the worker with discovery and waits for the start task to end.
void StartWorker(CoreFixture& f) {
    const uint64_t start = f.core->StartWorker();
    ASSERT_EQ(f.Worker().WaitForTask(start, 20s).status, TaskStatus::Confirmed);
}

TEST(WorkerWait, WhatTheMouseSendsWakesTheWorker) {
    const struct {
        const char* specs;
        size_t mouse;  // the one that speaks
    } cases[] = {{"102", 0}, {"102;103:wireless;103", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.specs);
        CoreFixture f(c.specs);
        StartWorker(f);
        const uint64_t passes = f.Worker().PassCount();
        const size_t before = f.view.Events().size();
        if (c.mouse == 0) {
            f.Mouse().PressDpiButton();
            ASSERT_TRUE(f.view.WaitForEvent("level ", before));
        } else {
            f.Mouse(c.mouse).SetLink(false);
            ASSERT_TRUE(f.view.WaitForEvent("lost ", before));
            EXPECT_FALSE(f.core->Snapshot().connected);
        }
        // One pass for the report (and at most one for a wake left from the start task), no polling loop.
        EXPECT_LE(f.Worker().PassCount() - passes, 3u);
    }
}

TEST(WorkerWait, LinkLostAndBackInOrder) {
    CoreFixture f("103:wireless");
    StartWorker(f);
    const size_t before = f.view.Events().size();
    f.Mouse().SetLink(false);
    ASSERT_TRUE(f.view.WaitForEvent("lost ", before));
    f.Mouse().SetLink(true);
    ASSERT_TRUE(f.view.WaitForEvent("connected ", before));
    const std::vector<std::string> events = f.view.Events();
    size_t lost = events.size(), connected = events.size();
    for (size_t i = before; i < events.size(); ++i) {
        if (events[i].rfind("lost ", 0) == 0 && lost == events.size()) lost = i;
        if (events[i].rfind("connected ", 0) == 0) connected = i;
    }
    EXPECT_LT(lost, connected) << "the loss is shown before the reconnection";
    EXPECT_TRUE(f.core->Snapshot().connected);
}

TEST(WorkerWait, AQueuedTaskEndsTheWait) {
    CoreFixture f("102");
    StartWorker(f);
    f.Set("report_rate", "4");
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteReportRate), 20s).ok());
    EXPECT_EQ(f.Mouse().Memory().reportRate, 4);
    EXPECT_TRUE(f.Worker().StopWorker(20s)) << "a stop ends the wait too";
}

TEST(WorkerWait, AnUnplugWakesTheWorkerThroughHotplug) {
    CoreFixture f("102");
    HotplugWatcher watcher(f.sim, &f.Worker(), [&] { return f.core->Polling(); });
    watcher.SetModes(f.config.modes);
    watcher.SetTrace([](const std::string&) {});
    watcher.Start();
    StartWorker(f);
    f.Mouse().Unplug();
    const std::vector<TaskEnd> ends = f.view.WaitForEnds(2);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[1].request.code, kTaskRemoval);
    EXPECT_FALSE(f.manager->HasOnlineDevice(102));
    watcher.Stop();
}

// Requests from the worker while the mouse sends DPI reports: every write gets its own reply and the
// reports still reach the view, in the order they were sent. (Fewer than the 50 reads of a reply's wait:
// a mouse that floods it makes the request fail, by design.)
TEST(WorkerWait, RepliesAndNotificationsDoNotMix) {
    CoreFixture f("102");
    StartWorker(f);
    std::atomic<bool> done{false};
    std::thread presser([&] {
        for (int i = 0; i < 20 && !done; ++i) f.Mouse().SetDpiLevel(i % 2);
    });
    for (int rate : {1, 2, 4, 8}) {
        f.Set("report_rate", std::to_string(rate));
        const TaskResult r = f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteReportRate), 20s);
        EXPECT_TRUE(r.ok()) << TaskStatusName(r.status);
        EXPECT_EQ(f.Mouse().Memory().reportRate, rate);
    }
    done = true;
    presser.join();
    // A level set on the mouse after them is shown.
    const size_t before = f.view.Events().size();
    f.Mouse().SetDpiLevel(2);
    ASSERT_TRUE(f.view.WaitForEvent("level 2", before));
    EXPECT_TRUE(f.Mouse().Issues().empty());
}

}  // namespace
}  // namespace quorvel::test
