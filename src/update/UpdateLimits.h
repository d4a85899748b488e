#pragma once
// Every time-out and size cap of the update path in one place (documented in docs/updates.md).

#include <cstddef>
#include <cstdint>

namespace quorvel {

// HTTP: what the server sees.
inline constexpr const char* kUpdateUserAgent = "IIC2.0/PC 5.5.0000";
// Bytes handed over per read; progress steps are reckoned in these.
inline constexpr std::size_t kDownloadReadSize = 10240;

// HTTP: nothing may hang forever. A stalled connection ends as a failed read.
inline constexpr long kConnectTimeoutMs = 15000;      // TCP and TLS set-up
inline constexpr long kStallTimeSeconds = 30;         // this long below kStallBytesPerSecond ...
inline constexpr long kStallBytesPerSecond = 16;      // ... counts as a stall
inline constexpr long kFetchTextTimeoutMs = 60000;    // a version text is tiny: whole-fetch limit
inline constexpr long kMaxRedirects = 8;

// HTTP: a hostile server must not fill memory or the disk.
inline constexpr std::size_t kMaxFetchTextBytes = 64 * 1024;
inline constexpr std::uint64_t kMaxDownloadBytes = 256ull * 1024 * 1024;

// ZIP: an update archive never unpacks to more than this in total.
inline constexpr std::uint64_t kMaxUnpackedBytes = 256ull * 1024 * 1024;
// ZIP: an update archive holds a few files; one that declares more entries is refused unread (each entry
// costs a folder walk and a file, whatever its size).
inline constexpr std::size_t kMaxZipEntries = 4096;
// ZIP: bytes copied per read when unpacking an entry.
inline constexpr std::size_t kUnzipCopySize = 16384;
// ZIP: longest entry name accepted, in bytes as stored.
inline constexpr std::size_t kMaxZipNameBytes = 259;

// Version texts from the server: longest accepted, in characters.
inline constexpr std::size_t kMaxSoftwareVersionChars = 10;
inline constexpr std::size_t kMaxFirmwareVersionChars = 9;

}  // namespace quorvel
