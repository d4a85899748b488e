#pragma once
// The set-up the device benchmarks share: a device core on virtual mice in a private data folder, with the
// moments a request goes out and a view event arrives noted as steady-clock ticks.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "device/DeviceMainDef.h"
#include "shell/AppContext.h"
#include "sim/VirtualBackend.h"
#include "store/DeviceDatabase.h"

namespace quorvel::bench {

using Clock = std::chrono::steady_clock;

inline int64_t Now() {
    return Clock::now().time_since_epoch().count();
}

// Seconds from `start` until `stamp` moves past `before`.
inline double Waited(Clock::time_point start, const std::atomic<int64_t>& stamp, int64_t before) {
    while (stamp == before) std::this_thread::yield();
    return std::chrono::duration<double>(Clock::time_point(Clock::duration(stamp.load())) - start).count();
}

// Forwards to the virtual mice and notes when a request goes out.
class TimedBackend : public HidBackend {
public:
    explicit TimedBackend(std::unique_ptr<VirtualBackend> inner) : inner_(std::move(inner)) {}
    VirtualBackend& Inner() { return *inner_; }
    std::atomic<int64_t> lastWrite{0};

    std::vector<HidDeviceInfo> Enumerate(uint16_t v, uint16_t p) override { return inner_->Enumerate(v, p); }
    HidHandle* Open(const std::string& path, HidOpenError* e) override { return inner_->Open(path, e); }
    void Close(HidHandle* h) override { inner_->Close(h); }
    int Write(HidHandle* h, const uint8_t* d, size_t n) override {
        lastWrite = Now();
        return inner_->Write(h, d, n);
    }
    int ReadTimeout(HidHandle* h, uint8_t* d, size_t n, int ms) override {
        return inner_->ReadTimeout(h, d, n, ms);
    }
    int SendFeature(HidHandle* h, const uint8_t* d, size_t n) override {
        lastWrite = Now();
        return inner_->SendFeature(h, d, n);
    }
    int GetFeature(HidHandle* h, uint8_t* d, size_t n) override { return inner_->GetFeature(h, d, n); }
    std::string ProductString(HidHandle* h) override { return inner_->ProductString(h); }
    std::string LastError(HidHandle* h) override { return inner_->LastError(h); }
    void Usage(HidHandle* h, uint16_t* p, uint16_t* u) override { inner_->Usage(h, p, u); }
    void WatchHotplug(HidHotplugCallback cb) override { inner_->WatchHotplug(std::move(cb)); }
    bool WaitsForInput() const override { return inner_->WaitsForInput(); }
    void WaitForInput(const std::vector<HidHandle*>& h, int ms) override { inner_->WaitForInput(h, ms); }
    void WakeWaiter() override { inner_->WakeWaiter(); }

private:
    std::unique_ptr<VirtualBackend> inner_;
};

struct TimedView : DeviceView {
    std::atomic<int64_t> lastLevel{0};
    std::atomic<int64_t> lastLost{0};
    void SelectDpiLevel(int, int, int) override { lastLevel = Now(); }
    void ShowLinkLostView(int) override { lastLost = Now(); }
};

// A core on the virtual mice of `specs` ("" for none), discovery and read-back done, worker running.
struct Rig {
    explicit Rig(const std::string& specs) {
        root = std::filesystem::temp_directory_path() / ("quorvel-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, (root / var).c_str(), 1);
        SetDeviceName("QuorvelBench");
        SetProgramDir(QUORVEL_PRODUCT_DIR);
        ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &config);
        std::string error;
        auto timed = std::make_unique<TimedBackend>(CreateVirtualBackend(specs, config.modes, "", &error));
        backend = timed.get();
        manager = std::make_unique<HidDeviceManager>(std::move(timed));
        core = std::make_unique<DeviceMainDef>(*manager, db);
        core->SetProduct(config);
        core->SetView(&view);
        core->SetTraceHook([](const std::string&) {});
        core->Worker().WaitForTask(core->StartWorker(), std::chrono::seconds(20));
    }
    ~Rig() {
        core.reset();
        manager.reset();
        db.Close();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    VirtualMouse* First() { return backend->Inner().MouseCount() ? &backend->Inner().Mouse(0) : nullptr; }
    VirtualMouse& Last() { return backend->Inner().Mouse(backend->Inner().MouseCount() - 1); }
    // The last mouse of the model shown (DPI reports of other models are not shown).
    VirtualMouse& Shown() {
        VirtualBackend& b = backend->Inner();
        for (size_t i = b.MouseCount(); i-- > 0;)
            if (b.Mouse(i).Spec().deviceType == core->CurrentDeviceType()) return b.Mouse(i);
        return b.Mouse(0);
    }
    // Back in the idle wait: nothing queued and the worker asleep for a moment.
    void Settle() {
        while (core->Worker().PendingTasks()) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    std::filesystem::path root;
    ProductConfig config;
    TimedBackend* backend = nullptr;
    std::unique_ptr<HidDeviceManager> manager;
    DeviceDatabase db;
    TimedView view;
    std::unique_ptr<DeviceMainDef> core;
};

}  // namespace quorvel::bench
