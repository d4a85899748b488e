#include "device/CommandsMacroFrames.h"

#include "store/ButtonCodes.h"

namespace quorvel {

namespace {

enum EventType { kDelay = 1, kKeyDown = 2, kKeyUp = 3, kMouseDown = 4, kMouseUp = 5 };

// Modifier and Windows keys go out as a modifier bit with their own event class.
bool IsModifierKey(int vk) { return (vk >= 0xA0 && vk <= 0xA7) || vk == 0x5B || vk == 0x5D; }

struct Event {
    uint8_t cls = 0;
    uint8_t code = 0;
    bool mouseDown = false;
    int delay = 1;  // delay after the event
    bool delaySet = false;
};

bool MakeEvent(const MacroEventRecord& row, Event* out) {
    Event e;
    switch (row.type) {
        case kKeyDown:
        case kKeyUp: {
            const bool modifier = IsModifierKey(row.value);
            const int code = modifier ? UsageToDeviceByte(row.value) : VirtualKeyToUsage(row.value);
            if (row.type == kKeyDown) e.cls = modifier ? 0x20 : 0x30;
            else e.cls = modifier ? 0xA0 : 0xB0;
            e.code = static_cast<uint8_t>(code & 0xFF);
            break;
        }
        case kMouseDown:
            e.cls = 0x10;
            e.code = static_cast<uint8_t>(row.value & 0xFF);
            e.mouseDown = true;
            break;
        case kMouseUp:
            e.cls = 0x90;
            e.code = static_cast<uint8_t>(row.value & 0xFF);
            break;
        default: return false;
    }
    *out = e;
    return true;
}

std::vector<Event> FoldDelays(const std::vector<MacroEventRecord>& rows) {
    std::vector<Event> events;
    int sum = 0;
    for (const MacroEventRecord& row : rows) {
        if (row.type == kDelay) {
            sum += row.value;
            continue;
        }
        Event e;
        if (!MakeEvent(row, &e)) continue;
        if (!events.empty()) {
            events.back().delay = sum == 0 ? 1 : sum;
            events.back().delaySet = true;
        }
        sum = 0;  // a delay before the first event has nothing to follow
        events.push_back(e);
    }
    // A trailing delay row sets the last event's delay as it is, zero included.
    if (!rows.empty() && rows.back().type == kDelay && !events.empty()) {
        events.back().delay = sum;
        events.back().delaySet = true;
    }
    return events;
}

}  // namespace

std::vector<uint8_t> BuildMacroStream(Family family, const std::vector<MacroEventRecord>& rows,
                                      int* eventCount) {
    const std::vector<Event> events = FoldDelays(rows);
    if (eventCount) *eventCount = static_cast<int>(events.size());
    std::vector<uint8_t> stream;
    for (const Event& e : events) {
        const auto lo = static_cast<uint8_t>(e.delay & 0xFF);
        const auto hi = static_cast<uint8_t>((e.delay >> 8) & 0xFF);
        if (family == Family::Report) {
            stream.insert(stream.end(), {e.cls, lo, hi, e.code});
        } else {
            // One delay byte only: the delay is ORed in, its high byte into the code. An event whose delay
            // was never set (the last one) keeps its plain bytes.
            uint8_t b1 = e.mouseDown ? 0x01 : 0x00;
            uint8_t code = e.code;
            if (e.delaySet) {
                b1 |= lo;
                code |= hi;
            }
            stream.insert(stream.end(), {e.cls, b1, code});
        }
    }
    return stream;
}

int MacroPacketCount(Family family, const std::vector<MacroEventRecord>& rows) {
    int n = 0;
    const size_t bytes = BuildMacroStream(family, rows, &n).size();
    if (family == Family::Report) return n <= 6 ? 1 : static_cast<int>((bytes + 1 + 26) / 27);
    return n <= 8 ? 1 : static_cast<int>((bytes + 24) / 25);
}

std::vector<Frame> BuildMacroPackets(Family family, int keySlot, const std::vector<MacroEventRecord>& rows) {
    int n = 0;
    const std::vector<uint8_t> events = BuildMacroStream(family, rows, &n);
    const auto slot = static_cast<uint8_t>(keySlot & 0xFF);
    std::vector<Frame> packets;
    if (family == Family::Report) {
        std::vector<uint8_t> stream;
        stream.push_back(slot);
        stream.insert(stream.end(), events.begin(), events.end());
        if (n <= 6) {
            Frame f = ReportRequest(0x08, 0x01, static_cast<uint8_t>(stream.size()));
            std::copy(stream.begin(), stream.end(), f.begin() + 5);
            return {f};
        }
        const size_t count = (stream.size() + 26) / 27;
        if (count > kMaxMacroPackets) return {};
        for (size_t i = 0; i < count; ++i) {
            const size_t from = 27 * i;
            const size_t len = std::min<size_t>(27, stream.size() - from);
            Frame f = ReportRequest(0x08, static_cast<uint8_t>(i << 4 | count), static_cast<uint8_t>(len));
            std::copy(stream.begin() + from, stream.begin() + from + len, f.begin() + 5);
            packets.push_back(f);
        }
        return packets;
    }
    if (n <= 8) {
        Frame f = FeatureRequest(0x0E, 0x01, static_cast<uint8_t>(3 * n + 1));
        f[7] = slot;
        std::copy(events.begin(), events.end(), f.begin() + 8);
        return {f};
    }
    const size_t count = (events.size() + 24) / 25;
    if (count > kMaxMacroPackets) return {};
    for (size_t i = 0; i < count; ++i) {
        const size_t from = 25 * i;
        const size_t len = std::min<size_t>(25, events.size() - from);
        Frame f = FeatureRequest(0x0E, static_cast<uint8_t>(i << 4 | count), static_cast<uint8_t>(len + 1));
        f[7] = slot;
        std::copy(events.begin() + from, events.begin() + from + len, f.begin() + 8);
        packets.push_back(f);
    }
    return packets;
}

}  // namespace quorvel
