// "Write" of the XML tool: every project file comes back as it was written, an edit lands in
// the project's file, and every failure is told and leaves the disk alone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/XmlDocument.h"
#include "tests/support/TestFiles.h"
#include "tools/XmlWrite.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

XmlItemTree TreeOf(const std::string& text, const std::string& file_name = "f.xml") {
  const Result<XmlParseTree> document = ParseXml(text);
  EXPECT_TRUE(document.ok()) << document.error();
  return document ? XmlItemTree::FromDocument(*document, file_name) : XmlItemTree();
}

// A table file as the system's writers make it: the root, then one "row" per record with
// the attributes in list order.
std::string TableFile(const std::string& root, const std::vector<std::string>& names,
                      const std::vector<std::vector<std::string>>& rows) {
  XmlDocument document;
  XmlNode top = document.AddRoot(root);
  for (const auto& values : rows) {
    XmlNode row = top.AppendElement("row");
    for (std::size_t i = 0; i < names.size(); ++i)
      row.SetAttribute(names[i], values[i % values.size()]);
  }
  return document.ToText();
}

std::vector<std::string> EmcyWordNames() {
  std::vector<std::string> names = {"index_addrm", "subindex", "extdata", "devid"};
  for (int bit = 0; bit < 16; ++bit) {
    for (const char* part : {"_b0", "_b1", "_poscomp"})
      names.push_back("bit" + std::to_string(bit) + part);
  }
  return names;
}

std::string ParGen(const std::string& profi_id) {
  XmlDocument document;
  XmlNode root = document.AddRoot("Par_Gen");
  const std::pair<const char*, std::string> values[] = {
      {"PROFI_ID", profi_id}, {"PROFI_BAUD", "10"},  {"PROFI_NB_IN", "20"},
      {"PROFI_NB_OUT", "20"}, {"DNET_DEV_ID", "10"}, {"DNET_BAUD", "2"}};
  for (const auto& [name, value] : values)
    root.AppendTextElement(name, value);
  return document.ToText();
}

TEST(XmlWrite, EveryProjectFileComesBackAsItWasWritten) {
  const std::vector<std::vector<std::string>> values = {
      {"16", "0x2000", "1", "a & b <c> \"d\" 'e'", ""}, {"$1F", "caf\xC3\xA9", "-3", "0", "x"}};
  const std::string files[] = {
      ParGen("20"),
      TableFile(
          "sdo",
          {"conf", "IndexA", "SubindexA", "devIDB", "IndexB", "SubindexB", "nbyteB", "mnemonico"},
          values),
      TableFile("rpdodef", {"cobid", "id_dev_orig", "en_bypass", "posind", "n_tpdo"}, values),
      TableFile("sdopdo", {"index", "subindex", "nrpdo", "poscomp"}, values),
      TableFile("emcydef",
                {"id_dev", "mask_eq_ec", "mask_eq_er", "mask_eq_m1", "mask_eq_m2", "mask_eq_m3",
                 "enmask_eq_ec", "enmask_eq_er", "enmask_eq_m1", "enmask_eq_m2", "enmask_eq_m3",
                 "bypass_set"},
                values),
      TableFile("emcyword", EmcyWordNames(), values),
      TableFile("Receive_Frames", {"DataPage", "PGN", "SA", "Delete", "Mnemonic"}, values),
      TableFile("Receive_Frames", {"Priority", "DataPage", "PGN", "SA", "Mnemonic"}, values),
      TableFile("Receive_Frames_Info", {"B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8"}, values),
      TableFile("Send_Frames_Info", {"B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8"}, values),
      TableFile("sdo", {"conf"}, {}),
      // Windows-1252 bytes stay the bytes they were.
      "<sdo><row mnemonico=\"caf\xE9\"/></sdo>",
  };
  for (const std::string& file : files) {
    const Result<std::string> written = XmlTreeDocument(TreeOf(file));
    ASSERT_TRUE(written.ok()) << written.error();
    EXPECT_EQ(*written, file);
  }
}

TEST(XmlWrite, DeeperShapesAndDeclarationsAreWrittenWhereTheTreeShowsThem) {
  const struct {
    const char* input;
    const char* written;
  } cases[] = {
      {"<r a='1'><g><c k='v'>t</c><d/></g><e>x</e></r>",
       "<r a=\"1\"><g><c k=\"v\">t</c><d/></g><e>x</e></r>"},
      {"<?xml version=\"1.0\"?><?pi x?><r><?in y?><row a='1'/></r>",
       "<?xml version=\"1.0\"?><r><row a=\"1\"/></r>"},
      {"<r>text<c/></r>", "<r>text<c/></r>"},
  };
  for (const auto& c : cases) {
    const Result<std::string> written = XmlTreeDocument(TreeOf(c.input));
    ASSERT_TRUE(written.ok()) << c.input << ": " << written.error();
    EXPECT_EQ(*written, c.written) << c.input;
  }
}

class XmlWriteToProject : public ::testing::Test {
 protected:
  XmlWriteToProject() {
    state.ProjectsDir = home / "PROJECTS";
    state.ProjectDir = state.ProjectsDir / "Plant";
    fs::create_directories(state.ProjectDir);
  }
  TempDir home;
  AppState state;
};

TEST_F(XmlWriteToProject, AnEditedValueLandsInTheProjectFile) {
  XmlItemTree tree = TreeOf(ParGen("20"), "pargen.xml");
  ASSERT_EQ(tree.ShownText(2), "PROFI_ID = 20");
  tree.SetShownText(2, "PROFI_ID = 30");
  ASSERT_TRUE(WriteXmlTree(tree, state).ok());
  EXPECT_EQ(ReadBytes(state.ProjectDir / "pargen.xml"), ParGen("30"));
}

TEST_F(XmlWriteToProject, EveryFailureIsToldAndWritesNothing) {
  const std::string pargen = ParGen("20");
  struct Case {
    const char* input;
    int item;  // the item to edit, or -1
    const char* edit;
    std::string message;
  } cases[] = {
      {"<a b='1'/>", 0, "File: ../a.xml",
       "Cannot write \"../a.xml\": the file name must be a plain name, without folders or \"..\""},
      {"<a/>", 0, "File: sub/a.xml",
       "Cannot write \"sub/a.xml\": the file name must be a plain name, without folders or \"..\""},
      {"<a/>", 0, "File: sub\\a.xml",
       "Cannot write \"sub\\a.xml\": the file name must be a plain name, without folders or "
       "\"..\""},
      {"<a/>", 0, "File: C:a.xml",
       "Cannot write \"C:a.xml\": the file name must be a plain name, without folders or \"..\""},
      {"<a/>", 0, "File: .. ",
       "Cannot write \"..\": the file name must be a plain name, without folders or \"..\""},
      {"<a/>", 0, "File:  ",
       "Cannot write \"\": the file name must be a plain name, without folders or \"..\""},
      {"<a b='1'/>", 2, "b c = 1", "Cannot write the tree: \"b c\" is not a valid attribute name"},
      {"<a b='1'/>", 2, " = 1", "Cannot write the tree: \"\" is not a valid attribute name"},
      {"<a><b/></a>", 2, "1b", "Cannot write the tree: \"1b\" is not a valid element name"},
      {"<a/>", 1, "a b = c", "Cannot write the tree: \"a b\" is not a valid element name"},
      {"<a>&#0;</a>", -1, "", "Cannot write the tree: the text of \"a\" holds a NUL byte"},
  };
  for (const Case& c : cases) {
    XmlItemTree tree = TreeOf(c.input, "out.xml");
    if (c.item >= 0)
      tree.SetShownText(c.item, c.edit);
    const Status written = WriteXmlTree(tree, state);
    ASSERT_FALSE(written.ok()) << c.input;
    EXPECT_EQ(written.error(), c.message);
    EXPECT_TRUE(fs::is_empty(state.ProjectDir)) << c.input;
    EXPECT_FALSE(fs::exists(home / "a.xml"));
  }

  EXPECT_EQ(WriteXmlTree(XmlItemTree(), state).error(), "Nothing to write: open an XML file first");
  // A file that cannot be replaced: the system's reason, and the directory stays.
  fs::create_directories(state.ProjectDir / "pargen.xml");
  const Status blocked = WriteXmlTree(TreeOf(pargen, "pargen.xml"), state);
  ASSERT_FALSE(blocked.ok());
  EXPECT_EQ(blocked.error().rfind("Cannot create file \"", 0), 0u) << blocked.error();
  EXPECT_TRUE(fs::is_directory(state.ProjectDir / "pargen.xml"));
  // Without a project nothing is written anywhere, not even in PROJECTS.
  for (const fs::path& dir : {fs::path(), state.ProjectsDir}) {
    state.ProjectDir = dir;
    EXPECT_EQ(WriteXmlTree(TreeOf(pargen, "x.xml"), state).error(), "Project not valid");
  }
  EXPECT_FALSE(fs::exists(state.ProjectsDir / "x.xml"));
}

TEST(XmlWrite, FileNameOfTheFileItem) {
  const struct {
    const char* text;
    const char* name;  // nullptr: refused
  } cases[] = {
      {"File: pargen.xml", "pargen.xml"},
      {"File:x.xml", "x.xml"},
      {"  plain.xml ", "plain.xml"},
      {"File: a b.xml", "a b.xml"},
      {"File: ..x.xml", "..x.xml"},
      {"File: .", nullptr},
      {"File: a/b", nullptr},
      {"File: /etc/x", nullptr},
      {"File: a:b", nullptr},
  };
  for (const auto& c : cases) {
    const Result<std::string> name = WriteFileName(c.text);
    EXPECT_EQ(name.ok(), c.name != nullptr) << c.text;
    if (name && c.name) {
      EXPECT_EQ(*name, c.name);
    }
  }
}

}  // namespace
}  // namespace quastor
