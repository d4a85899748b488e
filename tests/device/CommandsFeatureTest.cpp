// Feature-family commands against the virtual mouse: 33-byte feature reports with the write sequence.

#include "DeviceMainFixture.h"
#include "store/ButtonCodes.h"

namespace quorvel::test {
namespace {

class FeatureCommands : public ::testing::Test {
protected:
    FeatureCommands() : f("201:wired") { f.Start(); }
    CoreFixture f;
};

// Sequence numbers count every feature-family write of the core, starting at 0.
TEST_F(FeatureCommands, PerformanceCatalogue) {
    f.Set("report_rate", "2");
    f.Set("dpi_count", "5");
    f.Set("dpi_index", "2");
    // Sensor 53 (the third id character): 100..16000. Colours 1-4 keep their defaults.
    const char* values[6] = {"30", "800", "1600", "3200", "6400", "30000"};
    for (int n = 0; n < 6; ++n) f.Set("dpi_group" + std::to_string(n) + "_value", values[n]);
    f.Set("dpi_group0_rgb", "33023");
    f.Set("dpi_group5_rgb", "16777215");
    f.Set("liftoff_height", "2");
    f.Set("sensor_flag", "12");
    f.Set("sleep_light", "30");
    f.Set("move_closelight", "0");

    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::None);
    EXPECT_EQ(f.Cmd().WriteDpiLevels(), DeviceError::None);
    EXPECT_EQ(f.Cmd().WriteDpiColours(), DeviceError::None);
    EXPECT_EQ(f.Cmd().WriteAdvanced(), DeviceError::None);
    EXPECT_EQ(f.Cmd().WritePower(), DeviceError::None);
    const std::vector<std::string> expected = {
        ToHex(Hex("0C 01 07 00 00 01 01 02")),
        ToHex(Hex("0C 01 05 00 01 01 12 35 3F 01 00 08 00 10 00 20 00 40 00 A0 00")),
        ToHex(Hex("0C 01 06 00 02 01 18 FF 80 00 00 00 FF 00 FF 00 FF FF 00 FF 00 FF FF FF FF")),
        ToHex(Hex("0C 01 07 00 03 01 02 02 01")),
        ToHex(Hex("0C 01 0B 00 04 01 02 1E 00")),
        ToHex(Hex("0C 01 0C 00 05 01 01 00")),
    };
    EXPECT_EQ(f.TakeHex(), expected);
    EXPECT_TRUE(f.Traces().empty());
}

// This family carries only the sensor option 4 (byte 8); options 8 and 16 do not reach the mouse.
TEST_F(FeatureCommands, AdvancedCarriesOnlySensorOptionFour) {
    struct Case {
        const char* flag;
        const char* expected;
    };
    const Case cases[] = {
        {"4", "0C 01 07 00 00 01 02 01 01"},
        {"8", "0C 01 07 00 01 01 02 01 00"},
        {"16", "0C 01 07 00 02 01 02 01 00"},
        {"53", "0C 01 07 00 03 01 02 01 01"},
    };
    f.Set("liftoff_height", "1");
    for (const Case& c : cases) {
        f.Set("sensor_flag", c.flag);
        EXPECT_EQ(f.Cmd().WriteAdvanced(), DeviceError::None) << c.flag;
        EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(Hex(c.expected))}) << c.flag;
    }
    EXPECT_EQ(f.Mouse().Memory().sensorBit4, 1);
}

TEST_F(FeatureCommands, SequenceByteWrapsAfter254) {
    for (int i = 0; i < 256; ++i) f.Cmd().WriteReportRate();
    const auto sent = f.Take();
    ASSERT_EQ(sent.size(), 256u);
    EXPECT_EQ(sent[254][4], 254);
    EXPECT_EQ(sent[255][4], 0);
    EXPECT_EQ(f.core->Snapshot().featureWriteCounter, 256);
}

TEST_F(FeatureCommands, KeysOneSlotAtATime) {
    EXPECT_EQ(f.Cmd().WriteKeyFunction(0, 3), DeviceError::None);
    EXPECT_EQ(f.Cmd().WriteKeyFunction(0, 7), DeviceError::None);  // beyond the defaults: 10 00 00
    KeyAssignmentRecord key;
    key.profile = f.Profile();
    key.key_code = 7;
    key.macro_type = kKeyboardKey;
    key.macro_value = 0xE3;  // left Win alone: modifier bit, no usage
    f.db.SaveKeyAssignment(key);
    EXPECT_EQ(f.Cmd().WriteKeyFunction(0, 7), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{ToHex(Hex("0C 01 04 00 00 01 04 03 10 08 00")),
                                                      ToHex(Hex("0C 01 04 00 01 01 04 07 10 00 00")),
                                                      ToHex(Hex("0C 01 04 00 02 01 04 07 70 08 00"))}));

    // Every button of the model goes back, 6 and 7 included, which get 10 00 00.
    EXPECT_EQ(f.Cmd().WriteDefaultKeys(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{
                               ToHex(Hex("0C 01 04 00 03 01 04 00 10 01 00")),
                               ToHex(Hex("0C 01 04 00 04 01 04 01 10 02 00")),
                               ToHex(Hex("0C 01 04 00 05 01 04 02 10 04 00")),
                               ToHex(Hex("0C 01 04 00 06 01 04 03 10 08 00")),
                               ToHex(Hex("0C 01 04 00 07 01 04 04 10 10 00")),
                               ToHex(Hex("0C 01 04 00 08 01 04 05 40 01 00")),
                               ToHex(Hex("0C 01 04 00 09 01 04 06 10 00 00")),
                               ToHex(Hex("0C 01 04 00 0A 01 04 07 10 00 00")),
                           }));
}

TEST_F(FeatureCommands, LightingAndResets) {
    LightModeRecord row;
    ASSERT_TRUE(f.db.GetLightMode(f.Profile(), 2, row)) << "task 1 made the profile's default rows";
    row.brightness = 4;
    row.speed = 3;
    for (int& colour : row.color_value) colour = 0;
    row.color_value[0] = 255;
    f.db.UpdateLightMode(2, row);
    EXPECT_EQ(f.Cmd().WriteLighting(f.Profile(), 2), DeviceError::None);
    EXPECT_EQ(f.TakeHex(),
              std::vector<std::string>{ToHex(Hex("0C 01 08 00 00 01 18 02 43 07 FF 00 00"))});

    // No read-back here: the lighting reset is mode 2 with brightness and speed 2, written as usual.
    EXPECT_EQ(f.Cmd().ResetLighting(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(),
              std::vector<std::string>{ToHex(Hex("0C 01 08 00 01 01 18 02 22 07 FF 00 00"))});
    LightModeRecord stored;
    ASSERT_TRUE(f.db.GetLightMode(f.Profile(), 2, stored));
    EXPECT_EQ(stored.brightness, 2);
    EXPECT_EQ(stored.speed, 2);

    EXPECT_EQ(f.Cmd().FactoryReset(), DeviceError::None);
    EXPECT_EQ(f.TakeHex(), (std::vector<std::string>{ToHex(Hex("0C 01 0F 00 02 01 01 FF")),
                                                      ToHex(Hex("0C 01 08 00 03 01 18 02 22 07 FF 00 00"))}));

    f.Set("report_rate", "8");
    EXPECT_EQ(f.Cmd().ResetReportRate(), DeviceError::None);
    EXPECT_EQ(f.Get("report_rate"), "1");
    EXPECT_EQ(f.Get("report_rate_wireless"), "1");
    EXPECT_EQ(f.TakeHex(), std::vector<std::string>{ToHex(Hex("0C 01 07 00 04 01 01 01"))});
}

TEST_F(FeatureCommands, RefusedReportTracesAndReports) {
    f.Mouse().InjectFault({SimFaultKind::WriteFails, 0x07, 1, 0});
    EXPECT_EQ(f.Cmd().WriteReportRate(), DeviceError::WriteFailed);
    EXPECT_EQ(f.Traces(), std::vector<std::string>{"0x02: 设置回报率失败"});
}

}  // namespace
}  // namespace quorvel::test
