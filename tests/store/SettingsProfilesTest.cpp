#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "store/ProfileLoader.h"
#include "store/SettingsCatalogue.h"

namespace quorvel {
namespace {

using testing::StatementLog;
using testing::StoreTest;

TEST_F(StoreTest, NewProfileHasTheFortyDefaultsInCatalogueOrder) {
    const int profile = db_.AddProfile({});
    ASSERT_EQ(profile, 1);
    const std::vector<std::vector<std::string>> expected = {
        {"version", "1.0.1"},
        {"lightmode", "3"},
        {"sleep_light", "1"},
        {"move_wakeup", "1"},
        {"move_closelight", "1"},
        {"report_rate", "2"},
        {"report_rate_wireless", "1"},
        {"report_count", "4"},
        {"report_flag", "127"},
        {"button_respondtime", "8"},
        {"sensor_flag", "53"},
        {"liftoff_height", "1"},
        {"scroll_flag", "1"},
        {"e-sports_flag", "0"},
        {"leftbtn_lock", "1"},
        {"dpi_flag", "5"},
        {"dpi_index", "1"},
        {"dpi_count", "5"},
        {"dpi_group0_value", "800"},
        {"dpi_group1_value", "1600"},
        {"dpi_group2_value", "2400"},
        {"dpi_group3_value", "3200"},
        {"dpi_group4_value", "6400"},
        {"dpi_group5_value", "26000"},
        {"dpi_group6_value", "26000"},
        {"dpi_group7_value", "0"},
        {"dpi_group0_rgb", "255"},
        {"dpi_group1_rgb", "16711680"},
        {"dpi_group2_rgb", "65280"},
        {"dpi_group3_rgb", "65535"},
        {"dpi_group4_rgb", "16711935"},
        {"dpi_group5_rgb", "16776960"},
        {"dpi_group6_rgb", "16712191"},
        {"dpi_group7_rgb", "16777215"},
        {"dpi_group8_rgb", "2139135"},
        {"mouse_speed", "10"},
        {"mouse_sensitivity", "1"},
        {"wheel_scrollflag", "0"},
        {"wheel_scrolllines", "3"},
        {"doubleclick_time", "550"},
    };
    EXPECT_EQ(Query("SELECT key, value FROM t_configdata WHERE profile = 1 ORDER BY config_id"), expected);
    EXPECT_EQ(Query("SELECT count(*) FROM t_configdata")[0][0], "40");
}

TEST_F(StoreTest, MissingKeysReadEmptyAndIgnoreWrites) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    std::string value = "stale";
    EXPECT_FALSE(db_.GetConfig(1, "no_such_key", value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(db_.SetConfig(1, "no_such_key", "5"));
    EXPECT_TRUE(db_.SetConfig(7, "dpi_index", "3"));  // a profile that does not exist
    EXPECT_FALSE(db_.GetConfig(1, "no_such_key", value));
    EXPECT_FALSE(db_.GetConfig(7, "dpi_index", value));
    EXPECT_EQ(Query("SELECT count(*) FROM t_configdata")[0][0], "40");
    ASSERT_TRUE(db_.GetConfig(1, "dpi_index", value));
    EXPECT_EQ(value, "1");
}

TEST_F(StoreTest, ValuesAreStoredAsUtf8TextUpToAZeroCharacter) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    struct Case {
        std::string stored, readBack;
    } cases[] = {
        {"26000", "26000"},
        {"", ""},
        {"配置 ✓", "配置 ✓"},
        {std::string("12\0"
                     "34",
                     5),
         "12"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(db_.SetConfig(1, "version", c.stored));
        std::string value;
        ASSERT_TRUE(db_.GetConfig(1, "version", value));
        EXPECT_EQ(value, c.readBack);
    }
}

// A name from a Latin-1 file name or argument is not UTF-8: its stray bytes are stored as U+FFFD, so the
// name reads back instead of vanishing.
TEST_F(StoreTest, TextThatIsNotUtf8IsStoredWithReplacementCharacters) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    const std::string kFffd = "\xEF\xBF\xBD";
    struct Case {
        std::string written, stored;
    } cases[] = {
        {"Caf\xE9", "Caf" + kFffd},
        {"\xFF\xFE", kFffd + kFffd},
        {"\xE4\xB8", kFffd + kFffd},              // a character cut short
        {"\xC0\xAF", kFffd + kFffd},              // an overlong '/'
        {"\xED\xA0\x80", kFffd + kFffd + kFffd},  // a lone surrogate
        {"中\xE4\xB8" + kFffd, "中" + kFffd + kFffd + kFffd},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(db_.SetConfig(1, "version", c.written));
        std::string value;
        ASSERT_TRUE(db_.GetConfig(1, "version", value));
        EXPECT_EQ(value, c.stored);
        EXPECT_EQ(Query("SELECT value FROM t_configdata WHERE key = 'version'")[0][0], c.stored);
    }
}

// Every text column goes through the same write: a Latin-1 name reads back wherever it is stored.
TEST_F(StoreTest, EveryTextColumnStoresValidUtf8) {
    const std::string latin1 = "Caf\xE9";
    const std::string shown = "Caf\xEF\xBF\xBD";
    ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
    std::string name;
    ASSERT_TRUE(db_.RenameProfile(2, latin1));
    ASSERT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, shown) << "profile name";

    const int macro = db_.AddMacro(latin1);
    MacroRecord macroRecord;
    ASSERT_TRUE(db_.GetMacro(macro, macroRecord));
    EXPECT_EQ(macroRecord.name, shown) << "AddMacro";
    ASSERT_TRUE(db_.RenameMacro(macro, latin1 + "2"));
    ASSERT_TRUE(db_.GetMacro(macro, macroRecord));
    EXPECT_EQ(macroRecord.name, shown + "2") << "RenameMacro";

    MacroEventRecord event;
    event.macro_id = macro;
    event.desc = latin1;
    db_.AddMacroEvents({event});
    std::vector<MacroEventRecord> events;
    ASSERT_EQ(db_.ListMacroEvents(macro, events), 1);
    EXPECT_EQ(events[0].desc, shown) << "macro event";

    KeyAssignmentRecord key;
    key.profile = 1;
    key.key_code = 3;
    key.macro_value = 4;
    key.layout_desc = latin1;
    key.macro_desc = latin1;
    ASSERT_GT(db_.SaveKeyAssignment(key), 0);
    ASSERT_TRUE(db_.GetKeyAssignment(1, 3, key));
    EXPECT_EQ(key.layout_desc, shown);
    EXPECT_EQ(key.macro_desc, shown);
    ASSERT_TRUE(db_.SetKeyDescription(1, 3, latin1 + "!"));
    ASSERT_TRUE(db_.GetKeyAssignment(1, 3, key));
    EXPECT_EQ(key.macro_desc, shown + "!") << "SetKeyDescription";

    LightModeRecord light;
    light.profile = 1;
    light.mode = 1;
    light.name = latin1;
    ASSERT_GT(db_.AddLightMode(light), 0);
    ASSERT_TRUE(db_.GetLightMode(1, 1, light));
    EXPECT_EQ(light.name, shown) << "light mode";
}

// A file another program wrote may hold bytes that are not UTF-8: such a column reads as empty.
TEST_F(StoreTest, ForeignTextThatIsNotUtf8ReadsAsEmpty) {
    ASSERT_EQ(db_.AddProfile({}), 1);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(db_.Path().c_str(), &raw), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, "UPDATE t_configdata SET value = CAST(x'FFFE' AS TEXT) WHERE key = 'version'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    std::string value = "x";
    EXPECT_TRUE(db_.GetConfig(1, "version", value));
    EXPECT_EQ(value, "");
}

TEST(SettingToInt, LenientDecimalRead) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"800", 800}, {"", 0},    {"abc", 0},   {"12ab", 12},
        {" 7", 7},    {"-3", -3}, {"1.0.1", 1}, {"99999999999", 2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(SettingToInt(c.text), c.value) << c.text;
}

TEST_F(StoreTest, LoadingProfilesCreatesFourOnceAndActivatesTheFirst) {
    EXPECT_EQ(LoadProfiles(db_, "配置"), 1);
    std::vector<ProfileRecord> profiles;
    ASSERT_EQ(db_.ListProfiles(profiles), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(profiles[i].profile, i + 1);
        EXPECT_EQ(profiles[i].name, "配置 " + std::to_string(i + 1));
        EXPECT_EQ(profiles[i].status, i == 0 ? 1 : 0);
        EXPECT_EQ(profiles[i].app, "");
        EXPECT_EQ(profiles[i].type, 0);
    }
    EXPECT_EQ(Query("SELECT profile, count(*) FROM t_configdata GROUP BY profile"),
              (std::vector<std::vector<std::string>>{{"1", "40"}, {"2", "40"}, {"3", "40"}, {"4", "40"}}));

    // Loading again adds nothing and keeps the active profile.
    ASSERT_TRUE(db_.SetActiveProfile(3));
    EXPECT_EQ(LoadProfiles(db_, "Profile"), 3);
    EXPECT_EQ(db_.ListProfiles(profiles), 4);

    // No active profile: the first becomes active.
    ASSERT_TRUE(db_.SetActiveProfile(9));
    EXPECT_EQ(db_.GetActiveProfile(), 0);
    EXPECT_EQ(LoadProfiles(db_, "Profile"), 1);
}

// Every new profile starts from the model's factory settings, not only the one the mouse is read into; a
// list that exists already is left as it is.
TEST_F(StoreTest, NewProfilesStartFromTheModelsDefaults) {
    const ProfileDefaults defaults = {{"report_rate", "1"}, {"dpi_count", "5"}, {"dpi_group0_value", "400"}};
    EXPECT_EQ(LoadProfiles(db_, "Profile", defaults), 1);
    for (int profile = 1; profile <= 4; ++profile) {
        for (const auto& [key, value] : defaults) {
            std::string stored;
            EXPECT_TRUE(db_.GetConfig(profile, key, stored));
            EXPECT_EQ(stored, value) << "profile " << profile << ", " << key;
        }
        std::string untouched;
        db_.GetConfig(profile, "liftoff_height", untouched);
        EXPECT_EQ(untouched, "1") << "a setting the model has no default for keeps the built-in one";
    }
    ASSERT_TRUE(db_.SetConfig(2, "report_rate", "3"));
    EXPECT_EQ(LoadProfiles(db_, "Profile", defaults), 1);
    std::string kept;
    db_.GetConfig(2, "report_rate", kept);
    EXPECT_EQ(kept, "3");
}

TEST_F(StoreTest, ProfileSwitchAndRename) {
    ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
    ASSERT_TRUE(db_.SetActiveProfile(3));
    EXPECT_EQ(db_.GetActiveProfile(), 3);
    EXPECT_EQ(Query("SELECT profile FROM t_profile_data WHERE status = 1"),
              (std::vector<std::vector<std::string>>{{"3"}}));

    ASSERT_TRUE(db_.RenameProfile(2, "Jeu"));
    std::string name;
    ASSERT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, "Jeu");
    name = "stale";
    EXPECT_FALSE(db_.GetProfileName(9, name));
    EXPECT_EQ(name, "");
}

// The statements each operation runs, with their bound values.
TEST_F(StoreTest, SettingsAndProfileStatements) {
    ASSERT_EQ(LoadProfiles(db_, "P"), 1);
    struct Case {
        const char* what;
        std::function<void()> run;
        StatementLog expected;
    };
    std::string text;
    std::vector<ProfileRecord> list;
    const Case cases[] = {
        {"GetConfig",
         [&] { db_.GetConfig(2, "dpi_index", text); },
         {{"SELECT value FROM t_configdata WHERE profile = ? and key = ?",
           "SELECT value FROM t_configdata WHERE profile = 2 and key = 'dpi_index'"}}},
        {"SetConfig",
         [&] { db_.SetConfig(2, "dpi_index", "3"); },
         {{"UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?",
           "UPDATE t_configdata SET value = '3' WHERE profile = 2 and key = 'dpi_index'"}}},
        {"RenameProfile",
         [&] { db_.RenameProfile(2, "A"); },
         {{"UPDATE t_profile_data SET name = ? WHERE profile = ?",
           "UPDATE t_profile_data SET name = 'A' WHERE profile = 2"}}},
        {"GetProfileName",
         [&] { db_.GetProfileName(2, text); },
         {{"SELECT name FROM t_profile_data WHERE profile = ?",
           "SELECT name FROM t_profile_data WHERE profile = 2"}}},
        {"ListProfiles",
         [&] { db_.ListProfiles(list); },
         {{"SELECT * FROM t_profile_data", "SELECT * FROM t_profile_data"}}},
        {"SetActiveProfile",
         [&] { db_.SetActiveProfile(2); },
         {{"UPDATE t_profile_data SET status = ?", "UPDATE t_profile_data SET status = 0"},
          {"UPDATE t_profile_data SET status = ? WHERE profile = ?",
           "UPDATE t_profile_data SET status = 1 WHERE profile = 2"}}},
        {"GetActiveProfile",
         [&] { db_.GetActiveProfile(); },
         {{"SELECT profile FROM t_profile_data WHERE status = ?",
           "SELECT profile FROM t_profile_data WHERE status = 1"}}},
    };
    for (const Case& c : cases) {
        StartTrace();
        c.run();
        EXPECT_EQ(StopTrace(), c.expected) << c.what;
    }

    // A new profile: its row, then the 40 settings rows one insert each, no transaction around them.
    StartTrace();
    ProfileRecord record;
    record.name = "N";
    record.app = "ignored?";
    record.status = 1;
    record.type = 4;
    EXPECT_EQ(db_.AddProfile(record), 5);
    StatementLog log = StopTrace();
    ASSERT_EQ(log.size(), 41u);
    EXPECT_EQ(log[0],
              (std::pair<std::string, std::string>{
                  "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
                  "INSERT INTO t_profile_data(name, status, app, type) VALUES ('N', 0, 'ignored?', 0);"}));
    for (size_t i = 0; i < kSettingsCatalogue.size(); ++i) {
        EXPECT_EQ(log[i + 1].first, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);");
        EXPECT_EQ(log[i + 1].second, "INSERT INTO t_configdata(profile, key, value) VALUES (5, '" +
                                         std::string(kSettingsCatalogue[i].key) + "', '" +
                                         std::string(kSettingsCatalogue[i].value) + "');");
    }
}

}  // namespace
}  // namespace quorvel
