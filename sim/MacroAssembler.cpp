#include "sim/MacroAssembler.h"

namespace quorvel {

namespace {

bool KnownEventClass(uint8_t value) {
    switch (value) {
    case 0x10: case 0x90:  // mouse button down / up
    case 0x20: case 0xA0:  // modifier down / up
    case 0x30: case 0xB0:  // key down / up
        return true;
    default:
        return false;
    }
}

}  // namespace

bool MacroAssembler::CheckEvents(const std::vector<uint8_t>& events, std::string* why) const {
    if (events.size() % eventSize_ != 0) {
        *why = "macro data is not a whole number of events";
        return false;
    }
    const int n = static_cast<int>(events.size()) / eventSize_;
    for (int i = 0; i < n; ++i) {
        if (!KnownEventClass(events[i * eventSize_])) {
            *why = "unknown macro event class";
            return false;
        }
    }
    return true;
}

MacroAssembler::Result MacroAssembler::Feed(int index, int count, int slot, const uint8_t* events, int length,
                                            int* outSlot, std::vector<uint8_t>* outEvents, std::string* why) {
    if (count < 1 || index >= count) {
        Reset();
        *why = "macro packet index/count nibble is not i < c";
        return Result::Error;
    }
    if (index == 0) {
        active_ = true;
        count_ = count;
        next_ = 0;
        slot_ = slot;
        events_.clear();
    } else if (!active_ || index != next_ || count != count_ || (slot >= 0 && slot != slot_)) {
        Reset();
        *why = "macro packet out of order";
        return Result::Error;
    }
    events_.insert(events_.end(), events, events + length);
    if (++next_ < count_) return Result::Incomplete;

    active_ = false;
    if (!CheckEvents(events_, why)) {
        events_.clear();
        return Result::Error;
    }
    *outSlot = slot_;
    *outEvents = std::move(events_);
    events_.clear();
    return Result::Complete;
}

}  // namespace quorvel
