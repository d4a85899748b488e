#pragma once
// A HidBackend that records every transfer of the backend it wraps, one line each, appended to a file:
//   <op> <usage page>:<usage> <bytes>
// op: write, read, send_feature, get_feature; usage page and usage as four upper-case hex digits; bytes
// as two upper-case hex digits separated by single spaces. write/send_feature show what was handed to the
// backend, read/get_feature what it delivered (reads only when data arrived). Lines are whole under
// concurrency and flushed one by one.

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "device/HidBackend.h"

namespace quorvel {

// One trace line without its newline.
std::string HidTraceLine(const char* op, uint16_t usagePage, uint16_t usage, const uint8_t* data,
                         size_t length);

class HidTrace : public HidBackend {
public:
    // Null when the file cannot be opened for appending (*error says why).
    static std::unique_ptr<HidTrace> Create(std::unique_ptr<HidBackend> inner, const std::string& file,
                                            std::string* error);
    ~HidTrace() override;

    HidBackend* Inner() { return inner_.get(); }

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
    bool WaitsForInput() const override { return inner_->WaitsForInput(); }
    void WaitForInput(const std::vector<HidHandle*>& handles, int milliseconds) override {
        inner_->WaitForInput(handles, milliseconds);
    }
    void WakeWaiter() override { inner_->WakeWaiter(); }

private:
    HidTrace(std::unique_ptr<HidBackend> inner, std::FILE* file);
    void Line(const char* op, HidHandle* handle, const uint8_t* data, size_t length);

    std::unique_ptr<HidBackend> inner_;
    std::mutex mutex_;
    std::FILE* file_;
};

}  // namespace quorvel
