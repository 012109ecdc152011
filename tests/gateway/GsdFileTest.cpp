// The GSD file: byte for byte against a file typed by hand, the module arithmetic read back
// with a reader of its own, and the refusals that write nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

#include "gateway/GsdFile.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "tests/gateway/GatewayTestFiles.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF at the end>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// A reader of the module and slot part, independent of the writer: it checks the grammar
// and collects what it declares.
struct GsdModule {
  std::string kind;  // DI or DO
  int number;
  int lengthByte;
};
struct GsdContent {
  std::vector<GsdModule> modules;
  std::vector<int> slots;                       // the module each slot names
  std::map<std::string, std::string> keywords;  // Max_* lines
  std::vector<std::string> errors;
  bool slotDefinitionFollowsThreeEmptyLines = false;
  bool endsWithFourEmptyLines = false;
};

GsdContent ReadGsd(const std::vector<std::string>& lines) {
  static const std::regex module_line(
      R"re(Module="(DI|DO)  \(PORT(\d+)\)    " 0x(42|82),0x([0-9A-F]{2}),0x00,0x([0-9A-F]{2}))re");
  static const std::regex slot_line(R"re(Slot\((\d+)\) = "Slot (\d+)" (\d+) (\d+))re");
  static const std::regex keyword(R"((Max_[A-Za-z_]+)=(\d+))");
  GsdContent gsd;
  std::smatch m;
  std::size_t i = 0;
  for (; i < lines.size() && lines[i] != "SlotDefinition"; ++i) {
    if (std::regex_match(lines[i], m, keyword))
      gsd.keywords[m[1]] = m[2];
    if (lines[i].rfind("Module=", 0) != 0)
      continue;
    if (!std::regex_match(lines[i], m, module_line)) {
      gsd.errors.push_back("bad module line: " + lines[i]);
      continue;
    }
    const int number = std::stoi(m[2]);
    if ((m[1] == "DI") != (m[3] == "42"))
      gsd.errors.push_back("code of " + lines[i]);
    if (std::stoi(m[5], nullptr, 16) != number)
      gsd.errors.push_back("number of " + lines[i]);
    if (i + 2 >= lines.size() || lines[i + 1] != std::to_string(number) ||
        lines[i + 2] != "EndModule") {
      gsd.errors.push_back("module without its number and EndModule: " + lines[i]);
    }
    gsd.modules.push_back({m[1], number, std::stoi(m[4], nullptr, 16)});
  }
  gsd.slotDefinitionFollowsThreeEmptyLines = i >= 4 && i < lines.size() && lines[i - 1].empty() &&
                                             lines[i - 2].empty() && lines[i - 3].empty() &&
                                             lines[i - 4] == "EndModule";
  for (++i; i < lines.size() && lines[i] != "EndSlotDefinition"; ++i) {
    if (!std::regex_match(lines[i], m, slot_line)) {
      gsd.errors.push_back("bad slot line: " + lines[i]);
      continue;
    }
    const int slot = std::stoi(m[1]);
    if (std::stoi(m[2]) != slot || m[3] != m[4])
      gsd.errors.push_back("slot " + lines[i]);
    gsd.slots.push_back(std::stoi(m[3]));
  }
  if (i == lines.size())
    gsd.errors.push_back("no EndSlotDefinition");
  for (int module : gsd.slots) {
    if (std::none_of(gsd.modules.begin(), gsd.modules.end(),
                     [module](const GsdModule& m) { return m.number == module; })) {
      gsd.errors.push_back("slot names no module: " + std::to_string(module));
    }
  }
  gsd.endsWithFourEmptyLines = i + 5 == lines.size() && lines[i + 1].empty() &&
                               lines[i + 2].empty() && lines[i + 3].empty() && lines[i + 4].empty();
  return gsd;
}

TEST(GsdFile, DefaultSizesMatchTheFileTypedByHandLineByLine) {
  const std::string expected_text = ReadBytes(DataFile("gateway/default_20_20.gsd"));
  const std::string written = JoinCrLf(GsdLines({20, 20}));
  const std::vector<std::string> expected = SplitCrLf(expected_text);
  const std::vector<std::string> actual = SplitCrLf(written);
  for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
  }
  EXPECT_EQ(actual.size(), expected.size());
  EXPECT_EQ(written, expected_text) << "same bytes, CR LF after every line";
}

TEST(GsdFile, BoxedHeaderLinesAndSectionRulesHaveTheirWidths) {
  const std::vector<std::string> lines = GsdLines({20, 20});
  for (std::size_t i = 2; i < 20; ++i) {  // lines 3 to 20
    EXPECT_EQ(lines[i].size(), 85u) << "line " << i + 1;
    EXPECT_EQ(lines[i].substr(0, 2), ";*") << "line " << i + 1;
    EXPECT_EQ(lines[i].back(), '*') << "line " << i + 1;
  }
  const std::map<std::string, std::size_t> widths = {
      {"Prm-Text-Def-List", 85},   {"Ext-User-Prm-Data-Def-List", 86}, {"General DP Keywords", 86},
      {"Supported baudrates", 79}, {"Slave specific values", 79},      {"User-Prm-Data", 79},
      {"Modulstatus", 79},         {"Module-Definition-List", 79}};
  std::size_t seen = 0;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    for (const auto& [title, width] : widths) {
      if (lines[i].rfind(";==== " + title + " =", 0) != 0)
        continue;
      ++seen;
      EXPECT_EQ(lines[i].size(), width) << title;
      EXPECT_EQ(lines[i - 1], ";" + std::string(width - 1, '=')) << title;
      EXPECT_EQ(lines[i + 1], ";" + std::string(width - 1, '=')) << title;
    }
  }
  EXPECT_EQ(seen, widths.size());
}

// Module split for sizes at and around the 64-byte boundary: length bytes, numbering (inputs
// first), Max_* lines and slots.
TEST(GsdFile, ModulesFollowTheSizes) {
  struct Case {
    int nin, nout;
    std::vector<GsdModule> modules;
  } cases[] = {
      {0, 0, {}},
      {1, 0, {{"DI", 1, 0x00}}},
      {63, 0, {{"DI", 1, 0x3E}}},
      {64, 0, {{"DI", 1, 0x3F}}},
      {65, 0, {{"DI", 1, 0x3F}, {"DI", 2, 0x00}}},
      {128, 1, {{"DI", 1, 0x3F}, {"DI", 2, 0x3F}, {"DO", 3, 0x00}}},
      {0, 10, {{"DO", 1, 0x09}}},
      {0, 65, {{"DO", 1, 0x3F}, {"DO", 2, 0x00}}},
      {20, 20, {{"DI", 1, 0x13}, {"DO", 2, 0x13}}},
      {1, 63, {{"DI", 1, 0x00}, {"DO", 2, 0x3E}}},
      {244,
       244,
       {{"DI", 1, 0x3F},
        {"DI", 2, 0x3F},
        {"DI", 3, 0x3F},
        {"DI", 4, 0x33},
        {"DO", 5, 0x3F},
        {"DO", 6, 0x3F},
        {"DO", 7, 0x3F},
        {"DO", 8, 0x33}}},
  };
  for (const Case& c : cases) {
    const std::string at = std::to_string(c.nin) + "/" + std::to_string(c.nout);
    const std::vector<std::string> lines = GsdLines({c.nin, c.nout});
    const GsdContent gsd = ReadGsd(lines);
    EXPECT_TRUE(gsd.errors.empty()) << at << ": " << gsd.errors.front();
    ASSERT_EQ(gsd.modules.size(), c.modules.size()) << at;
    for (std::size_t m = 0; m < c.modules.size(); ++m) {
      EXPECT_EQ(gsd.modules[m].kind, c.modules[m].kind) << at << " module " << m + 1;
      EXPECT_EQ(gsd.modules[m].number, c.modules[m].number) << at << " module " << m + 1;
      EXPECT_EQ(gsd.modules[m].lengthByte, c.modules[m].lengthByte) << at << " module " << m + 1;
    }
    // Every slot names an existing module: slot s holds module s.
    ASSERT_EQ(gsd.slots.size(), c.modules.size()) << at;
    for (std::size_t s = 0; s < gsd.slots.size(); ++s) {
      EXPECT_EQ(gsd.slots[s], static_cast<int>(s) + 1) << at;
    }
    EXPECT_EQ(gsd.keywords.at("Max_Module"), std::to_string(c.modules.size())) << at;
    EXPECT_EQ(gsd.keywords.at("Max_Input_Len"), std::to_string(c.nin)) << at;
    EXPECT_EQ(gsd.keywords.at("Max_Output_Len"), std::to_string(c.nout)) << at;
    EXPECT_EQ(gsd.keywords.at("Max_Data_Len"), std::to_string(c.nin + c.nout)) << at;
    EXPECT_TRUE(gsd.endsWithFourEmptyLines) << at;
    if (!c.modules.empty()) {
      EXPECT_TRUE(gsd.slotDefinitionFollowsThreeEmptyLines) << at;
    }
  }
}

TEST(GsdFile, NoModulesGiveEmptyListsAfterTheFixedText) {
  const std::vector<std::string> lines = GsdLines({0, 0});
  const std::vector<std::string> tail(lines.end() - 13, lines.end());
  EXPECT_EQ(tail,
            (std::vector<std::string>{
                ";==============================================================================",
                ";==== Module-Definition-List ==================================================",
                ";==============================================================================",
                "", "", "", "", "SlotDefinition", "EndSlotDefinition", "", "", "", ""}));
}

TEST(GsdFile, WrittenFileParsesWithTheIndependentReader) {
  TempDir project;
  WriteBytes(project / "pargen.xml", ParGenXml(With("PROFI_NB_IN", "$B0")));  // 176 bytes
  const Result<std::string> said = WriteGsdFileSaying(project.path(), project / "gateway.gsd");
  ASSERT_TRUE(said.ok()) << said.error();
  const GsdContent gsd = ReadGsd(SplitCrLf(ReadBytes(project / "gateway.gsd")));
  EXPECT_TRUE(gsd.errors.empty()) << gsd.errors.front();
  EXPECT_EQ(gsd.modules.size(), 4u);  // 64 + 64 + 48 in, 20 out
  // The main window's words count the modules the file lists.
  EXPECT_EQ(*said, "GSD written: " + Utf8FromPath(project / "gateway.gsd") + " (" +
                       std::to_string(gsd.modules.size()) + " modules)");
  EXPECT_EQ(gsd.keywords.at("Max_Input_Len"), "176");
}

// A project without usable sizes is refused and no file is written; the sizes of another
// project are never reused.
TEST(GsdFile, ProjectWithoutUsableSizesIsRefused) {
  TempDir home;
  const fs::path first = home / "First";
  fs::create_directory(first);
  WriteBytes(first / "pargen.xml", ParGenXml(With("PROFI_NB_IN", "100")));
  ASSERT_TRUE(WriteGsdFile(first, home / "first.gsd").ok());

  const fs::path second = home / "Second";
  fs::create_directory(second);
  const std::string in_message = "Error!! The PROFIBUS Byte IN must be between 0 and 244. ";
  const std::string out_message = "Error!! The PROFIBUS Byte OUT must be between 0 and 244. ";
  struct Case {
    const char* what;
    std::optional<std::string> pargen;
    std::string message;
  } cases[] = {
      {"no pargen.xml", std::nullopt,
       "The GSD file cannot be written: the communication settings file \"" +
           (second / "pargen.xml").string() +
           "\" does not exist. Set the communication of the project first."},
      {"input size missing", ParGenXml(Without("PROFI_NB_IN")),
       "The communication settings file \"" + (second / "pargen.xml").string() +
           "\" has no element PROFI_NB_IN."},
      {"output size not an integer", ParGenXml(With("PROFI_NB_OUT", "20 ")), out_message},
      {"input size too large", ParGenXml(With("PROFI_NB_IN", "245")), in_message},
      {"input size negative", ParGenXml(With("PROFI_NB_IN", "-1")), in_message},
      {"output size as a large pattern", ParGenXml(With("PROFI_NB_OUT", "0xFFFFFFFF")),
       out_message},
  };
  for (const Case& c : cases) {
    fs::remove(second / "pargen.xml");
    if (c.pargen)
      WriteBytes(second / "pargen.xml", *c.pargen);
    const Status written = WriteGsdFile(second, home / "second.gsd");
    ASSERT_FALSE(written.ok()) << c.what;
    EXPECT_EQ(written.error(), c.message) << c.what;
    EXPECT_FALSE(fs::exists(home / "second.gsd")) << c.what;
  }
  WriteBytes(second / "pargen.xml", "<Par_Gen>");
  const Status unparsable = WriteGsdFile(second, home / "second.gsd");
  EXPECT_NE(unparsable.error().find("is not a valid XML document"), std::string::npos);
  EXPECT_FALSE(fs::exists(home / "second.gsd"));
  EXPECT_EQ(WriteGsdFile({}, home / "second.gsd").error(), "Project not valid");
}

TEST(GsdFile, SizesAtTheLimitsAreAccepted) {
  TempDir project;
  WriteBytes(project / "pargen.xml",
             ParGenXml({{"PROFI_NB_OUT", "244"}, {"PROFI_NB_IN", " 0"}}));  // only the sizes
  const Result<GsdSizes> sizes = ReadGsdSizes(project.path());
  ASSERT_TRUE(sizes.ok()) << sizes.error();
  EXPECT_EQ(sizes->nin, 0);
  EXPECT_EQ(sizes->nout, 244);
}

TEST(GsdFile, UncreatableFileGivesTheSystemsReason) {
  TempDir project;
  WriteBytes(project / "pargen.xml", kDefaultParGenText);
  const fs::path file = project / "missing" / "gateway.gsd";
  EXPECT_EQ(WriteGsdFile(project.path(), file).error(),
            "Cannot create file \"" + file.string() + "\". No such file or directory");
}

TEST(GsdFile, FailedWriteLeavesPreviousFileWhole) {
  TempDir project;
  WriteBytes(project / "pargen.xml", kDefaultParGenText);
  WriteBytes(project / "gateway.gsd", "previous GSD");
  Status written = Status::Ok();
  {
    FileSizeLimit limit(1000);  // the file is longer than that
    written = WriteGsdFile(project.path(), project / "gateway.gsd");
  }
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().rfind(
                "Cannot create file \"" + (project / "gateway.gsd").string() + "\". ", 0),
            0u)
      << written.error();
  EXPECT_EQ(ReadBytes(project / "gateway.gsd"), "previous GSD");
  EXPECT_EQ(EntriesOf(project.path()).size(), 2u) << "no temporary left";
}

}  // namespace
}  // namespace quastor::test
