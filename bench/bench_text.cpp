// Text lookup by number in the product's language files:
//   BM_TextLookup      one text("LAN", id), the current language's table kept
//   BM_ReTextPass      a window's re-text pass: every text of the English file once
//   BM_LanguageChange  the first lookup after a language change: the file read and parsed

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "shell/AppContext.h"
#include "shell/Localisation.h"

namespace quorvel {
namespace {

// The ids the English file holds: what a re-text pass asks for.
std::vector<int> TextIds() {
    std::vector<int> ids;
    const std::string path = LanguageFilePath(QUORVEL_PRODUCT_DIR, kLcidEnglish);
    for (int id = 0; id < 1000; ++id) {
        std::string value;
        if (ReadProfileString(path, "LAN", std::to_string(id), &value)) ids.push_back(id);
    }
    return ids;
}

void UseProduct(int lcid) {
    SetProgramDir(QUORVEL_PRODUCT_DIR);
    SetCurrentLanguage(lcid);
}

void BM_TextLookup(benchmark::State& state) {
    UseProduct(static_cast<int>(state.range(0)));
    const std::vector<int> ids = TextIds();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(text("LAN", ids[i++ % ids.size()]));
}
BENCHMARK(BM_TextLookup)->Arg(kLcidEnglish)->Arg(kLcidChinese)->ArgName("lcid")->Unit(benchmark::kNanosecond);

void BM_ReTextPass(benchmark::State& state) {
    UseProduct(kLcidEnglish);
    const std::vector<int> ids = TextIds();
    for (auto _ : state)
        for (int id : ids) benchmark::DoNotOptimize(text("LAN", id));
    state.counters["texts"] = static_cast<double>(ids.size());
}
BENCHMARK(BM_ReTextPass)->Unit(benchmark::kMicrosecond);

void BM_LanguageChange(benchmark::State& state) {
    UseProduct(kLcidEnglish);
    int lcid = kLcidEnglish;
    for (auto _ : state) {
        lcid = lcid == kLcidEnglish ? kLcidChinese : kLcidEnglish;
        SetCurrentLanguage(lcid);
        benchmark::DoNotOptimize(text("LAN", 61));
    }
}
BENCHMARK(BM_LanguageChange)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
