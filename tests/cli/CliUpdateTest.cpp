// update and firmware commands against a loopback update server, and the firmware transfer in the trace.

#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CliRunner.h"
#include "LoopbackServer.h"
#include "TraceHelpers.h"
#include "update/TestSigning.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

void Put16(std::string* out, unsigned v) {
    out->push_back(static_cast<char>(v & 0xFF));
    out->push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string* out, unsigned long v) {
    Put16(out, v & 0xFFFF);
    Put16(out, (v >> 16) & 0xFFFF);
}

// A ZIP archive of stored (uncompressed) files.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& files) {
    std::string zip, central;
    for (const auto& file : files) {
        const std::string& name = file.first;  // named references: a lambda below uses them
        const std::string& data = file.second;
        const unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), data.size());
        const unsigned long offset = zip.size();
        auto header = [&](std::string* out, bool isCentral) {
            Put32(out, isCentral ? 0x02014b50 : 0x04034b50);
            if (isCentral) Put16(out, 0x031E);  // made by Unix, 3.0
            Put16(out, 20);
            Put16(out, 0);       // flags
            Put16(out, 0);       // stored
            Put16(out, 0);       // time
            Put16(out, 0x0021);  // date 1980-01-01
            Put32(out, crc);
            Put32(out, data.size());
            Put32(out, data.size());
            Put16(out, name.size());
            Put16(out, 0);  // extra
            if (isCentral) {
                Put16(out, 0);  // comment
                Put16(out, 0);  // disk
                Put16(out, 0);  // internal attributes
                Put32(out, 0100644ul << 16);
                Put32(out, offset);
            }
            *out += name;
        };
        header(&zip, false);
        zip += data;
        header(&central, true);
    }
    const unsigned long centralOffset = zip.size();
    zip += central;
    Put32(&zip, 0x06054b50);
    Put16(&zip, 0);
    Put16(&zip, 0);
    Put16(&zip, files.size());
    Put16(&zip, files.size());
    Put32(&zip, central.size());
    Put32(&zip, centralOffset);
    Put16(&zip, 0);
    return zip;
}

// CRC-16/MODBUS: reflected polynomial 0xA001, start 0xFFFF, no final XOR.
unsigned Crc16Modbus(const std::vector<int>& bytes) {
    unsigned crc = 0xFFFF;
    for (int b : bytes) {
        crc ^= static_cast<unsigned>(b);
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

std::string UpgradeWrite(const std::vector<int>& head) {
    std::vector<int> report = head;
    report.resize(64, 0xFF);
    return "write FFEF:0000 " + HexBytes(report);
}

// The data packets of an image: 48 bytes a packet in three 20-byte sub-blocks (block number, 16 bytes padded
// with 0xFF, CRC), then a last packet with as many sub-blocks as the rest needs.
std::vector<std::string> FirmwarePackets(const std::vector<int>& image) {
    std::vector<std::string> lines;
    int block = 0;
    for (size_t at = 0; at < image.size(); at += 48) {
        const size_t rest = std::min<size_t>(48, image.size() - at);
        const size_t blocks = (rest + 15) / 16;
        std::vector<int> packet = {0x05, 0x02, static_cast<int>(20 * blocks), 0x00};
        for (size_t b = 0; b < blocks; ++b, ++block) {
            std::vector<int> sub = {block & 0xFF, (block >> 8) & 0xFF};
            for (size_t i = 0; i < 16; ++i) {
                const size_t index = at + 16 * b + i;
                sub.push_back(index < image.size() && index < at + rest ? image[index] : 0xFF);
            }
            const unsigned crc = Crc16Modbus(sub);
            sub.push_back(crc & 0xFF);
            sub.push_back(crc >> 8);
            packet.insert(packet.end(), sub.begin(), sub.end());
        }
        lines.push_back(UpgradeWrite(packet));
    }
    return lines;
}

std::vector<std::string> UpgradeLines(const std::vector<std::string>& trace) {
    std::vector<std::string> out;
    for (const std::string& line : trace) {
        if (StartsWith(line, "write FFEF:0000 ")) out.push_back(line);
    }
    return out;
}

class CliUpdate : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        for (int i = 0; i < 100; ++i) image_.push_back(i);
        imageBytes_.assign(image_.begin(), image_.end());
    }

    // The sample product with its update addresses on the loopback server.
    std::string Product() {
        const fs::path product = root_ / "product";
        if (fs::exists(product)) return product.string();
        fs::create_directories(product);
        fs::copy(fs::path(QUORVEL_BIN_DIR) / "device", product / "device", fs::copy_options::recursive);
        fs::copy(fs::path(QUORVEL_BIN_DIR) / "language", product / "language", fs::copy_options::recursive);
        auto rewrite = [](const fs::path& from, const fs::path& to, const std::string& old, const std::string& now) {
            std::string text = ReadWhole(from);
            const size_t at = text.find(old);
            EXPECT_NE(at, std::string::npos) << old << " not in " << from;
            if (at != std::string::npos) text.replace(at, old.size(), now);
            std::ofstream(to, std::ios::binary | std::ios::trunc) << text;
        };
        rewrite(fs::path(QUORVEL_BIN_DIR) / "config.xml", product / "config.xml",
                "https://updates.example.com/quorvel/software/", server_.Url("/software/"));
        rewrite(product / "device" / "QuorvelR2.xml", product / "device" / "QuorvelR2.xml",
                "https://updates.example.com/quorvel/firmware/QuorvelR2/", server_.Url("/fw/"));
        return product.string();
    }

    CliRun Quorvelctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--product", Product(), "--virtual", "102"});
        return Run(args);
    }

    LoopbackServer server_;
    std::vector<int> image_;
    std::string imageBytes_;
};

TEST_F(CliUpdate, FlashSendsStartDataAndEndReports) {
    std::ofstream(Path("image.bin"), std::ios::binary) << imageBytes_;
    const CliRun run = Run({"--virtual", "102", "--json", "firmware", "flash", Path("image.bin")});
    ASSERT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(run.Json(), (json{{"file", Path("image.bin")}, {"flashed", true}, {"bytes", 100}}));

    std::vector<std::string> expected = {UpgradeWrite({0x05, 0x02, 0x02, 0x00, 0x01})};
    for (const std::string& line : FirmwarePackets(image_)) expected.push_back(line);
    expected.push_back(UpgradeWrite({0x05, 0x02, 0x06, 0x00, 0x02}));
    ASSERT_EQ(expected.size(), 5u);  // start, two full packets, one with a single sub-block, end
    EXPECT_EQ(UpgradeLines(TakeTrace()), expected);
    // The user's file stays.
    EXPECT_TRUE(fs::exists(Path("image.bin")));
}

TEST_F(CliUpdate, RefusedImagesNeverReachTheMouse) {
    std::ofstream(Path("empty.bin"), std::ios::binary);
    fs::create_directories(Path("folder.bin"));
    for (const std::string name : {"empty.bin", "folder.bin", "missing.bin"}) {
        // Not even --force sends these.
        const CliRun run = Run({"--virtual", "102", "firmware", "flash", Path(name), "--force"});
        EXPECT_EQ(run.exitCode, 1) << name << "\n" << run;
        EXPECT_NE(run.err.find(Path(name)), std::string::npos) << run;
    }
    EXPECT_TRUE(UpgradeLines(TakeTrace()).empty());
}

TEST_F(CliUpdate, FlashRefusesWhatIsNoImageForThisMouseUnlessForced) {
    std::ofstream(Path("firmware.zip"), std::ios::binary) << std::string("PK\x03\x04", 4) << imageBytes_;
    std::ofstream(Path("profile.xml"), std::ios::binary) << "<?xml version=\"1.0\"?>\r\n<profile/>\r\n";
    // The mouse reports firmware 105; a name of the update flow's form carries the image's version.
    for (const char* name : {"firmware-105.bin", "firmware-104.bin", "firmware-106.bin"})
        std::ofstream(Path(name), std::ios::binary) << imageBytes_;
    struct Case {
        std::string mouse;
        std::string file;
        std::string refusal;  // empty: sent without --force
    };
    const std::vector<Case> cases = {
        {"102", "firmware.zip", "is a ZIP archive (the image is the firmware-VERSION.bin inside"},
        {"102", "profile.xml", "is an XML file, not a firmware image"},
        {"102", "firmware-105.bin", "is firmware 105, not newer than the mouse's 105"},
        {"102", "firmware-104.bin", "is firmware 104, not newer than the mouse's 105"},
        {"103:wireless", "firmware-106.bin", "is connected through its receiver"},
        {"102", "firmware-106.bin", ""},
    };
    for (const Case& c : cases) {
        const CliRun refused = Run({"--virtual", c.mouse, "firmware", "flash", Path(c.file)});
        if (c.refusal.empty()) {
            EXPECT_EQ(refused.exitCode, 0) << refused;
            EXPECT_NE(refused.err.find("quorvelctl: sending '" + Path(c.file) +
                                       "' (100 bytes) to Quorvel R2 "
                                       "(device_type 102), firmware 105"),
                      std::string::npos)
                << refused;
            EXPECT_EQ(UpgradeLines(TakeTrace()).size(), 5u);
            continue;
        }
        EXPECT_EQ(refused.exitCode, 1) << refused;
        EXPECT_NE(refused.err.find(c.refusal), std::string::npos) << refused;
        EXPECT_NE(refused.err.find("nothing was sent; --force sends the file all the same"),
                  std::string::npos);
        EXPECT_TRUE(UpgradeLines(TakeTrace()).empty()) << c.file;

        const CliRun forced = Run({"--virtual", c.mouse, "firmware", "flash", Path(c.file), "--force"});
        EXPECT_EQ(forced.exitCode, 0) << forced;
        EXPECT_NE(forced.err.find("(sent because of --force)"), std::string::npos) << forced;
        EXPECT_FALSE(UpgradeLines(TakeTrace()).empty()) << c.file;
    }
}

TEST_F(CliUpdate, SoftwareCheckTellsWhetherTheServerIsNewer) {
    const std::vector<std::pair<std::string, bool>> cases = {{"1.0.1", true}, {"1.0.0", false}, {"0.9.9", false}};
    for (const auto& [version, newer] : cases) {
        server_.Answer("/software/version", version);
        const CliRun run = Quorvelctl({"--json", "update", "check"});
        ASSERT_EQ(run.exitCode, 0) << run;
        EXPECT_EQ(run.Json(), (json{{"current", "1.0.0"}, {"newest", version}, {"newer", newer}}));
    }
    // No version on the server: the check fails.
    server_.Answer("/software/version", "");
    const CliRun empty = Quorvelctl({"update", "check"});
    EXPECT_EQ(empty.exitCode, 1) << empty;
    EXPECT_TRUE(empty.out.empty());
}

TEST_F(CliUpdate, FirmwareUpdateChecksThenFlashesOnlyANewerImage) {
    // The mouse reports release 0x0105, i.e. firmware "105".
    server_.Answer("/fw/mouse/version", "105");
    const CliRun same = Quorvelctl({"--json", "firmware", "update"});
    ASSERT_EQ(same.exitCode, 0) << same;
    EXPECT_EQ(same.Json()["newer"], false);
    EXPECT_EQ(same.Json()["installed"], false);
    EXPECT_TRUE(UpgradeLines(TakeTrace()).empty());

    server_.Answer("/fw/mouse/version", "106");
    server_.Answer("/fw/mouse/firmware-106.zip", StoredZip({{"firmware-106.bin", imageBytes_}}));
    const CliRun run = Quorvelctl({"--json", "firmware", "update"});
    ASSERT_EQ(run.exitCode, 0) << run;
    const json doc = run.Json();
    EXPECT_EQ(doc["current"], "105");
    EXPECT_EQ(doc["newest"], "106");
    EXPECT_EQ(doc["newer"], true);
    EXPECT_EQ(doc["installed"], true);
    EXPECT_EQ(doc["bytes"], 100);
    const std::vector<std::string> sent = UpgradeLines(TakeTrace());
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[1], FirmwarePackets(image_)[0]);

    // An archive without the image: nothing is sent.
    server_.Answer("/fw/mouse/version", "107");
    server_.Answer("/fw/mouse/firmware-107.zip", StoredZip({{"readme.txt", "no image"}}));
    const CliRun missing = Quorvelctl({"--json", "firmware", "update"});
    EXPECT_EQ(missing.exitCode, 1) << missing;
    EXPECT_TRUE(UpgradeLines(TakeTrace()).empty());
    // The command's own document, with the reason it failed.
    const json failed = missing.Json();
    EXPECT_EQ(failed["installed"], false);
    EXPECT_EQ(failed["error"]["exit"], 1);
    EXPECT_FALSE(failed["error"]["message"].get<std::string>().empty());
}

TEST_F(CliUpdate, SoftwareInstallStartsTheSetUpProgramOfANewerVersion) {
    const std::string marker = Path("installer-ran");
    const std::string script = "#!/bin/sh\necho started > '" + marker + "'\n";
    server_.Answer("/software/version", "1.0.0");
    const CliRun same = Quorvelctl({"--json", "update", "install"});
    ASSERT_EQ(same.exitCode, 0) << same;
    EXPECT_EQ(same.Json()["installed"], false);
    EXPECT_EQ(server_.Hits(), 1);  // the check only

    server_.Answer("/software/version", "1.0.1");
    server_.Answer("/software/Mouse-Setup-1.0.1.zip", StoredZip({{"Mouse-Setup-1.0.1.run", script}}));
    const CliRun run = Quorvelctl({"--json", "update", "install"});
    ASSERT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(run.Json()["installed"], true);
    // The set-up program runs on its own.
    for (int i = 0; i < 100 && !fs::exists(marker); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(fs::exists(marker));
}

// With update keys in the product folder a wrongly signed archive is refused: exit 1, the reason on
// stderr, nothing sent. Without keys the command says the updates are unsigned.
TEST_F(CliUpdate, FirmwareUpdateRefusesAnArchiveWithoutTheMakersSignature) {
    server_.Answer("/fw/mouse/version", "106");
    const CliRun plain = Quorvelctl({"firmware", "check"});
    ASSERT_EQ(plain.exitCode, 0) << plain;
    EXPECT_NE(plain.err.find("updates are not signed"), std::string::npos) << plain;

    const TestSigner maker(1), stranger(2);
    std::ofstream(fs::path(Product()) / "update-keys") << maker.PublicLine() << "\n";
    const std::string archive = StoredZip({{"firmware-106.bin", imageBytes_}});
    server_.Answer("/fw/mouse/version.sig", maker.Sign("106"));
    server_.Answer("/fw/mouse/firmware-106.zip", archive);
    server_.Answer("/fw/mouse/firmware-106.zip.sig", stranger.Sign(archive));
    const CliRun refused = Quorvelctl({"firmware", "update"});
    EXPECT_EQ(refused.exitCode, 1) << refused;
    EXPECT_NE(refused.err.find("The update was refused: its signature is missing or wrong."),
              std::string::npos)
        << refused;
    EXPECT_EQ(refused.err.find("not signed"), std::string::npos) << refused;
    EXPECT_TRUE(UpgradeLines(TakeTrace()).empty());

    server_.Answer("/fw/mouse/firmware-106.zip.sig", maker.Sign(archive));
    const CliRun signedRun = Quorvelctl({"firmware", "update"});
    EXPECT_EQ(signedRun.exitCode, 0) << signedRun;
    EXPECT_EQ(UpgradeLines(TakeTrace()).size(), 5u);
}

}  // namespace
}  // namespace quorvel::test
