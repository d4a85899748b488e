#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlDoc.h"
#include "support/XmlEntities.h"
#include "XmlTestUtil.h"

namespace quorvel {
namespace {

using testing::FixturePath;

class XmlDocReader : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc_.LoadFile(FixturePath("reader_order.xml"))); }
    XmlDoc doc_;
};

TEST_F(XmlDocReader, FindNextOnlySearchesForward) {
    ASSERT_TRUE(doc_.FindNext("profile"));
    ASSERT_TRUE(doc_.Descend());
    ASSERT_TRUE(doc_.FindNext("beta"));
    EXPECT_EQ(doc_.GetAttribute("v"), "2");
    EXPECT_FALSE(doc_.FindNext("alpha")) << "alpha stands before beta";
    EXPECT_EQ(doc_.GetAttribute("v"), "2") << "a failed search leaves the cursor";
    EXPECT_TRUE(doc_.FindNext("gamma"));
    EXPECT_FALSE(doc_.FindNext("item")) << "every item stands before gamma";
}

TEST_F(XmlDocReader, LoopsOverRepeatedChildrenAndNestedGroups) {
    ASSERT_TRUE(doc_.FindNext("profile"));
    ASSERT_TRUE(doc_.Descend());
    std::vector<std::string> seen;
    while (doc_.FindNext("item")) {
        seen.push_back(doc_.GetAttribute("v"));
        if (doc_.Descend()) {
            while (doc_.FindNext("sub")) seen.push_back(doc_.GetAttribute("v"));
            ASSERT_TRUE(doc_.Ascend());
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"i1", "i2", "s1", "s2", "i3"}));
    EXPECT_TRUE(doc_.FindNext("gamma")) << "after the loop the cursor is on the last item";
    EXPECT_TRUE(doc_.Ascend());
    EXPECT_FALSE(doc_.Ascend()) << "top level";
    EXPECT_FALSE(doc_.FindNext("profile")) << "the root is current again";
}

TEST_F(XmlDocReader, CursorOperationsWithoutACurrentElement) {
    EXPECT_FALSE(doc_.Descend());
    EXPECT_FALSE(doc_.Ascend());
    EXPECT_EQ(doc_.GetAttribute("v"), "");
    EXPECT_FALSE(doc_.FindNext("alpha")) << "alpha is not on the top level";
    ASSERT_TRUE(doc_.FindNext("profile"));
    ASSERT_TRUE(doc_.Descend());
    EXPECT_EQ(doc_.GetAttribute("v"), "") << "right after descending there is no current element";
    EXPECT_FALSE(doc_.Descend());
    ASSERT_TRUE(doc_.FindNext("alpha"));
    EXPECT_EQ(doc_.GetAttribute("missing"), "");
    EXPECT_EQ(doc_.GetAttribute("V"), "") << "attribute names are case-sensitive";
    EXPECT_FALSE(doc_.FindNext("Beta")) << "element names are case-sensitive";
}

TEST(XmlDocAttributes, ReferencesAreDecoded) {
    struct Case {
        const char* raw;
        const char* decoded;
    };
    const Case cases[] = {
        {"a&amp;b", "a&b"},
        {"&#x41;", "A"},
        {"&#65;&#X42;", "AB"},
        {"&unknown;", "&unknown;"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"caf&eacute; &Eacute;cole", "café École"},
        {"&AMP; &Lt; &NBSP;", "& < \u00A0"},
        {"&euro;&hellip;&mdash;&trade;", "€…—™"},
        {"&alpha;&Omega;&forall;&lang;&rang;&diams;", "αΩ∀\u2329\u232A♦"},
        {"&#x1F600; &#128512;", "😀 😀"},
        {"&#x10FFFF;", "\xF4\x8F\xBF\xBF"},
        {"&#0;&#xD800;&#x110000;&#99999999999;", "&#0;&#xD800;&#x110000;&#99999999999;"},
        {"&amp &#; &#x; &#12a; &; &", "&amp &#; &#x; &#12a; &; &"},
        {"&&amp;&", "&&&"},
        {"&amp;amp;", "&amp;"},
        {"x\ty  z", "x\ty  z"},
    };
    for (const Case& c : cases) {
        XmlDoc doc;
        ASSERT_TRUE(doc.LoadBytes(std::string("<a v=\"") + c.raw + "\"/>")) << c.raw;
        ASSERT_TRUE(doc.FindNext("a"));
        EXPECT_EQ(doc.GetAttribute("v"), c.decoded) << c.raw;
    }
}

TEST(XmlDocAttributes, EveryHtmlEntityIsKnown) {
    // The HTML 4 set (252 names) plus XML's apos.
    EXPECT_EQ(NamedEntityCount(), 253u);
    struct Case {
        const char* name;
        char32_t codePoint;
    };
    const Case cases[] = {
        {"AElig", 0xC6}, {"nbsp", 0xA0}, {"yuml", 0xFF}, {"Yuml", 0x178}, {"fnof", 0x192}, {"thetasym", 0x3D1},
        {"upsih", 0x3D2}, {"piv", 0x3D6}, {"zwnj", 0x200C}, {"zwj", 0x200D}, {"lrm", 0x200E}, {"rlm", 0x200F},
        {"oline", 0x203E}, {"frasl", 0x2044}, {"weierp", 0x2118}, {"alefsym", 0x2135}, {"crarr", 0x21B5},
        {"lArr", 0x21D0}, {"larr", 0x2190}, {"sdot", 0x22C5}, {"lceil", 0x2308}, {"loz", 0x25CA},
        {"hearts", 0x2665}, {"Scaron", 0x160}, {"scaron", 0x161}, {"tilde", 0x2DC}, {"circ", 0x2C6},
        {"sigmaf", 0x3C2}, {"there4", 0x2234}, {"sup1", 0xB9}, {"frac34", 0xBE}, {"iexcl", 0xA1},
    };
    for (const Case& c : cases) {
        char32_t found = 0;
        EXPECT_TRUE(LookupNamedEntity(c.name, &found)) << c.name;
        EXPECT_EQ(found, c.codePoint) << c.name;
    }
    char32_t ignored;
    EXPECT_FALSE(LookupNamedEntity("", &ignored));
    EXPECT_FALSE(LookupNamedEntity("amp2", &ignored));
    EXPECT_FALSE(LookupNamedEntity("hellip;", &ignored));
}

TEST(XmlDocEncodings, FilesInEveryEncodingLoad) {
    testing::ScopedEnv locale("LC_ALL", "en_US.UTF-8");
    struct Case {
        const char* file;
        const char* name;
    };
    const Case cases[] = {
        {"utf16le_bom.xml", "鼠标 Mouse"},
        {"utf16be_bom.xml", "鼠标 Mouse"},
        {"utf8_no_bom.xml", "鼠标 Mouse"},
        {"gbk_declared.xml", "鼠标 Mouse"},
        {"windows1252_declared.xml", "Café €5 – “quoted”"},
    };
    for (const Case& c : cases) {
        XmlDoc doc;
        ASSERT_TRUE(doc.LoadFile(FixturePath(c.file))) << c.file;
        ASSERT_TRUE(doc.FindNext("config")) << c.file;
        ASSERT_TRUE(doc.Descend());
        ASSERT_TRUE(doc.FindNext("device")) << c.file;
        EXPECT_EQ(doc.GetAttribute("name"), c.name) << c.file;
        EXPECT_EQ(doc.GetAttribute("dpi"), "1600") << c.file;
    }
}

// A document without mark or declaration that does not start with "<" is in the ANSI code page, which on
// a UTF-8 locale is UTF-8.
TEST(XmlDocEncodings, UndeclaredTextOnAUtf8LocaleIsUtf8) {
    testing::ScopedEnv locale("LC_ALL", "fr_FR.UTF-8");
    XmlDoc doc;
    ASSERT_TRUE(doc.LoadBytes("\r\n<a v=\"Profil\xC3\xA9 \xE9\x85\x8D\"/>"));
    ASSERT_TRUE(doc.FindNext("a"));
    EXPECT_EQ(doc.GetAttribute("v"), "Profil\xC3\xA9 配");
}

TEST(XmlDocEncodings, MarkThenDeclarationThenFirstByte) {
    testing::ScopedEnv locale("LC_ALL", "zh_CN.GBK");  // ANSI code page 936
    struct Case {
        std::string bytes;
        const char* expected;
        const char* why;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF<a v=\"\xE9\x85\x8D\"/>", "配", "UTF-8 mark"},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"GBK\"?><a v=\"\xE9\x85\x8D\"/>", "配", "mark beats declaration"},
        {"<?xml version='1.0' encoding='gb2312'?><a v=\"\xC5\xE4\"/>", "配", "single-quoted gb2312"},
        {"<?xml version=\"1.0\" encoding = \"ISO-8859-1\" ?><a v=\"\x80\xE9\"/>", "\u0080é", "Latin-1"},
        {"<?xml version=\"1.0\" encoding=\"Big5\"?><a v=\"\xA4\xA4\"/>", "中", "Big5"},
        {"<?xml version=\"1.0\" encoding=\"shift_jis\"?><a v=\"\x93\xFA\"/>", "日", "Shift_JIS"},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\xE9\x85\x8D\"/>", "配", "UTF-16 named but 8-bit"},
        {"<?xml version=\"1.0\" encoding=\"no-such\"?><a v=\"\xE9\x85\x8D\"/>", "配", "unknown name, first byte <"},
        {"<a v=\"\xE9\x85\x8D\"/>", "配", "first byte <: UTF-8"},
        {"\r\n<a v=\"\xC5\xE4\"/>", "配", "first byte not <: ANSI"},
        {"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"/></head>"
         "<body><a v=\"\xC5\xE4\"/></body></html>",
         "配", "HTML meta charset"},
    };
    for (const Case& c : cases) {
        XmlDoc doc;
        ASSERT_TRUE(doc.LoadBytes(c.bytes)) << c.why;
        if (!doc.FindNext("a")) {
            ASSERT_TRUE(doc.FindNext("html")) << c.why;
            doc.Descend();
            doc.FindNext("body");
            doc.Descend();
            ASSERT_TRUE(doc.FindNext("a")) << c.why;
        }
        EXPECT_EQ(doc.GetAttribute("v"), c.expected) << c.why;
    }
}

TEST(XmlDocWellFormed, BrokenDocumentsAreRefused) {
    struct Case {
        std::string bytes;
        const char* why;
    };
    const Case cases[] = {
        {"", "empty"},
        {"   \r\n", "blanks only"},
        {"<?xml version=\"1.0\"?>\r\n", "declaration only"},
        {"<root><a></root>", "unclosed tag"},
        {"<root>", "unclosed root"},
        {"<a/><b/>", "two roots"},
        {"<root/></root>", "stray end tag"},
        {"<root></Root>", "end tag of another case"},
        {"<root><!-- never closed </root>", "unterminated comment"},
        {"<root><![CDATA[ never closed </root>", "unterminated CDATA"},
        {"<root><?pi never closed </root>", "unterminated processing instruction"},
        {"<root a=\"1/>", "unterminated attribute value"},
        {"<root a=1/>", "unquoted attribute"},
        {"<root", "unterminated tag"},
        {"<?xml version=\"1.0\" <root/>", "unterminated declaration"},
        {"<!DOCTYPE root <root/>", "unterminated document type"},
        {"text<root/>", "text before the root"},
        {"<root/>text", "text after the root"},
        {std::string("<root/>\0<x/>", 11), "zero byte"},
        {"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\xff\xfe\x01", "binary garbage"},
        {"\xFF\xFE", "UTF-16 mark only"},
        {"\xFF\xFE<\x00", "UTF-16 cut"},
    };
    for (const Case& c : cases) {
        XmlDoc doc;
        EXPECT_FALSE(doc.LoadBytes(c.bytes)) << c.why;
    }
}

TEST(XmlDocWellFormed, AcceptsWhatSurroundsTheRoot) {
    const char* documents[] = {
        "<root/>",
        "<?xml version=\"1.0\"?><!DOCTYPE root><!-- note --><root/><!-- after --><?pi x?>\r\n",
        "<root><![CDATA[<not a tag>]]><!-- <a> --><a>text &amp; more</a></root>",
        "<root a=\"<\" b='\"'/>",
    };
    for (const char* text : documents) {
        XmlDoc doc;
        EXPECT_TRUE(doc.LoadBytes(text)) << text;
        EXPECT_TRUE(doc.FindNext("root")) << text;
    }
}

TEST(XmlDocWellFormed, FailedLoadLeavesNoStaleDocument) {
    XmlDoc doc;
    ASSERT_TRUE(doc.LoadBytes("<root v=\"1\"/>"));
    EXPECT_FALSE(doc.LoadFile(FixturePath("does_not_exist.xml")));
    EXPECT_FALSE(doc.FindNext("root"));
    EXPECT_EQ(doc.Text(), "");
}

TEST(XmlDocWellFormed, DeepNestingLoadsWithoutExhaustingTheStack) {
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    XmlDoc doc;
    ASSERT_TRUE(doc.LoadBytes(text));
    int levels = 0;
    while (doc.FindNext("a") && doc.Descend()) ++levels;
    EXPECT_EQ(levels, depth);
    doc.AddElement("b");  // forces the document to be written out again
    EXPECT_EQ(doc.Text().size(), 11 * static_cast<std::size_t>(depth) + 6) << "<a>, CR LF, </a>, CR LF per level";
}

TEST(XmlDocSetText, TextWithElementsCanBeWalkedAndExtended) {
    XmlDoc doc;
    doc.SetText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root>\r\n<a v=\"1\"/>\r\n</root>\r\n");
    ASSERT_TRUE(doc.FindNext("root"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindNext("a"));
    EXPECT_EQ(doc.GetAttribute("v"), "1");
    ASSERT_TRUE(doc.AddElement("b"));
    EXPECT_EQ(doc.Text(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root>\r\n<a v=\"1\"/>\r\n<b/>\r\n</root>\r\n");
    doc.SetText("");
    EXPECT_FALSE(doc.FindNext("root")) << "SetText replaces the document";
    EXPECT_EQ(doc.Text(), "");
}

}  // namespace
}  // namespace quorvel
