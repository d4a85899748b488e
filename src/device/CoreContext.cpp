#include "device/CoreContext.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <thread>

#include "shell/TraceLog.h"

namespace quorvel {

DeviceState CoreContext::Snapshot() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return state_;
}

int CoreContext::CurrentDeviceType() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return state_.currentDeviceType;
}

int CoreContext::CurrentProfile() const {
    std::lock_guard<std::mutex> lock(stateMutex_);
    return state_.currentProfile;
}

void CoreContext::SetView(DeviceView* view) {
    view_.store(view ? view : &nullView_);
}

void CoreContext::SetTraceHook(std::function<void(const std::string&)> hook) {
    std::lock_guard<std::mutex> lock(hookMutex_);
    trace_ = std::move(hook);
}

void CoreContext::SetSleep(std::function<void(int)> sleep) {
    std::lock_guard<std::mutex> lock(hookMutex_);
    sleep_ = std::move(sleep);
}

void CoreContext::SetTaskHandler(int task, TaskHandler handler) {
    std::lock_guard<std::mutex> lock(hookMutex_);
    handlers_[task] = std::move(handler);
}

TaskHandler CoreContext::Handler(int task) {
    std::lock_guard<std::mutex> lock(hookMutex_);
    auto it = handlers_.find(task);
    return it != handlers_.end() ? it->second : TaskHandler();
}

void CoreContext::Trace(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard<std::mutex> lock(hookMutex_);
        hook = trace_;
    }
    if (hook)
        hook(buffer);
    else
        quorvel::Trace("%s", buffer);
}

void CoreContext::Sleep(int milliseconds) {
    std::function<void(int)> sleep;
    {
        std::lock_guard<std::mutex> lock(hookMutex_);
        sleep = sleep_;
    }
    if (sleep)
        sleep(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace quorvel
