#include "device/CommandsFrame.h"

namespace quorvel {

Frame ReportRequest(uint8_t command, uint8_t packet, uint8_t length) {
    Frame f{};
    f[0] = 0x00;
    f[1] = command;
    f[2] = 0x00;
    f[3] = packet;
    f[4] = length;
    return f;
}

Frame FeatureRequest(uint8_t command, uint8_t packet, uint8_t length) {
    Frame f{};
    f[0] = 0x0C;
    f[1] = 0x01;
    f[2] = command;
    f[3] = 0x00;
    f[5] = packet;
    f[6] = length;
    return f;
}

Frame Request(Family family, uint8_t command, uint8_t packet, uint8_t length) {
    return family == Family::Report ? ReportRequest(command, packet, length)
                                    : FeatureRequest(command, packet, length);
}

void PutColour(uint8_t* data, int colour) {
    const auto c = static_cast<uint32_t>(colour);
    data[0] = static_cast<uint8_t>(c & 0xFF);
    data[1] = static_cast<uint8_t>((c >> 8) & 0xFF);
    data[2] = static_cast<uint8_t>((c >> 16) & 0xFF);
}

}  // namespace quorvel
