// The GUI's core and the device lock: while another program holds it, nothing reaches a mouse (discovery
// included) and the view is told who holds it; the worker starts when the lock comes free, and a stop
// while waiting ends the wait.

#include "SessionFixture.h"
#include "platform/DeviceLock.h"

namespace quorvel::test {
namespace {

// GateView plus the two lock calls.
class LockView : public GateView {
public:
    void DeviceLockWaiting(const std::string& holder) override {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back("waiting " + holder);
    }
    void DeviceLockTaken() override {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back("taken");
        changed_.notify_all();
    }
    bool AwaitTaken() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return !events_.empty() && events_.back() == "taken"; });
    }
    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
};

class DeviceLockWait : public SessionTest {
protected:
    void OpenLocked() {
        SessionOptions options = Options("102:wired");
        options.lockProgram = "quorvel";
        options.deviceLockPath = LockPath();
        OpenWith(options);
    }
    std::string LockPath() const { return TracePath() + ".lock"; }
};

TEST_F(DeviceLockWait, TheWorkerStartsOnlyOnceTheLockIsFree) {
    DeviceLock other(LockPath());
    ASSERT_EQ(other.TryTake("quorvelctl"), DeviceLock::Result::kTaken);
    OpenLocked();
    LockView view;
    const uint64_t start = session->Start(&view);
    EXPECT_EQ(start, 1u) << "discovery is queued first";
    EXPECT_EQ(view.Events(),
              std::vector<std::string>{"waiting quorvelctl (process " + std::to_string(::getpid()) + ")"});
    // Queued while waiting: it runs after discovery once the worker does.
    const uint64_t queued = session->Worker().QueueTrackedTask(DeviceTaskRequest(kTaskWriteReportRate));
    EXPECT_FALSE(session->HoldsDeviceLock());
    EXPECT_TRUE(SentSinceLastCall().empty());

    other.Release();
    ASSERT_TRUE(view.AwaitTaken());
    EXPECT_TRUE(session->Worker().WaitForTask(start, 10s).ok());
    EXPECT_TRUE(session->Worker().WaitForTask(queued, 10s).ok());
    EXPECT_TRUE(session->HoldsDeviceLock());
    EXPECT_FALSE(SentSinceLastCall().empty());
    EXPECT_EQ(other.TryTake("quorvelctl"), DeviceLock::Result::kBusy);
    EXPECT_EQ(other.Holder(), "quorvel (process " + std::to_string(::getpid()) + ")");

    session->Stop();
    EXPECT_EQ(other.TryTake("quorvelctl"), DeviceLock::Result::kTaken) << "released at the stop";
}

TEST_F(DeviceLockWait, AStopWhileWaitingEndsTheWaitAndSendsNothing) {
    DeviceLock other(LockPath());
    ASSERT_EQ(other.TryTake("quorvelctl"), DeviceLock::Result::kTaken);
    OpenLocked();
    LockView view;
    EXPECT_EQ(session->Start(&view), 1u);
    session->Stop();
    EXPECT_FALSE(session->HoldsDeviceLock());
    EXPECT_TRUE(SentSinceLastCall().empty());
    EXPECT_EQ(view.Events().size(), 1u);
}

TEST_F(DeviceLockWait, AFreeLockIsTakenAtTheStart) {
    OpenLocked();
    LockView view;
    const uint64_t start = session->Start(&view);
    EXPECT_EQ(start, 1u);
    EXPECT_TRUE(session->Worker().WaitForTask(start, 10s).ok());
    EXPECT_TRUE(view.Events().empty());
    EXPECT_TRUE(session->HoldsDeviceLock());
}

}  // namespace
}  // namespace quorvel::test
