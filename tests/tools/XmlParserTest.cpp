// The XML tool's parser: each message of its error table from its own small input, the
// references, what content keeps and drops, and the items that the window and the CLI show.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ToolsTexts.h"
#include "tools/XmlParser.h"
#include "tools/XmlTree.h"

namespace quastor {
namespace {

using Lines = std::vector<std::string>;

// The tree's lines of a text parsed as file "f.xml", or the parser's message as one line.
Lines TreeOf(const std::string& text) {
  const Result<XmlParseTree> document = ParseXml(text);
  if (!document)
    return {"! " + document.error()};
  return XmlItemTree::FromDocument(*document, "f.xml").Lines();
}

std::string Nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i)
    text += "<e>";
  for (int i = 0; i < depth; ++i)
    text += "</e>";
  return text;
}

TEST(XmlParser, EveryMessageFromItsOwnInput) {
  struct Case {
    const char* input;
    const char* message;
  } cases[] = {
      {"<!DOCTYPE a><a/>", "DocTypeDecl parsing not yet implemented"},
      {"<!-- c --><!DOCTYPE a>", "DocTypeDecl parsing not yet implemented"},
      {"<a><!DOCTYPE b></a>", "DocTypeDecl parsing not yet implemented"},
      {"", "Missing element"},
      {" \r\n<!-- only a comment --> <?pi x?> ", "Missing element"},
      {"text<a/>", "Missing element"},
      {"<1a/>", "Missing element"},
      {"<a><!x/></a>", "Missing element"},
      {"<?xml version='1.0'><a/>", "XML declaration not terminated with \"?>\""},
      {"<?xml version='1.0' ><a/>", "XML declaration not terminated with \"?>\""},
      {"<?xml version='1.0'encoding='x'?><a/>", "XML declaration not terminated with \"?>\""},
      {"<a b></a>", "Equals sign missing in attribute"},
      {"<?xml version ?><a/>", "Equals sign missing in attribute"},
      {"<a b=c/>", "Attribute \"b\" missing value"},
      {"<a b='1<2'/>", "Invalid character \"<\" in attribute value"},
      {"<a b='1'c='2'/>", "Tag not terminated properly"},
      {"<a/ >", "Tag not terminated properly"},
      {"<a $>", "Tag not terminated properly"},
      {"<a><b/>text", "No ending tag for a"},
      {"<a></b>", "End tag name \"b\" does not match start tag name \"a\""},
      {"<a></ab>", "End tag name \"ab\" does not match start tag name \"a\""},
      {"<a></a b>", "End tag missing \">\""},
      {"<a>x]]>y</a>", "Character data cannot contain \"]]>\""},
      {"<a><!-- c ---></a>", "Comments cannot end in \"--->\""},
      {"<? pi?><a/>", "Processing instruction does not contain valid name"},
      {" <?xml version='1.0'?><a/>",
       "Processing instruction cannot have the reserved name \"xml\""},
      {"<a><?xml x?></a>", "Processing instruction cannot have the reserved name \"xml\""},
      {"<a/><?pi data", "Unterminated processing instruction"},
      {"<a><?", "Unterminated processing instruction"},
      {"<a>&nbsp;</a>", "Unrecognized reference"},
      {"<a b='&AMP;'/>", "Unrecognized reference"},
      {"<a>&#xZZ;</a>", "Invalid integer in reference &#xZZ;"},
      {"<a>&#;</a>", "Invalid integer in reference &#;"},
      {"<a>&#X41;</a>", "Invalid integer in reference &#X41;"},
      {"<a>&#-1;</a>", "Invalid integer in reference &#-1;"},
      {"<a>&#99999999999;</a>", "Invalid integer in reference &#99999999999;"},
      {"<a>&#x100000041;</a>", "Invalid integer in reference &#x100000041;"},
      {"<", "Unexpected end of data"},
      {"<a", "Unexpected end of data"},
      {"<a b", "Unexpected end of data"},
      {"<a b='1", "Unexpected end of data"},
      {"<a/", "Unexpected end of data"},
      {"<a></a", "Unexpected end of data"},
      {"<a>&amp", "Unexpected end of data"},
      {"<a><!-- c", "Unexpected end of data"},
      {"<a><![CDATA[x]]", "Unexpected end of data"},
      {"<?xml version='1.0'", "Unexpected end of data"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TreeOf(c.input), Lines{std::string("! ") + c.message}) << c.input;
  // The parser calls the reference decoder only at "&"; its own input can lack it.
  EXPECT_EQ(DecodeReference("amp;").error(), tools_texts::kReferenceWithoutAmpersand);
}

TEST(XmlParser, ReferencesNameCodePoints) {
  struct Case {
    const char* reference;
    std::uint32_t code_point;
  } cases[] = {
      {"&#65;", 'A'},      {"&#x41;", 'A'},    {"&#x0041;", 'A'},
      {"&#0065;", 'A'},    {"&amp;", '&'},     {"&lt;", '<'},
      {"&gt;", '>'},       {"&quot;", '"'},    {"&apos;", '\''},
      {"&#321;", 0x141},   {"&#x141;", 0x141}, {"&#xe9;", 0xE9},
      {"&#8364;", 0x20AC}, {"&#256;", 0x100},  {"&#xFFFFFFFF;", 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    const Result<std::uint32_t> code_point = DecodeReference(c.reference);
    ASSERT_TRUE(code_point.ok()) << c.reference << ": " << code_point.error();
    EXPECT_EQ(*code_point, c.code_point) << c.reference;
  }
  // In character data and in attribute values alike.
  const Result<XmlParseTree> document = ParseXml("<a v='&#65;&lt;&#x42;'>&#65;&amp;&#x42;</a>");
  ASSERT_TRUE(document.ok());
  const XmlParseNode a = document->Document().Children()[0];
  EXPECT_EQ(a.Value(), "A&B");
  EXPECT_EQ(a.Children()[0].Value(), "A<B");
}

TEST(XmlParser, ContentAndItsItems) {
  struct Case {
    const char* input;
    Lines items;
  } cases[] = {
      // CDATA is appended to the value, comments are skipped, references decoded.
      {"<a>x<![CDATA[<y>&]]>z<!-- skipped -->&#65;</a>", {"File: f.xml", "  a = x<y>&zA"}},
      // Tab, line feed, carriage return and blank are stripped at both ends only.
      {"<a>\n\t x \r y \r\n</a>", {"File: f.xml", "  a = x \r y"}},
      {"<a>&#32;x&#9;</a>", {"File: f.xml", "  a = x"}},
      {"<a> \n\t </a>", {"File: f.xml", "  a"}},
      // Attributes first, then content nodes, each in source order; an empty value shows no
      // " = ".
      {"<r x='1'>t<?pi  do it ?><c y=\"2\" z = '' /><!----></r>",
       {"File: f.xml", "  r = t", "    x = 1", "    piProcessingInstruction = do it ", "    c",
        "      y = 2", "      z"}},
      // The declaration with its attributes, prolog and trailing instructions under the file;
      // the rest of the input is ignored.
      {"<?xml version=\"1.0\" encoding='UTF-8'?>\n<!-- c -->\n<?style sheet?>\n<r/>\n<?end?>"
       "<junk",
       {"File: f.xml", "  XMLDeclaration", "    version = 1.0", "    encoding = UTF-8",
        "  styleProcessingInstruction = sheet", "  r", "  endProcessingInstruction"}},
      // A UTF-8 byte order mark is no part of the document; names take ".", "-", ":", "_"
      // and the byte 0xB7.
      {"\xEF\xBB\xBF<r e='\xC3\xA9'/>", {"File: f.xml", "  r", "    e = \xC3\xA9"}},
      {"<_a:b.c-d\xB7/>", {"File: f.xml", "  _a:b.c-d\xC2\xB7"}},
      // Bytes that are not UTF-8 show as Windows-1252.
      {"<a>caf\xE9 \x80</a>", {"File: f.xml", "  a = caf\xC3\xA9 \xE2\x82\xAC"}},
      {"<a>&#233;</a>", {"File: f.xml", "  a = \xC3\xA9"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TreeOf(c.input), c.items) << c.input;
}

TEST(XmlParser, NestingIsBounded) {
  EXPECT_EQ(TreeOf(Nested(kMaxXmlDepth)).size(), static_cast<std::size_t>(kMaxXmlDepth) + 1);
  EXPECT_EQ(TreeOf(Nested(kMaxXmlDepth + 1)), Lines{"! Elements nested more than 256 levels deep"});
  // Far deeper input fails the same way instead of exhausting the stack.
  std::string deep;
  for (int i = 0; i < 100000; ++i)
    deep += "<e>";
  EXPECT_EQ(TreeOf(deep), Lines{"! Elements nested more than 256 levels deep"});
}

TEST(XmlTree, ImagesByKind) {
  const Result<XmlParseTree> document = ParseXml("<?xml version='1'?><?p?><r a='1'/>");
  ASSERT_TRUE(document.ok());
  const XmlItemTree tree = XmlItemTree::FromDocument(*document, "f.xml");
  std::vector<int> images;
  for (int i = 0; i < tree.Size(); ++i)
    images.push_back(ImageIndex(tree.Kind(i)));
  // file, declaration, its attribute, instruction, element, its attribute
  EXPECT_EQ(images, (std::vector<int>{0, 8, 4, 6, 2, 4}));
}

}  // namespace
}  // namespace quastor
