#pragma once
// The program's look for Qt's own controls: the toolkit's SkinStyle (Fusion drawing, the same on every
// desktop, with the skin's images and the dark palette), so plain labels, lists and edits match the
// skinned controls.

namespace quorvel {

// Call once after the QApplication exists and before windows are made.
void InstallAppearance();

}  // namespace quorvel
