#include "update/VersionText.h"

#include <climits>
#include <vector>

#include "support/TextConv.h"
#include "update/UpdateLimits.h"

namespace quorvel {
namespace {

std::vector<std::string_view> SplitAtDots(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t dot = text.find('.', start);
        if (dot == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
}

// Leading blanks, an optional sign, then decimal digits; anything else ends the number. Saturates
// instead of overflowing, as the C runtime's conversion does.
long long LeadingNumber(std::string_view part) {
    std::size_t i = 0;
    while (i < part.size() && (part[i] == ' ' || (part[i] >= '\t' && part[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == '+' || part[i] == '-')) negative = part[i++] == '-';
    long long value = 0;
    for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) {
        value = value * 10 + (part[i] - '0');
        if (value > INT_MAX) {
            value = negative ? static_cast<long long>(INT_MAX) + 1 : INT_MAX;
            break;
        }
    }
    return negative ? -value : value;
}

}  // namespace

int CompareVersions(std::string_view current, std::string_view newer) {
    std::vector<std::string_view> a = SplitAtDots(current);
    std::vector<std::string_view> b = SplitAtDots(newer);
    if (a.size() != b.size()) return kVersionPartsDiffer;
    for (std::size_t i = 0; i < a.size(); ++i) {
        long long x = LeadingNumber(a[i]);
        long long y = LeadingNumber(b[i]);
        if (x > y) return kVersionOlder;
        if (x < y) return kVersionNewer;
    }
    return kVersionEqual;
}

std::string AcceptVersionText(std::string_view fetched, std::size_t maxChars) {
    // Version files written with an editor end with a line end; it must not reach the archive names.
    while (!fetched.empty() && (fetched.back() == '\n' || fetched.back() == '\r')) fetched.remove_suffix(1);
    if (fetched.empty() || Utf8Length(fetched) > maxChars) return {};
    // The text becomes part of a file name in the work folder: nothing that could leave it.
    for (char c : fetched) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '/' || c == '\\') return {};
    }
    return std::string(fetched);
}

std::string AcceptSoftwareVersion(std::string_view fetched) {
    return AcceptVersionText(fetched, kMaxSoftwareVersionChars);
}

std::string AcceptFirmwareVersion(std::string_view fetched) {
    return AcceptVersionText(fetched, kMaxFirmwareVersionChars);
}

}  // namespace quorvel
