#include <gtest/gtest.h>

#include "sim/VirtualSpec.h"
#include "SimTestUtil.h"

namespace quorvel {
namespace {

using simtest::TestModes;

TEST(VirtualSpec, ParsesDefaultsLinkAndKeys) {
    std::vector<VirtualMouseSpec> mice;
    std::string error;
    ASSERT_TRUE(ParseVirtualSpecs(" 101 ; 101:wireless,battery=55,link=0;;"
                                  "102,sensor=0x11,rate_cap=16,release=0x0210; 201:wireless ",
                                  TestModes(), &mice, &error))
        << error;
    ASSERT_EQ(mice.size(), 4u);

    EXPECT_EQ(mice[0].deviceType, 101);
    EXPECT_EQ(mice[0].linkMode, 0);
    EXPECT_EQ(mice[0].vendorId, 0x25A7);
    EXPECT_EQ(mice[0].productId, 0xFA70);
    EXPECT_EQ(mice[0].devId, "A101");
    EXPECT_EQ(mice[0].name, "Alpha");
    EXPECT_EQ(mice[0].sensor, 149);
    EXPECT_EQ(mice[0].rateCap, 0x40);
    EXPECT_EQ(mice[0].release, 0x0105);
    EXPECT_EQ(mice[0].battery, 80);
    EXPECT_TRUE(mice[0].linked);
    EXPECT_EQ(mice[0].Key(), "101:wired");

    EXPECT_EQ(mice[1].linkMode, 1);
    EXPECT_EQ(mice[1].productId, 0x0FA1);  // the wireless mode entry's own ids
    EXPECT_EQ(mice[1].battery, 55);
    EXPECT_FALSE(mice[1].linked);
    EXPECT_EQ(mice[1].Key(), "101:wireless");

    EXPECT_EQ(mice[2].sensor, 0x11);
    EXPECT_EQ(mice[2].rateCap, 16);
    EXPECT_EQ(mice[2].release, 0x0210);

    EXPECT_TRUE(mice[3].FeatureFamily());
    EXPECT_EQ(mice[3].sensor, '0');  // the feature family reports the third id character as its sensor
}

TEST(VirtualSpec, EmptyListPlugsNothing) {
    std::vector<VirtualMouseSpec> mice;
    std::string error;
    EXPECT_TRUE(ParseVirtualSpecs("  ", TestModes(), &mice, &error));
    EXPECT_TRUE(mice.empty());
}

TEST(VirtualSpec, RejectsBadSpecsWithAClearText) {
    struct Case {
        const char* spec;
        const char* message;
    };
    const Case cases[] = {
        {"999", "unknown device type 999"},
        {"abc", "bad device type \"abc\""},
        {"102:wireless", "device type 102 has no wireless mode"},
        {"101:usb", "unknown link \"usb\""},
        {"101,colour=1", "unknown key \"colour\""},
        {"101,battery=0x", "bad number \"0x\" for battery"},
        {"101,battery=-1", "bad number \"-1\" for battery"},
        {"101,battery=12a", "bad number \"12a\" for battery"},
        {"101,battery=101", "battery 101 is out of range"},
        {"101,link=2", "link 2 is out of range"},
        {"101,release=0x10000", "release 0x10000 is out of range"},
        {"101,sensor", "\"sensor\" is not key=value"},
        {"101,battery=5,battery=6", "key battery given twice"},
        {"201,sensor=5", "sensor applies to the report family only"},
        {"201,rate_cap=16", "rate_cap applies to the report family only"},
        {"101;101:wired", "101:wired is listed twice"},
    };
    for (const Case& c : cases) {
        std::vector<VirtualMouseSpec> mice;
        std::string error;
        EXPECT_FALSE(ParseVirtualSpecs(std::string("201;") + c.spec, TestModes(), &mice, &error)) << c.spec;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.spec << " -> " << error;
        EXPECT_TRUE(mice.empty()) << c.spec << ": nothing is appended on failure";
    }
}

TEST(VirtualSpec, FactoryReportsTheSpecError) {
    std::string error;
    EXPECT_EQ(CreateVirtualBackend("101:wireles", TestModes(), "", &error), nullptr);
    EXPECT_NE(error.find("unknown link"), std::string::npos) << error;
}

TEST(VirtualSpec, NumbersAreDecimalOrHex) {
    struct Case {
        const char* text;
        bool ok;
        uint32_t value;
    };
    const Case cases[] = {{"0", true, 0},       {"149", true, 149},   {"0x40", true, 0x40}, {"0XfF", true, 255},
                          {"", false, 0},       {"0x", false, 0},     {" 1", false, 0},     {"+1", false, 0},
                          {"1.5", false, 0},    {"0x1g", false, 0},   {"4294967296", false, 0}};
    for (const Case& c : cases) {
        uint32_t value = 0;
        EXPECT_EQ(ParseVirtualNumber(c.text, &value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

}  // namespace
}  // namespace quorvel
