#pragma once
// A device database for a fuzz target: in a private temporary folder (in memory under /dev/shm when there
// is one), opened once for the whole run and removed at exit.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/DeviceDatabase.h"

namespace quorvel::fuzz {

inline std::string& ScratchFolder() {
    static std::string folder;
    return folder;
}

// `tag` names the folder (quorvel-fuzz-<tag>-XXXXXX).
inline DeviceDatabase& OpenScratchDatabase(const char* tag) {
    static DeviceDatabase* db = [tag] {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / (std::string("quorvel-fuzz-") + tag + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) std::abort();
        ScratchFolder() = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        std::filesystem::create_directories(pattern + "/db");
        auto* database = new DeviceDatabase();
        if (!database->OpenForDevice(pattern + "/", "QuorvelR2")) std::abort();
        return database;
    }();
    return *db;
}

}  // namespace quorvel::fuzz
