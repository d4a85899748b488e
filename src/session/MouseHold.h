#pragma once
// Whether a running quorvel other than this process drives the mouse, for a process that could not take
// the device lock (its file unusable): the profile follower then leaves the mouse alone.

namespace quorvel {

bool MouseHeldByAnotherProcess();

}  // namespace quorvel
