#pragma once
// Collects the packets of one macro upload: packet i of c in order, the same key slot throughout.
// The family code checks each packet's own bytes and hands over its index, count, slot and events.

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

class MacroAssembler {
public:
    enum class Result { Incomplete, Complete, Error };

    // eventSize: 4 (report family) or 3 (feature family). The packet lengths, checked by the family code,
    // already keep short macros in one packet and long ones in several.
    explicit MacroAssembler(int eventSize) : eventSize_(eventSize) {}

    // On Complete, *slot and *events hold the macro; on Error, *why says what is wrong and the upload is
    // dropped. A packet 0 always starts a new upload.
    Result Feed(int index, int count, int slot, const uint8_t* events, int length, int* outSlot,
                std::vector<uint8_t>* outEvents, std::string* why);
    void Reset() { active_ = false; events_.clear(); }

private:
    bool CheckEvents(const std::vector<uint8_t>& events, std::string* why) const;

    const int eventSize_;
    bool active_ = false;
    int count_ = 0;
    int next_ = 0;
    int slot_ = 0;
    std::vector<uint8_t> events_;
};

}  // namespace quorvel
