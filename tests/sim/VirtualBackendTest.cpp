#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "SimTestUtil.h"

namespace quorvel {
namespace {

using simtest::Bytes;
using simtest::Request;

TEST(VirtualBackend, EachFamilyExposesItsInterfaces) {
    auto backend = simtest::MakeBackend("101;201:wireless");
    const struct {
        uint16_t pid;
        std::vector<std::tuple<uint16_t, uint16_t, int>> interfaces;  // usage page, usage, interface number
    } cases[] = {
        {0xFA70, {{0x0001, 0x0006, 0}, {0x0001, 0x0000, 2}, {0xFFEF, 0x0000, 3}}},
        {0xF58B, {{0x0001, 0x0006, 0}, {0xFF00, 0x0001, 1}, {0x0001, 0x0000, 2}, {0xFFEF, 0x0000, 3}}},
    };
    for (const auto& c : cases) {
        const std::vector<HidDeviceInfo> list = backend->Enumerate(0, c.pid);
        ASSERT_EQ(list.size(), c.interfaces.size()) << std::hex << c.pid;
        for (size_t i = 0; i < list.size(); ++i) {
            const auto& [page, usage, number] = c.interfaces[i];
            EXPECT_EQ(list[i].usagePage, page);
            EXPECT_EQ(list[i].usage, usage);
            EXPECT_EQ(list[i].interfaceNumber, number);
            EXPECT_EQ(list[i].release, 0x0105);
            char ids[40];
            std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X&MI_%02d", list[i].vendorId, c.pid, number);
            EXPECT_NE(list[i].path.find(ids), std::string::npos) << list[i].path;
        }
    }
    EXPECT_EQ(backend->Enumerate(0, 0).size(), 7u);
    EXPECT_EQ(backend->Enumerate(0x25A7, 0).size(), 3u);
    EXPECT_TRUE(backend->Enumerate(0x25A7, 0xF58B).empty());
    EXPECT_NE(backend->Enumerate(0, 0xF58B)[0].path, backend->Enumerate(0, 0xFA70)[0].path);
}

TEST(VirtualBackend, HandleCallsFollowHidapi) {
    auto backend = simtest::MakeBackend("101");
    VirtualMouse& mouse = backend->Mouse(0);
    HidOpenError error = HidOpenError::Other;
    HidHandle* handle = backend->Open(mouse.PathOf(SimInterface::Mouse), &error);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(error, HidOpenError::None);
    EXPECT_EQ(backend->ProductString(handle), "Alpha");
    uint16_t page = 9, usage = 9;
    backend->Usage(handle, &page, &usage);
    EXPECT_EQ(page, 0x0001);
    EXPECT_EQ(usage, 0x0000);

    uint8_t buffer[65] = {};
    EXPECT_EQ(backend->ReadTimeout(handle, buffer, sizeof buffer, 30), 0) << "nothing pending";
    const Bytes request = Request({0x00, 0x12});
    Bytes longRequest = request;
    longRequest.resize(65, 0);
    EXPECT_EQ(backend->Write(handle, longRequest.data(), longRequest.size()), 65);
    EXPECT_EQ(backend->ReadTimeout(handle, buffer, 8, 30), 8) << "a short buffer takes the start of the report";
    EXPECT_EQ(buffer[0], 0x12) << "report ID 0 is not delivered";

    EXPECT_EQ(backend->Open("virtual:HID#VID_0000&PID_0000&MI_02#9", &error), nullptr);
    EXPECT_EQ(error, HidOpenError::Gone);
    EXPECT_EQ(backend->Open(mouse.PathOf(SimInterface::Vendor), &error), nullptr) << "no vendor interface here";

    HidHandle* keyboard = backend->Open(mouse.PathOf(SimInterface::Keyboard));
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(backend->Write(keyboard, request.data(), request.size()), -1);
    EXPECT_EQ(mouse.Issues().size(), 1u) << "a command on the keyboard collection is a client fault";

    backend->Close(keyboard);
    backend->Close(handle);
    EXPECT_EQ(backend->Write(handle, request.data(), request.size()), -1) << "closed handles are refused";
}

TEST(VirtualBackend, HandlesSeeOnlyReportsAfterTheyOpened) {
    auto backend = simtest::MakeBackend("101");
    VirtualMouse& mouse = backend->Mouse(0);
    mouse.PressDpiButton();  // nobody listening: lost, as on the wire
    HidHandle* first = backend->Open(mouse.PathOf(SimInterface::Mouse));
    HidHandle* second = backend->Open(mouse.PathOf(SimInterface::Mouse));
    uint8_t buffer[65] = {};
    EXPECT_EQ(backend->ReadTimeout(first, buffer, sizeof buffer, 10), 0);
    mouse.PressDpiButton();
    EXPECT_EQ(backend->ReadTimeout(first, buffer, sizeof buffer, 10), 32);
    EXPECT_EQ(backend->ReadTimeout(second, buffer, sizeof buffer, 10), 32) << "each open handle gets its copy";
    EXPECT_EQ(buffer[1], 0x35) << "two presses from level 1";
}

TEST(VirtualBackend, UnplugAndReplug) {
    auto backend = simtest::MakeBackend("101;201");
    std::mutex mutex;
    std::vector<HidHotplugEvent> events;
    backend->WatchHotplug([&](const HidHotplugEvent& event) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
    });
    VirtualMouse& mouse = backend->Mouse(1);
    HidHandle* vendor = backend->Open(mouse.PathOf(SimInterface::Vendor));
    ASSERT_NE(vendor, nullptr);

    mouse.Unplug();
    ASSERT_EQ(events.size(), 4u);
    for (const auto& event : events) {
        EXPECT_FALSE(event.arrival);
        EXPECT_NE(event.path.find("VID_3554&PID_F58A&MI_0"), std::string::npos) << event.path;
    }
    EXPECT_NE(events[2].path.find("&MI_02"), std::string::npos);
    EXPECT_EQ(backend->Enumerate(0, 0).size(), 3u) << "only the other mouse is left";
    const Bytes report = simtest::Feature({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02});
    EXPECT_EQ(backend->SendFeature(vendor, report.data(), report.size()), -1);
    uint8_t buffer[65] = {};
    EXPECT_EQ(backend->ReadTimeout(vendor, buffer, sizeof buffer, 10), -1);
    HidOpenError error = HidOpenError::None;
    EXPECT_EQ(backend->Open(mouse.PathOf(SimInterface::Vendor), &error), nullptr);
    EXPECT_EQ(error, HidOpenError::Gone);

    events.clear();
    mouse.Replug();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_TRUE(events[2].arrival);
    EXPECT_EQ(events[2].usagePage, 0x0001);
    EXPECT_EQ(events[2].usage, 0x0000);
    EXPECT_EQ(backend->SendFeature(vendor, report.data(), report.size()), -1) << "old handles stay dead";
    backend->Close(vendor);
    vendor = backend->Open(mouse.PathOf(SimInterface::Vendor));
    EXPECT_EQ(backend->SendFeature(vendor, report.data(), report.size()), 33);

    backend->WatchHotplug(nullptr);
    events.clear();
    mouse.Unplug();
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(backend->AllIssues().empty()) << simtest::IssueText(backend->AllIssues());
}

TEST(VirtualBackend, RequestsAreLogged) {
    auto backend = simtest::MakeBackend("201");
    VirtualMouse* mouse = backend->FindMouse(201, 0);
    ASSERT_NE(mouse, nullptr);
    EXPECT_EQ(backend->FindMouse(201, 1), nullptr);
    HidHandle* vendor = backend->Open(mouse->PathOf(SimInterface::Vendor));
    const Bytes report = simtest::Feature({0x0C, 0x01, 0x07, 0x00, 0x09, 0x01, 0x01, 0x02});
    backend->SendFeature(vendor, report.data(), report.size());
    const std::vector<SimRequest> log = mouse->Requests();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0].feature);
    EXPECT_EQ(log[0].interface, SimInterface::Vendor);
    EXPECT_EQ(log[0].bytes, report);
}

// The client's worker does I/O while a test thread injects events; run under ThreadSanitizer too.
TEST(VirtualBackend, IoAndInjectionFromTwoThreads) {
    auto backend = simtest::MakeBackend("101:wireless");
    VirtualMouse& mouse = backend->Mouse(0);
    HidHandle* handle = backend->Open(mouse.PathOf(SimInterface::Mouse));
    std::atomic<bool> stop{false};
    std::atomic<int> replies{0}, dpiReports{0};
    std::thread worker([&] {
        const Bytes request = Request({0x00, 0x12});
        uint8_t buffer[65];
        while (!stop) {
            backend->Write(handle, request.data(), request.size());
            for (int i = 0; i < 4; ++i) {
                const int count = backend->ReadTimeout(handle, buffer, sizeof buffer, 1);
                if (count <= 0) break;
                if (buffer[0] == 0x12 && buffer[1] == 0x00) ++replies;
                if (buffer[0] == 0xC2) ++dpiReports;
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        mouse.PressDpiButton();
        mouse.SetBattery(i % 100, i % 2);
        (void)mouse.Memory();
    }
    while (dpiReports < 1 || replies < 1) std::this_thread::yield();
    stop = true;
    worker.join();
    EXPECT_TRUE(mouse.Issues().empty()) << simtest::IssueText(mouse.Issues());
}

}  // namespace
}  // namespace quorvel
