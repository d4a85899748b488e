#pragma once
// A composition root on virtual mice, as a front end builds it: its own data folders, its own database, the
// HID trace in a file, instant pauses. The view can hold the worker at the end of a chosen task, so a test
// makes its changes while the worker is busy, the way a GUI that never waits does.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "device/HidTrace.h"
#include "session/CoreSession.h"
#include "sim/VirtualBackend.h"
#include "store/DeviceDatabase.h"

namespace quorvel::test {

using namespace std::chrono_literals;

struct TaskEnd {
    uint64_t id = 0;
    DeviceTaskRequest request;
    TaskResult result;
};

// Records task ends; holds the worker at the end of the task with id `holdId` until Release().
class GateView : public DeviceView {
public:
    void HoldAfter(uint64_t id) {
        std::lock_guard<std::mutex> lock(mutex_);
        holdId_ = id;
    }
    void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) override {
        std::unique_lock<std::mutex> lock(mutex_);
        ends_.push_back({id, request, result});
        changed_.notify_all();
        if (id != holdId_) return;
        held_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_; });
    }
    // Waits until the worker is held (false after 10 s).
    bool AwaitHeld() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return held_; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    // The first `count` ends once there are that many (empty after 10 s without).
    std::vector<TaskEnd> WaitForEnds(size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_for(lock, 10s, [&] { return ends_.size() >= count; })) return {};
        return std::vector<TaskEnd>(ends_.begin(), ends_.begin() + static_cast<long>(count));
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TaskEnd> ends_;
    uint64_t holdId_ = 0;
    bool held_ = false, released_ = false;
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("quorvel-session-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(root_);
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            ::setenv(var, (root_ / var).c_str(), 1);
    }
    void TearDown() override {
        session.reset();
        db.Close();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    // Builds the session on these virtual mice; the view is not started yet.
    void Open(const std::string& mice, bool watchHotplug = false) {
        SessionOptions options = Options(mice);
        options.watchHotplug = watchHotplug;
        OpenWith(options);
    }
    // What Open() builds the session with: the product, the mice, the trace file and the test's database.
    SessionOptions Options(const std::string& mice) {
        SessionOptions options;
        options.productDir = QUORVEL_PRODUCT_DIR;
        options.virtualSpec = mice;
        options.traceFile = TracePath();
        options.openTraceLog = false;
        options.database = &db;
        return options;
    }
    // Builds the session with these options (from Options(), changed by the test), with instant pauses.
    void OpenWith(const SessionOptions& options) {
        session = std::make_unique<CoreSession>();
        const SessionResult opened = session->Open(options);
        ASSERT_TRUE(opened.ok()) << opened.message;
        session->Manager().SetSleep([](int) {});
        session->Core().SetSleep([](int) {});
        session->Core().SetTraceHook([](const std::string&) {});
    }
    // Starts on `view`; waits for task 1 unless the view holds the worker at its end.
    uint64_t Start(DeviceView* view, bool holdAfterStart = false) {
        if (holdAfterStart) gate.HoldAfter(1);  // task 1 has the first id
        const uint64_t start = session->Start(view);
        EXPECT_EQ(start, 1u);
        if (holdAfterStart)
            EXPECT_TRUE(gate.AwaitHeld());
        else
            EXPECT_TRUE(session->Worker().WaitForTask(start, 10s).ok());
        return start;
    }

    std::string TracePath() const { return (root_ / "hid.trace").string(); }
    // The trace lines written since the last call: what the program sent, without what it read.
    std::vector<std::string> SentSinceLastCall() {
        std::ifstream in(TracePath());
        std::vector<std::string> lines;
        std::string line;
        size_t n = 0;
        while (std::getline(in, line)) {
            if (n++ < traceSeen_) continue;
            if (line.rfind("write ", 0) == 0 || line.rfind("send_feature ", 0) == 0) lines.push_back(line);
        }
        traceSeen_ = n;
        return lines;
    }
    VirtualBackend& Mice() {
        auto* traced = dynamic_cast<HidTrace*>(session->Manager().Backend());
        return *dynamic_cast<VirtualBackend*>(traced->Inner());
    }
    ActionContext& ctx() { return session->Actions(); }

    DeviceDatabase db;
    GateView gate;
    std::unique_ptr<CoreSession> session;

private:
    static inline int counter_ = 0;
    std::filesystem::path root_;
    size_t traceSeen_ = 0;
};

// "00 09 00 01 0F ..." -> the 33 bytes as a trace line of the interface, rest zero; report family with the
// checksum of bytes 5..31 in byte 32.
inline std::string TraceLine(const char* op, const char* usage, const std::string& head, bool checksum) {
    std::vector<unsigned> bytes;
    std::istringstream in(head);
    std::string pair;
    while (in >> pair) bytes.push_back(static_cast<unsigned>(std::stoul(pair, nullptr, 16)));
    bytes.resize(33, 0);
    if (checksum) {
        unsigned sum = 0;
        for (size_t i = 5; i < 32; ++i) sum += bytes[i];
        bytes[32] = sum & 0xFF;
    }
    std::string line = std::string(op) + " " + usage;
    char hex[4];
    for (unsigned b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    return line;
}
inline std::string ReportWrite(const std::string& head) {
    return TraceLine("write", "0001:0000", head, true);
}
inline std::string FeatureSend(const std::string& head) {
    return TraceLine("send_feature", "FF00:0001", head, false);
}

}  // namespace quorvel::test
