// Reading the mouse's configuration back into the settings, and the state it leaves.

#include "DeviceMainFixture.h"
#include "sim/MouseMemory.h"

namespace quorvel::test {
namespace {

TEST(DeviceMainReadBack, StoresWhatTheMouseHolds) {
    CoreFixture f("102:wired,sensor=17,rate_cap=0x20,battery=60");
    MouseMemory m = f.Mouse().Memory();
    m.reportRate = 4;
    m.dpiCount = 3;
    m.dpiIndex = 2;
    m.dpiRaw = {200, 222, 226, 0, 1, 100};  // 10000, 14000, 18000, unused, 50, 5000
    m.dpiColours[0] = {0xFF, 0x80, 0x00};
    m.liftoff = 2;
    m.sensorBit8 = 0;
    m.sensorBit4 = 1;
    m.sleep = 30;
    m.wakeOnMove = 0;
    m.lightOffMoving = 1;
    m.responseTime = 12;
    f.Mouse().SetMemory(m);
    // Stored value of level 3 stays: its raw code decodes to 0.
    EXPECT_EQ(f.Execute(kTaskStart), TaskStatus::Confirmed);

    const std::vector<std::pair<const char*, const char*>> expected = {
        {"report_rate", "4"},         {"report_rate_wireless", "4"}, {"dpi_count", "3"},
        {"dpi_flag", "3"},            {"dpi_index", "2"},            {"dpi_group0_value", "10000"},
        {"dpi_group1_value", "14000"}, {"dpi_group2_value", "18000"}, {"dpi_group3_value", "3200"},
        {"dpi_group4_value", "50"},   {"dpi_group5_value", "5000"},  {"dpi_group0_rgb", "33023"},
        {"liftoff_height", "2"},      {"sensor_flag", "53"},         {"sleep_light", "30"},
        {"move_wakeup", "0"},         {"move_closelight", "1"},      {"button_respondtime", "12"},
    };
    // sensor_flag: the default 53 keeps 1, 16 and 32, which the mouse does not carry; 4 is the mouse's.
    for (const auto& [key, value] : expected) EXPECT_EQ(f.Get(key), value) << key;

    const DeviceState s = f.core->Snapshot();
    EXPECT_EQ(s.sensorCode, 17);
    EXPECT_EQ(s.maxDpi, 18000);
    EXPECT_EQ(s.dpiStep, 50);
    EXPECT_EQ(s.sliderPositions, 226);
    EXPECT_EQ(s.reportRateEntry, 6);
    EXPECT_EQ(s.batteryLevel, 60);
    EXPECT_EQ(s.linkFlag, 1);
    EXPECT_TRUE(s.readDeviceTypes.count(102));
    EXPECT_TRUE(s.connected);
    EXPECT_TRUE(s.devicePresent);
}

// The mouse carries the sensor options 8 and 4; the third option (16) and the other bits stay as stored.
TEST(DeviceMainReadBack, SensorFlagKeepsTheBitsTheMouseDoesNotCarry) {
    struct Case {
        const char* stored;
        uint8_t bit8, bit4;
        const char* expected;
    };
    const Case cases[] = {
        {"16", 0, 0, "16"}, {"16", 1, 1, "28"}, {"28", 0, 1, "20"}, {"28", 0, 0, "16"},
        {"12", 1, 0, "8"},  {"0", 0, 1, "4"},   {"53", 1, 0, "57"},
    };
    CoreFixture f("102:wired");
    f.Start();
    for (const Case& c : cases) {
        MouseMemory m = f.Mouse().Memory();
        m.sensorBit8 = c.bit8;
        m.sensorBit4 = c.bit4;
        f.Mouse().SetMemory(m);
        f.Set("sensor_flag", c.stored);
        f.core->ForgetReadDevices();
        EXPECT_EQ(f.Cmd().ReadDeviceConfig(), DeviceError::None);
        EXPECT_EQ(f.Get("sensor_flag"), c.expected)
            << c.stored << " with bytes " << int(c.bit8) << int(c.bit4);
    }
}

// Brightness and speed share a byte (brightness << 4 | speed); 0x22 reads the same either way round.
TEST(DeviceMainReadBack, LightingBrightnessAndSpeedApart) {
    CoreFixture f("102:wired");
    f.Start();
    MouseMemory m = f.Mouse().Memory();
    m.lightMode = 3;
    m.light[3].brightnessSpeed = 0x41;
    f.Mouse().SetMemory(m);
    f.core->ForgetReadDevices();
    EXPECT_EQ(f.Cmd().ReadDeviceConfig(), DeviceError::None);
    EXPECT_EQ(f.db.GetActiveLightMode(f.Profile()), 3);
    LightModeRecord row;
    ASSERT_TRUE(f.db.GetLightMode(f.Profile(), 3, row));
    EXPECT_EQ(row.brightness, 4);
    EXPECT_EQ(row.speed, 1);
}

TEST(DeviceMainReadBack, SecondReadSendsNothingUntilForgotten) {
    CoreFixture f("102:wired");
    f.Start();
    EXPECT_EQ(f.Cmd().ReadDeviceConfig(), DeviceError::None);
    EXPECT_TRUE(f.Take().empty());
    f.core->ForgetReadDevices();
    EXPECT_EQ(f.Cmd().ReadDeviceConfig(), DeviceError::None);
    std::vector<std::string> commands;
    for (const Bytes& b : f.Take()) commands.push_back(ToHex(Bytes(b.begin(), b.begin() + 2)));
    // Wired: no firmware-version request through the receiver.
    EXPECT_EQ(commands, (std::vector<std::string>{"00 11 ", "00 12 ", "00 13 ", "00 13 ", "00 14 ", "00 15 ",
                                                   "00 16 ", "00 17 "}));
}

TEST(DeviceMainReadBack, WirelessAsksForTheMouseFirmware) {
    CoreFixture f("103:wireless,release=0x0105");
    f.Start();
    f.core->ForgetReadDevices();
    EXPECT_EQ(f.Cmd().ReadDeviceConfig(), DeviceError::None);
    const auto sent = f.Take();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[1], 0x20);
    const std::string version = f.core->Snapshot().mouseFirmwareVersion;
    EXPECT_EQ(version, "105");
    // "<text 551>: <first character>.<last two characters>"
    const auto events = f.view.Events();
    ASSERT_FALSE(events.empty());
    const std::string label = events.back();
    EXPECT_EQ(label.substr(0, 8), "fwlabel ");
    EXPECT_EQ(label.substr(label.size() - 6), ": 1.05");
}

TEST(DeviceMainReadBack, UnlinkedOrMissingDeviceFails) {
    CoreFixture f("103:wireless,link=0");
    EXPECT_EQ(f.Execute(kTaskStart), TaskStatus::Failed);
    const auto traces = f.Traces();
    EXPECT_NE(std::find(traces.begin(), traces.end(), "无线设备未连接"), traces.end());
    EXPECT_NE(std::find(traces.begin(), traces.end(), "获取鼠标数据异常, 当前模式: 1"), traces.end());
    EXPECT_FALSE(f.core->Snapshot().readDeviceTypes.count(103));

    CoreFixture none("");
    EXPECT_EQ(none.Execute(kTaskStart), TaskStatus::Failed);
    EXPECT_NE(none.Cmd().ReadDeviceConfig(), DeviceError::None);
    EXPECT_FALSE(none.core->Snapshot().devicePresent);
}

TEST(DeviceMainReadBack, FeatureFamilyReadsOnlyTheInfoBlock) {
    CoreFixture f("201:wired,battery=42");
    EXPECT_EQ(f.Execute(kTaskStart), TaskStatus::Confirmed);
    f.Take();
    f.core->ForgetReadDevices();
    EXPECT_EQ(f.Cmd().ReadDeviceConfig(), DeviceError::None);
    EXPECT_TRUE(f.Take().empty());
    const DeviceState s = f.core->Snapshot();
    EXPECT_EQ(s.sensorCode, '5');  // the third id character of "F15A"
    EXPECT_EQ(s.maxDpi, 16000);
    EXPECT_EQ(s.reportRateEntry, 4);
    EXPECT_EQ(s.batteryLevel, 42);
}

TEST(DeviceMainModel, LoaderSwitchesDatabaseAndKeepsSwitches) {
    CoreFixture f("102:wired");
    f.Start();
    DeviceState s = f.core->Snapshot();
    EXPECT_EQ(s.modelKey, "QuorvelR2");
    EXPECT_EQ(s.modelName, "Quorvel R2");
    EXPECT_TRUE(s.model.light);
    EXPECT_EQ(s.model.keys.size(), 6u);
    EXPECT_NE(f.db.Path().find("QuorvelR2_data.db"), std::string::npos);
    EXPECT_EQ(s.currentProfile, 1);

    f.core->LoadModel(999);  // no model: empty key, previous switches stay
    s = f.core->Snapshot();
    EXPECT_EQ(s.modelKey, "");
    EXPECT_EQ(s.model.keys.size(), 6u);
}

}  // namespace
}  // namespace quorvel::test
