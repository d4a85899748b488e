#pragma once
// Request frames of the lighting command and the key commands.

#include <array>

#include "device/CommandsFrame.h"
#include "store/ButtonCodes.h"

namespace quorvel {

struct LightingData {
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    std::array<int, 7> colours{};  // color_value1 ... color_value7
};

Frame BuildLighting(Family family, const LightingData& light);

// Report family: the key table; slots 0-8 fit into the request.
Frame BuildKeyTable(const KeyTable& table);
// Feature family: one key slot and its code.
Frame BuildKeyFunction(int keySlot, const DeviceCode& code);

}  // namespace quorvel
