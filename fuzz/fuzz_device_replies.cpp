// The device core on the bytes of a hostile mouse. The virtual mouse answers every request; the input
// decides, read by read, whether its reply reaches the core as it is, replaced by input bytes, with one
// byte changed, or not at all. Discovery (the info blocks), the read-back of the settings and the
// notification polls (link, battery and DPI reports) of both families must survive every input without a
// crash, a leak or a hang.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ScratchDatabase.h"
#include "device/DeviceMainDef.h"
#include "device/HidDeviceManager.h"
#include "device/Notifications.h"
#include "device/Tasks.h"
#include "shell/AppContext.h"
#include "shell/ProductConfig.h"
#include "sim/VirtualBackend.h"

namespace quorvel {
namespace {

// The input, taken a byte at a time; 0 once it is used up.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
    size_t Take(uint8_t* out, size_t count) {
        const size_t n = std::min(count, size_ - at_);
        if (n) std::memcpy(out, data_ + at_, n);
        at_ += n;
        return n;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class FuzzedBackend : public HidBackend {
public:
    FuzzedBackend(std::unique_ptr<HidBackend> mouse, Input& input)
        : mouse_(std::move(mouse)), input_(input) {}

    std::vector<HidDeviceInfo> Enumerate(uint16_t v, uint16_t p) override { return mouse_->Enumerate(v, p); }
    HidHandle* Open(const std::string& path, HidOpenError* error) override {
        return mouse_->Open(path, error);
    }
    void Close(HidHandle* handle) override { mouse_->Close(handle); }
    int Write(HidHandle* handle, const uint8_t* data, size_t length) override {
        return mouse_->Write(handle, data, length);
    }
    int ReadTimeout(HidHandle* handle, uint8_t* data, size_t length, int) override {
        return Mangle(data, length, mouse_->ReadTimeout(handle, data, length, 0));
    }
    int SendFeature(HidHandle* handle, const uint8_t* data, size_t length) override {
        return mouse_->SendFeature(handle, data, length);
    }
    int GetFeature(HidHandle* handle, uint8_t* data, size_t length) override {
        return Mangle(data, length, mouse_->GetFeature(handle, data, length));
    }
    std::string ProductString(HidHandle* handle) override { return mouse_->ProductString(handle); }
    std::string LastError(HidHandle* handle) override { return mouse_->LastError(handle); }
    void Usage(HidHandle* handle, uint16_t* page, uint16_t* usage) override {
        mouse_->Usage(handle, page, usage);
    }
    void WatchHotplug(HidHotplugCallback) override {}

private:
    // What the core gets instead of the mouse's `got` bytes.
    int Mangle(uint8_t* data, size_t length, int got) {
        if (input_.Empty() || length == 0) return got;
        const uint8_t op = input_.Next();
        switch (op & 3) {
            case 0:
                return got;
            case 1: {  // replaced by input bytes, as many as the next byte says
                const size_t want = input_.Next() % (length + 1);
                return static_cast<int>(input_.Take(data, want));
            }
            case 2: {  // one byte changed
                const size_t at = input_.Next() % length;
                data[at] = input_.Next();
                return got > static_cast<int>(at) ? got : static_cast<int>(at + 1);
            }
            default:
                return (op & 4) ? 0 : -1;  // time-out or error
        }
    }

    std::unique_ptr<HidBackend> mouse_;
    Input& input_;
};

const ProductConfig& Product() {
    static const ProductConfig config = [] {
        fuzz::OpenScratchDatabase("device");
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, fuzz::ScratchFolder().c_str(), 1);
        SetProgramDir(QUORVEL_PRODUCT_DIR);
        ProductConfig product;
        if (!ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &product)) std::abort();
        return product;
    }();
    return config;
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvel;
    const ProductConfig& product = Product();
    DeviceDatabase& db = fuzz::OpenScratchDatabase("device");
    if (size == 0) return 0;
    static const char* const kMice[] = {"102:wired", "103:wireless", "201:wired", "102:wired;201:wired"};
    Input input(data + 1, size - 1);
    std::string error;
    auto mouse = CreateVirtualBackend(kMice[data[0] % 4], product.modes, "", &error);
    if (!mouse) std::abort();
    HidDeviceManager manager(std::make_unique<FuzzedBackend>(std::move(mouse), input));
    manager.SetSleep([](int) {});
    DeviceMainDef core(manager, db);
    core.SetProduct(product);
    core.SetSleep([](int) {});
    core.SetTraceHook([](const std::string&) {});
    core.ExecuteTask(DeviceTaskRequest(kTaskStart));
    uint8_t buffer[kNotifyBufferSize];
    for (int i = 0; i < 4 && !input.Empty(); ++i) {
        int deviceType = 0;
        PollReportFamily(manager, buffer, &deviceType, [](int) {});
        PollFeatureFamily(manager, buffer, &deviceType);
        PollSelectedWireless(manager, 103);
    }
    return 0;
}
