// Profile import on arbitrary bytes, into a scratch device database in a private temporary folder.
// Every input must be refused or loaded without a crash, a leak or a hang.


#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ScratchDatabase.h"
#include "files/ProfileFile.h"
#include "store/DeviceDatabase.h"
#include "store/LightDefaults.h"
#include "store/ProfileLoader.h"

namespace {

quorvel::DeviceDatabase& ScratchDatabase() {
    static quorvel::DeviceDatabase* db = [] {
        quorvel::DeviceDatabase* database = &quorvel::fuzz::OpenScratchDatabase("profile");
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
