#pragma once
// Shared fixture data for the virtual mouse tests: a small product table and request helpers.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "shell/ProductConfig.h"
#include "sim/MouseMemory.h"
#include "sim/VirtualBackend.h"

namespace quorvel {

inline void PrintTo(const MouseMemory& memory, std::ostream* out) { *out << MemoryToJson(memory).dump(); }

namespace simtest {

using Bytes = std::vector<uint8_t>;

inline DeviceEntry Mode(const char* name, int type, int mode, int vid, int pid, const char* devId) {
    DeviceEntry entry;
    entry.name = name;
    entry.device_type = type;
    entry.mode = mode;
    entry.vid = vid;
    entry.pid = pid;
    entry.dev_id = devId;
    return entry;
}

// 101: report family, wired and wireless; 102: report family, wired only; 201: feature family, both.
inline std::vector<DeviceEntry> TestModes() {
    return {Mode("Alpha", 101, 0, 0x25A7, 0xFA70, "A101"), Mode("Alpha", 101, 1, 0x25A7, 0x0FA1, "A101"),
            Mode("Gamma", 102, 0, 0x25A7, 0xFA72, "G102"), Mode("Beta", 201, 0, 0x3554, 0xF58A, "B201"),
            Mode("Beta", 201, 1, 0x3554, 0xF58B, "B201")};
}

inline std::unique_ptr<VirtualBackend> MakeBackend(const std::string& specs, const std::string& statePath = "") {
    std::string error;
    auto backend = CreateVirtualBackend(specs, TestModes(), statePath, &error);
    if (!backend) ADD_FAILURE() << error;
    return backend;
}

// A report-family request: the given leading bytes, zero padding to 33, checksum in byte 32.
inline Bytes Request(Bytes head) {
    head.resize(33, 0);
    unsigned sum = 0;
    for (int i = 5; i <= 31; ++i) sum += head[i];
    head[32] = static_cast<uint8_t>(sum);
    return head;
}

// A feature report: the given leading bytes, zero padding to 33.
inline Bytes Feature(Bytes head) {
    head.resize(33, 0);
    return head;
}

inline Bytes Padded(Bytes head, size_t size) {
    head.resize(size, 0);
    return head;
}

inline std::string Hex(const Bytes& bytes) {
    std::string out;
    char hex[4];
    for (uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, "%02X ", b);
        out += hex;
    }
    return out;
}

inline std::string IssueText(const std::vector<SimIssue>& issues) {
    std::string out;
    for (const auto& issue : issues) out += DescribeIssue(issue) + "\n";
    return out;
}

}  // namespace simtest
}  // namespace quorvel
