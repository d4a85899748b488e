// The firmware transfer on the upgrade interface.

#include "DeviceMainFixture.h"
#include "device/CommandsFirmwareFrames.h"

namespace quorvel::test {
namespace {

TEST(FirmwareCrc, ModbusCheckValue) {
    const std::string check = "123456789";
    EXPECT_EQ(FirmwareCrc16(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x4B37);
}

std::vector<Bytes> UpgradeRequests(CoreFixture& f) {
    std::vector<Bytes> out;
    for (const SimRequest& r : f.Mouse().Requests())
        if (r.interface == SimInterface::Upgrade) out.push_back(r.bytes);
    f.Mouse().ClearRequests();
    return out;
}

TEST(FirmwareTransfer, HundredBytesAsThreePackets) {
    CoreFixture f("102:wired");
    f.Start();
    EXPECT_FALSE(f.Cmd().StartFirmwareUpgrade());  // no upgrade interface opened yet
    ASSERT_TRUE(f.manager->OpenUpgradeInterface(0x1209, 0x0001));

    Bytes image(100);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
    EXPECT_TRUE(f.Cmd().StartFirmwareUpgrade());
    EXPECT_TRUE(f.Cmd().SendFirmware(image.data(), image.size()));
    EXPECT_TRUE(f.Cmd().EndFirmwareUpgrade());

    const auto sent = UpgradeRequests(f);
    ASSERT_EQ(sent.size(), 5u);
    Bytes start(64, 0xFF), end(64, 0xFF);
    const uint8_t startHead[] = {0x05, 0x02, 0x02, 0x00, 0x01}, endHead[] = {0x05, 0x02, 0x06, 0x00, 0x02};
    std::copy(startHead, startHead + 5, start.begin());
    std::copy(endHead, endHead + 5, end.begin());
    EXPECT_EQ(ToHex(sent[0]), ToHex(start));
    EXPECT_EQ(ToHex(sent[4]), ToHex(end));

    // Full packets: byte 2 = 60, sub-blocks 0-2 and 3-5 at 4, 24, 44; the last: one sub-block, block 6.
    for (int p = 0; p < 2; ++p) {
        const Bytes& b = sent[1 + p];
        EXPECT_EQ(ToHex(Bytes(b.begin(), b.begin() + 4)), "05 02 3C 00 ");
        for (int s = 0; s < 3; ++s) {
            const size_t at = 4 + 20 * s;
            const int block = 3 * p + s;
            EXPECT_EQ(b[at], block);
            EXPECT_EQ(b[at + 1], 0);
            EXPECT_EQ(Bytes(b.begin() + at + 2, b.begin() + at + 18),
                      Bytes(image.begin() + 16 * block, image.begin() + 16 * block + 16));
            const uint16_t crc = FirmwareCrc16(&b[at], 18);
            EXPECT_EQ(b[at + 18], crc & 0xFF);
            EXPECT_EQ(b[at + 19], crc >> 8);
        }
    }
    const Bytes& last = sent[3];
    EXPECT_EQ(ToHex(Bytes(last.begin(), last.begin() + 10)), "05 02 14 00 06 00 60 61 62 63 ");
    EXPECT_EQ(Bytes(last.begin() + 10, last.begin() + 22), Bytes(12, 0xFF));
    EXPECT_EQ(Bytes(last.begin() + 24, last.end()), Bytes(40, 0xFF));

    // The mouse checked every sub-block's CRC and assembled the image.
    Bytes padded = image;
    padded.resize(112, 0xFF);
    EXPECT_EQ(f.Mouse().FirmwareImage(), padded);
    EXPECT_TRUE(f.sim->AllIssues().empty());
    // Progress after each full packet only: 90 * n / 2 + 10.
    std::vector<std::string> progress;
    for (const std::string& e : f.view.Events())
        if (e.rfind("progress", 0) == 0) progress.push_back(e);
    EXPECT_EQ(progress, (std::vector<std::string>{"progress 55", "progress 100"}));
}

TEST(FirmwareTransfer, LastPacketSizes) {
    struct Case {
        size_t size;
        size_t packets;
        uint8_t lastLength;
    };
    for (const Case c : {Case{48, 1, 0x3C}, Case{49, 2, 0x14}, Case{64, 2, 0x14}, Case{65, 2, 0x28},
                         Case{80, 2, 0x28}, Case{81, 2, 0x3C}, Case{95, 2, 0x3C}, Case{96, 2, 0x3C}}) {
        Bytes image(c.size, 0xAB);
        const auto packets = BuildFirmwarePackets(image.data(), image.size());
        ASSERT_EQ(packets.size(), c.packets) << c.size;
        EXPECT_EQ(packets.back()[2], c.lastLength) << c.size;
    }
}

TEST(FirmwareTransfer, StopsWhenAPacketIsRefused) {
    CoreFixture f("102:wired");
    f.Start();
    ASSERT_TRUE(f.manager->OpenUpgradeInterface(0x1209, 0x0001));
    f.Mouse().InjectFault({SimFaultKind::WriteFails, -1, -1, 0});
    Bytes image(200, 1);
    EXPECT_FALSE(f.Cmd().SendFirmware(image.data(), image.size()));
    f.Mouse().ClearFaults();
    for (const std::string& e : f.view.Events()) EXPECT_EQ(e.rfind("progress", 0), std::string::npos);
}

}  // namespace
}  // namespace quorvel::test
