#pragma once
// Runs a call once the window has painted its next frame, so that work the user is not waiting for does
// not compete with painting what the user just asked for: the start-up software check loads the network
// libraries on the worker, tens of milliseconds of CPU, while the window paints the page of the mouse just
// picked. For a window just shown, the next frame is its first. A hidden window runs the call at once; a
// frame that does not come within kFrameWait (nothing to repaint, a minimised window) holds the call back
// no longer.

#include <chrono>
#include <functional>

class QWidget;

namespace quorvel {

inline constexpr std::chrono::milliseconds kFrameWait{500};

// The call is dropped if the window goes first.
void AfterNextFrame(QWidget& window, std::function<void()> call);

}  // namespace quorvel
