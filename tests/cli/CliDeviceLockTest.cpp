// One writer per mouse: while another process holds the per-user device lock, quorvelctl sends nothing to
// a mouse (discovery included), says who holds it and exits 1; commands that only read show the stored
// settings without writing the database file.

#include <unistd.h>

#include <filesystem>

#include "CliRunner.h"
#include "platform/DeviceLock.h"

namespace quorvel::test {
namespace {

using Args = std::vector<std::string>;

class CliDeviceLock : public CliTest {
protected:
    std::string LockPath() const { return Path("runtime") + "/com.quorvel.Quorvel.mouse.lock"; }
    std::string Database() const {
        for (const auto& e : std::filesystem::recursive_directory_iterator(Path("data")))
            if (e.path().filename() == "QuorvelR2_data.db") return e.path().string();
        return {};
    }
};

TEST_F(CliDeviceLock, ASecondProcessSaysWhoHoldsTheMouseAndSendsNothing) {
    ASSERT_EQ(Run({"--virtual", "102", "rate", "500"}).exitCode, 0);  // a store to read later
    const std::string database = Database();
    ASSERT_FALSE(database.empty());
    const std::string pid = std::to_string(::getpid());
    struct Case {
        const char* holder;  // the program name the holding process wrote
        Args args;
        int exitCode;
        const char* message;  // on stderr
    } cases[] = {
        {"quorvelctl",
         {"--virtual", "102", "rate", "1000"},
         1,
         "quorvelctl (process PID) is using the mouse; nothing was sent."},
        {"quorvelctl", {"--virtual", "102", "devices"}, 1, "quorvelctl (process PID) is using the mouse"},
        {"quorvelctl",
         {"--virtual", "102", "firmware", "check"},
         1,
         "quorvelctl (process PID) is using the mouse"},
        {"quorvel",
         {"--virtual", "102", "buttons-reset"},
         1,
         "quorvel (process PID) is running and drives the mouse"},
        {"quorvelctl",
         {"--virtual", "102", "--device", "102", "show"},
         0,
         "quorvelctl (process PID) holds the mouse: the stored settings of Quorvel R2 (device_type 102) are "
         "shown without asking the mouse"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holder + (" " + c.args.back()));
        DeviceLock held(LockPath());
        ASSERT_EQ(held.TryTake(c.holder), DeviceLock::Result::kTaken);
        TakeTrace();
        const auto before = std::filesystem::last_write_time(database);
        const std::string bytes = ReadWhole(database);

        const CliRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run;
        std::string message = c.message;
        message.replace(message.find("PID"), 3, pid);
        EXPECT_NE(run.err.find(message), std::string::npos) << run;
        EXPECT_TRUE(TakeTrace().empty()) << "nothing reached a mouse";
        EXPECT_EQ(ReadWhole(database), bytes) << "the store is only read";
        EXPECT_EQ(std::filesystem::last_write_time(database), before);
    }
    // Free again: the next run sends.
    const CliRun free = Run({"--virtual", "102", "rate", "1000"});
    EXPECT_EQ(free.exitCode, 0) << free;
    EXPECT_FALSE(TakeTrace().empty());
}

// The lock is held for the whole run of a command that sends, and given back at its end.
TEST_F(CliDeviceLock, ARunHoldsTheLockUntilItEnds) {
    const CliRun run = Run({"--virtual", "102", "rate", "500"});
    ASSERT_EQ(run.exitCode, 0) << run;
    ASSERT_TRUE(std::filesystem::exists(LockPath()));
    DeviceLock after(LockPath());
    EXPECT_EQ(after.TryTake("test"), DeviceLock::Result::kTaken) << "released at the end of the run";
}

}  // namespace
}  // namespace quorvel::test
