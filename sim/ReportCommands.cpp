// Report family: checksummed output reports with report ID 0x00, each answered with an input report.
#include <cstdio>

#include "sim/MouseProtocol.h"
#include "sim/SimSensor.h"

namespace quorvel {

namespace {

constexpr uint8_t kRefused = 0x01;  // status byte of a request the mouse did not carry out

bool IsRead(uint8_t command) { return (command >= 0x10 && command <= 0x17) || command == 0x20; }

bool IsWrite(uint8_t command) {
    return (command >= 0x02 && command <= 0x09) || (command >= 0x0D && command <= 0x0F);
}

uint8_t Checksum(const uint8_t* r) {
    unsigned sum = 0;
    for (int i = 5; i <= 31; ++i) sum += r[i];
    return static_cast<uint8_t>(sum);
}

MouseProtocol::Result Reply(uint8_t command, uint8_t status, const uint8_t* data = nullptr, int length = 0) {
    MouseProtocol::Result result;
    result.replied = true;
    result.reply.assign(32, 0);  // report bytes 1..32; the report ID is not delivered
    result.reply[0] = command;
    result.reply[1] = status;
    for (int i = 0; i < length; ++i) result.reply[4 + i] = data[i];  // report byte 5 onwards
    return result;
}

}  // namespace

MouseProtocol::Result MouseProtocol::HandleReport(const uint8_t* r) {
    if (r[0] != 0x00) {
        Refuse(SimIssueKind::Frame, "report ID is not 0x00", r);
        return {};
    }
    if (r[32] != Checksum(r)) {
        char text[64];
        std::snprintf(text, sizeof text, "checksum byte %02X, expected %02X", r[32], Checksum(r));
        Refuse(SimIssueKind::Checksum, text, r);
        return {};  // a corrupted request is not answered
    }
    const uint8_t command = r[1];
    if (!IsRead(command) && !IsWrite(command)) {
        Refuse(SimIssueKind::UnknownCommand, "unknown command", r);
        return {};
    }
    if (r[2] != 0x00) {
        Refuse(SimIssueKind::Frame, "byte 2 of a request is not 0x00", r);
        return Reply(command, kRefused);
    }
    if (!linked && command != 0x10) return {};  // the receiver cannot reach the mouse: nothing answers
    return IsRead(command) ? ReportRead(r) : ReportWrite(r);
}

MouseProtocol::Result MouseProtocol::ReportRead(const uint8_t* r) {
    const uint8_t command = r[1];
    if (r[3] != 0 || r[4] != 0 || !CheckZero(r, 5, "read request")) {
        if (r[3] != 0 || r[4] != 0) Refuse(SimIssueKind::Frame, "read request with a packet or length byte", r);
        return Reply(command, kRefused);
    }
    if (command == 0x20 && spec.linkMode != 1) {
        Refuse(SimIssueKind::UnknownCommand, "command 0x20 is answered only through the receiver", r);
        return {};
    }
    uint8_t d[27] = {};
    const MouseMemory& m = memory;
    switch (command) {
    case 0x10:
        for (size_t i = 0; i < 4 && i < spec.devId.size(); ++i) d[i] = static_cast<uint8_t>(spec.devId[i]);
        d[4] = static_cast<uint8_t>(spec.release & 0xFF);
        d[5] = static_cast<uint8_t>(spec.release >> 8);
        d[6] = static_cast<uint8_t>(spec.sensor);
        d[7] = static_cast<uint8_t>(spec.rateCap);
        d[8] = static_cast<uint8_t>(batteryStatus);
        d[9] = static_cast<uint8_t>(batteryLevel);
        d[10] = linked ? 1 : 0;
        break;
    case 0x11: break;
    case 0x12: d[0] = m.reportRate; break;
    case 0x13:
        d[0] = static_cast<uint8_t>((m.dpiIndex << 4) | m.dpiCount);
        for (int n = 0; n < kSimDpiLevels; ++n) {
            d[1 + 4 * n] = d[3 + 4 * n] = static_cast<uint8_t>(m.dpiRaw[n] & 0xFF);
            d[2 + 4 * n] = d[4 + 4 * n] = static_cast<uint8_t>(m.dpiRaw[n] >> 8);
        }
        break;
    case 0x14:
        for (int n = 0; n < kSimDpiLevels; ++n)
            for (int c = 0; c < 3; ++c) d[3 * n + c] = m.dpiColours[n][c];
        break;
    case 0x15:
        d[0] = m.lightMode;
        d[1] = m.light[m.lightMode].brightnessSpeed;
        break;
    case 0x16:
        d[0] = m.liftoff;
        d[1] = m.sensorBit8;
        d[2] = m.sensorBit4;
        break;
    case 0x17:
        d[0] = m.sleep;
        d[1] = m.wakeOnMove;
        d[2] = m.lightOffMoving;
        d[3] = m.responseTime;
        break;
    case 0x20:
        d[0] = static_cast<uint8_t>(spec.release >> 8);
        d[1] = static_cast<uint8_t>(spec.release & 0xFF);
        break;
    }
    return Reply(command, 0x00, d, 27);
}

bool MouseProtocol::ReportDpi(const uint8_t* r) {
    if (!CheckLength(r, 4, 37)) return false;
    const int count = r[5] & 0x0F, index = r[5] >> 4;
    if (!CheckRange(r, count, 1, kSimDpiLevels, "DPI level count") ||
        !CheckRange(r, index, 0, count - 1, "active DPI level"))
        return false;
    std::array<uint16_t, kSimDpiLevels> raw{};
    for (int n = 0; n < kSimDpiLevels; ++n) {
        const uint8_t* level = r + 6 + 4 * n;
        const int x = level[0] | (level[1] << 8), y = level[2] | (level[3] << 8);
        if (x != y) return Refuse(SimIssueKind::Frame, "DPI level " + std::to_string(n) + ": X and Y codes differ", r);
        if (!CheckRange(r, x, SensorMinRaw(spec.sensor), SensorMaxRaw(spec.sensor), "DPI raw code")) return false;
        raw[n] = static_cast<uint16_t>(x);
    }
    if (!CheckZero(r, 30, "DPI levels")) return false;
    memory.dpiCount = static_cast<uint8_t>(count);
    memory.dpiIndex = static_cast<uint8_t>(index);
    memory.dpiRaw = raw;
    return true;
}

bool MouseProtocol::ReportMacro(const uint8_t* r) {
    const int index = r[3] >> 4, count = r[3] & 0x0F, length = r[4];
    const bool last = index + 1 == count;
    if (count <= 1 ? length < 1 || length > 25 : (last ? length < 1 || length > 27 : length != 27))
        return Refuse(SimIssueKind::Frame, "macro packet length byte " + std::to_string(length) + " does not fit its packet", r);
    if (!CheckZero(r, 5 + length, "macro")) return false;
    int slot = -1;
    const uint8_t* events = r + 5;
    int eventBytes = length;
    if (index == 0) {
        slot = r[5];
        ++events;
        --eventBytes;
        if (!CheckRange(r, slot, 0, kSimKeySlots - 1, "macro key slot")) {
            reportMacro_.Reset();
            return false;
        }
    }
    int doneSlot = 0;
    std::vector<uint8_t> stream;
    std::string why;
    switch (reportMacro_.Feed(index, count, slot, events, eventBytes, &doneSlot, &stream, &why)) {
    case MacroAssembler::Result::Incomplete: return true;
    case MacroAssembler::Result::Error: return Refuse(SimIssueKind::Frame, why, r);
    case MacroAssembler::Result::Complete: memory.macros[doneSlot] = std::move(stream); return true;
    }
    return false;
}

MouseProtocol::Result MouseProtocol::ReportWrite(const uint8_t* r) {
    const uint8_t command = r[1];
    if (command != 0x08 && r[3] != 0x01) {
        Refuse(SimIssueKind::Frame, "single-packet write without 0x01 in byte 3", r);
        return Reply(command, kRefused);
    }
    bool done = false;
    switch (command) {
    case 0x02:
        done = CheckLength(r, 4, 1) && CheckZero(r, 6, "report rate");
        if (done && !ValidReportRate(r[5])) done = Refuse(SimIssueKind::OutOfRange, "report-rate code " + std::to_string(r[5]), r);
        if (done) memory.reportRate = r[5];
        break;
    case 0x03: done = ReportDpi(r); break;
    case 0x04:
        done = CheckLength(r, 4, 18) && CheckZero(r, 23, "DPI colours");
        if (done)
            for (int n = 0; n < kSimDpiLevels; ++n)
                for (int c = 0; c < 3; ++c) memory.dpiColours[n][c] = r[5 + 3 * n + c];
        break;
    case 0x05: done = ApplyLighting(r, 4, 5); break;
    case 0x06:
        done = CheckLength(r, 4, 5) && CheckRange(r, r[5], 1, 2, "lift-off distance") &&
               CheckRange(r, r[6], 0, 1, "sensor flag (bit 8)") && CheckRange(r, r[7], 0, 1, "sensor flag (bit 4)") &&
               CheckZero(r, 8, "advanced parameters");
        if (done) {
            memory.liftoff = r[5];
            memory.sensorBit8 = r[6];
            memory.sensorBit4 = r[7];
        }
        break;
    case 0x07:
        done = CheckLength(r, 4, 4) && CheckRange(r, r[5], 1, 180, "sleep time") &&
               CheckRange(r, r[6], 0, 1, "wake on move") && CheckRange(r, r[7], 0, 1, "light off while moving") &&
               CheckRange(r, r[8], 0, 20, "button response time") && CheckZero(r, 9, "power settings");
        if (done) {
            memory.sleep = r[5];
            memory.wakeOnMove = r[6];
            memory.lightOffMoving = r[7];
            memory.responseTime = r[8];
        }
        break;
    case 0x08: done = ReportMacro(r); break;
    case 0x09:
        done = CheckLength(r, 4, 15);
        if (done)
            for (int slot = 0; slot < 9; ++slot)
                for (int c = 0; c < 3; ++c) memory.keys[slot][c] = r[5 + 3 * slot + c];
        break;
    case 0x0D:
    case 0x0E:
    case 0x0F: {
        const uint8_t expected = command == 0x0F ? 0xFF : 0x01;
        done = CheckLength(r, 4, 1) && CheckZero(r, 6, "reset");
        if (done && r[5] != expected) done = Refuse(SimIssueKind::Frame, "reset without its confirmation byte", r);
        if (!done) break;
        if (command == 0x0D) memory.reportRate = FactoryMemory(spec.sensor, false).reportRate;
        if (command == 0x0E) ResetLighting(&memory);
        if (command == 0x0F) memory = FactoryMemory(spec.sensor, false);
        break;
    }
    }
    Result result = Reply(command, done ? 0x00 : kRefused);
    result.changed = done;
    return result;
}

}  // namespace quorvel
