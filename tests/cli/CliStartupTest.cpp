// What quorvelctl says about its own files at start: a damaged database set aside, a log it cannot open.

#include <filesystem>
#include <fstream>

#include "CliRunner.h"

namespace quorvel::test {
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
    EXPECT_EQ(run.Json()["profile"]["number"], 1);
    EXPECT_EQ(run.Json()["profile"]["name"], "Profile 1");
    EXPECT_EQ(run.Json()["settings"].size(), 40u);

    const std::vector<fs::path> after = DatabaseFiles();
    ASSERT_EQ(after.size(), 2u);
    const fs::path kept = after[1];
    EXPECT_TRUE(MatchesShape(kept.filename().string(), db.filename().string() + ".damaged-########-######"))
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
    // One line: the file it tried, the system's reason, what happens now.
    const std::string start = "quorvelctl: warning: cannot open the log file " + logFolder.string() + "/";
    const std::string end = " (Not a directory); running without a log\n";
    ASSERT_GT(run.err.size(), start.size() + end.size()) << run.err;
    EXPECT_EQ(run.err.substr(0, start.size()), start) << run.err;
    EXPECT_EQ(run.err.substr(run.err.size() - end.size()), end) << run.err;
    EXPECT_TRUE(MatchesShape(run.err.substr(start.size(), run.err.size() - start.size() - end.size()),
                             "Mouse_########_######.log"))
        << run.err;
}

}  // namespace
}  // namespace quorvel::test
