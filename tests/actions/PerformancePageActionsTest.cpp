// What the performance page needs beyond the command line's actions: all six levels for its refresh, a
// change of the level count alone, a value edit that is sent once, and sending the levels as stored.

#include "ActionsFixture.h"

namespace quorvel::test {
namespace {

class PerformancePageActions : public ActionsTest {
protected:
    std::vector<std::string> Values() {
        std::vector<std::string> values;
        for (int i = 0; i < 6; ++i) values.push_back(Get(DpiValueKey(i)));
        return values;
    }
};

TEST_F(PerformancePageActions, TheRefreshGetsEveryLevelAndSetsThePageState) {
    Make("102:wired");
    Offline(102);
    Set("dpi_count", "2");
    Set("dpi_index", "4");  // as a mouse may report it: beyond the count
    for (int i = 0; i < 6; ++i) {
        Set(DpiValueKey(i), std::to_string(100 * (i + 1)));
        Set(DpiColorKey(i), std::to_string(i + 1));
    }
    PerformanceSettings s;
    ASSERT_TRUE(LoadPerformancePage(ctx(), &s).ok);
    EXPECT_EQ(s.dpiValues, (std::vector<int>{100, 200}));
    EXPECT_EQ(s.allDpiValues, (std::array<int, 6>{100, 200, 300, 400, 500, 600}));
    EXPECT_EQ(s.allDpiColours, (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
    // The page state keeps the stored level: a click on the level the page shows is then a change.
    EXPECT_EQ(core_->Snapshot().dpiLevelCount, 2);
    EXPECT_EQ(core_->Snapshot().dpiLevelSelected, 4);
    EXPECT_ACCEPTED(SelectDpiLevel(ctx(), 0), kTaskWriteDpiLevels);

    Set("dpi_count", "9");  // damaged: the levels stop at six
    ASSERT_TRUE(ReadPerformance(ctx(), &s).ok);
    EXPECT_EQ(s.dpiValues.size(), 6u);
}

TEST_F(PerformancePageActions, TheCountAloneLeavesTheValues) {
    struct Case {
        const char* storedIndex;
        int count;
        const char* index;
        bool indexWritten;
    };
    const Case cases[] = {
        {"4", 3, "2", true},   // below the active level: the last remaining level becomes active
        {"1", 3, "1", false},  // still inside: kept
        {"0", 6, "0", false}, {"5", 1, "0", true}, {"-2", 4, "0", true},  // damaged: the first level
    };
    Make("102:wired");
    Offline(102);  // no sensor needed: no value is rounded
    const std::vector<std::string> values = Values();
    for (const Case& c : cases) {
        Set("dpi_index", c.storedIndex);
        const ActionResult r = SetDpiCount(ctx(), c.count);
        EXPECT_ACCEPTED(r, kTaskWriteDpiLevels);
        EXPECT_EQ(Get("dpi_count"), std::to_string(c.count));
        EXPECT_EQ(Get("dpi_index"), c.index) << "stored " << c.storedIndex;
        EXPECT_EQ(r.stored.back().first == "dpi_index", c.indexWritten) << "stored " << c.storedIndex;
        EXPECT_EQ(core_->Snapshot().dpiLevelCount, c.count);
        EXPECT_EQ(std::to_string(core_->Snapshot().dpiLevelSelected), c.index);
        EXPECT_EQ(Values(), values);
    }
    const Rows before = AllSettings();
    EXPECT_REFUSED(SetDpiCount(ctx(), 0), "1 to 6");
    EXPECT_REFUSED(SetDpiCount(ctx(), 7), "1 to 6");
    EXPECT_EQ(AllSettings(), before);
}

TEST_F(PerformancePageActions, AValueEditIsSentOnceAndMakesItsLevelActive) {
    Make("102:wired,sensor=17");
    Read();
    PerformanceSettings s;
    ASSERT_TRUE(LoadPerformancePage(ctx(), &s).ok);
    const int active = s.dpiIndex;
    const int other = active == 0 ? 1 : 0;

    // The active level: its value only.
    ActionResult r = EnterDpiValue(ctx(), active, 12345);
    EXPECT_ACCEPTED(r, kTaskWriteDpiLevels);
    EXPECT_EQ(r.stored, (Rows{{DpiValueKey(active), "12000"}}));

    // Another level: the value and the active level, still one task.
    r = EnterDpiValue(ctx(), other, 10025);
    EXPECT_ACCEPTED(r, kTaskWriteDpiLevels);
    EXPECT_EQ(r.stored, (Rows{{DpiValueKey(other), "10000"}, {"dpi_index", std::to_string(other)}}));
    EXPECT_EQ(core_->Snapshot().dpiLevelSelected, other);
    EXPECT_EQ(Execute(r), std::vector<TaskStatus>{TaskStatus::Confirmed});
    EXPECT_EQ(sim_->Mouse(0).Memory().dpiIndex, other);

    const Rows before = AllSettings();
    EXPECT_REFUSED(EnterDpiValue(ctx(), s.dpiCount, 800), "is not in use");
    EXPECT_EQ(AllSettings(), before);
}

TEST_F(PerformancePageActions, TheSliderStoresWithoutQueueing) {
    struct Case {
        int position;
        const char* stored;  // the level's value afterwards
        bool written;
    };
    // Sensor 5: typed values step by 50 everywhere, the slider by 100 above 6400.
    const Case cases[] = {
        {128, "6450", false},  // the position showing 6450: released in place, the value stays
        {129, "6500", true},
        {129, "6500", false},
        {128, "6400", true},  // moved back: the slider's own value
        {184, "12000", true},
        {300, "12000", false},  // beyond the last position: capped at the sensor's maximum
        {1, "50", true},
    };
    Make("102:wired,sensor=5");
    Read();
    Set("dpi_count", "2");
    Set(DpiValueKey(1), "6450");
    for (const Case& c : cases) {
        int value = 0;
        const ActionResult r = DragDpiValue(ctx(), 1, c.position, &value);
        EXPECT_ACCEPTED(r);
        EXPECT_EQ(Get(DpiValueKey(1)), c.stored) << c.position;
        EXPECT_EQ(std::to_string(value), c.stored) << c.position;
        EXPECT_EQ(!r.stored.empty(), c.written) << c.position;
    }
    EXPECT_REFUSED(DragDpiValue(ctx(), 2, 10, nullptr), "level 3 is not in use");
}

TEST_F(PerformancePageActions, TheSliderNeedsTheSensor) {
    Make("102:wired,sensor=5");
    Offline(102);
    const Rows before = AllSettings();
    EXPECT_REFUSED(DragDpiValue(ctx(), 0, 10, nullptr), "not been read");
    EXPECT_EQ(AllSettings(), before);
}

TEST_F(PerformancePageActions, SendingTheLevelsStoresNothing) {
    Make("102:wired");
    Read();
    const ActionResult r = SendDpiLevels(ctx());
    EXPECT_ACCEPTED(r, kTaskWriteDpiLevels);
    EXPECT_TRUE(r.stored.empty());
    EXPECT_EQ(Execute(r), std::vector<TaskStatus>{TaskStatus::Confirmed});
}

}  // namespace
}  // namespace quorvel::test
