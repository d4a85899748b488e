#include "shell/ProductConfig.h"

#include <gtest/gtest.h>

#include "platform/TempHome.h"
#include "shell/AppContext.h"
#include "shell/Localisation.h"

namespace quorvel {
namespace {

using testing::TempHome;
using testing::WriteFileBytes;

TEST(NumberFormsTest, DecAndHex) {
    const std::pair<const char*, int> dec[] = {
        {"102", 102},   {"  -7x", -7},    {"+12", 12},  {"", 0},          {"abc", 0},
        {"\t 42 ", 42}, {"0x10", 0},      {"1e3", 1},   {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : dec) EXPECT_EQ(ParseDec(text), value) << "dec " << text;

    const std::pair<const char*, int> hex[] = {
        {"0x1209", 0x1209}, {"1209", 0x1209}, {"0X1209", 0x1209}, {"abCD", 0xABCD}, {" -ff", -255},
        {"0x", 0},          {"0xg", 0},       {"", 0},            {"12zz", 0x12},   {"FFFFFFFFF", 2147483647},
    };
    for (const auto& [text, value] : hex) EXPECT_EQ(ParseHex(text), value) << "hex " << text;
}

TEST(ProductConfigTest, SampleProductReadsAsShipped) {
    StartupConfig startup;
    ASSERT_TRUE(ReadStartupConfig(QUORVEL_PRODUCT_DIR, &startup));
    EXPECT_EQ(startup.languages, (std::set<int>{1033, 2052}));
    EXPECT_TRUE(startup.hasLanguageInfo);
    EXPECT_EQ(startup.defaultLanguage, 1033);
    EXPECT_TRUE(startup.hasCaption);
    EXPECT_EQ(startup.caption, "Quorvel Mouse");

    ProductConfig config;
    ASSERT_TRUE(ReadProductConfig(QUORVEL_PRODUCT_DIR, "/skins/default/device/", &config));
    EXPECT_EQ(config.version, "1.0.0");
    for (const std::string* url : {&config.website, &config.feedback, &config.qa, &config.store, &config.upgrade}) {
        EXPECT_EQ(url->rfind("https://updates.example.com/quorvel/", 0), 0u) << *url;
    }
    EXPECT_EQ(config.upgrade.back(), '/');

    ASSERT_EQ(config.models.size(), 3u);
    struct Model {
        int type;
        const char* name;
        const char* attr;
    };
    const Model models[] = {{102, "Quorvel R2", "QuorvelR2"},
                            {103, "Quorvel R3 Wireless", "QuorvelR3"},
                            {201, "Quorvel F1", "QuorvelF1"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(config.models[i].device_type, models[i].type);
        EXPECT_EQ(config.models[i].name, models[i].name);
        EXPECT_EQ(config.models[i].device_attr, models[i].attr);
        EXPECT_EQ(config.models[i].image.rfind("/skins/default/device/", 0), 0u);
        EXPECT_EQ(config.models[i].mode, 0);
        EXPECT_EQ(config.models[i].vid, 0);
        EXPECT_EQ(config.models[i].dev_id, "");
    }

    struct Mode {
        int type, mode, vid, pid;
        const char* dev_id;
    };
    const Mode modes[] = {{102, 0, 0x1209, 0x0001, "R2M1"},
                          {103, 1, 0x1209, 0x0002, "R3W1"},
                          {103, 0, 0x1209, 0x0005, "R3W1"},
                          {201, 0, 0x1209, 0x0003, "F15A"},
                          {201, 1, 0x1209, 0x0004, "F15A"}};
    ASSERT_EQ(config.modes.size(), std::size(modes));
    for (std::size_t i = 0; i < std::size(modes); ++i) {
        const DeviceEntry& e = config.modes[i];
        EXPECT_EQ(e.device_type, modes[i].type) << i;
        EXPECT_EQ(e.mode, modes[i].mode) << i;
        EXPECT_EQ(e.vid, modes[i].vid) << i;
        EXPECT_EQ(e.pid, modes[i].pid) << i;
        EXPECT_EQ(e.dev_id, modes[i].dev_id) << i;
    }
    EXPECT_EQ(config.modes[3].dev_id[2], 0x35) << "third character of a feature-family id is the sensor code";

    ASSERT_NE(FindModel(config, 103), nullptr);
    EXPECT_EQ(FindModel(config, 103)->device_attr, "QuorvelR3");
    EXPECT_EQ(FindModel(config, 101), nullptr);
}

class ProductConfigFileTest : public ::testing::Test {
protected:
    void Write(const std::string& xml) { WriteFileBytes(home.Root() + "/program/config.xml", xml); }
    std::string Dir() const { return home.Root() + "/program/"; }
    TempHome home;
};

TEST_F(ProductConfigFileTest, ElementsBeforeTheLastFoundAreNotSeen) {
    Write(R"(<config>
  <software caption="Early" version="2.0">
    <upgrade url="u"/><website url="w"/><qa url="q"/>
  </software>
  <language.info default_lan="2052"><lan value="2052"/><lan value="1033"/><lan value="2052"/></language.info>
  <device>
    <mouse name="A" device_type="7" device_attr="a"><mode vid="0X00ab" pid="cd" dev_id="x"/></mouse>
    <mouse name="B" device_type="8" device_attr="b"/>
  </device>
</config>)");
    StartupConfig startup;
    ASSERT_TRUE(ReadStartupConfig(Dir(), &startup));
    EXPECT_EQ(startup.languages, (std::set<int>{1033, 2052})) << "duplicate lan kept once";
    EXPECT_FALSE(startup.hasCaption) << "software stands before language.info";

    ProductConfig config;
    ASSERT_TRUE(ReadProductConfig(Dir(), "", &config));
    ASSERT_EQ(config.models.size(), 2u) << "a mouse without modes is still listed";
    ASSERT_EQ(config.modes.size(), 1u);
    EXPECT_EQ(config.modes[0].vid, 0xAB);
    EXPECT_EQ(config.modes[0].pid, 0xCD);
    EXPECT_EQ(config.version, "") << "software before device is not seen by the main-window pass";
}

TEST_F(ProductConfigFileTest, AddressesAreReadInTheirOrderOnly) {
    Write(R"(<config><software caption="Cap" version="1.2">
  <feedback url="f"/><store url="s"/><upgrade url="u/"/><website url="w"/>
</software></config>)");
    StartupConfig startup;
    ASSERT_TRUE(ReadStartupConfig(Dir(), &startup));
    EXPECT_TRUE(startup.hasCaption);
    EXPECT_EQ(startup.caption, "Cap");
    EXPECT_FALSE(startup.hasLanguageInfo);

    // website is looked up first and found at the end; everything before it is then out of reach.
    ProductConfig config;
    ASSERT_TRUE(ReadProductConfig(Dir(), "", &config));
    EXPECT_EQ(config.version, "1.2");
    EXPECT_EQ(config.website, "w");
    EXPECT_EQ(config.feedback, "");
    EXPECT_EQ(config.store, "");
    EXPECT_EQ(config.upgrade, "");

    Write(R"(<config><software><feedback url="f"/><store url="s"/><upgrade url="u/"/></software></config>)");
    ASSERT_TRUE(ReadProductConfig(Dir(), "", &config));
    EXPECT_EQ(config.website, "");
    EXPECT_EQ(config.feedback, "f");
    EXPECT_EQ(config.qa, "");
    EXPECT_EQ(config.store, "s");
    EXPECT_EQ(config.upgrade, "u/");
}

TEST_F(ProductConfigFileTest, ModesOfAMouseOverwriteOneEntry) {
    Write(R"(<config><device><mouse name="M" device_type="5" device_attr="m" image="m.png">
  <mode value="1" desc="rx" vid="1" pid="2" dev_id="D1" hid_interface="2"/>
  <mode value="0" vid="3"/>
</mouse></device></config>)");
    ProductConfig config;
    ASSERT_TRUE(ReadProductConfig(Dir(), "skin/device/", &config));
    ASSERT_EQ(config.modes.size(), 2u);
    EXPECT_EQ(config.modes[0].hid_interface, "2");
    EXPECT_EQ(config.modes[0].desc, "rx");
    EXPECT_EQ(config.modes[1].image, "skin/device/m.png");
    EXPECT_EQ(config.modes[1].name, "M");
    EXPECT_EQ(config.modes[1].vid, 3);
    EXPECT_EQ(config.modes[1].pid, 0) << "absent attributes read as empty";
    EXPECT_EQ(config.modes[1].dev_id, "");
    EXPECT_EQ(config.modes[1].desc, "");
}

TEST_F(ProductConfigFileTest, MissingOrBrokenFileLeavesEverythingEmpty) {
    StartupConfig startup;
    startup.caption = "stale";
    ProductConfig config;
    config.version = "stale";
    EXPECT_FALSE(ReadStartupConfig(Dir(), &startup));
    EXPECT_FALSE(ReadProductConfig(Dir(), "", &config));
    EXPECT_EQ(startup.caption, "");
    EXPECT_EQ(config.version, "");

    Write("<config><device><mouse name=\"A\" device_type=\"1\"></device></config>");
    EXPECT_FALSE(ReadProductConfig(Dir(), "", &config));
    EXPECT_TRUE(config.models.empty());
}

TEST_F(ProductConfigFileTest, StartupPassSetsLanguagesLanguageAndDeviceName) {
    SetDeviceName("before");
    SetOfferedLanguages({1041});
    EXPECT_FALSE(RunStartupPass(Dir()));
    EXPECT_TRUE(OfferedLanguages().empty()) << "the set is cleared even when the file is missing";
    EXPECT_EQ(GetDeviceName(), "before");

    EXPECT_TRUE(RunStartupPass(QUORVEL_PRODUCT_DIR));
    EXPECT_EQ(OfferedLanguages(), (std::set<int>{1033, 2052}));
    EXPECT_EQ(CurrentLanguage(), 1033);
    EXPECT_EQ(GetDeviceName(), "Quorvel Mouse");
    SetDeviceName("");
}

}  // namespace
}  // namespace quorvel
