// Firmware updates of the virtual mouse from the loopback server: check, download, unpack, transfer.

#include <gmock/gmock.h>
#include <sys/stat.h>

#include "sim/VirtualMouse.h"
#include "update/FirmwareUpdate.h"
#include "update/UpdateFlowFixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string AsText(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(UpdateFlowTest, FirmwareUpdateFromTheServerReachesTheMouse) {
    Start("102:wired");
    // 313 sub-blocks: 104 full packets and one with a single sub-block, no padding on the image.
    const std::string image = Image(5008);
    server.Answer(kFirmwareVersion, Reply(200, "106\r\n"));
    server.Answer(kFirmwareArchive, Reply(200, Zip({{"firmware-106.bin", image}, {"notes.txt", "fixes"}})));

    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    ASSERT_TRUE(flow->FirmwareCheck().newer);
    view.Clear();
    ASSERT_EQ(Run(kTaskFlashFirmware), TaskStatus::Confirmed) << flow->FirmwareInstall().error;

    EXPECT_EQ(AsText(sim->Mouse(0).FirmwareImage()), image);
    EXPECT_THAT(sim->AllIssues(), IsEmpty());
    const UpdateInstall result = flow->FirmwareInstall();
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.version, "106");
    EXPECT_EQ(result.imageBytes, image.size());
    EXPECT_EQ(result.path, Work() + "firmware-106.bin");

    EXPECT_THAT(view.Steps(),
                ElementsAre("step Downloading firmware: 5%", "step Preparing firmware: 7%",
                            "step Preparing firmware: 10%", "step Upgrade finished: 100%", "end"));
    const std::vector<std::string> events = view.Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.rfind("packet ", 0) == 0; }),
              104);
    EXPECT_THAT(view.Downloads(), ::testing::Contains(100));
    EXPECT_EQ(view.Downloads().back(), 100);
    // Archive and image are gone; what else the archive held stays.
    EXPECT_THAT(ListTree(Work()), ElementsAre("notes.txt"));
}

// Every way the image can fail to arrive ends the task before anything is sent to the mouse.
TEST_F(UpdateFlowTest, FirmwareUpdateSendsNothingWithoutASoundImage) {
    Start("102:wired");
    const std::string image = Image(480);
    struct Case {
        const char* name;
        HttpAnswer archive;
        const char* error;
        std::vector<std::string> workAfter;  // the work folder afterwards
    };
    const Case cases[] = {
        {"damaged image entry",
         Reply(200, DamageFirstEntry(Zip({{"firmware-106.bin", image}}, true))),
         "firmware-106.bin was not unpacked (CRC-32 does not match)",
         {}},
        {"image missing",
         Reply(200, Zip({{"firmware-105.bin", image}})),
         "holds no firmware-106.bin",
         {"firmware-105.bin"}},
        {"image in a folder",
         Reply(200, Zip({{"x/firmware-106.bin", image}})),
         "holds no firmware-106.bin",
         {"x", "x/firmware-106.bin"}},
        {"empty image", Reply(200, Zip({{"firmware-106.bin", ""}})), "is empty", {"firmware-106.bin"}},
        {"not an archive", Reply(200, "<html>moved</html>"), "cannot unpack", {"firmware-106.zip"}},
        // Nothing was unpacked: the earlier image stays unused.
        {"archive not found", Reply(404, "<html>not found</html>"), "HTTP status 404", {"firmware-106.bin"}},
    };
    server.Answer(kFirmwareVersion, Reply(200, "106"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Work());
        // An image left by an earlier run must not stand in for the one this archive lacks.
        std::filesystem::create_directories(Work());
        WriteWholeFile(Work() + "firmware-106.bin", image);
        server.Answer(kFirmwareArchive, c.archive);
        ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
        sim->Mouse(0).ClearRequests();
        view.Clear();

        EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
        EXPECT_THAT(flow->FirmwareInstall().error, HasSubstr(c.error));
        EXPECT_FALSE(flow->FirmwareInstall().ok);
        EXPECT_EQ(UpgradeRequests(sim->Mouse(0)), 0u);
        EXPECT_THAT(sim->Mouse(0).FirmwareImage(), IsEmpty());
        EXPECT_EQ(view.Steps().back(), "end");
        EXPECT_THAT(view.Steps(), ::testing::Not(::testing::Contains("step Upgrade finished: 100%")));
        EXPECT_THAT(view.Events(), ::testing::Contains("failed 2 " + flow->FirmwareInstall().error));
        EXPECT_EQ(ListTree(Work()), c.workAfter);
    }
}

TEST_F(UpdateFlowTest, FirmwareTransferRefusedByTheMouseIsAFailure) {
    Start("102:wired");
    server.Answer(kFirmwareVersion, Reply(200, "106"));
    server.Answer(kFirmwareArchive, Reply(200, Zip({{"firmware-106.bin", Image(480)}})));
    ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed);
    sim->Mouse(0).InjectFault({SimFaultKind::WriteFails, -1, -1, 0});
    view.Clear();

    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
    EXPECT_THAT(flow->FirmwareInstall().error, HasSubstr("did not accept the start"));
    EXPECT_THAT(view.Events(), ::testing::Contains("failed 2 " + flow->FirmwareInstall().error));
    // Not shown as finished; the downloaded image is still used only once.
    EXPECT_THAT(view.Steps(), ElementsAre("step Downloading firmware: 5%", "step Preparing firmware: 7%",
                                          "step Preparing firmware: 10%", "end"));
    EXPECT_THAT(ListTree(Work()), IsEmpty());
}

TEST_F(UpdateFlowTest, LocalFirmwareFileIsSentAndKept) {
    Start("102:wired");
    const std::string path = scratch_ / "own.bin";
    const std::string image = Image(100);
    WriteWholeFile(path, image);
    flow->SetFirmwareFile(path);

    ASSERT_EQ(Run(kTaskFlashFirmware), TaskStatus::Confirmed) << flow->FirmwareInstall().error;
    std::string padded = image;
    padded.resize(112, '\xFF');  // the last sub-block carries 4 image bytes and 12 bytes 0xFF
    EXPECT_EQ(AsText(sim->Mouse(0).FirmwareImage()), padded);
    EXPECT_EQ(ReadWholeFile(path), image);
    EXPECT_THAT(view.Steps(),
                ElementsAre("step Preparing firmware: 10%", "step Upgrade finished: 100%", "end"));
    EXPECT_THAT(server.Requests(), IsEmpty());

    // The file is for one task only: the next one wants a check again.
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
}

TEST_F(UpdateFlowTest, FirmwareUpdateWithoutAMouse) {
    Start("");
    server.Answer(kFirmwareVersion, Reply(200, "106"));
    const std::string path = scratch_ / "own.bin";
    WriteWholeFile(path, Image(64));
    flow->SetFirmwareFile(path);
    EXPECT_EQ(Run(kTaskFlashFirmware), TaskStatus::Failed);
    EXPECT_EQ(flow->FirmwareInstall().error, "no mouse connected");
}

TEST(LoadFirmwareImageTest, RefusesWhatCannotBeSent) {
    ScratchDir dir;
    WriteWholeFile(dir / "empty.bin", "");
    WriteWholeFile(dir / "largest.bin", std::string(kMaxFirmwareImageBytes, 'a'));
    WriteWholeFile(dir / "too-large.bin", std::string(kMaxFirmwareImageBytes + 1, 'a'));
    std::filesystem::create_directory(dir / "folder.bin");
    // Opening a FIFO that nobody writes would wait forever.
    ASSERT_EQ(::mkfifo((dir / "fifo.bin").c_str(), 0600), 0);
    struct Case {
        const char* name;
        size_t size;  // 0: refused
        const char* error;
    };
    const Case cases[] = {
        {"largest.bin", kMaxFirmwareImageBytes, ""},
        {"too-large.bin", 0, "the transfer takes at most 1048576"},
        {"empty.bin", 0, "is empty"},
        {"missing.bin", 0, "no firmware image"},
        {"folder.bin", 0, "not a regular file"},
        {"fifo.bin", 0, "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> image;
        std::string error;
        EXPECT_EQ(LoadFirmwareImage(dir / c.name, &image, &error), c.size != 0);
        EXPECT_EQ(image.size(), c.size);
        if (c.size == 0) {
            EXPECT_THAT(error, HasSubstr(c.error));
        }
    }
}

}  // namespace
}  // namespace quorvel::test
