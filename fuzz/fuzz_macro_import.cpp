// Both macro imports on arbitrary bytes, into a scratch device database in a private temporary folder.
// The macros an input added are deleted again so the library stays small across the run.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/MacroFile.h"
#include "store/DeviceDatabase.h"

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
        std::string pattern = (base / "quorvel-fuzz-macro-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        g_folder = pattern;
        std::atexit(RemoveFolder);
        std::filesystem::create_directories(g_folder + "/db");
        auto* database = new quorvel::DeviceDatabase();
        if (!database->OpenForDevice(g_folder + "/", "QuorvelR2")) std::abort();
        return database;
    }();
    return *db;
}

void Forget(quorvel::DeviceDatabase& db, const quorvel::MacroImportResult& result) {
    for (const quorvel::ImportedMacro& macro : result.macros) db.DeleteMacro(macro.macroId);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quorvel::DeviceDatabase& db = ScratchDatabase();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Forget(db, quorvel::ImportSingleMacroBytes(db, bytes, "fuzz"));
    Forget(db, quorvel::ImportMultiMacroBytes(db, bytes, "fuzz"));
    return 0;
}
