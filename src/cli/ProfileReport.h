#pragma once
// The active profile as 'show' and 'read' print it: JSON with the stored rows, or readable text.

#include "cli/CliOutput.h"

namespace quorvel {
struct LightModeRecord;
}

namespace quorvel::cli {

class Session;

// {"profile": {"number", "name"}, "model": {...}, "settings": {all 40 keys: stored text},
//  "buttons": [stored assignments], "lighting": [lighting rows]}
Json ProfileJson(Session& session);
void PrintProfileText(Session& session);

// One lighting row with the field names of the lighting table.
Json LightRowJson(const LightModeRecord& row);

// Prints the active profile in the session's output form.
void PrintProfile(Session& session);

}  // namespace quorvel::cli
