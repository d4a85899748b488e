#include "device/CommandsFirmwareFrames.h"

#include <algorithm>

namespace quorvel {

namespace {

UpgradeReport Blank() {
    UpgradeReport r;
    r.fill(0xFF);
    r[0] = 0x05;
    r[1] = 0x02;
    r[3] = 0x00;
    return r;
}

// Sub-block at `out`: block number, up to 16 image bytes (the rest stays 0xFF), CRC over those 18 bytes.
void PutSubBlock(uint8_t* out, uint16_t block, const uint8_t* bytes, size_t count) {
    out[0] = static_cast<uint8_t>(block & 0xFF);
    out[1] = static_cast<uint8_t>(block >> 8);
    std::fill(out + 2, out + 18, 0xFF);
    std::copy(bytes, bytes + count, out + 2);
    const uint16_t crc = FirmwareCrc16(out, 18);
    out[18] = static_cast<uint8_t>(crc & 0xFF);
    out[19] = static_cast<uint8_t>(crc >> 8);
}

}  // namespace

uint16_t FirmwareCrc16(const uint8_t* data, size_t size) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

UpgradeReport BuildFirmwareStart() {
    UpgradeReport r = Blank();
    r[2] = 0x02;
    r[4] = 0x01;
    return r;
}

UpgradeReport BuildFirmwareEnd() {
    UpgradeReport r = Blank();
    r[2] = 0x06;
    r[4] = 0x02;
    return r;
}

std::vector<UpgradeReport> BuildFirmwarePackets(const uint8_t* image, size_t size) {
    std::vector<UpgradeReport> packets;
    size_t pos = 0;
    uint16_t block = 0;
    while (pos < size) {
        const size_t remaining = size - pos;
        const size_t blocks = remaining >= 48 ? 3 : (remaining + 15) / 16;
        UpgradeReport r = Blank();
        r[2] = static_cast<uint8_t>(20 * blocks);
        for (size_t b = 0; b < blocks; ++b) {
            const size_t take = std::min<size_t>(16, size - pos);
            PutSubBlock(&r[4 + 20 * b], block++, image + pos, take);
            pos += take;
        }
        packets.push_back(r);
    }
    return packets;
}

}  // namespace quorvel
