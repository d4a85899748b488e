#pragma once
// The device core of the main window: the state the pages and the worker share, discovery, the command
// set, the notification handlers, the task switch and the worker thread with its queue. No UI: whatever
// must be shown goes to a DeviceView. Both front ends build on it through their composition root
// (CoreSession).
//
// Threads. The worker carries out one queued request at a time (ExecuteTask), and while the queue is
// empty sleeps until a mouse sends a report (or a task arrives), then handles that notification; tests may
// call the worker-side operations directly while the worker does not run. Any other thread stores a change,
// queues a request that carries what the task needs (DeviceTaskRequest) and learns of its end through
// DeviceView::TaskFinished or by waiting for it. Pages see the core only as PageState.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/CoreContext.h"
#include "device/DeviceCommands.h"
#include "device/DeviceTaskRequest.h"
#include "device/DeviceView.h"
#include "device/Discovery.h"
#include "device/HidDeviceManager.h"
#include "device/PageState.h"
#include "device/TaskResult.h"
#include "device/ThreadBasic.h"
#include "shell/ProductConfig.h"

namespace quorvel {

class DeviceDatabase;

class DeviceMainDef final : public PageState {
public:
    DeviceMainDef(HidDeviceManager& manager, DeviceDatabase& db);
    ~DeviceMainDef() override;  // the worker (the last member) is joined before anything it uses goes
    DeviceMainDef(const DeviceMainDef&) = delete;
    DeviceMainDef& operator=(const DeviceMainDef&) = delete;

    // Set-up, before the worker starts.
    void SetView(DeviceView* view);  // null: nothing is shown
    // Model and mode lists of the product configuration (discovery's product list comes from the modes).
    void SetProduct(const ProductConfig& config);
    // Trace lines (UTF-8); default: the process-wide trace log.
    void SetTraceHook(std::function<void(const std::string&)> hook);
    // Pauses of the tasks (100 ms, 500 ms ...); tests make them instant.
    void SetSleep(std::function<void(int milliseconds)> sleep);
    // The model discovery selects even when it is absent (quorvelctl --device); 0: its own choice.
    void SetRequestedDeviceType(int deviceType);
    // The handler of an update task (24, 25, 27, 28); null removes it. Any time.
    void SetTaskHandler(int task, TaskHandler handler);

    // Queues task 1 (tracked; with `discover` only) and starts the worker; returns task 1's id (or 0).
    uint64_t StartWorker(bool discover = true);

    HidDeviceManager& Manager() { return manager_; }
    DeviceDatabase& Database() { return db_; }
    DeviceDiscovery& Discovery() { return discovery_; }
    DeviceCommands& Commands() { return commands_; }
    // The thread and its queue: QueueTask, QueueTrackedTask, WaitForTask, StopWorker ...
    CThreadBasic& Worker() { return worker_; }
    std::vector<DeviceEntry> Modes() const;
    bool Polling() const { return discovery_.Polling(); }

    // PageState, any thread.
    DeviceState Snapshot() const override;
    int CurrentDeviceType() const override;
    int CurrentProfile() const override;
    std::vector<DeviceEntry> Models() const override;
    void SetCurrentProfile(int profile) override;
    void SetCurrentLightMode(int mode) override;
    void SetCurrentKeySlot(int slot) override;
    void SetDpiLevelState(int count, int selected) override;
    void ForgetReadDevices() override;

    // Worker side.
    // The current model becomes `deviceType`, the database switches to it and its descriptor is applied.
    void LoadModel(int deviceType);
    // Creates the four profiles when needed and takes the active one as the current profile.
    int LoadProfiles();
    // Carries out one request now, on the calling thread (the worker calls it for each queued request).
    TaskResult ExecuteTask(const DeviceTaskRequest& request);
    // Notification handlers, one per pass while the queue is empty; each read waits at most timeoutMs
    // (the worker reads without waiting once the manager's wait said a mouse has input).
    void HandleReportNotifications(int timeoutMs = 10);
    void HandleFeatureNotifications(int timeoutMs = 10);

private:
    // Task pieces (Tasks.cpp).
    void SelectModel(int deviceType);
    int PrepareProfiles();
    int PrepareProfileLighting(int profile);
    DeviceError ReadAndRefresh(const char* failureTrace, bool withLinkKind);
    DeviceError ReloadSequence(int pauseMs);
    void ReloadDeviceList();
    void RefreshPages(unsigned pages);
    unsigned LightingPage() const;
    DeviceError WriteWholeProfile(int profile);
    bool ApplyDescriptorDefaults(int profile, bool dpiOnly);
    DeviceError RunHandler(int task);

    // The worker's pass.
    void Idle();
    void TaskEnded(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result);

    int GetInt(const std::string& key);
    void SetInt(const std::string& key, int value);

    HidDeviceManager& manager_;
    DeviceDatabase& db_;
    CoreContext context_;
    DeviceDiscovery discovery_;
    DeviceCommands commands_;
    mutable std::mutex listMutex_;
    std::vector<DeviceEntry> models_;
    std::vector<DeviceEntry> modes_;
    CThreadBasic worker_;  // last: destroyed (joined) first
};

// Online device count as the device list shows it: configured models with a connected record.
int OnlineDeviceCount(const HidDeviceManager& manager);

}  // namespace quorvel
