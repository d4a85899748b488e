// Hot-plug: the path matching that queues refreshes and reloads, the mouse-interface test, the watcher,
// and the udev side (sysfs paths, report descriptors, start and stop).

#include <gtest/gtest.h>

#include <mutex>

#include "device/HidapiBackend.h"
#include "device/Hotplug.h"
#include "device/TransportFake.h"
#include "platform/UdevMonitor.h"

namespace quorvel {
namespace {

struct RecordingSink : TaskSink {
    std::mutex mutex;
    std::vector<int> tasks;
    uint64_t QueueTask(const DeviceTaskRequest& request) override {
        std::lock_guard<std::mutex> lock(mutex);
        tasks.push_back(request.code);
        return tasks.size();
    }
};

DeviceEntry Mode(int type, int vid, int pid) {
    DeviceEntry e;
    e.device_type = type;
    e.vid = vid;
    e.pid = pid;
    return e;
}

TEST(HotplugMatching, UpdateUSBDeviceRules) {
    const std::vector<DeviceEntry> modes = {Mode(101, 0x1234, 0x0ABC), Mode(102, 0x1234, 0x5678)};
    struct Case {
        const char* name;
        int event;
        const char* path;
        bool mouse;    // what IsMouseInterface answers
        bool polling;
        int task;
    };
    const Case cases[] = {
        {"arrival of the mouse interface", kDeviceArrival, R"(\\?\HID#VID_1234&PID_5678&MI_02#7&1a2b#{4d1e55b2})",
         true, false, kTaskRefresh},
        {"arrival, lower-case path", kDeviceArrival, R"(\\?\hid#vid_1234&pid_5678&mi_02#7&1a2b)", true, false,
         kTaskRefresh},
        {"product id below 0x1000 with its leading zero", kDeviceArrival, "HID#VID_1234&PID_0ABC&MI_00#x", true, false,
         kTaskRefresh},
        {"product id without the leading zero is not ours", kDeviceArrival, "HID#VID_1234&PID_ABC&MI_00#x", true,
         false, 0},
        {"arrival of another interface of a known product", kDeviceArrival, "HID#VID_1234&PID_5678&MI_00#x", false,
         false, 0},
        {"arrival of an unknown product", kDeviceArrival, "HID#VID_4321&PID_5678&MI_02#x", true, false, 0},
        {"removal of interface 2 while polling", kDeviceRemoveComplete, "HID#VID_1234&PID_5678&MI_02#x", false,
         true, kTaskReload},
        {"removal of interface 2, lower case", kDeviceRemoveComplete, "hid#vid_1234&pid_0abc&mi_02#x", false, true,
         kTaskReload},
        {"removal while not polling", kDeviceRemoveComplete, "HID#VID_1234&PID_5678&MI_02#x", false, false, 0},
        {"removal of another interface", kDeviceRemoveComplete, "HID#VID_1234&PID_5678&MI_01#x", false, true, 0},
        {"removal without interface number", kDeviceRemoveComplete, "HID#VID_1234&PID_5678#x", false, true, 0},
        {"other device-change events", 0x0007, "HID#VID_1234&PID_5678&MI_02#x", true, true, 0},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        std::vector<std::string> trace;
        HotplugContext context;
        context.modes = &modes;
        context.polling = c.polling;
        context.sink = &sink;
        context.isMouseInterface = [&](const std::string&) { return c.mouse; };
        context.trace = [&](const std::string& line) { trace.push_back(line); };
        EXPECT_EQ(UpdateUSBDevice(c.event, c.path, context), c.task) << c.name;
        EXPECT_EQ(sink.tasks, c.task ? std::vector<int>{c.task} : std::vector<int>{}) << c.name;
        std::string upper = c.path;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_EQ(trace, std::vector<std::string>{"UpdateUSBDevice path: " + upper}) << c.name;
    }
}

TEST(HotplugMatching, OnlyTheFirstMatchingEntryIsAsked) {
    // Both entries match the path; the first one asks the interface and decides alone.
    const std::vector<DeviceEntry> modes = {Mode(101, 0x1234, 0x5678), Mode(102, 0x1234, 0x5678)};
    RecordingSink sink;
    int asked = 0;
    HotplugContext context;
    context.modes = &modes;
    context.sink = &sink;
    context.isMouseInterface = [&](const std::string&) { return ++asked > 1; };
    context.trace = [](const std::string&) {};
    EXPECT_EQ(UpdateUSBDevice(kDeviceArrival, "HID#VID_1234&PID_5678&MI_00#x", context), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(sink.tasks.empty());
}

TEST(HotplugMouseInterface, FromTheEventOrTheEnumeration) {
    test::FakeBackend backend;
    backend.Add(test::Plain(test::Info("/dev/hidraw3", 0x1234, 0x5678, 0x0001, 0x0000)));
    backend.Add(test::Plain(test::Info("/dev/hidraw4", 0x1234, 0x5678, 0x0001, 0x0006)));
    struct Case {
        const char* name;
        const char* path;
        uint16_t page, usage;
        bool expected;
    };
    const Case cases[] = {
        {"event says 0x0001/0x0000", "HID#VID_1234&PID_5678&MI_02#/dev/hidraw9", 0x0001, 0x0000, true},
        {"event says keyboard", "HID#VID_1234&PID_5678&MI_00#/dev/hidraw3", 0x0001, 0x0006, false},
        {"event says vendor page", "HID#VID_1234&PID_5678&MI_01#/dev/hidraw3", 0xFF00, 0x0001, false},
        {"looked up: the mouse node", "HID#VID_1234&PID_5678&MI_02#/dev/hidraw3", 0, 0, true},
        {"looked up: the keyboard node", "HID#VID_1234&PID_5678&MI_00#/dev/hidraw4", 0, 0, false},
        {"looked up: a longer node name is another node", "HID#VID_1234&PID_5678&MI_02#/dev/hidraw33", 0, 0, false},
        {"looked up: gone", "HID#VID_1234&PID_5678&MI_02#/dev/hidraw7", 0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsMouseInterface(&backend, c.path, c.page, c.usage), c.expected) << c.name;
    }
}

TEST(HotplugWatcherTest, BackendEventsQueueTasks) {
    test::FakeBackend backend;
    RecordingSink sink;
    bool polling = true;
    HotplugWatcher watcher(&backend, &sink, [&] { return polling; });
    watcher.SetTrace([](const std::string&) {});
    watcher.SetModes({Mode(101, 0x1234, 0x5678)});
    watcher.Start();
    HidHotplugCallback deliver = backend.Watcher();
    ASSERT_TRUE(deliver);
    deliver({true, "virtual:HID#VID_1234&PID_5678&MI_02#0", 0x0001, 0x0000});
    deliver({true, "virtual:HID#VID_1234&PID_5678&MI_00#0", 0x0001, 0x0006});
    deliver({false, "virtual:HID#VID_1234&PID_5678&MI_02#0", 0, 0});
    polling = false;
    deliver({false, "virtual:HID#VID_1234&PID_5678&MI_02#0", 0, 0});
    EXPECT_EQ(sink.tasks, (std::vector<int>{kTaskRefresh, kTaskReload}));
    watcher.Stop();
    EXPECT_FALSE(backend.Watcher()) << "stopping hands the backend an empty callback";
}

// ---- the udev side ----

TEST(HotplugUdev, PathTextFromSysfs) {
    struct Case {
        const char* devpath;
        bool ok;
        uint16_t vid, pid;
        int interfaceNumber;
        const char* text;
    };
    const Case cases[] = {
        {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.2/0003:046D:0A1B.0005/hidraw/hidraw3", true, 0x046D,
         0x0A1B, 2, "VID_046D&PID_0A1B&MI_02"},
        {"/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.3/1-4.3:1.0/0003:1234:00AB.0010/hidraw/hidraw0", true,
         0x1234, 0x00AB, 0, "VID_1234&PID_00AB&MI_00"},
        {"/devices/virtual/misc/uhid/0003:1234:5678.0001/hidraw/hidraw1", true, 0x1234, 0x5678, -1,
         "VID_1234&PID_5678"},
        {"/devices/pci0000:00/usb1/1-2/1-2:1.11/0003:abcd:ef01.0002/hidraw/hidraw2", true, 0xABCD, 0xEF01, 11,
         "VID_ABCD&PID_EF01&MI_0B"},
        {"/devices/platform/i8042/serio0/input/input3", false, 0, 0, -1, ""},
        {"/devices/x/0003:12345:5678.0001/hidraw/hidraw1", false, 0, 0, -1, ""},
    };
    for (const Case& c : cases) {
        uint16_t vid = 0, pid = 0;
        int number = 99;
        ASSERT_EQ(ParseHidrawDevpath(c.devpath, &vid, &pid, &number), c.ok) << c.devpath;
        if (!c.ok) continue;
        EXPECT_EQ(vid, c.vid) << c.devpath;
        EXPECT_EQ(pid, c.pid) << c.devpath;
        EXPECT_EQ(number, c.interfaceNumber) << c.devpath;
        EXPECT_EQ(HidIdText(vid, pid, number), c.text) << c.devpath;
    }
}

TEST(HotplugUdev, TopLevelUsagesOfReportDescriptors) {
    using Pairs = std::vector<HidUsagePair>;
    struct Case {
        const char* name;
        std::vector<uint8_t> descriptor;
        Pairs expected;
    };
    const Case cases[] = {
        {"vendor collection", {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x02, 0xA1, 0x00, 0xC0, 0xC0},
         Pairs{{0xFF00, 0x0001}}},
        {"generic desktop usage 0", {0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x15, 0x00, 0xC0}, Pairs{{0x0001, 0x0000}}},
        {"two top-level collections, nested ones ignored",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0xC0, 0xC0,  // mouse
          0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0},                               // consumer control
         Pairs{{0x0001, 0x0002}, {0x000C, 0x0001}}},
        {"extended usage carries its page", {0x05, 0x01, 0x0B, 0x01, 0x00, 0xEF, 0xFF, 0xA1, 0x01, 0xC0},
         Pairs{{0xFFEF, 0x0001}}},
        {"push and pop restore the page",
         {0x05, 0x01, 0xA4, 0x05, 0x0C, 0xB4, 0x09, 0x06, 0xA1, 0x01, 0xC0}, Pairs{{0x0001, 0x0006}}},
        {"truncated item stops the walk", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0x06, 0x00}, Pairs{{1, 2}}},
        {"collection without a usage is not listed", {0x05, 0x01, 0xA1, 0x01, 0xC0}, Pairs{}},
        {"long item skipped", {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0xC0},
         Pairs{{1, 0}}},
        {"empty", {}, Pairs{}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TopLevelUsages(c.descriptor.data(), c.descriptor.size()), c.expected) << c.name;
    }
}

TEST(HotplugUdev, EventPrefersTheMouseCollection) {
    UdevHidEvent e;
    e.arrival = true;
    e.pathText = "HID#VID_1234&PID_5678&MI_02#/dev/hidraw3";
    e.usages = {{0x0001, 0x0002}, {0x0001, 0x0000}};
    HidHotplugEvent out = HotplugEventFromUdev(e);
    EXPECT_TRUE(out.arrival);
    EXPECT_EQ(out.path, e.pathText);
    EXPECT_EQ(out.usagePage, 0x0001);
    EXPECT_EQ(out.usage, 0x0000);
    e.usages = {{0xFF00, 0x0001}, {0x000C, 0x0001}};
    out = HotplugEventFromUdev(e);
    EXPECT_EQ(out.usagePage, 0xFF00);
    e.usages.clear();
    out = HotplugEventFromUdev(e);
    EXPECT_EQ(out.usagePage, 0) << "unknown usage: IsMouseInterface looks it up";
}

TEST(HotplugUdev, MonitorStartsAndStops) {
    UdevMonitor monitor;
    std::string error;
    if (!monitor.Start([](const UdevHidEvent&) {}, &error)) {
        GTEST_SKIP() << "no udev monitor here: " << error;
    }
    EXPECT_TRUE(monitor.Running());
    monitor.Stop();
    EXPECT_FALSE(monitor.Running());
    monitor.Stop();
    ASSERT_TRUE(monitor.Start([](const UdevHidEvent&) {}, &error)) << "restartable";
}  // the destructor stops it

}  // namespace
}  // namespace quorvel
