#pragma once
// What screen readers learn about the custom controls: Qt's accessibility layer asks a factory for each
// widget, and this one answers for the controls Qt does not know (report rate, DPI levels, the mouse
// picture, button, device, macro and event lists, tab strip, colour buttons, palette, sliders, battery)
// with a role, a name, a value and their items. Names are the controls' accessible names (the pages set
// them from language texts); item names are the texts the items show.

namespace quorvel {

// Installs the factory; later calls do nothing. SkinStyle calls it, so the application has it. It must come
// before the controls are made: Qt keeps the first interface made for a widget, and setting an accessible
// name already makes one.
void InstallAccessibleControls();

}  // namespace quorvel
