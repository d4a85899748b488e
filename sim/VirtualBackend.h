#pragma once
// The virtual mouse behind the HID seam: every layer above talks to it exactly as to hidapi.
// Selected by QUORVEL_VIRTUAL (or quorvelctl --virtual) with the mouse list of VirtualSpec.h; its memory
// can be kept across runs in the JSON file named by QUORVEL_VIRTUAL_STATE.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/HidBackend.h"
#include "sim/VirtualMouse.h"
#include "sim/VirtualSpec.h"

namespace quorvel {

class ControlPipe;
class StateFile;

class VirtualBackend : public HidBackend {
public:
    // statePath empty: the memory lives as long as the backend.
    VirtualBackend(const std::vector<VirtualMouseSpec>& specs, const std::string& statePath);
    ~VirtualBackend() override;

    // --- control: the mice, in spec order
    size_t MouseCount() const { return mice_.size(); }
    VirtualMouse& Mouse(size_t index) { return *mice_.at(index); }
    // First mouse of this device type (and link mode, -1 = any); null when there is none.
    VirtualMouse* FindMouse(int deviceType, int linkMode = -1);
    // Issues of every mouse, for a test's final "nothing malformed" check.
    std::vector<SimIssue> AllIssues() const;
    // Why the state file was not used (unreadable or corrupt); empty when it was fine or not asked for.
    std::string StateWarning() const;
    // Lets another process drive the mice through the named pipe at path (sim/ControlPipe.h).
    bool StartControl(const std::string& path, std::string* error);

    // --- HidBackend
    std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) override;
    HidHandle* Open(const std::string& path, HidOpenError* error = nullptr) override;
    void Close(HidHandle* handle) override;
    int Write(HidHandle* handle, const uint8_t* data, size_t length) override;
    int ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int milliseconds) override;
    int SendFeature(HidHandle* handle, const uint8_t* data, size_t length) override;
    int GetFeature(HidHandle* handle, uint8_t* data, size_t length) override;
    std::string ProductString(HidHandle* handle) override;
    std::string LastError(HidHandle* handle) override;
    void Usage(HidHandle* handle, uint16_t* usagePage, uint16_t* usage) override;
    // Stopping (an empty callback) waits for a callback in progress, unless called from one.
    void WatchHotplug(HidHotplugCallback callback) override;
    bool WaitsForInput() const override { return true; }
    void WaitForInput(const std::vector<HidHandle*>& handles, int milliseconds) override;
    void WakeWaiter() override;

private:
    struct Handle;
    std::shared_ptr<Handle> Find(HidHandle* handle) const;
    void Deliver(const HidHotplugEvent& event);

    std::vector<std::unique_ptr<VirtualMouse>> mice_;
    std::shared_ptr<StateFile> stateFile_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Handle>> handles_;
    std::shared_ptr<HidHotplugCallback> watcher_;
    std::condition_variable delivered_;        // a callback returned (with mutex_)
    std::vector<std::thread::id> delivering_;  // threads inside a callback (with mutex_)
    std::unique_ptr<ControlPipe> control_;

    // Input of any mouse changed, or a wake: counted under inputMutex_, which is taken after a mouse's lock
    // and never before one.
    std::mutex inputMutex_;
    std::condition_variable inputChanged_;
    uint64_t inputGeneration_ = 0;
    bool woken_ = false;
};

// Parses the mouse list and builds the backend; null with *error on a bad spec. The state file is
// QUORVEL_VIRTUAL_STATE when set (a corrupt one is ignored, see StateWarning); QUORVEL_VIRTUAL_CONTROL
// names the control pipe (null with *error when it cannot be opened).
std::unique_ptr<VirtualBackend> CreateVirtualBackend(const std::string& specs,
                                                     const std::vector<DeviceEntry>& modes,
                                                     std::string* error);
// The same with an explicit state file ("" = none).
std::unique_ptr<VirtualBackend> CreateVirtualBackend(const std::string& specs,
                                                     const std::vector<DeviceEntry>& modes,
                                                     const std::string& statePath, std::string* error);

}  // namespace quorvel
