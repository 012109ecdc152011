// The XML document adapter: roots, attributes, text, saving.

#include <gtest/gtest.h>

#include "platform/XmlDocument.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

TEST(XmlDocument, FirstTopLevelNodeSkipsDeclarationAndComments) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<?xml version=\"1.0\"?><!-- c --><Par_Gen><A>1</A></Par_Gen>").ok());
  EXPECT_EQ(doc.FirstTopLevelNode().Name(), "Par_Gen");
  EXPECT_EQ(doc.DocumentElement().Name(), "Par_Gen");
}

TEST(XmlDocument, AttributeAbsentIsNotEmpty) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<r a=\"\" b=\"x\"/>").ok());
  const auto root = doc.DocumentElement();
  EXPECT_EQ(root.Attribute("a"), std::optional<std::string>(""));
  EXPECT_EQ(root.Attribute("b"), std::optional<std::string>("x"));
  EXPECT_EQ(root.Attribute("c"), std::nullopt);
}

TEST(XmlDocument, NodeTextJoinsAllCharacterData) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<r>a<b>b</b><![CDATA[<c>]]></r>").ok());
  EXPECT_EQ(doc.DocumentElement().Text(), "ab<c>");
  EXPECT_EQ(doc.DocumentElement().ElementChildren().size(), 1u);
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
  root.AppendTextElement("PROFI_ID", "20");
  root.AppendTextElement("NAME", "a<b&c");
  ASSERT_TRUE(doc.Save(dir / "p.xml").ok());
  EXPECT_EQ(test::ReadBytes(dir / "p.xml"),
            "<Par_Gen><PROFI_ID>20</PROFI_ID><NAME>a&lt;b&amp;c</NAME></Par_Gen>");
}

TEST(XmlDocument, ChildNodesInOrderAndAttributesInDocumentOrder) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<t>\n  <row b=\"2\" a=\"1\"/>\n  text<!-- c --><x/></t>").ok());
  const XmlNode root = doc.DocumentElement();
  // Blank text and comments are no nodes; other text is.
  ASSERT_EQ(root.ChildCount(), 3u);
  const std::vector<XmlNode> children(root.Children().begin(), root.Children().end());
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0].Name(), "row");
  EXPECT_EQ(children[1].kind(), XmlNode::Kind::kText);
  EXPECT_EQ(children[2].Name(), "x");
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(children[0].Attributes(), (std::vector<Pair>{{"b", "2"}, {"a", "1"}}));
  EXPECT_EQ(children[1].Attribute("b"), std::nullopt);
  // A node without children, and a null node, have an empty walk.
  EXPECT_EQ(children[2].Children().begin(), children[2].Children().end());
  EXPECT_EQ(XmlNode().Children().begin(), XmlNode().Children().end());
}

// Found by fuzzing: pugixml turns a reference to a surrogate or past U+10FFFF into bytes that
// are not UTF-8, which a later save carried into another file.
TEST(XmlDocument, CharacterReferencesMustNameCharacters) {
  const struct {
    const char* text;
    const char* value;  // the attribute's and the text's, or nullptr when the load fails
  } cases[] = {
      {"<r a=\"&#xE9;\">&#233;</r>", "\xC3\xA9"},
      {"<r a=\"&#xFFFD;\">&#xFFFD;</r>", "\xEF\xBF\xBD"},
      {"<r a=\"&#x10FFFF;\">&#x10FFFF;</r>", "\xF4\x8F\xBF\xBF"},
      {"<r a=\"x\">&#x110000;</r>", nullptr},
      {"<r a=\"&#xFFF4F0;\">x</r>", nullptr},
      {"<r a=\"x\"><s>&#xD800;</s></r>", nullptr},
      {"<r a=\"x\"><s/><s>&#xDFFF;</s></r>", nullptr},
  };
  for (const auto& c : cases) {
    XmlDocument doc;
    const Status loaded = doc.LoadText(c.text, "t.xml");
    if (c.value == nullptr) {
      ASSERT_FALSE(loaded.ok()) << c.text;
      EXPECT_EQ(loaded.error(),
                "\"t.xml\" is not a valid XML document: a character reference names no character.");
      continue;
    }
    ASSERT_TRUE(loaded.ok()) << c.text << ": " << loaded.error();
    EXPECT_EQ(doc.DocumentElement().Attribute("a"), std::optional<std::string>(c.value));
    EXPECT_EQ(doc.DocumentElement().Text(), c.value);
  }
}

TEST(XmlDocument, EightBitTextWithoutDeclarationReadsAsWindows1252) {
  XmlDocument doc;
  ASSERT_TRUE(doc.LoadText("<r n=\"\xB0"
                           "C\"/>")
                  .ok());
  EXPECT_EQ(doc.DocumentElement().Attribute("n"), std::optional<std::string>("\xC2\xB0"
                                                                             "C"));
  ASSERT_TRUE(doc.LoadText("<r n=\"\xC2\xB0\"/>").ok());
  EXPECT_EQ(doc.DocumentElement().Attribute("n"), std::optional<std::string>("\xC2\xB0"));
}

}  // namespace
}  // namespace quastor
