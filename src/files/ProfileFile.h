#pragma once
// Profile files: a profile's button assignments, lighting modes, DPI levels and mouse settings as XML.
// Both operations are synchronous and may run on any thread; the database lock is held only while the
// database is read or written, never while the file is read or written.

#include <optional>
#include <string>
#include <string_view>

#include "device/Tasks.h"
#include "files/FileResult.h"

namespace quorvel {

class DeviceDatabase;
class TaskSink;

// The device task that reloads the pages and sends the whole active profile to the mouse.
inline constexpr DeviceTask kTaskSendProfile = kTaskWriteProfile;

struct ProfileExportOptions {
    // Profile whose button assignments are written; 0: the active profile.
    int keyProfile = 0;
    // The active profile, whose name, lighting and settings are written; 0: read it from the database.
    int activeProfile = 0;
    // The `name` attribute (the name the main window shows); unset: the stored name of the active profile.
    std::optional<std::string> name;
    // The model has lighting (descriptor menu/@light): only then is `Lightitems` written.
    bool hasLighting = false;
};

// The document text of the export (UTF-8, CR LF line ends).
FileResult BuildProfileDocument(DeviceDatabase& db, const ProfileExportOptions& options, std::string* text);
// Builds the document and writes it to the path, replacing an existing file.
FileResult ExportProfile(DeviceDatabase& db, const ProfileExportOptions& options, const std::string& path);

struct ProfileImportOptions {
    // The profile the file is loaded into; 0: the active profile from the database.
    int activeProfile = 0;
    // The model has lighting: only then is `Lightitems` read.
    bool hasLighting = false;
    // Receives kTaskSendProfile (for the loaded profile) once it has been changed; may be null (tests,
    // tools).
    TaskSink* tasks = nullptr;
};

struct ProfileImportResult : FileResult {
    int profile = 0;          // the profile that was loaded
    std::string profileName;  // its name afterwards (taken from the file name)
};

// Loads a profile file into the active profile. The whole file is read and checked before anything is
// stored, so a file that is refused leaves the profile as it was.
ProfileImportResult ImportProfile(DeviceDatabase& db, const ProfileImportOptions& options, const std::string& path);
// The same on bytes already in memory; fileName is the name the profile takes (".xml" is dropped).
ProfileImportResult ImportProfileBytes(DeviceDatabase& db, const ProfileImportOptions& options,
                                       std::string_view bytes, const std::string& fileName);

// The profile name a file name gives: the name without its ".xml" extension (any case).
std::string ProfileNameFromFileName(const std::string& fileName);

}  // namespace quorvel
