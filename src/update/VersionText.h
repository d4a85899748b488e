#pragma once
// Version texts of the software, the mouse firmware and the update server, and how two of them compare.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// Result values of CompareVersions.
enum VersionOrder : int {
    kVersionOlder = -1,         // the new text is lower
    kVersionEqual = 0,
    kVersionNewer = 1,          // the new text is higher
    kVersionPartsDiffer = 2,    // different number of dot-separated parts
};

// Splits both texts at every '.' (empty parts kept) and compares part by part as leading decimal numbers
// (anything else counts 0). Callers treat every result of 1 or more as an update being available.
int CompareVersions(std::string_view current, std::string_view newer);

// A version text as fetched from the server, checked before it is compared and put into addresses and
// file names: a trailing line end is removed; the rest must be 1 to maxChars characters with no control
// character and no path separator. Returns the accepted text, or an empty text when it is refused.
std::string AcceptVersionText(std::string_view fetched, std::size_t maxChars);
std::string AcceptSoftwareVersion(std::string_view fetched);  // at most 10 characters
std::string AcceptFirmwareVersion(std::string_view fetched);  // at most 9 characters

}  // namespace quorvel
