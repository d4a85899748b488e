#pragma once
// The device core of the main window: the state the pages and the worker share, the worker with its task
// queue, the command set and the notification handlers. No UI: whatever must be shown goes to a
// DeviceView. The GUI's main window builds on it; the command-line tool uses it directly.
//
// Threads. Commands, tasks and notification handlers run on the worker thread (tests may call them
// directly while the worker is not started). The UI thread stores a change, sets the fields a task reads
// (profile, lighting mode, key slot, pending macro upload) and queues the task. All state lives under one
// small lock and is read by value (Snapshot), so a GUI thread may read it while the worker writes.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/CommandsFrame.h"
#include "device/CommandsFirmwareFrames.h"
#include "device/Discovery.h"
#include "device/DeviceView.h"
#include "device/HidDeviceManager.h"
#include "device/ThreadBasic.h"
#include "shell/DeviceDescriptor.h"
#include "shell/ProductConfig.h"

namespace quorvel {

class DeviceDatabase;

// The shared device state, read as one copy.
struct DeviceState {
    int currentDeviceType = 0;
    std::string modelName;  // of the current model
    std::string modelKey;   // its device_attr: names the descriptor and the database
    int currentProfile = 1;
    int currentLightMode = 0;
    int currentKeySlot = 0;
    int macroUploadPending = 0;
    int macroUploadSlot = -1;
    int64_t featureWriteCounter = 0;  // sequence of the feature-family writes
    uint16_t sensorCode = 0;
    uint16_t firmwareVersion = 0;
    uint8_t linkFlag = 0;
    uint8_t batteryStatus = 0;
    uint8_t batteryLevel = 0;
    int dpiStep = 50;
    int maxDpi = 26000;
    int sliderPositions = 520;
    int reportRateEntry = 4;  // highest selectable report-rate entry
    std::string mouseFirmwareVersion;  // "%X%02X" from the mouse, through the receiver
    std::string receiverVersion;
    std::set<int> readDeviceTypes;  // configuration already read back in this run
    int dpiLevelCount = 0;
    int dpiLevelSelected = 0;
    bool devicePresent = false;  // discovery found device records; the worker polls while set
    bool connected = false;      // the selected device is reachable
    ModelState model;            // what the model loader keeps between models
};

// Handler of an update task (24 software check, 25 firmware check, 27 installer, 28 firmware flash);
// returns whether it succeeded.
using TaskHandler = std::function<bool()>;

class DeviceMainDef : public CThreadBasic {
public:
    DeviceMainDef(HidDeviceManager& manager, DeviceDatabase& db);
    ~DeviceMainDef() override;

    // Set-up, before the worker starts.
    void SetView(DeviceView* view);  // null: nothing is shown
    // Model and mode lists of the product configuration (discovery's product list comes from the modes).
    void SetProduct(const ProductConfig& config);
    void SetTaskHandler(int task, TaskHandler handler);
    // Trace lines (UTF-8); default: the process-wide trace log.
    void SetTraceHook(std::function<void(const std::string&)> hook);
    // Pauses of the tasks (100 ms, 500 ms ...); tests make them instant.
    void SetSleep(std::function<void(int milliseconds)> sleep);

    // Queues task 1 and starts the worker.
    void StartWorker();

    HidDeviceManager& Manager() { return manager_; }
    DeviceDatabase& Database() { return db_; }
    DeviceDiscovery& Discovery() { return discovery_; }
    std::vector<DeviceEntry> Models() const;
    std::vector<DeviceEntry> Modes() const;

    // State, any thread.
    DeviceState Snapshot() const;
    int CurrentDeviceType() const;
    int CurrentProfile() const;
    void SetCurrentDeviceType(int deviceType);  // also the discovery's selection
    void SetCurrentProfile(int profile);
    void SetCurrentLightMode(int mode);
    void SetCurrentKeySlot(int slot);
    // The macro editor or button page changed the macro of a key slot: the next key write sends it.
    void SetMacroUploadPending(int keySlot);
    void SetDpiLevelState(int count, int selected);
    // The full reset of the database: the next read-back reads the mouse again.
    void ForgetReadDevices();
    bool Polling() const { return discovery_.Polling(); }

    // Model loader: the current model becomes `deviceType`, the database switches to it and its
    // descriptor is applied.
    void LoadModel(int deviceType);
    // Creates the four profiles when needed and takes the active one as the current profile.
    int LoadProfiles();

    // Commands (worker thread). Each returns whether the mouse confirmed every request it was sent;
    // failures also write their trace line.
    bool ReadDeviceConfig();
    bool WriteReportRate();
    bool WriteDpiLevels();
    bool WriteDpiColours();
    bool WriteAdvanced();
    bool WritePower();
    bool WriteLighting();
    bool WriteKeyTable();
    bool WriteKeyFunction();
    bool WriteDefaultKeys();
    bool SendMacro(int keySlot, int macroId);
    bool ResetReportRate();
    bool ResetLighting();
    bool FactoryReset();
    bool StartFirmwareUpgrade();
    bool SendFirmware(const uint8_t* image, size_t size);
    bool EndFirmwareUpgrade();

    // Notification handlers (worker thread, one per pass when the queue is empty).
    void HandleReportNotifications();
    void HandleFeatureNotifications();

    // Carries out one task code now, on the calling thread (the worker calls it for each queued code).
    TaskStatus ExecuteTask(int task);

protected:
    void Run() override;
    bool WantsPoll() const override;

private:
    friend struct DeviceMainTestAccess;

    // Sending.
    bool Send(Family family, Frame& frame);
    bool SendFeatureFrame(Frame& frame);
    bool Transact(Frame& frame);
    void TraceLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Sleep(int milliseconds);
    DeviceView& View();

    // Settings of the current profile.
    int GetInt(const std::string& key);
    void SetInt(const std::string& key, int value);

    // Command helpers.
    bool SendPendingMacro();
    bool ReadLightingBack(const Frame& reply);
    bool ReadDeviceConfigReport(int deviceType);
    bool ReadDeviceConfigFeature(int deviceType);
    void ApplyFeatureLightingReset();

    // Task pieces.
    bool ReadAndRefresh(const char* failureTrace, bool withLinkKind);
    bool ReloadSequence(int pauseMs);
    void ReloadDeviceList();
    void RefreshPages(unsigned pages);
    unsigned LightingPage() const;
    bool WriteKeys();
    bool WriteWholeProfile();
    bool ApplyDescriptorDefaults(bool dpiOnly);
    bool RunHandler(int task);

    template <typename F>
    void Update(F&& change) {
        std::lock_guard<std::mutex> lock(stateMutex_);
        change(state_);
    }

    HidDeviceManager& manager_;
    DeviceDatabase& db_;
    DeviceView nullView_;
    std::atomic<DeviceView*> view_{&nullView_};
    DeviceDiscovery discovery_;

    mutable std::mutex stateMutex_;
    DeviceState state_;
    std::vector<DeviceEntry> models_;
    std::vector<DeviceEntry> modes_;

    std::mutex hookMutex_;  // set-up hooks; read on the worker
    std::map<int, TaskHandler> handlers_;
    std::function<void(const std::string&)> trace_;
    std::function<void(int)> sleep_;
};

// Online device count as the device list shows it: configured models with a connected record.
int OnlineDeviceCount(const HidDeviceManager& manager);

}  // namespace quorvel
