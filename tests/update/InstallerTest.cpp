// Software updates: the set-up program comes out of the archive from the loopback server, is made
// executable and started on its own.

#include <gmock/gmock.h>
#include <sys/stat.h>

#include <thread>

#include "update/Installer.h"
#include "update/UpdateFlowFixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A set-up program that writes its argument count and name to `marker` (through a temporary name, so a
// reader never sees half a line).
std::string SetupScript(const std::string& marker) {
    return "#!/bin/sh\necho \"$# $0\" > '" + marker + ".tmp'\nmv '" + marker + ".tmp' '" + marker + "'\n";
}

// The marker's text once the detached program wrote it; empty after 10 s.
std::string WaitForMarker(const std::string& marker) {
    for (int i = 0; i < 1000; ++i) {
        if (std::filesystem::exists(marker)) return ReadWholeFile(marker);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
}

TEST_F(UpdateFlowTest, SoftwareUpdateStartsTheSetUpProgram) {
    Start("102:wired");
    const std::string marker = scratch_ / "started";
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1\n"));
    server.Answer(kSoftwareArchive, Reply(200, Zip({{"Mouse-Setup-1.0.1.run", SetupScript(marker)}})));

    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
    ASSERT_TRUE(flow->SoftwareCheck().newer);
    view.Clear();
    ASSERT_EQ(Run(kTaskInstallSoftware), TaskStatus::Confirmed) << flow->SoftwareInstall().error;

    const std::string installer = Work() + "Mouse-Setup-1.0.1.run";
    const UpdateInstall result = flow->SoftwareInstall();
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.exitProgram);
    EXPECT_EQ(result.version, "1.0.1");
    EXPECT_EQ(result.path, installer);
    EXPECT_THAT(view.Events(), ElementsAre("installer " + installer));
    EXPECT_EQ(view.Downloads().back(), 100);

    // Started without arguments under its own name; the archive is gone, the set-up program stays.
    EXPECT_EQ(WaitForMarker(marker), "0 " + installer + "\n");
    struct stat st {};
    ASSERT_EQ(::stat(installer.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IXUSR, 0u);
    EXPECT_THAT(ListTree(Work()), ElementsAre("Mouse-Setup-1.0.1.run"));
}

TEST_F(UpdateFlowTest, SoftwareUpdateStartsNothingWithoutASoundSetUpProgram) {
    Start("102:wired");
    const std::string marker = scratch_ / "started";
    struct Case {
        const char* name;
        HttpAnswer archive;
        const char* error;
    };
    const Case cases[] = {
        // The Windows archive holds only the ".exe".
        {"windows archive", Reply(200, Zip({{"Mouse-Setup-1.0.1.exe", "MZ"}})),
         "holds no Mouse-Setup-1.0.1.run"},
        {"damaged", Reply(200, DamageFirstEntry(Zip({{"Mouse-Setup-1.0.1.run", SetupScript(marker)}}, true))),
         "Mouse-Setup-1.0.1.run was not unpacked (CRC-32 does not match)"},
        {"archive not found", Reply(404, "gone"), "HTTP status 404"},
    };
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A set-up program left by an earlier run is not started in place of the missing one.
        std::filesystem::create_directories(Work());
        WriteWholeFile(Work() + "Mouse-Setup-1.0.1.run", SetupScript(marker));
        server.Answer(kSoftwareArchive, c.archive);
        ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
        view.Clear();

        EXPECT_EQ(Run(kTaskInstallSoftware), TaskStatus::Failed);
        const UpdateInstall result = flow->SoftwareInstall();
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.exitProgram);
        EXPECT_THAT(result.error, HasSubstr(c.error));
        // The front end hears why nothing was started.
        EXPECT_THAT(view.Events(), ElementsAre("failed 1 " + result.error));
        EXPECT_FALSE(std::filesystem::exists(Work() + "Mouse-Setup-1.0.1.zip"));
    }
    // Nothing was started: had anything run, it would have written the marker by now.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

// The user's Cancel ends the download of a running installation, and a Cancel that comes when none runs
// (a late click) is no cancel of the next task.
TEST_F(UpdateFlowTest, CancelTransferEndsTheRunningDownloadOnly) {
    Start("102:wired");
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1"));
    HttpAnswer slow = Reply(200, std::string(40000, 'z'));
    slow.pieces = {12000};
    slow.stallAfterPieces = true;  // the rest never comes
    server.Answer(kSoftwareArchive, slow);

    EXPECT_FALSE(flow->CancelTransfer());
    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed) << "a late cancel fails nothing";
    view.Clear();

    const uint64_t id = core->Worker().QueueTrackedTask(DeviceTaskRequest(kTaskInstallSoftware));
    for (int i = 0; i < 1000; ++i) {
        const std::vector<int> seen = view.Downloads();
        if (!seen.empty() && seen.back() > 10) break;  // the first piece arrived
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(flow->CancelTransfer());
    EXPECT_EQ(core->Worker().WaitForTask(id, std::chrono::seconds(30)).status, TaskStatus::Failed);
    const UpdateInstall result = flow->SoftwareInstall();
    EXPECT_THAT(result.error, HasSubstr("cancelled"));
    EXPECT_THAT(view.Events(), ElementsAre("failed 1 " + result.error));
    EXPECT_FALSE(std::filesystem::exists(Work() + "Mouse-Setup-1.0.1.zip"));

    // The cancel ended with its task.
    EXPECT_FALSE(flow->CancelTransfer());
    EXPECT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
}

TEST(StartInstallerTest, RefusesWhatIsNotAProgramFile) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "folder.run");
    WriteWholeFile(dir / "real.run", "#!/bin/sh\n");
    std::filesystem::create_symlink(dir / "real.run", dir / "link.run");
    struct Case {
        const char* name;
        const char* error;
    };
    const Case cases[] = {
        {"missing.run", "cannot open the set-up program"},
        {"folder.run", "is not a regular file"},
        {"link.run", "cannot open the set-up program"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(StartInstaller(dir / c.name, &error));
        EXPECT_THAT(error, HasSubstr(c.error));
    }
    // The link was not followed: its target is still not executable.
    struct stat st {};
    ASSERT_EQ(::stat((dir / "real.run").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0111, 0u);
}

}  // namespace
}  // namespace quorvel::test
