#pragma once
// HidBackend over hidapi's hidraw implementation: real mice. hid_init on construction, hid_exit on
// destruction; hot-plug through the libudev monitor.

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

private:
    bool initialised_ = false;
    std::mutex mutex_;  // the usage cache
    // Usage of each path as last enumerated (hidraw opens by node and cannot tell it afterwards).
    std::map<std::string, std::pair<uint16_t, uint16_t>> usages_;
    std::mutex watchMutex_;
    std::unique_ptr<UdevMonitor> monitor_;
};

// The hot-plug event of a hidraw arrival or removal: the interface's usage is (1, 0) when any of its
// top-level collections is, else the first one.
HidHotplugEvent HotplugEventFromUdev(const UdevHidEvent& event);

}  // namespace quorvel
