// Cost of the settings store: creating a device's data from nothing (schema, four profiles with their 160
// settings rows, the default lighting rows of every profile) and one setting written and read back.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "store/DeviceDatabase.h"
#include "store/LightDefaults.h"
#include "store/ProfileLoader.h"

namespace {

using quorvel::DeviceDatabase;

std::string MakeDataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    std::string folder = pattern + "/";
    std::filesystem::create_directories(folder + "db");
    return folder;
}

void BM_CreateDeviceData(benchmark::State& state) {
    const std::string folder = MakeDataFolder();
    DeviceDatabase db;
    for (auto _ : state) {
        state.PauseTiming();
        db.CloseDevice();
        db.DeleteDatabaseFile(folder, "bench");
        state.ResumeTiming();
        db.OpenForDevice(folder, "bench");
        benchmark::DoNotOptimize(quorvel::LoadProfiles(db, "Profile"));
        for (int profile = 1; profile <= 4; ++profile) {
            quorvel::AddDefaultLightModes(db, profile, {true, true, true, true, true, true});
        }
    }
    db.CloseDevice();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CreateDeviceData)->Unit(benchmark::kMillisecond);

void BM_SetAndGetConfig(benchmark::State& state) {
    const std::string folder = MakeDataFolder();
    DeviceDatabase db;
    db.OpenForDevice(folder, "bench");
    quorvel::LoadProfiles(db, "Profile");
    std::string value;
    int i = 0;
    for (auto _ : state) {
        db.SetConfig(1, "dpi_group2_value", std::to_string(800 + (i++ % 100)));
        benchmark::DoNotOptimize(db.GetConfig(1, "dpi_group2_value", value));
    }
    db.CloseDevice();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SetAndGetConfig)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
