#pragma once
// What the device core shows, for the command line: permission problems of discovery, and the progress of
// downloads and firmware transfers. Everything else the core reports is not needed by a command that
// waits for its tasks and prints the result at the end. Called on the worker thread.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "cli/ProgressBar.h"
#include "device/DeviceView.h"

namespace quorvel::cli {

class CliView : public DeviceView {
public:
    explicit CliView(ProgressBar& progress) : progress_(progress) {}

    void ShowPermissionProblem(const HidPermissionProblem& problem) override;
    void SetFirmwareProgress(int percent, const std::string& text) override;
    void EndFirmwareProgress() override;
    void SetDownloadProgress(int percent) override;
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) override;
    void ShowConnectedView(int titleTextId) override;

    // Called (on the worker thread) when a task ended or a wireless mouse came back: the mouse may be
    // there again (profile follow). Set before the session starts.
    void SetDeviceListener(std::function<void()> listener) { deviceListener_ = std::move(listener); }

    // Permission problems seen so far, each path once.
    std::vector<HidPermissionProblem> PermissionProblems() const;

private:
    ProgressBar& progress_;
    mutable std::mutex mutex_;
    std::vector<HidPermissionProblem> problems_;
    std::function<void()> deviceListener_;
};

}  // namespace quorvel::cli
