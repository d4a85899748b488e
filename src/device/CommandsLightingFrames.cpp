#include "device/CommandsLightingFrames.h"

namespace quorvel {

Frame BuildLighting(Family family, const LightingData& light) {
    const uint8_t mode = static_cast<uint8_t>(light.mode & 0xFF);
    const uint8_t b = static_cast<uint8_t>((light.brightness & 0x0F) << 4 | (light.speed & 0x0F));
    const uint8_t command = family == Family::Report ? 0x05 : 0x08;
    const size_t at = DataOffset(family);
    switch (light.mode) {
        case 0:
        case 4:
        case 5: {
            Frame f = Request(family, command, 0x01, 2);
            f[at] = mode;
            f[at + 1] = b;
            return f;
        }
        case 1: {
            Frame f = Request(family, command, 0x01, 3);
            f[at] = mode;
            f[at + 1] = b;
            f[at + 2] = 0;
            return f;
        }
        case 2: {
            Frame f = Request(family, command, 0x01, 24);
            f[at] = mode;
            f[at + 1] = b;
            f[at + 2] = 7;
            for (size_t k = 0; k < 7; ++k) PutColour(&f[at + 3 + 3 * k], light.colours[k]);
            return f;
        }
        case 3: {
            Frame f = Request(family, command, 0x01, 5);
            f[at] = mode;
            f[at + 1] = b;
            PutColour(&f[at + 2], light.colours[0]);
            return f;
        }
        default:
            // Unknown modes carry no data; the feature family still declares two (zero) bytes.
            return Request(family, command, 0x01, family == Family::Report ? 0 : 2);
    }
}

Frame BuildKeyTable(const KeyTable& table) {
    Frame f = ReportRequest(0x09, 0x01, 15);
    for (size_t i = 0; i < 27; ++i) f[5 + i] = table[i];
    return f;
}

Frame BuildKeyFunction(int keySlot, const DeviceCode& code) {
    Frame f = FeatureRequest(0x04, 0x01, 4);
    f[7] = static_cast<uint8_t>(keySlot & 0xFF);
    f[8] = code[0];
    f[9] = code[1];
    f[10] = code[2];
    return f;
}

}  // namespace quorvel
