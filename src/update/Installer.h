#pragma once
// The software set-up program on Linux: the update archive holds a self-extracting installer
// "Mouse-Setup-<version>.run" where the Windows archive holds its ".exe". It is made executable and
// started on its own (exec, no shell); the program should then end so the installer can replace it.

#include <string>
#include <string_view>

namespace quorvel {

// "Mouse-Setup-<version>.run".
std::string InstallerName(std::string_view version);

// Makes the regular file at `path` executable (execute wherever it may be read) and starts it with no
// arguments, detached. False with *error when it is missing, not a regular file (a link is not followed)
// or cannot be started.
bool StartInstaller(const std::string& path, std::string* error);

}  // namespace quorvel
