// What quorvelctl says about its own files at start: a damaged database set aside, a log it cannot open.

#include <filesystem>
#include <fstream>
#include <regex>

#include "CliRunner.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

// Text for a regular expression that matches exactly that text.
std::string Literal(const std::string& text) {
    static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
    return std::regex_replace(text, special, R"(\$&)");
}

class CliStartup : public CliTest {
protected:
    // The database files of the data folder (model databases and what was kept aside).
    std::vector<fs::path> DatabaseFiles() const {
        std::vector<fs::path> files;
        if (!fs::exists(Path("data"))) return files;
        for (const auto& entry : fs::recursive_directory_iterator(Path("data"))) {
            if (entry.path().parent_path().filename() == "db") files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }
};

// "show" on a file of random bytes printed "Profile 0" with empty settings and exited 0.
TEST_F(CliStartup, ADamagedDatabaseIsKeptAsideAndSaidOnStderr) {
    ASSERT_EQ(Run({"--virtual", "102", "profile", "rename", "1", "Mine"}).exitCode, 0);
    const std::vector<fs::path> files = DatabaseFiles();
    ASSERT_EQ(files.size(), 1u);
    const fs::path db = files[0];
    const std::string garbage(4000, '\x7E');
    std::ofstream(db, std::ios::binary | std::ios::trunc) << garbage;

    const CliRun run = Run({"--virtual", "102", "--json", "show"});
    ASSERT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(run.Json()["profile"], (nlohmann::json{{"number", 1}, {"name", "Profile 1"}}));
    EXPECT_EQ(run.Json()["settings"].size(), 40u);

    const std::vector<fs::path> after = DatabaseFiles();
    ASSERT_EQ(after.size(), 2u);
    const fs::path kept = after[1];
    EXPECT_TRUE(std::regex_match(kept.filename().string(),
                                 std::regex(Literal(db.filename().string()) + R"(\.damaged-\d{8}-\d{6})")))
        << kept;
    EXPECT_EQ(ReadWhole(kept), garbage);
    EXPECT_EQ(run.err, "quorvelctl: warning: the database " + db.string() +
                           " was damaged (file is not a database); it was kept as " + kept.string() +
                           " and a new one with the default settings was created\n");

    // Said once: the next run finds a sound database.
    const CliRun again = Run({"--virtual", "102", "show"});
    EXPECT_EQ(again.exitCode, 0) << again;
    EXPECT_EQ(again.err, "") << again;
}

// The log folder is a file here: the command still runs, and the log is mentioned once, at once.
TEST_F(CliStartup, ALogThatCannotBeOpenedIsSaidOnce) {
    ASSERT_EQ(Run({"--virtual", "102", "devices"}).exitCode, 0);
    fs::path logFolder;
    for (const auto& entry : fs::recursive_directory_iterator(Path("data"))) {
        if (entry.is_directory() && entry.path().filename() == "log") logFolder = entry.path();
    }
    ASSERT_FALSE(logFolder.empty());
    fs::remove_all(logFolder);
    std::ofstream(logFolder) << "not a folder";

    const CliRun run = Run({"--virtual", "102", "devices"});
    EXPECT_EQ(run.exitCode, 0) << run;
    const std::regex once("quorvelctl: warning: cannot open the log file " + Literal(logFolder.string()) +
                          R"(/Mouse_\d{8}_\d{6}\.log \([^)]*\); running without a log\n)");
    EXPECT_TRUE(std::regex_match(run.err, once)) << run.err;
}

}  // namespace
}  // namespace quorvel::test
