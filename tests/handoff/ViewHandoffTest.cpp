// The worker's hand-off to the window's thread, as the GUI makes it: each view call posts a typed lambda to
// a QObject that lives on the receiving thread (queued, never blocking), here a plain QObject, so the test
// needs no widgets. The worker runs the real core on a virtual mouse; the values the receiver sees must be
// the ones the worker sent, in the order it sent them, on the receiver's thread.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <functional>
#include <string>
#include <vector>

#include "session/SessionFixture.h"

namespace quorvel::test {
namespace {

// What the receiving thread saw; touched only on that thread.
class Receiver : public QObject {
public:
    std::vector<std::pair<int, int>> batteries;
    std::vector<int> dpiLevels;
    std::vector<uint64_t> taskEnds;
    std::vector<Qt::HANDLE> threads;  // the thread each call ran on
};

// The GUI's way: copy the data, post a lambda to the receiver, return at once.
class PostingView : public DeviceView {
public:
    explicit PostingView(Receiver* receiver) : receiver_(receiver) {}

    void SetBatteryInfo(int level, int status) override {
        Post([level, status](Receiver& r) { r.batteries.emplace_back(level, status); });
    }
    void SelectDpiLevel(int level, int dpiValue, int sensorCode) override {
        (void)dpiValue, (void)sensorCode;
        Post([level](Receiver& r) { r.dpiLevels.push_back(level); });
    }
    void TaskFinished(uint64_t id, const DeviceTaskRequest&, const TaskResult&) override {
        Post([id](Receiver& r) { r.taskEnds.push_back(id); });
    }

private:
    template <typename F>
    void Post(F call) {
        Receiver* receiver = receiver_;
        QMetaObject::invokeMethod(
            receiver,
            [receiver, call = std::move(call)] {
                receiver->threads.push_back(QThread::currentThreadId());
                call(*receiver);
            },
            Qt::QueuedConnection);
    }

    Receiver* receiver_;
};

bool WaitFor(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

// The session fixture's core on its own folders, with the one QCoreApplication the posted calls need.
class ViewHandoff : public SessionTest {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_handoff";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
};

TEST_F(ViewHandoff, WorkerCallsArriveOnTheReceiversThreadWithTheirDataInOrder) {
    Receiver receiver;
    PostingView view(&receiver);
    Open("103:wireless");

    const uint64_t start = session->Start(&view);
    ASSERT_EQ(start, 1u);
    ASSERT_TRUE(WaitFor([&] { return !receiver.taskEnds.empty(); }));
    EXPECT_EQ(receiver.taskEnds.front(), start);

    // Reports from the mouse while the receiver's thread is busy elsewhere: each arrives once, in order.
    const std::vector<std::pair<int, int>> levels = {{90, 0}, {60, 1}, {30, 0}};
    const size_t batteriesBefore = receiver.batteries.size();
    for (const auto& [level, status] : levels) Mice().Mouse(0).SetBattery(level, status);
    ASSERT_TRUE(WaitFor([&] { return receiver.batteries.size() >= batteriesBefore + levels.size(); }));
    const std::vector<std::pair<int, int>> seen(receiver.batteries.begin() + batteriesBefore,
                                                receiver.batteries.end());
    EXPECT_EQ(seen, levels);

    const size_t dpiBefore = receiver.dpiLevels.size();
    Mice().Mouse(0).PressDpiButton();
    ASSERT_TRUE(WaitFor([&] { return receiver.dpiLevels.size() > dpiBefore; }));

    session->Stop();
    QCoreApplication::processEvents();  // what was posted before the stop still arrives
    for (Qt::HANDLE thread : receiver.threads) EXPECT_EQ(thread, QThread::currentThreadId());
}

}  // namespace
}  // namespace quorvel::test
