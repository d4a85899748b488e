#include <functional>

#include <gtest/gtest.h>

#include "SimTestUtil.h"

namespace quorvel {
namespace {

using simtest::Bytes;
using simtest::Feature;

class FeatureFamily : public ::testing::Test {
protected:
    void Plug(const std::string& spec) {
        backend_ = simtest::MakeBackend(spec);
        mouse_ = &backend_->Mouse(0);
        vendor_ = backend_->Open(mouse_->PathOf(SimInterface::Vendor));
        notify_ = backend_->Open(mouse_->PathOf(SimInterface::Mouse));
        ASSERT_NE(vendor_, nullptr);
        ASSERT_NE(notify_, nullptr);
        sequence_ = 0;
    }
    void SetUp() override { Plug("201"); }

    // Sends a write with the next sequence number in byte 4.
    int Send(Bytes report) {
        report = Feature(report);
        report[4] = static_cast<uint8_t>(sequence_++ % 255);
        return backend_->SendFeature(vendor_, report.data(), report.size());
    }
    int SendRaw(const Bytes& report) { return backend_->SendFeature(vendor_, report.data(), report.size()); }
    Bytes Notification() {
        uint8_t buffer[65] = {};
        const int count = backend_->ReadTimeout(notify_, buffer, sizeof buffer, 10);
        return Bytes(buffer, buffer + std::max(count, 0));
    }
    void ExpectNoIssues() { EXPECT_TRUE(mouse_->Issues().empty()) << simtest::IssueText(mouse_->Issues()); }

    std::unique_ptr<VirtualBackend> backend_;
    VirtualMouse* mouse_ = nullptr;
    HidHandle* vendor_ = nullptr;
    HidHandle* notify_ = nullptr;
    int sequence_ = 0;
};

TEST_F(FeatureFamily, InfoRequestAndGetFeature) {
    EXPECT_EQ(SendRaw(Feature({0x0C, 0x01, 0x20, 0x00, 0x00})), 33);
    uint8_t buffer[33] = {0x0C, 0x01, 0x20, 0x00, 0x01};
    ASSERT_EQ(backend_->GetFeature(vendor_, buffer, sizeof buffer), 33) << "count includes the report ID";
    Bytes expected = {0x0C, 0x01, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 'B', '2', '0', '1', 0x05, 0x01,
                      0x00, 0x00, 0x00, 0x00, 80,   0x00, 0x00, 0x01};
    expected.resize(33, 0);
    EXPECT_EQ(Bytes(buffer, buffer + 33), expected);
    ExpectNoIssues();
}

TEST_F(FeatureFamily, WritesAreStored) {
    Bytes dpi = {0x0C, 0x01, 0x05, 0x00, 0x00, 0x01, 0x12, 0x35, 0x3F};
    for (uint16_t code : {15, 31, 47, 63, 127, 519}) dpi.insert(dpi.end(), {uint8_t(code), uint8_t(code >> 8)});
    Bytes colours = {0x0C, 0x01, 0x06, 0x00, 0x00, 0x01, 0x18};
    for (int i = 0; i < 18; ++i) colours.push_back(static_cast<uint8_t>(0x10 + i));
    Bytes breathing = {0x0C, 0x01, 0x08, 0x00, 0x00, 0x01, 0x18, 0x02, 0x42, 0x07};
    for (int i = 0; i < 21; ++i) breathing.push_back(static_cast<uint8_t>(0x80 + i));

    const struct {
        const char* name;
        std::vector<Bytes> reports;
        std::function<void(MouseMemory*)> change;
    } cases[] = {
        {"report rate 500 Hz", {{0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02}}, [](MouseMemory* m) { m->reportRate = 2; }},
        {"advanced parameters", {{0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x02, 0x02, 0x00}},
         [](MouseMemory* m) {
             m->liftoff = 2;
             m->sensorBit4 = 0;
         }},
        {"DPI 5 levels, level 2", {dpi},
         [](MouseMemory* m) {
             m->dpiCount = 5;
             m->dpiIndex = 2;
         }},
        {"DPI colours", {colours},
         [](MouseMemory* m) {
             for (int n = 0; n < 6; ++n) m->dpiColours[n] = {uint8_t(0x10 + 3 * n), uint8_t(0x11 + 3 * n), uint8_t(0x12 + 3 * n)};
         }},
        {"lighting mode 2", {breathing},
         [](MouseMemory* m) {
             m->light[2].brightnessSpeed = 0x42;
             for (int k = 0; k < 7; ++k)
                 m->light[2].colours[k] = {uint8_t(0x80 + 3 * k), uint8_t(0x81 + 3 * k), uint8_t(0x82 + 3 * k)};
         }},
        {"lighting of an unknown mode (zero bytes)", {{0x0C, 0x01, 0x08, 0x00, 0x00, 0x01, 0x02}},
         [](MouseMemory* m) {
             m->lightMode = 0;
             m->light[0].brightnessSpeed = 0;
         }},
        {"power settings and their follow-up",
         {{0x0C, 0x01, 0x0B, 0x00, 0x00, 0x01, 0x02, 0x06, 0x00}, {0x0C, 0x01, 0x0C, 0x00, 0x00, 0x01, 0x01, 0x00}},
         [](MouseMemory* m) {
             m->sleep = 6;
             m->lightOffMoving = 0;
         }},
        {"key slot 7", {{0x0C, 0x01, 0x04, 0x00, 0x00, 0x01, 0x04, 0x07, 0x20, 0x01, 0x00}},
         [](MouseMemory* m) { m->keys[7] = {0x20, 0x01, 0x00}; }},
    };
    for (const auto& c : cases) {
        Plug("201");
        MouseMemory expected = mouse_->Memory();
        c.change(&expected);
        for (const Bytes& report : c.reports) EXPECT_EQ(Send(report), 33) << c.name;
        EXPECT_EQ(mouse_->Memory(), expected) << c.name;
        ExpectNoIssues();
    }
}

TEST_F(FeatureFamily, FactoryResetRestoresEverything) {
    Send({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x08});
    Send({0x0C, 0x01, 0x04, 0x00, 0x00, 0x01, 0x04, 0x02, 0x20, 0x01, 0x00});
    EXPECT_EQ(Send({0x0C, 0x01, 0x0F, 0x00, 0x00, 0x01, 0x01, 0xFF}), 33);
    EXPECT_EQ(mouse_->Memory(), FactoryMemory('0', true));
    ExpectNoIssues();
}

TEST_F(FeatureFamily, SequenceNumbers) {
    const Bytes rate = Feature({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02});
    auto with = [&](int sequence) {
        Bytes r = rate;
        r[4] = static_cast<uint8_t>(sequence);
        return r;
    };
    const struct {
        const char* name;
        std::vector<int> sequences;  // sent in order
        std::vector<bool> accepted;
    } cases[] = {
        {"any first number, then one up", {7, 8, 9}, {true, true, true}},
        {"wraps from 254 to 0", {253, 254, 0, 1}, {true, true, true, true}},
        {"repeat is refused, then followed", {3, 4, 4, 5}, {true, true, false, true}},
        {"gap is refused once", {3, 6, 7}, {true, false, true}},
        {"255 never occurs", {254, 255}, {true, false}},
    };
    for (const auto& c : cases) {
        Plug("201");
        size_t refused = 0;
        for (size_t i = 0; i < c.sequences.size(); ++i) {
            const int result = SendRaw(with(c.sequences[i]));
            EXPECT_EQ(result, c.accepted[i] ? 33 : -1) << c.name << " #" << i;
            if (!c.accepted[i]) ++refused;
        }
        ASSERT_EQ(mouse_->Issues().size(), refused) << c.name;
        for (const auto& issue : mouse_->Issues()) EXPECT_EQ(issue.kind, SimIssueKind::Sequence) << c.name;
    }

    // The info request runs on its own counter and does not disturb the writes'.
    Plug("201");
    EXPECT_EQ(SendRaw(with(10)), 33);
    EXPECT_EQ(SendRaw(Feature({0x0C, 0x01, 0x20, 0x00, 0x50})), 33);
    EXPECT_EQ(SendRaw(with(11)), 33);
    // A fresh connection may start anywhere.
    backend_->Close(vendor_);
    vendor_ = backend_->Open(mouse_->PathOf(SimInterface::Vendor));
    EXPECT_EQ(SendRaw(with(0)), 33);
    ExpectNoIssues();
}

TEST_F(FeatureFamily, RefusedReports) {
    Bytes dpiNo3F = {0x0C, 0x01, 0x05, 0x00, 0x00, 0x01, 0x12, 0x35, 0x00};
    for (int n = 0; n < 6; ++n) dpiNo3F.insert(dpiNo3F.end(), {0x20, 0x00});
    Bytes dpiLevelZero = dpiNo3F;
    dpiLevelZero[7] = 0x05;  // level nibble holds level + 1, so 0 is never sent
    dpiLevelZero[8] = 0x3F;
    const struct {
        const char* name;
        Bytes report;
        SimIssueKind kind;
    } cases[] = {
        {"2000 Hz: this family stops at 1000 Hz", {0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x10}, SimIssueKind::OutOfRange},
        {"command 07 with length 3", {0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x03, 0x01, 0x00, 0x00}, SimIssueKind::Frame},
        {"DPI without 0x3F", dpiNo3F, SimIssueKind::Frame},
        {"DPI level nibble 0", dpiLevelZero, SimIssueKind::OutOfRange},
        {"unknown command", {0x0C, 0x01, 0x09, 0x00, 0x00, 0x01}, SimIssueKind::UnknownCommand},
        {"report ID 0x0B", {0x0B, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02}, SimIssueKind::Frame},
        {"byte 1 not 0x01", {0x0C, 0x00, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02}, SimIssueKind::Frame},
        {"key slot 16", {0x0C, 0x01, 0x04, 0x00, 0x00, 0x01, 0x04, 0x10, 0x20, 0x01, 0x00}, SimIssueKind::OutOfRange},
        {"follow-up 0C with data 1", {0x0C, 0x01, 0x0C, 0x00, 0x00, 0x01, 0x01, 0x01}, SimIssueKind::Frame},
    };
    for (const auto& c : cases) {
        Plug("201");
        const MouseMemory before = mouse_->Memory();
        EXPECT_EQ(Send(c.report), -1) << c.name;
        ASSERT_EQ(mouse_->Issues().size(), 1u) << c.name;
        EXPECT_EQ(mouse_->Issues()[0].kind, c.kind) << c.name << ": " << mouse_->Issues()[0];
        EXPECT_EQ(mouse_->Memory(), before) << c.name;
    }

    Plug("201");
    const Bytes shortReport(32, 0x0C);
    EXPECT_EQ(SendRaw(shortReport), -1) << "feature reports are exactly 33 bytes";
    const Bytes write = simtest::Request({0x00, 0x12});
    EXPECT_EQ(backend_->Write(notify_, write.data(), write.size()), -1) << "the notification interface takes no commands";
    EXPECT_EQ(mouse_->Issues().size(), 2u);
}

TEST_F(FeatureFamily, MacroOfNineEventsInTwoPackets) {
    Bytes events;
    for (int e = 0; e < 9; ++e) events.insert(events.end(), {uint8_t(e % 2 ? 0xB0 : 0x30), 0x00, uint8_t(4 + e)});
    Bytes first = {0x0C, 0x01, 0x0E, 0x00, 0x00, 0x02, 0x1A, 0x05};
    first.insert(first.end(), events.begin(), events.begin() + 25);
    Bytes second = {0x0C, 0x01, 0x0E, 0x00, 0x00, 0x12, 0x03, 0x05};
    second.insert(second.end(), events.begin() + 25, events.end());
    EXPECT_EQ(Send(first), 33);
    EXPECT_EQ(Send(second), 33);
    EXPECT_EQ(mouse_->Memory().macros.at(5), events);

    Bytes eight = {0x0C, 0x01, 0x0E, 0x00, 0x00, 0x01, 0x19, 0x06};
    eight.insert(eight.end(), events.begin(), events.begin() + 24);
    EXPECT_EQ(Send(eight), 33);
    EXPECT_EQ(mouse_->Memory().macros.at(6), Bytes(events.begin(), events.begin() + 24));
    ExpectNoIssues();

    Bytes otherSlot = second;
    otherSlot[7] = 0x04;
    EXPECT_EQ(Send(first), 33);
    EXPECT_EQ(Send(otherSlot), -1) << "every packet of one upload names the same slot";
    EXPECT_EQ(mouse_->Memory().macros.at(5), events);
    EXPECT_EQ(mouse_->Issues().size(), 1u);
}

TEST_F(FeatureFamily, NotificationsAndLink) {
    mouse_->PressDpiButton();
    Bytes report = Notification();
    ASSERT_GE(report.size(), 5u);
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 5), (Bytes{0x05, 0x06, 0x00, 0x00, 0x03}));

    Plug("201:wireless");
    mouse_->SetLink(false);
    report = Notification();
    ASSERT_GE(report.size(), 2u);
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 2), (Bytes{0xC0, 0x00}));
    EXPECT_EQ(Send({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02}), -1) << "nothing reaches the mouse";
    uint8_t info[33] = {0x0C};
    backend_->GetFeature(vendor_, info, sizeof info);
    EXPECT_EQ(info[21], 0x00);

    mouse_->SetLink(true);
    report = Notification();
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 2), (Bytes{0xC0, 0x01}));
    EXPECT_EQ(Send({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02}), 33);
    EXPECT_EQ(mouse_->Memory().reportRate, 2);
    ExpectNoIssues();
}

TEST_F(FeatureFamily, UnplugFaultBetweenMacroPackets) {
    mouse_->InjectFault({SimFaultKind::Unplug, 0x0E, 1, 0x01, 1});
    EXPECT_EQ(Send({0x0C, 0x01, 0x0E, 0x00, 0x00, 0x02, 0x1A, 0x01, 0x30, 0x01, 0x04, 0xB0, 0x01, 0x04,
                    0x30, 0x01, 0x05, 0xB0, 0x01, 0x05, 0x30, 0x01, 0x06, 0xB0, 0x01, 0x06, 0x30, 0x01,
                    0x07, 0xB0, 0x01, 0x07, 0x30}),
              33);
    EXPECT_EQ(Send({0x0C, 0x01, 0x0E, 0x00, 0x00, 0x12, 0x03, 0x01, 0x00, 0x08}), -1);
    EXPECT_FALSE(mouse_->Plugged());
    EXPECT_EQ(mouse_->Memory().macros.count(1), 0u);
    ExpectNoIssues();
}

TEST_F(FeatureFamily, InjectedFaultsKeepTheSequence) {
    mouse_->InjectFault({SimFaultKind::WriteFails, 0x07, 1});
    EXPECT_EQ(Send({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x02}), -1);
    mouse_->InjectFault({SimFaultKind::NoReply, -1, 1});
    EXPECT_EQ(Send({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x04}), 33);
    EXPECT_EQ(mouse_->Memory().reportRate, 1) << "the lost report was not carried out";
    EXPECT_EQ(Send({0x0C, 0x01, 0x07, 0x00, 0x00, 0x01, 0x01, 0x08}), 33);
    EXPECT_EQ(mouse_->Memory().reportRate, 8);

    mouse_->InjectFault({SimFaultKind::NoReply, 0x20, 1});
    uint8_t info[33] = {0x0C};
    EXPECT_EQ(backend_->GetFeature(vendor_, info, sizeof info), 33);
    EXPECT_EQ(info[8], 0x00) << "a get-feature without info does not count";
    ExpectNoIssues();
}

}  // namespace
}  // namespace quorvel
