#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/TempHome.h"
#include "shell/AppContext.h"
#include "shell/TraceLog.h"

namespace quorvel {
namespace {

using testing::ReadFileBytes;
using testing::TempHome;

// Matches text against a shape where '#' stands for one decimal digit.
bool MatchesShape(std::string_view text, std::string_view shape) {
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == '#' ? !(text[i] >= '0' && text[i] <= '9') : text[i] != shape[i]) return false;
    }
    return true;
}

// The line after its time stamp "[MM-DD hh:mm:ss.mmm]"; "(no time stamp)" when the line lacks one.
std::string AfterTimeStamp(const std::string& line) {
    constexpr std::string_view kStamp = "[##-## ##:##:##.###]";
    if (line.size() < kStamp.size() || !MatchesShape(std::string_view(line).substr(0, kStamp.size()), kStamp)) {
        return "(no time stamp)";
    }
    return line.substr(kStamp.size());
}

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class TraceLogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(log.OpenIn(home.Root() + "/logs/deep")); }
    TempHome home;
    TraceLog log;
};

TEST_F(TraceLogTest, FileNameAndLineFormat) {
    const std::string name = std::filesystem::path(log.Path()).filename();
    EXPECT_TRUE(MatchesShape(name, "Mouse_########_######.log")) << name;
    EXPECT_EQ(std::filesystem::path(log.Path()).parent_path(), home.Root() + "/logs/deep");

    log.Write(kInfo, "opened %s %d", "device", 3);
    log.Write(kDebug, "dropped");
    log.Write(kTrace, "dropped");
    log.Write(kWarn, "w");
    log.Write(kError, "e");
    log.Write(kFatal, "f");
    const std::vector<std::string> lines = Lines(log.Path());
    const char* expected[] = {"[Info ]opened device 3", "[Warn ]w", "[Error]e", "[Fatal]f"};
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(AfterTimeStamp(lines[i]), expected[i]);
}

TEST_F(TraceLogTest, ChineseTextIsWrittenAsGbk) {
    log.Write(kInfo, "%s: %d", "打开设备", 1);
    const std::string bytes = ReadFileBytes(log.Path());
    const std::string tail = "[Info ]\xB4\xF2\xBF\xAA\xC9\xE8\xB1\xB8: 1\n";
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST_F(TraceLogTest, LongLinesAreCutTo255BytesWithoutSplittingACharacter) {
    log.Write(kInfo, "%s", std::string(400, 'x').c_str());
    // The 27-byte prefix leaves 228 bytes: "y" then two-byte characters end one byte short of the limit.
    std::string chinese;
    for (int i = 0; i < 200; ++i) chinese += "中";
    log.Write(kInfo, "y%s", chinese.c_str());
    const std::vector<std::string> lines = Lines(log.Path());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 255u);
    EXPECT_EQ(lines[0].substr(27), std::string(228, 'x'));
    EXPECT_EQ(lines[1].size(), 254u);
    EXPECT_EQ(lines[1].substr(27, 3), "y\xD6\xD0");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 2), "\xD6\xD0");
}

TEST_F(TraceLogTest, ClosedLogDropsLinesAndReopeningAppends) {
    log.Write(kInfo, "one");
    const std::string path = log.Path();
    log.Close();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.Path(), "");
    log.Write(kInfo, "dropped");
    EXPECT_EQ(Lines(path).size(), 1u);

    // Reopening appends instead of truncating a file of the same name.
    ASSERT_TRUE(log.OpenIn(home.Root() + "/logs/deep"));
    log.Write(kInfo, "two");
    if (log.Path() == path) {
        EXPECT_EQ(Lines(path).size(), 2u);
    }
}

TEST_F(TraceLogTest, LinesFromManyThreadsStayWhole) {
    constexpr int kThreads = 4, kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kLines; ++i) log.Write(kInfo, "thread %d line %d %s", t, i, "设备枚举完成");
        });
    }
    threads.emplace_back([this] {
        for (int i = 0; i < kLines; ++i) (void)log.IsOpen();
    });
    for (auto& thread : threads) thread.join();
    const std::vector<std::string> lines = Lines(log.Path());
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
    std::set<std::string> seen;
    for (const std::string& line : lines) {
        const std::string body = AfterTimeStamp(line);
        ASSERT_EQ(body.rfind("[Info ]thread ", 0), 0u) << line;
        ASSERT_EQ(body.substr(body.size() - 13), " \xC9\xE8\xB1\xB8\xC3\xB6\xBE\xD9\xCD\xEA\xB3\xC9") << line;
        seen.insert(body);
    }
    EXPECT_EQ(seen.size(), lines.size()) << "every line once";
}

TEST(TraceLogOpenTest, DefaultFolderIsLogInsideTheDataFolder) {
    TempHome home;
    SetDeviceName("Quorvel Mouse");
    TraceLog log;
    ASSERT_TRUE(log.Open());
    EXPECT_EQ(std::filesystem::path(log.Path()).parent_path(), home.Root() + "/data/Quorvel Mouse Files/log");
    log.Close();
    SetDeviceName("");
}

// One attempt, nothing on stderr from the log itself: the front end says it once, with OpenError's words.
TEST(TraceLogOpenTest, UnwritableFolderLeavesTheLogClosedAndSaysWhy) {
    TempHome home;
    testing::WriteFileBytes(home.Root() + "/file", "x");
    TraceLog log;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(log.OpenIn(home.Root() + "/file/log"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(log.IsOpen());
    const std::string error = log.OpenError();
    const std::string start = "cannot open the log file " + home.Root() + "/file/log/Mouse_";
    EXPECT_EQ(error.substr(0, start.size()), start) << error;
    const std::string end = ".log (Not a directory); running without a log";
    ASSERT_GE(error.size(), end.size());
    EXPECT_EQ(error.substr(error.size() - end.size()), end) << error;
    log.Write(kFatal, "dropped");

    ASSERT_TRUE(log.OpenIn(home.Root() + "/log"));
    EXPECT_EQ(log.OpenError(), "");
}

// A log file last written two days ago.
void WriteOldLog(const std::string& path, const std::string& bytes) {
    testing::WriteFileBytes(path, bytes);
    std::filesystem::last_write_time(path,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
}

// Every run adds a file: the newest ones are kept, older ones go, other files stay.
TEST(TraceLogOpenTest, KeepsTheNewestLogFiles) {
    TempHome home;
    const std::string folder = home.Root() + "/log";
    std::filesystem::create_directories(folder);
    std::vector<std::string> old;
    for (int i = 0; i < kKeptLogFiles + 5; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Mouse_20200101_%06d.log", i);
        old.push_back(name);
        WriteOldLog(folder + "/" + name, "old");
    }
    for (const char* other : {"notes.txt", "Mouse_1.log", "Mouse_20200101_000000.log.bak"})
        testing::WriteFileBytes(folder + "/" + other, "keep");

    TraceLog log;
    ASSERT_TRUE(log.OpenIn(folder));
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.insert(entry.path().filename());
    std::set<std::string> expected(old.end() - (kKeptLogFiles - 1), old.end());
    expected.insert(std::filesystem::path(log.Path()).filename());
    for (const char* other : {"notes.txt", "Mouse_1.log", "Mouse_20200101_000000.log.bak"})
        expected.insert(other);
    EXPECT_EQ(left, expected);
}

// The file in use is never removed, even when the clock has gone back and it sorts first.
TEST(TraceLogOpenTest, TheOpenFileIsKeptWhateverItsName) {
    TempHome home;
    const std::string folder = home.Root() + "/log";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < kKeptLogFiles + 2; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Mouse_29990101_%06d.log", i);
        WriteOldLog(folder + "/" + name, "future");
    }
    TraceLog log;
    ASSERT_TRUE(log.OpenIn(folder));
    EXPECT_TRUE(std::filesystem::exists(log.Path()));
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) count += entry.is_regular_file();
    EXPECT_EQ(count, static_cast<std::size_t>(kKeptLogFiles));
}

// Pruning spares what another program still writes (its open log is locked) and what was written lately,
// however old its name; the others beyond the count go.
TEST(TraceLogOpenTest, LogsInUseOrRecentAreSpared) {
    TempHome home;
    const std::string folder = home.Root() + "/log";
    std::filesystem::create_directories(folder);
    std::vector<std::string> names;
    for (int i = 0; i < kKeptLogFiles + 5; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Mouse_20200101_%06d.log", i);
        names.push_back(name);
        WriteOldLog(folder + "/" + name, "old");
    }
    struct Case {
        const char* what;
        int index;  // among the oldest, which pruning would take
        bool spared;
    } cases[] = {
        {"open in another program", 0, true},
        {"written to in the last minutes", 1, true},
        {"neither", 2, false},
    };
    // A running quorvel's log: open with its shared lock.
    const int held = ::open((folder + "/" + names[0]).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_SH), 0);
    testing::WriteFileBytes(folder + "/" + names[1], "lately");

    TraceLog log;
    ASSERT_TRUE(log.OpenIn(folder));
    for (const Case& c : cases)
        EXPECT_EQ(std::filesystem::exists(folder + "/" + names[c.index]), c.spared) << c.what;
    ::close(held);

    // The log this process opens is locked the same way: pruning in another program leaves it.
    const int probe = ::open(log.Path().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(probe, 0);
    EXPECT_NE(::flock(probe, LOCK_EX | LOCK_NB), 0);
    ::close(probe);
}

TEST(TraceLogOpenTest, ProcessWideLogServesTrace) {
    TempHome home;
    TraceLog& log = TraceLog::Instance();
    ASSERT_TRUE(log.OpenIn(home.Root()));
    Trace("value %d", 42);
    const std::string bytes = ReadFileBytes(log.Path());
    log.Close();
    EXPECT_EQ(AfterTimeStamp(bytes), "[Info ]value 42\n");
}

}  // namespace
}  // namespace quorvel
