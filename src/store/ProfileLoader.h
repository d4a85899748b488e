#pragma once
// Setting up the profile list when a device's data is loaded.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {

class DeviceDatabase;

// The model's factory settings (setting, text), in the order they are written.
using ProfileDefaults = std::vector<std::pair<std::string, std::string>>;

// Creates the four default profiles ("<word> 1" ... "<word> 4", word = text 61 of the current language)
// when the database has none, each starting from the model's factory settings (`defaults`) over the
// built-in ones, makes profile 1 active when none is, and returns the active profile number; 0 when the
// database is not usable.
int LoadProfiles(DeviceDatabase& db, std::string_view profileWord, const ProfileDefaults& defaults = {});

}  // namespace quorvel
