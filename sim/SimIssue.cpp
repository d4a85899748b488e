#include "sim/SimIssue.h"

#include <cstdio>

namespace quorvel {

const char* SimIssueKindName(SimIssueKind kind) {
    switch (kind) {
    case SimIssueKind::Checksum: return "Checksum";
    case SimIssueKind::UnknownCommand: return "UnknownCommand";
    case SimIssueKind::Sequence: return "Sequence";
    case SimIssueKind::Crc: return "Crc";
    case SimIssueKind::OutOfRange: return "OutOfRange";
    case SimIssueKind::Frame: return "Frame";
    }
    return "?";
}

std::string DescribeIssue(const SimIssue& issue) {
    std::string out = SimIssueKindName(issue.kind);
    out += ": " + issue.text + " [";
    for (size_t i = 0; i < issue.bytes.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", issue.bytes[i]);
        if (i) out += ' ';
        out += hex;
    }
    return out + "]";
}

std::ostream& operator<<(std::ostream& out, const SimIssue& issue) { return out << DescribeIssue(issue); }

}  // namespace quorvel
