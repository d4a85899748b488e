#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlDoc.h"
#include "XmlTestUtil.h"

namespace quorvel {
namespace {

using testing::FixturePath;
using testing::ReadBytes;

TEST(XmlDocWriter, TwoSiblingsAreWrittenInOrderOnTheirOwnLines) {
    XmlDoc doc;
    doc.SetText(XmlDoc::kDeclaration);
    ASSERT_TRUE(doc.AddElement("root"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement("item"));
    ASSERT_TRUE(doc.SetAttribute("name", "first"));
    ASSERT_TRUE(doc.SetAttribute("value", "1"));
    ASSERT_TRUE(doc.AddElement("item"));
    ASSERT_TRUE(doc.SetAttribute("name", "second"));
    ASSERT_TRUE(doc.SetAttribute("value", "2"));
    EXPECT_EQ(doc.Text(), ReadBytes(FixturePath("writer_siblings.xml")));
}

TEST(XmlDocWriter, FirstChildTurnsAnEmptyElementIntoStartAndEndTags) {
    XmlDoc doc;
    doc.SetText(XmlDoc::kDeclaration);
    ASSERT_TRUE(doc.AddElement("root"));
    EXPECT_EQ(doc.Text(), std::string(XmlDoc::kDeclaration) + "<root/>\r\n");
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement("group"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement("key"));
    ASSERT_TRUE(doc.SetAttribute("id", "1"));
    ASSERT_TRUE(doc.Ascend());
    ASSERT_TRUE(doc.AddElement("empty"));
    // Descending into an element and leaving without adding keeps it an empty-element tag.
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.Ascend());
    EXPECT_EQ(doc.Text(), ReadBytes(FixturePath("writer_descend.xml")));
}

TEST(XmlDocWriter, AttributeValuesAreEscaped) {
    XmlDoc doc;
    doc.SetText(XmlDoc::kDeclaration);
    doc.AddElement("root");
    doc.Descend();
    doc.AddElement("item");
    ASSERT_TRUE(doc.SetAttribute("text", "Tom & \"Jerry\" <3> 's"));
    EXPECT_EQ(doc.Text(), ReadBytes(FixturePath("writer_escaping.xml")));
    EXPECT_EQ(doc.GetAttribute("text"), "Tom & \"Jerry\" <3> 's");
}

TEST(XmlDocWriter, SetAttributeReplacesInPlaceAndAppendsNewOnes) {
    XmlDoc doc;
    doc.AddElement("item");
    doc.SetAttribute("a", "1");
    doc.SetAttribute("b", "2");
    doc.SetAttribute("a", "3");
    doc.SetAttribute("c", "");
    EXPECT_EQ(doc.Text(), "<item a=\"3\" b=\"2\" c=\"\"/>\r\n");
}

TEST(XmlDocWriter, AddElementInsertsAfterTheCurrentElement) {
    XmlDoc doc;
    doc.AddElement("root");
    doc.Descend();
    doc.AddElement("a");
    doc.AddElement("c");
    doc.Ascend();
    doc.Descend();  // no current element inside again
    ASSERT_TRUE(doc.FindNext("a"));
    ASSERT_TRUE(doc.AddElement("b"));
    EXPECT_EQ(doc.Text(), "<root>\r\n<a/>\r\n<b/>\r\n<c/>\r\n</root>\r\n");
    // Without a current element the new one goes after the level's last element.
    doc.Ascend();
    doc.Descend();
    ASSERT_TRUE(doc.AddElement("d"));
    EXPECT_EQ(doc.Text(), "<root>\r\n<a/>\r\n<b/>\r\n<c/>\r\n<d/>\r\n</root>\r\n");
}

TEST(XmlDocWriter, RefusesWhatItCannotWrite) {
    XmlDoc doc;
    doc.SetText(XmlDoc::kDeclaration);
    EXPECT_FALSE(doc.SetAttribute("a", "1")) << "no current element";
    for (const char* name : {"", "a b", "a<b", "a/b", "a=b", "a\"b", "1abc", "-x", "a&b", "a\tb"}) {
        EXPECT_FALSE(doc.AddElement(name)) << name;
    }
    EXPECT_EQ(doc.Text(), XmlDoc::kDeclaration);
    ASSERT_TRUE(doc.AddElement("root"));
    EXPECT_FALSE(doc.SetAttribute("bad name", "1"));
    EXPECT_FALSE(doc.SetAttribute("", "1"));
    EXPECT_EQ(doc.Text(), std::string(XmlDoc::kDeclaration) + "<root/>\r\n");
}

TEST(XmlDocWriter, WrittenValuesReadBackUnchanged) {
    const std::vector<std::string> values = {
        "plain", "", "a&b", "&amp;", "&#x41;", "&unknown;", "<tag attr=\"x\">", "it's", "配置 1", "😀 emoji",
        "tab\tand spaces  ", "100%",
    };
    testing::TempDir dir;
    XmlDoc doc;
    doc.SetText(XmlDoc::kDeclaration);
    doc.AddElement("root");
    doc.Descend();
    for (const std::string& value : values) {
        doc.AddElement("item");
        doc.SetAttribute("v", value);
    }
    const std::string path = dir.File("values.xml");
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(ReadBytes(path), doc.Text()) << "UTF-8 without byte-order mark";

    XmlDoc back;
    ASSERT_TRUE(back.LoadFile(path));
    ASSERT_TRUE(back.FindNext("root"));
    ASSERT_TRUE(back.Descend());
    for (const std::string& value : values) {
        ASSERT_TRUE(back.FindNext("item"));
        EXPECT_EQ(back.GetAttribute("v"), value);
    }
    EXPECT_FALSE(back.FindNext("item"));
}

TEST(XmlDocWriter, SaveFileUsesTheDeclaredEncoding) {
    testing::TempDir dir;
    struct Case {
        const char* declaration;
        std::string expected;  // bytes of the attribute value 配置 in the file
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n", "\xC5\xE4\xD6\xC3"},
        {"<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n", "\xC5\xE4\xD6\xC3"},
        {"<?xml version=\"1.0\"?>\r\n", "\xE9\x85\x8D\xE7\xBD\xAE"},
        {"", "\xE9\x85\x8D\xE7\xBD\xAE"},
    };
    for (const Case& c : cases) {
        XmlDoc doc;
        doc.SetText(c.declaration);
        doc.AddElement("root");
        doc.SetAttribute("name", "配置");
        const std::string path = dir.File("encoded.xml");
        ASSERT_TRUE(doc.SaveFile(path)) << c.declaration;
        EXPECT_EQ(ReadBytes(path), c.declaration + ("<root name=\"" + c.expected + "\"/>\r\n")) << c.declaration;
        XmlDoc back;
        ASSERT_TRUE(back.LoadFile(path)) << c.declaration;
        ASSERT_TRUE(back.FindNext("root"));
        EXPECT_EQ(back.GetAttribute("name"), "配置") << c.declaration;
    }
}

TEST(XmlDocWriter, OnlyADeclarationAtTheStartChoosesTheEncoding) {
    testing::TempDir dir;
    XmlDoc doc;
    // Text that merely looks like a declaration inside a value must not turn the file into GBK.
    ASSERT_TRUE(doc.LoadBytes("<a v=\"<?xml version='1.0' encoding='GBK'?> 配\"/>"));
    const std::string path = dir.File("plain.xml");
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(ReadBytes(path), doc.Text());
}

TEST(XmlDocWriter, Utf16DocumentIsSavedWithAByteOrderMarkSoItReadsBack) {
    testing::TempDir dir;
    XmlDoc doc;
    doc.SetText("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n");
    doc.AddElement("root");
    doc.SetAttribute("name", "鼠标");
    const std::string path = dir.File("utf16.xml");
    ASSERT_TRUE(doc.SaveFile(path));
    EXPECT_EQ(ReadBytes(path).substr(0, 4), std::string("\xFF\xFE<\0", 4));
    XmlDoc back;
    ASSERT_TRUE(back.LoadFile(path));
    ASSERT_TRUE(back.FindNext("root"));
    EXPECT_EQ(back.GetAttribute("name"), "鼠标");
}

TEST(XmlDocWriter, SaveFileFailuresLeaveTheOldFileAlone) {
    testing::TempDir dir;
    const std::string path = dir.File("keep.xml");
    testing::WriteBytes(path, "old");

    XmlDoc doc;
    doc.SetText("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n");
    doc.AddElement("root");
    doc.SetAttribute("name", "鼠标");  // not in windows-1252
    EXPECT_FALSE(doc.SaveFile(path));
    EXPECT_EQ(ReadBytes(path), "old");

    XmlDoc plain;
    plain.SetText(XmlDoc::kDeclaration);
    plain.AddElement("root");
    EXPECT_FALSE(plain.SaveFile(dir.File("missing/folder/file.xml")));
    EXPECT_FALSE(plain.SaveFile(dir.path()));  // a folder, not a file
}

// A link or file planted at "<path>.tmp" is neither followed nor clobbered: the temporary file is a new,
// unique one, and none is left behind.
TEST(XmlDocWriter, SaveFileNeverWritesThroughAPlantedTemporaryName) {
    testing::TempDir dir;
    const std::string victim = dir.File("victim.txt");
    testing::WriteBytes(victim, "precious");
    const std::string path = dir.File("profile.xml");
    std::filesystem::create_symlink(victim, path + ".tmp");
    testing::WriteBytes(dir.File("other.xml.tmp"), "someone's file");

    XmlDoc doc;
    doc.SetText(XmlDoc::kDeclaration);
    doc.AddElement("root");
    for (const std::string& target : {path, dir.File("other.xml")}) {
        ASSERT_TRUE(doc.SaveFile(target)) << target;
        EXPECT_EQ(ReadBytes(target), doc.Text()) << target;
    }
    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_TRUE(std::filesystem::is_symlink(path + ".tmp"));
    EXPECT_EQ(ReadBytes(dir.File("other.xml.tmp")), "someone's file");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"other.xml", "other.xml.tmp", "profile.xml", "profile.xml.tmp",
                                               "victim.txt"}));
}

TEST(XmlDocWriter, EditingALoadedDocumentKeepsItsElementsAndAttributes) {
    XmlDoc doc;
    ASSERT_TRUE(doc.LoadBytes("<?xml version=\"1.0\"?>\n<!-- c -->\n<root>\n  <a x='say \"hi\"' y=\"&amp;\"/>\n</root>\n"));
    EXPECT_EQ(doc.Text(), "<?xml version=\"1.0\"?>\n<!-- c -->\n<root>\n  <a x='say \"hi\"' y=\"&amp;\"/>\n</root>\n")
        << "an unchanged document is written as it was read";
    ASSERT_TRUE(doc.FindNext("root"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.FindNext("a"));
    ASSERT_TRUE(doc.AddElement("b"));
    EXPECT_EQ(doc.Text(),
              "<?xml version=\"1.0\"?>\n<!-- c -->\n<root>\r\n<a x=\"say &quot;hi&quot;\" y=\"&amp;\"/>\r\n<b/>\r\n</root>\r\n");
    XmlDoc back;
    ASSERT_TRUE(back.LoadBytes(doc.Text()));
    back.FindNext("root");
    back.Descend();
    back.FindNext("a");
    EXPECT_EQ(back.GetAttribute("x"), "say \"hi\"");
}

}  // namespace
}  // namespace quorvel
