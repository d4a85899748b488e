// Latency of the event-driven worker on the virtual mice, with one mouse and with three of the report family
// (the one that acts is the last of them, or the last of the model shown, so the wait covers every mouse):
//   BM_QueueToWire       QueueTask -> first report handed to the backend, worker idle in its wait
//   BM_DpiButtonToView   DPI-button report queued by the mouse -> DeviceView::SelectDpiLevel
//   BM_LinkReportToView  link-lost report queued by the receiver -> DeviceView::ShowLinkLostView
// Arg "mice": 1 = "102:wired" (or "103:wireless" for the link), 3 = "102;103;103:wireless".

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "BenchRig.h"
#include "device/Tasks.h"

namespace quorvel {
namespace {

using bench::Clock;
using bench::Rig;

const char* Mice(int64_t count, bool wireless) {
    if (count == 1) return wireless ? "103:wireless" : "102:wired";
    return wireless ? "102;103;103:wireless" : "102;103:wireless;103";
}

void BM_QueueToWire(benchmark::State& state) {
    Rig rig(Mice(state.range(0), false));
    for (auto _ : state) {
        rig.Settle();
        const int64_t before = rig.backend->lastWrite;
        const auto start = Clock::now();
        rig.core->Worker().QueueTask(DeviceTaskRequest(kTaskWriteReportRate));
        state.SetIterationTime(bench::Waited(start, rig.backend->lastWrite, before));
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
        state.SetIterationTime(bench::Waited(start, rig.view.lastLevel, before));
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
        state.SetIterationTime(bench::Waited(start, rig.view.lastLost, before));
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
