#include "update/ZipItem.h"

#include <ctime>

namespace quorvel {
namespace {

unsigned Read16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Calls visit(id, data, size) for each whole block of an extra field until it returns true.
template <typename Visit>
void ForEachBlock(const unsigned char* extra, std::size_t size, Visit visit) {
    std::size_t at = 0;
    while (extra && size - at > 4) {
        unsigned id = Read16(extra + at);
        std::size_t length = Read16(extra + at + 2);
        const unsigned char* data = extra + at + 4;
        std::size_t available = size - at - 4;
        if (visit(id, data, length < available ? length : available)) return;
        if (length >= available) return;
        at += 4 + length;
    }
}

}  // namespace

unsigned ZipAttributes(unsigned versionMadeBy, std::uint32_t external) {
    unsigned host = (versionMadeBy >> 8) & 0xFF;
    bool readOnly, hidden = false, system = false, folder, archive = true;
    if (host == 0 || host == 7 || host == 11 || host == 14) {
        readOnly = external & 0x01;
        hidden = external & 0x02;
        system = external & 0x04;
        folder = external & 0x10;
        archive = external & 0x20;
    } else {
        folder = external & 0x40000000u;
        readOnly = !(external & 0x00800000u);
    }
    unsigned value = (folder ? 0x10u : 0u) | (archive ? 0x20u : 0u);
    if (hidden) value |= kZipHidden;
    if (readOnly) value |= kZipReadOnly;
    if (system) value |= kZipSystem;
    return value;
}

std::int64_t DosTimeToUnix(std::uint32_t dosDateTime) {
    unsigned date = dosDateTime >> 16;
    unsigned time = dosDateTime & 0xFFFF;
    std::tm local{};
    local.tm_year = 80 + static_cast<int>(date >> 9);
    local.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>(time >> 11);
    local.tm_min = static_cast<int>((time >> 5) & 0x3F);
    local.tm_sec = static_cast<int>(time & 0x1F) * 2;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

ZipExtraTimes ReadExtraTimes(const unsigned char* extra, std::size_t size) {
    ZipExtraTimes times;
    if (size < 5) return times;
    ForEachBlock(extra, size, [&](unsigned id, const unsigned char* data, std::size_t length) {
        if (id != 0x5455 || length < 1) return false;  // "UT"
        unsigned flags = data[0];
        std::size_t at = 1;
        auto take = [&](unsigned bit, bool* has, std::int64_t* value) {
            if (!(flags & bit)) return;
            if (at + 4 > length) return;
            *has = true;
            *value = Read32(data + at);
            at += 4;
        };
        take(1, &times.hasModification, &times.modification);
        take(2, &times.hasAccess, &times.access);
        take(4, &times.hasCreation, &times.creation);
        return true;
    });
    return times;
}

bool HasZip64Block(const unsigned char* extra, std::size_t size) {
    bool found = false;
    ForEachBlock(extra, size, [&](unsigned id, const unsigned char*, std::size_t) {
        found = id == 0x0001;
        return found;
    });
    return found;
}

}  // namespace quorvel
