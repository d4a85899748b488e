#pragma once
// Pieces of the common output of a change: each stored row with what it means, and the failures.

#include <string>
#include <vector>

#include "actions/ActionResult.h"
#include "cli/CliOutput.h"

namespace quorvel::cli {

// "stored report_rate = 64  (8000 Hz)"
std::string StoredLine(const std::string& key, const std::string& value);
// "meaning": {key: text} beside "stored", for the rows that have one.
void AddMeanings(const ActionResult& result, Json* doc);
std::string JoinFailures(const std::vector<std::string>& failures);

}  // namespace quorvel::cli
