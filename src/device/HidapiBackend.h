#pragma once
// HidBackend for real mice on Linux. hidapi enumerates (it reads the report descriptors for the usages);
// the opened interfaces are hidraw nodes used directly (read, write, the feature ioctls, exactly as
// hidapi's hidraw code does), because hidapi hides a device's file descriptor and its reads wait on one
// device only: waiting for any of several mice and for a wake-up at once takes one poll() over the nodes
// and an eventfd. hid_init on construction, hid_exit on destruction; hot-plug through the udev monitor.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "device/HidBackend.h"
#include "platform/UdevMonitor.h"

namespace quorvel {

class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;

    bool Initialised() const { return initialised_; }

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
    void WatchHotplug(HidHotplugCallback callback) override;
    bool WaitsForInput() const override { return wakeFd_ >= 0; }
    void WaitForInput(const std::vector<HidHandle*>& handles, int milliseconds) override;
    void WakeWaiter() override;

private:
    struct Known {
        uint16_t usagePage = 0;
        uint16_t usage = 0;
        std::string product;
    };

    bool initialised_ = false;
    int wakeFd_ = -1;   // eventfd: a wake for WaitForInput
    std::mutex mutex_;  // the enumeration cache
    // Usage and product of each path as last enumerated (hidraw opens by node and cannot tell them).
    std::map<std::string, Known> known_;
    std::mutex watchMutex_;
    std::unique_ptr<UdevMonitor> monitor_;
};

// The hot-plug event of a hidraw arrival or removal: the interface's usage is (1, 0) when any of its
// top-level collections is, else the first one.
HidHotplugEvent HotplugEventFromUdev(const UdevHidEvent& event);

}  // namespace quorvel
