#include "sim/FirmwareReceiver.h"

namespace quorvel {

namespace {

constexpr size_t kReportSize = 64;
constexpr int kSubBlockSize = 20;
constexpr int kPayloadSize = 16;

bool AllFF(const uint8_t* data, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (data[i] != 0xFF) return false;
    return true;
}

}  // namespace

uint16_t Crc16Modbus(const uint8_t* data, size_t length) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

bool FirmwareReceiver::Refuse(SimIssueKind kind, const char* text, const uint8_t* data, size_t length,
                              std::vector<SimIssue>* issues) {
    issues->push_back({kind, text, std::vector<uint8_t>(data, data + length)});
    return false;
}

bool FirmwareReceiver::Handle(const uint8_t* data, size_t length, std::vector<SimIssue>* issues) {
    if (length < kReportSize) return Refuse(SimIssueKind::Frame, "upgrade report shorter than 64 bytes", data, length, issues);
    if (data[0] != 0x05 || data[1] != 0x02 || data[3] != 0x00)
        return Refuse(SimIssueKind::Frame, "upgrade report header is not 05 02 xx 00", data, kReportSize, issues);

    const uint8_t command = data[2];
    if (command == 0x02 || command == 0x06) {
        const uint8_t expected = command == 0x02 ? 0x01 : 0x02;
        if (data[4] != expected || !AllFF(data, 5, kReportSize))
            return Refuse(SimIssueKind::Frame, "start/end report must be 05 02 cc 00 nn followed by FF", data, kReportSize, issues);
        if (command == 0x02) {
            state_ = State::Receiving;
            nextBlock_ = 0;
            receiving_.clear();
            return true;
        }
        if (state_ == State::Failed) return false;  // the client ends a refused transfer; the image is not kept
        if (state_ != State::Receiving) return Refuse(SimIssueKind::Frame, "end report without a start report", data, kReportSize, issues);
        image_ = receiving_;
        state_ = State::Done;
        return true;
    }
    if (command != 0x14 && command != 0x28 && command != 0x3C)
        return Refuse(SimIssueKind::UnknownCommand, "upgrade report with an unknown length/command byte", data, kReportSize, issues);
    if (state_ != State::Receiving) {
        const char* text = state_ == State::Failed ? "data packet after a refused packet" : "data packet without a start report";
        return Refuse(SimIssueKind::Frame, text, data, kReportSize, issues);
    }

    const int blocks = command / kSubBlockSize;
    if (!AllFF(data, 4 + blocks * kSubBlockSize, kReportSize)) {
        state_ = State::Failed;
        return Refuse(SimIssueKind::Frame, "unused bytes of a data packet are not FF", data, kReportSize, issues);
    }
    for (int j = 0; j < blocks; ++j) {
        const uint8_t* block = data + 4 + j * kSubBlockSize;
        const int number = block[0] | (block[1] << 8);
        if (number != ((nextBlock_ + j) & 0xFFFF)) {
            state_ = State::Failed;
            return Refuse(SimIssueKind::Frame, "sub-block number out of order", data, kReportSize, issues);
        }
        const uint16_t crc = static_cast<uint16_t>(block[18] | (block[19] << 8));
        if (crc != Crc16Modbus(block, 18)) {
            state_ = State::Failed;
            return Refuse(SimIssueKind::Crc, "sub-block CRC-16 does not match", data, kReportSize, issues);
        }
    }
    for (int j = 0; j < blocks; ++j) {
        const uint8_t* payload = data + 4 + j * kSubBlockSize + 2;
        receiving_.insert(receiving_.end(), payload, payload + kPayloadSize);
    }
    nextBlock_ += blocks;
    return true;
}

}  // namespace quorvel
