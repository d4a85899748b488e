#pragma once
// Profile files from the profile dialog: the open and save dialogs with their filter, the import into the
// current profile (which then goes to the mouse whole) and the export of it. Both end in a message box:
// where the file came from or went, or why it was refused or could not be written (a refused file changes
// nothing).

#include <QString>

#include "files/FileResult.h"

namespace quorvel {

class PageHost;

// The filter of both dialogs: one name for the file type, in the current language.
QString ProfileFileFilter();

// Asks for a file (cancel: nothing) and loads it into the current profile.
void ImportProfileFromFile(PageHost& host);
// Asks where to save the current profile (the dialog asks before replacing a file; cancel: nothing).
void ExportProfileToFile(PageHost& host);

// Why a file was refused, in the current language (empty for kOk).
QString FileStatusText(FileStatus status);

}  // namespace quorvel
