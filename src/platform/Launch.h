#pragma once
// Starting other programs without a shell: the arguments reach the program exactly as given.

#include <string>
#include <vector>

namespace quorvel {

// Starts argv[0] (looked up in PATH when it has no '/') with the arguments; does not wait. The child is
// reaped in the background. False when it could not be started.
bool LaunchDetached(const std::vector<std::string>& argv);

// Opens a web address with xdg-open (or the given opener). Refuses an empty address and one beginning
// with '-' (the opener would take it for an option).
bool OpenWebAddress(const std::string& address, const std::string& opener = "xdg-open");

}  // namespace quorvel
