// Reports the mouse sends on its own: DPI switches, link state, battery.

#include <thread>

#include "DeviceMainFixture.h"
#include "device/Notifications.h"
#include "device/Tasks.h"

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> Containing(const std::vector<std::string>& all, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& e : all)
        if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
}

TEST(ReportNotifications, DpiStateStoresCountAndLevel) {
    CoreFixture f("102:wired");
    f.Start();
    f.core->SetDpiLevelState(5, 1);
    f.Set("dpi_group3_value", "3200");
    // C2 31: one level, level 3 active; both are stored although the level lies beyond the count.
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC2, 0x31});
    f.core->HandleReportNotifications();
    EXPECT_EQ(f.Get("dpi_count"), "1");
    EXPECT_EQ(f.Get("dpi_index"), "3");
    EXPECT_EQ(f.core->Snapshot().dpiLevelCount, 1);
    EXPECT_EQ(f.core->Snapshot().dpiLevelSelected, 3);
    EXPECT_EQ(f.view.Events(), (std::vector<std::string>{"count 1", "level 3 3200"}));
    EXPECT_EQ(f.Traces(), std::vector<std::string>{"mouse notify data: C2 31 00 00 00 00"});
    EXPECT_TRUE(f.Take().empty());  // nothing goes back to the mouse

    // The same report again changes nothing and only writes the trace line.
    f.ClearTraces();
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC2, 0x31});
    f.core->HandleReportNotifications();
    EXPECT_EQ(f.view.Events().size(), 2u);
    EXPECT_EQ(f.Traces(), std::vector<std::string>{"mouse notify data: C2 31 00 00 00 00"});
}

TEST(ReportNotifications, DpiButtonOnTheMouse) {
    CoreFixture f("102:wired");
    f.Start();
    f.core->SetDpiLevelState(f.Mouse().Memory().dpiCount, f.Mouse().Memory().dpiIndex);
    f.Mouse().PressDpiButton();
    f.core->HandleReportNotifications();
    EXPECT_EQ(f.Get("dpi_index"), std::to_string(f.Mouse().Memory().dpiIndex));
    EXPECT_EQ(Containing(f.view.Events(), "level").size(), 1u);
}

TEST(ReportNotifications, OtherTypeIsOnlyLogged) {
    CoreFixture f("102:wired;103:wired");
    f.Start();
    f.core->SetDpiLevelState(5, 1);
    const int current = f.core->CurrentDeviceType();
    const size_t other = current == 102 ? 1 : 0;
    f.Mouse(other).QueueInputReport(SimInterface::Mouse, {0xC2, 0x23});
    f.core->HandleReportNotifications();
    EXPECT_TRUE(f.view.Events().empty());
    EXPECT_EQ(f.Traces().size(), 1u);
    EXPECT_EQ(f.core->Snapshot().dpiLevelSelected, 1);
}

// A connect report on a link that is already up is how the family reports the battery: nothing is read
// again, no view changes, no pop-up closes; without a battery level it changes nothing at all.
TEST(ReportNotifications, AConnectReportOnALinkThatIsUpIsNoReconnect) {
    CoreFixture f("103:wireless");
    f.Start();
    f.Take();
    const size_t before = f.view.Events().size();
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC0, 0x01, 0x00, 0x00});
    f.core->HandleReportNotifications();
    EXPECT_EQ(f.view.Events().size(), before);
    EXPECT_TRUE(f.Take().empty()) << "the mouse is not read again";
    EXPECT_TRUE(f.core->Snapshot().connected);
    EXPECT_EQ(f.Traces().front(), "mouse notify data: C0 01 00 00 00 00");
    EXPECT_EQ(f.Traces()[1], "上报dongle和设备的连接状态: 0");

    f.Mouse().SetBattery(35, 1);
    f.core->HandleReportNotifications();
    const auto events = f.view.Events();
    EXPECT_TRUE(Containing(events, "connected").empty());
    EXPECT_EQ(Containing(events, "battery").back(), "battery 35 1");
    EXPECT_TRUE(f.Take().empty());
}

TEST(ReportNotifications, BatteryReportUpdatesTheCurrentDevice) {
    CoreFixture f("103:wireless");
    f.Start();
    f.core->ForgetReadDevices();
    f.Mouse().SetBattery(35, 1);
    f.core->HandleReportNotifications();
    EXPECT_EQ(Containing(f.view.Events(), "battery").back(), "battery 35 1");
    EXPECT_EQ(f.core->Snapshot().batteryLevel, 35);
}

TEST(ReportNotifications, LinkLostOnTheReceiverLeavesTheCableAlone) {
    CoreFixture f("103:wired;103:wireless");
    f.Start();
    auto stateOf = [&](uint32_t linkMode) {
        for (const HidDeviceSummary& r : f.manager->Snapshot())
            if (r.deviceType == 103 && r.linkMode == linkMode) return r.linkState;
        return -1;
    };
    ASSERT_EQ(stateOf(0), 1);
    ASSERT_EQ(stateOf(1), 1);
    // Disconnect, then the receiver's report that the selected-device poll reads.
    f.Mouse(1).QueueInputReport(SimInterface::Mouse, {0xC0, 0x00, 0x00, 0x00});
    f.Mouse(1).QueueInputReport(SimInterface::Mouse, {0xC0, 0x00, 0x00, 0x00});
    f.core->HandleReportNotifications();
    EXPECT_EQ(stateOf(1), 2);
    EXPECT_EQ(stateOf(0), 1);
    EXPECT_FALSE(f.core->Snapshot().connected);
    EXPECT_EQ(Containing(f.view.Events(), "lost"), std::vector<std::string>{"lost 1"});
    // Commands keep going to the cable.
    f.Take(0);
    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::None);
    EXPECT_EQ(f.Take(0).size(), 1u);
    EXPECT_TRUE(f.Take(1).empty());
}

TEST(ReportNotifications, ReconnectReadsTheConfigurationBack) {
    CoreFixture f("103:wireless,link=0");
    EXPECT_EQ(f.Execute(kTaskStart), TaskStatus::Failed);  // the mouse is off
    f.Take();
    EXPECT_NE(f.Cmd().WriteReportRate(), DeviceError::None);  // the receiver cannot reach the mouse
    f.Take();

    MouseMemory m = f.Mouse().Memory();
    m.reportRate = 8;
    m.liftoff = 2;
    f.Mouse().SetMemory(m);
    f.Mouse().SetLink(true);  // the receiver reports C0 01
    f.core->HandleReportNotifications();

    std::vector<int> commands;
    for (const Bytes& b : f.Take()) commands.push_back(b[1]);
    EXPECT_EQ(commands, (std::vector<int>{0x10, 0x11, 0x12, 0x13, 0x13, 0x14, 0x15, 0x16, 0x17, 0x20}));
    EXPECT_EQ(f.Get("report_rate"), "8");
    EXPECT_EQ(f.Get("liftoff_height"), "2");
    const DeviceState s = f.core->Snapshot();
    EXPECT_TRUE(s.connected);
    EXPECT_EQ(s.linkFlag, 1);
    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::None);
}

// A record discovery could not identify (no info block) is identified by its connect report: the poll
// reports the type read then, not the 0 it had before.
TEST(ReportNotifications, ConnectReportGivesTheTypeReadAtReconnect) {
    CoreFixture f("103:wireless");
    f.Mouse().InjectFault({SimFaultKind::NoReply, 0x10, -1});  // every info request of discovery
    f.Execute(kTaskStart);
    const std::vector<HidDeviceSummary> before = f.manager->Snapshot();
    ASSERT_EQ(before.size(), 1u);
    ASSERT_EQ(before[0].deviceType, 0);
    f.Mouse().ClearFaults();

    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC0, 0x01, 0x00, 0x00});
    uint8_t report[kNotifyBufferSize] = {};
    int type = -1;
    ASSERT_TRUE(PollReportFamily(*f.manager, report, &type, [](int) {}));
    EXPECT_EQ(type, 103);
    const std::vector<HidDeviceSummary> after = f.manager->Snapshot();
    EXPECT_EQ(after[0].deviceType, 103);
    EXPECT_EQ(after[0].linkState, 1);
}

TEST(ReportNotifications, WorkerPollsOnlyWhileADeviceIsPresent) {
    CoreFixture f("102:wired");
    f.core->StartWorker();
    ASSERT_TRUE(f.Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteReportRate), 5s).ok());
    f.core->SetDpiLevelState(5, 1);
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC2, 0x25});
    for (int i = 0; i < 500 && f.Get("dpi_index") != "2"; ++i) std::this_thread::sleep_for(2ms);
    EXPECT_EQ(f.Get("dpi_index"), "2");
    EXPECT_TRUE(f.Worker().StopWorker());
}

TEST(FeatureNotifications, DpiLevelFromTheLowNibble) {
    CoreFixture f("201:wired");
    f.Start();
    f.core->SetDpiLevelState(5, 0);
    f.Set("dpi_group2_value", "2400");
    // 05 06 x x 03: level 2 (the nibble counts from 1).
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0x05, 0x06, 0x00, 0x00, 0x03});
    f.core->HandleFeatureNotifications();
    EXPECT_EQ(f.Get("dpi_index"), "2");
    EXPECT_EQ(f.view.Events(), std::vector<std::string>{"level 2 2400"});
    EXPECT_EQ(f.Traces(), std::vector<std::string>{"mouse notify data: 05 06 00 00 03 00"});

    // The same level again, and a nibble of 0 (no level), change nothing.
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0x05, 0x06, 0x00, 0x00, 0x03});
    f.core->HandleFeatureNotifications();
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0x05, 0x06, 0x00, 0x00, 0x00});
    f.core->HandleFeatureNotifications();
    EXPECT_EQ(f.view.Events().size(), 1u);
    EXPECT_EQ(f.Get("dpi_index"), "2");
}

TEST(FeatureNotifications, LinkStateFollowsTheReport) {
    CoreFixture f("201:wireless");
    f.Start();
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC0, 0x00});
    f.core->HandleFeatureNotifications();
    EXPECT_FALSE(f.manager->HasOnlineDevice(201));
    f.Mouse().QueueInputReport(SimInterface::Mouse, {0xC0, 0x01});
    f.core->HandleFeatureNotifications();
    EXPECT_TRUE(f.manager->HasOnlineDevice(201));
}

}  // namespace
}  // namespace quorvel::test
