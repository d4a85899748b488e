#pragma once
// Macro files in their two forms: a single macro with its events, or every macro of the device. Imports
// only add macros, under new numbers; nothing stored is changed and nothing is sent to the mouse.
// Synchronous, from any thread; the database lock is held only while the database is read or written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileResult.h"

namespace quorvel {

class DeviceDatabase;

// A macro an import stored: the caller adds it to its macro lists.
struct ImportedMacro {
    int macroId = 0;
    std::string name;
};

struct MacroImportResult : FileResult {
    std::vector<ImportedMacro> macros;  // stored macros, file order
    int skippedMacros = 0;              // macros the database refused (with their events)
    int skippedEvents = 0;              // events the database refused
};

// Single-macro file of macroId. shownName: the `macro_name` written (the list entry's text); unset: the
// stored name.
FileResult BuildSingleMacroDocument(DeviceDatabase& db, int macroId, const std::optional<std::string>& shownName,
                                    std::string* text);
FileResult ExportSingleMacroFile(DeviceDatabase& db, int macroId, const std::optional<std::string>& shownName,
                                 const std::string& path);

// Multi-macro file of every macro of the device.
FileResult BuildMultiMacroDocument(DeviceDatabase& db, std::string* text);
FileResult ExportMultiMacroFile(DeviceDatabase& db, const std::string& path);

// Imports. A file that is refused (see FileStatus) adds nothing. `source` names the input in messages.
MacroImportResult ImportSingleMacroFile(DeviceDatabase& db, const std::string& path);
MacroImportResult ImportSingleMacroBytes(DeviceDatabase& db, std::string_view bytes, std::string_view source);
MacroImportResult ImportMultiMacroFile(DeviceDatabase& db, const std::string& path);
MacroImportResult ImportMultiMacroBytes(DeviceDatabase& db, std::string_view bytes, std::string_view source);

}  // namespace quorvel
