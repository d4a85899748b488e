#include "shell/DeviceDescriptor.h"

#include <gtest/gtest.h>

#include <map>

#include "shell/Localisation.h"
#include "shell/ProductConfig.h"

namespace quorvel {
namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

// Only a leading "#" is skipped: "FF8000" without it is the same colour, not 248.
TEST(ColorFromTextTest, SkipsALeadingHashAndFillsFromRed) {
    const std::pair<const char*, int> cases[] = {
        {"#FF8000", 33023},
        {"#FF", 255},
        {"FF8000", 33023},
        {"#0000ff", 16711680},
        {"0000ff", 16711680},
        {"FF", 255},
        {"#12345", 0x053412},
        {"#1234", 0x3412},
        {"#123", 0x0312},
        {"#1", 0},
        {"#1234567", 0},
        {"1234567", 0},
        {"", 0},
        {"#", 0},
        {"#zz8000", 0x8000},
        {"#-1FFFF", 0xFFFFFF},  // "-1" reads as -1, taken modulo 256
        {"中FF8000", 0},        // seven characters: no colour
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ColorFromText(text), value) << text;
}

TEST(SplitKeyRectTest, MissingSeparatorsGiveZero) {
    struct Case {
        const char* rect;
        int x1, x2, y;
    };
    const Case cases[] = {
        {"120#40#300", 120, 40, 300}, {"300", 0, 0, 300}, {"120#300", 120, 0, 300},
        {"", 0, 0, 0},                {"a#b#c", 0, 0, 0}, {"1#2#3#4", 1, 2, 3},
    };
    for (const Case& c : cases) {
        int x1 = -1, x2 = -1, y = -1;
        SplitKeyRect(c.rect, &x1, &x2, &y);
        EXPECT_EQ(x1, c.x1) << c.rect;
        EXPECT_EQ(x2, c.x2) << c.rect;
        EXPECT_EQ(y, c.y) << c.rect;
    }
}

// The catalogue check: every model of the sample config.xml has a descriptor the program can read, with
// the buttons every model has and the lighting zones its data promises.
TEST(SampleDescriptorTest, EveryModelOfTheSampleProductHasAReadableDescriptor) {
    ProductConfig config;
    ASSERT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &config));
    ASSERT_FALSE(config.models.empty());
    // key code -> default (func_type, func_value): left, right, middle, back, forward, DPI
    const std::map<int, std::pair<int, int>> common = {{0, {1, 1}}, {1, {1, 3}}, {2, {1, 2}},
                                                       {3, {1, 6}}, {4, {1, 5}}, {5, {5, 3}}};
    for (const DeviceEntry& model : config.models) {
        SCOPED_TRACE(model.device_attr);
        DeviceDescriptor d;
        ASSERT_TRUE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, model.device_attr, &d));
        ASSERT_TRUE(d.mouse_img && d.light && d.custom && d.firmware_url && d.mouse_key);
        EXPECT_EQ(d.firmware_url->rfind("https://updates.example.com/quorvel/", 0), 0u);
        EXPECT_GE(d.mouse_key->size(), 5u);
        EXPECT_LE(d.mouse_key->size(), 8u);
        std::map<int, std::pair<int, int>> seen;
        for (const DescriptorKey& key : *d.mouse_key) {
            EXPECT_TRUE(seen.emplace(key.key_value, std::pair{key.func_type, key.func_value}).second)
                << "key code " << key.key_value << " twice";
            EXPECT_GT(key.name, 0);
            EXPECT_GT(key.func_desc, 0);
            EXPECT_GT(key.y, 0);
        }
        for (const auto& [code, function] : common) EXPECT_EQ(seen[code], function) << "key code " << code;

        ASSERT_TRUE(d.has_mouse_info && d.dpi_info && d.report_rate && d.sleep_light && d.move_wakeup &&
                    d.move_closelight);
        int count = ParseDec(d.dpi_info->dpi_count);
        EXPECT_GE(count, 1);
        EXPECT_LE(count, 6);
        EXPECT_LT(ParseDec(d.dpi_info->default_dpi), count);
        for (const auto& level : d.dpi_info->dpi) {
            ASSERT_TRUE(level);
            EXPECT_GT(ParseDec(level->value), 0);
            EXPECT_EQ(level->color.size(), 7u);
        }
    }
}

TEST(SampleDescriptorTest, EveryCaptionExistsInEveryOfferedLanguage) {
    StartupConfig startup;
    ProductConfig config;
    ASSERT_TRUE(ReadStartupConfig(QUORVEL_PRODUCT_DIR, &startup));
    ASSERT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &config));
    for (int lcid : startup.languages) {
        const std::string file = LanguageFilePath(QUORVEL_PRODUCT_DIR, lcid);
        for (const DeviceEntry& model : config.models) {
            DeviceDescriptor d;
            ASSERT_TRUE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, model.device_attr, &d));
            for (const DescriptorKey& key : *d.mouse_key) {
                for (int id : {key.name, key.func_desc}) {
                    std::string caption;
                    EXPECT_TRUE(ReadProfileString(file, "LAN", std::to_string(id), &caption) && !caption.empty())
                        << model.device_attr << ": text " << id << " missing in " << file;
                }
            }
        }
    }
}

TEST(SampleDescriptorTest, LightingOfEachModel) {
    struct Case {
        const char* attr;
        bool light;
        std::array<bool, 6> zones;
    };
    const Case cases[] = {
        {"QuorvelR2", true, {true, true, true, true, true, true}},
        {"QuorvelR3", false, {}},
        {"QuorvelF1", true, {true, true, true, false, false, true}},
    };
    for (const Case& c : cases) {
        DeviceDescriptor d;
        ASSERT_TRUE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, c.attr, &d)) << c.attr;
        EXPECT_EQ(*d.light, c.light) << c.attr;
        ModelState state;
        ApplyModelDescriptor(d, &state);
        EXPECT_EQ(state.light_zone, c.zones) << c.attr;
    }
}

TEST(DeviceDescriptorTest, ReadsEveryFieldOfASmallFile) {
    DeviceDescriptor d;
    ASSERT_TRUE(ParseDeviceDescriptor(R"(<mouse>
  <image_file mouse_img="m.png"/><menu light="2"/>
  <custom show_dpitips="1" show_savetips="0" show_lod="2" show_sensor="1"/>
  <firmware url="https://fw/"/>
  <mouse_key>
    <key name="106" key_value="0" direction="1" rect="120#40#300" func_desc="0106" func_type="1" func_value="1"/>
    <key name="x" key_value="3" rect="300"/>
  </mouse_key>
  <mouse_info>
    <dpi_info default_dpi="1" dpi_count="4"><dpi_1 value="800" color="#FF8000"/><dpi_3 value="3200" color="#FF"/></dpi_info>
    <light_info><light_2 enable="1" config_func="0x813"/><light_5 enable="0" config_func="17"/></light_info>
    <report_rate default_value="263"/><move_wakeup value="1"/>
  </mouse_info>
</mouse>)",
                                      &d));
    EXPECT_EQ(*d.mouse_img, "m.png");
    EXPECT_FALSE(*d.light) << "only 1 switches on";
    EXPECT_TRUE(d.custom->show_dpitips);
    EXPECT_FALSE(d.custom->show_lod);
    EXPECT_EQ(*d.firmware_url, "https://fw/");
    ASSERT_EQ(d.mouse_key->size(), 2u);
    const DescriptorKey& k = (*d.mouse_key)[0];
    EXPECT_EQ(k.name, 106);
    EXPECT_EQ(k.name_text, "106");
    EXPECT_EQ(k.key_value, 0);
    EXPECT_EQ(k.direction, 1);
    EXPECT_EQ(k.rect, "120#40#300");
    EXPECT_EQ((std::array{k.x1, k.x2, k.y}), (std::array{120, 40, 300}));
    EXPECT_EQ(k.func_desc, 106);
    EXPECT_EQ(k.func_type, 1);
    EXPECT_EQ(k.func_value, 1);
    EXPECT_EQ(k.func_desc_text, "0106") << "the default assignment keeps the attribute's text";
    EXPECT_EQ((*d.mouse_key)[1].name, 0);
    EXPECT_EQ((*d.mouse_key)[1].x1, 0);
    EXPECT_EQ((*d.mouse_key)[1].y, 300);
    EXPECT_FALSE(d.light_enable[0]);
    EXPECT_EQ(d.light_enable[1], std::optional<bool>(true));
    EXPECT_EQ(d.light_enable[4], std::optional<bool>(false));
    EXPECT_EQ(d.light_config[1], std::optional<int>(0x813)) << "hexadecimal";
    EXPECT_EQ(d.light_config[4], std::optional<int>(17)) << "decimal";
    EXPECT_FALSE(d.light_config[0]);
    EXPECT_EQ(ReportRateCapability(d), std::optional<int>(7));

    EXPECT_EQ(DefaultSettings(d, true), (Settings{{"dpi_index", "1"},
                                                  {"dpi_flag", "4"},
                                                  {"dpi_count", "4"},
                                                  {"dpi_group0_value", "800"},
                                                  {"dpi_group0_rgb", "33023"},
                                                  {"dpi_group2_value", "3200"},
                                                  {"dpi_group2_rgb", "255"}}));
    Settings full = DefaultSettings(d, false);
    ASSERT_EQ(full.size(), 9u);
    EXPECT_EQ(full[7], (std::pair<std::string, std::string>{"report_rate", "263"}));
    EXPECT_EQ(full[8], (std::pair<std::string, std::string>{"move_wakeup", "1"}));
}

TEST(DeviceDescriptorTest, EachLoaderWalksForwardOnItsOwn) {
    // mouse_info before mouse_key: the model loader, having found mouse_key, no longer sees mouse_info
    // (so no zones), while the defaults loader searches mouse from its start and finds the DPI defaults.
    DeviceDescriptor d;
    ASSERT_TRUE(ParseDeviceDescriptor(R"(<mouse>
  <mouse_info><light_info><light_1 enable="1"/></light_info><dpi_info dpi_count="2"/></mouse_info>
  <mouse_key><key key_value="0"/></mouse_key>
</mouse>)",
                                      &d));
    EXPECT_TRUE(d.mouse_key);
    EXPECT_FALSE(d.light_enable[0]);
    ASSERT_TRUE(d.dpi_info);
    EXPECT_EQ(d.dpi_info->dpi_count, "2");

    // firmware is searched after menu was found, so a firmware standing before menu is not seen.
    ASSERT_TRUE(ParseDeviceDescriptor(R"(<mouse><firmware url="x"/><menu light="1"/></mouse>)", &d));
    EXPECT_TRUE(d.light);
    EXPECT_FALSE(d.firmware_url);

    // light_info may stand anywhere under mouse_info.
    ASSERT_TRUE(ParseDeviceDescriptor(
        R"(<mouse><mouse_info><dpi_info/><report_rate/><light_info><light_6 enable="1"/></light_info></mouse_info></mouse>)",
        &d));
    EXPECT_EQ(d.light_enable[5], std::optional<bool>(true));

    // dpi levels out of order: dpi_3 is searched after dpi_2 was found.
    ASSERT_TRUE(ParseDeviceDescriptor(
        R"(<mouse><mouse_info><dpi_info><dpi_3 value="3"/><dpi_2 value="2"/></dpi_info></mouse_info></mouse>)", &d));
    EXPECT_TRUE(d.dpi_info->dpi[1]);
    EXPECT_FALSE(d.dpi_info->dpi[2]);
}

TEST(DeviceDescriptorTest, UnreadableFilesAreRefused) {
    DeviceDescriptor d;
    d.mouse_img = "stale";
    EXPECT_FALSE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, "NoSuchModel", &d));
    EXPECT_FALSE(d.mouse_img);
    EXPECT_FALSE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, "", &d));
    EXPECT_FALSE(ParseDeviceDescriptor("<device><menu light=\"1\"/></device>", &d)) << "no mouse root";
    EXPECT_FALSE(ParseDeviceDescriptor("<mouse><menu light=\"1\"></mouse>", &d)) << "not well-formed";
    EXPECT_EQ(DescriptorPath("/p/", "QuorvelR2"), "/p/device/QuorvelR2.xml");
}

TEST(ModelStateTest, WhatADescriptorLacksKeepsThePreviousModelsValue) {
    ModelState state;
    DeviceDescriptor first;
    ASSERT_TRUE(LoadDeviceDescriptor(QUORVEL_PRODUCT_DIR, "QuorvelF1", &first));
    ApplyModelDescriptor(first, &state);
    ASSERT_EQ(state.keys.size(), 8u);

    DeviceDescriptor sparse;
    ASSERT_TRUE(ParseDeviceDescriptor(R"(<mouse><custom show_lod="2" show_sensor="1"/></mouse>)", &sparse));
    ApplyModelDescriptor(sparse, &state);
    EXPECT_EQ(state.keys.size(), 8u) << "no mouse_key: the previous buttons stay";
    EXPECT_TRUE(state.light);
    EXPECT_FALSE(state.show_lod);
    EXPECT_TRUE(state.show_sensor);
    EXPECT_TRUE(state.show_dpitips) << "the indicators follow no descriptor switch";
    EXPECT_EQ(state.firmware_url, *first.firmware_url);
    EXPECT_EQ(state.light_zone, (std::array<bool, 6>{true, true, true, false, false, true}));

    EXPECT_EQ(state.light_config[1], std::optional<int>(0x813)) << "the F1 gives breathing its colours";
    EXPECT_EQ(state.profile_defaults, DefaultSettings(sparse, false)) << "never the previous model's";

    DeviceDescriptor plainZones;
    ASSERT_TRUE(ParseDeviceDescriptor(
        R"(<mouse><mouse_info><light_info><light_2 enable="1"/></light_info></mouse_info></mouse>)",
        &plainZones));
    ApplyModelDescriptor(plainZones, &state);
    EXPECT_FALSE(state.light_config[1]) << "a zone named without config_func has the built-in adjustments";
    EXPECT_EQ(state.light_config[2], std::optional<int>(0x11)) << "a zone not named keeps its value";

    DeviceDescriptor emptyKeys;
    ASSERT_TRUE(ParseDeviceDescriptor("<mouse><mouse_key/></mouse>", &emptyKeys));
    ApplyModelDescriptor(emptyKeys, &state);
    EXPECT_TRUE(state.keys.empty()) << "a present mouse_key replaces the list, even with nothing";
    EXPECT_TRUE(DefaultSettings(emptyKeys, false).empty());
    EXPECT_FALSE(ReportRateCapability(emptyKeys));
}

}  // namespace
}  // namespace quorvel
