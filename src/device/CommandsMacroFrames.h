#pragma once
// A macro's recorded events as the byte stream and packets the mouse takes.

#include <cstdint>
#include <vector>

#include "device/CommandsFrame.h"
#include "store/Records.h"

namespace quorvel {

// The packet count travels in a nibble: a stream needing more packets cannot be described.
constexpr int kMaxMacroPackets = 15;

// The events (types 2-5) with their delays folded in: 4 bytes each in the report family, 3 in the
// feature family. Delay rows (type 1) add up into the delay after the preceding event; other types are
// skipped. *eventCount receives the number of events.
std::vector<uint8_t> BuildMacroStream(Family family, const std::vector<MacroEventRecord>& rows,
                                      int* eventCount);

// Packets the stream of these rows needs (may exceed 15).
int MacroPacketCount(Family family, const std::vector<MacroEventRecord>& rows);

// The macro packets for key slot `keySlot`; empty when the stream needs more than 15 packets.
std::vector<Frame> BuildMacroPackets(Family family, int keySlot, const std::vector<MacroEventRecord>& rows);

}  // namespace quorvel
