#pragma once
// Discovery: turns the HID interfaces of the machine into device records of the manager, decides which
// configured model each mouse is, and feeds the device list and the views of the main window.
// Owned by the device core (DeviceMainDef); EnumerateDevice / RefreshDevices / ReloadDeviceList run on the
// worker thread. The selected type, the polling flag and the mode list may be read from any thread.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/DiscoveryView.h"
#include "device/HidDeviceManager.h"
#include "shell/ProductConfig.h"

namespace quorvel {

struct DiscoveryHooks {
    std::function<int()> readDeviceType;            // the remembered DeviceType preference (0 when unset)
    std::function<void(int)> writeDeviceType;       // remember the selected model
    std::function<void(int)> loadDescriptor;        // load the device descriptor of this model
    std::function<void(const std::string&)> trace;  // one trace line (UTF-8); default: the trace log
};

class DeviceDiscovery {
public:
    DeviceDiscovery(HidDeviceManager& manager, DiscoveryView* view, DiscoveryHooks hooks = {});
    DeviceDiscovery(const DeviceDiscovery&) = delete;
    DeviceDiscovery& operator=(const DeviceDiscovery&) = delete;

    HidDeviceManager& Manager() { return manager_; }
    void SetView(DiscoveryView* view);  // before the worker starts

    // The connection modes of every configured model, in configuration order (the product list); also
    // fills the manager's product table (RefreshDevices rebuilds it from this list before every pass).
    void SetModes(std::vector<DeviceEntry> modes);
    std::vector<DeviceEntry> Modes() const;

    // One pass: appends a record per protocol interface of a configured mouse (the caller emptied the
    // list with CloseAll).
    // Returns the number of records whose model was identified.
    int EnumerateDevice();
    // Rebuilds the product table, closes everything, runs a pass, marks the manager open and loads the
    // selected model's descriptor.
    void RefreshDevices();
    // Runs a pass and feeds the device list, the selection and the views.
    void ReloadDeviceList();

    // The model a reload selects whenever it finds any identified record, even when none of it is there
    // (so a command for that model reports it missing instead of acting on another mouse); 0: the
    // remembered or suggested one. Any thread.
    void SetRequestedDeviceType(int deviceType) { requestedType_.store(deviceType); }

    int SelectedDeviceType() const { return selectedType_.load(); }
    // The user picked another model (also stored in the manager).
    void SetSelectedDeviceType(int deviceType);
    // Set when the last reload found device records; the worker polls for notifications while set.
    bool Polling() const { return polling_.load(); }
    void SetPolling(bool polling) { polling_.store(polling); }

    // Configured mice of the last pass that could not be opened for lack of permission.
    std::vector<HidPermissionProblem> PermissionProblems() const;

private:
    void Trace(const std::string& line);
    void TraceF(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void ReportPermission(const HidDeviceInfo& info);
    int SuggestSelection(const std::vector<HidDeviceRecord*>& records, int remembered) const;

    HidDeviceManager& manager_;
    DiscoveryView* view_;
    DiscoveryHooks hooks_;
    mutable std::mutex mutex_;  // modes_ and problems_
    std::vector<DeviceEntry> modes_;
    std::vector<HidPermissionProblem> problems_;
    std::atomic<int> selectedType_{0};
    std::atomic<int> requestedType_{0};
    std::atomic<bool> polling_{false};
};

// The record's device id from its info block: the 4 id bytes, each one character, up to the first zero.
std::string DeviceIdFromInfo(const uint8_t* info, bool featureFamily);

}  // namespace quorvel
