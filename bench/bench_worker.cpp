// Device worker figures on the virtual mouse:
//   BM_QueueToWire      latency from QueueTask to the first report on the wire, worker idle
//   BM_ApplyProfile     task 5 (whole profile) with 1 ms per report, against reports x 1 ms
//   BM_PickDevice       task 4, the other of two plugged models picked in the device list (its profiles
//                       loaded, the mouse read and what it holds stored)
//   BM_IdleWorker       wake-ups per second and CPU of an idle worker, without and with a device
//   BM_DpiButtonToView  latency from the mouse's DPI-button report to the view's DPI event

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "BenchRig.h"
#include "device/Tasks.h"

namespace quorvel {
namespace {

using bench::Clock;
using bench::Rig;

const char* Spec(int64_t family) {
    return family == 0 ? "102:wired" : "201:wired";
}

void BM_QueueToWire(benchmark::State& state) {
    Rig rig(Spec(state.range(0)));
    for (auto _ : state) {
        const int64_t before = rig.backend->lastWrite;
        const auto start = Clock::now();
        rig.core->Worker().QueueTask(DeviceTaskRequest(kTaskWriteReportRate));
        state.SetIterationTime(bench::Waited(start, rig.backend->lastWrite, before));
        rig.Settle();
    }
}
BENCHMARK(BM_QueueToWire)->Arg(0)->Arg(1)->ArgName("feature")->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ApplyProfile(benchmark::State& state) {
    Rig rig(Spec(state.range(0)));
    rig.First()->SetLatency(std::chrono::milliseconds(1));
    size_t reports = 0;
    for (auto _ : state) {
        rig.First()->ClearRequests();
        rig.core->Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteProfile), std::chrono::seconds(30));
        reports = rig.First()->Requests().size();
    }
    state.counters["reports"] = static_cast<double>(reports);
    state.counters["floor_ms"] = static_cast<double>(reports) * 1.0;
}
BENCHMARK(BM_ApplyProfile)->Arg(0)->Arg(1)->ArgName("feature")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PickDevice(benchmark::State& state) {
    Rig rig("102:wired;201:wired");
    int model = rig.core->CurrentDeviceType();
    for (auto _ : state) {
        model = model == 102 ? 201 : 102;
        DeviceTaskRequest pick(kTaskSelectDevice);
        pick.deviceType = model;
        rig.core->Worker().QueueTaskAndWait(pick, std::chrono::seconds(30));
    }
    if (rig.core->CurrentDeviceType() != model) state.SkipWithError("the pick did not switch the model");
}
BENCHMARK(BM_PickDevice)->Unit(benchmark::kMillisecond)->UseRealTime();

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
        rig.First()->PressDpiButton();
        state.SetIterationTime(bench::Waited(start, rig.view.lastLevel, before));
    }
}
BENCHMARK(BM_DpiButtonToView)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
