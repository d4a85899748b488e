#pragma once
// Helpers the actions share (not part of the public interface).

#include <optional>
#include <string>
#include <string_view>

#include "actions/ActionResult.h"

namespace quorvel {

struct DeviceState;

// Why the current profile's settings cannot be changed: no open database, or a profile without settings.
std::optional<std::string> ProfileProblem(ActionContext& ctx);

// A setting of the current profile, read leniently (missing reads 0).
int ReadSetting(ActionContext& ctx, std::string_view key);
std::string ReadSettingText(ActionContext& ctx, std::string_view key);

// Stores a setting of the current profile and records it in the result. A write the database refuses
// turns the result into a failure that names the key and drops its tasks.
bool StoreSetting(ActionContext& ctx, ActionResult& result, const std::string& key, const std::string& value);
bool StoreSetting(ActionContext& ctx, ActionResult& result, const std::string& key, int value);

// The mouse's configuration has been read in this run (its sensor and report-rate capability are known).
bool DeviceWasRead(const DeviceState& state);

// Appends a note to the result's message ("; " between notes).
void AddNote(ActionResult& result, const std::string& note);

// A request for `task` made now: the current model and profile captured; the caller adds the rest.
DeviceTaskRequest PageRequest(ActionContext& ctx, DeviceTask task);

ActionResult Accepted(std::vector<DeviceTaskRequest> tasks = {});

}  // namespace quorvel
