#pragma once
// Arrival and removal of hidraw nodes through a libudev monitor, turned into the path text the hot-plug
// matching expects: "HID#VID_xxxx&PID_xxxx&MI_nn#/dev/hidrawN" (upper-case hex; "&MI_nn" only for USB
// interfaces). The monitor runs its own thread and calls back from it; Stop joins that thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

struct udev;
struct udev_device;
struct udev_monitor;

namespace quorvel {

struct HidUsagePair {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    bool operator==(const HidUsagePair&) const = default;
};

struct UdevHidEvent {
    bool arrival = false;
    std::string devnode;        // "/dev/hidraw3"
    std::string pathText;       // see above
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int interfaceNumber = -1;   // -1 when not a USB interface
    std::vector<HidUsagePair> usages;  // top-level collections (arrival only)
};

// "VID_046D&PID_0A1B&MI_02"; the interface part only for interfaceNumber >= 0.
std::string HidIdText(uint16_t vendorId, uint16_t productId, int interfaceNumber);
// Reads bus:vendor:product and the USB interface number from a hidraw sysfs device path
// (".../1-2:1.2/0003:046D:C08B.0005/hidraw/hidraw3"). False when the ids are not there.
bool ParseHidrawDevpath(std::string_view devpath, uint16_t* vendorId, uint16_t* productId, int* interfaceNumber);
// The usage page / usage of each top-level collection of a HID report descriptor.
std::vector<HidUsagePair> TopLevelUsages(const uint8_t* descriptor, size_t size);

class UdevMonitor {
public:
    using Callback = std::function<void(const UdevHidEvent&)>;

    UdevMonitor() = default;
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // Starts watching; false with *error when libudev cannot set up a monitor.
    bool Start(Callback callback, std::string* error = nullptr);
    // Stops and joins; no callback runs after it returns. Safe to call twice. From inside the callback it
    // only asks the thread to end (the owner's next Stop or Start joins it); the monitor itself must not be
    // destroyed from its own callback.
    void Stop();
    bool Running() const;

private:
    void Loop();
    void Handle(::udev_device* device);

    mutable std::mutex mutex_;
    std::thread thread_;
    Callback callback_;
    ::udev* udev_ = nullptr;
    ::udev_monitor* monitor_ = nullptr;
    int stopFd_ = -1;
    std::map<std::string, UdevHidEvent> known_;  // by sysfs path, for removals (monitor thread only)
};

}  // namespace quorvel
