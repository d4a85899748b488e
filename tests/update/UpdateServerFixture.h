#pragma once
// What every test of the update side against the loopback server sets up: the server's paths, requests
// that stay off proxies, short time-outs, a copy of the sample product that points at the server, and the
// archives and firmware images the server hands out.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "sim/VirtualMouse.h"
#include "update/DownloadClient.h"
#include "update/TestFiles.h"
#include "update/TestHttpServer.h"

namespace quorvel::test {

// The sample product's update files, as paths on the test server.
constexpr const char* kSoftwareVersion = "/software/version";
constexpr const char* kSoftwareArchive = "/software/Mouse-Setup-1.0.1.zip";
constexpr const char* kFirmwareVersion = "/firmware/QuorvelR2/mouse/version";
constexpr const char* kFirmwareArchive = "/firmware/QuorvelR2/mouse/firmware-106.zip";

// Loopback only: a proxy from the environment must not take these requests.
inline void BypassProxies() {
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
}

// Short enough that a stalled server ends a test in about two seconds.
inline DownloadLimits QuickLimits() {
    DownloadLimits limits;
    limits.connectTimeoutMs = 2000;
    limits.stallTimeSeconds = 1;
    limits.fetchTextTimeoutMs = 5000;
    return limits;
}

// config.xml, device/ and language/ of the sample product in `into`/product/, with every update address
// moved from the example host to the server. Returns that folder, with its trailing slash.
inline std::string CopyProductFor(const TestHttpServer& server, const std::filesystem::path& into) {
    namespace fs = std::filesystem;
    const std::string product = (into / "product/").string();
    const std::string from = "https://updates.example.com/quorvel/";
    const std::string to = server.Url("/");
    auto copy = [&](const fs::path& source, const fs::path& target) {
        std::string bytes = ReadWholeFile(source.string());
        for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + to.size()))
            bytes.replace(at, from.size(), to);
        WriteWholeFile(target.string(), bytes);
    };
    for (const char* folder : {"device", "language"}) {
        fs::create_directories(product + folder);
        for (const auto& entry : fs::directory_iterator(fs::path(QUORVEL_PRODUCT_DIR) / folder))
            copy(entry.path(), fs::path(product) / folder / entry.path().filename());
    }
    copy(fs::path(QUORVEL_PRODUCT_DIR) / "config.xml", product + "config.xml");
    return product;
}

// A ZIP archive of these (name, bytes) entries, made by Info-ZIP in a new folder below `scratch`;
// stored (not deflated) on request.
inline std::string MakeZip(const ScratchDir& scratch,
                           const std::vector<std::pair<std::string, std::string>>& entries, bool stored) {
    static int made = 0;
    const std::string folder = scratch / ("zip" + std::to_string(made++));
    std::filesystem::create_directories(folder);
    std::vector<std::string> argv = {"zip", "-q", "-X", stored ? "-0" : "-9", "archive.zip"};
    for (const auto& [name, bytes] : entries) {
        std::filesystem::create_directories(std::filesystem::path(folder + "/" + name).parent_path());
        WriteWholeFile(folder + "/" + name, bytes);
        argv.push_back(name);
    }
    EXPECT_EQ(RunProgram(argv, folder), 0) << "zip failed";
    return ReadWholeFile(folder + "/archive.zip");
}

// Flips a data byte of the first entry of a stored archive: its CRC-32 no longer matches.
inline std::string DamageFirstEntry(std::string zip) {
    const auto le16 = [&](size_t at) {
        return static_cast<size_t>(static_cast<unsigned char>(zip[at]) |
                                   (static_cast<unsigned char>(zip[at + 1]) << 8));
    };
    const size_t data = 30 + le16(26) + le16(28);
    zip[data + 20] = static_cast<char>(zip[data + 20] ^ 0x5A);
    return zip;
}

// A firmware image with a pattern, so a byte out of place shows.
inline std::string Image(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    return bytes;
}

// Requests the mouse received on its upgrade interface (the firmware transfer).
inline size_t UpgradeRequests(VirtualMouse& mouse) {
    size_t count = 0;
    for (const SimRequest& r : mouse.Requests()) count += r.interface == SimInterface::Upgrade;
    return count;
}

}  // namespace quorvel::test
