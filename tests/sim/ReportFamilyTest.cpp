#include <functional>

#include <gtest/gtest.h>

#include "SimTestUtil.h"

namespace quorvel {
namespace {

using simtest::Bytes;
using simtest::Request;

class ReportFamily : public ::testing::Test {
protected:
    void Plug(const std::string& spec) {
        backend_ = simtest::MakeBackend(spec);
        mouse_ = &backend_->Mouse(0);
        handle_ = backend_->Open(mouse_->PathOf(SimInterface::Mouse));
        ASSERT_NE(handle_, nullptr);
    }
    void SetUp() override { Plug("101"); }

    // Writes the request and returns the reply as hidapi delivers it (no report ID), empty when none came.
    Bytes Send(const Bytes& request) {
        EXPECT_EQ(backend_->Write(handle_, request.data(), request.size()), static_cast<int>(request.size()));
        return Read();
    }
    Bytes Read() {
        uint8_t buffer[65] = {};
        const int count = backend_->ReadTimeout(handle_, buffer, sizeof buffer, 30);
        return Bytes(buffer, buffer + std::max(count, 0));
    }
    // Reply data from report byte 5 on.
    Bytes ReadBack(uint8_t command, size_t count) {
        Bytes reply = Send(Request({0x00, command}));
        if (reply.size() < 4 + count) return {};
        return Bytes(reply.begin() + 4, reply.begin() + 4 + static_cast<long>(count));
    }
    void ExpectNoIssues() { EXPECT_TRUE(mouse_->Issues().empty()) << simtest::IssueText(mouse_->Issues()); }

    std::unique_ptr<VirtualBackend> backend_;
    VirtualMouse* mouse_ = nullptr;
    HidHandle* handle_ = nullptr;
};

TEST_F(ReportFamily, InfoRequestIsAnsweredWithTheInfoBlock) {
    Bytes request = {0x00, 0x10};
    request.resize(33, 0);  // every data byte is 0, so is the checksum
    Bytes expected = {0x10, 0x00, 0x00, 0x00, 'A', '1', '0', '1', 0x05, 0x01, 149, 0x40, 0x00, 80, 0x01};
    expected.resize(32, 0);
    EXPECT_EQ(Send(request), expected);
    ExpectNoIssues();
}

TEST_F(ReportFamily, FactoryMemoryReadsBack) {
    const struct {
        uint8_t command;
        Bytes data;
    } cases[] = {
        {0x12, {0x01}},
        {0x13, {0x15, 0x0F, 0x00, 0x0F, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x2F, 0x00, 0x2F, 0x00, 0x3F, 0x00, 0x3F, 0x00,
                0x7F, 0x00, 0x7F, 0x00, 0x07, 0x02, 0x07, 0x02, 0x00, 0x00}},
        {0x14, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0xFF}},
        {0x15, {0x02, 0x22}},
        {0x16, {0x01, 0x00, 0x01}},
        {0x17, {0x01, 0x01, 0x01, 0x08}},
    };
    EXPECT_EQ(Send(Request({0x00, 0x11})).at(1), 0x00);  // start of read-back: plain acknowledgement
    for (const auto& c : cases) EXPECT_EQ(ReadBack(c.command, c.data.size()), c.data) << std::hex << int(c.command);
    ExpectNoIssues();
}

// Each write is acknowledged with status 0, changes exactly its part of the memory, and reads back.
TEST_F(ReportFamily, WritesAreStoredAndReadBack) {
    const Bytes dpiLevels = {0x25, 0x0F, 0x00, 0x0F, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x31, 0x00, 0x31, 0x00,
                             0x3F, 0x00, 0x3F, 0x00, 0x7F, 0x00, 0x7F, 0x00, 0x07, 0x02, 0x07, 0x02};
    Bytes dpiRequest = {0x00, 0x03, 0x00, 0x01, 0x25};
    dpiRequest.insert(dpiRequest.end(), dpiLevels.begin(), dpiLevels.end());
    const Bytes colours = {0xFF, 0x80, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    Bytes colourRequest = {0x00, 0x04, 0x00, 0x01, 0x12};
    colourRequest.insert(colourRequest.end(), colours.begin(), colours.end());
    Bytes keyRequest = {0x00, 0x09, 0x00, 0x01, 0x0F};
    for (int i = 0; i < 27; ++i) keyRequest.push_back(static_cast<uint8_t>(0x40 + i));
    Bytes breathing = {0x00, 0x05, 0x00, 0x01, 0x18, 0x02, 0x31, 0x07};
    for (int i = 0; i < 21; ++i) breathing.push_back(static_cast<uint8_t>(0xA0 + i));

    const struct {
        const char* name;
        Bytes request;
        uint8_t readCommand;
        Bytes readBack;
        std::function<void(MouseMemory*)> change;
    } cases[] = {
        {"report rate 2000 Hz", {0x00, 0x02, 0x00, 0x01, 0x01, 0x10}, 0x12, {0x10}, [](MouseMemory* m) { m->reportRate = 16; }},
        {"DPI 5 levels, level 2", dpiRequest, 0x13, dpiLevels,
         [](MouseMemory* m) {
             m->dpiCount = 5;
             m->dpiIndex = 2;
             m->dpiRaw[2] = 0x31;
         }},
        {"DPI colours", colourRequest, 0x14, colours,
         [](MouseMemory* m) {
             m->dpiColours[0] = {0xFF, 0x80, 0x00};
             for (int n = 1; n < 6; ++n)
                 m->dpiColours[n] = {uint8_t(3 * n - 2), uint8_t(3 * n - 1), uint8_t(3 * n)};
         }},
        {"lighting mode 3", {0x00, 0x05, 0x00, 0x01, 0x05, 0x03, 0x42, 0xFF, 0x80, 0x00}, 0x15, {0x03, 0x42},
         [](MouseMemory* m) {
             m->lightMode = 3;
             m->light[3].brightnessSpeed = 0x42;
             m->light[3].colours[0] = {0xFF, 0x80, 0x00};
         }},
        {"lighting mode 2 with seven colours", breathing, 0x15, {0x02, 0x31},
         [](MouseMemory* m) {
             m->light[2].brightnessSpeed = 0x31;
             for (int k = 0; k < 7; ++k)
                 m->light[2].colours[k] = {uint8_t(0xA0 + 3 * k), uint8_t(0xA1 + 3 * k), uint8_t(0xA2 + 3 * k)};
         }},
        {"lighting mode 1", {0x00, 0x05, 0x00, 0x01, 0x03, 0x01, 0x40, 0x00}, 0x15, {0x01, 0x40},
         [](MouseMemory* m) {
             m->lightMode = 1;
             m->light[1].brightnessSpeed = 0x40;
         }},
        {"advanced parameters", {0x00, 0x06, 0x00, 0x01, 0x05, 0x02, 0x01, 0x00}, 0x16, {0x02, 0x01, 0x00},
         [](MouseMemory* m) {
             m->liftoff = 2;
             m->sensorBit8 = 1;
             m->sensorBit4 = 0;
         }},
        {"power settings", {0x00, 0x07, 0x00, 0x01, 0x04, 0x3C, 0x00, 0x01, 0x14}, 0x17, {0x3C, 0x00, 0x01, 0x14},
         [](MouseMemory* m) {
             m->sleep = 60;
             m->wakeOnMove = 0;
             m->responseTime = 20;
         }},
        {"key table, slots 0-8", keyRequest, 0x12, {0x01},
         [](MouseMemory* m) {
             for (int slot = 0; slot < 9; ++slot)
                 for (int c = 0; c < 3; ++c) m->keys[slot][c] = uint8_t(0x40 + 3 * slot + c);
         }},
    };
    for (const auto& c : cases) {
        Plug("101");
        MouseMemory expected = mouse_->Memory();
        c.change(&expected);
        Bytes reply = Send(Request(c.request));
        ASSERT_EQ(reply.size(), 32u) << c.name;
        EXPECT_EQ(reply[0], c.request[1]) << c.name;
        EXPECT_EQ(reply[1], 0x00) << c.name;
        EXPECT_EQ(mouse_->Memory(), expected) << c.name;
        EXPECT_EQ(ReadBack(c.readCommand, c.readBack.size()), c.readBack) << c.name;
        ExpectNoIssues();
    }
}

TEST_F(ReportFamily, HandWrittenChecksumIsAccepted) {
    // Report rate 500 Hz: data 02, checksum 02; bytes 33-64 of a 65-byte write are not part of the report.
    Bytes request = {0x00, 0x02, 0x00, 0x01, 0x01, 0x02};
    request.resize(65, 0);
    request[32] = 0x02;
    request[40] = 0x77;
    EXPECT_EQ(Send(request).at(1), 0x00);
    EXPECT_EQ(mouse_->Memory().reportRate, 2);
    ExpectNoIssues();
}

TEST_F(ReportFamily, CorruptOrUnknownRequestsGetNoReply) {
    Bytes wrongChecksum = Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x02});
    wrongChecksum[32] = 0x03;
    Bytes headerInSum = Request({0x00, 0x12});
    headerInSum[4] = 0x01;  // bytes 0-4 are outside the sum, so the checksum still matches: header check catches it
    const struct {
        const char* name;
        Bytes request;
        SimIssueKind kind;
        bool replied;
    } cases[] = {
        {"wrong checksum", wrongChecksum, SimIssueKind::Checksum, false},
        {"unknown command", Request({0x00, 0x30}), SimIssueKind::UnknownCommand, false},
        {"report ID 1", Request({0x01, 0x12}), SimIssueKind::Frame, false},
        {"0x20 on a wired mouse", Request({0x00, 0x20}), SimIssueKind::UnknownCommand, false},
        {"read with a length byte", headerInSum, SimIssueKind::Frame, true},
    };
    for (const auto& c : cases) {
        Plug("101");
        const MouseMemory before = mouse_->Memory();
        Bytes reply = Send(c.request);
        EXPECT_EQ(!reply.empty(), c.replied) << c.name;
        if (c.replied) {
            EXPECT_NE(reply.at(1), 0x00) << c.name;
        }
        ASSERT_EQ(mouse_->Issues().size(), 1u) << c.name;
        EXPECT_EQ(mouse_->Issues()[0].kind, c.kind) << c.name << ": " << mouse_->Issues()[0];
        EXPECT_EQ(mouse_->Issues()[0].bytes, Bytes(c.request.begin(), c.request.begin() + 33)) << c.name;
        EXPECT_EQ(mouse_->Memory(), before) << c.name;
    }
}

// A well-formed write the mouse cannot take is answered with a non-zero status and leaves memory alone.
TEST_F(ReportFamily, RefusesValuesOutOfRange) {
    auto dpi = [](uint8_t countIndex, uint16_t x, uint16_t y) {
        Bytes r = {0x00, 0x03, 0x00, 0x01, 0x25, countIndex};
        for (int n = 0; n < 6; ++n) {
            const uint16_t code = n == 3 ? x : 0x20;
            const uint16_t other = n == 3 ? y : 0x20;
            r.insert(r.end(), {uint8_t(code), uint8_t(code >> 8), uint8_t(other), uint8_t(other >> 8)});
        }
        return r;
    };
    const struct {
        const char* spec;
        const char* name;
        Bytes request;
        SimIssueKind kind;
    } cases[] = {
        {"101", "report-rate code 3", {0x00, 0x02, 0x00, 0x01, 0x01, 0x03}, SimIssueKind::OutOfRange},
        {"101,rate_cap=0x10", "4000 Hz above the capability", {0x00, 0x02, 0x00, 0x01, 0x01, 0x20}, SimIssueKind::OutOfRange},
        {"101,rate_cap=0", "2000 Hz without capability", {0x00, 0x02, 0x00, 0x01, 0x01, 0x10}, SimIssueKind::OutOfRange},
        {"101", "seven DPI levels", dpi(0x07, 0x20, 0x20), SimIssueKind::OutOfRange},
        {"101", "active level beyond the count", dpi(0x55, 0x20, 0x20), SimIssueKind::OutOfRange},
        {"101", "X and Y differ", dpi(0x15, 0x20, 0x21), SimIssueKind::Frame},
        {"101", "raw code above 26000 DPI", dpi(0x15, 520, 520), SimIssueKind::OutOfRange},
        {"101,sensor=4", "raw code 0 below the step", dpi(0x15, 0, 0), SimIssueKind::OutOfRange},
        {"101", "DPI length byte 18", Bytes{0x00, 0x03, 0x00, 0x01, 0x12, 0x15}, SimIssueKind::Frame},
        {"101", "lighting mode 6", {0x00, 0x05, 0x00, 0x01, 0x02, 0x06, 0x22}, SimIssueKind::OutOfRange},
        {"101", "lighting brightness 5", {0x00, 0x05, 0x00, 0x01, 0x02, 0x00, 0x52}, SimIssueKind::OutOfRange},
        {"101", "lighting length of another mode", {0x00, 0x05, 0x00, 0x01, 0x02, 0x03, 0x22}, SimIssueKind::Frame},
        {"101", "unknown mode sent without data", {0x00, 0x05, 0x00, 0x01, 0x00}, SimIssueKind::Frame},
        {"101", "lift-off 3", {0x00, 0x06, 0x00, 0x01, 0x05, 0x03, 0x00, 0x00}, SimIssueKind::OutOfRange},
        {"101", "response time 21", {0x00, 0x07, 0x00, 0x01, 0x04, 0x01, 0x01, 0x01, 0x15}, SimIssueKind::OutOfRange},
        {"101", "sleep 0", {0x00, 0x07, 0x00, 0x01, 0x04, 0x00, 0x01, 0x01, 0x08}, SimIssueKind::OutOfRange},
        {"101", "single write without packet byte", {0x00, 0x02, 0x00, 0x00, 0x01, 0x02}, SimIssueKind::Frame},
        {"101", "stray byte after the data", {0x00, 0x02, 0x00, 0x01, 0x01, 0x02, 0x09}, SimIssueKind::Frame},
        {"101", "factory reset without FF", {0x00, 0x0F, 0x00, 0x01, 0x01, 0x01}, SimIssueKind::Frame},
        {"101", "request byte 2 not 0", {0x00, 0x02, 0x01, 0x01, 0x01, 0x02}, SimIssueKind::Frame},
    };
    for (const auto& c : cases) {
        Plug(c.spec);
        const MouseMemory before = mouse_->Memory();
        Bytes reply = Send(Request(c.request));
        ASSERT_EQ(reply.size(), 32u) << c.name;
        EXPECT_NE(reply[1], 0x00) << c.name;
        ASSERT_EQ(mouse_->Issues().size(), 1u) << c.name << "\n" << simtest::IssueText(mouse_->Issues());
        EXPECT_EQ(mouse_->Issues()[0].kind, c.kind) << c.name << ": " << mouse_->Issues()[0];
        EXPECT_EQ(mouse_->Memory(), before) << c.name;
    }
}

TEST_F(ReportFamily, HighestRateWithinTheCapabilityIsTaken) {
    Plug("101,rate_cap=0x20");
    EXPECT_EQ(Send(Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x20})).at(1), 0x00);
    EXPECT_EQ(mouse_->Memory().reportRate, 32);
    ExpectNoIssues();
}

TEST_F(ReportFamily, MacroPacketsAreReassembled) {
    // Slot 3, seven events of 4 bytes: 29 bytes, cut into 27 + 2.
    Bytes stream = {0x03};
    for (int e = 0; e < 7; ++e) stream.insert(stream.end(), {uint8_t(e % 2 ? 0xB0 : 0x30), 0x01, 0x00, uint8_t(4 + e)});
    Bytes first = {0x00, 0x08, 0x00, 0x02, 0x1B};
    first.insert(first.end(), stream.begin(), stream.begin() + 27);
    Bytes second = {0x00, 0x08, 0x00, 0x12, 0x02};
    second.insert(second.end(), stream.begin() + 27, stream.end());

    EXPECT_EQ(Send(Request(first)).at(1), 0x00);
    EXPECT_EQ(mouse_->Memory().macros.count(3), 0u) << "nothing is stored before the last packet";
    EXPECT_EQ(Send(Request(second)).at(1), 0x00);
    EXPECT_EQ(mouse_->Memory().macros.at(3), Bytes(stream.begin() + 1, stream.end()));

    // Key down A, delay 0, key up A: one packet of 9 bytes replaces the macro of slot 3.
    EXPECT_EQ(Send(Request({0x00, 0x08, 0x00, 0x01, 0x09, 0x03, 0x30, 0x01, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04})).at(1), 0);
    EXPECT_EQ(mouse_->Memory().macros.at(3), (Bytes{0x30, 0x01, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}));
    ExpectNoIssues();
}

TEST_F(ReportFamily, BrokenMacroUploadsAreRefused) {
    Bytes seven = {0x00, 0x08, 0x00, 0x01, 0x1D, 0x02};  // 7 events claimed in one packet: length 29 > 27
    Bytes secondOnly = {0x00, 0x08, 0x00, 0x12, 0x02, 0x30, 0x01};
    Bytes badClass = {0x00, 0x08, 0x00, 0x01, 0x05, 0x02, 0x55, 0x01, 0x00, 0x04};
    Bytes ragged = {0x00, 0x08, 0x00, 0x01, 0x04, 0x02, 0x30, 0x01, 0x00};
    Bytes slot = {0x00, 0x08, 0x00, 0x01, 0x05, 0x10, 0x30, 0x01, 0x00, 0x04};
    Bytes shortFirst = {0x00, 0x08, 0x00, 0x02, 0x05, 0x02, 0x30, 0x01, 0x00, 0x04};  // packet 0 of 2 must be full
    const struct {
        const char* name;
        std::vector<Bytes> packets;
    } cases[] = {
        {"single packet too long", {seven}},
        {"second packet without the first", {secondOnly}},
        {"unknown event class", {badClass}},
        {"partial event", {ragged}},
        {"key slot 16", {slot}},
        {"first of two packets not full", {shortFirst}},
    };
    for (const auto& c : cases) {
        Plug("101");
        for (const Bytes& packet : c.packets) Send(Request(packet));
        EXPECT_TRUE(mouse_->Memory().macros.empty()) << c.name;
        EXPECT_EQ(mouse_->Issues().size(), 1u) << c.name << "\n" << simtest::IssueText(mouse_->Issues());
    }
}

TEST_F(ReportFamily, ResetsRestoreTheirPart) {
    Send(Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x08}));
    Send(Request({0x00, 0x05, 0x00, 0x01, 0x02, 0x04, 0x13}));
    Send(Request({0x00, 0x06, 0x00, 0x01, 0x05, 0x02, 0x01, 0x01}));
    const MouseMemory factory = FactoryMemory(149, false);
    MouseMemory changed = mouse_->Memory();

    EXPECT_EQ(Send(Request({0x00, 0x0D, 0x00, 0x01, 0x01, 0x01})).at(1), 0x00);
    changed.reportRate = factory.reportRate;
    EXPECT_EQ(mouse_->Memory(), changed);

    EXPECT_EQ(Send(Request({0x00, 0x0E, 0x00, 0x01, 0x01, 0x01})).at(1), 0x00);
    changed.lightMode = factory.lightMode;
    changed.light = factory.light;
    EXPECT_EQ(mouse_->Memory(), changed);

    EXPECT_EQ(Send(Request({0x00, 0x0F, 0x00, 0x01, 0x01, 0xFF})).at(1), 0x00);
    EXPECT_EQ(mouse_->Memory(), factory);
    ExpectNoIssues();
}

TEST_F(ReportFamily, ReceiverWithoutMouseAnswersOnlyTheInfoRequest) {
    Plug("101:wireless,link=0");
    EXPECT_EQ(Send(Request({0x00, 0x10})).at(14), 0x00) << "link flag";
    EXPECT_TRUE(Send(Request({0x00, 0x12})).empty());
    EXPECT_TRUE(Send(Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x08})).empty());
    EXPECT_EQ(mouse_->Memory().reportRate, 1);

    mouse_->SetLink(true);
    Bytes report = Read();
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 4), (Bytes{0xC0, 0x01, 80, 0x00}));
    EXPECT_EQ(ReadBack(0x20, 2), (Bytes{0x01, 0x05})) << "mouse firmware through the receiver";
    ExpectNoIssues();
}

TEST_F(ReportFamily, NotificationsOnTheMouseInterface) {
    const struct {
        const char* name;
        std::function<void(VirtualMouse&)> event;
        Bytes report;
    } cases[] = {
        {"DPI button: level 1 -> 2 of 5", [](VirtualMouse& m) { m.PressDpiButton(); }, {0xC2, 0x25}},
        {"DPI level set on the mouse", [](VirtualMouse& m) { m.SetDpiLevel(4); }, {0xC2, 0x45}},
        {"battery change", [](VirtualMouse& m) { m.SetBattery(55, 1); }, {0xC0, 0x01, 55, 0x01}},
        {"link lost", [](VirtualMouse& m) { m.SetLink(false); }, {0xC0, 0x00, 0x00, 0x00}},
        {"raw report", [](VirtualMouse& m) { m.QueueInputReport(SimInterface::Mouse, {0xC2, 0x31}); }, {0xC2, 0x31}},
    };
    for (const auto& c : cases) {
        Plug("101:wireless");
        c.event(*mouse_);
        Bytes report = Read();
        ASSERT_GE(report.size(), c.report.size()) << c.name;
        EXPECT_EQ(Bytes(report.begin(), report.begin() + static_cast<long>(c.report.size())), c.report) << c.name;
        EXPECT_TRUE(Read().empty()) << c.name << ": one report per event";
    }
    Plug("101");
    mouse_->PressDpiButton();
    mouse_->PressDpiButton();
    mouse_->PressDpiButton();
    mouse_->PressDpiButton();
    EXPECT_EQ(mouse_->Memory().dpiIndex, 0) << "the button wraps after the last level";
}

TEST_F(ReportFamily, InjectedFaults) {
    mouse_->InjectFault({SimFaultKind::NoReply, 0x12, 1});
    EXPECT_TRUE(Send(Request({0x00, 0x12})).empty());
    EXPECT_EQ(Send(Request({0x00, 0x12})).size(), 32u) << "the fault applied once";

    mouse_->InjectFault({SimFaultKind::BadStatus, -1, 2, 0x05});
    EXPECT_EQ(Send(Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x08})).at(1), 0x05);
    EXPECT_EQ(Send(Request({0x00, 0x12})).at(1), 0x05);
    EXPECT_EQ(mouse_->Memory().reportRate, 1) << "a busy mouse does not carry out the write";

    mouse_->InjectFault({SimFaultKind::WriteFails, 0x02, -1});
    const Bytes write = Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x08});
    EXPECT_EQ(backend_->Write(handle_, write.data(), write.size()), -1);
    EXPECT_EQ(backend_->Write(handle_, write.data(), write.size()), -1);
    EXPECT_FALSE(backend_->LastError(handle_).empty());
    EXPECT_EQ(Send(Request({0x00, 0x12})).at(1), 0x00) << "other commands pass";
    mouse_->ClearFaults();
    EXPECT_EQ(Send(write).at(1), 0x00);
    ExpectNoIssues();
}

// A reply the client no longer waits for: it arrives once the next request is in, ahead of its reply.
TEST_F(ReportFamily, LateReplyComesAheadOfTheNextReply) {
    mouse_->InjectFault({SimFaultKind::LateReply, 0x02, 1});
    EXPECT_TRUE(Send(Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x08})).empty()) << "no reply in time";
    EXPECT_EQ(mouse_->Memory().reportRate, 8) << "the request was carried out";
    const Bytes request = Request({0x00, 0x12});
    ASSERT_EQ(backend_->Write(handle_, request.data(), request.size()), 33);
    EXPECT_EQ(simtest::Hex(Read()), simtest::Hex(simtest::Padded({0x02, 0x00}, 32)));
    EXPECT_EQ(simtest::Hex(Read()), simtest::Hex(simtest::Padded({0x12, 0x00, 0x00, 0x00, 0x08}, 32)));
    EXPECT_TRUE(Read().empty());
    ExpectNoIssues();
}

// `after`: the fault lets the first matching requests pass (packet 2 of a macro upload).
TEST_F(ReportFamily, FaultAfterTheFirstMatchingRequests) {
    mouse_->InjectFault({SimFaultKind::BadStatus, 0x08, 1, 0x01, 1});
    const Bytes first = Request({0x00, 0x08, 0x00, 0x02, 0x1B, 0x03, 0x30, 0x01, 0x00, 0x04, 0xB0, 0x01, 0x00,
                                 0x04, 0x30, 0x01, 0x00, 0x05, 0xB0, 0x01, 0x00, 0x05, 0x30, 0x01, 0x00, 0x06,
                                 0xB0, 0x01, 0x00, 0x06, 0x30, 0x01});
    EXPECT_EQ(Send(first).at(1), 0x00);
    EXPECT_EQ(Send(Request({0x00, 0x08, 0x00, 0x12, 0x02, 0x00, 0x07})).at(1), 0x01) << "packet 2 refused";
    EXPECT_EQ(mouse_->Memory().macros.count(3), 0u) << "no macro from half an upload";
    ExpectNoIssues();
}

TEST_F(ReportFamily, UnplugFaultPullsTheCableAsTheRequestArrives) {
    std::vector<HidHotplugEvent> events;
    backend_->WatchHotplug([&](const HidHotplugEvent& event) { events.push_back(event); });
    mouse_->InjectFault({SimFaultKind::Unplug, 0x02, 1, 0x01, 1});
    EXPECT_EQ(Send(Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x08})).at(1), 0x00);
    const Bytes second = Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x04});
    EXPECT_EQ(backend_->Write(handle_, second.data(), second.size()), -1);
    EXPECT_FALSE(mouse_->Plugged());
    EXPECT_EQ(mouse_->Memory().reportRate, 8) << "the second request never arrived";
    EXPECT_EQ(mouse_->Requests().size(), 1u);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_FALSE(events[0].arrival);
    backend_->WatchHotplug(nullptr);
    ExpectNoIssues();
}

TEST_F(ReportFamily, LatencyDelaysTheReply) {
    mouse_->SetLatency(std::chrono::milliseconds(40));
    const Bytes request = Request({0x00, 0x12});
    backend_->Write(handle_, request.data(), request.size());
    uint8_t buffer[65] = {};
    EXPECT_EQ(backend_->ReadTimeout(handle_, buffer, sizeof buffer, 0), 0) << "not there yet";
    EXPECT_EQ(backend_->ReadTimeout(handle_, buffer, sizeof buffer, 5000), 32);
    EXPECT_EQ(buffer[0], 0x12);
}

}  // namespace
}  // namespace quorvel
