#include "device/ThreadBasic.h"

namespace quorvel {

const char* TaskStatusName(TaskStatus status) {
    switch (status) {
        case TaskStatus::Confirmed: return "confirmed";
        case TaskStatus::Failed: return "failed";
        case TaskStatus::Dropped: return "unknown task";
        case TaskStatus::TimedOut: return "timed out";
        case TaskStatus::Stopped: return "worker stopped";
    }
    return "?";
}

CThreadBasic::~CThreadBasic() {
    // A subclass has joined already; this only covers a CThreadBasic whose subclass forgot to.
    JoinWorker();
}

uint64_t CThreadBasic::Enqueue(int task, bool tracked) {
    uint64_t id;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        id = nextId_++;
        queue_.push_back({task, id, tracked});
        if (tracked) tracked_.insert(id);
    }
    wake_.notify_one();
    return id;
}

void CThreadBasic::QueueTask(int task) { Enqueue(task, false); }

uint64_t CThreadBasic::QueueTrackedTask(int task) { return Enqueue(task, true); }

TaskResult CThreadBasic::WaitForTask(uint64_t id, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool finished = done_.wait_for(lock, timeout, [&] { return results_.count(id) != 0; });
    if (!finished) return {TaskStatus::TimedOut};
    const TaskStatus status = results_[id];
    results_.erase(id);
    return {status};
}

TaskResult CThreadBasic::QueueTaskAndWait(int task, std::chrono::milliseconds timeout) {
    return WaitForTask(QueueTrackedTask(task), timeout);
}

size_t CThreadBasic::PendingTasks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

bool CThreadBasic::TakeTask(int* task, uint64_t* id) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.empty()) return false;
    *task = queue_.front().task;
    *id = queue_.front().id;
    queue_.pop_front();
    return true;
}

void CThreadBasic::FinishTask(uint64_t id, TaskStatus status) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (tracked_.erase(id) == 0) return;
        results_[id] = status;
    }
    done_.notify_all();
}

bool CThreadBasic::StartThread() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_ || thread_.joinable()) return false;
    running_ = true;
    exited_ = false;
    thread_ = std::thread(&CThreadBasic::Body, this);
    return true;
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
        Run();
        if (once) break;
        std::unique_lock<std::mutex> lock(mutex_);
        if (!running_) break;
        if (!queue_.empty()) continue;
        auto woken = [&] { return !running_ || !queue_.empty(); };
        if (WantsPoll()) wake_.wait_for(lock, std::chrono::milliseconds(interval_), woken);
        else wake_.wait(lock, woken);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        exited_ = true;
        running_ = false;
        // Codes left in the queue are dropped with the worker; whoever waits for them learns so.
        for (const Entry& e : queue_)
            if (e.tracked && tracked_.erase(e.id)) results_[e.id] = TaskStatus::Stopped;
        queue_.clear();
    }
    done_.notify_all();
}

bool CThreadBasic::StopWorker(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!thread_.joinable()) return true;
    running_ = false;
    wake_.notify_all();
    if (!done_.wait_for(lock, wait, [&] { return exited_; })) return false;  // a task still runs
    lock.unlock();
    thread_.join();
    return true;
}

void CThreadBasic::JoinWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable()) return;
        running_ = false;
    }
    wake_.notify_all();
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
