#pragma once
// What the device core shows, for the command line: the model to act on (--device), permission problems
// of discovery, and the firmware transfer's progress. Everything else the core reports is not needed by
// a command that prints its result at the end. Called on the worker thread.

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cli/ProgressBar.h"
#include "device/DeviceView.h"

namespace quorvel::cli {

class CliView : public DeviceView {
public:
    explicit CliView(ProgressBar& progress) : progress_(progress) {}

    // The model the user named with --device; unset: discovery's own choice.
    void SetRequestedDevice(std::optional<int> deviceType) { requested_ = deviceType; }
    // What a page refresh does to the stored data (the lighting page creates a profile's default rows).
    void SetRefreshHook(std::function<void(unsigned pages)> hook) { refresh_ = std::move(hook); }

    int SelectDevice(int rememberedType, int suggested) override;
    void ShowPermissionProblem(const HidPermissionProblem& problem) override;
    void RefreshPages(unsigned pages) override;
    void SetFirmwareProgress(int percent, const std::string& text) override;
    void EndFirmwareProgress() override;
    void SetDownloadProgress(int percent) override;

    // Permission problems seen so far, each path once.
    std::vector<HidPermissionProblem> PermissionProblems() const;

private:
    ProgressBar& progress_;
    std::optional<int> requested_;
    std::function<void(unsigned)> refresh_;
    mutable std::mutex mutex_;
    std::vector<HidPermissionProblem> problems_;
};

}  // namespace quorvel::cli
