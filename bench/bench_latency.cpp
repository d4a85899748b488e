// Latency of the event-driven worker on the virtual mice, with one mouse and with three of the report family
// (the one that acts is the last of them, or the last of the model shown, so the wait covers every mouse):
//   BM_QueueToWire       QueueTask -> first report handed to the backend, worker idle in its wait
//   BM_DpiButtonToView   DPI-button report queued by the mouse -> DeviceView::SelectDpiLevel
//   BM_LinkReportToView  link-lost report queued by the receiver -> DeviceView::ShowLinkLostView
// Arg "mice": 1 = "102:wired" (or "103:wireless" for the link), 3 = "102;103;103:wireless".

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "device/DeviceMainDef.h"
#include "device/Tasks.h"
#include "shell/AppContext.h"
#include "sim/VirtualBackend.h"
#include "store/DeviceDatabase.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;

int64_t Now() {
    return Clock::now().time_since_epoch().count();
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

struct Rig {
    explicit Rig(const std::string& specs) {
        root = std::filesystem::temp_directory_path() / ("quorvel-latency-" + std::to_string(::getpid()));
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

const char* Mice(int64_t count, bool wireless) {
    if (count == 1) return wireless ? "103:wireless" : "102:wired";
    return wireless ? "102;103;103:wireless" : "102;103:wireless;103";
}

// The wait from `start` until `stamp` moves past `before`.
double Waited(Clock::time_point start, const std::atomic<int64_t>& stamp, int64_t before) {
    while (stamp == before) std::this_thread::yield();
    return std::chrono::duration<double>(Clock::time_point(Clock::duration(stamp.load())) - start).count();
}

void BM_QueueToWire(benchmark::State& state) {
    Rig rig(Mice(state.range(0), false));
    for (auto _ : state) {
        rig.Settle();
        const int64_t before = rig.backend->lastWrite;
        const auto start = Clock::now();
        rig.core->Worker().QueueTask(DeviceTaskRequest(kTaskWriteReportRate));
        state.SetIterationTime(Waited(start, rig.backend->lastWrite, before));
    }
}
BENCHMARK(BM_QueueToWire)->Arg(1)->Arg(3)->ArgName("mice")->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_DpiButtonToView(benchmark::State& state) {
    Rig rig(Mice(state.range(0), false));
    for (auto _ : state) {
        rig.Settle();
        const int64_t before = rig.view.lastLevel;
        const auto start = Clock::now();
        rig.Shown().PressDpiButton();
        state.SetIterationTime(Waited(start, rig.view.lastLevel, before));
    }
}
BENCHMARK(BM_DpiButtonToView)
    ->Arg(1)
    ->Arg(3)
    ->ArgName("mice")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void BM_LinkReportToView(benchmark::State& state) {
    Rig rig(Mice(state.range(0), true));
    for (auto _ : state) {
        rig.Last().SetLink(true);  // back in reach (a reconnect reads the mouse again)
        rig.Settle();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // its read-back done
        const int64_t before = rig.view.lastLost;
        const auto start = Clock::now();
        rig.Last().SetLink(false);
        state.SetIterationTime(Waited(start, rig.view.lastLost, before));
    }
}
BENCHMARK(BM_LinkReportToView)
    ->Arg(1)
    ->Arg(3)
    ->Iterations(30)
    ->ArgName("mice")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
