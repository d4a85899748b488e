#include "update/ZipItem.h"

#include <gtest/gtest.h>

#include <string>

#include "update/ZipName.h"

namespace quorvel {
namespace {

TEST(ZipNameTest, StrippedAndSplitNames) {
    struct Case {
        const char* stored;
        const char* expected;  // "" when the entry is not written
    };
    const Case cases[] = {
        {"C:\\x\\setup.exe", "x/setup.exe"},
        {"a/../../b.bin", "b.bin"},
        {"..\\..\\b.bin", "b.bin"},
        {"../b.bin", "b.bin"},
        {"a/b/../c.txt", "c.txt"},
        {"/etc/passwd", "etc/passwd"},
        {"\\\\server\\share\\f.txt", "server/share/f.txt"},
        {"C:C:/../x", "x"},                   // the rules repeat until none matches
        {"\xC3\xA9:\\x.txt", "x.txt"},        // a drive letter outside ASCII is one character
        {"a\\..\\b/../c/..\\d", "d"},
        {"./a/./b", "a/b"},
        {"a//b", "a/b"},
        {"folder/", "folder"},
        {"a/..", ""},                         // would name the destination's parent's child
        {"..", ""},
        {"a/../", ""},
        {"C:", ""},
        {"/", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        ZipEntryPath path;
        bool ok = MakeZipEntryPath(c.stored, &path);
        EXPECT_EQ(ok ? JoinZipPath(path) : std::string(), c.expected) << c.stored;
    }
    ZipEntryPath folder;
    ASSERT_TRUE(MakeZipEntryPath("x\\y\\", &folder));
    EXPECT_TRUE(folder.endsWithSeparator);
}

TEST(ZipAttributesTest, FromHostAndExternalAttributes) {
    struct Case {
        unsigned host;
        std::uint32_t external;
        unsigned expected;
    };
    const Case cases[] = {
        {3, 0100644u << 16, kZipArchive},                 // Unix rw-r--r--
        {3, 0100444u << 16, kZipArchive | kZipReadOnly},  // Unix r--r--r--
        {3, (040755u << 16) | 0x10, kZipFolder | kZipArchive},
        {3, 0x21, kZipArchive | kZipReadOnly},            // low byte ignored for Unix: no owner-write bit
        {19, 0100600u << 16, kZipArchive},                // any other host reads like Unix
        {0, 0x20, kZipArchive},
        {0, 0x00, 0},                                     // no archive bit set by DOS
        {0, 0x27, kZipArchive | kZipReadOnly | kZipHidden | kZipSystem},
        {0, 0x10, kZipFolder},
        {7, 0x01, kZipReadOnly},
        {11, 0x02, kZipHidden},
        {14, 0x30, kZipFolder | kZipArchive},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZipAttributes(c.host << 8 | 20, c.external), c.expected) << c.host << " " << c.external;
    }
}

std::string Block(const char id[2], std::string data) {
    std::string block{id[0], id[1], static_cast<char>(data.size() & 0xFF), static_cast<char>(data.size() >> 8)};
    return block + data;
}

std::string Le32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

TEST(ZipExtraTimesTest, ExtendedTimestampBlock) {
    const std::string m = Le32(1600000000), a = Le32(1600000100), c = Le32(1600000200);
    struct Case {
        const char* name;
        std::string field;
        bool hasM, hasA, hasC;
    };
    const Case cases[] = {
        {"modification only", Block("UT", "\x01" + m), true, false, false},
        {"all three", Block("UT", "\x07" + m + a + c), true, true, true},
        {"access and creation", Block("UT", "\x06" + a + c), false, true, true},
        {"after another block", Block("ux", std::string(11, 'z')) + Block("UT", "\x03" + m + a), true, true, false},
        {"flags promise more than the block holds", Block("UT", "\x07" + m), true, false, false},
        {"block longer than the field", Block("UT", "\x01" + m).substr(0, 7), false, false, false},
        {"only the first UT counts", Block("UT", std::string("\x00", 1)) + Block("UT", "\x01" + m), false, false, false},
        {"none", Block("ux", std::string(11, 'z')), false, false, false},
        {"too short to scan", "UT\x01", false, false, false},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        ZipExtraTimes times = ReadExtraTimes(reinterpret_cast<const unsigned char*>(t.field.data()), t.field.size());
        EXPECT_EQ(times.hasModification, t.hasM);
        EXPECT_EQ(times.hasAccess, t.hasA);
        EXPECT_EQ(times.hasCreation, t.hasC);
        EXPECT_EQ(times.modification, t.hasM ? 1600000000 : 0);
        EXPECT_EQ(times.access, t.hasA ? 1600000100 : 0);
        EXPECT_EQ(times.creation, t.hasC ? 1600000200 : 0);
    }
    // A block length above 255 steps past the whole block.
    std::string wide = Block("xx", std::string(300, '\0')) + Block("UT", "\x01" + m);
    EXPECT_TRUE(ReadExtraTimes(reinterpret_cast<const unsigned char*>(wide.data()), wide.size()).hasModification);
}

TEST(ZipExtraTimesTest, Zip64BlockIsFound) {
    std::string with = Block("UT", "\x01" + Le32(1)) + Block("\x01\x00", std::string(16, '\0'));
    std::string without = Block("UT", "\x01" + Le32(1));
    EXPECT_TRUE(HasZip64Block(reinterpret_cast<const unsigned char*>(with.data()), with.size()));
    EXPECT_FALSE(HasZip64Block(reinterpret_cast<const unsigned char*>(without.data()), without.size()));
}

}  // namespace
}  // namespace quorvel
