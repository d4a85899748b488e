// Profile management actions: the list, switching, renaming, profile files and the factory reset.

#include <fstream>
#include <sstream>

#include "ActionsFixture.h"

namespace quorvel::test {
namespace {

class ProfileActions : public ActionsTest {
protected:
    std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(ProfileActions, ShownNames) {
    Make("102:wired");
    // A blank goes between the word and the rest only when the rest lacks one: "Profile 3" is not shown
    // with two.
    const std::pair<const char*, const char*> cases[] = {
        {"Profile 3", "T61 3"}, {"配置2", "T61 2"}, {"配置 2", "T61 2"},      {"Profiles", "T61 s"},
        {"Profile", "T61"},     {"Work", "Work"},   {"Profil 1", "Profil 1"}, {"Profile  4", "T61  4"},
    };
    for (const auto& [stored, shown] : cases) EXPECT_EQ(ShownProfileName(ctx(), stored), shown) << stored;
}

TEST_F(ProfileActions, ListSwitchAndRename) {
    Make("102:wired");
    Offline(102);
    std::vector<ProfileInfo> profiles;
    ASSERT_TRUE(ListProfiles(ctx(), &profiles).ok);
    ASSERT_EQ(profiles.size(), 4u);
    EXPECT_EQ(profiles[0].name, "Profile 1");
    EXPECT_EQ(profiles[0].shownName, "T61 1");
    EXPECT_TRUE(profiles[0].active);
    EXPECT_FALSE(profiles[3].active);

    EXPECT_ACCEPTED(SwitchProfile(ctx(), 3), kTaskWriteProfile);
    EXPECT_EQ(db_.GetActiveProfile(), 3);
    EXPECT_EQ(core_->CurrentProfile(), 3);
    // The active profile again still writes everything to the mouse.
    EXPECT_ACCEPTED(SwitchProfile(ctx(), 3), kTaskWriteProfile);
    for (int bad : {0, 5, -1}) EXPECT_REFUSED(SwitchProfile(ctx(), bad), "profiles are 1-4");
    EXPECT_EQ(core_->CurrentProfile(), 3);

    EXPECT_ACCEPTED(RenameProfile(ctx(), 2, "Work"));
    std::string name;
    ASSERT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, "Work");
    EXPECT_REFUSED(RenameProfile(ctx(), 2, ""), "cannot be empty");
    EXPECT_REFUSED(RenameProfile(ctx(), 7, "X"), "profiles are 1-4");
    ASSERT_TRUE(db_.GetProfileName(2, name));
    EXPECT_EQ(name, "Work");
}

TEST_F(ProfileActions, ExportWritesTheStoredNameAndImportSendsTheProfile) {
    Make("102:wired");
    Offline(102);
    EXPECT_ACCEPTED(SwitchProfile(ctx(), 2), kTaskWriteProfile);
    EXPECT_ACCEPTED(RenameProfile(ctx(), 2, "Mine"));
    EXPECT_ACCEPTED(AssignFixedFunction(ctx(), 3), kTaskWriteKeys);
    const std::filesystem::path file = Root() / "mine.xml";
    EXPECT_ACCEPTED(ExportProfileFile(ctx(), file.string()));
    EXPECT_NE(ReadFile(file).find("<profileinfo name=\"Mine\">"), std::string::npos) << ReadFile(file);

    Set("button_respondtime", "3");
    EXPECT_ACCEPTED(ResetAllButtons(ctx()), kTaskDefaultKeys);
    EXPECT_ACCEPTED(ImportProfileFile(ctx(), file.string()), kTaskWriteProfile);
    EXPECT_EQ(Get("button_respondtime"), "8");
    KeyAssignmentRecord row;
    EXPECT_TRUE(db_.GetKeyAssignment(2, 3, row));
    std::string name;
    db_.GetProfileName(2, name);
    EXPECT_EQ(name, "mine");  // the profile takes the file's name

    const ActionResult missing = ImportProfileFile(ctx(), (Root() / "none.xml").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.tasks.empty());
    EXPECT_FALSE(missing.message.empty());
}

// A front end words a refused file by how it was refused; a refused import changes nothing.
TEST_F(ProfileActions, FileOperationsTellHowTheyEnded) {
    Make("102:wired");
    Offline(102);
    const std::filesystem::path good = Root() / "good.xml";
    FileStatus status = FileStatus::kNotFound;
    EXPECT_ACCEPTED(ExportProfileFile(ctx(), good.string(), &status));
    EXPECT_EQ(status, FileStatus::kOk);
    std::filesystem::create_directory(Root() / "folder.xml");
    EXPECT_FALSE(ExportProfileFile(ctx(), (Root() / "folder.xml").string(), &status).ok);
    EXPECT_EQ(status, FileStatus::kWriteFailed);

    std::ofstream(Root() / "macros.xml") << "<?xml version=\"1.0\"?><root/>";
    std::ofstream(Root() / "broken.xml") << "<profile><profileinfo>";
    Set("button_respondtime", "3");
    const std::pair<const char*, FileStatus> refused[] = {
        {"none.xml", FileStatus::kNotFound},
        {"folder.xml", FileStatus::kUnreadable},
        {"macros.xml", FileStatus::kWrongRoot},
        {"broken.xml", FileStatus::kNotWellFormed},
    };
    for (const auto& [name, expected] : refused) {
        SCOPED_TRACE(name);
        const ActionResult result = ImportProfileFile(ctx(), (Root() / name).string(), &status);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.tasks.empty());
        EXPECT_EQ(status, expected);
        EXPECT_EQ(Get("button_respondtime"), "3");
        std::string profileName;
        db_.GetProfileName(1, profileName);
        EXPECT_EQ(profileName, "Profile 1");
    }
    status = FileStatus::kNotFound;
    EXPECT_ACCEPTED(ImportProfileFile(ctx(), good.string(), &status), kTaskWriteProfile);
    EXPECT_EQ(status, FileStatus::kOk);
}

TEST_F(ProfileActions, FactoryResetNeedsTheMouseAndStartsFromAnEmptyDatabase) {
    Make("102:wired");
    Offline(102);
    EXPECT_REFUSED(FactoryReset(ctx()), "no mouse is connected");
    std::vector<ProfileInfo> profiles;
    ASSERT_TRUE(ListProfiles(ctx(), &profiles).ok);
    EXPECT_EQ(profiles.size(), 4u);

    Read();
    EXPECT_ACCEPTED(RenameProfile(ctx(), 1, "Kept?"));
    ASSERT_TRUE(SwitchProfile(ctx(), 3).ok);
    const ActionResult reset = FactoryReset(ctx());
    EXPECT_ACCEPTED(reset, kTaskFactoryReset);
    EXPECT_TRUE(core_->Snapshot().readDeviceTypes.empty());
    EXPECT_EQ(db_.Path(), DeviceDatabase::DatabasePath(DataFolder(), "QuorvelR2"));
    // The new database is whole at once: four profiles, the first active, with its lighting rows.
    ASSERT_TRUE(ListProfiles(ctx(), &profiles).ok);
    ASSERT_EQ(profiles.size(), 4u);
    EXPECT_EQ(profiles[0].name, "T61 1");
    EXPECT_EQ(Profile(), 1);
    EXPECT_EQ(db_.CountLightModes(1), 6);
    EXPECT_EQ(reset.tasks[0].profile, 1);

    EXPECT_EQ(Execute(reset), std::vector<TaskStatus>{TaskStatus::Confirmed});
    ASSERT_TRUE(ListProfiles(ctx(), &profiles).ok);
    ASSERT_EQ(profiles.size(), 4u);
    EXPECT_EQ(Get("dpi_group5_value"), "12000");  // the descriptor's defaults
}

}  // namespace
}  // namespace quorvel::test
