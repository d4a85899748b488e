#pragma once
// XDG base directories. A variable counts only when it holds an absolute path; otherwise the default under
// the home folder is used. Results carry no trailing '/'.

#include <string>
#include <string_view>

namespace quorvel {

// $HOME, else the password database's home folder; empty when neither is known.
std::string HomeDir();
// $XDG_CONFIG_HOME or ~/.config
std::string XdgConfigHome();
// $XDG_DATA_HOME or ~/.local/share
std::string XdgDataHome();
// $XDG_RUNTIME_DIR; empty when unset or not absolute.
std::string XdgRuntimeDir();

// A name made safe to be one path segment: '/' and NUL become '_'; "", "." and ".." become "_".
std::string SafePathSegment(std::string_view name);

}  // namespace quorvel
