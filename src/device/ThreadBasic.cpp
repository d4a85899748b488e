#include "device/ThreadBasic.h"

#include <vector>

namespace quorvel {

CThreadBasic::CThreadBasic(WorkerBody body) : body_(std::move(body)) {}

CThreadBasic::~CThreadBasic() {
    JoinWorker();
}

uint64_t CThreadBasic::Enqueue(const DeviceTaskRequest& request, bool tracked) {
    uint64_t id;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopped_) return 0;
        id = nextId_++;
        queue_.push_back({request, id});
        if (tracked) tracked_.insert(id);
    }
    wake_.notify_one();
    if (body_.wake) body_.wake();
    return id;
}

uint64_t CThreadBasic::QueueTask(const DeviceTaskRequest& request) {
    return Enqueue(request, false);
}

uint64_t CThreadBasic::QueueTrackedTask(const DeviceTaskRequest& request) {
    return Enqueue(request, true);
}

TaskResult CThreadBasic::WaitForTask(uint64_t id, std::chrono::milliseconds timeout) {
    if (id == 0) return {TaskStatus::Stopped};
    std::unique_lock<std::mutex> lock(mutex_);
    if (!tracked_.count(id) && !results_.count(id)) return {TaskStatus::TimedOut};
    if (!done_.wait_for(lock, timeout, [&] { return results_.count(id) != 0; })) {
        tracked_.erase(id);  // given up: the end of the task is not kept for anyone
        return {TaskStatus::TimedOut};
    }
    const TaskResult result = results_[id];
    results_.erase(id);
    return result;
}

TaskResult CThreadBasic::QueueTaskAndWait(const DeviceTaskRequest& request,
                                          std::chrono::milliseconds timeout) {
    return WaitForTask(QueueTrackedTask(request), timeout);
}

size_t CThreadBasic::PendingTasks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

bool CThreadBasic::StartThread() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_ || thread_.joinable()) return false;
    running_ = true;
    exited_ = false;
    stopped_ = false;
    thread_ = std::thread(&CThreadBasic::Body, this);
    return true;
}

void CThreadBasic::Pass() {
    Entry entry;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (queue_.empty()) {
            entry.id = 0;
        } else {
            entry = queue_.front();
            queue_.pop_front();
        }
    }
    if (entry.id == 0) {
        if (body_.idle) body_.idle();
        return;
    }
    const TaskResult result = body_.runTask ? body_.runTask(entry.request) : TaskResult{TaskStatus::Dropped};
    if (body_.finished) body_.finished(entry.id, entry.request, result);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (tracked_.erase(entry.id) == 0) return;
        results_[entry.id] = result;
    }
    done_.notify_all();
}

void CThreadBasic::Body() {
    bool once;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        once = loopMode_ == 0;
    }
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!running_) break;
            ++passes_;
        }
        Pass();
        if (once) break;
        const bool poll = body_.wantsPoll && body_.wantsPoll();
        std::unique_lock<std::mutex> lock(mutex_);
        if (!running_) break;
        if (!queue_.empty()) continue;
        if (poll && body_.waitForInput) {
            // A task queued or a stop asked for from now on wakes the wait (the wake is kept until then).
            lock.unlock();
            body_.waitForInput();
            continue;
        }
        auto woken = [&] { return !running_ || !queue_.empty(); };
        if (poll)
            wake_.wait_for(lock, std::chrono::milliseconds(interval_), woken);
        else
            wake_.wait(lock, woken);
    }
    // Requests left in the queue are dropped with the worker; their ends are reported as Stopped.
    std::deque<Entry> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dropped.swap(queue_);
    }
    const TaskResult stopped{TaskStatus::Stopped};
    for (const Entry& e : dropped)
        if (body_.finished) body_.finished(e.id, e.request, stopped);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const Entry& e : dropped)
            if (tracked_.erase(e.id)) results_[e.id] = stopped;
        exited_ = true;
        running_ = false;
    }
    done_.notify_all();
}

void CThreadBasic::DropUnstartedLocked() {
    // Requests queued for a worker that never ran: whoever waits for them learns that they will not run.
    for (const Entry& e : queue_)
        if (tracked_.erase(e.id)) results_[e.id] = TaskResult{TaskStatus::Stopped};
    queue_.clear();
    done_.notify_all();
}

bool CThreadBasic::StopWorker(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    stopped_ = true;
    if (!thread_.joinable()) {
        DropUnstartedLocked();
        return true;
    }
    running_ = false;
    wake_.notify_all();
    if (body_.wake) body_.wake();
    if (!done_.wait_for(lock, wait, [&] { return exited_; })) return false;  // a task still runs
    lock.unlock();
    thread_.join();
    return true;
}

void CThreadBasic::JoinWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        if (!thread_.joinable()) {
            DropUnstartedLocked();
            return;
        }
        running_ = false;
    }
    wake_.notify_all();
    if (body_.wake) body_.wake();
    thread_.join();
}

bool CThreadBasic::IsRunning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
}

uint64_t CThreadBasic::PassCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return passes_;
}

void CThreadBasic::SetInterval(int milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    interval_ = milliseconds;
}

void CThreadBasic::SetLoopMode(int mode) {
    std::lock_guard<std::mutex> lock(mutex_);
    loopMode_ = mode;
}

}  // namespace quorvel
