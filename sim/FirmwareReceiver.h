#pragma once
// The mouse side of the firmware transfer on the upgrade interface: the start report, 48-byte data
// packets of three CRC-checked sub-blocks, and the end report. The image is kept once the end report
// arrives after a clean transfer.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/SimIssue.h"

namespace quorvel {

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
uint16_t Crc16Modbus(const uint8_t* data, size_t length);

class FirmwareReceiver {
public:
    enum class State { Idle, Receiving, Done, Failed };

    // One report as written (report ID 0x05 in byte 0, 64 bytes). False when the mouse refuses it; a
    // refused data packet fails the transfer, so its end report is refused too.
    bool Handle(const uint8_t* data, size_t length, std::vector<SimIssue>* issues);

    State state() const { return state_; }
    const std::vector<uint8_t>& Image() const { return image_; }   // last completed image
    int BlocksReceived() const { return nextBlock_; }

private:
    bool Refuse(SimIssueKind kind, const char* text, const uint8_t* data, size_t length,
                std::vector<SimIssue>* issues);

    State state_ = State::Idle;
    int nextBlock_ = 0;
    std::vector<uint8_t> receiving_;
    std::vector<uint8_t> image_;
};

}  // namespace quorvel
