#pragma once
// The worker thread and its task queue. Callers on any thread append task codes; the thread takes one per
// pass, in order, and calls Run for each pass. When the queue is empty the thread sleeps on a condition
// variable: for the poll interval while the subclass wants to poll, otherwise until a task arrives, so an
// idle program without a device does not wake up at all.
//
// Teardown: StopWorker waits at most the given time. A task still running after that keeps running; the
// destructor (and JoinWorker) then waits for it, so the state a task uses is never destroyed under it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "device/TaskSink.h"

namespace quorvel {

enum class TaskStatus {
    Confirmed,  // carried out, and the mouse confirmed every request
    Failed,     // carried out, but a request failed or there was no usable device
    Dropped,    // the code has no entry
    TimedOut,   // the wait ended first; the task may still run
    Stopped,    // the worker stopped before the task ran
};

struct TaskResult {
    TaskStatus status = TaskStatus::TimedOut;
    bool ok() const { return status == TaskStatus::Confirmed; }
};

const char* TaskStatusName(TaskStatus status);

class CThreadBasic : public TaskSink {
public:
    CThreadBasic() = default;
    ~CThreadBasic() override;
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // Any thread.
    void QueueTask(int task) override;
    // Queues and returns an id to wait for.
    uint64_t QueueTrackedTask(int task);
    // Waits until the task with this id has finished (or the timeout).
    TaskResult WaitForTask(uint64_t id, std::chrono::milliseconds timeout);
    TaskResult QueueTaskAndWait(int task, std::chrono::milliseconds timeout);
    size_t PendingTasks() const;

    // Starts the thread (interval 2 ms, loop mode); false when it already runs.
    bool StartThread();
    // Asks the thread to leave and waits at most `wait` for it; true when it has left (and was joined).
    bool StopWorker(std::chrono::milliseconds wait = std::chrono::milliseconds(1000));
    // Waits without limit for the thread to leave. Subclasses call it first in their destructor.
    void JoinWorker();
    bool IsRunning() const;

    // Passes made by the thread (each wake-up is one pass): for measurements.
    uint64_t PassCount() const;

    void SetInterval(int milliseconds);
    void SetLoopMode(int mode);  // 1 = Run repeatedly, 0 = once

protected:
    // One pass on the worker thread.
    virtual void Run() = 0;
    // Whether an empty queue should still wake the thread every interval (to poll the device).
    virtual bool WantsPoll() const { return false; }

    // Worker side: the next task (false when the queue is empty) and its completion.
    bool TakeTask(int* task, uint64_t* id);
    void FinishTask(uint64_t id, TaskStatus status);

private:
    void Body();
    uint64_t Enqueue(int task, bool tracked);

    struct Entry {
        int task;
        uint64_t id;
        bool tracked;
    };

    mutable std::mutex mutex_;
    std::condition_variable wake_;   // tasks queued, stop requested
    std::condition_variable done_;   // a tracked task finished, the thread left
    std::deque<Entry> queue_;
    std::set<uint64_t> tracked_;              // tracked ids not yet finished
    std::map<uint64_t, TaskStatus> results_;  // tracked ids -> status once finished, until collected
    uint64_t nextId_ = 1;
    bool running_ = false;
    bool exited_ = true;
    int loopMode_ = 1;
    int interval_ = 2;
    uint64_t passes_ = 0;
    std::thread thread_;
};

}  // namespace quorvel
