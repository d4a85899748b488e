#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "sim/FirmwareReceiver.h"

namespace quorvel {
namespace {

using simtest::Bytes;

Bytes Control(uint8_t command, uint8_t value) {
    Bytes report(64, 0xFF);
    report[0] = 0x05;
    report[1] = 0x02;
    report[2] = command;
    report[3] = 0x00;
    report[4] = value;
    return report;
}

// Data packets for an image, sub-blocks of 16 bytes numbered from 0, three per packet.
std::vector<Bytes> DataPackets(const Bytes& image) {
    std::vector<Bytes> packets;
    int block = 0;
    for (size_t offset = 0; offset < image.size(); offset += 48) {
        Bytes packet(64, 0xFF);
        packet[0] = 0x05;
        packet[1] = 0x02;
        packet[3] = 0x00;
        const size_t remaining = image.size() - offset;
        const int blocks = remaining >= 48 ? 3 : static_cast<int>((remaining + 15) / 16);
        packet[2] = static_cast<uint8_t>(20 * blocks);
        for (int j = 0; j < blocks; ++j, ++block) {
            uint8_t* sub = &packet[4 + 20 * j];
            sub[0] = static_cast<uint8_t>(block);
            sub[1] = static_cast<uint8_t>(block >> 8);
            for (int k = 0; k < 16; ++k) {
                const size_t at = offset + 16 * j + k;
                sub[2 + k] = at < image.size() ? image[at] : 0xFF;
            }
            const uint16_t crc = Crc16Modbus(sub, 18);
            sub[18] = static_cast<uint8_t>(crc);
            sub[19] = static_cast<uint8_t>(crc >> 8);
        }
        packets.push_back(packet);
    }
    return packets;
}

TEST(FirmwareCrc, Modbus) {
    const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16Modbus(check, sizeof check), 0x4B37);
    const uint8_t frame[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01};  // the classic read-holding-register request
    EXPECT_EQ(Crc16Modbus(frame, sizeof frame), 0x0A84);
    EXPECT_EQ(Crc16Modbus(nullptr, 0), 0xFFFF);
}

class FirmwareTransfer : public ::testing::Test {
protected:
    FirmwareTransfer() {
        for (int i = 0; i < 100; ++i) image_.push_back(static_cast<uint8_t>(i * 7 + 3));
    }
    void SetUp() override { Plug(); }
    void Plug() {
        backend_ = simtest::MakeBackend("201");
        mouse_ = &backend_->Mouse(0);
        upgrade_ = backend_->Open(mouse_->PathOf(SimInterface::Upgrade));
        ASSERT_NE(upgrade_, nullptr);
    }
    int Write(const Bytes& report) { return backend_->Write(upgrade_, report.data(), report.size()); }

    std::unique_ptr<VirtualBackend> backend_;
    VirtualMouse* mouse_ = nullptr;
    HidHandle* upgrade_ = nullptr;
    Bytes image_;
};

TEST_F(FirmwareTransfer, ImageIsReassembled) {
    const std::vector<Bytes> packets = DataPackets(image_);
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[2][2], 0x14) << "the 4 last bytes travel in one sub-block";

    EXPECT_EQ(Write(Control(0x02, 0x01)), 64);
    for (const Bytes& packet : packets) EXPECT_EQ(Write(packet), 64);
    EXPECT_EQ(mouse_->FirmwareState(), FirmwareReceiver::State::Receiving);
    EXPECT_TRUE(mouse_->FirmwareImage().empty()) << "kept only once the end report arrives";
    EXPECT_EQ(Write(Control(0x06, 0x02)), 64);

    Bytes expected = image_;
    expected.resize(112, 0xFF);  // the mouse cannot tell padding from image: 7 sub-blocks of 16 bytes
    EXPECT_EQ(mouse_->FirmwareImage(), expected);
    EXPECT_EQ(mouse_->FirmwareState(), FirmwareReceiver::State::Done);
    EXPECT_TRUE(mouse_->Issues().empty()) << simtest::IssueText(mouse_->Issues());
}

TEST_F(FirmwareTransfer, BadTransfersAreRefused) {
    std::vector<Bytes> packets = DataPackets(image_);
    Bytes badCrc = packets[1];
    badCrc[4 + 20 + 5] ^= 0x01;  // one payload bit of the second sub-block
    Bytes skipped = packets[1];
    skipped[4] = 0x07;
    Bytes dirtyTail = packets[2];
    dirtyTail[63] = 0x00;
    const struct {
        const char* name;
        size_t at;  // the packet replaced
        Bytes replaced;
        SimIssueKind kind;
    } cases[] = {
        {"bad CRC in a sub-block", 1, badCrc, SimIssueKind::Crc},
        {"block number skipped", 1, skipped, SimIssueKind::Frame},
        {"unused bytes not FF", 2, dirtyTail, SimIssueKind::Frame},
    };
    for (const auto& c : cases) {
        Plug();
        EXPECT_EQ(Write(Control(0x02, 0x01)), 64);
        for (size_t i = 0; i < c.at; ++i) EXPECT_EQ(Write(packets[i]), 64) << c.name;
        EXPECT_EQ(Write(c.replaced), -1) << c.name;
        EXPECT_EQ(mouse_->FirmwareState(), FirmwareReceiver::State::Failed) << c.name;
        EXPECT_EQ(Write(Control(0x06, 0x02)), -1) << c.name << ": the end of a failed transfer is refused";
        EXPECT_TRUE(mouse_->FirmwareImage().empty()) << c.name;
        ASSERT_EQ(mouse_->Issues().size(), 1u) << c.name << "\n" << simtest::IssueText(mouse_->Issues());
        EXPECT_EQ(mouse_->Issues()[0].kind, c.kind) << c.name;
    }
}

TEST_F(FirmwareTransfer, ReportsOutOfOrder) {
    const std::vector<Bytes> packets = DataPackets(image_);
    Bytes startWithData = Control(0x02, 0x01);
    startWithData[10] = 0x00;
    const struct {
        const char* name;
        Bytes report;
        SimIssueKind kind;
    } cases[] = {
        {"data before the start report", packets[0], SimIssueKind::Frame},
        {"end without start", Control(0x06, 0x02), SimIssueKind::Frame},
        {"start report not padded with FF", startWithData, SimIssueKind::Frame},
        {"unknown command byte", Control(0x03, 0x01), SimIssueKind::UnknownCommand},
        {"report ID 0", Bytes(64, 0x00), SimIssueKind::Frame},
    };
    for (const auto& c : cases) {
        Plug();
        EXPECT_EQ(Write(c.report), -1) << c.name;
        ASSERT_EQ(mouse_->Issues().size(), 1u) << c.name;
        EXPECT_EQ(mouse_->Issues()[0].kind, c.kind) << c.name;
    }
}

TEST_F(FirmwareTransfer, NewStartReplacesTheImage) {
    EXPECT_EQ(Write(Control(0x02, 0x01)), 64);
    for (const Bytes& packet : DataPackets(image_)) Write(packet);
    EXPECT_EQ(Write(Control(0x06, 0x02)), 64);
    const Bytes second(48, 0x5A);
    EXPECT_EQ(Write(Control(0x02, 0x01)), 64);
    for (const Bytes& packet : DataPackets(second)) Write(packet);
    EXPECT_EQ(Write(Control(0x06, 0x02)), 64);
    EXPECT_EQ(mouse_->FirmwareImage(), second);
}

}  // namespace
}  // namespace quorvel
