#pragma once
// Inside of UpdateFlow: what the four tasks share. The handlers the worker holds keep it alive, so a task
// that is still running when the flow object goes keeps working on it.

#include <atomic>
#include <mutex>
#include <string>

#include "device/DeviceView.h"
#include "update/DownloadClient.h"
#include "update/UpdateFlow.h"
#include "update/UpdateSignature.h"

namespace quorvel {

struct UpdateFlow::State {
    State(DeviceMainDef& c, UpdateSettings s) : core(c), settings(std::move(s)) {}

    DeviceView& View() { return *view.load(); }
    std::string WorkFolder() const;
    // "<text id>: <percent>%" as a firmware step.
    void Step(int percent, int textId);
    // The task is over: a cancel request does not outlive it.
    void EndTask();
    // Tasks 27 and 28 run between these two; BeginInstall takes the task's cancel token (the prepared one
    // or a fresh one) and returns it.
    std::shared_ptr<std::atomic<bool>> BeginInstall(int kind);
    void EndInstall();
    void Pass(UpdatePoint point);
    // The product's update keys, read anew for each task.
    UpdateKeys Keys() const;
    // Empty when `keys` lists none or the signature at address + ".sig" is one of `data` (or, with
    // `file`, of that file's bytes) by a listed key; else why the file is refused.
    std::string CheckSigned(const UpdateKeys& keys, const std::string& address, std::string_view data,
                            const std::string& file = {});

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

    mutable std::mutex mutex;                        // guards everything below
    std::string newestSoftware, newestFirmware;      // accepted by the last check, for the installation
    std::string firmwareFile;                        // a local image for the next task 28
    bool installing = false;                         // task 27 or 28 runs
    std::shared_ptr<std::atomic<bool>> prepared[3];  // by kind: the token of a queued installation
    std::shared_ptr<std::atomic<bool>> running;      // the token of the running installation
    std::function<void(UpdatePoint)> pointHook;      // set before the worker starts
    int checkedDeviceType = 0;                       // the model whose firmware the last check compared
    VersionCheck softwareCheck, firmwareCheck;
    UpdateInstall softwareInstall, firmwareInstall;
};

// Text for a message: at most 40 characters, control characters as '?'.
std::string QuoteForMessage(const std::string& text);

// The message of a refused signature: text 910 with the reason.
std::string SignatureRefusal(const std::string& why);

// Texts of the language files the signature checks show.
inline constexpr int kTextSignatureRefused = 910;  // the update was refused: signature missing or wrong
inline constexpr int kTextUnsignedUpdates = 911;   // updates are not signed: no update keys
inline constexpr int kTextSignatureLabel = 912;    // short form for the check's label

}  // namespace quorvel
