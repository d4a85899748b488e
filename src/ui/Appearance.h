#pragma once
// The program's look for Qt's own controls: the Fusion style (the same on every desktop) with the dark
// palette and accent colour of the toolkit, so plain labels, lists and edits match the skinned controls.

namespace quorvel {

// Call once after the QApplication exists and before windows are made.
void InstallAppearance();

}  // namespace quorvel
