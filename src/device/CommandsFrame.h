#pragma once
// Request frames of the two protocol families. Offsets count the report ID as byte 0.
//   report family : [0] 0x00 [1] command [2] 0x00 [3] packet [4] length [5..31] data [32] checksum (transport)
//   feature family: [0] 0x0C [1] 0x01 [2] command [3] 0x00 [4] sequence (sender) [5] packet [6] length [7..32]

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/Family.h"

namespace quorvel {

// 65 bytes: what hidapi reads back into; report-family requests use the first 33, feature reports exactly 33.
using Frame = std::array<uint8_t, 65>;
constexpr size_t kRequestLength = 33;

// Where data starts in a request of the family (5 or 7).
inline size_t DataOffset(Family family) { return family == Family::Report ? 5 : 7; }

Frame ReportRequest(uint8_t command, uint8_t packet, uint8_t length);
Frame FeatureRequest(uint8_t command, uint8_t packet, uint8_t length);
// The single-packet request of either family: report byte 3 / feature byte 5 = packet, byte 4 / 6 = length.
Frame Request(Family family, uint8_t command, uint8_t packet, uint8_t length);

// A read-back reply as the transport hands it over (without the report-ID byte): report offset n sits at
// index n - 1.
inline uint8_t ReplyByte(const Frame& reply, size_t reportOffset) { return reply[reportOffset - 1]; }

// Colour R + 256 G + 65536 B -> bytes red, green, blue at data[0..2].
void PutColour(uint8_t* data, int colour);

}  // namespace quorvel
