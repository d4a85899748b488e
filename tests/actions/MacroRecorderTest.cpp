// Recording a macro from the keyboard: keys at given times in, the event list out, by delay mode; the pause
// cap, the event limit, the pairing of presses and releases, keys still held at the end; and the two
// actions that load the macro's list and store the recording in one piece.

#include <map>
#include <set>
#include <tuple>

#include "ActionsFixture.h"
#include "actions/MacroEventActions.h"
#include "actions/MacroRecorder.h"
#include "files/FileResult.h"

namespace quorvel::test {
namespace {

constexpr int kA = 0x41, kB = 0x42, kEnter = 0x0D, kShift = 0xA0;

// A key at a time (ms); `up` false for a press.
struct Input {
    int64_t at;
    int vk;
    bool up;
};
Input Dn(int64_t at, int vk) {
    return {at, vk, false};
}
Input Up(int64_t at, int vk) {
    return {at, vk, true};
}

// An expected item: type, value, text; `pair` names items that share an id (0: an id of its own).
struct Item {
    int type;
    int value;
    std::string desc;
    int pair = 0;
};
Item D(int ms) {
    return {kMacroDelay, ms, std::to_string(ms) + " ms"};
}
Item KDown(int vk, const std::string& name, int pair) {
    return {kMacroKeyDown, vk, "↓  " + name, pair};
}
Item KUp(int vk, const std::string& name, int pair) {
    return {kMacroKeyUp, vk, "↑  " + name, pair};
}

MacroEventRecord Stored(int type, int value, int id) {
    MacroEventRecord r;
    r.type = type;
    r.value = value;
    r.desc = MacroEventText(type, value);
    r.delay_time = id;
    return r;
}

// What an event is, without where it is stored.
std::vector<std::tuple<int, int, std::string, int>> Content(const std::vector<MacroEventRecord>& list) {
    std::vector<std::tuple<int, int, std::string, int>> out;
    for (const MacroEventRecord& e : list) out.emplace_back(e.type, e.value, e.desc, e.delay_time);
    return out;
}

struct Clock {
    int64_t now = 0;
    MacroRecorder::Clock Fn() {
        return [this] { return now; };
    }
};

// Compares a list with the expected items: types, values and texts exactly; items with the same `pair`
// share an id, every other item has an id no other item (nor any of `existing`) has.
void ExpectItems(const std::vector<MacroEventRecord>& got, size_t existing, const std::vector<Item>& expected,
                 const std::string& name) {
    ASSERT_EQ(got.size(), existing + expected.size()) << name;
    std::map<int, int> idOfPair;
    std::multiset<int> ids;
    for (const MacroEventRecord& e : got) ids.insert(e.delay_time);
    for (size_t i = 0; i < expected.size(); ++i) {
        const MacroEventRecord& e = got[existing + i];
        const Item& x = expected[i];
        EXPECT_EQ(e.type, x.type) << name << " item " << i;
        EXPECT_EQ(e.value, x.value) << name << " item " << i;
        EXPECT_EQ(e.desc, x.desc) << name << " item " << i;
        EXPECT_GT(e.delay_time, 0) << name << " item " << i;
        if (x.pair == 0) {
            EXPECT_EQ(ids.count(e.delay_time), 1u) << name << " item " << i << ": its id is shared";
            continue;
        }
        auto [it, added] = idOfPair.try_emplace(x.pair, e.delay_time);
        if (added) {
            EXPECT_EQ(ids.count(e.delay_time), 2u) << name << " item " << i << ": not exactly one partner";
        } else {
            EXPECT_EQ(e.delay_time, it->second) << name << " item " << i << ": not its press's id";
        }
    }
}

TEST(MacroRecorder, DelayModesPairsAndTheEndOfARecording) {
    const std::vector<MacroEventRecord> twoEvents = {Stored(kMacroKeyDown, kB, 7),
                                                     Stored(kMacroKeyUp, kB, 7)};
    const std::vector<MacroEventRecord> delayOnly = {Stored(kMacroDelay, 20, 3)};
    struct Case {
        std::string name;
        int mode;
        int fixed;
        std::vector<MacroEventRecord> existing;
        std::vector<Input> keys;
        int64_t stopAt;
        std::vector<Item> expected;  // what the recording appends
    };
    const std::vector<Case> cases = {
        {"no delays",
         kRecordNoDelays,
         50,
         {},
         {Dn(1000, kA), Up(1090, kA)},
         1500,
         {KDown(kA, "A", 1), KUp(kA, "A", 1)}},
        {"measured: none before the first key, the time since the previous one, the rest at the end",
         kRecordMeasuredDelays,
         0,
         {},
         {Dn(1000, kA), Up(1120, kA), Dn(1300, kB), Up(1305, kB)},
         1400,
         {KDown(kA, "A", 1), D(120), KUp(kA, "A", 1), D(180), KDown(kB, "B", 2), D(5), KUp(kB, "B", 2),
          D(95)}},
        {"measured: a 45 s pause is stored as 31000 ms, at the end too",
         kRecordMeasuredDelays,
         0,
         {},
         {Dn(5000, kA), Up(50000, kA)},
         100000,
         {KDown(kA, "A", 1), D(31000), KUp(kA, "A", 1), D(31000)}},
        {"measured: keys in the same millisecond get no delay between them",
         kRecordMeasuredDelays,
         0,
         {},
         {Dn(10, kA), Up(10, kA)},
         10,
         {KDown(kA, "A", 1), KUp(kA, "A", 1)}},
        {"measured: no delay before the first key of a recording onto other events",
         kRecordMeasuredDelays,
         0,
         twoEvents,
         {Dn(10, kA), Up(30, kA)},
         30,
         {KDown(kA, "A", 1), D(20), KUp(kA, "A", 1)}},
        {"fixed 50: down, 50, up, and 50 after",
         kRecordFixedDelay,
         50,
         {},
         {Dn(0, kA), Up(3, kA)},
         9,
         {KDown(kA, "A", 1), D(50), KUp(kA, "A", 1), D(50)}},
        {"fixed: a delay before the first key when the list already holds an event",
         kRecordFixedDelay,
         25,
         twoEvents,
         {Dn(0, kA), Up(0, kA)},
         0,
         {D(25), KDown(kA, "A", 1), D(25), KUp(kA, "A", 1), D(25)}},
        {"fixed: delays do not count as events",
         kRecordFixedDelay,
         25,
         delayOnly,
         {Dn(0, kA), Up(0, kA)},
         0,
         {KDown(kA, "A", 1), D(25), KUp(kA, "A", 1), D(25)}},
        {"fixed: a delay above 10000 ms is kept to 10000",
         kRecordFixedDelay,
         60000,
         {},
         {Dn(0, kA)},
         0,
         {KDown(kA, "A", 1), D(10000), KUp(kA, "A", 1), D(10000)}},
        {"fixed 0: no delays",
         kRecordFixedDelay,
         0,
         twoEvents,
         {Dn(0, kA), Up(0, kA)},
         0,
         {KDown(kA, "A", 1), KUp(kA, "A", 1)}},
        {"nothing recorded appends nothing, not even the trailing delay",
         kRecordFixedDelay,
         50,
         twoEvents,
         {},
         5000,
         {}},
        {"a, Shift+b, Enter: each release shares its press's id",
         kRecordNoDelays,
         0,
         {},
         {Dn(0, kA), Up(1, kA), Dn(2, kShift), Dn(3, kB), Up(4, kB), Up(5, kShift), Dn(6, kEnter),
          Up(7, kEnter)},
         8,
         {KDown(kA, "A", 1), KUp(kA, "A", 1), KDown(kShift, "Shift", 2), KDown(kB, "B", 3), KUp(kB, "B", 3),
          KUp(kShift, "Shift", 2), KDown(kEnter, "Enter", 4), KUp(kEnter, "Enter", 4)}},
        {"a release whose press came before the recording has an id of its own",
         kRecordNoDelays,
         0,
         {},
         {Up(0, kShift), Dn(1, kA), Up(2, kA)},
         3,
         {KUp(kShift, "Shift", 0), KDown(kA, "A", 1), KUp(kA, "A", 1)}},
        {"keys still held at the end are released, the last pressed first, before the trailing delay",
         kRecordMeasuredDelays,
         0,
         {},
         {Dn(100, kShift), Dn(150, kB)},
         400,
         {KDown(kShift, "Shift", 1), D(50), KDown(kB, "B", 2), D(250), KUp(kB, "B", 2),
          KUp(kShift, "Shift", 1)}},
        {"keys the mouse cannot send are left out, with no delay for them",
         kRecordFixedDelay,
         40,
         {},
         {Dn(0, 0xFF), Dn(1, kA), Up(2, 0x07), Up(3, kA)},
         4,
         {KDown(kA, "A", 1), D(40), KUp(kA, "A", 1), D(40)}},
    };
    for (const Case& c : cases) {
        Clock clock;
        MacroRecorder recorder(clock.Fn());
        recorder.Begin(c.mode, c.fixed, c.existing);
        for (const Input& key : c.keys) {
            clock.now = key.at;
            recorder.Key(key.vk, key.up);
        }
        clock.now = c.stopAt;
        const std::vector<MacroEventRecord> list = recorder.Finish();
        EXPECT_FALSE(recorder.Active()) << c.name;
        ExpectItems(list, c.existing.size(), c.expected, c.name);
        // The macro's own events stay as they were, in front.
        for (size_t i = 0; i < c.existing.size() && i < list.size(); ++i) {
            EXPECT_EQ(list[i].type, c.existing[i].type) << c.name;
            EXPECT_EQ(list[i].delay_time, c.existing[i].delay_time) << c.name;
        }
    }
}

TEST(MacroRecorder, ThirtyKeyEventsEndARecording) {
    Clock clock;
    MacroRecorder recorder(clock.Fn());
    recorder.Begin(kRecordFixedDelay, 10, {});
    std::vector<MacroRecorder::Step> steps;
    for (int i = 0; i < 20; ++i) {
        steps.push_back(recorder.Key(kA + i, false));
        steps.push_back(recorder.Key(kA + i, true));
    }
    std::vector<MacroRecorder::Step> expected(40, MacroRecorder::Step::kIgnored);
    std::fill(expected.begin(), expected.begin() + 29, MacroRecorder::Step::kRecorded);
    expected[29] = MacroRecorder::Step::kLimitReached;
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(recorder.RecordedEvents(), kMacroRecordLimit);
    // 30 events with 29 delays between them and the trailing one.
    EXPECT_EQ(recorder.Finish().size(), 60u);

    // When the limit falls on a press, stopping releases that key: 31 events.
    recorder.Begin(kRecordNoDelays, 0, {});
    EXPECT_EQ(recorder.Key(kShift, true), MacroRecorder::Step::kRecorded);
    for (int i = 0; i < 14; ++i) {
        recorder.Key(kA + i, false);
        recorder.Key(kA + i, true);
    }
    EXPECT_EQ(recorder.Key(kB, false), MacroRecorder::Step::kLimitReached);
    const std::vector<MacroEventRecord> list = recorder.Finish();
    ASSERT_EQ(list.size(), 31u);
    EXPECT_EQ(list.back().type, kMacroKeyUp);
    EXPECT_EQ(list.back().value, kB);
    EXPECT_EQ(list.back().delay_time, list[29].delay_time);
}

TEST(MacroRecorder, AListThatCannotTakeMoreStopsTheRecordingWithRoomToCloseIt) {
    std::vector<MacroEventRecord> nearlyFull(kMaxEventsPerMacro - 6, Stored(kMacroDelay, 10, 1));
    MacroRecorder recorder;
    recorder.Begin(kRecordFixedDelay, 10, nearlyFull);
    EXPECT_EQ(recorder.Key(kShift, false), MacroRecorder::Step::kRecorded);
    EXPECT_EQ(recorder.Key(kA, false), MacroRecorder::Step::kFull);
    EXPECT_EQ(recorder.Finish().size(), kMaxEventsPerMacro - 6 + 4);  // Shift, 10 ms, Shift released, 10 ms
}

class MacroRecording : public ActionsTest {
protected:
    void SetUp() override {
        Make("102:wired");
        Offline(102);
        id_ = db_.AddMacro("Recorded");
    }
    std::vector<MacroEventRecord> Rows() {
        std::vector<MacroEventRecord> rows;
        db_.ListMacroEvents(id_, rows);
        return rows;
    }
    int id_ = 0;
};

TEST_F(MacroRecording, TheWholeRecordingIsStoredAsShown) {
    ASSERT_TRUE(
        ReplaceMacroEvents(ctx(), id_, {Stored(kMacroKeyDown, kB, 1), Stored(kMacroKeyUp, kB, 1)}).ok);
    Clock clock;
    MacroRecorder recorder(clock.Fn());
    EXPECT_ACCEPTED(StartMacroRecording(ctx(), id_, kRecordFixedDelay, 50, recorder));
    ASSERT_EQ(recorder.Events().size(), 2u);
    recorder.Key(kA, false);
    recorder.Key(kA, true);
    EXPECT_EQ(Rows().size(), 2u);  // nothing stored while recording
    EXPECT_ACCEPTED(StoreMacroRecording(ctx(), recorder));
    const std::vector<MacroEventRecord> rows = Rows();
    ASSERT_EQ(rows.size(), 7u);  // B, B, 50, A, 50, A, 50 (the trailing delay is stored too)
    EXPECT_EQ(rows.back().type, kMacroDelay);
    EXPECT_EQ(rows.back().value, 50);
    EXPECT_EQ(Content(rows), Content(recorder.Events()));
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].record_index, static_cast<int>(i));

    // Starting and stopping without a key changes nothing.
    EXPECT_ACCEPTED(StartMacroRecording(ctx(), id_, kRecordFixedDelay, 50, recorder));
    EXPECT_ACCEPTED(StoreMacroRecording(ctx(), recorder));
    EXPECT_EQ(Content(Rows()), Content(rows));
    EXPECT_REFUSED(StoreMacroRecording(ctx(), recorder), "no recording");
}

// Keys the mouse cannot play are left out, and counted once per press so the user hears of them once.
TEST_F(MacroRecording, SkippedKeysAreCountedAndNamedOnce) {
    constexpr int kUnplayable = 0x07;  // no keyboard code
    ASSERT_FALSE(IsPlayableMacroKey(kUnplayable));
    MacroRecorder recorder;
    EXPECT_ACCEPTED(StartMacroRecording(ctx(), id_, kRecordNoDelays, 0, recorder));
    recorder.Key(kUnplayable, false);
    recorder.Key(kUnplayable, true);
    recorder.Key(kA, false);
    recorder.Key(kA, true);
    EXPECT_EQ(recorder.Key(kUnplayable, false), MacroRecorder::Step::kIgnored);
    EXPECT_EQ(recorder.SkippedKeys(), 2);
    ActionResult stored = StoreMacroRecording(ctx(), recorder);
    EXPECT_TRUE(stored.ok);
    EXPECT_EQ(stored.message, "2 keys the mouse cannot play were not recorded");
    EXPECT_EQ(Rows().size(), 2u);

    // Only skipped keys: nothing stored, still said; a new recording counts from 0.
    EXPECT_ACCEPTED(StartMacroRecording(ctx(), id_, kRecordNoDelays, 0, recorder));
    EXPECT_EQ(recorder.SkippedKeys(), 0);
    recorder.Key(kUnplayable, false);
    stored = StoreMacroRecording(ctx(), recorder);
    EXPECT_TRUE(stored.ok);
    EXPECT_EQ(stored.message, "1 key the mouse cannot play was not recorded");
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(MacroRecording, RefusedStartsAndAModelChangeStoreNothing) {
    MacroRecorder recorder;
    EXPECT_REFUSED(StartMacroRecording(ctx(), id_ + 1, kRecordNoDelays, 0, recorder), "no macro");
    EXPECT_REFUSED(StartMacroRecording(ctx(), id_, 3, 0, recorder), "delay mode 3");
    EXPECT_FALSE(recorder.Active());

    // The mouse model changes while recording: the other model's database gets nothing, and neither does
    // this one.
    EXPECT_ACCEPTED(StartMacroRecording(ctx(), id_, kRecordNoDelays, 0, recorder));
    recorder.Key(kA, false);
    recorder.Key(kA, true);
    core_->LoadModel(201);
    ASSERT_GT(core_->LoadProfiles(), 0);
    const int otherId = db_.AddMacro("Other model's");
    bool modelChanged = false;
    EXPECT_REFUSED(StoreMacroRecording(ctx(), recorder, &modelChanged), "model changed");
    EXPECT_TRUE(modelChanged);
    std::vector<MacroEventRecord> other;
    db_.ListMacroEvents(otherId, other);
    EXPECT_TRUE(other.empty());
    core_->LoadModel(102);
    EXPECT_TRUE(Rows().empty());
}

}  // namespace
}  // namespace quorvel::test
