#pragma once
// A scripted HID backend for the transport, discovery and hot-plug tests: interfaces with canned
// answers, a log of every transfer, unplugging at any moment. Answers come at once (no time-outs).

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace quorvel::test {

using Bytes = std::vector<uint8_t>;

struct FakeInterface {
    HidDeviceInfo info;
    HidOpenError openError = HidOpenError::None;
    // Input reports to queue after each write (as hidapi delivers them: report ID 0 stripped).
    std::function<std::vector<Bytes>(const Bytes& written)> onWrite;
    // Fills the get-feature buffer; returns the byte count (or -1).
    std::function<int(uint8_t* data, size_t length)> onGetFeature;
    int writeResult = 0;  // 0: the length written; otherwise returned as is
    int sendFeatureResult = 0;
    bool gone = false;
};

struct FakeOp {
    std::string op;  // write, read, send_feature, get_feature
    std::string path;
    Bytes bytes;
};

class FakeBackend : public HidBackend {
public:
    ~FakeBackend() override {
        if (openAtExit_) *openAtExit_ = static_cast<int>(handles_.size());
        for (auto& [h, state] : handles_) delete h;
    }
    // Where to report the handles still open when the backend goes.
    void ReportOpenAtExit(int* count) { openAtExit_ = count; }
    void Add(FakeInterface interface) {
        std::lock_guard<std::mutex> lock(mutex_);
        interfaces_.push_back(std::make_shared<FakeInterface>(std::move(interface)));
    }
    void Unplug(const std::string& path) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& i : interfaces_) {
            if (i->info.path == path) i->gone = true;
        }
    }
    void UnplugAll() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& i : interfaces_) i->gone = true;
    }
    void QueueInput(const std::string& path, Bytes report) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [h, state] : handles_) {
            if (state.interface->info.path == path) state.input.push_back(report);
        }
    }
    // Runs before every transfer with its op name (outside the lock): the place to unplug mid-call.
    void SetBeforeOp(std::function<void(const std::string& op)> hook) { beforeOp_ = std::move(hook); }

    std::vector<FakeOp> Ops() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return ops_;
    }
    void ClearOps() {
        std::lock_guard<std::mutex> lock(mutex_);
        ops_.clear();
    }
    int OpenHandles() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(handles_.size());
    }
    std::vector<std::string> Opened() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return opened_;
    }
    HidHotplugCallback Watcher() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return watcher_;
    }

    std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) override {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<HidDeviceInfo> out;
        for (auto& i : interfaces_) {
            if (i->gone) continue;
            if ((vendorId == 0 || i->info.vendorId == vendorId) &&
                (productId == 0 || i->info.productId == productId))
                out.push_back(i->info);
        }
        return out;
    }
    HidHandle* Open(const std::string& path, HidOpenError* error) override {
        std::lock_guard<std::mutex> lock(mutex_);
        // A path plugged in again is a new interface; the unplugged one answers only when it is the last.
        std::shared_ptr<FakeInterface> found;
        for (auto& i : interfaces_) {
            if (i->info.path == path && (!found || found->gone)) found = i;
        }
        for (auto& i : interfaces_) {
            if (i != found) continue;
            HidOpenError e = i->gone ? HidOpenError::Gone : i->openError;
            if (error) *error = e;
            if (e != HidOpenError::None) return nullptr;
            auto* h = new HidHandle;
            handles_[h].interface = i;
            opened_.push_back(path);
            return h;
        }
        if (error) *error = HidOpenError::Gone;
        return nullptr;
    }
    void Close(HidHandle* handle) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (handles_.erase(handle)) delete handle;
    }
    int Write(HidHandle* handle, const uint8_t* data, size_t length) override {
        Before("write");
        std::lock_guard<std::mutex> lock(mutex_);
        auto* s = State(handle);
        if (!s) return -1;
        Bytes written(data, data + length);
        ops_.push_back({"write", s->interface->info.path, written});
        if (s->interface->gone) return -1;
        if (s->interface->writeResult != 0) return s->interface->writeResult;
        if (s->interface->onWrite) {
            for (auto& r : s->interface->onWrite(written)) s->input.push_back(r);
        }
        return static_cast<int>(length);
    }
    int ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int milliseconds) override {
        Before("read");
        std::lock_guard<std::mutex> lock(mutex_);
        auto* s = State(handle);
        if (!s || s->interface->gone) return -1;
        if (milliseconds != 0) ++reads_;  // reads that wait; a look at what is pending is not counted
        if (s->input.empty()) return 0;
        Bytes r = s->input.front();
        s->input.erase(s->input.begin());
        size_t n = std::min(length, r.size());
        std::memcpy(data, r.data(), n);
        ops_.push_back({"read", s->interface->info.path, Bytes(data, data + n)});
        return static_cast<int>(n);
    }
    int SendFeature(HidHandle* handle, const uint8_t* data, size_t length) override {
        Before("send_feature");
        std::lock_guard<std::mutex> lock(mutex_);
        auto* s = State(handle);
        if (!s) return -1;
        ops_.push_back({"send_feature", s->interface->info.path, Bytes(data, data + length)});
        if (s->interface->gone) return -1;
        if (s->interface->sendFeatureResult != 0) return s->interface->sendFeatureResult;
        return static_cast<int>(length);
    }
    int GetFeature(HidHandle* handle, uint8_t* data, size_t length) override {
        Before("get_feature");
        std::lock_guard<std::mutex> lock(mutex_);
        auto* s = State(handle);
        if (!s) return -1;
        ops_.push_back({"get_feature", s->interface->info.path, Bytes(data, data + length)});
        if (s->interface->gone || !s->interface->onGetFeature) return -1;
        return s->interface->onGetFeature(data, length);
    }
    std::string ProductString(HidHandle* handle) override {
        std::lock_guard<std::mutex> lock(mutex_);
        auto* s = State(handle);
        return s ? s->interface->info.product : "";
    }
    std::string LastError(HidHandle*) override { return "fake"; }
    void Usage(HidHandle* handle, uint16_t* usagePage, uint16_t* usage) override {
        std::lock_guard<std::mutex> lock(mutex_);
        auto* s = State(handle);
        *usagePage = s ? s->interface->info.usagePage : 0;
        *usage = s ? s->interface->info.usage : 0;
    }
    void WatchHotplug(HidHotplugCallback callback) override {
        std::lock_guard<std::mutex> lock(mutex_);
        watcher_ = std::move(callback);
    }
    int Reads() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return reads_;
    }

private:
    struct HandleState {
        std::shared_ptr<FakeInterface> interface;
        std::vector<Bytes> input;
    };
    HandleState* State(HidHandle* handle) {
        auto it = handles_.find(handle);
        return it == handles_.end() ? nullptr : &it->second;
    }
    void Before(const char* op) {
        if (beforeOp_) beforeOp_(op);
    }

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<FakeInterface>> interfaces_;
    std::map<HidHandle*, HandleState> handles_;
    std::vector<FakeOp> ops_;
    std::vector<std::string> opened_;
    HidHotplugCallback watcher_;
    std::function<void(const std::string&)> beforeOp_;
    int reads_ = 0;
    int* openAtExit_ = nullptr;
};

inline HidDeviceInfo Info(const std::string& path, uint16_t vid, uint16_t pid, uint16_t page, uint16_t usage,
                          uint16_t release = 0x0102) {
    HidDeviceInfo i;
    i.path = path;
    i.vendorId = vid;
    i.productId = pid;
    i.release = release;
    i.usagePage = page;
    i.usage = usage;
    return i;
}

// An interface that answers nothing.
inline FakeInterface Plain(HidDeviceInfo info) {
    FakeInterface f;
    f.info = std::move(info);
    return f;
}

// The report-family mouse interface (0x0001/0x0000): answers every write with `status`; the info request
// (0x10) with the id, battery status and level at their places (report offsets minus one).
inline FakeInterface ReportMouse(const std::string& path, uint16_t vid, uint16_t pid, const std::string& id,
                                 uint8_t batteryStatus = 1, uint8_t batteryLevel = 77) {
    FakeInterface f;
    f.info = Info(path, vid, pid, 0x0001, 0x0000);
    f.onWrite = [id, batteryStatus, batteryLevel](const Bytes& w) {
        Bytes reply(32, 0);
        reply[0] = w.size() > 1 ? w[1] : 0;  // command echo, status 0
        if (reply[0] == 0x10) {
            for (size_t i = 0; i < 4 && i < id.size(); ++i) reply[4 + i] = static_cast<uint8_t>(id[i]);
            reply[12] = batteryStatus;
            reply[13] = batteryLevel;
            reply[14] = 1;
        }
        return std::vector<Bytes>{reply};
    };
    return f;
}

// The feature-family vendor interface (0xFF00/0x0001).
inline FakeInterface FeatureMouse(const std::string& path, uint16_t vid, uint16_t pid, const std::string& id,
                                  uint8_t batteryLevel = 55, uint8_t batteryStatus = 2) {
    FakeInterface f;
    f.info = Info(path, vid, pid, 0xFF00, 0x0001);
    f.onGetFeature = [id, batteryLevel, batteryStatus](uint8_t* data, size_t length) {
        for (size_t i = 0; i < 4 && i < id.size(); ++i) data[8 + i] = static_cast<uint8_t>(id[i]);
        data[18] = batteryLevel;
        data[19] = batteryStatus;
        data[21] = 1;
        return static_cast<int>(length);
    };
    return f;
}

}  // namespace quorvel::test
