#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "StoreFixture.h"
#include "store/LightDefaults.h"

namespace quorvel {
namespace {

using testing::StatementLog;
using testing::StoreTest;
using Rows = std::vector<std::vector<std::string>>;

KeyAssignmentRecord Assignment(int profile, int keyCode, int type, int value, int value2,
                               const std::string& desc) {
    KeyAssignmentRecord r;
    r.profile = profile;
    r.key_code = keyCode;
    r.macro_type = type;
    r.macro_value = value;
    r.macro_value2 = value2;
    r.macro_desc = desc;
    return r;
}

TEST_F(StoreTest, KeyAssignmentsReplaceAndRemoveTheButtonRow) {
    struct Step {
        int value, value2;
        bool inserted;
    } steps[] = {
        {3, 0, true},   // a function
        {7, 0, true},   // the same button again: still one row
        {0, 5, true},   // second value alone is enough
        {0, 0, false},  // back to the default: no row
    };
    for (const Step& s : steps) {
        int id = db_.SaveKeyAssignment(Assignment(1, 4, 1, s.value, s.value2, "d"));
        EXPECT_EQ(id > 0, s.inserted);
        EXPECT_EQ(Query("SELECT count(*) FROM t_key_macro_data")[0][0], s.inserted ? "1" : "0");
    }

    KeyAssignmentRecord in = Assignment(2, 9, 2, 0x04, 0x03, "Shift+ Ctrl + A");
    in.layout_value = 11;
    in.layout_desc = "布局";
    in.macro_value3 = 6;
    in.key_id = db_.SaveKeyAssignment(in);
    ASSERT_GT(in.key_id, 0);
    KeyAssignmentRecord out;
    ASSERT_TRUE(db_.GetKeyAssignment(2, 9, out));
    EXPECT_EQ(std::tie(out.key_id, out.profile, out.fn_layer, out.key_code, out.layout_value, out.layout_desc,
                       out.macro_type, out.macro_value, out.macro_value2, out.macro_value3, out.macro_desc),
              std::tie(in.key_id, in.profile, in.fn_layer, in.key_code, in.layout_value, in.layout_desc,
                       in.macro_type, in.macro_value, in.macro_value2, in.macro_value3, in.macro_desc));
    EXPECT_FALSE(db_.GetKeyAssignment(1, 9, out));

    ASSERT_TRUE(db_.SetKeyDescription(2, 9, "Macro 2"));
    ASSERT_TRUE(db_.GetKeyAssignment(2, 9, out));
    EXPECT_EQ(out.macro_desc, "Macro 2");

    db_.SaveKeyAssignment(Assignment(2, 3, 1, 1, 0, ""));
    db_.SaveKeyAssignment(Assignment(3, 3, 1, 1, 0, ""));
    std::vector<KeyAssignmentRecord> list(5);
    EXPECT_EQ(db_.ListKeyAssignments(2, list), 2);
    ASSERT_TRUE(db_.DeleteProfileKeyAssignments(2));
    EXPECT_EQ(db_.ListKeyAssignments(2, list), 0);
    EXPECT_EQ(db_.ListKeyAssignments(3, list), 1);
}

// The old row goes only together with the new one: an insert that fails keeps the button's function.
TEST_F(StoreTest, KeyAssignmentIsKeptWhenItsReplacementCannotBeStored) {
    ASSERT_GT(db_.SaveKeyAssignment(Assignment(1, 4, 1, 3, 0, "old")), 0);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(db_.Path().c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(raw,
                     "CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data BEGIN SELECT RAISE(ABORT, "
                     "'refused'); END",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(raw);

    EXPECT_EQ(db_.SaveKeyAssignment(Assignment(1, 4, 1, 7, 0, "new")), 0);
    EXPECT_EQ(Query("SELECT key_code, macro_value, macro_desc FROM t_key_macro_data"),
              (Rows{{"4", "3", "old"}}));
    // The connection is usable afterwards: no transaction was left open.
    EXPECT_EQ(db_.SaveKeyAssignment(Assignment(1, 4, 1, 0, 0, "")), 0);
    EXPECT_EQ(Query("SELECT count(*) FROM t_key_macro_data")[0][0], "0");
}

TEST_F(StoreTest, DefaultLightingRowsFollowTheEnabledZones) {
    EXPECT_EQ(AddDefaultLightModes(db_, 1, {true, true, true, true, true, true}), 6);
    EXPECT_EQ(Query("SELECT name, mode, brightness, speed, direction, colorful, colorindex, color_value1, "
                    "color_value2, color_value3, color_value4, color_value5, color_value6, color_value7, "
                    "config_func, reserved, status FROM t_light_data WHERE profile = 1 ORDER BY light_id"),
              (Rows{
                  {"流光", "1", "4", "2", "0", "1", "0", "255", "65280", "16711680", "16776960", "65535",
                   "16711935", "16777215", "3", "280", "1"},
                  {"呼吸", "2", "4", "2", "0", "1", "0", "255", "65280", "16711680", "16776960", "65535",
                   "16711935", "16777215", "3", "281", "0"},
                  {"常亮", "3", "4", "2", "0", "1", "0", "255", "65280", "16711680", "16776960", "65535",
                   "16711935", "16777215", "1", "282", "0"},
                  {"霓虹", "4", "4", "2", "0", "1", "0", "255", "65280", "16711680", "16776960", "65535",
                   "16711935", "16777215", "3", "283", "0"},
                  {"七彩波浪", "5", "4", "2", "0", "1", "0", "255", "65280", "16711680", "16776960", "65535",
                   "16711935", "16777215", "3", "284", "0"},
                  {"关闭", "0", "4", "2", "0", "1", "0", "255", "65280", "16711680", "16776960", "65535",
                   "16711935", "16777215", "0", "285", "0"},
              }));
    EXPECT_EQ(db_.GetActiveLightMode(1), 1);
    // Once a profile has rows they are left alone.
    EXPECT_EQ(AddDefaultLightModes(db_, 1, {true, true, true, true, true, true}), 0);
    EXPECT_EQ(db_.CountLightModes(1), 6);

    // Without zone 1 no mode becomes active.
    EXPECT_EQ(AddDefaultLightModes(db_, 2, {false, true, false, false, false, true}), 2);
    EXPECT_EQ(Query("SELECT mode, status FROM t_light_data WHERE profile = 2 ORDER BY light_id"),
              (Rows{{"2", "0"}, {"0", "0"}}));
    EXPECT_EQ(db_.GetActiveLightMode(2), 0);
}

TEST_F(StoreTest, LightModeUpdatesKeepNameAndStatus) {
    AddDefaultLightModes(db_, 1, {true, true, true, false, false, false});
    LightModeRecord changed;
    ASSERT_TRUE(db_.GetLightMode(1, 2, changed));
    changed.name = "renamed";
    changed.status = 1;
    changed.brightness = 1;
    changed.speed = 5;
    changed.color_value[6] = 42;
    changed.reserved = 999;
    ASSERT_TRUE(db_.UpdateLightMode(2, changed));
    LightModeRecord back;
    ASSERT_TRUE(db_.GetLightMode(1, 2, back));
    EXPECT_EQ(back.name, "呼吸");
    EXPECT_EQ(back.status, 0);
    EXPECT_EQ(back.brightness, 1);
    EXPECT_EQ(back.speed, 5);
    EXPECT_EQ(back.color_value[6], 42);
    EXPECT_EQ(back.reserved, 999);

    // A mode without a row: no mode is active afterwards, and that is a success.
    EXPECT_TRUE(db_.SetActiveLightMode(1, 9));
    EXPECT_EQ(db_.GetActiveLightMode(1), 0);
    EXPECT_TRUE(db_.SetActiveLightMode(1, 3));
    EXPECT_EQ(Query("SELECT mode FROM t_light_data WHERE status = 1"), (Rows{{"3"}}));
    std::vector<LightModeRecord> list;
    EXPECT_EQ(db_.ListLightModes(1, list), 3);
    EXPECT_FALSE(db_.GetLightMode(2, 1, back));
}

MacroEventRecord Event(int macro, int index, int value) {
    MacroEventRecord e;
    e.macro_id = macro;
    e.type = 1;
    e.record_index = index;
    e.value = value;
    e.delay_time = 10 * index;
    e.desc = "键 " + std::to_string(index);
    return e;
}

TEST_F(StoreTest, MacrosAndTheirEvents) {
    const int first = db_.AddMacro("宏 1");
    ASSERT_EQ(first, 1);
    MacroRecord macro;
    ASSERT_TRUE(db_.GetMacro(first, macro));
    EXPECT_EQ(std::tie(macro.name, macro.play_type, macro.play_times, macro.delay_type, macro.delay_time),
              std::make_tuple(std::string("宏 1"), 0, 1, 1, 0));

    // Events come back by position, whatever order they were stored in.
    db_.AddMacroEvents({Event(first, 2, 30), Event(first, 0, 10), Event(first, 1, 20)});
    std::vector<MacroEventRecord> events;
    ASSERT_EQ(db_.ListMacroEvents(first, events), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(events[i].record_index, i);
        EXPECT_EQ(events[i].value, 10 * (i + 1));
        EXPECT_EQ(events[i].delay_time, 10 * i);
        EXPECT_EQ(events[i].desc, "键 " + std::to_string(i));
        EXPECT_EQ(events[i].macro_id, first);
    }

    MacroRecord settings;
    settings.macro_id = 77;  // ignored: the argument names the row
    settings.name = "Fast";
    settings.play_type = 2;
    settings.play_times = 5;
    settings.delay_type = 0;
    settings.delay_time = 15;
    ASSERT_TRUE(db_.UpdateMacro(first, settings));
    ASSERT_TRUE(db_.GetMacro(first, macro));
    EXPECT_EQ(std::tie(macro.macro_id, macro.name, macro.play_type, macro.play_times, macro.delay_type,
                       macro.delay_time),
              std::make_tuple(first, std::string("Fast"), 2, 5, 0, 15));
    ASSERT_TRUE(db_.RenameMacro(first, "Slow"));
    ASSERT_TRUE(db_.GetMacro(first, macro));
    EXPECT_EQ(macro.name, "Slow");

    // Deleting removes the events; the number is not handed out again.
    ASSERT_TRUE(db_.DeleteMacro(first));
    EXPECT_FALSE(db_.GetMacro(first, macro));
    EXPECT_EQ(db_.ListMacroEvents(first, events), 0);
    EXPECT_EQ(db_.AddMacroWithSettings(settings), first + 1);
    std::vector<MacroRecord> macros;
    EXPECT_EQ(db_.ListMacros(macros), 1);
    ASSERT_TRUE(db_.DeleteMacroEvents(first + 1));
}

TEST_F(StoreTest, TableStatements) {
    struct Case {
        const char* what;
        std::function<void()> run;
        StatementLog expected;
    };
    KeyAssignmentRecord key = Assignment(2, 5, 2, 4, 1, "K");
    key.layout_desc = "L";
    LightModeRecord light;
    light.profile = 2;
    light.name = "N";
    light.mode = 3;
    for (int i = 0; i < 7; ++i) light.color_value[i] = i + 1;
    MacroRecord macro;
    macro.name = "M";
    std::vector<KeyAssignmentRecord> keys;
    std::vector<LightModeRecord> lights;
    std::vector<MacroRecord> macros;
    std::vector<MacroEventRecord> events;
    const Case cases[] = {
        {"SaveKeyAssignment",
         [&] { db_.SaveKeyAssignment(key); },
         {{"BEGIN", "BEGIN"},
          {"DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
           "DELETE FROM t_key_macro_data WHERE profile = 2 and fn_layer = 0 and key_code = 5"},
          {"INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, macro_type, "
           "macro_value, macro_value2, macro_value3, macro_desc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
           "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc, macro_type, "
           "macro_value, macro_value2, macro_value3, macro_desc) VALUES (2, 0, 5, 0, 'L', 2, 4, 1, 0, "
           "'K');"},
          {"COMMIT", "COMMIT"}}},
        {"GetKeyAssignment",
         [&] { db_.GetKeyAssignment(2, 5, key); },
         {{"SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
           "SELECT * FROM t_key_macro_data WHERE profile = 2 and fn_layer = 0 and key_code = 5"}}},
        {"SetKeyDescription",
         [&] { db_.SetKeyDescription(2, 5, "T"); },
         {{"UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and key_code = ?",
           "UPDATE t_key_macro_data SET macro_desc = 'T' WHERE profile = 2 and fn_layer = 0 and key_code = "
           "5"}}},
        {"ListKeyAssignments",
         [&] { db_.ListKeyAssignments(2, keys); },
         {{"SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?",
           "SELECT * FROM t_key_macro_data WHERE profile = 2 and fn_layer = 0"}}},
        {"DeleteProfileKeyAssignments",
         [&] { db_.DeleteProfileKeyAssignments(2); },
         {{"DELETE FROM t_key_macro_data WHERE profile = ?",
           "DELETE FROM t_key_macro_data WHERE profile = 2"}}},
        {"CountLightModes",
         [&] { db_.CountLightModes(2); },
         {{"select count(*) FROM t_light_data WHERE profile = ?",
           "select count(*) FROM t_light_data WHERE profile = 2"}}},
        {"AddLightMode",
         [&] { db_.AddLightMode(light); },
         {{"INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
           "colorindex, "
           "color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, "
           "color_value7, "
           "config_func, reserved, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
           "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
           "colorindex, "
           "color_value1, color_value2, color_value3, color_value4, color_value5, color_value6, "
           "color_value7, "
           "config_func, reserved, status) VALUES (2, 'N', 3, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 0, 0, "
           "0);"}}},
        {"UpdateLightMode",
         [&] { db_.UpdateLightMode(4, light); },
         {{"UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = ?, "
           "color_value1 = ?, color_value2 = ?, color_value3 = ?, color_value4 = ?, color_value5 = ?, "
           "color_value6 = ?, color_value7 = ?, config_func = ?, reserved = ? WHERE profile = ? and mode = ?",
           "UPDATE t_light_data SET brightness = 0, speed = 0, direction = 0, colorful = 0, colorindex = 0, "
           "color_value1 = 1, color_value2 = 2, color_value3 = 3, color_value4 = 4, color_value5 = 5, "
           "color_value6 = 6, color_value7 = 7, config_func = 0, reserved = 0 WHERE profile = 2 and mode = "
           "4"}}},
        {"SetActiveLightMode",
         [&] { db_.SetActiveLightMode(2, 3); },
         {{"UPDATE t_light_data SET status = ? WHERE profile = ?",
           "UPDATE t_light_data SET status = 0 WHERE profile = 2"},
          {"UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?",
           "UPDATE t_light_data SET status = 1 WHERE profile = 2 and mode = 3"}}},
        {"GetActiveLightMode",
         [&] { db_.GetActiveLightMode(2); },
         {{"SELECT mode FROM t_light_data WHERE profile = ? and status = ?",
           "SELECT mode FROM t_light_data WHERE profile = 2 and status = 1"}}},
        {"GetLightMode",
         [&] { db_.GetLightMode(2, 3, light); },
         {{"SELECT * FROM t_light_data WHERE profile = ? AND mode = ?",
           "SELECT * FROM t_light_data WHERE profile = 2 AND mode = 3"}}},
        {"ListLightModes",
         [&] { db_.ListLightModes(2, lights); },
         {{"SELECT * FROM t_light_data WHERE profile = ?", "SELECT * FROM t_light_data WHERE profile = 2"}}},
        {"AddMacro",
         [&] { db_.AddMacro("M"); },
         {{"INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, ?, "
           "?, ?);",
           "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES "
           "('M', 0, 1, 1, 0);"}}},
        {"RenameMacro",
         [&] { db_.RenameMacro(1, "R"); },
         {{"UPDATE t_macro_data SET name = ? WHERE macro_id = ?",
           "UPDATE t_macro_data SET name = 'R' WHERE macro_id = 1"}}},
        {"UpdateMacro",
         [&] { db_.UpdateMacro(1, macro); },
         {{"UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = ?,delay_time = ? "
           "WHERE macro_id = ?",
           "UPDATE t_macro_data SET name = 'M', play_type = 0, play_times = 1, delay_type = 1,delay_time = 0 "
           "WHERE macro_id = 1"}}},
        {"GetMacro",
         [&] { db_.GetMacro(1, macro); },
         {{"SELECT * FROM t_macro_data WHERE macro_id = ?",
           "SELECT * FROM t_macro_data WHERE macro_id = 1"}}},
        {"ListMacros",
         [&] { db_.ListMacros(macros); },
         {{"SELECT * FROM t_macro_data", "SELECT * FROM t_macro_data"}}},
        {"AddMacroEvents",
         [&] {
             db_.AddMacroEvents({Event(1, 0, 4), Event(1, 1, 5)});
         },
         {{"BEGIN", "BEGIN"},
          {"INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES "
           "(?, ?, ?, ?, ?, ?);",
           "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES "
           "(1, 1, 0, '键 0', 4, 0);"},
          {"INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES "
           "(?, ?, ?, ?, ?, ?);",
           "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) VALUES "
           "(1, 1, 1, '键 1', 5, 10);"},
          {"END", "END"}}},
        {"ListMacroEvents",
         [&] { db_.ListMacroEvents(1, events); },
         {{"SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC",
           "SELECT * FROM t_macrorecord WHERE macro_id = 1 ORDER BY record_index ASC"}}},
        {"DeleteMacroEvents",
         [&] { db_.DeleteMacroEvents(1); },
         {{"DELETE FROM t_macrorecord WHERE macro_id = ?", "DELETE FROM t_macrorecord WHERE macro_id = 1"}}},
        {"DeleteMacro",
         [&] { db_.DeleteMacro(1); },
         {{"DELETE FROM t_macro_data WHERE macro_id = ?", "DELETE FROM t_macro_data WHERE macro_id = 1"},
          {"DELETE FROM t_macrorecord WHERE macro_id = ?", "DELETE FROM t_macrorecord WHERE macro_id = 1"}}},
    };
    for (const Case& c : cases) {
        StartTrace();
        c.run();
        EXPECT_EQ(StopTrace(), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace quorvel
