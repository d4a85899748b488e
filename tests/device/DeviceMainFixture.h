#pragma once
// A device core on the virtual mouse, with its own data folders, a fresh database and instant pauses.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "device/DeviceMainDef.h"
#include "device/HidDeviceManager.h"
#include "device/Tasks.h"
#include "shell/AppContext.h"
#include "shell/ProductConfig.h"
#include "sim/VirtualBackend.h"
#include "store/DeviceDatabase.h"

namespace quorvel {

// Readable failures: the reason's text instead of a number.
inline void PrintTo(DeviceError error, std::ostream* os) {
    *os << DeviceErrorText(error);
}
inline void PrintTo(TaskStatus status, std::ostream* os) {
    *os << TaskStatusName(status);
}

}  // namespace quorvel

namespace quorvel::test {

using Bytes = std::vector<uint8_t>;

// A request as the mouse received it: the expected bytes from `from` on, the rest must be zero.
inline Bytes Request33(std::initializer_list<uint8_t> head) {
    Bytes b(33, 0);
    size_t i = 0;
    for (uint8_t v : head) b[i++] = v;
    return b;
}

// "00 02 00 01 01 01" -> 33 bytes, the rest zero.
inline Bytes Hex(const std::string& text, size_t size = 33) {
    Bytes b;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair) b.push_back(static_cast<uint8_t>(std::stoul(pair, nullptr, 16)));
    if (b.size() < size) b.resize(size, 0);
    return b;
}

// Report-family request with its checksum (low 8 bits of the sum of bytes 5..31).
inline Bytes WithChecksum(Bytes b) {
    unsigned sum = 0;
    for (size_t i = 5; i < 32; ++i) sum += b[i];
    b[32] = static_cast<uint8_t>(sum & 0xFF);
    return b;
}

// One task end as the view was told of it.
struct TaskEnd {
    uint64_t id = 0;
    DeviceTaskRequest request;
    TaskResult result;
};

// Records what the core shows; task ends apart, so a test can wait for them.
struct RecordingView : DeviceView {
    std::mutex mutex;
    std::condition_variable ended;
    std::vector<std::string> events;
    std::vector<TaskEnd> ends;
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) override {
        std::lock_guard<std::mutex> lock(mutex);
        ends.push_back({id, request, result});
        ended.notify_all();
    }
    // The first `count` task ends, once there are that many (empty after 10 s without).
    std::vector<TaskEnd> WaitForEnds(size_t count) {
        std::unique_lock<std::mutex> lock(mutex);
        if (!ended.wait_for(lock, std::chrono::seconds(10), [&] { return ends.size() >= count; })) return {};
        return std::vector<TaskEnd>(ends.begin(), ends.begin() + static_cast<long>(count));
    }
    void Add(std::string e) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            events.push_back(std::move(e));
        }
        ended.notify_all();
    }
    // Waits for an event starting with `prefix` beyond the first `skip` events; false after 10 s without.
    bool WaitForEvent(const std::string& prefix, size_t skip = 0) {
        std::unique_lock<std::mutex> lock(mutex);
        return ended.wait_for(lock, std::chrono::seconds(10), [&] {
            for (size_t i = skip; i < events.size(); ++i)
                if (events[i].rfind(prefix, 0) == 0) return true;
            return false;
        });
    }
    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> lock(mutex);
        return events;
    }
    void SetBatteryInfo(int level, int status) override {
        Add("battery " + std::to_string(level) + " " + std::to_string(status));
    }
    void SetDpiLevelCount(int count) override { Add("count " + std::to_string(count)); }
    void SelectDpiLevel(int level, int value, int) override {
        Add("level " + std::to_string(level) + " " + std::to_string(value));
    }
    void ShowConnectedView(int title) override { Add("connected " + std::to_string(title)); }
    void ShowLinkLostView(int online) override { Add("lost " + std::to_string(online)); }
    void SelectReportRate(int code) override { Add("rate " + std::to_string(code)); }
    void SetFirmwareProgress(int percent, const std::string&) override {
        Add("progress " + std::to_string(percent));
    }
    void SetMouseFirmwareLabel(const std::string& label, const std::string&) override {
        Add("fwlabel " + label);
    }
    void SetDpiRange(int maxDpi, int step, int) override {
        Add("range " + std::to_string(maxDpi) + " " + std::to_string(step));
    }
};

inline std::string ToHex(const Bytes& b) {
    std::string s;
    char buf[4];
    for (uint8_t v : b) {
        std::snprintf(buf, sizeof buf, "%02X ", v);
        s += buf;
    }
    return s;
}

class CoreFixture {
public:
    // specs: the virtual mice, e.g. "102:wired"; adjust: changes to the product configuration.
    explicit CoreFixture(const std::string& specs, const std::function<void(ProductConfig&)>& adjust = {}) {
        root_ = std::filesystem::temp_directory_path() /
                ("quorvel-core-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(root_);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, (root_ / var).c_str(), 1);
        SetDeviceName("QuorvelTest");
        SetProgramDir(QUORVEL_PRODUCT_DIR);
        EXPECT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &config));
        if (adjust) adjust(config);
        std::string error;
        auto backend = CreateVirtualBackend(specs, config.modes, "", &error);
        EXPECT_TRUE(backend) << error;
        sim = backend.get();
        manager = std::make_unique<HidDeviceManager>(std::move(backend));
        manager->SetSleep([](int) {});
        core = std::make_unique<DeviceMainDef>(*manager, db);
        core->SetProduct(config);
        core->SetSleep([](int) {});
        core->SetView(&view);
        core->SetTraceHook([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(traceMutex_);
            traces_.push_back(line);
        });
    }
    ~CoreFixture() {
        core.reset();
        manager.reset();
        db.Close();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    VirtualMouse& Mouse(size_t i = 0) { return sim->Mouse(i); }

    // Requests the mouse received since the last call (oldest first), as bytes.
    std::vector<Bytes> Take(size_t i = 0) {
        std::vector<Bytes> out;
        for (const SimRequest& r : Mouse(i).Requests()) out.push_back(r.bytes);
        Mouse(i).ClearRequests();
        return out;
    }
    DeviceCommands& Cmd() { return core->Commands(); }
    CThreadBasic& Worker() { return core->Worker(); }
    // A request of this code carried out now, on this thread.
    TaskStatus Execute(DeviceTask task) { return core->ExecuteTask(DeviceTaskRequest(task)).status; }

    // Discovery and read-back, then a clean request log.
    void Start() {
        EXPECT_EQ(Execute(kTaskStart), TaskStatus::Confirmed);
        for (size_t i = 0; i < sim->MouseCount(); ++i) Mouse(i).ClearRequests();
        ClearTraces();
        std::lock_guard<std::mutex> lock(view.mutex);
        view.events.clear();
    }
    // The mouse's requests, hex, without the info requests of discovery.
    std::vector<std::string> TakeHex(size_t i = 0) {
        std::vector<std::string> out;
        for (const Bytes& b : Take(i)) out.push_back(ToHex(b));
        return out;
    }
    std::vector<std::string> Traces() {
        std::lock_guard<std::mutex> lock(traceMutex_);
        return traces_;
    }
    void ClearTraces() {
        std::lock_guard<std::mutex> lock(traceMutex_);
        traces_.clear();
    }
    int Profile() { return core->CurrentProfile(); }
    void Set(const std::string& key, const std::string& value) { db.SetConfig(Profile(), key, value); }
    std::string Get(const std::string& key) {
        std::string v;
        db.GetConfig(Profile(), key, v);
        return v;
    }

    ProductConfig config;
    VirtualBackend* sim = nullptr;
    std::unique_ptr<HidDeviceManager> manager;
    DeviceDatabase db;
    RecordingView view;
    std::unique_ptr<DeviceMainDef> core;

private:
    static inline int counter_ = 0;
    std::filesystem::path root_;
    std::mutex traceMutex_;
    std::vector<std::string> traces_;
};

}  // namespace quorvel::test
