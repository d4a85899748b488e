#pragma once
// The seam between the device link and the machine's HID devices. Exactly the calls the program uses,
// with hidapi's conventions: writes and feature reports carry the report ID in byte 0; reads of report ID 0
// deliver the report without its ID byte; get-feature fills the buffer from the report ID on.
// Two implementations: hidapi (hidraw) for real mice, and the virtual mouse (sim/).

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quorvel {

struct HidDeviceInfo {
    std::string path;  // the interface path, as enumeration reports it
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t release = 0;  // bcdDevice
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    int interfaceNumber = -1;  // -1 when unknown
    std::string product;       // product string (UTF-8)
};

// An open interface. Owned by whoever opened it; closed through HidBackend::Close.
class HidHandle {
public:
    virtual ~HidHandle() = default;
};

enum class HidOpenError { None, Permission, Gone, Other };

// Arrival or removal of a HID interface; the path text carries "VID_xxxx&PID_xxxx[&MI_nn]" as Windows
// writes it, so the same matching rules apply on every platform.
struct HidHotplugEvent {
    bool arrival = false;
    std::string path;
    uint16_t usagePage = 0;  // of the arriving interface when known (0 otherwise)
    uint16_t usage = 0;
};
using HidHotplugCallback = std::function<void(const HidHotplugEvent&)>;

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // All interfaces with this vendor/product id; 0, 0 = every HID interface.
    virtual std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) = 0;
    // Opens by path; null on failure, with the reason in *error when given.
    virtual HidHandle* Open(const std::string& path, HidOpenError* error = nullptr) = 0;
    virtual void Close(HidHandle* handle) = 0;
    // hid_write: bytes written, or -1.
    virtual int Write(HidHandle* handle, const uint8_t* data, size_t length) = 0;
    // hid_read_timeout: bytes read, 0 on time-out, -1 on error.
    virtual int ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int milliseconds) = 0;
    // hid_send_feature_report: bytes sent, or -1.
    virtual int SendFeature(HidHandle* handle, const uint8_t* data, size_t length) = 0;
    // hid_get_feature_report: data[0] holds the report ID on entry; bytes read (with the ID), or -1.
    virtual int GetFeature(HidHandle* handle, uint8_t* data, size_t length) = 0;
    virtual std::string ProductString(HidHandle* handle) = 0;
    // The last error text of the handle (kept, never shown to the user).
    virtual std::string LastError(HidHandle* handle) = 0;
    // Usage page/usage the handle was opened with (for the HID trace).
    virtual void Usage(HidHandle* handle, uint16_t* usagePage, uint16_t* usage) = 0;

    // Arrival/removal notifications; the callback may be called from another thread. Passing an empty
    // function stops watching and waits for a callback in progress (unless called from that callback).
    virtual void WatchHotplug(HidHotplugCallback callback) = 0;

    // Waiting for input, so that an idle reader sleeps until a mouse speaks. WaitForInput blocks until one
    // of `handles` has an input report to read (or has failed: the next read says so), WakeWaiter was
    // called since the last wait, or `milliseconds` passed (-1: no limit). One waiter at a time; WakeWaiter
    // from any thread. The defaults suit a backend that cannot wait on its handles: they wait only for the
    // wake or the time, and WaitsForInput() says the caller must poll.
    virtual bool WaitsForInput() const { return false; }
    virtual void WaitForInput(const std::vector<HidHandle*>& handles, int milliseconds) {
        (void)handles;
        std::unique_lock<std::mutex> lock(wakeMutex_);
        auto woken = [&] { return woken_; };
        if (milliseconds < 0)
            wakeChanged_.wait(lock, woken);
        else
            wakeChanged_.wait_for(lock, std::chrono::milliseconds(milliseconds), woken);
        woken_ = false;
    }
    virtual void WakeWaiter() {
        {
            std::lock_guard<std::mutex> lock(wakeMutex_);
            woken_ = true;
        }
        wakeChanged_.notify_all();
    }

private:
    std::mutex wakeMutex_;
    std::condition_variable wakeChanged_;
    bool woken_ = false;
};

}  // namespace quorvel
