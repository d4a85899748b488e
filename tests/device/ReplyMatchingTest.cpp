// A reply answers only the request whose command it echoes: reports the mouse sends on its own and late
// replies of earlier requests reach the notification handling instead of being taken for an answer.

#include <algorithm>

#include "DeviceMainFixture.h"

namespace quorvel::test {
namespace {

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The mouse answers a write only after the client gave up on it; that late reply must not be read as the
// answer of the read-back's first request and shift every later setting by one reply.
TEST(ReplyMatching, LateReplyDoesNotShiftTheReadBack) {
    CoreFixture f("102:wired");
    f.Start();
    f.Mouse().InjectFault({SimFaultKind::LateReply, 0x02, 1});
    f.Set("report_rate", "8");
    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::NoReply);
    ASSERT_EQ(f.Mouse().Memory().reportRate, 8) << "carried out all the same";

    f.Set("report_rate", "2");
    f.Set("liftoff_height", "1");
    MouseMemory m = f.Mouse().Memory();
    m.liftoff = 2;
    m.sleep = 60;
    f.Mouse().SetMemory(m);
    f.core->ForgetReadDevices();
    EXPECT_EQ(f.Cmd().ReadDeviceConfig(), DeviceError::None);
    EXPECT_EQ(f.Get("report_rate"), "8");
    EXPECT_EQ(f.Get("dpi_count"), std::to_string(m.dpiCount));
    EXPECT_EQ(f.Get("liftoff_height"), "2");
    EXPECT_EQ(f.Get("sleep_light"), "60");

    // The late reply is traced by the notification handling and otherwise ignored.
    f.core->HandleReportNotifications();
    EXPECT_TRUE(Contains(f.Traces(), "mouse notify data: 02 00 00 00 00 00"));
    EXPECT_TRUE(f.Mouse().Issues().empty());
}

// The mouse answers a read only after the client gave up on it, before the next request goes out. The next
// read of the same setting gets the mouse's current value, byte for byte, not the stale answer; the stale
// one reaches the notification handling.
TEST(ReplyMatching, AReplyAfterItsTimeOutIsNotTheNextReply) {
    CoreFixture f("102:wired");
    f.Start();
    MouseMemory m = f.Mouse().Memory();
    m.reportRate = 8;
    f.Mouse().SetMemory(m);
    f.Mouse().InjectFault({SimFaultKind::HeldReply, 0x12, 1});
    Bytes first = Hex("00 12");
    DeviceError error = DeviceError::None;
    EXPECT_FALSE(f.manager->Transact(first.data(), first.size(), &error));
    EXPECT_EQ(error, DeviceError::NoReply);

    m.reportRate = 4;
    f.Mouse().SetMemory(m);
    ASSERT_TRUE(f.Mouse().ReleaseHeldReply());
    Bytes second = Hex("00 12");
    ASSERT_TRUE(f.manager->Transact(second.data(), second.size(), &error)) << DeviceErrorText(error);
    EXPECT_EQ(ToHex(second), ToHex(Hex("12 00 00 00 04")));
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{ToHex(WithChecksum(Hex("00 12"))),
                                                     ToHex(WithChecksum(Hex("00 12")))}));

    f.core->HandleReportNotifications();
    EXPECT_TRUE(Contains(f.Traces(), "mouse notify data: 12 00 00 00 08 00"));
    EXPECT_TRUE(f.Mouse().Issues().empty());
}

// A link-lost report that arrives while a write waits for its reply is not that reply; it still switches the
// view to "not connected" on the next poll.
TEST(ReplyMatching, LinkReportDuringARequestReachesTheNotifications) {
    CoreFixture f("103:wireless");
    f.Start();
    ASSERT_TRUE(f.core->Snapshot().connected);
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC0, 0x00, 0x00, 0x00});
    f.Set("report_rate", "4");
    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::None);
    EXPECT_EQ(f.Mouse().Memory().reportRate, 4);

    f.core->HandleReportNotifications();
    const std::vector<std::string> events = f.view.Events();
    EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                            [](const std::string& e) { return e.rfind("lost", 0) == 0; }));
    EXPECT_FALSE(f.core->Snapshot().connected);
    EXPECT_TRUE(Contains(f.Traces(), "mouse notify data: C0 00 00 00 00 00"));
    // Nothing of the write is left behind for the next poll.
    const size_t traces = f.Traces().size();
    f.core->HandleReportNotifications();
    EXPECT_EQ(f.Traces().size(), traces);
}

}  // namespace
}  // namespace quorvel::test
