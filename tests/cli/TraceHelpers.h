#pragma once
// Expected HID trace lines, built from the request layouts of the two protocol families, and the part of
// a run's trace that belongs to the command (after discovery and read-back).

#include <cstdio>
#include <string>
#include <vector>

namespace quorvel::test {

inline std::string HexBytes(const std::vector<int>& bytes) {
    std::string text;
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", bytes[i] & 0xFF);
        text += buf;
    }
    return text;
}

// Report family: 33-byte output report, byte 32 the low 8 bits of the sum of bytes 5..31.
inline std::string ReportWrite(std::vector<int> head) {
    head.resize(33, 0);
    int sum = 0;
    for (int i = 5; i < 32; ++i) sum += head[i];
    head[32] = sum & 0xFF;
    return "write 0001:0000 " + HexBytes(head);
}

// Feature family: 33-byte feature report 0x0C on the vendor interface.
inline std::string FeatureSend(std::vector<int> head) {
    head.resize(33, 0);
    return "send_feature FF00:0001 " + HexBytes(head);
}

inline bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// Byte n of a trace line's data ("write 0001:0000 00 12 ..." -> byte 1 = 0x12).
inline int TraceByte(const std::string& line, size_t n) {
    const size_t start = line.find(' ', line.find(' ') + 1) + 1 + 3 * n;
    if (start + 2 > line.size()) return -1;
    return std::stoi(line.substr(start, 2), nullptr, 16);
}

// The discovery and read-back requests every run starts with.
inline bool IsStartRequest(const std::string& line) {
    if (StartsWith(line, "write ")) {
        const int command = TraceByte(line, 1);
        return (command >= 0x10 && command <= 0x17) || command == 0x20;
    }
    if (StartsWith(line, "send_feature ")) return TraceByte(line, 2) == 0x20;
    return false;
}

// The requests (write / send_feature lines) from the command's first one on.
inline std::vector<std::string> CommandRequests(const std::vector<std::string>& trace) {
    std::vector<std::string> out;
    bool started = false;
    for (const std::string& line : trace) {
        const bool request = StartsWith(line, "write ") || StartsWith(line, "send_feature ");
        if (!request) continue;
        if (!started && IsStartRequest(line)) continue;
        started = true;
        out.push_back(line);
    }
    return out;
}

// Report family: whether every request of the command got a reply echoing its command with status 00.
inline std::vector<std::string> UnconfirmedWrites(const std::vector<std::string>& trace) {
    std::vector<std::string> bad;
    for (size_t i = 0; i < trace.size(); ++i) {
        if (!StartsWith(trace[i], "write 0001:0000 ")) continue;
        const int command = TraceByte(trace[i], 1);
        const bool confirmed = i + 1 < trace.size() && StartsWith(trace[i + 1], "read 0001:0000 ") &&
                               TraceByte(trace[i + 1], 0) == command && TraceByte(trace[i + 1], 1) == 0;
        if (!confirmed) bad.push_back(trace[i]);
    }
    return bad;
}

}  // namespace quorvel::test
