// A database file SQLite calls damaged is kept aside under a dated name, a new one takes its place, and the
// front end is told; nothing the user had is deleted.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "store/ProfileLoader.h"

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

// Text against a shape where '#' stands for one decimal digit.
bool MatchesShape(std::string_view text, std::string_view shape) {
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == '#' ? !(text[i] >= '0' && text[i] <= '9') : text[i] != shape[i]) return false;
    }
    return true;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes, std::streamoff at = -1) {
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) out.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
    if (at >= 0) out.seekp(at);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Files beside the database whose names start with "<name>.damaged-".
std::vector<std::string> KeptAside(const std::string& path) {
    std::vector<std::string> kept;
    const std::string prefix = fs::path(path).filename().string() + ".damaged-";
    for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix)) kept.push_back(entry.path().string());
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

class DamagedDatabaseTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        db_.SetDamagedListener([this](const DamagedDatabase& d) { notices_.push_back(d); });
        ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
        ASSERT_TRUE(db_.RenameProfile(1, "Mine"));
        db_.CloseDevice();
    }
    void TearDown() override { db_.SetDamagedListener({}); }

    std::string path() const { return folder_.path() + "db/model_data.db"; }

    std::vector<DamagedDatabase> notices_;
};

// Random bytes ("file is not a database") and a healthy file with one page overwritten (corrupt).
TEST_F(DamagedDatabaseTest, IsKeptAsideAndAFreshDatabaseTakesItsPlace) {
    struct Case {
        const char* what;
        std::string bytes;
        std::streamoff at;  // -1: the whole file
    } cases[] = {
        {"random bytes", std::string(3000, '\x5A') + "not a database", -1},
        {"overwritten page", std::string(4096, '\xFF'), 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        notices_.clear();
        ASSERT_TRUE(db_.OpenForDevice(folder_.path(), "model"));
        ASSERT_EQ(LoadProfiles(db_, "Profile"), 1);
        db_.CloseDevice();
        for (const std::string& old : KeptAside(path())) fs::remove(old);
        WriteBytes(path(), c.bytes, c.at);
        const std::string damaged = ReadBytes(path());

        EXPECT_TRUE(db_.OpenForDevice(folder_.path(), "model"));
        EXPECT_TRUE(db_.IsOpened());
        const std::vector<std::string> kept = KeptAside(path());
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_TRUE(
            MatchesShape(fs::path(kept[0]).filename().string(), "model_data.db.damaged-########-######"))
            << kept[0];
        EXPECT_EQ(ReadBytes(kept[0]), damaged) << "the damaged file is kept as it was";

        // The new file is an empty database: the profiles and their defaults come as on a first start.
        EXPECT_EQ(Query("SELECT count(*) FROM t_profile_data")[0][0], "0");
        EXPECT_EQ(LoadProfiles(db_, "Profile"), 1);
        std::string name;
        EXPECT_TRUE(db_.GetProfileName(1, name));
        EXPECT_EQ(name, "Profile 1");

        ASSERT_EQ(notices_.size(), 1u);
        const DamagedDatabase& n = notices_[0];
        EXPECT_EQ(n.path, path());
        EXPECT_EQ(n.keptAs, kept[0]);
        EXPECT_TRUE(n.replaced);
        EXPECT_EQ(n.error, "");
        EXPECT_FALSE(n.reason.empty());
        EXPECT_EQ(DamagedDatabaseMessage(n), "the database " + path() + " was damaged (" + n.reason +
                                                 "); it was kept as " + kept[0] +
                                                 " and a new one with the default settings was created");
        db_.CloseDevice();
    }
}

TEST_F(DamagedDatabaseTest, ASecondDamagedFileNeverReplacesTheFirstOneKept) {
    for (int round = 0; round < 2; ++round) {
        WriteBytes(path(), "garbage " + std::to_string(round) + std::string(2000, '#'));
        ASSERT_TRUE(db_.SwitchToDevice(folder_.path(), "model"));
        db_.CloseDevice();
    }
    const std::vector<std::string> kept = KeptAside(path());
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_TRUE(ReadBytes(kept[0]).starts_with("garbage ") && ReadBytes(kept[1]).starts_with("garbage "));
    EXPECT_NE(ReadBytes(kept[0]), ReadBytes(kept[1]));
    EXPECT_EQ(notices_.size(), 2u);
}

TEST_F(DamagedDatabaseTest, NoticesWaitForAListener) {
    db_.SetDamagedListener({});
    WriteBytes(path(), std::string(2048, '\x03'));
    ASSERT_TRUE(db_.OpenForDevice(folder_.path(), "model"));
    EXPECT_TRUE(notices_.empty());
    db_.SetDamagedListener([this](const DamagedDatabase& d) { notices_.push_back(d); });
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0].path, path());
    db_.SetDamagedListener([this](const DamagedDatabase& d) { notices_.push_back(d); });
    EXPECT_EQ(notices_.size(), 1u) << "told once";
}

// A file another program holds locked is busy, not damaged: it stays where it is.
TEST_F(DamagedDatabaseTest, ALockedFileIsNotTakenForDamaged) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    db_.OpenForDevice(folder_.path(), "model");
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(notices_.empty());
    EXPECT_TRUE(KeptAside(path()).empty());
    std::string name;
    EXPECT_TRUE(db_.GetProfileName(1, name));
    EXPECT_EQ(name, "Mine");
}

// When the file cannot be moved, it is left alone and nothing is stored; the notice says why.
TEST_F(DamagedDatabaseTest, AFileThatCannotBeMovedStaysAndIsReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may rename in a read-only folder";
    WriteBytes(path(), std::string(2048, '\x04'));
    fs::permissions(folder_.path() + "db", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(db_.OpenForDevice(folder_.path(), "model"));
    fs::permissions(folder_.path() + "db", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_FALSE(db_.IsOpen());
    EXPECT_EQ(ReadBytes(path()), std::string(2048, '\x04'));
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0].keptAs, "");
    EXPECT_FALSE(notices_[0].replaced);
    EXPECT_EQ(DamagedDatabaseMessage(notices_[0]),
              "the database " + path() + " is damaged (" + notices_[0].reason +
                  ") and could not be moved aside (" + notices_[0].error +
                  "); nothing is stored until it is moved away or deleted");
}

TEST(DamagedDatabaseMessage, SaysWhatHappenedToTheFile) {
    DamagedDatabase d;
    d.path = "/d/db/m_data.db";
    d.reason = "file is not a database";
    EXPECT_EQ(DamagedDatabaseMessage(d),
              "the database /d/db/m_data.db is damaged (file is not a database) and "
              "could not be moved aside (); nothing is stored until it is moved away "
              "or deleted");
    d.keptAs = "/d/db/m_data.db.damaged-20240131-093005";
    d.error = "it could not be opened";
    EXPECT_EQ(DamagedDatabaseMessage(d),
              "the database /d/db/m_data.db was damaged (file is not a database); it "
              "was kept as /d/db/m_data.db.damaged-20240131-093005, but a new one "
              "could not be created (it could not be opened)");
    d.replaced = true;
    d.error.clear();
    EXPECT_EQ(DamagedDatabaseMessage(d),
              "the database /d/db/m_data.db was damaged (file is not a database); it "
              "was kept as /d/db/m_data.db.damaged-20240131-093005 and a new one with "
              "the default settings was created");
}

}  // namespace
}  // namespace quorvel::testing
