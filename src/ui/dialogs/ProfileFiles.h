#pragma once
// Profile files from the profile dialog: the open and save dialogs with their filters, the import into the
// current profile (which then goes to the mouse whole) and the export of it. A file that is refused, or an
// export that cannot be written, is explained in a message box; a refused file changes nothing.

#include <QString>

#include "files/FileResult.h"

namespace quorvel {

class PageHost;

// The filters of the two dialogs.
inline constexpr char kProfileOpenFilter[] = "MouseKey (*.xml)";
inline constexpr char kProfileSaveFilter[] = "Profile (*.xml)";

// Asks for a file (cancel: nothing) and loads it into the current profile.
void ImportProfileFromFile(PageHost& host);
// Asks where to save the current profile (the dialog asks before replacing a file; cancel: nothing).
void ExportProfileToFile(PageHost& host);

// Why a file was refused, in the current language (empty for kOk).
QString FileStatusText(FileStatus status);

}  // namespace quorvel
