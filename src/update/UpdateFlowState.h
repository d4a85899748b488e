#pragma once
// Inside of UpdateFlow: what the four tasks share. The handlers the worker holds keep it alive, so a task
// that is still running when the flow object goes keeps working on it.

#include <atomic>
#include <mutex>
#include <string>

#include "device/DeviceView.h"
#include "update/DownloadClient.h"
#include "update/UpdateFlow.h"

namespace quorvel {

struct UpdateFlow::State {
    State(DeviceMainDef& c, UpdateSettings s) : core(c), settings(std::move(s)) {}

    DeviceView& View() { return *view.load(); }
    std::string WorkFolder() const;
    // "<text id>: <percent>%" as a firmware step.
    void Step(int percent, int textId);
    // The task is over: a cancel request does not outlive it.
    void EndTask();
    // Tasks 27 and 28 run between these two; CancelTransfer acts only in between.
    void BeginInstall();
    void EndInstall();

    bool CheckSoftware();
    bool CheckFirmware();
    bool InstallSoftware();
    bool InstallFirmware();

    DeviceMainDef& core;
    const UpdateSettings settings;
    DownloadClient client;  // worker thread only (Cancel from anywhere)
    std::atomic<bool> cancel{false};
    DeviceView nullView;
    std::atomic<DeviceView*> view{&nullView};

    mutable std::mutex mutex;                    // guards everything below
    std::string newestSoftware, newestFirmware;  // accepted by the last check, for the installation
    std::string firmwareFile;                    // a local image for the next task 28
    bool installing = false;                     // task 27 or 28 runs
    VersionCheck softwareCheck, firmwareCheck;
    UpdateInstall softwareInstall, firmwareInstall;
};

// Text for a message: at most 40 characters, control characters as '?'.
std::string QuoteForMessage(const std::string& text);

}  // namespace quorvel
