#pragma once
// What discovery shows. Called on the worker thread: a GUI marshals each call to its own thread, the CLI
// prints or ignores. Every operation has a do-nothing default so a front end overrides only what it shows.

#include <cstdint>
#include <string>

namespace quorvel {

// Status title texts (language file ids).
constexpr int kTitleNoDevice = 50;
constexpr int kTitleWired = 51;
constexpr int kTitleWireless = 52;

// A configured mouse was found but its interface may not be opened by this user.
struct HidPermissionProblem {
    std::string path;      // the interface, e.g. "/dev/hidraw3"
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int deviceType = 0;    // of the first product entry with these ids
    std::string message;   // a complete English sentence naming the path and the udev rule to install
};

class DiscoveryView {
public:
    virtual ~DiscoveryView() = default;

    // The device list: every listed model's state back to state (0 = not connected).
    virtual void SetAllDeviceState(int state) { (void)state; }
    virtual void SetDeviceState(int deviceType, int linkMode, int linkState) {
        (void)deviceType, (void)linkMode, (void)linkState;
    }
    virtual void SetDeviceBattery(int deviceType, int status, int level) {
        (void)deviceType, (void)status, (void)level;
    }
    virtual void SetDeviceVersion(int deviceType, uint32_t release) { (void)deviceType, (void)release; }
    // Discovery selected this model (the remembered type when a record of it exists, else the first
    // connected model, else the first listed one; or the model the front end asked for): the list shows it
    // as selected. The choice is the worker's; the list only follows it.
    virtual void DeviceSelected(int deviceType) { (void)deviceType; }

    // Views of the main window: no device (title 50, first tab, pages hidden) or the device list (title 51
    // wired / 52 wireless, only the home area and the list visible).
    virtual void ShowNoDeviceView(int titleTextId) { (void)titleTextId; }
    virtual void ShowDeviceListView(int titleTextId) { (void)titleTextId; }
    virtual void BringToFront() {}
    // Pop-ups that must not outlive a device change.
    virtual void CloseTransientWindows() {}

    // A configured mouse cannot be opened for lack of permission; shown instead of a silent "no device".
    virtual void ShowPermissionProblem(const HidPermissionProblem& problem) { (void)problem; }
};

}  // namespace quorvel
