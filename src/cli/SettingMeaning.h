#pragma once
// What a stored setting means to the user: levels counted from 1, rates in Hz, colours as #RRGGBB, times
// with their unit. The stored text stays what scripts read; this is printed beside it.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel::cli {

// "active level 2", "8000 Hz", "level 3: #FF8000", "300 s", ...; empty for a key with nothing to add.
std::string SettingMeaning(std::string_view key, std::string_view value);

// The names of the sensor options set in a sum of 4, 8 and 16, in bit order (language texts 515-517).
std::vector<std::string> SensorOptionNames(int flags);
// The name of one sensor option bit (4, 8 or 16).
std::string SensorOptionName(int bit);

}  // namespace quorvel::cli
