// The macro editor's event list: what each edit stores, how pairs travel together, the limits, and a save
// that fails part-way keeping the old events.

#include <sqlite3.h>

#include "ActionsFixture.h"
#include "files/MacroFile.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

constexpr int kA = 0x41, kB = 0x42, kR = 0x52, kShift = 0xA0;

// One event as type, value, text and pairing id; the id is compared only where a case gives one.
struct Ev {
    int type;
    int value;
    std::string desc;
    int id = -1;
};

bool operator==(const Ev& a, const Ev& b) {
    return a.type == b.type && a.value == b.value && a.desc == b.desc &&
           (a.id < 0 || b.id < 0 || a.id == b.id);
}
std::ostream& operator<<(std::ostream& os, const Ev& e) {
    return os << "{" << e.type << ", " << e.value << ", \"" << e.desc << "\", " << e.id << "}";
}

Ev Delay(int ms, int id = -1) {
    return {kMacroDelay, ms, std::to_string(ms) + " ms", id};
}
Ev Down(int vk, const std::string& name, int id = -1) {
    return {kMacroKeyDown, vk, "↓  " + name, id};
}
Ev Up(int vk, const std::string& name, int id = -1) {
    return {kMacroKeyUp, vk, "↑  " + name, id};
}
Ev Press(int bit, const std::string& name, int id = -1) {
    return {kMacroButtonDown, bit, "↓  " + name, id};
}
Ev Release(int bit, const std::string& name, int id = -1) {
    return {kMacroButtonUp, bit, "↑  " + name, id};
}

MacroEventRecord Row(const Ev& e) {
    MacroEventRecord r;
    r.type = e.type;
    r.value = e.value;
    r.desc = e.desc;
    r.delay_time = e.id < 0 ? 0 : e.id;
    return r;
}

class MacroEvents : public ActionsTest {
protected:
    void SetUp() override {
        Make("102:wired");
        Offline(102);
        id_ = db_.AddMacro("Edit me");
    }
    // Stores the events as they stand (pairing ids as given), as a file import would.
    void Seed(const std::vector<Ev>& events) {
        std::vector<MacroEventRecord> rows;
        for (const Ev& e : events) rows.push_back(Row(e));
        ASSERT_TRUE(ReplaceMacroEvents(ctx(), id_, rows).ok);
    }
    std::vector<MacroEventRecord> Rows() {
        std::vector<MacroEventRecord> rows;
        db_.ListMacroEvents(id_, rows);
        return rows;
    }
    std::vector<Ev> Events() {
        std::vector<Ev> out;
        for (const MacroEventRecord& r : Rows()) out.push_back({r.type, r.value, r.desc, r.delay_time});
        return out;
    }
    int id_ = 0;
};

TEST_F(MacroEvents, ItemTextsAreTheEditors) {
    const std::vector<std::pair<Ev, std::string>> cases = {
        {{kMacroDelay, 50, ""}, "50 ms"},
        {{kMacroKeyDown, kR, ""}, "↓  R"},
        {{kMacroKeyUp, kR, ""}, "↑  R"},
        {{kMacroKeyDown, kShift, ""}, "↓  Shift"},
        {{kMacroKeyUp, 0x6C, ""}, "↑  Num Enter"},
        {{kMacroButtonDown, 1, ""}, "↓  LB"},
        {{kMacroButtonUp, 2, ""}, "↑  RB"},
        {{kMacroButtonDown, 4, ""}, "↓  MB"},
        {{kMacroButtonDown, 8, ""}, "↓  Backward"},
        {{kMacroButtonUp, 16, ""}, "↑  Forward"},
        {{kMacroButtonDown, 3, ""}, ""},
        {{7, 1, ""}, ""},
    };
    for (const auto& [e, text] : cases) EXPECT_EQ(MacroEventText(e.type, e.value), text) << e;
}

TEST_F(MacroEvents, InsertingAfterTheThirdItemPutsTheGroupAtFourToSeven) {
    Seed({Down(kR, "R", 1001), Delay(50, 1002), Up(kR, "R", 1003)});
    int first = -1;
    EXPECT_ACCEPTED(InsertMacroEvents(ctx(), id_, 3, MacroButtonPressItems(kMacroButtonLeft), &first));
    EXPECT_EQ(first, 3);
    // Fresh ids above the ones in use: the press and release share one, each delay has its own.
    EXPECT_EQ(Events(),
              (std::vector<Ev>{Down(kR, "R", 1001), Delay(50, 1002), Up(kR, "R", 1003), Press(1, "LB", 1004),
                               Delay(10, 1005), Release(1, "LB", 1004), Delay(10, 1006)}));
    // A delay goes where it is put; -1 appends.
    EXPECT_ACCEPTED(InsertMacroEvents(ctx(), id_, 0, {MacroDelayItem(25)}));
    EXPECT_ACCEPTED(InsertMacroEvents(ctx(), id_, -1, MacroKeyPressItems(kB, 0)));
    const std::vector<MacroEventRecord> rows = Rows();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(Events()[0], Delay(25));
    EXPECT_EQ(Events()[8], Down(kB, "B"));
    EXPECT_EQ(rows[8].delay_time, rows[9].delay_time);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].record_index, static_cast<int>(i));
        EXPECT_EQ(rows[i].macro_id, id_);
    }
}

TEST_F(MacroEvents, RefusedInsertionsChangeNothing) {
    Seed({Delay(30, 1)});
    struct Case {
        std::vector<MacroEventRecord> items;
        int position;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{MacroDelayItem(0)}, -1, "outside 1-10000"},
        {{MacroDelayItem(10001)}, -1, "outside 1-10000"},
        {{MacroKeyItem(0x07, false)}, -1, "0x07 has no keyboard code"},
        {{MacroKeyItem(0x141, false)}, -1, "no keyboard code"},
        {{MacroButtonItem(3, false)}, -1, "mouse button 3"},
        {{Row({9, 1, "x"})}, -1, "event type 9"},
        {{}, -1, "no event"},
        {{MacroDelayItem(5)}, 2, "position 3 is outside the event list (1-2)"},
        {{MacroDelayItem(5)}, -2, "outside the event list"},
    };
    for (const Case& c : cases) EXPECT_REFUSED(InsertMacroEvents(ctx(), id_, c.position, c.items), c.message);
    EXPECT_REFUSED(InsertMacroEvents(ctx(), id_ + 1, -1, {MacroDelayItem(5)}), "no macro with id");
    EXPECT_EQ(Events(), (std::vector<Ev>{Delay(30, 1)}));
}

TEST_F(MacroEvents, TheEditorsLimitAndTheFileCap) {
    std::vector<Ev> full(kMacroEventLimit - 1, Delay(5));
    Seed(full);
    // Below the limit a whole group still goes in, as the editor's insert button allows.
    EXPECT_ACCEPTED(InsertMacroEvents(ctx(), id_, -1, MacroKeyPressItems(kA)));
    EXPECT_EQ(Rows().size(), static_cast<size_t>(kMacroEventLimit + 3));
    EXPECT_REFUSED(InsertMacroEvents(ctx(), id_, -1, {MacroDelayItem(5)}), "already holds 203 events");
    EXPECT_REFUSED(TypeMacroText(ctx(), id_, "a"), "already holds");
    // A save is bounded by what a macro file can carry, so an export can always be imported again.
    EXPECT_REFUSED(ReplaceMacroEvents(ctx(), id_, std::vector<MacroEventRecord>(1025, MacroDelayItem(5))),
                   "at most 1024 events");
    EXPECT_ACCEPTED(ReplaceMacroEvents(ctx(), id_, std::vector<MacroEventRecord>(1024, MacroDelayItem(5))));
}

TEST_F(MacroEvents, ChangingAKeyOrButtonChangesItsPartner) {
    // An inserted pair (id 5), a recorded press and release (ids 7, 8), and a button pair.
    Seed({Down(kA, "A", 5), Delay(10, 6), Up(kA, "A", 5), Down(kR, "R", 7), Up(kR, "R", 8), Press(1, "LB", 9),
          Release(1, "LB", 9)});
    EXPECT_ACCEPTED(ChangeMacroEvent(ctx(), id_, 2, kB));  // the release of the pair
    EXPECT_ACCEPTED(ChangeMacroEvent(ctx(), id_, 3, kA));  // a recorded press: alone
    EXPECT_ACCEPTED(ChangeMacroEvent(ctx(), id_, 5, kMacroButtonForward));
    EXPECT_EQ(Events(),
              (std::vector<Ev>{Down(kB, "B", 5), Delay(10, 6), Up(kB, "B", 5), Down(kA, "A", 7),
                               Up(kR, "R", 8), Press(16, "Forward", 9), Release(16, "Forward", 9)}));

    const ActionResult clamped = ChangeMacroEvent(ctx(), id_, 1, 0);
    EXPECT_ACCEPTED(clamped);
    EXPECT_NE(clamped.message.find("delay 0 -> 1 ms"), std::string::npos) << clamped.message;
    EXPECT_ACCEPTED(ChangeMacroEvent(ctx(), id_, 1, 20000));
    EXPECT_EQ(Events()[1], Delay(10000, 6));

    EXPECT_REFUSED(ChangeMacroEvent(ctx(), id_, 0, 0x07), "no keyboard code");
    EXPECT_REFUSED(ChangeMacroEvent(ctx(), id_, 5, 3), "mouse button 3");
    EXPECT_REFUSED(ChangeMacroEvent(ctx(), id_, 7, 1000), "event 8 does not exist (macro");
    EXPECT_EQ(Events()[0], Down(kB, "B", 5));
}

TEST_F(MacroEvents, PairsAreFoundWhenImportedIdsRepeat) {
    // A file without timestamps gives every item id 0: pairs are still the nearest matching press and
    // release, and a nested press of the same key keeps its own release.
    Seed({Down(kA, "A", 0), Up(kA, "A", 0), Down(kB, "B", 0), Down(kB, "B", 0), Up(kB, "B", 0),
          Up(kB, "B", 0)});
    EXPECT_ACCEPTED(ChangeMacroEvent(ctx(), id_, 2, kR));
    EXPECT_EQ(Events(), (std::vector<Ev>{Down(kA, "A"), Up(kA, "A"), Down(kR, "R"), Down(kB, "B"),
                                         Up(kB, "B"), Up(kR, "R")}));
}

TEST_F(MacroEvents, MovesTakeThePairAlongAndStopAtTheEnds) {
    const std::vector<Ev> start = {Delay(50, 1), Down(kA, "A", 2), Delay(10, 3), Up(kA, "A", 2),
                                   Down(kR, "R", 4)};
    struct Case {
        int position;
        MacroMove move;
        int newPosition;
        std::vector<Ev> expected;
    };
    const std::vector<Case> cases = {
        {0, MacroMove::kUp, 0, start},
        {4, MacroMove::kDown, 4, start},
        {4, MacroMove::kBottom, 4, start},
        {0, MacroMove::kTop, 0, start},
        // The release of the pair moves the pair (with the delay between) above the delay before it.
        {3, MacroMove::kUp, 2, {Down(kA, "A"), Delay(10), Up(kA, "A"), Delay(50), Down(kR, "R")}},
        {1, MacroMove::kDown, 2, {Delay(50), Down(kR, "R"), Down(kA, "A"), Delay(10), Up(kA, "A")}},
        {1, MacroMove::kBottom, 2, {Delay(50), Down(kR, "R"), Down(kA, "A"), Delay(10), Up(kA, "A")}},
        {4, MacroMove::kTop, 0, {Down(kR, "R"), Delay(50), Down(kA, "A"), Delay(10), Up(kA, "A")}},
        // A delay inside a pair moves alone.
        {2, MacroMove::kUp, 1, {Delay(50), Delay(10), Down(kA, "A"), Up(kA, "A"), Down(kR, "R")}},
    };
    for (const Case& c : cases) {
        Seed(start);
        int moved = -1;
        EXPECT_ACCEPTED(MoveMacroEvent(ctx(), id_, c.position, c.move, &moved));
        EXPECT_EQ(moved, c.newPosition) << c.position;
        EXPECT_EQ(Events(), c.expected) << c.position << " " << static_cast<int>(c.move);
    }
    EXPECT_REFUSED(MoveMacroEvent(ctx(), id_, 5, MacroMove::kUp), "event 6 does not exist");
}

TEST_F(MacroEvents, DeletingOneHalfOfAPairDeletesTheOther) {
    Seed({Down(kA, "A", 2), Delay(10, 3), Up(kA, "A", 2), Delay(50, 4)});
    const ActionResult r = DeleteMacroEvent(ctx(), id_, 2);
    EXPECT_ACCEPTED(r);
    EXPECT_NE(r.message.find("event 1 was deleted with it"), std::string::npos) << r.message;
    EXPECT_EQ(Events(), (std::vector<Ev>{Delay(10, 3), Delay(50, 4)}));
    EXPECT_ACCEPTED(DeleteMacroEvent(ctx(), id_, 1));
    EXPECT_EQ(Events(), (std::vector<Ev>{Delay(10, 3)}));
    EXPECT_REFUSED(DeleteMacroEvent(ctx(), id_, 1), "event 2 does not exist");
    EXPECT_ACCEPTED(ClearMacroEvents(ctx(), id_));
    EXPECT_TRUE(Rows().empty());
    EXPECT_REFUSED(DeleteMacroEvent(ctx(), id_, 0), "has no events");
}

TEST_F(MacroEvents, TypingATextMakesShiftedPairs) {
    EXPECT_ACCEPTED(TypeMacroText(ctx(), id_, "Hi!", 5));
    EXPECT_EQ(Events(), (std::vector<Ev>{Down(kShift, "Shift"), Delay(5), Down(0x48, "H"),     Delay(5),
                                         Up(0x48, "H"),         Delay(5), Up(kShift, "Shift"), Delay(5),
                                         Down(0x49, "I"),       Delay(5), Up(0x49, "I"),       Delay(5),
                                         Down(kShift, "Shift"), Delay(5), Down(0x31, "1"),     Delay(5),
                                         Up(0x31, "1"),         Delay(5), Up(kShift, "Shift"), Delay(5)}));
    // Each pair shares an id no other item has.
    const std::vector<MacroEventRecord> rows = Rows();
    EXPECT_EQ(rows[0].delay_time, rows[6].delay_time);
    EXPECT_EQ(rows[2].delay_time, rows[4].delay_time);
    EXPECT_NE(rows[0].delay_time, rows[2].delay_time);
    EXPECT_NE(rows[12].delay_time, rows[0].delay_time);

    ASSERT_TRUE(ClearMacroEvents(ctx(), id_).ok);
    EXPECT_ACCEPTED(TypeMacroText(ctx(), id_, "a b\r\n", 0));
    EXPECT_EQ(Events(),
              (std::vector<Ev>{Down(kA, "A"), Up(kA, "A"), Down(0x20, "Space"), Up(0x20, "Space"),
                               Down(kB, "B"), Up(kB, "B"), Down(0x0D, "Enter"), Up(0x0D, "Enter")}));
    EXPECT_REFUSED(TypeMacroText(ctx(), id_, "caf\xC3\xA9"), "character 4 (\"\xC3\xA9\") cannot be typed");
    EXPECT_REFUSED(TypeMacroText(ctx(), id_, "a", -1), "outside 0-10000");
    EXPECT_REFUSED(TypeMacroText(ctx(), id_, ""), "no text");
    EXPECT_EQ(Rows().size(), 8u);
}

TEST_F(MacroEvents, ASaveIsOneTransactionAndAFailureKeepsTheOldEvents) {
    Seed({Down(kR, "R", 1), Up(kR, "R", 1)});
    std::vector<std::string> statements;
    db_.SetTraceHook([&](const std::string& sql, const std::string&) { statements.push_back(sql); });
    EXPECT_ACCEPTED(ReplaceMacroEvents(ctx(), id_, {MacroDelayItem(5), MacroDelayItem(6)}));
    db_.SetTraceHook({});
    std::vector<std::string> writes;
    for (const std::string& s : statements) {
        if (s.rfind("SELECT", 0) != 0) writes.push_back(s.substr(0, s.find(' ')));
    }
    EXPECT_EQ(writes, (std::vector<std::string>{"BEGIN", "DELETE", "INSERT", "INSERT", "COMMIT"}));

    // A second connection makes the store refuse one event: the save fails as a whole.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(db_.Path().c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord WHEN NEW.value = 4242 "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    const ActionResult failed = ReplaceMacroEvents(ctx(), id_, {MacroDelayItem(1), MacroDelayItem(4242)});
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.message.find("previous events are kept"), std::string::npos) << failed.message;
    EXPECT_EQ(Events(), (std::vector<Ev>{Delay(5), Delay(6)}));
    // The edits go through the same save.
    EXPECT_FALSE(InsertMacroEvents(ctx(), id_, 0, {MacroDelayItem(4242)}).ok);
    EXPECT_FALSE(ChangeMacroEvent(ctx(), id_, 0, 4242).ok);
    EXPECT_EQ(Events(), (std::vector<Ev>{Delay(5), Delay(6)}));
}

TEST_F(MacroEvents, EditsNameTheButtonsThatStillPlayTheOldEvents) {
    EXPECT_ACCEPTED(AssignMenuFunction(ctx(), 3, kMacroFunction, id_), kTaskWriteKeys);
    const ActionResult r = TypeMacroText(ctx(), id_, "a");
    EXPECT_ACCEPTED(r);
    EXPECT_NE(r.message.find("(profile 1: 3) keep its previous events"), std::string::npos) << r.message;
}

TEST_F(MacroEvents, AnInsertedKeyExportsAsTheEditorWritesIt) {
    ASSERT_TRUE(db_.UpdateMacro(id_, MacroRecord{0, "Edit me", 0, 3, 1, 0}));
    EXPECT_ACCEPTED(InsertMacroEvents(ctx(), id_, -1, MacroKeyPressItems(kR, 50)));
    std::string text;
    ASSERT_TRUE(BuildSingleMacroDocument(db_, id_, std::nullopt, &text).ok());
    EXPECT_EQ(text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<macro>\r\n"
              "<macroinfo macro_name=\"Edit me\" macro_type=\"0\" play_times=\"3\" delay_type=\"1\" "
              "delay_time=\"0\"/>\r\n"
              "<macroitems>\r\n"
              "<item desc=\"↓  R\" index=\"0\" type=\"2\" value=\"82\" timestamp=\"1\"/>\r\n"
              "<item desc=\"50 ms\" index=\"1\" type=\"1\" value=\"50\" timestamp=\"2\"/>\r\n"
              "<item desc=\"↑  R\" index=\"2\" type=\"3\" value=\"82\" timestamp=\"1\"/>\r\n"
              "<item desc=\"50 ms\" index=\"3\" type=\"1\" value=\"50\" timestamp=\"3\"/>\r\n"
              "</macroitems>\r\n"
              "</macro>\r\n");
}

class MacroPlay : public ActionsTest {};

TEST_F(MacroPlay, SettingsAreClampedByFamilyAndKeptConsistent) {
    struct Case {
        int deviceType;
        MacroPlayChange change;
        MacroRecord expected;  // play_type, play_times, delay_type, delay_time
        std::string note;
    };
    const std::vector<Case> cases = {
        {102, {.playTimes = 0}, {0, "", 0, 1, 1, 0}, "play count 0 -> 1 (1-999"},
        {102, {.playTimes = 1500}, {0, "", 0, 999, 1, 0}, "1500 -> 999"},
        {201, {.playTimes = 1500}, {0, "", 0, 255, 1, 0}, "1500 -> 255 (1-255 on this mouse)"},
        {201, {.playTimes = 255}, {0, "", 0, 255, 1, 0}, ""},
        {102, {.playType = 1}, {0, "", 1, 1, 1, 0}, ""},
        {102, {.playType = 2}, {0, "", 2, 1, 1, 0}, ""},
        {102, {.delayType = 2}, {0, "", 0, 1, 2, 10}, ""},
        {102, {.delayTime = 0}, {0, "", 0, 1, 2, 1}, "fixed delay 0 -> 1 ms"},
        {102, {.delayType = 0}, {0, "", 0, 1, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        Make(std::to_string(c.deviceType));
        Offline(c.deviceType);
        const int id = db_.AddMacro("Play");
        const ActionResult r = SetMacroPlaySettings(ctx(), id, c.change);
        EXPECT_ACCEPTED(r);
        EXPECT_NE(r.message.find(c.note), std::string::npos) << r.message;
        MacroRecord m;
        ASSERT_TRUE(db_.GetMacro(id, m));
        EXPECT_EQ(m.name, "Play");
        EXPECT_EQ(std::vector<int>({m.play_type, m.play_times, m.delay_type, m.delay_time}),
                  std::vector<int>({c.expected.play_type, c.expected.play_times, c.expected.delay_type,
                                    c.expected.delay_time}))
            << c.deviceType << " " << r.message;
        TearDown();
    }
}

TEST_F(MacroPlay, ContradictoryOrOutOfRangeSettingsAreRefused) {
    Make("102");
    Offline(102);
    const int id = db_.AddMacro("Play");
    EXPECT_REFUSED(SetMacroPlaySettings(ctx(), id, {.playType = 3}), "play type 3");
    EXPECT_REFUSED(SetMacroPlaySettings(ctx(), id, {.playType = 1, .playTimes = 4}), "play type 0 only");
    EXPECT_REFUSED(SetMacroPlaySettings(ctx(), id, {.delayType = 1, .delayTime = 40}), "delay type 2 only");
    EXPECT_REFUSED(SetMacroPlaySettings(ctx(), id, {.delayType = -1}), "delay type -1");
    EXPECT_REFUSED(SetMacroPlaySettings(ctx(), id, {}), "no play setting");
    EXPECT_REFUSED(SetMacroPlaySettings(ctx(), id + 1, {.playTimes = 2}), "no macro with id");
    MacroRecord m;
    ASSERT_TRUE(db_.GetMacro(id, m));
    EXPECT_EQ(std::vector<int>({m.play_type, m.play_times, m.delay_type, m.delay_time}),
              std::vector<int>({0, 1, 1, 0}));
}

}  // namespace
}  // namespace quorvel::test
