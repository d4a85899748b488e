// Profile import on arbitrary bytes, into a scratch device database in a private temporary folder.
// Every input must be refused or loaded without a crash, a leak or a hang.

#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/ProfileFile.h"
#include "store/DeviceDatabase.h"
#include "store/LightDefaults.h"
#include "store/ProfileLoader.h"

namespace {

std::string g_folder;

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

quorvel::DeviceDatabase& ScratchDatabase() {
    static quorvel::DeviceDatabase* db = [] {
        const std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        std::string pattern = (base / "quorvel-fuzz-profile-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        g_folder = pattern;
        std::atexit(RemoveFolder);
        std::filesystem::create_directories(g_folder + "/db");
        auto* database = new quorvel::DeviceDatabase();
        if (!database->OpenForDevice(g_folder + "/", "QuorvelR2")) std::abort();
        if (quorvel::LoadProfiles(*database, "Profile") != 1) std::abort();
        quorvel::AddDefaultLightModes(*database, 1, {true, true, true, true, true, true});
        return database;
    }();
    return *db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quorvel::DeviceDatabase& db = ScratchDatabase();
    quorvel::ProfileImportOptions options;
    options.hasLighting = size % 2 == 0;  // both readings of Lightitems
    quorvel::ImportProfileBytes(db, options, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.xml");
    return 0;
}
