// Profile export against hand-written fixtures, byte for byte.

#include <gtest/gtest.h>

#include <string>

#include "files/FilesTestSupport.h"
#include "files/ProfileFile.h"
#include "files/ProfileTestData.h"
#include "shell/DeviceDescriptor.h"

namespace quorvel::testing {
namespace {

class ProfileExportTest : public DatabaseTest {};

TEST_F(ProfileExportTest, FreshR2ProfileMatchesFixture) {
    // The sample product's R2 has lighting and all six zones, which is what the fixture carries.
    DeviceDescriptor descriptor;
    ASSERT_TRUE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, "QuorvelR2", &descriptor));
    ModelState model;
    ApplyModelDescriptor(descriptor, &model);
    ASSERT_TRUE(model.light);

    ProfileExportOptions options;
    options.hasLighting = model.light;
    const std::string path = File("fresh.xml");
    const FileResult result = ExportProfile(db_, options, path);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(ReadBytes(path), ReadBytes(FixturePath("profile_fresh_r2.xml")));
}

TEST_F(ProfileExportTest, CustomisedProfileMatchesFixture) {
    CustomiseProfile(db_, 1);
    ProfileExportOptions options;
    options.hasLighting = true;
    const std::string path = File("custom.xml");
    const FileResult result = ExportProfile(db_, options, path);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(ReadBytes(path), ReadBytes(FixturePath("profile_custom.xml")));
}

TEST_F(ProfileExportTest, ModelWithoutLightingWritesNoLightGroup) {
    std::string expected = ReadBytes(FixturePath("profile_fresh_r2.xml"));
    const std::size_t from = expected.find("<Lightitems");
    const std::size_t to = expected.find("</Lightitems>\r\n");
    ASSERT_NE(from, std::string::npos);
    expected.erase(from, to + 15 - from);

    std::string text;
    ASSERT_TRUE(BuildProfileDocument(db_, ProfileExportOptions{}, &text).ok());
    EXPECT_EQ(text, expected);
}

TEST_F(ProfileExportTest, ButtonsFromTheGivenProfileEverythingElseFromTheActiveOne) {
    CustomiseProfile(db_, 2);  // profile 1 stays fresh and active
    ProfileExportOptions options;
    options.keyProfile = 2;
    options.hasLighting = true;
    std::string text;
    ASSERT_TRUE(BuildProfileDocument(db_, options, &text).ok());

    // The custom fixture's key items, inside the fresh fixture's frame.
    const std::string custom = ReadBytes(FixturePath("profile_custom.xml"));
    const std::string keys = custom.substr(custom.find("<keyitems>"),
                                           custom.find("</keyitems>\r\n") + 13 - custom.find("<keyitems>"));
    std::string expected = ReadBytes(FixturePath("profile_fresh_r2.xml"));
    expected.replace(expected.find("<keyitems/>\r\n"), 13, keys);
    EXPECT_EQ(text, expected);
}

TEST_F(ProfileExportTest, NameOptionReplacesTheStoredName) {
    ProfileExportOptions options;
    options.name = "Shown <name>";
    std::string text;
    ASSERT_TRUE(BuildProfileDocument(db_, options, &text).ok());
    EXPECT_NE(text.find("\r\n<profileinfo name=\"Shown &lt;name&gt;\">\r\n"), std::string::npos) << text;
}

TEST_F(ProfileExportTest, ActiveProfileGivenByTheCaller) {
    CustomiseProfile(db_, 2);
    ProfileExportOptions options;
    options.activeProfile = 2;
    options.hasLighting = true;
    std::string text;
    ASSERT_TRUE(BuildProfileDocument(db_, options, &text).ok());
    EXPECT_EQ(text, ReadBytes(FixturePath("profile_custom.xml")));
}

TEST_F(ProfileExportTest, RefusalsAreReported) {
    ProfileExportOptions missingKeys;
    missingKeys.keyProfile = 9;
    std::string text = "stale";
    EXPECT_EQ(BuildProfileDocument(db_, missingKeys, &text).status, FileStatus::kNoProfile);
    EXPECT_EQ(text, "");

    const FileResult unwritable = ExportProfile(db_, ProfileExportOptions{}, File("missing-folder/p.xml"));
    EXPECT_EQ(unwritable.status, FileStatus::kWriteFailed);
    EXPECT_NE(unwritable.message.find("missing-folder/p.xml"), std::string::npos);

    db_.CloseDevice();
    EXPECT_EQ(ExportProfile(db_, ProfileExportOptions{}, File("p.xml")).status, FileStatus::kNoDatabase);
    EXPECT_FALSE(std::filesystem::exists(File("p.xml")));
}

TEST(ProfileExportNoActive, NoActiveProfileIsRefused) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("db"));
    DeviceDatabase db;
    ASSERT_TRUE(db.OpenForDevice(dir.path() + "/", "QuorvelR2"));  // schema only, no profiles yet
    std::string text;
    EXPECT_EQ(BuildProfileDocument(db, ProfileExportOptions{}, &text).status, FileStatus::kNoProfile);
}

}  // namespace
}  // namespace quorvel::testing
