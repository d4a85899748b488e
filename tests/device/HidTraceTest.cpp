// The HID trace: its line format byte for byte, whole lines from several threads, and the file it needs.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "device/HidDeviceManager.h"
#include "device/HidTrace.h"
#include "device/TransportFake.h"

namespace quorvel {
namespace {

using test::Bytes;

class HidTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("quorvel-hidtrace-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        file = (dir / "hid.trace").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Contents() const {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::filesystem::path dir;
    std::string file;
};

TEST(HidTraceLineTest, Format) {
    const uint8_t bytes[] = {0x00, 0x10, 0xAB, 0x0F};
    struct Case {
        const char* op;
        uint16_t page, usage;
        size_t length;
        const char* expected;
    };
    const Case cases[] = {
        {"write", 0x0001, 0x0000, 4, "write 0001:0000 00 10 AB 0F"},
        {"get_feature", 0xFF00, 0x0001, 2, "get_feature FF00:0001 00 10"},
        {"read", 0xffef, 0x00ab, 1, "read FFEF:00AB 00"},
        {"send_feature", 0, 0, 0, "send_feature 0000:0000"},
    };
    for (const Case& c : cases) EXPECT_EQ(HidTraceLine(c.op, c.page, c.usage, bytes, c.length), c.expected);
}

TEST_F(HidTraceTest, EveryTransferOfATransactionAndAFeatureRequest) {
    auto fake = std::make_unique<test::FakeBackend>();
    test::FakeBackend* raw = fake.get();
    raw->Add(test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01"));
    raw->Add(test::FeatureMouse("/dev/v", 0x1234, 0x5678, "FE01"));
    std::string error;
    auto traced = HidTrace::Create(std::move(fake), file, &error);
    ASSERT_TRUE(traced) << error;
    HidDeviceManager manager(std::move(traced));
    manager.SetSleep([](int) {});

    auto record = std::make_unique<HidDeviceRecord>();
    record->handle = manager.Backend()->Open("/dev/m");
    record->deviceType = 101;
    manager.AddRecord(std::move(record));
    manager.SetSelectedDeviceType(101);
    manager.SetOpen(true);
    raw->QueueInput("/dev/m", Bytes{0x77});  // a stray one-byte report pending before the request
    uint8_t request[65] = {0x00, 0x12};
    request[5] = 0x01;
    ASSERT_TRUE(manager.Transact(request, 33));

    HidHandle* vendor = manager.Backend()->Open("/dev/v");
    manager.SetSequenceCounter(3);
    uint8_t info[65];
    ASSERT_TRUE(manager.ReadInfoByFeature(info, vendor));
    manager.Backend()->Close(vendor);

    auto zeros = [](int n) {
        std::string z;
        for (int i = 0; i < n; ++i) z += " 00";
        return z;
    };
    const std::string expected =
        "read 0001:0000 77\n"  // read before the request
        "write 0001:0000 00 12 00 00 00 01" +
        zeros(26) +
        " 01\n"  // checksum in byte 32
        "read 0001:0000 12 00" +
        zeros(30) +
        "\n"  // 32 bytes, no report ID
        "send_feature FF00:0001 0C 01 20 00 03" +
        zeros(28) +
        "\n"  // sequence 3
        "get_feature FF00:0001 0C 01 20 00 04 00 00 00 46 45 30 31" +
        zeros(6) +                          // sequence 4, "FE01"
        " 37 02 00 01" + zeros(11) + "\n";  // battery, link flag
    EXPECT_EQ(Contents(), expected);
}

TEST_F(HidTraceTest, NothingForReadsWithoutDataOrFailedFeatures) {
    auto fake = std::make_unique<test::FakeBackend>();
    fake->Add(test::Plain(test::Info("/dev/q", 1, 2, 0x0001, 0x0000)));
    auto traced = HidTrace::Create(std::move(fake), file, nullptr);
    ASSERT_TRUE(traced);
    HidHandle* h = traced->Open("/dev/q");
    uint8_t buffer[33] = {0x0C};
    EXPECT_EQ(traced->ReadTimeout(h, buffer, 33, 0), 0);
    EXPECT_EQ(traced->GetFeature(h, buffer, 33), -1);
    traced->Close(h);
    EXPECT_EQ(Contents(), "");
}

TEST_F(HidTraceTest, AppendsAndKeepsLinesWholeAcrossThreads) {
    {
        std::ofstream earlier(file);
        earlier << "earlier session\n";
    }
    auto fake = std::make_unique<test::FakeBackend>();
    fake->Add(test::Plain(test::Info("/dev/a", 1, 2, 0x0001, 0x0000)));
    fake->Add(test::Plain(test::Info("/dev/b", 1, 2, 0xFF00, 0x0001)));
    auto traced = HidTrace::Create(std::move(fake), file, nullptr);
    ASSERT_TRUE(traced);
    HidHandle* a = traced->Open("/dev/a");
    HidHandle* b = traced->Open("/dev/b");
    uint8_t bytes[65];
    for (int i = 0; i < 65; ++i) bytes[i] = static_cast<uint8_t>(i);
    auto writer = [&](HidHandle* h, bool feature) {
        for (int i = 0; i < 300; ++i) {
            if (feature) {
                traced->SendFeature(h, bytes, 33);
            } else {
                traced->Write(h, bytes, 65);
            }
        }
    };
    std::thread t1(writer, a, false), t2(writer, b, true);
    t1.join();
    t2.join();
    traced->Close(a);
    traced->Close(b);

    std::istringstream lines(Contents());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "earlier session");
    // "<prefix>" followed by n groups " XX" of upper-case hex digits, nothing else.
    auto shaped = [](const std::string& line, const std::string& prefix, size_t n) {
        if (line.rfind(prefix, 0) != 0 || line.size() != prefix.size() + 3 * n) return false;
        for (size_t i = prefix.size(); i < line.size(); i += 3) {
            auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
            if (line[i] != ' ' || !hex(line[i + 1]) || !hex(line[i + 2])) return false;
        }
        return true;
    };
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_TRUE(shaped(line, "write 0001:0000", 65) || shaped(line, "send_feature FF00:0001", 33))
            << line;
    }
    EXPECT_EQ(count, 600);
}

TEST_F(HidTraceTest, CreateFailsOnAFileThatCannotBeWritten) {
    std::string error;
    auto traced =
        HidTrace::Create(std::make_unique<test::FakeBackend>(), (dir / "missing" / "x").string(), &error);
    EXPECT_FALSE(traced);
    EXPECT_NE(error.find("missing"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
