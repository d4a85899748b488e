// Device worker figures on the virtual mouse:
//   BM_QueueToWire      latency from QueueTask to the first report on the wire, worker idle
//   BM_ApplyProfile     task 5 (whole profile) with 1 ms per report, against reports x 1 ms
//   BM_IdleWorker       wake-ups per second and CPU of an idle worker, without and with a device
//   BM_DpiButtonToView  latency from the mouse's DPI-button report to the view's DPI event

#include <benchmark/benchmark.h>
#include <sys/resource.h>
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

// Forwards to the virtual mouse and notes when a request goes out.
class TimedBackend : public HidBackend {
public:
    explicit TimedBackend(std::unique_ptr<VirtualBackend> inner) : inner_(std::move(inner)) {}
    VirtualBackend& Inner() { return *inner_; }
    std::atomic<int64_t> lastWrite{0};

    std::vector<HidDeviceInfo> Enumerate(uint16_t v, uint16_t p) override { return inner_->Enumerate(v, p); }
    HidHandle* Open(const std::string& path, HidOpenError* e) override { return inner_->Open(path, e); }
    void Close(HidHandle* h) override { inner_->Close(h); }
    int Write(HidHandle* h, const uint8_t* d, size_t n) override {
        Note();
        return inner_->Write(h, d, n);
    }
    int ReadTimeout(HidHandle* h, uint8_t* d, size_t n, int ms) override {
        return inner_->ReadTimeout(h, d, n, ms);
    }
    int SendFeature(HidHandle* h, const uint8_t* d, size_t n) override {
        Note();
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
    void Note() { lastWrite = Clock::now().time_since_epoch().count(); }
    std::unique_ptr<VirtualBackend> inner_;
};

struct DpiView : DeviceView {
    std::atomic<int64_t> lastLevel{0};
    void SelectDpiLevel(int, int, int) override { lastLevel = Clock::now().time_since_epoch().count(); }
};

// A core on virtual mice in a private data folder, discovery done, worker running.
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
        core->Worker().WaitForTask(core->StartWorker(), std::chrono::seconds(10));  // discovery and read-back
    }
    ~Rig() {
        core.reset();
        manager.reset();
        db.Close();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    VirtualMouse* Mouse() { return backend->Inner().MouseCount() ? &backend->Inner().Mouse(0) : nullptr; }

    std::filesystem::path root;
    ProductConfig config;
    TimedBackend* backend = nullptr;
    std::unique_ptr<HidDeviceManager> manager;
    DeviceDatabase db;
    DpiView view;
    std::unique_ptr<DeviceMainDef> core;
};

const char* Spec(int64_t family) {
    return family == 0 ? "102:wired" : "201:wired";
}

void BM_QueueToWire(benchmark::State& state) {
    Rig rig(Spec(state.range(0)));
    for (auto _ : state) {
        const int64_t before = rig.backend->lastWrite;
        const auto start = Clock::now();
        rig.core->Worker().QueueTask(DeviceTaskRequest(kTaskWriteReportRate));
        while (rig.backend->lastWrite == before) std::this_thread::yield();
        const auto wire = Clock::time_point(Clock::duration(rig.backend->lastWrite.load()));
        state.SetIterationTime(std::chrono::duration<double>(wire - start).count());
        while (rig.core->Worker().PendingTasks()) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));  // back to the idle wait
    }
}
BENCHMARK(BM_QueueToWire)->Arg(0)->Arg(1)->ArgName("feature")->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ApplyProfile(benchmark::State& state) {
    Rig rig(Spec(state.range(0)));
    rig.Mouse()->SetLatency(std::chrono::milliseconds(1));
    size_t reports = 0;
    for (auto _ : state) {
        rig.Mouse()->ClearRequests();
        rig.core->Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteProfile), std::chrono::seconds(30));
        reports = rig.Mouse()->Requests().size();
    }
    state.counters["reports"] = static_cast<double>(reports);
    state.counters["floor_ms"] = static_cast<double>(reports) * 1.0;
}
BENCHMARK(BM_ApplyProfile)->Arg(0)->Arg(1)->ArgName("feature")->Unit(benchmark::kMillisecond)->UseRealTime();

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void BM_IdleWorker(benchmark::State& state) {
    Rig rig(state.range(0) ? "102:wired" : "");
    double wakeups = 0, cpu = 0, seconds = 0;
    for (auto _ : state) {
        const uint64_t passes = rig.core->Worker().PassCount();
        const double cpu0 = CpuSeconds();
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        wakeups += static_cast<double>(rig.core->Worker().PassCount() - passes);
        cpu += CpuSeconds() - cpu0;
    }
    state.counters["wakeups_per_s"] = wakeups / seconds;
    state.counters["cpu_percent"] = 100.0 * cpu / seconds;
}
BENCHMARK(BM_IdleWorker)->Arg(0)->Arg(1)->ArgName("device")->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DpiButtonToView(benchmark::State& state) {
    Rig rig("102:wired");
    for (auto _ : state) {
        const int64_t before = rig.view.lastLevel;
        const auto start = Clock::now();
        rig.Mouse()->PressDpiButton();
        while (rig.view.lastLevel == before) std::this_thread::yield();
        const auto shown = Clock::time_point(Clock::duration(rig.view.lastLevel.load()));
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
}
BENCHMARK(BM_DpiButtonToView)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
