// Transport, discovery and hot-plug against the virtual mouse, through the same seam as hidapi.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "device/Discovery.h"
#include "device/HidTrace.h"
#include "device/Hotplug.h"
#include "sim/VirtualBackend.h"

namespace quorvel {
namespace {

std::vector<DeviceEntry> SampleModes() {
    ProductConfig product;
    EXPECT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &product));
    return product.modes;
}

struct RecordingSink : TaskSink {
    std::mutex mutex;
    std::vector<int> tasks;
    uint64_t QueueTask(const DeviceTaskRequest& request) override {
        std::lock_guard<std::mutex> lock(mutex);
        tasks.push_back(request.code);
        return tasks.size();
    }
    std::vector<int> Tasks() {
        std::lock_guard<std::mutex> lock(mutex);
        return tasks;
    }
};

// A manager and discovery over virtual mice of the sample product.
struct VirtualRig {
    explicit VirtualRig(const std::string& specs, std::vector<DeviceEntry> modes = SampleModes()) {
        std::string error;
        auto backend = CreateVirtualBackend(specs, modes, "", &error);
        EXPECT_TRUE(backend) << error;
        virt = backend.get();
        manager = std::make_unique<HidDeviceManager>(std::move(backend));
        manager->SetSleep([](int) {});
        DiscoveryHooks hooks;
        hooks.trace = [](const std::string&) {};
        discovery = std::make_unique<DeviceDiscovery>(*manager, nullptr, hooks);
        discovery->SetModes(modes);
    }
    VirtualBackend* virt = nullptr;
    std::unique_ptr<HidDeviceManager> manager;
    std::unique_ptr<DeviceDiscovery> discovery;
};

TEST(DiscoveryVirtual, EveryMouseOfTheSampleProductIsFound) {
    VirtualRig rig("102:wired;103:wireless;201:wired");
    rig.discovery->RefreshDevices();
    auto list = rig.manager->Snapshot();
    ASSERT_EQ(list.size(), 3u) << "one record per protocol interface";
    struct Expect {
        int type;
        uint32_t linkMode;
        const char* id;
    };
    const Expect expected[] = {{102, 0, "R2M1"}, {103, 1, "R3W1"}, {201, 0, "F15A"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(list[i].deviceType, expected[i].type) << i;
        EXPECT_EQ(list[i].linkMode, expected[i].linkMode) << i;
        EXPECT_EQ(list[i].deviceId, expected[i].id) << i;
        EXPECT_EQ(list[i].linkState, 1) << i;
    }
    EXPECT_NE(rig.manager->NotifyHandle(), nullptr) << "the feature mouse's notification interface";
    EXPECT_TRUE(rig.virt->AllIssues().empty());
}

TEST(DiscoveryVirtual, TwoModelsBehindOneReceiverToldApartByDeviceId) {
    std::vector<DeviceEntry> modes = SampleModes();
    // A second model sharing the R3 receiver's vendor/product id, with its own device id.
    DeviceEntry other;
    for (const DeviceEntry& m : modes) {
        if (m.device_type == 103 && m.mode == 1) other = m;
    }
    other.device_type = 104;
    other.dev_id = "R4W1";
    other.name = "Quorvel R4";
    modes.push_back(other);
    VirtualRig rig("104:wireless", modes);
    rig.discovery->RefreshDevices();
    auto list = rig.manager->Snapshot();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].deviceType, 104);
    EXPECT_EQ(list[0].deviceId, "R4W1");
    EXPECT_EQ(list[0].linkMode, 1u);
}

TEST(DiscoveryVirtual, WiredBeatsWirelessForCommands) {
    VirtualRig rig("103:wireless;103:wired");
    rig.discovery->ReloadDeviceList();
    rig.discovery->SetSelectedDeviceType(103);
    EXPECT_EQ(rig.manager->CurrentLinkKind(), 0);
    VirtualMouse* wired = rig.virt->FindMouse(103, 0);
    VirtualMouse* wireless = rig.virt->FindMouse(103, 1);
    ASSERT_TRUE(wired && wireless);
    wired->ClearRequests();
    wireless->ClearRequests();
    uint8_t request[65] = {0x00, 0x12};
    ASSERT_TRUE(rig.manager->Transact(request, 33));
    EXPECT_EQ(wired->Requests().size(), 1u);
    EXPECT_TRUE(wireless->Requests().empty());
}

TEST(DiscoveryVirtual, UnplugInTheMiddleOfATransact) {
    VirtualRig rig("102:wired");
    rig.discovery->ReloadDeviceList();
    VirtualMouse& mouse = rig.virt->Mouse(0);
    mouse.ClearRequests();
    mouse.SetLatency(std::chrono::milliseconds(400));  // the reply comes long after the unplug
    std::thread unplug([&] {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (mouse.Requests().empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        mouse.Unplug();
    });
    uint8_t request[65] = {0x00, 0x12};
    EXPECT_FALSE(rig.manager->Transact(request, 33));
    unplug.join();
    EXPECT_FALSE(rig.manager->Transact(request, 33));
    rig.discovery->ReloadDeviceList();
    EXPECT_FALSE(rig.discovery->Polling());
    EXPECT_EQ(rig.manager->CurrentLinkKind(), -1);
}

TEST(DiscoveryVirtual, UnplugDuringADiscoveryPass) {
    VirtualRig rig("102:wired;201:wired");
    // The feature mouse vanishes while the first mouse's info request is answered.
    rig.virt->Mouse(0).SetLatency(std::chrono::milliseconds(20));
    std::atomic<bool> done{false};
    std::thread unplug([&] {
        while (!done.load() && rig.virt->Mouse(0).Requests().empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        rig.virt->Mouse(1).Unplug();
    });
    rig.discovery->RefreshDevices();
    done.store(true);
    unplug.join();
    for (const HidDeviceSummary& r : rig.manager->Snapshot()) {
        EXPECT_TRUE(r.deviceType == 102 || r.deviceType == 0) << r.path;
    }
    EXPECT_FALSE(rig.manager->HasOnlineDevice(201));
    rig.discovery->SetSelectedDeviceType(201);
    uint8_t report[65] = {0x0C, 0x01, 0x07};
    EXPECT_FALSE(rig.manager->SendFeature(report));
}

TEST(DiscoveryVirtual, HotplugQueuesRefreshAndReload) {
    VirtualRig rig("103:wireless");
    RecordingSink sink;
    std::atomic<bool> polling{true};
    HotplugWatcher watcher(rig.virt, &sink, [&] { return polling.load(); });
    watcher.SetTrace([](const std::string&) {});
    watcher.SetModes(SampleModes());
    watcher.Start();
    rig.virt->Mouse(0).Unplug();
    EXPECT_EQ(sink.Tasks(), std::vector<int>{kTaskReload}) << "removal of interface 2 only";
    rig.virt->Mouse(0).Replug();
    EXPECT_EQ(sink.Tasks(), (std::vector<int>{kTaskReload, kTaskRefresh})) << "arrival of the mouse interface only";
    polling.store(false);
    rig.virt->Mouse(0).Unplug();
    EXPECT_EQ(sink.Tasks().size(), 2u) << "no reload while not polling";
    watcher.Stop();
}

TEST(DiscoveryVirtual, TraceOfTheInfoRequests) {
    auto file = std::filesystem::temp_directory_path() / ("quorvel-vtrace-" + std::to_string(getpid()));
    std::filesystem::remove(file);
    std::string error;
    auto virt = CreateVirtualBackend("102:wired;201:wired", SampleModes(), "", &error);
    ASSERT_TRUE(virt) << error;
    auto traced = HidTrace::Create(std::move(virt), file.string(), &error);
    ASSERT_TRUE(traced) << error;
    HidDeviceManager manager(std::move(traced));
    manager.SetSleep([](int) {});
    DiscoveryHooks hooks;
    hooks.trace = [](const std::string&) {};
    DeviceDiscovery discovery(manager, nullptr, hooks);
    discovery.SetModes(SampleModes());
    discovery.RefreshDevices();

    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::filesystem::remove(file);
    ASSERT_EQ(lines.size(), 4u);
    auto zeros = [](int n) {
        std::string z;
        for (int i = 0; i < n; ++i) z += " 00";
        return z;
    };
    auto bytes = [](const std::string& line) {
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        return std::vector<std::string>(words.begin() + 2, words.end());  // op and usage dropped
    };
    EXPECT_EQ(lines[0], "write 0001:0000 00 10" + zeros(31));
    EXPECT_EQ(lines[1].rfind("read 0001:0000 ", 0), 0u);
    auto reply = bytes(lines[1]);
    ASSERT_EQ(reply.size(), 32u) << "the reply without its report ID";
    EXPECT_EQ(std::vector<std::string>(reply.begin(), reply.begin() + 8),
              (std::vector<std::string>{"10", "00", "00", "00", "52", "32", "4D", "31"}))
        << "command echo, status 0, id R2M1 one place lower";
    EXPECT_EQ(lines[2], "send_feature FF00:0001 0C 01 20 00 00" + zeros(28));
    EXPECT_EQ(lines[3].rfind("get_feature FF00:0001 0C 01 20 00 ", 0), 0u);
    auto info = bytes(lines[3]);
    ASSERT_EQ(info.size(), 33u);
    EXPECT_EQ(std::vector<std::string>(info.begin() + 8, info.begin() + 12),
              (std::vector<std::string>{"46", "31", "35", "41"}))
        << "F15A";
}

}  // namespace
}  // namespace quorvel
