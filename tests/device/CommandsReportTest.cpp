// Report-family commands against the virtual mouse: the bytes it receives, written from the protocol.

#include <functional>

#include "DeviceMainFixture.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

struct Case {
    const char* name;
    const char* mouse;                             // virtual mouse spec
    std::vector<std::pair<const char*, const char*>> settings;  // stored before the command
    std::function<DeviceError(DeviceCommands&)> command;
    std::vector<const char*> expected;             // requests without checksum; checksum added here
};

DeviceError Rate(DeviceCommands& c) {
    return c.WriteReportRate();
}
DeviceError Dpi(DeviceCommands& c) {
    return c.WriteDpiLevels();
}
DeviceError Colours(DeviceCommands& c) {
    return c.WriteDpiColours();
}
DeviceError Advanced(DeviceCommands& c) {
    return c.WriteAdvanced();
}
DeviceError Power(DeviceCommands& c) {
    return c.WritePower();
}

const std::vector<Case> kCases = {
    {"report rate 1000 Hz", "102:wired", {{"report_rate", "1"}}, Rate, {"00 02 00 01 01 01"}},
    {"report rate 8000 Hz", "102:wired", {{"report_rate", "64"}}, Rate, {"00 02 00 01 01 40"}},
    // count 5, index 2 -> 0x25; 30 -> code of 100, 30000 -> code of 8000 on sensor 4; X then Y.
    {"dpi levels, sensor 4 clamps both ends", "102:wired,sensor=4",
     {{"dpi_count", "5"}, {"dpi_index", "2"}, {"dpi_group0_value", "30"}, {"dpi_group1_value", "800"},
      {"dpi_group2_value", "1600"}, {"dpi_group3_value", "30000"}, {"dpi_group4_value", "6400"},
      {"dpi_group5_value", "8000"}},
     Dpi,
     {"00 03 00 01 25 25 01 00 01 00 08 00 08 00 10 00 10 00 50 00 50 00 40 00 40 00 50 00 50 00 00 00"}},
    {"dpi levels, sensor 17 upper ranges", "102:wired,sensor=17",
     {{"dpi_count", "6"}, {"dpi_index", "0"}, {"dpi_group0_value", "10000"}, {"dpi_group1_value", "10100"},
      {"dpi_group2_value", "12000"}, {"dpi_group3_value", "13000"}, {"dpi_group4_value", "18000"},
      {"dpi_group5_value", "50"}},
     Dpi,
     {"00 03 00 01 25 06 C8 00 C8 00 C9 00 C9 00 DC 00 DC 00 DD 00 DD 00 E2 00 E2 00 01 00 01 00"}},
    {"dpi levels, sensor 149 codes above 255", "102:wired,sensor=149",
     {{"dpi_count", "1"}, {"dpi_index", "0"}, {"dpi_group0_value", "26000"}, {"dpi_group1_value", "50"},
      {"dpi_group2_value", "100"}, {"dpi_group3_value", "12800"}, {"dpi_group4_value", "0"},
      {"dpi_group5_value", "99999"}},
     Dpi,
     {"00 03 00 01 25 01 07 02 07 02 00 00 00 00 01 00 01 00 FF 00 FF 00 00 00 00 00 07 02 07 02"}},
    {"dpi colours red/green/blue order", "102:wired",
     {{"dpi_group0_rgb", "33023"}, {"dpi_group1_rgb", "255"}, {"dpi_group2_rgb", "65280"},
      {"dpi_group3_rgb", "16711680"}, {"dpi_group4_rgb", "0"}, {"dpi_group5_rgb", "16777215"}},
     Colours, {"00 04 00 01 12 FF 80 00 FF 00 00 00 FF 00 00 00 FF 00 00 00 FF FF FF"}},
    {"advanced: sensor_flag 12 sends both flags", "102:wired",
     {{"liftoff_height", "2"}, {"sensor_flag", "12"}}, Advanced, {"00 06 00 01 05 02 01 01"}},
    {"advanced: bit 16 is not sent", "102:wired", {{"liftoff_height", "1"}, {"sensor_flag", "16"}},
     Advanced, {"00 06 00 01 05 01 00 00"}},
    {"advanced: default 53 has bit 4 only", "102:wired", {{"liftoff_height", "1"}, {"sensor_flag", "53"}},
     Advanced, {"00 06 00 01 05 01 00 01"}},
    {"power", "102:wired",
     {{"sleep_light", "180"}, {"move_wakeup", "0"}, {"move_closelight", "1"}, {"button_respondtime", "20"}},
     Power, {"00 07 00 01 04 B4 00 01 14"}},
};

class ReportCommands : public ::testing::TestWithParam<Case> {};

TEST_P(ReportCommands, SendsTheProtocolBytes) {
    const Case& c = GetParam();
    CoreFixture f(c.mouse);
    f.Start();
    for (const auto& [key, value] : c.settings) f.Set(key, value);
    EXPECT_EQ(c.command(f.Cmd()), DeviceError::None);
    std::vector<std::string> expected;
    for (const char* e : c.expected) expected.push_back(ToHex(WithChecksum(Hex(e))));
    EXPECT_EQ(f.TakeHex(), expected);
    EXPECT_TRUE(f.Traces().empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ReportCommands, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

TEST(ReportCommandsFailure, UnconfirmedWriteTracesAndReports) {
    struct Fail {
        std::function<DeviceError(DeviceCommands&)> command;
        int commandByte;
        const char* trace;
    };
    const std::vector<Fail> cases = {
        {Rate, 0x02, "0x02: 设置回报率失败"},
        {Dpi, 0x03, "0x02: 设置回报率失败"},
        {Colours, 0x04, "0x04: 设置鼠标DPI颜色数据失败"},
        {Advanced, 0x06, "0x02: 设置高级参数失败"},
        {Power, 0x07, "0x07: 设置睡眠时间、移动关闭灯效使能"},
        {[](DeviceCommands& c) { return c.WriteKeyTable(); }, 0x09, "0x09: 设置按键功能失败"},
    };
    CoreFixture f("102:wired");
    f.Start();
    for (const Fail& c : cases) {
        f.Mouse().InjectFault({SimFaultKind::BadStatus, c.commandByte, 1, 0x01});
        f.ClearTraces();
        EXPECT_EQ(c.command(f.Cmd()), DeviceError::Refused) << c.trace;
        EXPECT_EQ(f.Traces(), std::vector<std::string>{c.trace});
    }
}

TEST(ReportCommandsFailure, NoDeviceFailsEveryWrite) {
    CoreFixture f("");
    f.Execute(kTaskStart);
    f.ClearTraces();
    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::NoDevice);
    EXPECT_EQ(f.Cmd().WriteDpiLevels(), DeviceError::NoDevice);
    EXPECT_EQ(f.Traces(), (std::vector<std::string>{"0x02: 设置回报率失败", "0x02: 设置回报率失败"}));
}

// Lighting rows carry the mode's data; the layouts differ per mode.
TEST(ReportCommandsLighting, EveryModeLayout) {
    struct Mode {
        int mode;
        const char* expected;
    };
    const std::vector<Mode> modes = {
        {0, "00 05 00 01 02 00 32"},
        {1, "00 05 00 01 03 01 32 00"},
        {2, "00 05 00 01 18 02 32 07 FF 00 00 00 FF 00 00 00 FF 00 FF FF FF FF 00 FF 00 FF FF FF FF"},
        {3, "00 05 00 01 05 03 32 FF 00 00"},
        {4, "00 05 00 01 02 04 32"},
        {5, "00 05 00 01 02 05 32"},
        {9, "00 05 00 01 00"},
    };
    CoreFixture f("102:wired");
    f.Start();
    for (const Mode& m : modes) {
        LightModeRecord row;
        const bool stored = f.db.GetLightMode(f.Profile(), m.mode, row);  // task 1 made the default rows
        row.profile = f.Profile();
        row.mode = m.mode;
        row.brightness = 3;
        row.speed = 2;
        const int colours[7] = {255, 65280, 16711680, 16776960, 65535, 16711935, 16777215};
        for (int k = 0; k < 7; ++k) row.color_value[k] = colours[k];
        if (stored)
            f.db.UpdateLightMode(m.mode, row);
        else
            f.db.AddLightMode(row);
        // The virtual mouse knows modes 0-5 only; an unknown mode still goes out in its own layout.
        EXPECT_EQ(f.Cmd().WriteLighting(f.Profile(), m.mode),
                  m.mode <= 5 ? DeviceError::None : DeviceError::Refused)
            << m.mode;
        EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(WithChecksum(Hex(m.expected)))}) << m.mode;
    }
}

TEST(ReportCommandsLighting, NoRowSendsNothing) {
    CoreFixture f("102:wired");
    f.Start();
    EXPECT_EQ(f.Cmd().WriteLighting(f.Profile(), 7), DeviceError::NothingToSend);
    EXPECT_TRUE(f.Take().empty());
}

TEST(ReportCommandsKeys, DefaultTableAndSlotsBeyondEight) {
    CoreFixture f("102:wired");
    f.Start();
    const std::string defaults = "00 09 00 01 0F 10 01 00 10 02 00 10 04 00 10 08 00 10 10 00 40 01 00";
    EXPECT_EQ(f.Cmd().WriteKeyTable(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(WithChecksum(Hex(defaults)))});

    // Slot 9 lies beyond the 27 bytes of the request; slot 8 is the last one the mouse receives.
    KeyAssignmentRecord nine;
    nine.profile = f.Profile();
    nine.key_code = 9;
    nine.macro_type = kFixedFunction;
    nine.macro_value = 1;
    f.db.SaveKeyAssignment(nine);
    EXPECT_EQ(f.Cmd().WriteKeyTable(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(WithChecksum(Hex(defaults)))});

    KeyAssignmentRecord eight = nine;
    eight.key_code = 8;
    f.db.SaveKeyAssignment(eight);
    EXPECT_EQ(f.Cmd().WriteKeyTable(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(WithChecksum(Hex(defaults + " 00 00 00 00 00 00 60 00 00")))});
}

TEST(ReportCommandsKeys, DefaultKeysSendTheTable) {
    CoreFixture f("102:wired");
    f.Start();
    EXPECT_EQ(f.Cmd().WriteDefaultKeys(), DeviceError::None);
    const auto sent = f.Take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][1], 0x09);
}

TEST(ReportCommandsReset, ResetsAndReadBack) {
    CoreFixture f("102:wired");
    f.Start();
    EXPECT_EQ(f.Cmd().FactoryReset(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(WithChecksum(Hex("00 0F 00 01 01 FF")))});

    f.Set("report_rate", "8");
    EXPECT_EQ(f.Cmd().ResetReportRate(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{ToHex(WithChecksum(Hex("00 0D 00 01 01 01"))),
                                                      ToHex(Hex("00 12"))}));
    const std::string rate = std::to_string(f.Mouse().Memory().reportRate);
    EXPECT_EQ(f.Get("report_rate"), rate);
    EXPECT_EQ(f.Get("report_rate_wireless"), rate);
    EXPECT_EQ(f.view.Events().back(), "rate " + rate);

    EXPECT_EQ(f.Cmd().ResetLighting(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{ToHex(WithChecksum(Hex("00 0E 00 01 01 01"))),
                                                      ToHex(Hex("00 15"))}));
    EXPECT_EQ(f.core->Snapshot().currentLightMode, f.Mouse().Memory().lightMode);
}

}  // namespace
}  // namespace quorvel::test
