#include <gtest/gtest.h>

#include "support/XmlDoc.h"

namespace quorvel {
namespace {

TEST(XmlDocWriter, SiblingsFollowTheDeclarationOnePerLine) {
    XmlDoc doc;
    doc.SetText(XmlDoc::kDeclaration);
    ASSERT_TRUE(doc.AddElement("root"));
    ASSERT_TRUE(doc.Descend());
    ASSERT_TRUE(doc.AddElement("item"));
    ASSERT_TRUE(doc.SetAttribute("a", "1"));
    EXPECT_EQ(doc.Text(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root>\r\n<item a=\"1\"/>\r\n</root>\r\n");
}

}  // namespace
}  // namespace quorvel
