// Discovery against the fake backend: which interfaces become records, how the model is decided, the
// trace lines, and what the device list and the views are told.

#include <gtest/gtest.h>

#include <algorithm>

#include "device/Discovery.h"
#include "device/TransportFake.h"

namespace quorvel {
namespace {

using test::Bytes;
using test::FakeBackend;
using test::FakeInterface;

DeviceEntry Mode(int type, int mode, int vid, int pid, const std::string& id) {
    DeviceEntry e;
    e.name = "Model " + std::to_string(type);
    e.device_type = type;
    e.mode = mode;
    e.vid = vid;
    e.pid = pid;
    e.dev_id = id;
    return e;
}

struct RecordingView : DiscoveryView {
    std::vector<std::string> events;
    void SetAllDeviceState(int s) override { events.push_back("all " + std::to_string(s)); }
    void SetDeviceState(int t, int m, int s) override {
        events.push_back("state " + std::to_string(t) + " " + std::to_string(m) + " " + std::to_string(s));
    }
    void SetDeviceBattery(int t, int s, int l) override {
        events.push_back("battery " + std::to_string(t) + " " + std::to_string(s) + " " + std::to_string(l));
    }
    void SetDeviceVersion(int t, uint32_t r) override {
        events.push_back("version " + std::to_string(t) + " " + std::to_string(r));
    }
    void DeviceSelected(int type) override { events.push_back("selected " + std::to_string(type)); }
    void ShowNoDeviceView(int title) override { events.push_back("no-device " + std::to_string(title)); }
    void ShowDeviceListView(int title) override { events.push_back("list " + std::to_string(title)); }
    void BringToFront() override { events.push_back("front"); }
    void CloseTransientWindows() override { events.push_back("close-popups"); }
    void ShowPermissionProblem(const HidPermissionProblem& p) override { events.push_back("permission " + p.path); }
};

class DiscoveryTest : public ::testing::Test {
protected:
    DiscoveryTest() {
        auto backend = std::make_unique<FakeBackend>();
        fake = backend.get();
        manager = std::make_unique<HidDeviceManager>(std::move(backend));
        manager->SetSleep([this](int ms) { pauses.push_back(ms); });
        DiscoveryHooks hooks;
        hooks.readDeviceType = [this] { return remembered; };
        hooks.writeDeviceType = [this](int t) { written.push_back(t); };
        hooks.loadDescriptor = [this](int t) { loaded.push_back(t); };
        hooks.trace = [this](const std::string& line) { trace.push_back(line); };
        discovery = std::make_unique<DeviceDiscovery>(*manager, &view, hooks);
    }

    FakeBackend* fake = nullptr;
    std::unique_ptr<HidDeviceManager> manager;
    std::unique_ptr<DeviceDiscovery> discovery;
    RecordingView view;
    int remembered = 0;
    std::vector<int> written, loaded, pauses;
    std::vector<std::string> trace;
};

TEST_F(DiscoveryTest, OneRecordPerProtocolInterfaceOfAReportFamilyMouse) {
    discovery->SetModes({Mode(101, 0, 0x1234, 0x5678, "AB01")});
    fake->Add(test::Plain(test::Info("/dev/kbd", 0x1234, 0x5678, 0x0001, 0x0006)));
    fake->Add(test::ReportMouse("/dev/mouse", 0x1234, 0x5678, "AB01", 1, 77));
    fake->Add(test::Plain(test::Info("/dev/upgrade", 0x1234, 0x5678, 0xFFEF, 0x0000)));
    fake->Add(test::ReportMouse("/dev/stranger", 0x9999, 0x5678, "AB01"));
    discovery->RefreshDevices();

    EXPECT_TRUE(manager->IsOpen());
    auto records = manager->Records();
    ASSERT_EQ(records.size(), 1u);
    const HidDeviceRecord& r = *records[0];
    EXPECT_EQ(r.path, "/dev/mouse");
    EXPECT_EQ(r.deviceType, 101);
    EXPECT_EQ(r.deviceId, "AB01");
    EXPECT_EQ(r.linkState, 1);
    EXPECT_EQ(r.linkMode, 0u);
    EXPECT_EQ(r.release, 0x0102u);
    EXPECT_EQ(r.batteryStatus, 1u);
    EXPECT_EQ(r.batteryLevel, 77u);
    EXPECT_EQ(fake->OpenHandles(), 1) << "keyboard and upgrade interfaces closed again";
    auto opened = fake->Opened();
    EXPECT_EQ(std::count(opened.begin(), opened.end(), "/dev/stranger"), 0) << "unknown products are not opened";

    const std::vector<std::string> expected = {
        "EnumerateDevice!",
        "EnumerateDevice UsagePage: 1, Usage: 6",
        "EnumerateDevice UsagePage: 1, Usage: 0",
        "Open hid Device Suc!",
        "EnumerateDevice!, GetDeviceId: AB01, GetDeviceType: 101",
        "EnumerateDevice vendor_id: 1234, product_id: 5678, dev_type: 65, dev_mode: 0",
        "EnumerateDevice UsagePage: FFEF, Usage: 0",
    };
    EXPECT_EQ(trace, expected);
}

TEST_F(DiscoveryTest, FeatureFamilyMouseWithItsNotificationInterface) {
    discovery->SetModes({Mode(301, 0, 0x2345, 0x0A01, "FE01")});
    fake->Add(test::Plain(test::Info("/dev/notify", 0x2345, 0x0A01, 0x0001, 0x0000)));
    fake->Add(test::FeatureMouse("/dev/vendor", 0x2345, 0x0A01, "fe01", 64, 3));
    discovery->RefreshDevices();

    auto records = manager->Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->path, "/dev/vendor");
    EXPECT_EQ(records[0]->deviceType, 301) << "device ids compare without case";
    EXPECT_EQ(records[0]->batteryLevel, 64u);
    EXPECT_EQ(records[0]->batteryStatus, 3u);
    EXPECT_NE(manager->NotifyHandle(), nullptr);
    EXPECT_EQ(fake->OpenHandles(), 2);
    manager->CloseAll();
    EXPECT_EQ(fake->OpenHandles(), 0);
}

TEST_F(DiscoveryTest, ModelIsDecidedByTheDeviceId) {
    struct Case {
        const char* name;
        std::vector<DeviceEntry> modes;
        FakeInterface mouse;
        int type;
        uint32_t linkMode;
    };
    const Case cases[] = {
        {"two models behind one receiver: the second",
         {Mode(101, 1, 0x1234, 0x5678, "AB01"), Mode(102, 1, 0x1234, 0x5678, "AB02")},
         test::ReportMouse("/dev/a", 0x1234, 0x5678, "AB02"), 102, 1},
        {"link mode from the first entry of the pair",
         {Mode(101, 1, 0x1234, 0x5678, "AB01"), Mode(102, 0, 0x1234, 0x5678, "AB02")},
         test::ReportMouse("/dev/b", 0x1234, 0x5678, "AB02"), 102, 1},
        {"feature family, id matching no entry",
         {Mode(301, 0, 0x2345, 0x0001, "FE01")},
         test::FeatureMouse("/dev/c", 0x2345, 0x0001, "FE99"), 0, 0},
        {"type 200 speaks feature reports at discovery",
         {Mode(200, 0, 0x2345, 0x0002, "FE02")},
         test::FeatureMouse("/dev/d", 0x2345, 0x0002, "FE02"), 200, 0},
    };
    for (const Case& c : cases) {
        manager->SetOpen(true);
        manager->CloseAll();
        fake->UnplugAll();
        fake->Add(c.mouse);
        discovery->SetModes(c.modes);
        discovery->RefreshDevices();
        auto records = manager->Records();
        ASSERT_EQ(records.size(), 1u) << c.name;
        EXPECT_EQ(records[0]->deviceType, c.type) << c.name;
        EXPECT_EQ(records[0]->linkMode, c.linkMode) << c.name;
        EXPECT_EQ(records[0]->linkState, 1) << c.name;
    }
}

TEST_F(DiscoveryTest, UnreadableInfoBlockLeavesAnUnidentifiedRecord) {
    discovery->SetModes({Mode(101, 0, 0x1234, 0x5678, "AB01")});
    FakeInterface silent = test::Plain(test::Info("/dev/mouse", 0x1234, 0x5678, 0x0001, 0x0000));
    fake->Add(silent);
    discovery->RefreshDevices();
    auto records = manager->Records();
    ASSERT_EQ(records.size(), 1u) << "listed although the info block could not be read";
    EXPECT_EQ(records[0]->deviceType, 0);
    EXPECT_EQ(records[0]->linkState, 0);
    EXPECT_EQ(pauses, std::vector<int>{100}) << "one retry after 100 ms";
    size_t writes = 0;
    for (const auto& op : fake->Ops()) writes += op.op == "write";
    EXPECT_EQ(writes, 2u);
    EXPECT_EQ(trace.back(), "EnumerateDevice vendor_id: 1234, product_id: 5678, dev_type: 0, dev_mode: 0");
}

TEST_F(DiscoveryTest, UnplugDuringAPassLeavesNothingToTalkTo) {
    discovery->SetModes({Mode(101, 0, 0x1234, 0x5678, "AB01")});
    fake->Add(test::ReportMouse("/dev/mouse", 0x1234, 0x5678, "AB01"));
    fake->SetBeforeOp([this](const std::string& op) {
        if (op == "write") fake->UnplugAll();  // gone between enumeration and the info request
    });
    remembered = 101;
    discovery->RefreshDevices();
    discovery->ReloadDeviceList();
    fake->SetBeforeOp(nullptr);
    EXPECT_EQ(manager->RecordCount(), 0u) << "the reload no longer sees the mouse";
    EXPECT_FALSE(manager->HasOnlineDevice(101));
    EXPECT_EQ(manager->CurrentLinkKind(), -1);
    uint8_t buffer[65] = {0x00, 0x12};
    EXPECT_FALSE(manager->Transact(buffer, 33));
    EXPECT_FALSE(discovery->Polling());
    EXPECT_EQ(view.events.back(), "close-popups");
}

TEST_F(DiscoveryTest, UnplugAfterEnumerationKeepsAnUnidentifiedRecord) {
    manager->AddProduct(0x1234, 0x5678, 101, 0, "AB01");
    fake->Add(test::ReportMouse("/dev/mouse", 0x1234, 0x5678, "AB01"));
    fake->SetBeforeOp([this](const std::string& op) {
        if (op == "write") fake->UnplugAll();
    });
    EXPECT_EQ(discovery->EnumerateDevice(), 0);
    auto records = manager->Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->deviceType, 0);
    manager->SetOpen(true);
    manager->SetSelectedDeviceType(101);
    uint8_t buffer[65] = {};
    EXPECT_FALSE(manager->Transact(buffer, 33));
}

TEST_F(DiscoveryTest, PermissionProblemIsReportedForProtocolInterfacesOnly) {
    discovery->SetModes({Mode(101, 0, 0x1234, 0x5678, "AB01")});
    FakeInterface mouse = test::ReportMouse("/dev/hidraw3", 0x1234, 0x5678, "AB01");
    mouse.openError = HidOpenError::Permission;
    FakeInterface keyboard = test::Plain(test::Info("/dev/hidraw2", 0x1234, 0x5678, 0x0001, 0x0006));
    keyboard.openError = HidOpenError::Permission;
    fake->Add(keyboard);
    fake->Add(mouse);
    discovery->RefreshDevices();
    discovery->ReloadDeviceList();

    auto problems = discovery->PermissionProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].path, "/dev/hidraw3");
    EXPECT_EQ(problems[0].deviceType, 101);
    EXPECT_NE(problems[0].message.find("/dev/hidraw3"), std::string::npos);
    EXPECT_NE(problems[0].message.find("70-quorvel.rules"), std::string::npos);
    EXPECT_EQ(std::count(view.events.begin(), view.events.end(), "permission /dev/hidraw3"), 1);
    EXPECT_NE(std::find(trace.begin(), trace.end(), "EnumerateDevice open denied: /dev/hidraw3"), trace.end());
    EXPECT_EQ(manager->RecordCount(), 0u);
}

TEST_F(DiscoveryTest, ReloadFeedsTheListAndChoosesTheView) {
    struct Case {
        const char* name;
        std::vector<FakeInterface> interfaces;
        int remembered;
        int requested;  // the front end's model; 0: discovery's own choice
        std::vector<std::string> events;
        bool polling;
        int selected;
    };
    const Case cases[] = {
        {"no device", {}, 101, 0, {"all 0", "no-device 50", "close-popups"}, false, 0},
        {"wired mouse, remembered",
         {test::ReportMouse("/dev/w", 0x1234, 0x5678, "AB01", 1, 90)},
         101,
         0,
         {"all 0", "state 101 0 1", "battery 101 1 90", "version 101 258", "selected 101", "list 51", "front",
          "close-popups"},
         true,
         101},
        {"receiver only, another model remembered",
         {test::ReportMouse("/dev/r", 0x1234, 0x6666, "AB02", 0, 40)},
         101,
         0,
         {"all 0", "state 102 1 1", "battery 102 0 40", "version 102 258", "selected 102", "list 52", "front",
          "close-popups"},
         true,
         102},
        {"a requested model that is not there",
         {test::ReportMouse("/dev/r", 0x1234, 0x6666, "AB02", 0, 40)},
         0,
         101,
         {"all 0", "state 102 1 1", "battery 102 0 40", "version 102 258", "selected 101", "no-device 50",
          "close-popups"},
         true,
         101},
        {"only an unidentified mouse",
         {test::ReportMouse("/dev/x", 0x1234, 0x5678, "ZZZZ")},
         0,
         0,
         {"all 0", "no-device 50", "close-popups"},
         true,
         0},
    };
    for (const Case& c : cases) {
        fake->UnplugAll();
        for (const auto& i : c.interfaces) fake->Add(i);
        discovery->SetModes({Mode(101, 0, 0x1234, 0x5678, "AB01"), Mode(102, 1, 0x1234, 0x6666, "AB02")});
        discovery->SetSelectedDeviceType(0);
        discovery->SetPolling(!c.polling);
        remembered = c.remembered;
        discovery->SetRequestedDeviceType(c.requested);
        view.events.clear();
        written.clear();
        loaded.clear();
        discovery->RefreshDevices();
        discovery->ReloadDeviceList();
        EXPECT_EQ(view.events, c.events) << c.name;
        EXPECT_EQ(discovery->Polling(), c.polling) << c.name;
        EXPECT_EQ(discovery->SelectedDeviceType(), c.selected) << c.name;
        bool chose = c.selected != 0;
        EXPECT_EQ(written, chose ? std::vector<int>{c.selected} : std::vector<int>{}) << c.name;
        EXPECT_EQ(loaded, chose ? std::vector<int>{c.selected} : std::vector<int>{}) << c.name;
        EXPECT_EQ(manager->SelectedDeviceType(), c.selected ? c.selected : c.remembered) << c.name;
    }
}

TEST_F(DiscoveryTest, RefreshLoadsTheSelectedModelsDescriptor) {
    discovery->SetModes({Mode(101, 0, 0x1234, 0x5678, "AB01")});
    discovery->RefreshDevices();
    EXPECT_TRUE(loaded.empty()) << "nothing selected yet";
    discovery->SetSelectedDeviceType(101);
    discovery->RefreshDevices();
    EXPECT_EQ(loaded, std::vector<int>{101});
    EXPECT_EQ(manager->Products().size(), 1u) << "the product table is rebuilt, not appended to";
}

TEST(DiscoveryDeviceId, FromTheInfoBlock) {
    struct Case {
        const char* name;
        bool feature;
        std::vector<uint8_t> id;  // the four id bytes
        std::string expected;
    };
    const Case cases[] = {
        {"report family", false, {'A', 'B', '0', '1'}, "AB01"},
        {"feature family", true, {'F', 'E', '0', '1'}, "FE01"},
        {"stops at a zero byte", false, {'A', 'B', 0, '1'}, "AB"},
        {"bytes above 0x7F are characters of their own", false, {0xE9, 'A', 'B', 'C'}, "\xC3\xA9" "ABC"},
    };
    for (const Case& c : cases) {
        uint8_t info[65] = {};
        std::copy(c.id.begin(), c.id.end(), info + (c.feature ? 8 : 4));
        EXPECT_EQ(DeviceIdFromInfo(info, c.feature), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace quorvel
