#include "update/ZipName.h"

namespace quorvel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Bytes of the UTF-8 character that starts the text (1 for a stray byte).
std::size_t FirstCharBytes(std::string_view text) {
    unsigned char lead = static_cast<unsigned char>(text[0]);
    std::size_t size = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (size > text.size()) return 1;
    for (std::size_t i = 1; i < size; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    }
    return size;
}

// One pass of the rules; false when none matched.
bool StripOnce(std::string_view& name) {
    if (name.empty()) return false;
    std::size_t first = FirstCharBytes(name);
    if (name.size() > first && name[first] == ':') {
        name.remove_prefix(first + 1);
        return true;
    }
    if (IsSeparator(name[0])) {
        name.remove_prefix(1);
        return true;
    }
    if (name.size() >= 3 && name[0] == '.' && name[1] == '.' && IsSeparator(name[2])) {
        name.remove_prefix(3);
        return true;
    }
    for (std::string_view climb : {"\\..\\", "\\../", "/../", "/..\\"}) {
        std::size_t at = name.find(climb);
        if (at != std::string_view::npos) {
            name.remove_prefix(at + climb.size());
            return true;
        }
    }
    return false;
}

}  // namespace

std::string StripUnsafePrefix(std::string_view name) {
    while (StripOnce(name)) {
    }
    return std::string(name);
}

bool MakeZipEntryPath(std::string_view storedName, ZipEntryPath* path) {
    std::string name = StripUnsafePrefix(storedName);
    ZipEntryPath result;
    result.endsWithSeparator = !name.empty() && IsSeparator(name.back());
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) ++end;
        std::string_view part = std::string_view(name).substr(start, end - start);
        if (part == "..") return false;
        if (!part.empty() && part != ".") result.parts.emplace_back(part);
        start = end + 1;
    }
    if (result.parts.empty()) return false;
    *path = std::move(result);
    return true;
}

std::string JoinZipPath(const ZipEntryPath& path) {
    std::string joined;
    for (const std::string& part : path.parts) {
        if (!joined.empty()) joined += '/';
        joined += part;
    }
    return joined;
}

}  // namespace quorvel
