// The worker prepares what its tasks read, whatever the front end shows: with a view that does nothing, a
// profile switch sends the new profile's own active lighting mode (and keeps it active), a profile never
// shown gets its default rows, and a factory reset on a recreated database finds the rows it resets.

#include "SessionFixture.h"
#include "actions/Actions.h"
#include "store/LightDefaults.h"

namespace quorvel::test {
namespace {

class PreparedProfile : public SessionTest {};

std::vector<std::string> OnlyCommand(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
}

TEST_F(PreparedProfile, ProfileSwitchSendsTheNewProfilesLighting) {
    Open("102:wired");
    Start(nullptr);  // nothing is shown
    ASSERT_EQ(db.GetActiveLightMode(1), 2) << "the mouse's mode, read back into profile 1";
    // Profile 2 was set up elsewhere with mode 4 active at brightness 1, speed 5.
    AddDefaultLightModes(db, 2, {true, true, true, true, true, true});
    ASSERT_TRUE(db.SetActiveLightMode(2, 4));
    LightModeRecord four;
    ASSERT_TRUE(db.GetLightMode(2, 4, four));
    four.brightness = 1;
    four.speed = 5;
    ASSERT_TRUE(db.UpdateLightMode(4, four));
    SentSinceLastCall();

    const ActionResult toTwo = SwitchProfile(ctx(), 2);
    EXPECT_EQ(RunActionTasks(session->Worker(), toTwo, 10s).at(0).status, TaskStatus::Confirmed);
    EXPECT_EQ(OnlyCommand(SentSinceLastCall(), "write 0001:0000 00 05"),
              std::vector<std::string>{ReportWrite("00 05 00 01 02 04 15")});
    EXPECT_EQ(db.GetActiveLightMode(2), 4) << "the new profile keeps its own mode";
    EXPECT_EQ(db.GetActiveLightMode(1), 2);
    EXPECT_EQ(session->Core().Snapshot().currentLightMode, 4);

    // Profile 3 has no rows yet: it gets the defaults, mode 1 active, brightness 4, speed 2.
    const ActionResult toThree = SwitchProfile(ctx(), 3);
    EXPECT_EQ(RunActionTasks(session->Worker(), toThree, 10s).at(0).status, TaskStatus::Confirmed);
    EXPECT_EQ(OnlyCommand(SentSinceLastCall(), "write 0001:0000 00 05"),
              std::vector<std::string>{ReportWrite("00 05 00 01 03 01 42 00")});
    EXPECT_EQ(db.CountLightModes(3), 6);
    EXPECT_TRUE(Mice().AllIssues().empty());
}

TEST_F(PreparedProfile, FactoryResetOnARecreatedDatabaseSendsModeTwo) {
    Open("201:wired");
    Start(nullptr);
    SentSinceLastCall();
    const ActionResult reset = FactoryReset(ctx());
    ASSERT_TRUE(reset.ok) << reset.message;
    EXPECT_EQ(RunActionTasks(session->Worker(), reset, 10s).at(0).status, TaskStatus::Confirmed);
    // The reset, then mode 2 at brightness and speed 2 with the seven default colours.
    const std::vector<std::string> expected = {
        FeatureSend("0C 01 0F 00 00 01 01 FF"),
        FeatureSend(
            "0C 01 08 00 01 01 18 02 22 07 FF 00 00 00 FF 00 00 00 FF 00 FF FF FF FF 00 FF 00 FF FF FF FF"),
    };
    EXPECT_EQ(SentSinceLastCall(), expected);
    EXPECT_EQ(db.GetActiveLightMode(1), 2);
    EXPECT_TRUE(Mice().AllIssues().empty());
}

}  // namespace
}  // namespace quorvel::test
