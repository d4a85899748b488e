// Changes a front end queues without waiting all reach the mouse as they were made: each request carries
// its button and macro upload, so two quick button changes are two different key writes on the feature
// family, and a second macro assignment does not drop the first upload, on either family.

#include "SessionFixture.h"
#include "actions/Actions.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

class NoWait : public SessionTest {
protected:
    // A macro of two rows: key A down, key A up.
    int PressA(const std::string& name) {
        const int id = db.AddMacro(name);
        MacroEventRecord down, up;
        down.macro_id = up.macro_id = id;
        down.type = 2;
        up.type = 3;
        down.value = up.value = 'A';
        db.AddMacroEvents({down, up});
        return id;
    }

    // Buttons 1 and 2 get a macro each while the worker is busy; both requests are queued without waiting.
    void AssignTwoMacrosWithoutWaiting() {
        Start(&gate, true);
        SentSinceLastCall();  // discovery and read-back
        const int first = PressA("First"), second = PressA("Second");
        const ActionResult one = AssignMenuFunction(ctx(), 1, kMacroFunction, first);
        ASSERT_TRUE(one.ok) << one.message;
        QueueActionTasks(session->Worker(), one);
        const ActionResult two = AssignMenuFunction(ctx(), 2, kMacroFunction, second);
        ASSERT_TRUE(two.ok) << two.message;
        QueueActionTasks(session->Worker(), two);
        gate.Release();
        const std::vector<TaskEnd> ends = gate.WaitForEnds(3);
        ASSERT_EQ(ends.size(), 3u);
        EXPECT_TRUE(ends[1].result.ok()) << DeviceErrorText(ends[1].result.error);
        EXPECT_TRUE(ends[2].result.ok()) << DeviceErrorText(ends[2].result.error);
    }
};

// Slot 1 and 2 codes of a macro played once: 90, slot | 0x20, play count 1.
TEST_F(NoWait, ReportFamilyUploadsBothMacros) {
    Open("102:wired");
    AssignTwoMacrosWithoutWaiting();
    // Each key-table write already holds both assignments: the database had both when the first ran.
    const std::string table = "00 09 00 01 0F 10 01 00 90 21 01 90 22 01 10 08 00 10 10 00 40 01 00";
    const std::vector<std::string> expected = {
        ReportWrite("00 08 00 01 09 01 30 01 00 04 B0 01 00 04"),
        ReportWrite(table),
        ReportWrite("00 08 00 01 09 02 30 01 00 04 B0 01 00 04"),
        ReportWrite(table),
    };
    EXPECT_EQ(SentSinceLastCall(), expected);
    EXPECT_EQ(Mice().Mouse(0).Memory().macros.size(), 2u);
    EXPECT_TRUE(Mice().AllIssues().empty());
}

TEST_F(NoWait, FeatureFamilySendsEachButtonWithItsMacro) {
    Open("201:wired");
    AssignTwoMacrosWithoutWaiting();
    // Sequence numbers 0-3: the first writes of this session.
    const std::vector<std::string> expected = {
        FeatureSend("0C 01 0E 00 00 01 07 01 30 01 04 B0 00 04"),
        FeatureSend("0C 01 04 00 01 01 04 01 90 21 01"),
        FeatureSend("0C 01 0E 00 02 01 07 02 30 01 04 B0 00 04"),
        FeatureSend("0C 01 04 00 03 01 04 02 90 22 01"),
    };
    EXPECT_EQ(SentSinceLastCall(), expected);
    EXPECT_EQ(Mice().Mouse(0).Memory().macros.size(), 2u);
    EXPECT_TRUE(Mice().AllIssues().empty());
}

}  // namespace
}  // namespace quorvel::test
