// Feature family: 33-byte feature reports with report ID 0x0C and a sequence number, no replies.
#include <cstdio>

#include "sim/MouseProtocol.h"
#include "sim/SimSensor.h"

namespace quorvel {

namespace {

bool IsFeatureWrite(uint8_t command) {
    switch (command) {
    case 0x04: case 0x05: case 0x06: case 0x07: case 0x08: case 0x0B: case 0x0C: case 0x0E: case 0x0F:
        return true;
    default:
        return false;
    }
}

}  // namespace

void MouseProtocol::ResyncSequence() {
    writes_.synced = false;
    featureMacro_.Reset();
    reportMacro_.Reset();
}

bool MouseProtocol::CheckSequence(const uint8_t* r) {
    const int sequence = r[4];
    if (sequence > 254) return Refuse(SimIssueKind::Sequence, "sequence byte 255 (the counter runs mod 255)", r);
    if (!writes_.synced) {
        writes_.synced = true;
        writes_.last = sequence;
        return true;
    }
    const int expected = (writes_.last + 1) % 255;
    writes_.last = sequence;  // follow the client, so one gap costs one refused report
    if (sequence == expected) return true;
    char text[64];
    std::snprintf(text, sizeof text, "sequence %d, expected %d", sequence, expected);
    return Refuse(SimIssueKind::Sequence, text, r);
}

void MouseProtocol::NoteSequence(const uint8_t* r) {
    if (r[0] != 0x0C || r[2] == 0x20 || r[4] > 254) return;
    writes_.synced = true;
    writes_.last = r[4];
}

MouseProtocol::Result MouseProtocol::HandleFeature(const uint8_t* r) {
    Result result;
    result.accepted = false;
    if (r[0] != 0x0C) {
        Refuse(SimIssueKind::Frame, "feature report ID is not 0x0C", r);
        return result;
    }
    if (r[1] != 0x01 || r[3] != 0x00) {
        Refuse(SimIssueKind::Frame, "feature report header is not 0C 01 cc 00", r);
        return result;
    }
    const uint8_t command = r[2];
    if (command == 0x20) {
        // The info request runs on the transport's own counter; its get-features use numbers unseen here.
        if (r[4] > 254) Refuse(SimIssueKind::Sequence, "sequence byte 255 (the counter runs mod 255)", r);
        else result.accepted = CheckZero(r, 5, "info request");
        return result;
    }
    if (!IsFeatureWrite(command)) {
        Refuse(SimIssueKind::UnknownCommand, "unknown command", r);
        return result;
    }
    if (!CheckSequence(r)) return result;
    if (!linked) return result;  // the receiver cannot reach the mouse and refuses the report
    result.accepted = FeatureWrite(r);
    result.changed = result.accepted && command != 0x0C;
    return result;
}

bool MouseProtocol::FeatureWrite(const uint8_t* r) {
    const uint8_t command = r[2];
    if (command != 0x0E && r[5] != 0x01) return Refuse(SimIssueKind::Frame, "single-packet write without 0x01 in byte 5", r);
    switch (command) {
    case 0x07:
        if (r[6] == 1) {  // report rate
            if (!CheckZero(r, 8, "report rate")) return false;
            if (!ValidReportRate(r[7])) return Refuse(SimIssueKind::OutOfRange, "report-rate code " + std::to_string(r[7]), r);
            memory.reportRate = r[7];
            return true;
        }
        if (r[6] == 2) {  // advanced parameters
            if (!CheckRange(r, r[7], 1, 2, "lift-off distance") || !CheckRange(r, r[8], 0, 1, "sensor flag (bit 4)") ||
                !CheckZero(r, 9, "advanced parameters"))
                return false;
            memory.liftoff = r[7];
            memory.sensorBit4 = r[8];
            return true;
        }
        return Refuse(SimIssueKind::Frame, "command 07: data length byte is neither 1 nor 2", r);
    case 0x05: {
        if (!CheckLength(r, 6, 18)) return false;
        const int count = r[7] & 0x0F, level = r[7] >> 4;
        if (!CheckRange(r, count, 1, kSimDpiLevels, "DPI level count") ||
            !CheckRange(r, level, 1, count, "active DPI level (+1)"))
            return false;
        if (r[8] != 0x3F) return Refuse(SimIssueKind::Frame, "DPI command: byte 8 is not 0x3F", r);
        std::array<uint16_t, kSimDpiLevels> raw{};
        for (int n = 0; n < kSimDpiLevels; ++n) {
            const int code = r[9 + 2 * n] | (r[10 + 2 * n] << 8);
            if (!CheckRange(r, code, SensorMinRaw(spec.sensor), SensorMaxRaw(spec.sensor), "DPI raw code")) return false;
            raw[n] = static_cast<uint16_t>(code);
        }
        if (!CheckZero(r, 21, "DPI levels")) return false;
        memory.dpiCount = static_cast<uint8_t>(count);
        memory.dpiIndex = static_cast<uint8_t>(level - 1);
        memory.dpiRaw = raw;
        return true;
    }
    case 0x06:
        if (!CheckLength(r, 6, 24) || !CheckZero(r, 25, "DPI colours")) return false;
        for (int n = 0; n < kSimDpiLevels; ++n)
            for (int c = 0; c < 3; ++c) memory.dpiColours[n][c] = r[7 + 3 * n + c];
        return true;
    case 0x08: return ApplyLighting(r, 6, 7);
    case 0x0B:
        if (!CheckLength(r, 6, 2) || !CheckRange(r, r[7], 1, 180, "sleep time") ||
            !CheckRange(r, r[8], 0, 1, "light off while moving") || !CheckZero(r, 9, "power settings"))
            return false;
        memory.sleep = r[7];
        memory.lightOffMoving = r[8];
        return true;
    case 0x0C:
        return CheckLength(r, 6, 1) && CheckZero(r, 7, "command 0C");
    case 0x0E: return FeatureMacro(r);
    case 0x04:
        if (!CheckLength(r, 6, 4) || !CheckRange(r, r[7], 0, kSimKeySlots - 1, "key slot") || !CheckZero(r, 11, "key"))
            return false;
        for (int c = 0; c < 3; ++c) memory.keys[r[7]][c] = r[8 + c];
        return true;
    case 0x0F:
        if (!CheckLength(r, 6, 1) || !CheckZero(r, 8, "factory reset")) return false;
        if (r[7] != 0xFF) return Refuse(SimIssueKind::Frame, "factory reset without its confirmation byte", r);
        memory = FactoryMemory(spec.sensor, true);
        return true;
    }
    return false;
}

bool MouseProtocol::FeatureMacro(const uint8_t* r) {
    const int index = r[5] >> 4, count = r[5] & 0x0F, length = r[6], slot = r[7];
    const bool last = index + 1 == count;
    if (count <= 1 ? length < 1 || length > 25 : (last ? length < 2 || length > 26 : length != 26))
        return Refuse(SimIssueKind::Frame, "macro packet length byte " + std::to_string(length) + " does not fit its packet", r);
    if (!CheckRange(r, slot, 0, kSimKeySlots - 1, "macro key slot")) {
        featureMacro_.Reset();
        return false;
    }
    if (!CheckZero(r, 7 + length, "macro")) return false;
    int doneSlot = 0;
    std::vector<uint8_t> stream;
    std::string why;
    switch (featureMacro_.Feed(index, count, slot, r + 8, length - 1, &doneSlot, &stream, &why)) {
    case MacroAssembler::Result::Incomplete: return true;
    case MacroAssembler::Result::Error: return Refuse(SimIssueKind::Frame, why, r);
    case MacroAssembler::Result::Complete: memory.macros[doneSlot] = std::move(stream); return true;
    }
    return false;
}

}  // namespace quorvel
