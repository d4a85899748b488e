#pragma once
// Entry names of an archive made safe to use below a destination folder.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Strips what would start the name at a drive or a root or climb above the destination, repeating until
// nothing matches: "X:" in front, a leading '\' or '/', a leading "..\" or "../", and everything up to
// the first "\..\", "\../", "/../" or "/..\". Both separators count; the separators are kept as stored.
std::string StripUnsafePrefix(std::string_view name);

// The stripped name split into folder names (both separators; empty and "." pieces dropped).
struct ZipEntryPath {
    std::vector<std::string> parts;
    bool endsWithSeparator = false;  // the stored name ends with '\' or '/'
};

// False when the name is empty after stripping or a ".." piece is left ("a/.."): such an entry is
// not written.
bool MakeZipEntryPath(std::string_view storedName, ZipEntryPath* path);

// The parts joined with '/': the name as it lands below the destination.
std::string JoinZipPath(const ZipEntryPath& path);

}  // namespace quorvel
