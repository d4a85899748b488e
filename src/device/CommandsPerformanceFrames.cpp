#include "device/CommandsPerformanceFrames.h"

#include "device/SensorTable.h"

namespace quorvel {

namespace {

uint8_t Byte(int v) { return static_cast<uint8_t>(v & 0xFF); }
uint8_t Nibble(int v) { return static_cast<uint8_t>(v & 0x0F); }

}  // namespace

Frame BuildReportRate(Family family, int code) {
    Frame f = family == Family::Report ? ReportRequest(0x02, 0x01, 1) : FeatureRequest(0x07, 0x01, 1);
    f[DataOffset(family)] = Byte(code);
    return f;
}

Frame BuildDpiLevels(Family family, int sensorCode, const DpiLevelSettings& levels) {
    if (family == Family::Report) {
        Frame f = ReportRequest(0x03, 0x01, 37);
        f[5] = static_cast<uint8_t>(Nibble(levels.index) << 4 | Nibble(levels.count));
        for (size_t n = 0; n < 6; ++n) {
            const int raw = DpiToRaw(sensorCode, levels.values[n]);
            const size_t at = 6 + 4 * n;
            f[at] = Byte(raw);  // X
            f[at + 1] = Byte(raw >> 8);
            f[at + 2] = Byte(raw);  // Y
            f[at + 3] = Byte(raw >> 8);
        }
        return f;
    }
    Frame f = FeatureRequest(0x05, 0x01, 18);
    f[7] = static_cast<uint8_t>(Nibble(levels.index + 1) << 4 | Nibble(levels.count));
    f[8] = 0x3F;
    for (size_t n = 0; n < 6; ++n) {
        const int raw = DpiToRaw(sensorCode, levels.values[n]);
        f[9 + 2 * n] = Byte(raw);
        f[10 + 2 * n] = Byte(raw >> 8);
    }
    return f;
}

Frame BuildDpiColours(Family family, const std::array<int, 6>& colours) {
    Frame f = family == Family::Report ? ReportRequest(0x04, 0x01, 18) : FeatureRequest(0x06, 0x01, 24);
    const size_t base = DataOffset(family);
    for (size_t n = 0; n < 6; ++n) PutColour(&f[base + 3 * n], colours[n]);
    return f;
}

Frame BuildAdvanced(Family family, int liftoffHeight, int sensorFlag) {
    const uint8_t bit8 = (sensorFlag & 8) ? 1 : 0;
    const uint8_t bit4 = (sensorFlag & 4) ? 1 : 0;
    if (family == Family::Report) {
        Frame f = ReportRequest(0x06, 0x01, 5);
        f[5] = Byte(liftoffHeight);
        f[6] = bit8;
        f[7] = bit4;
        return f;
    }
    Frame f = FeatureRequest(0x07, 0x01, 2);
    f[7] = Byte(liftoffHeight);
    f[8] = bit4;
    return f;
}

std::vector<Frame> BuildPower(Family family, const PowerSettings& power) {
    if (family == Family::Report) {
        Frame f = ReportRequest(0x07, 0x01, 4);
        f[5] = Byte(power.sleep);
        f[6] = Byte(power.wakeOnMove);
        f[7] = Byte(power.lightOffMoving);
        f[8] = Byte(power.responseTime);
        return {f};
    }
    Frame first = FeatureRequest(0x0B, 0x01, 2);
    first[7] = Byte(power.sleep);
    first[8] = Byte(power.lightOffMoving);
    Frame second = FeatureRequest(0x0C, 0x01, 1);
    second[7] = 0x00;
    return {first, second};
}

Frame BuildReportRateReset() {
    Frame f = ReportRequest(0x0D, 0x01, 1);
    f[5] = 0x01;
    return f;
}

Frame BuildLightingReset() {
    Frame f = ReportRequest(0x0E, 0x01, 1);
    f[5] = 0x01;
    return f;
}

Frame BuildFactoryReset(Family family) {
    Frame f = Request(family, 0x0F, 0x01, 1);
    f[DataOffset(family)] = 0xFF;
    return f;
}

Frame BuildReadRequest(uint8_t command) { return ReportRequest(command, 0x00, 0); }

}  // namespace quorvel
