// Signed updates against the loopback server: with update keys in the product folder, a version text or an
// archive is used only when its ".sig" is a signature of its bytes by a listed key; without keys the files
// are taken as before and the results say the updates are unsigned.

#include <gmock/gmock.h>
#include <sys/stat.h>

#include "sim/VirtualMouse.h"
#include "update/TestSigning.h"
#include "update/UpdateFlowFixture.h"
#include "update/UpdateSignature.h"

namespace quorvel::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kRefused = "The update was refused: its signature is missing or wrong.";

std::string Sig(const char* path) {
    return std::string(path) + ".sig";
}

class SignedUpdateTest : public UpdateFlowTest {
protected:
    const TestSigner maker{1};
    const TestSigner stranger{77};
    const std::string image = std::string(480, '\x5A');
};

// Every way the archive's signature can be wrong: nothing is unpacked or sent, and the window and the
// result say why.
TEST_F(SignedUpdateTest, FirmwareArchiveIsUsedOnlyWithTheMakersSignature) {
    Start("102:wired");
    WriteWholeFile(KeysFile(), "# the maker's release key\n" + maker.PublicLine() + "\n");
    const std::string archive = Zip({{"firmware-106.bin", image}});
    const std::string good = maker.Sign(archive);
    HttpAnswer stalled = Reply(200, good.substr(0, 20));
    stalled.sendLength = false;
    stalled.pieces = {10};
    stalled.stallAfterPieces = true;
    struct Case {
        const char* name;
        HttpAnswer signature;
        const char* error;  // empty: flashed
    };
    const Case cases[] = {
        {"signed by the maker", Reply(200, good), ""},
        {"signed, line end CR LF", Reply(200, good.substr(0, good.size() - 1) + "\r\n"), ""},
        {"no signature on the server", Reply(404, "not found"), "HTTP status 404"},
        {"signature of another file", Reply(200, maker.Sign(archive + " ")), "not made of this file"},
        {"signature by another key", Reply(200, stranger.Sign(archive)), "not made of this file"},
        {"truncated signature", Reply(200, good.substr(0, 60)), "base64 of a 64-byte signature"},
        {"empty signature", Reply(200, ""), "signature file is empty"},
        {"two lines", Reply(200, good + good), "base64 of a 64-byte signature"},
        {"huge signature file", Reply(200, std::string(3 << 20, 'A')), "than 1024 bytes"},
        {"signature that never ends", stalled, "no signature at"},
    };
    server.Answer(kFirmwareVersion, Reply(200, "106"));
    server.Answer(Sig(kFirmwareVersion), Reply(200, maker.Sign("106")));
    server.Answer(kFirmwareArchive, Reply(200, archive));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Work());
        server.Answer(Sig(kFirmwareArchive), c.signature);
        ASSERT_EQ(Run(kTaskCheckFirmware), TaskStatus::Confirmed) << flow->FirmwareCheck().error;
        EXPECT_FALSE(flow->FirmwareCheck().unsignedUpdates);
        sim->Mouse(0).ClearRequests();
        view.Clear();

        const TaskStatus status = Run(kTaskFlashFirmware);
        const UpdateInstall result = flow->FirmwareInstall();
        if (std::string(c.error).empty()) {
            EXPECT_EQ(status, TaskStatus::Confirmed) << result.error;
            const std::vector<uint8_t> sent = sim->Mouse(0).FirmwareImage();
            EXPECT_EQ(std::string(sent.begin(), sent.end()), image);
            continue;
        }
        EXPECT_EQ(status, TaskStatus::Failed);
        EXPECT_THAT(result.error, HasSubstr(kRefused));
        EXPECT_THAT(result.error, HasSubstr(c.error));
        EXPECT_FALSE(result.cancelled);
        EXPECT_THAT(view.Events(), Contains("failed 2 " + result.error));
        EXPECT_EQ(UpgradeRequests(sim->Mouse(0)), 0u);
        EXPECT_THAT(ListTree(Work()), IsEmpty()) << "nothing unpacked, the archive removed";
    }
}

// A version text whose signature is wrong is no offer: the check fails and its label says why.
TEST_F(SignedUpdateTest, VersionTextWithoutTheMakersSignatureIsNoOffer) {
    Start("102:wired");
    WriteWholeFile(KeysFile(), maker.PublicLine() + "\n");
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1\n"));
    server.Answer(Sig(kSoftwareVersion), Reply(200, maker.Sign("1.0.2\n")));
    EXPECT_EQ(Run(kTaskCheckSoftware), TaskStatus::Failed);
    EXPECT_THAT(flow->SoftwareCheck().error, HasSubstr(kRefused));
    EXPECT_EQ(flow->SoftwareCheck().newest, "");
    EXPECT_THAT(view.Events(), ElementsAre("software label Update refused: signature missing or wrong"));
    // Nothing to install from a refused check.
    EXPECT_EQ(Run(kTaskInstallSoftware), TaskStatus::Failed);
    EXPECT_THAT(flow->SoftwareInstall().error, HasSubstr("check for updates first"));

    server.Answer(kFirmwareVersion, Reply(200, "106"));
    server.Answer(Sig(kFirmwareVersion), Reply(404, ""));
    view.Clear();
    EXPECT_EQ(Run(kTaskCheckFirmware), TaskStatus::Failed);
    EXPECT_THAT(flow->FirmwareCheck().error,
                HasSubstr("no signature at " + server.Url(Sig(kFirmwareVersion))));
    EXPECT_THAT(view.Events(), ElementsAre("firmware label Update refused: signature missing or wrong"));

    // The signature covers the text's exact bytes, a zero byte and what follows it included.
    server.Answer(kSoftwareVersion, Reply(200, std::string("1.0.1\0evil", 10)));
    server.Answer(Sig(kSoftwareVersion), Reply(200, maker.Sign("1.0.1")));
    EXPECT_EQ(Run(kTaskCheckSoftware), TaskStatus::Failed);
    server.Answer(Sig(kSoftwareVersion), Reply(200, maker.Sign(std::string("1.0.1\0evil", 10))));
    EXPECT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
    EXPECT_EQ(flow->SoftwareCheck().newest, "1.0.1");
}

// The set-up program of a wrongly signed archive is never unpacked nor started; with the maker's
// signature it is. Any listed key may sign.
TEST_F(SignedUpdateTest, SetUpProgramStartsOnlyFromASignedArchive) {
    Start("102:wired");
    WriteWholeFile(KeysFile(), stranger.PublicLine() + "  # an older key\n\n" + maker.PublicLine() + "\r\n");
    const std::string marker = scratch_ / "started";
    const std::string archive =
        Zip({{"Mouse-Setup-1.0.1.run", "#!/bin/sh\necho started > '" + marker + "'\n"}});
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1"));
    server.Answer(Sig(kSoftwareVersion), Reply(200, maker.Sign("1.0.1")));
    server.Answer(kSoftwareArchive, Reply(200, archive));
    server.Answer(Sig(kSoftwareArchive), Reply(200, TestSigner(5).Sign(archive)));
    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed) << flow->SoftwareCheck().error;
    view.Clear();
    EXPECT_EQ(Run(kTaskInstallSoftware), TaskStatus::Failed);
    EXPECT_THAT(flow->SoftwareInstall().error, HasSubstr(kRefused));
    EXPECT_THAT(view.Events(), ElementsAre("failed 1 " + flow->SoftwareInstall().error));
    EXPECT_THAT(ListTree(Work()), IsEmpty());

    server.Answer(Sig(kSoftwareArchive), Reply(200, maker.Sign(archive)));
    EXPECT_EQ(Run(kTaskInstallSoftware), TaskStatus::Confirmed) << flow->SoftwareInstall().error;
    EXPECT_FALSE(flow->SoftwareInstall().unsignedUpdates);
}

// Without update keys nothing is asked for a signature and the results say the updates are unsigned; a
// key file that cannot be used (damaged, not a file, a FIFO) refuses every update rather than fall back.
TEST_F(SignedUpdateTest, KeyFileDecidesBetweenUnsignedAndRefused) {
    Start("102:wired");
    server.Answer(kSoftwareVersion, Reply(200, "1.0.1"));
    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
    EXPECT_TRUE(flow->SoftwareCheck().unsignedUpdates);
    for (const std::string& request : server.Requests())
        EXPECT_THAT(request, ::testing::Not(HasSubstr(".sig")));

    WriteWholeFile(KeysFile(), "# no keys yet\n\n");
    ASSERT_EQ(Run(kTaskCheckSoftware), TaskStatus::Confirmed);
    EXPECT_TRUE(flow->SoftwareCheck().unsignedUpdates);

    struct Case {
        const char* name;
        std::function<void()> make;
        const char* error;
    };
    const Case cases[] = {
        {"not a key", [&] { WriteWholeFile(KeysFile(), maker.PublicLine() + "\nAAAA\n"); },
         "line 2 is not the base64 of a 32-byte key"},
        {"a folder", [&] { std::filesystem::create_directory(KeysFile()); }, "is not a regular file"},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(KeysFile().c_str(), 0600), 0); }, "is not a regular file"},
        {"too large", [&] { WriteWholeFile(KeysFile(), std::string(65 * 1024, '#')); }, "larger than"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(KeysFile());
        c.make();
        EXPECT_EQ(Run(kTaskCheckSoftware), TaskStatus::Failed);
        EXPECT_THAT(flow->SoftwareCheck().error, HasSubstr(kRefused));
        EXPECT_THAT(flow->SoftwareCheck().error, HasSubstr(c.error));
        EXPECT_FALSE(flow->SoftwareCheck().unsignedUpdates);
    }
}

TEST(UpdateSignatureTest, KeyFileLines) {
    const TestSigner a(1), b(2);
    UpdateKeys keys = ParseUpdateKeys("#c\n  " + a.PublicLine() + " \t# tab\r\n\n" + b.PublicLine());
    EXPECT_EQ(keys.error, "");
    ASSERT_EQ(keys.keys.size(), 2u);
    EXPECT_EQ(CheckSignature("x", b.Sign("x"), keys), "");
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {a.PublicLine().substr(0, 40), "line 1"},     // short
        {a.PublicLine() + a.PublicLine(), "line 1"},  // two keys on one line
        {"\n" + a.PublicLine() + "x", "line 2"},      // trailing junk
        {std::string(44, '-'), "line 1"},             // not base64
        {EncodeBase64(reinterpret_cast<const unsigned char*>("0123456789012345678901234567890123"), 34),
         "line 1"},  // 34 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        keys = ParseUpdateKeys(c.text);
        EXPECT_THAT(keys.error, HasSubstr(c.error));
        EXPECT_TRUE(keys.keys.empty());
    }
}

// The maker's script signs with a private key kept elsewhere; the sample product's key checks what the
// committed throw-away test key signed, and nothing else.
TEST(UpdateSignatureTest, SignReleaseScriptAndTheSampleProductKey) {
    ScratchDir dir;
    const std::string key = dir / "release.pem";
    WriteWholeFile(
        key, ReadWholeFile(std::string(QUORVEL_FIXTURE_DIR) + "/update-keys/THROWAWAY-test-release-key.pem"));
    const std::string file = dir / "firmware-106.zip";
    WriteWholeFile(file, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    ASSERT_EQ(RunProgram({std::string(QUORVEL_SOURCE_DIR) + "/scripts/sign-release.sh", key, file},
                         dir.Path().string()),
              0);
    const UpdateKeys sample = LoadUpdateKeys(std::string(QUORVEL_PRODUCT_DIR) + "/update-keys");
    ASSERT_EQ(sample.error, "");
    ASSERT_EQ(sample.keys.size(), 1u);
    const std::string signature = ReadWholeFile(file + ".sig");
    EXPECT_EQ(signature.size(), 89u) << "88 base64 characters and a line end";
    EXPECT_EQ(CheckFileSignature(file, signature, sample), "");
    WriteWholeFile(file, ReadWholeFile(file) + " ");
    EXPECT_THAT(CheckFileSignature(file, signature, sample), HasSubstr("not made of this file"));
    // A private key inside the repository is refused.
    EXPECT_NE(RunProgram({std::string(QUORVEL_SOURCE_DIR) + "/scripts/sign-release.sh", "--new-key",
                          std::string(QUORVEL_SOURCE_DIR) + "/release.pem"},
                         dir.Path().string()),
              0);
    EXPECT_FALSE(std::filesystem::exists(std::string(QUORVEL_SOURCE_DIR) + "/release.pem"));
}

}  // namespace
}  // namespace quorvel::test
