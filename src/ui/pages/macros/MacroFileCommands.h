#pragma once
// The four macro-file commands of the macro list's menu: a file dialog (through the window's file-dialog
// seam, filter "Macro (*.xml)", default suffix "xml"), the action, and a message box that says why when a
// file is refused or cannot be written. Cancelling a dialog ends the command.

#include <QString>
#include <vector>

namespace quorvel {

class PageHost;

// A single-macro file (`list` false) or a macro list; returns the ids of the macros it added, file order.
std::vector<int> ImportMacroCommand(PageHost& host, bool list);
// The macro as a single-macro file, proposed under its shown name.
void ExportMacroCommand(PageHost& host, int macroId, const QString& shownName);
// Every macro as a macro list.
void ExportAllMacrosCommand(PageHost& host);

}  // namespace quorvel
