#pragma once
// Hot-plug: the arrival of a configured mouse's protocol interface queues a refresh (task 2); the removal
// of its interface 2 queues a reload (task 3) while the worker polls. Matching works on the path text
// "VID_xxxx&PID_xxxx[&MI_nn]" that Windows writes and the udev monitor imitates.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "device/TaskSink.h"
#include "device/Tasks.h"
#include "shell/ProductConfig.h"

namespace quorvel {

constexpr int kDeviceArrival = 0x8000;         // DBT_DEVICEARRIVAL
constexpr int kDeviceRemoveComplete = 0x8004;  // DBT_DEVICEREMOVECOMPLETE
constexpr DeviceTask kTaskRefresh = kTaskArrival;
constexpr DeviceTask kTaskReload = kTaskRemoval;

// "VID_046D&PID_0A1B": the product part of the path text.
std::string ProductPathText(int vendorId, int productId);

// Whether the interface is the usage page 0x0001 / usage 0x0000 one. Answers from the event's usage when
// known (usagePage != 0), else looks the path up among the enumerated interfaces.
bool IsMouseInterface(HidBackend* backend, const std::string& path, uint16_t usagePage, uint16_t usage);

struct HotplugContext {
    const std::vector<DeviceEntry>* modes = nullptr;           // the product list, in order
    bool polling = false;                                      // the worker's polling flag
    std::function<bool(const std::string& path)> isMouseInterface;
    TaskSink* sink = nullptr;
    std::function<void(const std::string&)> trace;             // default: the trace log
};

// The matching rules; returns the task queued (2 or 3) or 0.
int UpdateUSBDevice(int event, const std::string& path, const HotplugContext& context);

// Connects a backend's arrival/removal notifications to UpdateUSBDevice. Callbacks arrive on the
// backend's watcher thread; they only queue tasks.
class HotplugWatcher {
public:
    HotplugWatcher(HidBackend* backend, TaskSink* sink, std::function<bool()> polling);
    ~HotplugWatcher();  // stops watching
    HotplugWatcher(const HotplugWatcher&) = delete;
    HotplugWatcher& operator=(const HotplugWatcher&) = delete;

    void SetModes(std::vector<DeviceEntry> modes);
    void SetTrace(std::function<void(const std::string&)> trace);  // before Start
    void Start();
    void Stop();
    // One notification, as the backend delivers it (also for tests).
    int OnEvent(const HidHotplugEvent& event);

private:
    HidBackend* backend_;
    TaskSink* sink_;
    std::function<bool()> polling_;
    std::function<void(const std::string&)> trace_;
    std::mutex mutex_;
    std::vector<DeviceEntry> modes_;
    bool watching_ = false;
};

}  // namespace quorvel
