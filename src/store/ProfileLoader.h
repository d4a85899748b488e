#pragma once
// Setting up the profile list when a device's data is loaded.

#include <string_view>

namespace quorvel {

class DeviceDatabase;

// Creates the four default profiles ("<word> 1" ... "<word> 4", word = text 61 of the current language)
// when the database has none, makes profile 1 active when none is, and returns the active profile
// number; 0 when the database is not usable.
int LoadProfiles(DeviceDatabase& db, std::string_view profileWord);

}  // namespace quorvel
