#pragma once
// Whether another process drives the mouse now, so this one must not write to it unasked (the profile
// follower checks it before each switch). Today that is a running quorvel other than this process.

namespace quorvel {

bool MouseHeldByAnotherProcess();

}  // namespace quorvel
