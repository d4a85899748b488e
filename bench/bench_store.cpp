// Cost of the settings store: creating a device's data from nothing (schema, four profiles with their 160
// settings rows, the default lighting rows of every profile), one setting written and read back, and
// opening an existing file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

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

// Opening a model's existing database: what every device switch and every quorvelctl run pays, the
// soundness check of the file (PRAGMA quick_check) included. The file holds four profiles with their
// settings and lighting rows, a button row per profile and 20 macros of 50 events.
void BM_OpenExistingDevice(benchmark::State& state) {
    const std::string folder = MakeDataFolder();
    DeviceDatabase db;
    db.OpenForDevice(folder, "bench");
    quorvel::LoadProfiles(db, "Profile");
    for (int profile = 1; profile <= 4; ++profile) {
        quorvel::AddDefaultLightModes(db, profile, {true, true, true, true, true, true});
        quorvel::KeyAssignmentRecord key;
        key.profile = profile;
        key.key_code = 3;
        key.macro_type = 4;
        key.macro_value = 1;
        key.macro_desc = "Macro 1";
        db.SaveKeyAssignment(key);
    }
    for (int m = 0; m < 20; ++m) {
        const int id = db.AddMacro("Macro " + std::to_string(m + 1));
        std::vector<quorvel::MacroEventRecord> events(50);
        for (int i = 0; i < 50; ++i) {
            events[i].macro_id = id;
            events[i].type = 1 + i % 2;
            events[i].record_index = i;
            events[i].value = 0x04 + i % 26;
            events[i].desc = "A";
        }
        db.AddMacroEvents(events);
    }
    for (auto _ : state) benchmark::DoNotOptimize(db.SwitchToDevice(folder, "bench"));
    state.counters["file_kb"] =
        static_cast<double>(std::filesystem::file_size(DeviceDatabase::DatabasePath(folder, "bench"))) / 1024;
    db.CloseDevice();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OpenExistingDevice)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
