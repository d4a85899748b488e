#pragma once
// A request the virtual mouse refused because the client sent a wrong byte. Tests assert that none
// were recorded; the text says what was wrong and the bytes show the request as received.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel {

enum class SimIssueKind {
    Checksum,        // report family: byte 32 is not the sum of bytes 5..31
    UnknownCommand,  // command byte not in the catalogue
    Sequence,        // feature family: sequence number out of order
    Crc,             // firmware transfer: sub-block CRC-16 mismatch
    OutOfRange,      // a value the mouse cannot take
    Frame,           // report ID, header byte, length, packet order or interface wrong
};

const char* SimIssueKindName(SimIssueKind kind);

struct SimIssue {
    SimIssueKind kind = SimIssueKind::Frame;
    std::string text;
    std::vector<uint8_t> bytes;
};

// "Checksum: <text> [00 10 ...]"
std::string DescribeIssue(const SimIssue& issue);
std::ostream& operator<<(std::ostream& out, const SimIssue& issue);

}  // namespace quorvel
