#pragma once
// The desktop's own mouse settings, opened from the performance page (and usable from the command line):
// a program of the desktop, started on its own; nothing waits for it.

#include "actions/ActionResult.h"

namespace quorvel {

// Whether this desktop has a mouse-settings program the page can open (it hides its button otherwise).
bool MouseSettingsAvailable();

// Starts the desktop's mouse-settings program. Refused when there is none or it would not start.
ActionResult OpenMouseSettings();

}  // namespace quorvel
