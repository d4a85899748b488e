#pragma once
// What one archive entry carries besides its data: attributes, time stamps, extra blocks.

#include <cstddef>
#include <cstdint>

namespace quorvel {

// Windows file attribute bits, the form the archives' attributes are reckoned in.
enum ZipAttribute : unsigned {
    kZipReadOnly = 0x01,
    kZipHidden = 0x02,
    kZipSystem = 0x04,
    kZipFolder = 0x10,
    kZipArchive = 0x20,
};

// Attributes from the host system (high byte of version-made-by) and the external attributes: DOS,
// NTFS, VFAT and host 7 keep them in the low byte; every other host (Unix ...) has a mode in the high
// half: folder from its directory bit, read-only when the owner may not write, archive always.
unsigned ZipAttributes(unsigned versionMadeBy, std::uint32_t externalAttributes);

// The DOS date and time of an entry, read as local time, in seconds since 1970 (UTC).
std::int64_t DosTimeToUnix(std::uint32_t dosDateTime);

// Times of the extended time-stamp block ("UT") of a local extra field, when present.
struct ZipExtraTimes {
    bool hasModification = false, hasAccess = false, hasCreation = false;
    std::int64_t modification = 0, access = 0, creation = 0;  // seconds since 1970 (UTC)
};
// Scans the extra field block by block; only the first "UT" block counts, and only times whose four
// bytes lie inside the block.
ZipExtraTimes ReadExtraTimes(const unsigned char* extra, std::size_t size);

// True when the extra field holds a ZIP64 block (id 1): such entries are not supported.
bool HasZip64Block(const unsigned char* extra, std::size_t size);

}  // namespace quorvel
