#pragma once
// Unpacking an update archive below a destination folder.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "update/UpdateLimits.h"

namespace quorvel {

struct ZipExtractOptions {
    // An archive that declares more than this in total is refused before anything is written.
    std::uint64_t maxTotalBytes = kMaxUnpackedBytes;
    // An archive that declares more entries than this is refused before anything is written.
    std::size_t maxEntries = kMaxZipEntries;
    // Set from any thread to stop after the current read; the entry being written is dropped.
    const std::atomic<bool>* cancel = nullptr;
};

struct ZipExtractReport {
    std::string error;                  // why the archive as a whole was refused
    std::size_t entries = 0;            // entries in the central directory
    std::size_t written = 0;            // files and folders written
    std::vector<std::string> skipped;   // "<stored name>: <reason>" for each entry not written
};

// Writes every entry of the archive below the destination folder: folders, files with their read-only
// attribute (no write permission) and time stamps. Names are made safe (nothing lands outside the
// destination; links found there are not followed). A file appears under its name only when its size
// and CRC-32 check out; an entry that fails is skipped and the rest go on. Only stored and deflated
// entries; no ZIP64.
// True when the archive was opened and its directory read, whatever happened to single entries; false
// when it is missing, not a readable ZIP archive, ZIP64, or declares more than the caps (bytes in total,
// entries).
bool ExtractZip(const std::string& archivePath, const std::string& destination);
bool ExtractZip(const std::string& archivePath, const std::string& destination, const ZipExtractOptions& options,
                ZipExtractReport* report);

}  // namespace quorvel
