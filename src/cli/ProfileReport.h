#pragma once
// The active profile as 'show' and 'read' print it: JSON with the stored rows, or readable text.

#include <string>
#include <vector>

#include "cli/CliOutput.h"

namespace quorvel {
struct LightModeRecord;
struct ModelFeatures;
}

namespace quorvel::cli {

class Session;

// {"profile": {"number", "name"}, "model": {"device_type", "name", "features", "battery_level"},
//  "settings": {all 40 keys: stored text}, "buttons": [stored assignments], "lighting": [lighting rows]}
Json ProfileJson(Session& session);
void PrintProfileText(Session& session);

// One lighting row with the field names of the lighting table, its name in the current language and
// what it offers.
Json LightRowJson(const LightModeRecord& row, bool featureFamily);
// What a lighting mode lets the user change: "brightness", "speed", "colour", "colour slots" (never the
// colours on the feature family).
std::vector<std::string> LightOffers(const LightModeRecord& row, bool featureFamily);
// {"wireless", "battery", "lights", "sleep_time", "wake_on_move", "lights_off_moving", "button_response"}
Json FeaturesJson(const ModelFeatures& features);
// The rates (Hz) the current mouse offers; empty when it has not been read.
std::vector<int> MouseReportRates(Session& session);

// Prints the active profile in the session's output form.
void PrintProfile(Session& session);

}  // namespace quorvel::cli
