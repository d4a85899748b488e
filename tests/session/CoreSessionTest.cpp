// The composition root: what it refuses to open, how it starts and stops, and the hot-plug wiring of the
// front end that watches for mice.

#include "SessionFixture.h"

namespace quorvel::test {
namespace {

class CoreSessionTest : public SessionTest {};

TEST_F(CoreSessionTest, OpeningFailsWithItsReason) {
    SessionOptions missing;
    missing.productDir = "/nonexistent-quorvel-product";
    missing.openTraceLog = false;
    CoreSession noProduct;
    const SessionResult product = noProduct.OpenProduct(missing);
    EXPECT_EQ(product.error, SessionError::ProductFiles);
    EXPECT_EQ(noProduct.ProgramFolder(), "/nonexistent-quorvel-product/");

    SessionOptions badMouse;
    badMouse.productDir = QUORVEL_PRODUCT_DIR;
    badMouse.virtualSpec = "999:wired";
    badMouse.openTraceLog = false;
    badMouse.database = &db;
    CoreSession noBackend;
    const SessionResult backend = noBackend.Open(badMouse);
    EXPECT_EQ(backend.error, SessionError::Backend);
    EXPECT_NE(backend.message.find("999"), std::string::npos) << backend.message;
    EXPECT_EQ(noBackend.Start(nullptr), 0u) << "nothing to start";
}

TEST_F(CoreSessionTest, StartReportsTaskOneAndStopEndsTheWorker) {
    Open("102:wired");
    const uint64_t start = Start(&gate);
    const std::vector<TaskEnd> ends = gate.WaitForEnds(1);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].id, start);
    EXPECT_EQ(ends[0].request.code, kTaskStart);
    EXPECT_TRUE(ends[0].result.ok());
    EXPECT_EQ(session->Start(&gate), 0u) << "once only";
    EXPECT_TRUE(session->Worker().IsRunning());

    session->Stop();
    EXPECT_FALSE(session->Worker().IsRunning());
    EXPECT_EQ(session->Worker().QueueTask(DeviceTaskRequest(kTaskWriteReportRate)), 0u);
    session->Stop();  // again: nothing happens
    EXPECT_EQ(session->Core().CurrentDeviceType(), 102) << "the objects stay readable";
}

TEST_F(CoreSessionTest, StartWithoutDiscoveryRunsOnlyWhatIsQueued) {
    Open("102:wired");
    EXPECT_EQ(session->Start(&gate, false), 0u);
    const TaskResult result =
        session->Worker().QueueTaskAndWait(DeviceTaskRequest(kTaskWriteReportRate), 10s);
    EXPECT_EQ(result.error, DeviceError::NotOpen);
    EXPECT_TRUE(SentSinceLastCall().empty());
}

TEST_F(CoreSessionTest, HotplugQueuesReloadAndRefresh) {
    Open("102:wired", true);
    Start(&gate);

    Mice().Mouse(0).Unplug();  // removal of the mouse interface: task 3
    std::vector<TaskEnd> ends = gate.WaitForEnds(2);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[1].request.code, kTaskRemoval);
    EXPECT_EQ(ends[1].result.error, DeviceError::NoDevice) << "nothing left to read";
    EXPECT_FALSE(session->Core().Polling());

    Mice().Mouse(0).Replug();  // arrival: task 2, the mouse is found and read again
    ends = gate.WaitForEnds(3);
    ASSERT_EQ(ends.size(), 3u);
    EXPECT_EQ(ends[2].request.code, kTaskArrival);
    EXPECT_TRUE(ends[2].result.ok()) << DeviceErrorText(ends[2].result.error);
    EXPECT_TRUE(session->Core().Polling());
}

}  // namespace
}  // namespace quorvel::test
