#include "update/VersionText.h"

#include <gtest/gtest.h>

#include "update/UpdateAddresses.h"

namespace quorvel {
namespace {

TEST(CompareVersionsTest, Table) {
    struct Case {
        const char* current;
        const char* newer;
        int expected;
    };
    const Case cases[] = {
        {"1.0", "1.0.1", kVersionPartsDiffer},  // offered whatever the numbers
        {"1.0.1", "1.0", kVersionPartsDiffer},
        {"1.2", "1.10", kVersionNewer},         // numbers, not text
        {"1.10", "1.9", kVersionOlder},
        {"1.2.3", "1.2.3", kVersionEqual},
        {"2.0", "1.9", kVersionOlder},
        {"105", "106", kVersionNewer},          // firmware texts have no dots
        {"1..2", "1..3", kVersionNewer},        // empty parts kept and count 0
        {"1.", "1.0", kVersionEqual},
        {"1.2a", "1.2b", kVersionEqual},        // only leading digits count
        {"1.x", "1.1", kVersionNewer},
        {"1. 7", "1.7", kVersionEqual},         // leading blanks skipped
        {"1.-1", "1.0", kVersionNewer},
        {"1.99999999999", "1.2147483647", kVersionEqual},  // both saturate
        {"", "", kVersionEqual},
        {"", "1", kVersionNewer},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareVersions(c.current, c.newer), c.expected) << c.current << " vs " << c.newer;
    }
}

TEST(AcceptVersionTextTest, LengthLimitsAndLineEnds) {
    struct Case {
        const char* fetched;
        const char* software;  // accepted text, "" when refused
        const char* firmware;
    };
    const Case cases[] = {
        {"1.2.3", "1.2.3", "1.2.3"},
        {"1.2.3\n", "1.2.3", "1.2.3"},
        {"1.2.3\r\n", "1.2.3", "1.2.3"},
        {"123456789", "123456789", "123456789"},
        {"1234567890", "1234567890", ""},        // 10: software yes, firmware no
        {"1234567890\r\n", "1234567890", ""},    // the line end is not counted
        {"12345678901", "", ""},
        {"", "", ""},
        {"\r\n", "", ""},
        {"1.2 ", "1.2 ", "1.2 "},                // only line ends are removed
        {"1.2\n3", "", ""},                      // a line end inside is no version
        {"../../x", "", ""},                     // would leave the work folder
        {"1.0\\x", "", ""},
        {"<html>", "<html>", "<html>"},
        {"v\xC3\xA9rsion\xC3\xA9\xC3\xA9\xC3\xA9", "v\xC3\xA9rsion\xC3\xA9\xC3\xA9\xC3\xA9", ""},  // 10 characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AcceptSoftwareVersion(c.fetched), c.software) << '"' << c.fetched << '"';
        EXPECT_EQ(AcceptFirmwareVersion(c.fetched), c.firmware) << '"' << c.fetched << '"';
    }
}

// The layout joins its pieces with "//"; servers that do not merge repeated slashes then find no file.
TEST(UpdateAddressesTest, RepeatedSlashesInThePathBecomeOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://h//a///b.zip", "http://h/a/b.zip"},
        {"https://h:8443//x//", "https://h:8443/x/"},
        {"https://h/x?next=a//b#c//d", "https://h/x?next=a//b#c//d"},  // only the path
        {"http://user@h//x", "http://user@h/x"},
        {"http://h", "http://h"},
        {"http://h/", "http://h/"},
        {"h//a//b", "h/a/b"},
        {"", ""},
    };
    for (const auto& [address, collapsed] : cases)
        EXPECT_EQ(CollapsePathSlashes(address), collapsed) << address;
}

TEST(UpdateAddressesTest, ServerLayout) {
    const std::string sw = "http://updates.example/mouse/";
    const std::string fw = "https://fw.example/r2";
    EXPECT_EQ(SoftwareVersionAddress(sw), "http://updates.example/mouse/version");
    EXPECT_EQ(SoftwareArchiveName("1.2.3"), "Mouse-Setup-1.2.3.zip");
    EXPECT_EQ(SoftwareArchiveAddress(sw, "1.2.3"), "http://updates.example/mouse/Mouse-Setup-1.2.3.zip");
    EXPECT_EQ(SoftwareInstallerName("1.2.3"), "Mouse-Setup-1.2.3.exe");
    EXPECT_EQ(FirmwareVersionAddress(fw), "https://fw.example/r2/mouse/version");
    EXPECT_EQ(FirmwareArchiveName("106"), "firmware-106.zip");
    EXPECT_EQ(FirmwareArchiveAddress(fw, "106"), "https://fw.example/r2/mouse/firmware-106.zip");
    // A base that ends in "/" (as the product's do) gives no doubled slash either.
    EXPECT_EQ(FirmwareVersionAddress(fw + "/"), "https://fw.example/r2/mouse/version");
    EXPECT_EQ(FirmwareArchiveAddress(fw + "/", "106"), "https://fw.example/r2/mouse/firmware-106.zip");
    EXPECT_EQ(FirmwareImageName("106"), "firmware-106.bin");
    EXPECT_EQ(UpdateWorkFolder("/home/u/.local/share/Mouse Files/"), "/home/u/.local/share/Mouse Files/temp/");
    EXPECT_EQ(UpdateWorkFolder("/data"), "/data/temp/");
}

}  // namespace
}  // namespace quorvel
