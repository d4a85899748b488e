#include "sim/MouseProtocol.h"

#include <cstdio>

namespace quorvel {

MouseProtocol::MouseProtocol(const VirtualMouseSpec& s)
    : spec(s), memory(FactoryMemory(s.sensor, s.FeatureFamily())), batteryLevel(s.battery), linked(s.linked) {}

void MouseProtocol::AddIssue(SimIssueKind kind, std::string text, const uint8_t* bytes, size_t length) {
    issues.push_back({kind, std::move(text), std::vector<uint8_t>(bytes, bytes + length)});
}

bool MouseProtocol::Refuse(SimIssueKind kind, const std::string& text, const uint8_t* r) {
    AddIssue(kind, text, r, kSimReportSize);
    return false;
}

bool MouseProtocol::CheckLength(const uint8_t* r, int at, int expected) {
    if (r[at] == expected) return true;
    char text[80];
    std::snprintf(text, sizeof text, "command %02X: data length byte %d, expected %d", r[spec.FeatureFamily() ? 2 : 1],
                  r[at], expected);
    return Refuse(SimIssueKind::Frame, text, r);
}

bool MouseProtocol::CheckZero(const uint8_t* r, int from, const char* what) {
    const int end = spec.FeatureFamily() ? 33 : 32;  // byte 32 is the checksum in the report family
    for (int i = from; i < end; ++i)
        if (r[i] != 0) return Refuse(SimIssueKind::Frame, std::string(what) + ": byte " + std::to_string(i) + " after the data is not 0", r);
    return true;
}

bool MouseProtocol::CheckRange(const uint8_t* r, int value, int low, int high, const char* what) {
    if (value >= low && value <= high) return true;
    return Refuse(SimIssueKind::OutOfRange,
                  std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(low) + ".." + std::to_string(high), r);
}

bool MouseProtocol::ValidReportRate(int code) const {
    switch (code) {
    case 1: case 2: case 4: case 8: return true;
    case 16: case 32: case 64:
        // The capability byte names the fastest code the report family accepts; the feature family stops at 1000 Hz.
        return !spec.FeatureFamily() && (spec.rateCap == 0x10 || spec.rateCap == 0x20 || spec.rateCap == 0x40) &&
               code <= spec.rateCap;
    default: return false;
    }
}

bool MouseProtocol::ApplyLighting(const uint8_t* r, int lengthAt, int dataAt) {
    const int mode = r[dataAt];
    const uint8_t b = r[dataAt + 1];
    int length = 0;
    switch (mode) {
    case 0: case 4: case 5: length = 2; break;
    case 1: length = 3; break;
    case 2: length = 24; break;
    case 3: length = 5; break;
    default: return CheckRange(r, mode, 0, kSimLightModes - 1, "lighting mode");
    }
    if (!CheckLength(r, lengthAt, length) || !CheckRange(r, b >> 4, 0, 4, "lighting brightness")) return false;
    if (mode == 1 && r[dataAt + 2] != 0) return Refuse(SimIssueKind::Frame, "lighting mode 1: third byte is not 0", r);
    if (mode == 2 && r[dataAt + 2] != kSimLightColours)
        return Refuse(SimIssueKind::Frame, "lighting mode 2: colour count is not 7", r);
    if (!CheckZero(r, dataAt + length, "lighting")) return false;

    LightSetting& setting = memory.light[mode];
    memory.lightMode = static_cast<uint8_t>(mode);
    setting.brightnessSpeed = b;
    if (mode == 2)
        for (int k = 0; k < kSimLightColours; ++k)
            for (int c = 0; c < 3; ++c) setting.colours[k][c] = r[dataAt + 3 + 3 * k + c];
    if (mode == 3)
        for (int c = 0; c < 3; ++c) setting.colours[0][c] = r[dataAt + 2 + c];
    return true;
}

std::vector<uint8_t> MouseProtocol::FeatureInfo() const {
    std::vector<uint8_t> info(kSimReportSize, 0);
    info[0] = 0x0C;
    info[1] = 0x01;
    info[2] = 0x20;
    for (size_t i = 0; i < 4 && i < spec.devId.size(); ++i) info[8 + i] = static_cast<uint8_t>(spec.devId[i]);
    info[12] = static_cast<uint8_t>(spec.release & 0xFF);
    info[13] = static_cast<uint8_t>(spec.release >> 8);
    info[18] = static_cast<uint8_t>(batteryLevel);
    info[19] = static_cast<uint8_t>(batteryStatus);
    info[21] = linked ? 1 : 0;
    return info;
}

std::vector<uint8_t> MouseProtocol::DpiReport() const {
    std::vector<uint8_t> report(32, 0);
    if (spec.FeatureFamily()) {
        report[0] = 0x05;
        report[1] = 0x06;
        report[4] = static_cast<uint8_t>(memory.dpiIndex + 1);
    } else {
        report[0] = 0xC2;
        report[1] = static_cast<uint8_t>((memory.dpiIndex << 4) | memory.dpiCount);
    }
    return report;
}

std::vector<uint8_t> MouseProtocol::LinkReport() const {
    std::vector<uint8_t> report(32, 0);
    report[0] = 0xC0;
    report[1] = linked ? 1 : 0;
    if (!spec.FeatureFamily() && linked) {
        report[2] = static_cast<uint8_t>(batteryLevel);
        report[3] = static_cast<uint8_t>(batteryStatus);
    }
    return report;
}

}  // namespace quorvel
