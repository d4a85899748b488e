#pragma once
// The worker thread and its task queue. Callers on any thread append requests; the thread takes one per
// pass, in order, carries it out through the body the device core supplies and reports its end. When the
// queue is empty the thread sleeps: while the body wants to poll, in the body's own wait (until a mouse
// speaks or a task arrives, which wakes it) or, without one, for the poll interval; otherwise on a condition
// variable until a task arrives. An idle program does not wake up unless a mouse or the user does something.
//
// The device core owns it as its last member, so it is joined before anything a task uses goes.
// Teardown: StopWorker waits at most the given time. A task still running after that keeps running; the
// destructor (and JoinWorker) then waits for it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "device/TaskResult.h"
#include "device/TaskSink.h"

namespace quorvel {

// What the worker does; called on the worker thread.
struct WorkerBody {
    std::function<TaskResult(const DeviceTaskRequest&)> runTask;  // one task
    std::function<void()> idle;                                   // a pass that found the queue empty
    std::function<bool()> wantsPoll;  // whether an empty queue still waits for the mouse
    // Each task's end, also of the tasks dropped when the worker stops (Stopped); before any waiter wakes.
    std::function<void(uint64_t id, const DeviceTaskRequest&, const TaskResult&)> finished;
    // While wantsPoll: blocks until the mouse has something to say or `wake` is called (also when `wake`
    // came first). Null: the thread wakes every interval instead.
    std::function<void()> waitForInput;
    std::function<void()> wake;  // any thread: ends the current or the next waitForInput
};

class CThreadBasic : public TaskSink {
public:
    explicit CThreadBasic(WorkerBody body);
    ~CThreadBasic() override;  // joins
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // Any thread. Once the worker was stopped nothing is queued any more (id 0).
    uint64_t QueueTask(const DeviceTaskRequest& request) override;
    // Queues and keeps the result for WaitForTask.
    uint64_t QueueTrackedTask(const DeviceTaskRequest& request);
    // Waits until the tracked task has finished (or the timeout). A wait that times out gives the task
    // up: its result is not kept, and a later wait for it returns TimedOut at once. Id 0 reads Stopped.
    TaskResult WaitForTask(uint64_t id, std::chrono::milliseconds timeout);
    TaskResult QueueTaskAndWait(const DeviceTaskRequest& request, std::chrono::milliseconds timeout);
    size_t PendingTasks() const;

    // Starts the thread; false when it already runs.
    bool StartThread();
    // Asks the thread to leave and waits at most `wait` for it; true when it has left (and was joined).
    bool StopWorker(std::chrono::milliseconds wait = std::chrono::milliseconds(1000));
    // Waits without limit for the thread to leave.
    void JoinWorker();
    bool IsRunning() const;

    // Passes made by the thread (each wake-up is one pass): for measurements.
    uint64_t PassCount() const;

    void SetInterval(int milliseconds);
    void SetLoopMode(int mode);  // 1 = a pass repeatedly, 0 = once

private:
    struct Entry {
        DeviceTaskRequest request;
        uint64_t id;
    };

    void Body();
    void Pass();
    uint64_t Enqueue(const DeviceTaskRequest& request, bool tracked);
    void DropUnstartedLocked();

    const WorkerBody body_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // tasks queued, stop requested
    std::condition_variable done_;  // a tracked task finished, the thread left
    std::deque<Entry> queue_;
    std::set<uint64_t> tracked_;              // tracked ids not yet finished
    std::map<uint64_t, TaskResult> results_;  // tracked ids -> result once finished, until collected
    uint64_t nextId_ = 1;
    bool running_ = false;
    bool exited_ = true;
    bool stopped_ = false;  // a stop was asked for: nothing more is queued
    int loopMode_ = 1;
    int interval_ = 2;
    uint64_t passes_ = 0;
    std::thread thread_;
};

}  // namespace quorvel
