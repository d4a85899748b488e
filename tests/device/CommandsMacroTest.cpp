// Macro streams and packets of both families.

#include <map>
#include <set>

#include "DeviceMainFixture.h"
#include "device/CommandsMacroFrames.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

enum { kDelay = 1, kDown = 2, kUp = 3, kMouseDown = 4, kMouseUp = 5 };

std::vector<MacroEventRecord> Rows(std::initializer_list<std::pair<int, int>> events) {
    std::vector<MacroEventRecord> rows;
    for (auto [type, value] : events) {
        MacroEventRecord r;
        r.type = type;
        r.value = value;
        r.record_index = static_cast<int>(rows.size());
        rows.push_back(r);
    }
    return rows;
}

// n alternating key down/up events of A, B, C ... without delays.
std::vector<MacroEventRecord> Keys(int n) {
    std::vector<MacroEventRecord> rows;
    for (int i = 0; i < n; ++i) {
        MacroEventRecord r;
        r.type = i % 2 == 0 ? kDown : kUp;
        r.value = 'A' + (i / 2) % 26;
        r.record_index = i;
        rows.push_back(r);
    }
    return rows;
}

std::string Stream(Family family, const std::vector<MacroEventRecord>& rows) {
    return ToHex(BuildMacroStream(family, rows, nullptr));
}

TEST(MacroStream, DelaysFoldIntoThePreviousEvent) {
    struct Case {
        const char* name;
        std::vector<MacroEventRecord> rows;
        const char* report;
        const char* feature;
    };
    const std::vector<Case> cases = {
        {"delay 0 becomes 1, the last event keeps its initial delay",
         Rows({{kDown, 'A'}, {kDelay, 0}, {kUp, 'A'}}), "30 01 00 04 B0 01 00 04 ", "30 01 04 B0 00 04 "},
        {"delays add up; the feature family ORs the high byte into the code",
         Rows({{kDown, 'A'}, {kDelay, 200}, {kDelay, 100}, {kUp, 'A'}}), "30 2C 01 04 B0 01 00 04 ",
         "30 2C 05 B0 00 04 "},
        {"a trailing delay is kept as it is, zero included", Rows({{kDown, 'A'}, {kUp, 'A'}, {kDelay, 0}}),
         "30 01 00 04 B0 00 00 04 ", "30 01 04 B0 00 04 "},
        {"a trailing delay sets the last event", Rows({{kMouseDown, 1}, {kMouseUp, 1}, {kDelay, 5}}),
         "10 01 00 01 90 05 00 01 ", "10 01 01 90 05 01 "},
        {"a leading delay has no event to follow", Rows({{kDelay, 50}, {kDown, 'A'}, {kUp, 'A'}}),
         "30 01 00 04 B0 01 00 04 ", "30 01 04 B0 00 04 "},
        {"modifiers and Windows keys go as modifier bits",
         Rows({{kDown, 0xA0}, {kDown, 0x5B}, {kUp, 0x5B}, {kUp, 0xA0}}),
         "20 01 00 02 20 01 00 08 A0 01 00 08 A0 01 00 02 ", "20 01 02 20 01 08 A0 01 08 A0 00 02 "},
        {"unknown event types are skipped", Rows({{kDown, 'A'}, {9, 1}, {kUp, 'A'}}), "30 01 00 04 B0 01 00 04 ",
         "30 01 04 B0 00 04 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Stream(Family::Report, c.rows), c.report) << c.name;
        EXPECT_EQ(Stream(Family::Feature, c.rows), c.feature) << c.name;
    }
}

class MacroOnMouse : public ::testing::TestWithParam<const char*> {};

int StoreMacro(CoreFixture& f, const std::vector<MacroEventRecord>& rows) {
    const int id = f.db.AddMacro("m");
    std::vector<MacroEventRecord> events = rows;
    for (auto& e : events) e.macro_id = id;
    f.db.AddMacroEvents(events);
    return id;
}

TEST(MacroPackets, ReportFamilySplitsAfterSixEvents) {
    CoreFixture f("102:wired");
    f.Start();
    EXPECT_EQ(f.Cmd().SendMacro(2, StoreMacro(f, Keys(6))), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(WithChecksum(Hex(
                               "00 08 00 01 19 02 30 01 00 04 B0 01 00 04 30 01 00 05 B0 01 00 05 30 01 00 06 "
                               "B0 01 00 06")))});

    auto seven = Rows({{kDown, 'A'}, {kDelay, 300}, {kUp, 'A'}, {kDown, 'B'}, {kUp, 'B'}, {kDown, 'C'},
                       {kUp, 'C'}, {kMouseDown, 1}});
    EXPECT_EQ(f.Cmd().SendMacro(3, StoreMacro(f, seven)), DeviceError::None);
    EXPECT_EQ(f.TakeHex(),
              (std::vector<std::string>{
                  ToHex(WithChecksum(Hex("00 08 00 02 1B 03 30 2C 01 04 B0 01 00 04 30 01 00 05 B0 01 00 05 "
                                         "30 01 00 06 B0 01 00 06 10 01"))),
                  ToHex(WithChecksum(Hex("00 08 00 12 02 00 01")))}));
    EXPECT_EQ(f.Mouse().Memory().macros.at(3).size(), 28u);
}

TEST(MacroPackets, FeatureFamilySplitsAfterEightEvents) {
    CoreFixture f("201:wired");
    f.Start();
    EXPECT_EQ(f.Cmd().SendMacro(1, StoreMacro(f, Keys(8))), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(Hex(
                               "0C 01 0E 00 00 01 19 01 30 01 04 B0 01 04 30 01 05 B0 01 05 30 01 06 B0 01 06 "
                               "30 01 07 B0 00 07"))});
    EXPECT_EQ(f.Cmd().SendMacro(1, StoreMacro(f, Keys(9))), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{
                               ToHex(Hex("0C 01 0E 00 01 02 1A 01 30 01 04 B0 01 04 30 01 05 B0 01 05 30 01 06 "
                                         "B0 01 06 30 01 07 B0 01 07 30")),
                               ToHex(Hex("0C 01 0E 00 02 12 03 01 00 08"))}));
}

TEST(MacroPackets, StreamBeyondFifteenPacketsIsNotSent) {
    struct Case {
        const char* mouse;
        int fits;  // events of the longest macro that fits in 15 packets
    };
    for (const Case c : {Case{"102:wired", 101}, Case{"201:wired", 125}}) {
        CoreFixture f(c.mouse);
        f.Start();
        EXPECT_EQ(f.Cmd().SendMacro(0, StoreMacro(f, Keys(c.fits))), DeviceError::None) << c.mouse;
        const auto sent = f.Take();
        ASSERT_EQ(sent.size(), 15u) << c.mouse;
        const size_t packetByte = sent.back()[0] == 0x0C ? 5 : 3;
        EXPECT_EQ(sent.back()[packetByte], 0xEF) << c.mouse;

        EXPECT_EQ(f.Cmd().SendMacro(0, StoreMacro(f, Keys(c.fits + 1))), DeviceError::TooLong) << c.mouse;
        EXPECT_TRUE(f.Take().empty()) << c.mouse;
        ASSERT_EQ(f.Traces().size(), 1u);
        EXPECT_EQ(f.Traces()[0].rfind("0x08: 设置按键宏数据失败!", 0), 0u) << f.Traces()[0];
    }
}

TEST(MacroPackets, UploadOfTheRequestedButtonGoesBeforeTheKeyTable) {
    CoreFixture f("102:wired");
    f.Start();
    const int id = StoreMacro(f, Rows({{kDown, 'A'}, {kUp, 'A'}}));
    MacroRecord macro;
    ASSERT_TRUE(f.db.GetMacro(id, macro));
    macro.play_type = 0;
    macro.play_times = 3;
    f.db.UpdateMacro(id, macro);
    KeyAssignmentRecord key;
    key.profile = f.Profile();
    key.key_code = 4;
    key.macro_type = kMacroFunction;
    key.macro_value = id;
    f.db.SaveKeyAssignment(key);

    EXPECT_EQ(f.Cmd().WriteKeyTable(f.Profile(), 4), DeviceError::None);
    const std::string table = "00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 90 24 03 40 01 00";
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{
                               ToHex(WithChecksum(Hex("00 08 00 01 09 04 30 01 00 04 B0 01 00 04"))),
                               ToHex(WithChecksum(Hex(table)))}));
    EXPECT_EQ(f.Cmd().WriteKeyTable(f.Profile(), 3),
              DeviceError::None);  // a button without a macro: the table only
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(WithChecksum(Hex(table)))});
}

// An upload cut off between packets ends as failed, sends nothing after the lost packet, and goes again
// with the next key write of any button.
TEST(MacroPackets, InterruptedUploadStaysPendingForTheNextKeyWrite) {
    struct Case {
        const char* name;
        const char* mouse;
        SimFault fault;  // on the second packet
        DeviceError error;
        size_t received;  // macro packets the mouse received
    };
    const Case cases[] = {
        {"report family, packet refused", "102:wired", {SimFaultKind::BadStatus, 0x08, 1, 0x01, 1},
         DeviceError::Refused, 2},
        {"report family, unplugged", "102:wired", {SimFaultKind::Unplug, 0x08, 1, 0x01, 1}, DeviceError::Gone,
         1},
        {"feature family, packet refused", "201:wired", {SimFaultKind::WriteFails, 0x0E, 1, 0x01, 1},
         DeviceError::WriteFailed, 2},
        {"feature family, unplugged", "201:wired", {SimFaultKind::Unplug, 0x0E, 1, 0x01, 1},
         DeviceError::Gone, 1},
    };
    for (const Case& c : cases) {
        CoreFixture f(c.mouse);
        f.Start();
        const int type = f.core->CurrentDeviceType();
        const uint8_t macroCommand = IsFeatureFamily(type) ? 0x0E : 0x08;
        auto macroPackets = [&](const std::vector<Bytes>& sent) {
            size_t n = 0;
            for (const Bytes& b : sent) n += (IsFeatureFamily(type) ? b[2] : b[1]) == macroCommand;
            return n;
        };
        KeyAssignmentRecord key;
        key.profile = f.Profile();
        key.key_code = 3;
        key.macro_type = kMacroFunction;
        key.macro_value = StoreMacro(f, Keys(18));  // three packets in either family
        f.db.SaveKeyAssignment(key);

        f.Mouse().InjectFault(c.fault);
        DeviceTaskRequest assign(kTaskWriteKeys);
        assign.keySlot = 3;
        assign.macroSlot = 3;
        const TaskResult result = f.core->ExecuteTask(assign);
        EXPECT_EQ(result.status, TaskStatus::Failed) << c.name;
        EXPECT_EQ(result.error, c.error) << c.name;
        EXPECT_EQ(macroPackets(f.Take()), c.received) << c.name << ": nothing after the lost packet";
        EXPECT_EQ(f.Mouse().Memory().macros.count(3), 0u) << c.name;
        EXPECT_EQ(f.db.ListPendingMacros(), std::vector<int>{3}) << c.name;

        if (!f.Mouse().Plugged()) {
            f.Mouse().Replug();
            EXPECT_EQ(f.Execute(kTaskArrival), TaskStatus::Confirmed) << c.name;
            f.Take();
        }
        // Another button's key write: the pending macro goes first, whole.
        DeviceTaskRequest other(kTaskWriteKeys);
        other.keySlot = 1;
        EXPECT_EQ(f.core->ExecuteTask(other).status, TaskStatus::Confirmed) << c.name;
        EXPECT_EQ(macroPackets(f.Take()), 3u) << c.name;
        EXPECT_EQ(f.Mouse().Memory().macros.at(3).size(), IsFeatureFamily(type) ? 54u : 72u) << c.name;
        EXPECT_TRUE(f.db.ListPendingMacros().empty()) << c.name;
        EXPECT_TRUE(f.Mouse().Issues().empty()) << c.name;
    }
}

}  // namespace
}  // namespace quorvel::test
