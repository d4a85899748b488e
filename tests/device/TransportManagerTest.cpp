// The manager's product table, device list, command target and framed transport against the fake backend.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/HidDeviceManager.h"
#include "device/TransportFake.h"

namespace quorvel {
namespace {

using test::Bytes;
using test::FakeBackend;
using test::FakeInterface;

class TransportTest : public ::testing::Test {
protected:
    TransportTest() {
        auto backend = std::make_unique<FakeBackend>();
        fake = backend.get();
        manager = std::make_unique<HidDeviceManager>(std::move(backend));
        manager->SetSleep([this](int ms) { pauses.push_back(ms); });
    }

    // A record on a fresh fake interface, as discovery would make it.
    HidDeviceRecord* AddRecord(const std::string& path, int deviceType, uint32_t linkMode, int linkState,
                               FakeInterface iface = {}) {
        if (iface.info.path.empty()) iface.info = test::Info(path, 0x1234, 0x5678, 1, 0);
        fake->Add(iface);
        auto r = std::make_unique<HidDeviceRecord>();
        r->path = path;
        r->vendorId = iface.info.vendorId;
        r->productId = iface.info.productId;
        r->handle = fake->Open(path, nullptr);
        r->deviceType = deviceType;
        r->linkMode = linkMode;
        r->linkState = linkState;
        r->deviceId = deviceType ? "AB01" : "";
        return manager->AddRecord(std::move(r));
    }

    // One wired report-family mouse, selected and open.
    HidDeviceRecord* OneMouse(FakeInterface iface) {
        HidDeviceRecord* r = AddRecord(iface.info.path, 101, 0, 1, iface);
        manager->SetSelectedDeviceType(101);
        manager->SetOpen(true);
        return r;
    }

    FakeBackend* fake = nullptr;
    std::unique_ptr<HidDeviceManager> manager;
    std::vector<int> pauses;
};

// ---- checksum ----

TEST(TransportChecksum, CoversBytes5To31Only) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, uint8_t>> bytes;
        uint8_t expected;
    };
    const Case cases[] = {
        {"all zero", {}, 0x00},
        {"one data byte", {{5, 0x12}}, 0x12},
        {"first and last covered byte", {{5, 0x01}, {31, 0x02}}, 0x03},
        {"sum keeps its low 8 bits", {{5, 0xFF}, {6, 0xFF}, {7, 0x03}}, 0x01},
        {"header bytes 0-4 are not covered", {{0, 0x55}, {1, 0x10}, {2, 0x01}, {3, 0x01}, {4, 0x25}}, 0x00},
        {"byte 32 itself is not covered", {{32, 0x77}}, 0x00},
        {"bytes from 33 on are not covered", {{33, 0x40}, {64, 0x01}, {10, 0x05}}, 0x05},
    };
    for (const Case& c : cases) {
        uint8_t buffer[65] = {};
        for (auto [i, v] : c.bytes) buffer[i] = v;
        EXPECT_EQ(HidDeviceManager::Checksum(buffer), c.expected) << c.name;
    }
}

TEST_F(TransportTest, TransactWritesTheChecksumAndTheWholeLength) {
    OneMouse(test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01"));
    for (size_t length : {size_t{33}, size_t{65}}) {
        fake->ClearOps();
        uint8_t buffer[65] = {};
        buffer[1] = 0x02;
        buffer[3] = 0x01;
        buffer[4] = 0x01;
        buffer[5] = 0xF0;
        buffer[31] = 0x20;
        ASSERT_TRUE(manager->Transact(buffer, length)) << length;
        auto ops = fake->Ops();
        ASSERT_GE(ops.size(), 1u);
        EXPECT_EQ(ops[0].op, "write");
        ASSERT_EQ(ops[0].bytes.size(), length);
        EXPECT_EQ(ops[0].bytes[32], 0x10) << "0xF0 + 0x20, low byte, for length " << length;
    }
}

// ---- Transact: the polled reply ----

TEST_F(TransportTest, TransactRereadsUntilTheStatusByteIsZero) {
    FakeInterface iface;
    iface.info = test::Info("/dev/m", 0x1234, 0x5678, 1, 0);
    iface.onWrite = [](const Bytes&) {
        Bytes busy(32, 0), done(32, 0);
        busy[0] = 0x12, busy[1] = 0x01, busy[4] = 0xEE;  // carries data, but not complete
        done[0] = 0x12, done[1] = 0x00, done[4] = 0x03;
        return std::vector<Bytes>{busy, busy, done};
    };
    OneMouse(iface);
    uint8_t buffer[65] = {0x00, 0x12};
    ASSERT_TRUE(manager->Transact(buffer, 33));
    EXPECT_EQ(buffer[0], 0x12);
    EXPECT_EQ(buffer[1], 0x00);
    EXPECT_EQ(buffer[4], 0x03) << "the reply replaces the buffer, one place lower than on the wire";
    EXPECT_EQ(fake->Reads(), 3);
}

TEST_F(TransportTest, TransactFailsAfterFiftyReadsWithoutACompleteReply) {
    struct Case {
        const char* name;
        bool busyReplies;
        uint8_t expectedByte1;  // what the caller sees afterwards in index 1
    };
    // With only busy replies the caller sees the last one; with no reply at all its request (with checksum).
    const Case cases[] = {{"status never zero", true, 0x01}, {"no reply", false, 0x12}};
    for (const Case& c : cases) {
        FakeInterface iface;
        iface.info = test::Info(std::string("/dev/") + c.name, 0x1234, 0x5678, 1, 0);
        bool busy = c.busyReplies;
        iface.onWrite = [busy](const Bytes&) {
            std::vector<Bytes> replies;
            if (busy) {
                for (int i = 0; i < 60; ++i) replies.push_back(Bytes{0x12, 0x01, 0x00, 0x00, 0x09});
            }
            return replies;
        };
        manager->SetOpen(true);
        manager->CloseAll();
        OneMouse(iface);
        int readsBefore = fake->Reads();
        uint8_t buffer[65] = {0x00, 0x12};
        buffer[5] = 0x07;
        EXPECT_FALSE(manager->Transact(buffer, 33)) << c.name;
        EXPECT_EQ(fake->Reads() - readsBefore, 50) << c.name;
        EXPECT_EQ(buffer[1], c.expectedByte1) << c.name;
        if (!c.busyReplies) {
            EXPECT_EQ(buffer[32], 0x07) << "the request keeps its checksum";
        }
    }
}

// Only a report that echoes the command answers it. What else comes in meanwhile is kept for the
// notification poll, in order, and the wait goes on within the same 50 reads.
TEST_F(TransportTest, TransactTakesOnlyTheReplyThatEchoesItsCommand) {
    const Bytes linkLost = {0xC0, 0x00, 0x00, 0x00};
    const Bytes dpi = {0xC2, 0x31};
    const Bytes stale = {0x02, 0x00, 0x00, 0x00, 0x55};  // the late reply of an earlier write
    const Bytes reply = {0x12, 0x00, 0x00, 0x00, 0x08};
    struct Case {
        const char* name;
        std::vector<Bytes> before;  // arriving ahead of the reply
        bool replied;               // the real reply follows
        bool ok;
        int reads;
    };
    const Case cases[] = {
        {"link report first", {linkLost}, true, true, 2},
        {"stale reply first", {stale}, true, true, 2},
        {"link report, DPI report and a stale reply", {linkLost, dpi, stale}, true, true, 4},
        {"only reports that are not the reply", {linkLost, stale}, false, false, 50},
        {"fifty of them use up the wait", std::vector<Bytes>(50, dpi), true, false, 50},
    };
    for (const Case& c : cases) {
        FakeInterface iface;
        iface.info = test::Info(std::string("/dev/") + c.name, 0x1234, 0x5678, 1, 0);
        iface.onWrite = [&c, &reply](const Bytes&) {
            std::vector<Bytes> in = c.before;
            if (c.replied) in.push_back(reply);
            return in;
        };
        manager->SetOpen(true);
        manager->CloseAll();
        HidDeviceRecord* r = OneMouse(iface);
        const int readsBefore = fake->Reads();
        uint8_t buffer[65] = {0x00, 0x12};
        DeviceError error = DeviceError::None;
        EXPECT_EQ(manager->Transact(buffer, 33, &error), c.ok) << c.name;
        EXPECT_EQ(fake->Reads() - readsBefore, c.reads) << c.name;
        if (c.ok) {
            EXPECT_EQ(buffer[0], 0x12) << c.name;
            EXPECT_EQ(buffer[4], 0x08) << c.name << ": the reply's data, not another report's";
        } else {
            EXPECT_EQ(error, DeviceError::NoReply) << c.name << ": nothing was refused";
        }
        // What was not the reply reaches the notification poll, oldest first (at most 32 are kept).
        const size_t kept = std::min<size_t>(c.before.size(), 32);
        for (size_t i = c.before.size() - kept; i < c.before.size(); ++i) {
            uint8_t report[65] = {};
            const int n = manager->TakeUnsolicited(r->handle, report, sizeof report);
            ASSERT_EQ(n, static_cast<int>(c.before[i].size())) << c.name << " #" << i;
            EXPECT_EQ(Bytes(report, report + n), c.before[i]) << c.name << " #" << i;
        }
        uint8_t report[65] = {};
        EXPECT_EQ(manager->TakeUnsolicited(r->handle, report, sizeof report), 0) << c.name;
    }
}

TEST_F(TransportTest, InfoRequestTakesOnlyItsOwnReply) {
    FakeInterface iface = test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01");
    const auto answer = iface.onWrite;
    iface.onWrite = [answer](const Bytes& written) {
        std::vector<Bytes> in = {Bytes{0xC0, 0x01, 0x50, 0x01}};
        for (const Bytes& b : answer(written)) in.push_back(b);
        return in;
    };
    fake->Add(iface);
    HidHandle* h = fake->Open("/dev/m", nullptr);
    uint8_t info[65] = {};
    ASSERT_TRUE(manager->ReadInfoByReport(info, h));
    EXPECT_EQ(std::string(info + 4, info + 8), "AB01");
    uint8_t report[65] = {};
    EXPECT_EQ(manager->TakeUnsolicited(h, report, sizeof report), 4);
    EXPECT_EQ(report[0], 0xC0);
    fake->Close(h);
}

TEST_F(TransportTest, TransactDoesNothingWithoutAnOpenTarget) {
    struct Case {
        const char* name;
        bool open;
        int selected;
        size_t length;
    };
    const Case cases[] = {
        {"open flag clear", false, 101, 33},
        {"nothing selected", true, 0, 33},
        {"another model selected", true, 102, 33},
        {"too short for the checksum byte", true, 101, 32},
        {"longer than a report buffer", true, 101, 66},
    };
    AddRecord("/dev/m", 101, 0, 1, test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01"));
    for (const Case& c : cases) {
        manager->SetOpen(c.open);
        manager->SetSelectedDeviceType(c.selected);
        manager->ClearCurrent();
        fake->ClearOps();
        uint8_t buffer[80] = {0x00, 0x12};
        buffer[5] = 0x33;
        EXPECT_FALSE(manager->Transact(buffer, c.length)) << c.name;
        if (c.length == 33) {
            EXPECT_FALSE(manager->SendFeature(buffer)) << c.name;
        }
        EXPECT_TRUE(fake->Ops().empty()) << c.name;
        EXPECT_EQ(buffer[32], 0x00) << c.name << ": the buffer is untouched";
    }
}

TEST_F(TransportTest, TransactFailsAtOnceWhenTheWriteFails) {
    FakeInterface iface = test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01");
    iface.writeResult = -1;
    OneMouse(iface);
    uint8_t buffer[65] = {0x00, 0x12};
    EXPECT_FALSE(manager->Transact(buffer, 33));
    EXPECT_EQ(fake->Reads(), 0);
    EXPECT_EQ(buffer[1], 0x12) << "the caller keeps its request";
}

TEST_F(TransportTest, UnplugDuringTransactReturnsFalse) {
    OneMouse(test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01"));
    // The write goes out, then the mouse is gone before its reply is read.
    fake->SetBeforeOp([this](const std::string& op) {
        if (op == "read") fake->UnplugAll();
    });
    uint8_t buffer[65] = {0x00, 0x12};
    EXPECT_FALSE(manager->Transact(buffer, 33));
    fake->SetBeforeOp(nullptr);
    EXPECT_FALSE(manager->Transact(buffer, 33)) << "later requests fail at the write";
    EXPECT_FALSE(manager->SendFeature(buffer));
    manager->CloseAll();
    EXPECT_EQ(fake->OpenHandles(), 0);
}

// ---- SendFeature ----

TEST_F(TransportTest, SendFeatureSendsExactly33BytesWithoutChecksum) {
    FakeInterface iface = test::FeatureMouse("/dev/v", 0x1234, 0x5678, "FE01");
    AddRecord("/dev/v", 301, 0, 1, iface);
    manager->SetSelectedDeviceType(301);
    manager->SetOpen(true);
    uint8_t buffer[65] = {0x0C, 0x01, 0x05, 0x00, 0x07, 0x01, 0x12, 0x35};
    buffer[40] = 0x99;  // beyond the report: must not travel
    ASSERT_TRUE(manager->SendFeature(buffer));
    auto ops = fake->Ops();
    ASSERT_EQ(ops.size(), 1u);
    Bytes expected(buffer, buffer + 33);
    EXPECT_EQ(ops[0].bytes, expected);

    fake->Unplug("/dev/v");
    EXPECT_FALSE(manager->SendFeature(buffer)) << "a refused report is a failure";
}

// ---- the info requests ----

TEST_F(TransportTest, ReadInfoByReportSendsCommand0x10AndKeepsTheReply) {
    FakeInterface iface = test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01", 3, 90);
    fake->Add(iface);
    HidHandle* h = fake->Open("/dev/m", nullptr);
    uint8_t info[65];
    std::memset(info, 0xAA, sizeof info);
    ASSERT_TRUE(manager->ReadInfoByReport(info, h));
    auto ops = fake->Ops();
    ASSERT_GE(ops.size(), 1u);
    Bytes request(33, 0);
    request[1] = 0x10;
    EXPECT_EQ(ops[0].bytes, request);
    EXPECT_EQ(std::string(info + 4, info + 8), "AB01");
    EXPECT_EQ(info[12], 3);
    EXPECT_EQ(info[13], 90);
    EXPECT_EQ(info[40], 0) << "the buffer is zero-filled first";
    fake->Close(h);
}

TEST_F(TransportTest, ReadInfoByReportGivesUpAfterTenReads) {
    FakeInterface iface;
    iface.info = test::Info("/dev/m", 0x1234, 0x5678, 1, 0);
    iface.onWrite = [](const Bytes&) {
        return std::vector<Bytes>(20, Bytes{0x10, 0x02});  // busy forever
    };
    fake->Add(iface);
    HidHandle* h = fake->Open("/dev/m", nullptr);
    uint8_t info[65] = {};
    EXPECT_FALSE(manager->ReadInfoByReport(info, h));
    EXPECT_EQ(fake->Reads(), 10);
    fake->Close(h);
}

TEST_F(TransportTest, ReadInfoByFeatureSequenceWrapsAfter254) {
    fake->Add(test::FeatureMouse("/dev/v", 0x1234, 0x5678, "FE01"));
    HidHandle* h = fake->Open("/dev/v", nullptr);
    manager->SetSequenceCounter(254);
    uint8_t info[65] = {};
    ASSERT_TRUE(manager->ReadInfoByFeature(info, h));
    auto ops = fake->Ops();
    ASSERT_EQ(ops.size(), 2u);
    Bytes send(33, 0), get(33, 0);
    send[0] = get[0] = 0x0C;
    send[1] = get[1] = 0x01;
    send[2] = get[2] = 0x20;
    send[4] = 254;
    get[4] = 0;
    EXPECT_EQ(ops[0].op, "send_feature");
    EXPECT_EQ(ops[0].bytes, send);
    EXPECT_EQ(ops[1].op, "get_feature");
    EXPECT_EQ(ops[1].bytes, get);
    EXPECT_EQ(manager->SequenceCounter(), 256) << "the counter keeps counting";
    EXPECT_EQ(pauses, std::vector<int>{16});
    EXPECT_EQ(std::string(info + 8, info + 12), "FE01");
    fake->Close(h);
}

TEST_F(TransportTest, ReadInfoByFeatureTriesTwiceForANonZeroByte8) {
    struct Case {
        const char* name;
        std::vector<int> answers;  // per get-feature: -1 fails, 0 answers with byte 8 = 0, 1 answers properly
        bool expected;
        size_t getFeatures;
    };
    const Case cases[] = {
        {"first answer counts", {1}, true, 1},
        {"empty id, then an answer", {0, 1}, true, 2},
        {"failed request, then an answer", {-1, 1}, true, 2},
        {"two empty answers", {0, 0, 1}, false, 2},
    };
    for (const Case& c : cases) {
        auto answers = std::make_shared<std::vector<int>>(c.answers);
        FakeInterface iface;
        iface.info = test::Info(std::string("/dev/") + c.name, 0x1234, 0x5678, 0xFF00, 1);
        iface.onGetFeature = [answers](uint8_t* data, size_t length) {
            int a = answers->front();
            answers->erase(answers->begin());
            if (a < 0) return -1;
            if (a > 0) data[8] = 'F';
            return static_cast<int>(length);
        };
        fake->Add(iface);
        HidHandle* h = fake->Open(iface.info.path, nullptr);
        fake->ClearOps();
        uint8_t info[65] = {};
        EXPECT_EQ(manager->ReadInfoByFeature(info, h), c.expected) << c.name;
        size_t gets = 0;
        for (const auto& op : fake->Ops()) gets += op.op == "get_feature";
        EXPECT_EQ(gets, c.getFeatures) << c.name;
        fake->Close(h);
    }
}

TEST_F(TransportTest, ReadInfoWithoutHandleCopiesTheCurrentRecord) {
    uint8_t info[65] = {};
    EXPECT_FALSE(manager->ReadInfoByReport(info, nullptr)) << "no current record";
    HidDeviceRecord* r = OneMouse(test::ReportMouse("/dev/m", 0x1234, 0x5678, "AB01"));
    r->info[4] = 'Z';
    r->info[64] = 0x42;
    ASSERT_TRUE(manager->ReadInfoByReport(info, nullptr));
    EXPECT_EQ(info[4], 'Z');
    EXPECT_EQ(info[64], 0x42);
    std::memset(info, 0, sizeof info);
    ASSERT_TRUE(manager->ReadInfoByFeature(info, nullptr));
    EXPECT_EQ(info[64], 0x42);
    EXPECT_TRUE(fake->Ops().empty());
}

// ---- product table ----

TEST_F(TransportTest, ProductTableLookups) {
    manager->AddProduct(0x1234, 0x5678, 101, 1, "AB01");
    manager->AddProduct(0x1234, 0x5678, 102, 0, "ab02");
    manager->AddProduct(0x1234, 0x5678, 103, 1, "AB0");  // too short to take part
    manager->AddProduct(0x1234, 0x0ABC, 301, 0, "");
    EXPECT_EQ(manager->IsKnownProduct(0x1234, 0x5678), 1);
    EXPECT_EQ(manager->IsKnownProduct(0x1234, 0x9999), 0);
    EXPECT_EQ(manager->DeviceTypeOf(0x1234, 0x5678), 101) << "first entry with the pair";
    EXPECT_EQ(manager->LinkModeOf(0x1234, 0x5678), 1);
    EXPECT_EQ(manager->DeviceTypeOf(0x1234, 0x0ABC), 301);
    EXPECT_EQ(manager->DeviceTypeOf(0x9999, 0x5678), 0);

    struct Case {
        int vid, pid;
        const char* id;
        int expected;
    };
    const Case cases[] = {
        {0x1234, 0x5678, "AB01", 101},
        {0x1234, 0x5678, "AB02", 102},  // case-insensitive
        {0x1234, 0x5678, "Ab01", 101},
        {0x1234, 0x5678, "AB0", 0},     // the short entry never matches
        {0x1234, 0x5678, "AB03", 0},
        {0x1234, 0x0ABC, "", 0},        // empty configured id
        {0x1234, 0x9999, "AB01", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(manager->DeviceTypeById(c.vid, c.pid, c.id), c.expected) << c.id;

    manager->ClearProducts();
    EXPECT_EQ(manager->IsKnownProduct(0x1234, 0x5678), 0);
}

// ---- device list and command target ----

TEST_F(TransportTest, CurrentHandlePrefersTheCableAndOnlyAnOnlineReceiver) {
    struct Rec {
        int type;
        uint32_t mode;
        int state;
    };
    struct Case {
        const char* name;
        std::vector<Rec> records;
        int expectedIndex;  // -1: none
        int linkKind;
    };
    const Case cases[] = {
        {"wired wins over an online wireless one", {{101, 1, 1}, {101, 0, 1}}, 1, 0},
        {"wired wins even when its link state is 0", {{101, 1, 1}, {101, 0, 0}}, 1, 0},
        {"online wireless alone", {{101, 1, 1}}, 0, 1},
        {"wireless never connected", {{101, 1, 0}}, -1, 1},
        {"wireless reported disconnected", {{101, 1, 2}}, -1, 1},
        {"the first wireless one decides", {{101, 1, 2}, {101, 1, 1}}, -1, 1},
        {"other models only", {{102, 0, 1}}, -1, -1},
        {"unidentified records never receive commands", {{0, 0, 1}}, -1, -1},
    };
    for (const Case& c : cases) {
        manager->SetOpen(true);
        manager->CloseAll();
        std::vector<HidDeviceRecord*> records;
        for (size_t i = 0; i < c.records.size(); ++i) {
            records.push_back(AddRecord(std::string(c.name) + std::to_string(i), c.records[i].type,
                                        c.records[i].mode, c.records[i].state));
        }
        manager->SetOpen(true);
        manager->SetSelectedDeviceType(c.records[0].type == 0 ? 0 : 101);
        manager->ClearCurrent();
        HidHandle* expected = c.expectedIndex < 0 ? nullptr : records[c.expectedIndex]->handle;
        EXPECT_EQ(manager->CurrentHandle(), expected) << c.name;
        EXPECT_EQ(manager->CurrentLinkKind(), c.linkKind) << c.name;
        uint16_t vid = 0, pid = 0;
        EXPECT_EQ(manager->GetCurrentIds(&vid, &pid), expected != nullptr) << c.name;
        uint8_t buffer[65] = {0x0C};
        if (!expected) {
            EXPECT_FALSE(manager->Transact(buffer, 33)) << c.name;
            EXPECT_FALSE(manager->SendFeature(buffer)) << c.name;
        }
    }
}

TEST_F(TransportTest, CurrentHandleIsCachedUntilCleared) {
    HidDeviceRecord* wireless = AddRecord("/dev/w", 101, 1, 1);
    manager->SetSelectedDeviceType(101);
    EXPECT_EQ(manager->CurrentHandle(), wireless->handle);
    HidDeviceRecord* wired = AddRecord("/dev/c", 101, 0, 1);
    EXPECT_EQ(manager->CurrentHandle(), wireless->handle) << "cached";
    manager->ClearCurrent();
    EXPECT_EQ(manager->CurrentHandle(), wired->handle);
}

TEST_F(TransportTest, CloseAllOnlyWhenOpen) {
    AddRecord("/dev/a", 101, 0, 1);
    fake->Add(test::Plain(test::Info("/dev/n", 1, 2, 1, 0)));
    manager->SetNotifyHandle(fake->Open("/dev/n", nullptr));
    manager->CloseAll();
    EXPECT_EQ(manager->RecordCount(), 1u) << "open flag clear: the records stay";
    EXPECT_EQ(fake->OpenHandles(), 2);

    manager->SetOpen(true);
    manager->CloseAll();
    EXPECT_EQ(manager->RecordCount(), 0u);
    EXPECT_EQ(manager->NotifyHandle(), nullptr);
    EXPECT_EQ(fake->OpenHandles(), 0) << "record and notify handles closed";
    EXPECT_FALSE(manager->IsOpen());
}

TEST(TransportLifetime, DestroyingTheManagerClosesEverything) {
    for (bool open : {false, true}) {
        int leftOpen = -1;
        {
            auto backend = std::make_unique<FakeBackend>();
            FakeBackend* fake = backend.get();
            fake->ReportOpenAtExit(&leftOpen);
            for (const char* path : {"/dev/r", "/dev/n", "/dev/u"}) {
                fake->Add(test::Plain(test::Info(path, 0x1234, 0x5678, 0xFFEF, 0)));
            }
            HidDeviceManager manager(std::move(backend));
            auto record = std::make_unique<HidDeviceRecord>();
            record->handle = fake->Open("/dev/r", nullptr);
            manager.AddRecord(std::move(record));
            manager.SetNotifyHandle(fake->Open("/dev/n", nullptr));
            ASSERT_NE(manager.OpenUpgradeInterface(0x1234, 0x5678), nullptr);
            manager.SetOpen(open);
        }
        EXPECT_EQ(leftOpen, 0) << "open flag " << open;
    }
}

TEST_F(TransportTest, CollectionsAndLinkStates) {
    HidDeviceRecord* a = AddRecord("/dev/a", 101, 0, 1);
    HidDeviceRecord* b = AddRecord("/dev/b", 101, 1, 0);
    HidDeviceRecord* c = AddRecord("/dev/c", 102, 1, 1);
    a->release = 0x0110;
    b->release = 0x0220;
    EXPECT_EQ(b->index, 1);

    std::vector<HidDeviceRecord*> out;
    ASSERT_TRUE(manager->CollectDevices(&out));
    EXPECT_EQ(out.size(), 3u) << "nothing selected: all records";
    manager->SetSelectedDeviceType(101);
    out.clear();
    ASSERT_TRUE(manager->CollectDevices(&out));
    EXPECT_EQ(out, (std::vector<HidDeviceRecord*>{a, b}));
    out.clear();
    ASSERT_TRUE(manager->CollectOnlineSelected(&out));
    EXPECT_EQ(out, std::vector<HidDeviceRecord*>{a});

    EXPECT_TRUE(manager->HasOnlineDevice(101));
    EXPECT_TRUE(manager->HasOnlineDevice(102));
    EXPECT_FALSE(manager->HasOnlineDevice(103));
    manager->SetLinkState(102, 1, 2);
    EXPECT_EQ(c->linkState, 2);
    EXPECT_TRUE(manager->HasOnlineDevice(102)) << "state 2 is above 0";
    manager->SetLinkState(102, 1, 0);
    EXPECT_FALSE(manager->HasOnlineDevice(102));
    manager->SetLinkState(101, 1, 1);
    EXPECT_EQ(a->linkState, 1);
    EXPECT_EQ(b->linkState, 1) << "only the wireless record of 101 changed";
    manager->UpdateRecord(c, [](HidDeviceRecord& r) {
        r.deviceId.clear();
        r.linkState = 1;
    });
    EXPECT_FALSE(manager->HasOnlineDevice(102)) << "no device id";

    uint32_t release = 0;
    EXPECT_FALSE(manager->ReleaseForLinkMode(&release, 1)) << "needs the open flag";
    manager->SetOpen(true);
    ASSERT_TRUE(manager->ReleaseForLinkMode(&release, 1));
    EXPECT_EQ(release, 0x0220u);
    ASSERT_TRUE(manager->ReleaseForLinkMode(&release, 0));
    EXPECT_EQ(release, 0x0110u);

    manager->CloseAll();
    out.clear();
    EXPECT_FALSE(manager->CollectDevices(&out));
    EXPECT_FALSE(manager->CollectOnlineSelected(&out));
}

// ---- firmware channel ----

TEST_F(TransportTest, OpenUpgradeInterfaceTakesTheFirstOpenableFFEFInterface) {
    FakeInterface locked = test::Plain(test::Info("/dev/u0", 0x1234, 0x5678, 0xFFEF, 0));
    locked.openError = HidOpenError::Permission;
    fake->Add(test::Plain(test::Info("/dev/other", 0x1234, 0x9999, 0xFFEF, 0)));
    fake->Add(test::Plain(test::Info("/dev/mouse", 0x1234, 0x5678, 0x0001, 0)));
    fake->Add(locked);
    fake->Add(test::Plain(test::Info("/dev/u1", 0x1234, 0x5678, 0xFFEF, 0)));
    HidHandle* h = manager->OpenUpgradeInterface(0x1234, 0x5678);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(manager->UpgradeHandle(), h);
    EXPECT_EQ(fake->Opened(), std::vector<std::string>{"/dev/u1"});
    HidHandle* again = manager->OpenUpgradeInterface(0x1234, 0x5678);
    EXPECT_EQ(fake->OpenHandles(), 1) << "the previous upgrade handle is closed";
    EXPECT_EQ(manager->UpgradeHandle(), again);
    EXPECT_EQ(manager->OpenUpgradeInterface(0x1234, 0x7777), nullptr);
    EXPECT_EQ(manager->UpgradeHandle(), nullptr);
}

TEST(TransportUpgrade, UpgradeWriteFallsBackToReadingAnAnswer) {
    uint8_t packet[64];
    std::memset(packet, 0xFF, sizeof packet);
    packet[0] = 0x05;

    struct Case {
        const char* name;
        int writeResult;
        bool answer;
        bool expected;
        std::vector<int> pauses;
    };
    const Case cases[] = {
        {"write accepted", 0, false, true, {}},
        {"write refused, answer read", -1, true, true, {3, 5}},
        {"write refused, no answer", -1, false, false, {3, 5}},
    };
    for (const Case& c : cases) {
        auto backend = std::make_unique<FakeBackend>();
        FakeBackend* fake = backend.get();
        HidDeviceManager manager(std::move(backend));
        std::vector<int> pauses;
        manager.SetSleep([&](int ms) { pauses.push_back(ms); });
        EXPECT_FALSE(manager.UpgradeWrite(packet)) << "no upgrade handle";

        FakeInterface up = test::Plain(test::Info("/dev/up", 0x1234, 0x5678, 0xFFEF, 0));
        up.writeResult = c.writeResult;
        fake->Add(up);
        ASSERT_NE(manager.OpenUpgradeInterface(0x1234, 0x5678), nullptr) << c.name;
        if (c.answer) fake->QueueInput("/dev/up", Bytes{0x05, 0x02});
        EXPECT_EQ(manager.UpgradeWrite(packet), c.expected) << c.name;
        EXPECT_EQ(pauses, c.pauses) << c.name;
        size_t writes = 0;
        for (const auto& op : fake->Ops()) {
            if (op.op != "write") continue;
            ++writes;
            EXPECT_EQ(op.bytes, Bytes(packet, packet + 64)) << c.name;
        }
        EXPECT_EQ(writes, c.writeResult < 0 ? 2u : 1u) << c.name;
    }
}

// ---- threads ----

TEST_F(TransportTest, QueriesFromAnotherThreadWhileTheListIsRebuilt) {
    std::atomic<bool> stop{false};
    std::thread ui([&] {
        while (!stop.load()) {
            manager->HasOnlineDevice(101);
            manager->CurrentLinkKind();
            manager->Snapshot();
        }
    });
    for (int pass = 0; pass < 200; ++pass) {
        manager->SetOpen(true);
        manager->CloseAll();
        AddRecord("/dev/r" + std::to_string(pass), 101, pass % 2, 1);
        manager->SetSelectedDeviceType(101);
        manager->SetLinkState(101, 1, pass % 3);
    }
    stop.store(true);
    ui.join();
    EXPECT_EQ(manager->RecordCount(), 1u);
}

}  // namespace
}  // namespace quorvel
