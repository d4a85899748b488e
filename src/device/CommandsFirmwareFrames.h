#pragma once
// Reports of the firmware transfer on the upgrade interface: 64 bytes prefilled with 0xFF.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel {

using UpgradeReport = std::array<uint8_t, 64>;

// CRC-16/MODBUS: reflected polynomial 0xA001, initial 0xFFFF, no final XOR.
uint16_t FirmwareCrc16(const uint8_t* data, size_t size);

UpgradeReport BuildFirmwareStart();
UpgradeReport BuildFirmwareEnd();
// The image in packets of three 20-byte sub-blocks (block number, 16 image bytes, CRC); the last packet
// carries only the sub-blocks the remaining bytes need.
std::vector<UpgradeReport> BuildFirmwarePackets(const uint8_t* image, size_t size);

}  // namespace quorvel
