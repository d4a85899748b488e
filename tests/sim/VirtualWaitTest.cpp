// The virtual mouse waits like hidraw: a read sleeps until a report or its time-out, and a waiter on several
// handles wakes for a report, an unplug, a closed handle or a wake call; stopping the hot-plug watch waits
// for a callback in progress.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "SimTestUtil.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;
using simtest::Bytes;

TEST(VirtualWait, AReadSleepsUntilAReportOrItsTimeOut) {
    auto backend = simtest::MakeBackend("101");
    VirtualMouse& mouse = backend->Mouse(0);
    HidHandle* handle = backend->Open(mouse.PathOf(SimInterface::Mouse));
    ASSERT_NE(handle, nullptr);
    uint8_t buffer[65] = {};
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(backend->ReadTimeout(handle, buffer, sizeof buffer, 20), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20)) << "the whole time-out, like hidraw";

    // A reader without time-out returns with the report another thread makes the mouse send.
    int got = 0;
    std::thread reader([&] { got = backend->ReadTimeout(handle, buffer, sizeof buffer, -1); });
    mouse.QueueInputReport(SimInterface::Mouse, {0xC2, 0x24});
    reader.join();
    ASSERT_EQ(got, 2);
    EXPECT_EQ(simtest::Hex(Bytes(buffer, buffer + got)), "C2 24 ");

    // An unplug ends a waiting read with an error.
    std::thread failing([&] { got = backend->ReadTimeout(handle, buffer, sizeof buffer, -1); });
    mouse.Unplug();
    failing.join();
    EXPECT_EQ(got, -1);
    backend->Close(handle);
}

TEST(VirtualWait, AWaiterWakesForEachKindOfEvent) {
    const struct {
        const char* name;
        std::function<void(VirtualBackend&, HidHandle*)> act;
    } cases[] = {
        {"wake call", [](VirtualBackend& b, HidHandle*) { b.WakeWaiter(); }},
        {"DPI button", [](VirtualBackend& b, HidHandle*) { b.Mouse(1).PressDpiButton(); }},
        {"link lost", [](VirtualBackend& b, HidHandle*) { b.Mouse(1).SetLink(false); }},
        {"battery", [](VirtualBackend& b, HidHandle*) { b.Mouse(1).SetBattery(40, 1); }},
        {"unplug", [](VirtualBackend& b, HidHandle*) { b.Mouse(1).Unplug(); }},
        {"closed handle", [](VirtualBackend& b, HidHandle* h) { b.Close(h); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto backend = simtest::MakeBackend("101;101:wireless");
        HidHandle* first = backend->Open(backend->Mouse(0).PathOf(SimInterface::Mouse));
        HidHandle* second = backend->Open(backend->Mouse(1).PathOf(SimInterface::Mouse));
        ASSERT_TRUE(first && second);
        const Clock::time_point start = Clock::now();
        std::thread waiter([&] { backend->WaitForInput({first, second}, 60000); });
        c.act(*backend, second);
        waiter.join();
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(60)) << "woken, not timed out";
    }
}

TEST(VirtualWait, AWakeBeforeTheWaitIsKeptAndUsedOnce) {
    auto backend = simtest::MakeBackend("101");
    HidHandle* handle = backend->Open(backend->Mouse(0).PathOf(SimInterface::Mouse));
    backend->WakeWaiter();
    backend->WaitForInput({handle}, -1);  // returns at once
    const Clock::time_point start = Clock::now();
    backend->WaitForInput({handle}, 20);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20)) << "the wake was used up";
    // A report already waiting is input at once, and stays until read.
    backend->Mouse(0).PressDpiButton();
    backend->WaitForInput({handle}, -1);
    backend->WaitForInput({handle}, -1);
    uint8_t buffer[65] = {};
    EXPECT_GT(backend->ReadTimeout(handle, buffer, sizeof buffer, 0), 0);
}

// The watcher's owner may go once the watch is stopped: a callback still running is waited for.
TEST(VirtualWait, StoppingTheHotplugWatchWaitsForACallbackInProgress) {
    auto backend = simtest::MakeBackend("101");
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false, release = false, finished = false;
    backend->WatchHotplug([&](const HidHotplugEvent&) {
        std::unique_lock<std::mutex> lock(mutex);
        if (entered) return;  // only the first of the removal events waits
        entered = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
        finished = true;
    });
    std::thread unplug([&] { backend->Mouse(0).Unplug(); });
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return entered; });
    }
    std::atomic<bool> stopped{false};
    bool finishedAtStop = false;
    std::thread stopper([&] {
        backend->WatchHotplug(nullptr);
        std::lock_guard<std::mutex> lock(mutex);
        finishedAtStop = finished;
        stopped = true;
    });
    {
        // Not timing the outcome: a sound stop can never return here; a stop that does not wait usually has.
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait_for(lock, std::chrono::milliseconds(50), [&] { return stopped.load(); });
        release = true;
        changed.notify_all();
    }
    stopper.join();
    unplug.join();
    EXPECT_TRUE(finishedAtStop) << "the stop returned while a callback still ran";

    // From inside a callback the stop does not wait for itself.
    backend->Mouse(0).Replug();
    backend->WatchHotplug([&](const HidHotplugEvent&) { backend->WatchHotplug(nullptr); });
    backend->Mouse(0).Unplug();
}

}  // namespace
}  // namespace quorvel
