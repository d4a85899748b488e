// Picking another model is a task of its own: the requests queued before it still go to the old model with
// its database, and a request the old model's page makes afterwards is not sent to the new one.

#include "SessionFixture.h"
#include "actions/Actions.h"

namespace quorvel::test {
namespace {

class ModelSwitch : public SessionTest {};

TEST_F(ModelSwitch, RequestsQueuedBeforeTheSwitchGoToTheOldModel) {
    Open("102:wired;201:wired");
    Start(&gate, true);  // the worker is busy while the page works
    ASSERT_EQ(session->Core().CurrentDeviceType(), 102);
    SentSinceLastCall();

    const ActionResult dpi = SetDpiValue(ctx(), 0, 1600);
    ASSERT_TRUE(dpi.ok) << dpi.message;
    QueueActionTasks(session->Worker(), dpi);
    const uint64_t select = session->Worker().QueueTask(SelectDeviceRequest(201));
    // The old page is still shown until the switch has run: its next change is made for model 102.
    const ActionResult rate = SetReportRate(ctx(), 500);
    ASSERT_TRUE(rate.ok) << rate.message;
    QueueActionTasks(session->Worker(), rate);
    std::string count, index;  // of model 102's profile, as the DPI request will send them
    db.GetConfig(1, "dpi_count", count);
    db.GetConfig(1, "dpi_index", index);
    gate.Release();

    const std::vector<TaskEnd> ends = gate.WaitForEnds(4);
    ASSERT_EQ(ends.size(), 4u);
    EXPECT_TRUE(ends[1].result.ok()) << "the DPI levels, to model 102";
    EXPECT_EQ(ends[2].id, select);
    EXPECT_TRUE(ends[2].result.ok()) << DeviceErrorText(ends[2].result.error);
    EXPECT_EQ(ends[3].result.status, TaskStatus::Failed);
    EXPECT_EQ(ends[3].result.error, DeviceError::ModelChanged);

    // Level 0 as sensor 149's code of 1600 (31) to the report-family mouse; nothing of the report rate
    // went anywhere.
    std::vector<std::string> writes;
    for (const std::string& line : SentSinceLastCall())
        if (line.rfind("write ", 0) == 0 || line.find(" 0C 01 07 ") != std::string::npos)
            writes.push_back(line);
    char head[64];
    std::snprintf(head, sizeof head, "write 0001:0000 00 03 00 01 25 %X%X 1F 00 1F 00", std::stoi(index),
                  std::stoi(count));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].substr(0, std::string(head).size()), head);
    EXPECT_EQ(session->Core().CurrentDeviceType(), 201);
    EXPECT_NE(db.Path().find("QuorvelF1"), std::string::npos) << db.Path();
    std::string level0;
    db.GetConfig(session->Core().CurrentProfile(), "dpi_group0_value", level0);
    EXPECT_NE(level0, "1600") << "the new model's database is untouched";
    EXPECT_TRUE(Mice().AllIssues().empty());
}

}  // namespace
}  // namespace quorvel::test
