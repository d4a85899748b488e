#pragma once
// Key names of the keyboard layout, in Windows terms: the scan code a virtual key has in the current
// layout, and the name the system gives a scan code. On Linux both come from a table of the US layout
// with the English names Windows shows.

#include <string>

namespace quorvel {

// Scan code of a virtual key in the current layout; 0 when the key has none.
int VirtualKeyToScanCode(int virtualKey);
// Name of a scan code; `extended` selects the E0 variant (arrows, navigation block, right-hand keys).
// Empty when the key has no name.
std::string ScanCodeKeyName(int scanCode, bool extended);

}  // namespace quorvel
