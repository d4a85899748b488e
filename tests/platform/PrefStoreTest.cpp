#include "platform/PrefStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "platform/TempHome.h"

namespace quorvel {
namespace {

using testing::ReadFileBytes;
using testing::TempHome;
using testing::WriteFileBytes;

TEST(PrefStoreFormatTest, RoundTripsAwkwardTexts) {
    PrefValues values;
    values["LCID"] = "2052";
    values["quote\"and\\slash"] = "line1\nline2\r\"x\"\\";
    values["名称"] = "中文 值";
    values["empty"] = "";
    EXPECT_EQ(PrefStore::Parse(PrefStore::Serialize(values)), values);
}

TEST(PrefStoreFormatTest, ExactTextAndTolerantReading) {
    PrefValues values;
    values["LCID"] = "2052";
    values["a\"b"] = "c\\d";
    EXPECT_EQ(PrefStore::Serialize(values), "\"a\\\"b\"=\"c\\\\d\"\n\"LCID\"=\"2052\"\n");

    // Damaged lines are skipped, CR LF is accepted, a later duplicate wins, names ignore case.
    PrefValues read = PrefStore::Parse(
        "garbage\n\"LCID\"=\"1033\"\r\n\"cut\"=\"no end\n\"lcid\"=\"2052\"\n\"x\"=\"1\"trailing\n");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read.at("LCID"), "2052");
}

class PrefStoreTest : public ::testing::Test {
protected:
    TempHome home;
    std::string folder = home.Root() + "/config/Quorvel Mouse";
    PrefStore store{folder};
};

TEST_F(PrefStoreTest, OpenCreatesTheKeyWithItsParentsOnlyWhenAsked) {
    EXPECT_EQ(store.Open(false), PrefStore::kFailed);
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_EQ(store.Open(true), PrefStore::kCreated);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/preferences"));
    EXPECT_EQ(store.Open(true), PrefStore::kOpened);
    EXPECT_EQ(store.Open(false), PrefStore::kOpened);
}

TEST_F(PrefStoreTest, OpenFailsWhenTheKeyCannotBeCreated) {
    WriteFileBytes(folder, "a file where the folder should be");
    EXPECT_EQ(store.Open(true), PrefStore::kFailed);
    EXPECT_FALSE(store.Write("LCID", "1"));
}

TEST_F(PrefStoreTest, WritesNeedAnExistingKey) {
    EXPECT_FALSE(store.Write("exit_mode", "1"));
    EXPECT_FALSE(std::filesystem::exists(folder));
    ASSERT_EQ(store.Open(true), PrefStore::kCreated);
    EXPECT_TRUE(store.Write("exit_mode", "1"));
    std::string value;
    EXPECT_TRUE(store.Read("EXIT_MODE", &value));
    EXPECT_EQ(value, "1");
    EXPECT_FALSE(store.Read("LCID", &value));
}

TEST_F(PrefStoreTest, ReplaceAndRemoveLeaveNoTemporaryFiles) {
    ASSERT_EQ(store.Open(true), PrefStore::kCreated);
    ASSERT_TRUE(store.Write("LCID", "1033"));
    ASSERT_TRUE(store.Write("DeviceType", "101"));
    ASSERT_TRUE(store.Write("lcid", "2052"));  // the same name in other letters
    EXPECT_EQ(ReadFileBytes(store.FilePath()), "\"DeviceType\"=\"101\"\n\"lcid\"=\"2052\"\n");
    EXPECT_TRUE(store.Remove("devicetype"));
    EXPECT_TRUE(store.Remove("DeviceType"));  // already gone
    EXPECT_EQ(ReadFileBytes(store.FilePath()), "\"lcid\"=\"2052\"\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 1);
    struct stat info {};
    ASSERT_EQ(stat(store.FilePath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u) << "preferences are private to the user";
}

// Links planted under the names a write could predict are neither followed nor replaced.
TEST_F(PrefStoreTest, WritesNeverGoThroughAPlantedTemporaryName) {
    ASSERT_EQ(store.Open(true), PrefStore::kCreated);
    const std::string victim = home.Root() + "/victim";
    WriteFileBytes(victim, "precious");
    for (int n = 0; n < 200; ++n) {
        std::filesystem::create_symlink(
            victim, store.FilePath() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(n));
    }
    ASSERT_TRUE(store.Write("LCID", "1033"));
    EXPECT_EQ(ReadFileBytes(victim), "precious");
    EXPECT_EQ(ReadFileBytes(store.FilePath()), "\"LCID\"=\"1033\"\n");
    int links = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) links += entry.is_symlink();
    EXPECT_EQ(links, 200);
}

TEST_F(PrefStoreTest, ConcurrentWritersLoseNothing) {
    ASSERT_EQ(store.Open(true), PrefStore::kCreated);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            PrefStore own(folder);  // each thread its own object, as separate calls would have
            for (int i = 0; i < 10; ++i) own.Write("v" + std::to_string(t) + "_" + std::to_string(i), std::to_string(i));
        });
    }
    for (auto& thread : threads) thread.join();
    PrefValues values = PrefStore::Parse(ReadFileBytes(store.FilePath()));
    EXPECT_EQ(values.size(), 40u);
}

TEST(MakeDirectoriesTest, CreatesEveryMissingParent) {
    TempHome home;
    std::string deep = home.Root() + "/a/b/c/d";
    EXPECT_TRUE(MakeDirectories(deep));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_TRUE(MakeDirectories(deep));  // already there
    WriteFileBytes(home.Root() + "/file", "x");
    EXPECT_FALSE(MakeDirectories(home.Root() + "/file/sub"));
    EXPECT_FALSE(MakeDirectories(""));
}

}  // namespace
}  // namespace quorvel
