#pragma once
// The virtual mice's state file (QUORVEL_VIRTUAL_STATE) is a user's file like any other: when it was not
// valid or could not be written, the run says so once, at its end.

#include <string>
#include <vector>

namespace quorvel {
class HidBackend;
}

namespace quorvel::cli {

// The state file's warnings, one line each; none for a backend that is not the virtual mouse.
std::vector<std::string> VirtualStateWarnings(HidBackend* backend);

}  // namespace quorvel::cli
