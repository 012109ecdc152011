// The XML document adapter: roots, attributes, text, saving.

#include <gtest/gtest.h>

#include "platform/XmlDocument.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

TEST(XmlDocument, FirstTopLevelNodeSkipsDeclarationAndComments) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<?xml version=\"1.0\"?><!-- c --><Par_Gen><A>1</A></Par_Gen>").ok());
  EXPECT_STREQ(doc.FirstTopLevelNode().name(), "Par_Gen");
  EXPECT_STREQ(doc.DocumentElement().name(), "Par_Gen");
}

TEST(XmlDocument, AttributeAbsentIsNotEmpty) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<r a=\"\" b=\"x\"/>").ok());
  const auto root = doc.DocumentElement();
  EXPECT_EQ(AttributeText(root, "a"), std::optional<std::string>(""));
  EXPECT_EQ(AttributeText(root, "b"), std::optional<std::string>("x"));
  EXPECT_EQ(AttributeText(root, "c"), std::nullopt);
}

TEST(XmlDocument, NodeTextJoinsAllCharacterData) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<r>a<b>b</b><![CDATA[<c>]]></r>").ok());
  EXPECT_EQ(NodeText(doc.DocumentElement()), "ab<c>");
  EXPECT_EQ(ElementChildren(doc.DocumentElement()).size(), 1u);
}

TEST(XmlDocument, ParseErrorNamesLineAndColumn) {
  XmlDocument doc;
  const Status status = doc.LoadText("<r>\n<a></b>\n</r>", "f.xml");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("\"f.xml\""), std::string::npos) << status.error();
  EXPECT_NE(status.error().find("line 2"), std::string::npos) << status.error();
  EXPECT_FALSE(doc.LoadText("", "e.xml").ok());
  EXPECT_FALSE(doc.LoadText("   ", "e.xml").ok());
}

TEST(XmlDocument, MissingFileFailsWithPath) {
  test::TempDir dir;
  XmlDocument doc;
  const Status status = doc.Load(dir / "none.xml");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("none.xml"), std::string::npos);
}

TEST(XmlDocument, SavesWithoutDeclarationOrIndentation) {
  test::TempDir dir;
  XmlDocument doc;
  auto root = doc.AddRoot("Par_Gen");
  AppendTextChild(root, "PROFI_ID", "20");
  AppendTextChild(root, "NAME", "a<b&c");
  ASSERT_TRUE(doc.Save(dir / "p.xml").ok());
  EXPECT_EQ(test::ReadBytes(dir / "p.xml"),
            "<Par_Gen><PROFI_ID>20</PROFI_ID><NAME>a&lt;b&amp;c</NAME></Par_Gen>");
}

}  // namespace
}  // namespace quastor
