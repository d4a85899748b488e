#pragma once
// What the parts of the device core share: the state under one small lock, the view, and the set-up
// hooks (trace lines, pauses, the update tasks' handlers). The core owns it; its command set,
// notification handlers and task switch work through it.

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "device/DeviceView.h"
#include "device/PageState.h"

namespace quorvel {

// Handler of an update task (24 software check, 25 firmware check, 27 installer, 28 firmware flash);
// returns whether it succeeded.
using TaskHandler = std::function<bool()>;

class CoreContext {
public:
    CoreContext() = default;
    CoreContext(const CoreContext&) = delete;
    CoreContext& operator=(const CoreContext&) = delete;

    // State, any thread.
    DeviceState Snapshot() const;
    int CurrentDeviceType() const;
    int CurrentProfile() const;
    template <typename F>
    void Update(F&& change) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        change(state_);
    }

    // The view; never null (a do-nothing view stands in). Set before the worker starts.
    void SetView(DeviceView* view);
    DeviceView& View() { return *view_.load(); }

    // Set-up hooks; read on the worker.
    void SetTraceHook(std::function<void(const std::string&)> hook);
    void SetSleep(std::function<void(int milliseconds)> sleep);
    void SetTaskHandler(int task, TaskHandler handler);
    TaskHandler Handler(int task);

    // One trace line (UTF-8): the hook, else the process-wide trace log.
    void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The pauses of the tasks (100 ms, 500 ms ...); tests make them instant.
    void Sleep(int milliseconds);

private:
    mutable std::mutex stateMutex_;
    DeviceState state_;
    DeviceView nullView_;
    std::atomic<DeviceView*> view_{&nullView_};
    std::mutex hookMutex_;
    std::map<int, TaskHandler> handlers_;
    std::function<void(const std::string&)> trace_;
    std::function<void(int)> sleep_;
};

}  // namespace quorvel
