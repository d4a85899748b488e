#pragma once
// The autorun entry as an XDG autostart desktop file: "<XDG_CONFIG_HOME>/autostart/<name>.desktop" whose
// Exec line starts the executable (quoted by the desktop-entry rules when needed) with its arguments.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

std::string AutostartEntryPath(std::string_view name);
// Writes (or replaces) the entry; false when it could not be written.
bool WriteAutostartEntry(std::string_view name, const std::string& executable,
                         const std::vector<std::string>& arguments);
// True when the entry is gone afterwards.
bool RemoveAutostartEntry(std::string_view name);
bool AutostartEntryExists(std::string_view name);

// The Exec value for a program and its arguments: each argument quoted when it holds a reserved character,
// '%' doubled, then escaped as a desktop-entry string value (backslashes doubled).
std::string DesktopExecValue(const std::string& executable, const std::vector<std::string>& arguments);
// The entry file's text.
std::string DesktopEntryText(std::string_view name, const std::string& executable,
                             const std::vector<std::string>& arguments);

}  // namespace quorvel
