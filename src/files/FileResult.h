#pragma once
// What a profile or macro file operation reports. The GUI stays quiet on failure; the command line prints
// `message`. An import that is refused (anything but kOk / kDatabaseFailed) has changed nothing.

#include <cstddef>
#include <string>

namespace quorvel {

enum class FileStatus {
    kOk,
    kNotFound,        // the path does not exist
    kUnreadable,      // not a regular file, or reading failed
    kTooLarge,        // above kMaxFileBytes
    kNotWellFormed,   // not a well-formed XML document
    kWrongRoot,       // the root element is not the one this import reads
    kWrongForm,       // a macro file of the other form (one macro / several macros)
    kTooManyItems,    // more items than the caps below allow
    kNoDatabase,      // no device database is open
    kNoProfile,       // the profile to read or write does not exist
    kNoMacro,         // the macro to export does not exist
    kDatabaseFailed,  // a database write failed part-way; the message says what was stored
    kWriteFailed,     // the file could not be written
};

struct FileResult {
    FileStatus status = FileStatus::kOk;
    std::string message;  // empty on success

    bool ok() const { return status == FileStatus::kOk; }
};

// Caps on what an import reads. A file beyond any of them is refused as a whole, before anything is stored:
// they bound the memory, the time the database lock is held and the number of rows one file can add.
inline constexpr std::size_t kMaxFileBytes = 4u << 20;  // 4 MiB
inline constexpr std::size_t kMaxKeyItems = 256;        // `item` under `keyitems`
inline constexpr std::size_t kMaxLightItems = 64;       // `item` under `Lightitems`
inline constexpr std::size_t kMaxMacrosPerFile = 1024;  // `macro_item` under the root
inline constexpr std::size_t kMaxEventsPerMacro = 1024; // `item` of one macro
inline constexpr std::size_t kMaxEventsPerFile = 16384; // all events of a multi-macro file

}  // namespace quorvel
