#pragma once
// Decoding what the mouse reports about itself: the info block of discovery and the read-back replies.

#include <cstdint>

#include "device/CommandsFrame.h"

namespace quorvel {

struct InfoBlock {
    uint16_t firmwareVersion = 0;
    uint8_t sensorCode = 0;
    int reportRateEntry = 4;  // highest selectable report-rate entry
    uint8_t batteryStatus = 0;
    uint8_t batteryLevel = 0;
    uint8_t linkFlag = 0;
};

// `info` as the record keeps it: the report family one place lower (no report-ID byte), the feature family
// from its report ID on.
InfoBlock DecodeInfoBlock(Family family, const uint8_t* info);

// sensor_flag from the two flag bytes of the advanced-parameters reply. The mouse carries only the options
// 8 and 4; every other bit of the stored value (the third option 16 among them) is kept as it was.
int SensorFlagFromBytes(int stored, uint8_t bit8, uint8_t bit4);

}  // namespace quorvel
