#pragma once
// The desktop's own mouse settings (pointer speed, acceleration, handedness), which the performance page
// offers beside the mouse's settings. On Linux each desktop has its own tool; the one of the running
// desktop (XDG_CURRENT_DESKTOP) is preferred, then the first of the known tools found on the PATH.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The command (program and arguments) that opens the mouse settings; empty when no known tool is on the
// path. `path` is a PATH value, `desktops` an XDG_CURRENT_DESKTOP value ("ubuntu:GNOME").
std::vector<std::string> MouseSettingsCommand(std::string_view path, std::string_view desktops);
// The same for this process's environment.
std::vector<std::string> MouseSettingsCommand();

// The file `program` is found as in a PATH value (an executable regular file), or empty.
std::string FindOnPath(std::string_view program, std::string_view path);

}  // namespace quorvel
