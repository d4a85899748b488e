// Performance page actions: stored rows, couplings between keys, sensor rounding, refusals and tasks.

#include "ActionsFixture.h"

namespace quorvel::test {
namespace {

class PerformanceActions : public ActionsTest {};

TEST_F(PerformanceActions, DpiLevelsAreRoundedForTheSensorAndCountTheLevels) {
    Make("102:wired,sensor=4");
    Read();
    const ActionResult r = SetDpiLevels(ctx(), {30, 1250, 30000}, 1);
    EXPECT_ACCEPTED(r, kTaskWriteDpiLevels);
    EXPECT_EQ(r.stored, (Rows{{"dpi_group0_value", "100"},
                              {"dpi_group1_value", "1200"},
                              {"dpi_group2_value", "8000"},
                              {"dpi_count", "3"},
                              {"dpi_index", "1"}}));
    EXPECT_EQ(Get("dpi_group2_value"), "8000");
    EXPECT_EQ(Get("dpi_count"), "3");
    EXPECT_NE(r.message.find("level 1: 30 -> 100"), std::string::npos) << r.message;
    const DeviceState s = core_->Snapshot();
    EXPECT_EQ(s.dpiLevelCount, 3);
    EXPECT_EQ(s.dpiLevelSelected, 1);
}

TEST_F(PerformanceActions, ActiveLevelFollowsTheCount) {
    struct Case {
        const char* storedIndex;
        std::vector<int> values;
        std::optional<int> active;
        const char* index;
        bool indexWritten;
    };
    const Case cases[] = {
        {"4", {800, 1600, 2400}, std::nullopt, "2", true},  // count below the active level: last level
        {"1", {800, 1600, 2400}, std::nullopt, "1", false},  // still inside: kept, not rewritten
        {"4", {800, 1600, 2400}, 0, "0", true},
        {"0", {800}, std::nullopt, "0", false},
    };
    Make("102:wired,sensor=53");
    Read();
    for (const Case& c : cases) {
        Set("dpi_index", c.storedIndex);
        const ActionResult r = SetDpiLevels(ctx(), c.values, c.active);
        EXPECT_ACCEPTED(r, kTaskWriteDpiLevels);
        EXPECT_EQ(Get("dpi_index"), c.index) << "stored " << c.storedIndex;
        EXPECT_EQ(r.stored.back().first == "dpi_index", c.indexWritten) << "stored " << c.storedIndex;
        EXPECT_EQ(Get("dpi_count"), std::to_string(c.values.size()));
    }
}

TEST_F(PerformanceActions, DpiLevelRefusalsChangeNothing) {
    Make("102:wired,sensor=4");
    Offline(102);
    const Rows before = AllSettings();
    EXPECT_REFUSED(SetDpiLevels(ctx(), {800, 1600}), "not been read");
    EXPECT_REFUSED(SetDpiValue(ctx(), 0, 800), "not been read");
    EXPECT_EQ(AllSettings(), before);
    Read();
    const Rows afterRead = AllSettings();
    EXPECT_REFUSED(SetDpiLevels(ctx(), {}), "1 to 6");
    EXPECT_REFUSED(SetDpiLevels(ctx(), {1, 2, 3, 4, 5, 6, 7}), "1 to 6");
    EXPECT_REFUSED(SetDpiLevels(ctx(), {800, 1600}, 2),
                   "active level 3 is not among the 2 levels (levels are 1-2)");
    EXPECT_REFUSED(SetDpiLevels(ctx(), {800, 1600}, -1), "active level 0 is not among");
    EXPECT_EQ(AllSettings(), afterRead);
}

TEST_F(PerformanceActions, SelectingALevelQueuesOnlyAChange) {
    Make("102:wired,sensor=4");
    Read();
    Set("dpi_count", "4");
    Set("dpi_index", "1");
    // Before the page was loaded the stored level is the one the mouse has.
    EXPECT_ACCEPTED(SelectDpiLevel(ctx(), 1));
    EXPECT_ACCEPTED(SelectDpiLevel(ctx(), 3), kTaskWriteDpiLevels);
    EXPECT_EQ(Get("dpi_index"), "3");
    EXPECT_EQ(core_->Snapshot().dpiLevelSelected, 3);
    EXPECT_ACCEPTED(SelectDpiLevel(ctx(), 3));
    EXPECT_ACCEPTED(SelectDpiLevel(ctx(), 0), kTaskWriteDpiLevels);
    EXPECT_REFUSED(SelectDpiLevel(ctx(), 4), "level 5 is not in use (levels are 1-4)");
    EXPECT_EQ(Get("dpi_index"), "0");
}

TEST_F(PerformanceActions, OneLevelValue) {
    Make("102:wired,sensor=17");
    Read();
    Set("dpi_count", "2");
    const ActionResult r = SetDpiValue(ctx(), 1, 12345);
    EXPECT_ACCEPTED(r, kTaskWriteDpiLevels);
    EXPECT_EQ(r.stored, (Rows{{"dpi_group1_value", "12000"}}));
    EXPECT_REFUSED(SetDpiValue(ctx(), 2, 800), "level 3 is not in use (levels are 1-2)");
}

TEST_F(PerformanceActions, ColourTexts) {
    struct Case {
        const char* text;
        bool ok;
        int colour;
    };
    const Case cases[] = {
        {"#FF8000", true, 33023}, {"#ff0000", true, 255},    {"#0000FF", true, 16711680}, {"#FFFFFF", true, 16777215},
        {"FF8000", false, 0},     {"#FF800", false, 0},      {"#FF80000", false, 0},      {"#GG0000", false, 0},
        {"", false, 0},           {"#12 456", false, 0},
    };
    for (const Case& c : cases) {
        int colour = 0;
        EXPECT_EQ(ParseColourText(c.text, &colour), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(colour, c.colour) << c.text;
        int back = -1;
        EXPECT_TRUE(ParseColourText(ColourText(colour), &back));
        EXPECT_EQ(back, colour);
    }
    EXPECT_EQ(ColourText(33023), "#FF8000");
}

TEST_F(PerformanceActions, DpiColours) {
    Make("102:wired");
    Offline(102);
    Set("dpi_count", "3");
    const ActionResult r = SetDpiColours(ctx(), {std::nullopt, "#FF8000", "#0000ff"});
    EXPECT_ACCEPTED(r, kTaskWriteDpiColours);
    EXPECT_EQ(r.stored, (Rows{{"dpi_group1_rgb", "33023"}, {"dpi_group2_rgb", "16711680"}}));
    EXPECT_EQ(Get("dpi_group0_rgb"), "255");

    const Rows before = AllSettings();
    EXPECT_REFUSED(SetDpiColours(ctx(), {"#00FF00", std::nullopt, std::nullopt, "#FFFFFF"}),
                   "level 4 is not in use (levels are 1-3)");
    EXPECT_REFUSED(SetDpiColours(ctx(), {"#000000"}), "black");
    EXPECT_REFUSED(SetDpiColours(ctx(), {"red"}), "#RRGGBB");
    EXPECT_REFUSED(SetDpiColours(ctx(), {}), "no colour");
    EXPECT_EQ(AllSettings(), before);
}

TEST_F(PerformanceActions, ReportRateStoresBothKeys) {
    struct Case {
        int hertz;
        const char* code;
    };
    const Case cases[] = {{125, "8"}, {250, "4"}, {500, "2"}, {1000, "1"}, {2000, "16"}, {4000, "32"}, {8000, "64"}};
    Make("102:wired,rate_cap=0x40");
    Read();
    ASSERT_EQ(core_->Snapshot().reportRateEntry, 7);
    for (const Case& c : cases) {
        const ActionResult r = SetReportRate(ctx(), c.hertz);
        EXPECT_ACCEPTED(r, kTaskWriteReportRate);
        EXPECT_EQ(r.stored, (Rows{{"report_rate", c.code}, {"report_rate_wireless", c.code}})) << c.hertz;
        EXPECT_EQ(Get("report_rate_wireless"), c.code);
    }
    EXPECT_REFUSED(SetReportRate(ctx(), 300), "not offered");
}

TEST_F(PerformanceActions, HighReportRatesNeedTheMousesCapability) {
    Make("102:wired,rate_cap=0x20");
    Offline(102);
    EXPECT_REFUSED(SetReportRate(ctx(), 2000), "not been read");
    EXPECT_ACCEPTED(SetReportRate(ctx(), 1000), kTaskWriteReportRate);  // no capability needed
    Read();
    const Rows before = AllSettings();
    for (int hz : {2000, 4000, 8000}) EXPECT_REFUSED(SetReportRate(ctx(), hz), "up to 1000 Hz");
    EXPECT_EQ(AllSettings(), before);
    // What the list offers follows the same rule: entries 5 and 6 still end at 1000 Hz.
    const std::vector<int> low = {125, 250, 500, 1000};
    for (int entry : {4, 5, 6}) EXPECT_EQ(OfferedReportRates(entry), low) << entry;
    EXPECT_EQ(OfferedReportRates(7), (std::vector<int>{125, 250, 500, 1000, 2000, 4000, 8000}));
}

TEST_F(PerformanceActions, LiftOffAndSensorOptions) {
    Make("102:wired");
    Offline(102);
    ASSERT_EQ(Get("sensor_flag"), "53");
    EXPECT_ACCEPTED(SetSensorFlags(ctx(), 4 + 16), kTaskWriteAdvanced);
    EXPECT_EQ(Get("sensor_flag"), "20");  // bits 1 and 32 of the default are dropped
    EXPECT_ACCEPTED(SetSensorFlags(ctx(), 0), kTaskWriteAdvanced);
    EXPECT_EQ(Get("sensor_flag"), "0");
    for (int bad : {1, 3, 32, 53, -4}) EXPECT_REFUSED(SetSensorFlags(ctx(), bad), "sum of 4, 8 and 16");

    EXPECT_ACCEPTED(SetLiftOff(ctx(), 2), kTaskWriteAdvanced);
    EXPECT_EQ(Get("liftoff_height"), "2");
    EXPECT_ACCEPTED(SetLiftOff(ctx(), 1), kTaskWriteAdvanced);
    EXPECT_EQ(Get("liftoff_height"), "1");
    EXPECT_REFUSED(SetLiftOff(ctx(), 3), "1 or 2");
}

TEST_F(PerformanceActions, PowerSettingsGoOutAsOneTask) {
    Make("102:wired");
    Offline(102);
    PowerChange change;
    change.sleepSeconds = 300;
    change.wakeOnMove = false;
    change.lightsOffMoving = true;
    change.buttonResponseTime = 35;
    const ActionResult r = SetPower(ctx(), change);
    EXPECT_ACCEPTED(r, kTaskWritePower);
    EXPECT_EQ(r.stored, (Rows{{"sleep_light", "30"},
                              {"move_wakeup", "0"},
                              {"move_closelight", "1"},
                              {"button_respondtime", "20"}}));
    EXPECT_NE(r.message.find("35 -> 20"), std::string::npos) << r.message;

    PowerChange low;
    low.buttonResponseTime = -3;
    EXPECT_ACCEPTED(SetPower(ctx(), low), kTaskWritePower);
    EXPECT_EQ(Get("button_respondtime"), "0");

    const int offered[] = {10, 30, 60, 120, 300, 600, 1200, 1800};
    const char* stored[] = {"1", "3", "6", "12", "30", "60", "120", "180"};
    for (size_t i = 0; i < std::size(offered); ++i) {
        PowerChange sleep;
        sleep.sleepSeconds = offered[i];
        EXPECT_ACCEPTED(SetPower(ctx(), sleep), kTaskWritePower);
        EXPECT_EQ(Get("sleep_light"), stored[i]);
    }
    PowerChange odd;
    odd.sleepSeconds = 45;
    EXPECT_REFUSED(SetPower(ctx(), odd), "not offered");
    EXPECT_REFUSED(SetPower(ctx(), PowerChange{}), "no power setting");
}

TEST_F(PerformanceActions, ResetsAndReadingBack) {
    Make("102:wired");
    Offline(102);
    EXPECT_ACCEPTED(ResetDpi(ctx()), kTaskResetDpi);
    EXPECT_ACCEPTED(ResetReportRate(ctx()), kTaskResetReportRate);
    Set("liftoff_height", "7");
    PerformanceSettings s;
    ASSERT_TRUE(ReadPerformance(ctx(), &s).ok);
    EXPECT_EQ(s.dpiCount, 5);
    // The profile started from the R2's descriptor: its levels, 1000 Hz and one minute of sleep.
    EXPECT_EQ(s.dpiValues, (std::vector<int>{400, 800, 1600, 3200, 6400}));
    EXPECT_EQ(s.dpiColours.front(), 255);
    EXPECT_EQ(s.reportRateHz, 1000);
    EXPECT_EQ(s.liftoffHeight, 1);
    EXPECT_EQ(s.sensorFlags, 4 + 16);
    EXPECT_EQ(s.sleepSeconds, 60);
}

TEST_F(PerformanceActions, WithoutADatabaseEverythingIsRefused) {
    Make("102:wired");
    EXPECT_REFUSED(SetLiftOff(ctx(), 1), "no device database");
    EXPECT_REFUSED(SetReportRate(ctx(), 1000), "no device database");
    EXPECT_REFUSED(ResetDpi(ctx()), "no device database");
    core_->LoadModel(102);  // database open, but no profiles yet
    EXPECT_REFUSED(SetLiftOff(ctx(), 1), "profile 1 has no settings");
}

// The tasks an action names reach the mouse through the worker, in order.
TEST_F(PerformanceActions, TasksRunOnTheWorker) {
    Make("102:wired,sensor=4");
    Read();
    ASSERT_TRUE(core_->Worker().StartThread());
    ActionResult r = SetDpiLevels(ctx(), {400, 800}, 0);
    r.tasks.push_back(DeviceTaskRequest(kTaskWriteDpiColours));
    const std::vector<TaskResult> results = RunActionTasks(core_->Worker(), r, std::chrono::seconds(10));
    ASSERT_EQ(results.size(), 2u);
    for (const TaskResult& t : results) EXPECT_TRUE(t.ok()) << TaskStatusName(t.status);
    EXPECT_EQ(sim_->Mouse(0).Memory().dpiCount, 2);
    EXPECT_TRUE(
        RunActionTasks(core_->Worker(), ActionResult::Refused("no"), std::chrono::seconds(1)).empty());
    core_->Worker().StopWorker();
}

}  // namespace
}  // namespace quorvel::test
