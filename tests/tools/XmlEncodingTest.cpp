// The XML tool and the encodings of its files: a reference becomes its character in the
// file's encoding or is refused, the file name stays as the file system gave it, and Write
// keeps the declaration and gives bytes that decode as it declares (checked with xmllint, a
// reader of its own).

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/PathText.h"
#include "tests/support/TestFiles.h"
#include "tools/XmlTree.h"
#include "tools/XmlWrite.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kLodz = "\xC5\x81\xC3\xB3\x64\xC5\xBA";  // Łódź

// The shown lines of a text parsed as file "f.xml", or the parser's message as one line.
std::vector<std::string> Lines(const std::string& text) {
  const Result<XmlParseTree> document = ParseXml(text);
  if (!document)
    return {"! " + document.error()};
  return XmlItemTree::FromDocument(*document, "f.xml").Lines();
}

XmlItemTree TreeOf(const std::string& text, const std::string& file_name = "f.xml") {
  const Result<XmlParseTree> document = ParseXml(text);
  EXPECT_TRUE(document.ok()) << document.error();
  return document ? XmlItemTree::FromDocument(*document, file_name) : XmlItemTree();
}

// Catches a reference taken as its low byte (&#321; as "A"), and one written into a file whose
// encoding has no place for its character.
TEST(XmlEncoding, ReferenceBecomesItsCharacterInTheFilesEncoding) {
  const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
  const std::string held = ": a character reference names a character this file cannot hold";
  struct Case {
    std::string input;
    std::string last;  // the last line shown, or "! " and the message
  } cases[] = {
      {"<a>&#321;&#xF3;d&#378;</a>", "  a = " + kLodz},
      {"<a v='&#8364;'/>", "    v = \xE2\x82\xAC"},
      {latin1 + "<a>&#233; \xE9</a>", "  a = \xC3\xA9 \xC3\xA9"},
      {latin1 + "<a>&#8364;</a>", "! &#8364;" + held + " (ISO-8859-1)"},
      {"<?xml version='1.0' encoding='windows-1252'?><a>&#8364;</a>", "  a = \xE2\x82\xAC"},
      {"<?xml version='1.0' encoding='US-ASCII'?><a>&#65;&#233;</a>",
       "! &#233;" + held + " (US-ASCII)"},
      {"<?xml version='1.0' encoding='ISO-8859-2'?><a>&#321;</a>",
       "! &#321;" + held + " (ISO-8859-2)"},
      {"<?xml version='1.0' encoding='ISO-8859-2'?><a>&#65;</a>", "  a = A"},
      // Bytes that are not UTF-8 make a file without a declaration Windows-1252.
      {"<a>caf\xE9 &#8364;</a>", "  a = caf\xC3\xA9 \xE2\x82\xAC"},
      {"<a>caf\xE9 &#321;</a>", "! &#321;" + held + " (Windows-1252)"},
      // Numbers that name no character at all.
      {"<a>&#xD800;</a>", "! &#xD800;" + held + " (UTF-8)"},
      {"<a>&#x110000;</a>", "! &#x110000;" + held + " (UTF-8)"},
      {"<a>&#xFFFFFFFF;</a>", "! &#xFFFFFFFF;" + held + " (UTF-8)"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = Lines(c.input);
    EXPECT_EQ(lines.back(), c.last) << c.input;
  }
}

// Catches the file name put into the file's 8-bit encoding: 温度.xml showed and was written
// as ??.xml.
TEST(XmlEncoding, FileNameStaysAsTheFileSystemGaveIt) {
  TempDir home;
  AppState state;
  state.ProjectsDir = home / "PROJECTS";
  state.ProjectDir = state.ProjectsDir / "Plant";
  fs::create_directories(state.ProjectDir);
  const std::string name = "\xE6\xB8\xA9\xE5\xBA\xA6.xml";  // 温度.xml
  const std::string content = "<r a=\"caf\xE9\"/>";
  WriteBytes(home.path() / PathFromUtf8(name), content);
  const Result<XmlItemTree> tree = OpenXmlTree(home.path() / PathFromUtf8(name));
  ASSERT_TRUE(tree.ok()) << tree.error();
  EXPECT_EQ(tree->ShownText(0), "File: " + name);
  EXPECT_EQ(tree->ShownText(2), "a = caf\xC3\xA9");
  ASSERT_TRUE(WriteXmlTree(*tree, state).ok());
  EXPECT_EQ(ReadBytes(state.ProjectDir / PathFromUtf8(name)), content);
}

// Catches a declaration dropped (its 8-bit bytes then read as UTF-8 by every other reader), a
// text converted where the encoding stays, and an edit written as "?".
TEST(XmlEncoding, WriteKeepsTheDeclarationAndItsEncoding) {
  const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
  const std::string not_held = "Cannot write the tree: the text of \"a\" holds a character that ";
  struct Case {
    std::string input;
    int item;  // the item edited, or -1
    std::string edit;
    std::string written;  // or the message
  } cases[] = {
      // Unedited, the file's bytes come back.
      {latin1 + "<r a=\"caf\xE9\"/>", -1, "", latin1 + "<r a=\"caf\xE9\"/>"},
      {"<?xml version='1.0' encoding='windows-1252'?>\r\n<r>&#8364;\x80</r>", -1, "",
       "<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\x80\x80</r>"},
      {"<?xml version='1.0' encoding='ISO-8859-2'?><r a='\xA3\xF3\x64\xBC'/>", -1, "",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><r a=\"\xA3\xF3\x64\xBC\"/>"},
      {"<?xml version='1.0'?><r a='" + kLodz + "'/>", -1, "",
       "<?xml version=\"1.0\"?><r a=\"" + kLodz + "\"/>"},
      // A declaration that names UTF-8 over bytes that are not: the text is written as UTF-8.
      {"<?xml version='1.0' encoding='UTF-8'?><r a='caf\xE9'/>", -1, "",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"caf\xC3\xA9\"/>"},
      {"<?xml encoding='UTF-8' ?><r/>", -1, "", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r/>"},
      // Edits go into the file's encoding, or are refused.
      {latin1 + "<r a=\"x\"/>", 5, "a = na\xC3\xAFve", latin1 + "<r a=\"na\xEFve\"/>"},
      {latin1 + "<r a=\"x\"/>", 5, "a = " + kLodz, not_held + "ISO-8859-1 cannot hold"},
      {"<r a=\"caf\xE9\"/>", 2, "a = " + kLodz, not_held + "Windows-1252 cannot hold"},
      {"<?xml version='1.0' encoding='ISO-8859-2'?><r a='x'/>", 5, "a = " + kLodz,
       not_held + "ISO-8859-2 cannot hold"},
      // A new encoding in the declaration converts every text.
      {latin1 + "<r a=\"caf\xE9\"/>", 3, "encoding = UTF-8",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"caf\xC3\xA9\"/>"},
      {latin1 + "<r a=\"caf\xE9\"/>", 3, "encoding = US-ASCII", not_held + "US-ASCII cannot hold"},
      {latin1 + "<r/>", 3, "encoding = \"x",
       "Cannot write the tree: \"encoding = \"x\" cannot "
       "stand in the XML declaration"},
  };
  for (const Case& c : cases) {
    XmlItemTree tree = TreeOf(c.input);
    if (c.item >= 0)
      tree.SetShownText(c.item, c.edit);
    const Result<std::string> written = XmlTreeDocument(tree);
    EXPECT_EQ(written ? *written : written.error(), c.written) << c.input;
    if (written) {
      EXPECT_TRUE(ParseXml(*written).ok()) << "the tool reads what it wrote: " << c.input;
    }
  }
}

#ifndef _WIN32
// What xmllint makes of a file: its message when it refuses it, else the value of /r/@a.
std::string XmllintValue(const fs::path& file) {
  const std::string command =
      "xmllint --xpath 'string(/r/@a)' '" + file.string() + "' 2>&1; echo \" [$?]\"";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
      out += buffer;
    pclose(pipe);
  }
  return out;
}

// Another XML reader reads what Write makes as the text the window showed (libxml2-utils,
// installed with the build's packages). Catches bytes that do not decode as declared.
TEST(XmlEncoding, AnotherReaderReadsWhatWriteMakes) {
  TempDir home;
  AppState state;
  state.ProjectsDir = home / "PROJECTS";
  state.ProjectDir = state.ProjectsDir / "Plant";
  fs::create_directories(state.ProjectDir);
  const struct {
    std::string input;
    std::string shown;  // the value of a as the window shows it
  } cases[] = {
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"caf\xE9 &#255;\"/>",
       "caf\xC3\xA9 \xC3\xBF"},
      {"<?xml version='1.0' encoding='windows-1252'?><r a='&#8364;\x80'/>",
       "\xE2\x82\xAC\xE2\x82\xAC"},
      {"<?xml version='1.0' encoding='UTF-8'?><r a='caf\xE9'/>", "caf\xC3\xA9"},
      {"<r a='&#321;\xC3\xB3\x64&#378;'/>", kLodz},
  };
  for (const auto& c : cases) {
    const XmlItemTree tree = TreeOf(c.input, "out.xml");
    ASSERT_TRUE(WriteXmlTree(tree, state).ok()) << c.input;
    EXPECT_EQ(XmllintValue(state.ProjectDir / "out.xml"), c.shown + "\n [0]\n") << c.input;
  }
}
#endif

}  // namespace
}  // namespace quastor
