#pragma once
// The program: start-up in its fixed order, the event loop, and the shutdown in the reverse order.

namespace quorvel {

// Returns the process's exit code: 0 after a normal run and when another instance took the hand-over,
// 1 when the device core could not be set up.
int RunQuorvel(int argc, char** argv);

}  // namespace quorvel
