// What the performance page pays for its own work, on a session over the virtual mouse:
//   BM_DragDpiValue        one slider move: the level's value converted and stored (the page does this for
//                          every position a drag passes through)
//   BM_LoadPerformancePage the page's refresh: every performance setting read, the DPI state set

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "actions/PerformanceActions.h"
#include "session/CoreSession.h"
#include "store/DeviceDatabase.h"

namespace quorvel {
namespace {

// A started session on one report-family mouse, in folders of its own.
class BenchSession {
public:
    BenchSession() {
        root_ =
            std::filesystem::temp_directory_path() / ("quorvel-bench-actions-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, (root_ / var).c_str(), 1);
        SessionOptions options;
        options.productDir = QUORVEL_PRODUCT_DIR;
        options.virtualSpec = "102:wired";
        options.openTraceLog = false;
        options.database = &db_;
        ok_ = session_.Open(options).ok();
        if (!ok_) return;
        const uint64_t start = session_.Start(&view_);
        ok_ = session_.Worker().WaitForTask(start, std::chrono::seconds(10)).ok();
    }
    ~BenchSession() {
        session_.Stop();
        db_.Close();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    bool ok() const { return ok_; }
    ActionContext& Actions() { return session_.Actions(); }

private:
    std::filesystem::path root_;
    DeviceDatabase db_;
    DeviceView view_;
    CoreSession session_;
    bool ok_ = false;
};

void BM_DragDpiValue(benchmark::State& state) {
    BenchSession session;
    if (!session.ok()) {
        state.SkipWithError("no session on the virtual mouse");
        return;
    }
    int position = 10;
    for (auto _ : state) {
        int value = 0;
        const ActionResult result = DragDpiValue(session.Actions(), 0, position, &value);
        benchmark::DoNotOptimize(value);
        if (!result.ok) state.SkipWithError(result.message.c_str());
        position = position == 10 ? 11 : 10;  // every move stores
    }
}
BENCHMARK(BM_DragDpiValue)->Unit(benchmark::kMicrosecond);

void BM_LoadPerformancePage(benchmark::State& state) {
    BenchSession session;
    if (!session.ok()) {
        state.SkipWithError("no session on the virtual mouse");
        return;
    }
    for (auto _ : state) {
        PerformanceSettings settings;
        const ActionResult result = LoadPerformancePage(session.Actions(), &settings);
        benchmark::DoNotOptimize(settings);
        if (!result.ok) state.SkipWithError(result.message.c_str());
    }
}
BENCHMARK(BM_LoadPerformancePage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
