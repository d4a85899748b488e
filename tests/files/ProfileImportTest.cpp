// Profile import: round trips, the forward-only reading, and files that must change nothing.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <climits>
#include <string>

#include "files/FilesTestSupport.h"
#include "files/ProfileFile.h"
#include "files/ProfileTestData.h"

namespace quorvel::testing {
namespace {

class ProfileImportTest : public DatabaseTest {
protected:
    // Writes a profile document (root `profile` around `body`) to a file named `name` and imports it.
    ProfileImportResult ImportBody(const std::string& body, bool hasLighting = true,
                                   const std::string& name = "imported.xml") {
        const std::string path = File(name);
        WriteBytes(path, Crlf("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<profile>\n" + body + "</profile>\n"));
        ProfileImportOptions options;
        options.hasLighting = hasLighting;
        options.tasks = &sink_;
        return ImportProfile(db_, options, path);
    }

    std::string Config(int profile, const char* key) {
        std::string value;
        db_.GetConfig(profile, key, value);
        return value;
    }

    RecordingSink sink_;
};

TEST_F(ProfileImportTest, RoundTripIntoAnotherProfile) {
    CustomiseProfile(db_, 1);
    ProfileExportOptions exportOptions;
    exportOptions.hasLighting = true;
    ASSERT_TRUE(ExportProfile(db_, exportOptions, File("Tournament.xml")).ok());

    ASSERT_TRUE(db_.SetActiveProfile(2));
    const DbSnapshot before = Snapshot(db_);
    ProfileImportOptions options;
    options.hasLighting = true;
    options.tasks = &sink_;
    const ProfileImportResult result = ImportProfile(db_, options, File("Tournament.xml"));
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.profile, 2);
    EXPECT_EQ(result.profileName, "Tournament");
    EXPECT_EQ(sink_.tasks, std::vector<int>{kTaskSendProfile});
    EXPECT_EQ(sink_.profiles, std::vector<int>{2}) << "the request names the profile it sends";

    DbSnapshot after = Snapshot(db_);
    EXPECT_EQ(after.keys[2], after.keys[1]);
    EXPECT_EQ(after.lights[2], after.lights[1]);
    EXPECT_EQ(after.lightNames[2], before.lightNames.at(2));
    EXPECT_EQ(after.settings[2], after.settings[1]);
    EXPECT_EQ(std::get<1>(after.profiles[1]), "Tournament");

    // Nothing outside profile 2 moved.
    DbSnapshot expected = before;
    expected.profiles[1] = after.profiles[1];
    expected.keys[2] = after.keys[2];
    expected.lights[2] = after.lights[2];
    expected.settings[2] = after.settings[2];
    EXPECT_EQ(after, expected);
}

TEST_F(ProfileImportTest, ImportedFixtureExportsToTheSameBytes) {
    ProfileImportOptions options;
    options.hasLighting = true;
    const ProfileImportResult result = ImportProfile(db_, options, FixturePath("profile_custom.xml"));
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.profileName, "profile_custom");

    ProfileExportOptions exportOptions;
    exportOptions.hasLighting = true;
    exportOptions.name = kCustomName;
    std::string text;
    ASSERT_TRUE(BuildProfileDocument(db_, exportOptions, &text).ok());
    EXPECT_EQ(text, ReadBytes(FixturePath("profile_custom.xml")));
}

TEST_F(ProfileImportTest, GroupsAndSettingsAreFoundOnlyForward) {
    CustomiseProfile(db_, 1);
    const ProfileImportResult result = ImportBody(
        "<profileinfo name=\"not used\">\n"
        "<Mouse>\n<report_rate value=\"4\"/>\n</Mouse>\n"
        "<Mouse_DPI dpi_flag=\"2\" dpi_index=\"0\" dpi_count=\"2\"/>\n"
        "<keyitems>\n<item key_code=\"9\" macro_type=\"1\" macro_value=\"2\" macro_desc=\"x\"/>\n</keyitems>\n"
        "<Mouse>\n<sleep_light value=\"60\"/>\n<report_rate value=\"16\"/>\n</Mouse>\n"
        "</profileinfo>\n");
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.profileName, "imported");

    DbSnapshot after = Snapshot(db_);
    EXPECT_EQ(after.keys[1], (std::vector<std::tuple<int, int, int, int, int, std::string>>{{9, 1, 2, 0, 0, "x"}}));
    EXPECT_EQ(Config(1, "dpi_count"), "3");    // Mouse_DPI stood before keyitems
    EXPECT_EQ(Config(1, "report_rate"), "16");  // the second Mouse, after keyitems
    EXPECT_EQ(Config(1, "sleep_light"), "30");  // stood before report_rate inside Mouse
}

TEST_F(ProfileImportTest, MissingKeyitemsLeavesEveryButtonAtItsDefault) {
    CustomiseProfile(db_, 1);
    ASSERT_TRUE(ImportBody("<profileinfo>\n<Mouse>\n<report_rate value=\"8\"/>\n</Mouse>\n</profileinfo>\n").ok());
    EXPECT_TRUE(Snapshot(db_).keys[1].empty());
    EXPECT_EQ(Config(1, "report_rate"), "8");
}

TEST_F(ProfileImportTest, ItemsAreSavedInOrderAndZeroItemsStoreNothing) {
    CustomiseProfile(db_, 1);
    ASSERT_TRUE(ImportBody("<profileinfo>\n<keyitems>\n"
                           "<item key_code=\"2\" macro_type=\"5\" macro_value=\"0\" macro_value2=\"0\"/>\n"
                           "<item key_code=\"3\" macro_type=\"2\" macro_value=\"0\" macro_value2=\"5\"/>\n"
                           "<item key_code=\"8\" macro_type=\"1\" macro_value=\"4\" macro_desc=\"first\"/>\n"
                           "<item key_code=\"8\" macro_type=\"1\" macro_value=\"5\" macro_desc=\"second\"/>\n"
                           "<item key_code=\"6\" macro_type=\"1\" macro_value=\"4\"/>\n"
                           "<item key_code=\"6\" macro_type=\"1\" macro_value=\"0\"/>\n"
                           "</keyitems>\n</profileinfo>\n")
                    .ok());
    EXPECT_EQ(Snapshot(db_).keys[1],
              (std::vector<std::tuple<int, int, int, int, int, std::string>>{{3, 2, 0, 5, 0, ""}, {8, 1, 5, 0, 0, "second"}}));
}

TEST_F(ProfileImportTest, LightItemsUpdateOnlyExistingModesAndTheirAdjustableFields) {
    CustomiseProfile(db_, 1);
    const DbSnapshot before = Snapshot(db_);
    ASSERT_TRUE(ImportBody("<profileinfo>\n<Lightitems lightmode=\"9\">\n"
                           "<item light_mode=\"9\" brightness=\"1\" speed=\"1\"/>\n"
                           "<item light_mode=\"4\" brightness=\"2\" speed=\"3\" direction=\"1\" colorful=\"0\" "
                           "colorindex=\"5\" color_value1=\"1\" color_value7=\"7\"/>\n"
                           "</Lightitems>\n</profileinfo>\n")
                    .ok());
    DbSnapshot after = Snapshot(db_);
    std::vector<std::vector<int>> expected = before.lights.at(1);
    // Row of mode 4 (fourth row): adjustable fields replaced; config_func, reserved and status kept.
    std::vector<int>& mode4 = expected[3];
    ASSERT_EQ(mode4[0], 4);
    const std::vector<int> adjusted = {4, 2, 3, 1, 0, 5, 1, 0, 0, 0, 0, 0, 7};
    std::copy(adjusted.begin(), adjusted.end(), mode4.begin());
    EXPECT_EQ(after.lights[1], expected);
    EXPECT_EQ(after.lightNames[1], before.lightNames.at(1));
    // Lightmode 9 has no row: mode 3 stays the active one rather than leaving the profile without any.
    EXPECT_EQ(db_.GetActiveLightMode(1), 3);
}

TEST_F(ProfileImportTest, LightmodeOfAnExistingModeBecomesActive) {
    ASSERT_TRUE(ImportBody("<profileinfo>\n<Lightitems lightmode=\"0\"/>\n</profileinfo>\n").ok());
    EXPECT_EQ(db_.GetActiveLightMode(1), 0);
    LightModeRecord off;
    ASSERT_TRUE(db_.GetLightMode(1, 0, off));
    EXPECT_EQ(off.status, 1);
}

TEST_F(ProfileImportTest, ModelWithoutLightingIgnoresTheLightGroup) {
    CustomiseProfile(db_, 1);
    const DbSnapshot before = Snapshot(db_);
    ASSERT_TRUE(ImportProfile(db_, ProfileImportOptions{}, FixturePath("profile_fresh_r2.xml")).ok());
    DbSnapshot after = Snapshot(db_);
    EXPECT_EQ(after.lights[1], before.lights.at(1));
    EXPECT_EQ(Config(1, "dpi_count"), "5");  // the rest of the file was read
}

TEST_F(ProfileImportTest, GroupsDirectlyUnderTheRootWhenProfileinfoIsMissing) {
    ASSERT_TRUE(ImportBody("<keyitems>\n<item key_code=\"1\" macro_type=\"1\" macro_value=\"3\"/>\n</keyitems>\n"
                           "<Mouse_DPI dpi_flag=\"4\" dpi_index=\"3\" dpi_count=\"4\"/>\n")
                    .ok());
    EXPECT_EQ(Snapshot(db_).keys[1].size(), 1u);
    EXPECT_EQ(Config(1, "dpi_count"), "4");
}

TEST_F(ProfileImportTest, TextsAreStoredAsTheyStandAndNumbersReadLeniently) {
    const DbSnapshot before = Snapshot(db_);
    ASSERT_TRUE(ImportBody("<profileinfo>\n<keyitems>\n"
                           "<item key_code=\"99999999999\" macro_type=\"x\" macro_value=\" -7abc\" "
                           "macro_value3=\"-99999999999\" macro_desc=\"&#x41;&amp;\"/>\n"
                           "</keyitems>\n"
                           "<Mouse_DPI dpi_count=\"9 levels\">\n<DPI1/>\n<DPI3 value=\"-5\" color=\"#FF0000\"/>\n"
                           "</Mouse_DPI>\n"
                           "</profileinfo>\n")
                    .ok());
    DbSnapshot after = Snapshot(db_);
    EXPECT_EQ(after.keys[1], (std::vector<std::tuple<int, int, int, int, int, std::string>>{
                                 {INT_MAX, 0, -7, 0, INT_MIN, "A&"}}));
    EXPECT_EQ(Config(1, "dpi_count"), "9 levels");
    EXPECT_EQ(Config(1, "dpi_flag"), "");  // attribute missing on an element that is present
    EXPECT_EQ(Config(1, "dpi_group0_value"), "");
    EXPECT_EQ(Config(1, "dpi_group0_rgb"), "");
    EXPECT_EQ(Config(1, "dpi_group1_value"), "1600");  // DPI2 absent: unchanged
    EXPECT_EQ(Config(1, "dpi_group2_value"), "-5");
    EXPECT_EQ(Config(1, "dpi_group2_rgb"), "#FF0000");

    // Only profile 1's name, assignments and the listed settings changed.
    DbSnapshot expected = before;
    expected.profiles[0] = after.profiles[0];
    expected.keys[1] = after.keys[1];
    for (const char* key : {"dpi_flag", "dpi_index", "dpi_count", "dpi_group0_value", "dpi_group0_rgb",
                            "dpi_group2_value", "dpi_group2_rgb"})
        expected.settings[1][key] = after.settings[1][key];
    EXPECT_EQ(after, expected);
}

struct NameCase {
    const char* fileName;
    const char* profileName;
};

TEST(ProfileNameFromFileName, DropsOnlyTheXmlExtension) {
    const NameCase cases[] = {{"abc.xml", "abc"},         {"ABC.XML", "ABC"},       {"my.profile.xml", "my.profile"},
                              {"配置 2.xml", "配置 2"},   {"noext", "noext"},       {"x.json", "x.json"},
                              {".xml", ""},              {"xml", "xml"}};
    for (const NameCase& c : cases) EXPECT_EQ(ProfileNameFromFileName(c.fileName), c.profileName) << c.fileName;
}

TEST_F(ProfileImportTest, FileNamedOnlyByItsExtensionKeepsTheProfileName) {
    const ProfileImportResult result = ImportBody("<profileinfo/>\n", true, ".xml");
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.profileName, "Profile 1");
}

// Files an import must refuse as a whole: the database stays exactly as it was and no task is queued.
struct RefusedCase {
    const char* name;
    FileStatus status;
    std::string (*make)(const std::string& folder);  // returns the path to import
};

std::string WriteFile(const std::string& folder, const std::string& bytes) {
    const std::string path = folder + "/input.xml";
    WriteBytes(path, bytes);
    return path;
}

std::string ManyItems(const char* group, const char* item, std::size_t count) {
    std::string text = "<?xml version=\"1.0\"?>\r\n<profile>\r\n<profileinfo>\r\n<" + std::string(group) + ">\r\n";
    for (std::size_t i = 0; i < count; ++i) text += item;
    return text + "</" + group + ">\r\n</profileinfo>\r\n</profile>\r\n";
}

const RefusedCase kRefused[] = {
    {"missing file", FileStatus::kNotFound, [](const std::string& f) { return f + "/nothing.xml"; }},
    {"directory", FileStatus::kUnreadable, [](const std::string& f) { return f; }},
    {"fifo", FileStatus::kUnreadable,
     [](const std::string& f) {
         const std::string path = f + "/pipe.xml";
         mkfifo(path.c_str(), 0600);
         return path;
     }},
    {"empty", FileStatus::kNotWellFormed, [](const std::string& f) { return WriteFile(f, ""); }},
    {"unclosed element", FileStatus::kNotWellFormed,
     [](const std::string& f) { return WriteFile(f, "<profile><profileinfo></profile>"); }},
    {"truncated export", FileStatus::kNotWellFormed,
     [](const std::string& f) {
         const std::string full = ReadBytes(FixturePath("profile_custom.xml"));
         return WriteFile(f, full.substr(0, full.size() / 2));
     }},
    {"binary noise", FileStatus::kNotWellFormed,
     [](const std::string& f) { return WriteFile(f, std::string("\x00\xff\xfe<\x01profile", 11)); }},
    {"macro file", FileStatus::kWrongRoot,
     [](const std::string& f) { return WriteFile(f, ReadBytes(FixturePath("macro_single.xml"))); }},
    {"above 4 MiB", FileStatus::kTooLarge,
     [](const std::string& f) {
         std::string text = ReadBytes(FixturePath("profile_custom.xml"));
         return WriteFile(f, text + "<!--" + std::string(kMaxFileBytes, '-').substr(4) + "-->");
     }},
    {"too many button items", FileStatus::kTooManyItems,
     [](const std::string& f) {
         return WriteFile(f, ManyItems("keyitems", "<item key_code=\"1\" macro_value=\"1\"/>\r\n", kMaxKeyItems + 1));
     }},
    {"too many lighting items", FileStatus::kTooManyItems,
     [](const std::string& f) {
         return WriteFile(f, ManyItems("Lightitems", "<item light_mode=\"1\"/>\r\n", kMaxLightItems + 1));
     }},
};

TEST_F(ProfileImportTest, RefusedFilesChangeNothing) {
    CustomiseProfile(db_, 1);
    const DbSnapshot before = Snapshot(db_);
    for (const RefusedCase& c : kRefused) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        ProfileImportOptions options;
        options.hasLighting = true;
        options.tasks = &sink_;
        const ProfileImportResult result = ImportProfile(db_, options, c.make(folder.path()));
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(result.message.empty());
        EXPECT_EQ(Snapshot(db_), before);
        EXPECT_TRUE(sink_.tasks.empty());
    }
}

TEST_F(ProfileImportTest, ItemCapsAreInclusive) {
    WriteBytes(File("cap.xml"), ManyItems("keyitems", "<item key_code=\"1\" macro_value=\"1\"/>\r\n", kMaxKeyItems));
    EXPECT_TRUE(ImportProfile(db_, ProfileImportOptions{}, File("cap.xml")).ok());
}

TEST_F(ProfileImportTest, NoDatabaseOrNoProfileIsReported) {
    ProfileImportOptions options;
    options.tasks = &sink_;
    options.activeProfile = 7;
    EXPECT_EQ(ImportProfile(db_, options, FixturePath("profile_custom.xml")).status, FileStatus::kNoProfile);
    db_.CloseDevice();
    options.activeProfile = 0;
    EXPECT_EQ(ImportProfile(db_, options, FixturePath("profile_custom.xml")).status, FileStatus::kNoDatabase);
    EXPECT_TRUE(sink_.tasks.empty());
}

// A database that refuses one write half-way through an accepted file: the import is all or nothing.
TEST_F(ProfileImportTest, DatabaseRefusingAWriteLoadsNothing) {
    CustomiseProfile(db_, 1);
    const DbSnapshot before = Snapshot(db_);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db_.Path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "CREATE TRIGGER refuse BEFORE UPDATE ON t_configdata WHEN NEW.key = 'report_rate' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);

    ProfileImportOptions options;
    options.hasLighting = true;
    options.tasks = &sink_;
    const ProfileImportResult result = ImportProfile(db_, options, FixturePath("profile_custom.xml"));
    EXPECT_EQ(result.status, FileStatus::kDatabaseFailed);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(Snapshot(db_), before);
    EXPECT_TRUE(sink_.tasks.empty());
}

}  // namespace
}  // namespace quorvel::testing
