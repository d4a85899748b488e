#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "store/DeviceDatabase.h"
#include "store/ProfileLoader.h"

namespace quorvel {
namespace {

using testing::StoreTest;
using testing::TempFolder;

// What sqlite_master keeps of the schema, in creation order.
const std::vector<std::vector<std::string>> kExpectedMaster = {
    {"table", "t_configdata",
     "CREATE TABLE t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, key TEXT, "
     "value TEXT)"},
    {"table", "sqlite_sequence", "CREATE TABLE sqlite_sequence(name,seq)"},
    {"table", "t_profile_data",
     "CREATE TABLE t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, status INTEGER, "
     "app TEXT, type INTEGER)"},
    {"index", "profileindex", "CREATE INDEX profileindex ON t_profile_data(profile)"},
    {"table", "t_key_macro_data",
     "CREATE TABLE t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, fn_layer "
     "INTEGER, key_code INTEGER, layout_value INTEGER, layout_desc TEXT, macro_type INTEGER, macro_value "
     "INTEGER, macro_value2 INTEGER, macro_value3 INTEGER, macro_desc TEXT)"},
    {"index", "keyindex", "CREATE INDEX keyindex ON t_key_macro_data(key_id)"},
    {"table", "t_key_otherdata",
     "CREATE TABLE t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, macro_desc TEXT, param "
     "TEXT, type INTEGER)"},
    {"index", "otheridindex", "CREATE INDEX otheridindex ON t_key_otherdata(macro_value)"},
    {"table", "t_macro_data",
     "CREATE TABLE t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, play_type INTEGER, "
     "play_times INTEGER, delay_type INTEGER, delay_time INTEGER)"},
    {"index", "macroidindex", "CREATE INDEX macroidindex ON t_macro_data(macro_id)"},
    {"table", "t_macrorecord",
     "CREATE TABLE t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, macro_id INTEGER, type "
     "INTEGER, record_index INTEGER, desc TEXT, value INTEGER, delay_time INTEGER)"},
    {"index", "macrorecordindex", "CREATE INDEX macrorecordindex ON t_macrorecord(record_id)"},
    {"table", "t_light_data",
     "CREATE TABLE t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, name TEXT, "
     "mode INTEGER, brightness INTEGER, speed INTEGER, direction INTEGER, colorful INTEGER, colorindex "
     "INTEGER, color_value1 INTEGER, color_value2 INTEGER, color_value3 INTEGER, color_value4 INTEGER, "
     "color_value5 INTEGER, color_value6 INTEGER, color_value7 INTEGER, config_func INTEGER, reserved "
     "INTEGER, status INTEGER)"},
    {"index", "lightindex", "CREATE INDEX lightindex ON t_light_data(light_id)"},
    {"table", "t_key_light_data",
     "CREATE TABLE t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, profile INTEGER, "
     "light_id INTEGER, key_code INTEGER, key_rgb INTEGER)"},
    {"index", "keylightindex", "CREATE INDEX keylightindex ON t_key_light_data(keylight_id)"},
    // Added after the eight: the macro uploads still to be sent.
    {"table", "t_pending_macro", "CREATE TABLE t_pending_macro(key_code INTEGER PRIMARY KEY)"},
};

TEST_F(StoreTest, NewFileHoldsTheSchemaAndNoRows) {
    EXPECT_EQ(db_.Path(), folder_.path() + "db/model_data.db");
    EXPECT_TRUE(db_.IsOpened());
    EXPECT_EQ(Query("SELECT type, name, sql FROM sqlite_master ORDER BY rowid"), kExpectedMaster);
    for (const char* table : {"t_configdata", "t_profile_data", "t_key_macro_data", "t_light_data",
                              "t_macro_data", "t_macrorecord"}) {
        EXPECT_EQ(Query(std::string("SELECT count(*) FROM ") + table)[0][0], "0") << table;
    }
}

TEST_F(StoreTest, SecondOpenOfTheSameDeviceKeepsTheConnection) {
    StartTrace();
    EXPECT_TRUE(db_.OpenForDevice(folder_.path(), "model"));
    EXPECT_TRUE(db_.IsOpened());
    EXPECT_TRUE(StopTrace().empty());  // no new connection, no pragma
}

TEST_F(StoreTest, OpeningAnotherDeviceNeverAnswersFromTheOpenFile) {
    ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
    // Without closing first: the open connection belongs to "model" and must not be reused for "other".
    EXPECT_TRUE(db_.OpenForDevice(folder_.path(), "other"));
    EXPECT_EQ(db_.Path(), folder_.path() + "db/other_data.db");
    std::vector<ProfileRecord> profiles;
    EXPECT_EQ(db_.ListProfiles(profiles), 0);
    EXPECT_TRUE(std::filesystem::exists(folder_.path() + "db/other_data.db"));
}

TEST(DeviceDatabase, PathAddsTheSeparatorOnlyWhenMissing) {
    EXPECT_EQ(DeviceDatabase::DatabasePath("/data/Q Files/", "M1"), "/data/Q Files/db/M1_data.db");
    EXPECT_EQ(DeviceDatabase::DatabasePath("/data/Q Files", "M1"), "/data/Q Files/db/M1_data.db");
}

TEST(DeviceDatabase, MissingDbFolderFailsQuietly) {
    TempFolder folder;
    DeviceDatabase db;
    EXPECT_FALSE(db.OpenForDevice(folder.path(), "model"));
    EXPECT_FALSE(db.IsOpened());
    EXPECT_FALSE(db.IsOpen());

    // Every operation on a database that is not open fails quietly.
    std::string text = "x";
    EXPECT_FALSE(db.GetConfig(1, "dpi_index", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(db.SetConfig(1, "dpi_index", "2"));
    EXPECT_EQ(db.AddProfile({}), 0);
    EXPECT_FALSE(db.GetProfileName(1, text));
    EXPECT_EQ(db.GetActiveProfile(), 0);
    EXPECT_FALSE(db.SetActiveProfile(1));
    std::vector<ProfileRecord> profiles(2);
    EXPECT_EQ(db.ListProfiles(profiles), 0);
    EXPECT_TRUE(profiles.empty());
    KeyAssignmentRecord key;
    key.macro_value = 1;
    EXPECT_EQ(db.SaveKeyAssignment(key), 0);
    EXPECT_FALSE(db.GetKeyAssignment(1, 0, key));
    EXPECT_EQ(db.CountLightModes(1), 0);
    EXPECT_EQ(db.AddLightMode({}), 0);
    EXPECT_FALSE(db.SetActiveLightMode(1, 1));
    EXPECT_EQ(db.AddMacro("m"), 0);
    EXPECT_FALSE(db.DeleteMacro(1));
    db.AddMacroEvents({MacroEventRecord{}});
    EXPECT_EQ(LoadProfiles(db, "Profile"), 0);
}

TEST_F(StoreTest, ResetLeavesTheSchemaWithoutRowsUntilProfilesAreLoaded) {
    ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
    ASSERT_GT(db_.AddMacro("m"), 0);

    // The reset sequence: close, delete the file, open (which creates it again).
    db_.CloseDevice();
    EXPECT_FALSE(db_.IsOpened());
    db_.DeleteDatabaseFile(folder_.path(), "model");
    EXPECT_FALSE(std::filesystem::exists(db_.Path()));
    ASSERT_TRUE(db_.OpenForDevice(folder_.path(), "model"));
    EXPECT_EQ(Query("SELECT type, name, sql FROM sqlite_master ORDER BY rowid"), kExpectedMaster);
    EXPECT_EQ(Query("SELECT count(*) FROM t_profile_data")[0][0], "0");
    EXPECT_EQ(Query("SELECT count(*) FROM t_configdata")[0][0], "0");
    EXPECT_EQ(Query("SELECT count(*) FROM t_macro_data")[0][0], "0");

    ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
    EXPECT_EQ(Query("SELECT count(*) FROM t_configdata")[0][0], "160");

    // The same as one locked step.
    ASSERT_TRUE(db_.RecreateDatabase(folder_.path(), "model"));
    EXPECT_EQ(Query("SELECT count(*) FROM t_profile_data")[0][0], "0");
}

TEST_F(StoreTest, ASchemaStatementThatFailsIsReportedButTheOthersStay) {
    db_.CloseDevice();
    db_.DeleteDatabaseFile(folder_.path(), "model");
    {
        // A view standing where t_light_data belongs makes that one statement fail.
        SQLiteDB raw;
        ASSERT_TRUE(raw.Open(db_.Path().c_str(), kOpenCreate));
        ASSERT_EQ(raw.Exec("CREATE VIEW t_light_data AS SELECT 1"), kSqliteOk);
    }
    EXPECT_FALSE(db_.CreateDatabase());
    EXPECT_TRUE(db_.IsOpen());
    EXPECT_EQ(Query("SELECT count(*) FROM sqlite_master WHERE type = 'index'")[0][0], "6");
    EXPECT_EQ(LoadProfiles(db_, "Profile"), 1);  // the tables that were made work
}

}  // namespace
}  // namespace quorvel
