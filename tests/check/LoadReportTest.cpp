// The report of a partial load as the CANopen tables and the J1939 frame files both fill it:
// what was not read, counted and placed alike, and the question before OK asked about the same
// sentences in either subsystem's words. (The project check is where both subsystems meet.)

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "canopen/CanopenTexts.h"
#include "canopen/LoadGaps.h"
#include "canopen/PdoTable.h"
#include "j1939/FrameFile.h"
#include "j1939/FrameList.h"
#include "j1939/J1939Texts.h"
#include "platform/LoadReport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

// Catches a side that leaves a file it could not parse out of the failures (or names it
// otherwise), and a side that does not count the records or rows a stop leaves unread.
TEST(LoadReport, WhatWasNotReadIsPlacedAndCountedAlikeForTablesAndFrameFiles) {
  TempDir dir;
  struct Side {
    const char* file;
    std::string root;
    std::function<LoadReport(const std::filesystem::path&)> load;
  } sides[] = {
      {"rpdodef.xml", "rpdodef",
       [](const std::filesystem::path& file) { return LoadPdoTable(file).report; }},
      {"Receive_Frame.xml", "Receive_Frames",
       [](const std::filesystem::path& file) {
         return LoadFrameList(FrameDirection::kReceive, file).report;
       }},
  };
  struct Case {
    const char* fault;
    const char* body;  // inside the root
    bool unparsed;
    std::size_t position;
    std::size_t notRead;
  } cases[] = {
      {"not XML", "<row", true, 0, 0},
      {"text in place of the first of two records", "word<row/>", false, 1, 2},
  };
  for (const Side& side : sides) {
    for (const Case& c : cases) {
      const std::string at = std::string(side.file) + ", " + c.fault;
      const std::filesystem::path file = dir / side.file;
      const std::string end = c.unparsed ? "" : "</" + side.root + ">";
      WriteBytes(file, "<" + side.root + ">" + c.body + end);
      const LoadReport report = side.load(file);
      EXPECT_EQ(report.FileUnread(), c.unparsed) << at;
      ASSERT_EQ(report.failures.size(), 1u) << at;
      EXPECT_EQ(report.failures[0].source, side.file) << at;
      EXPECT_EQ(report.failures[0].position, c.position) << at;
      EXPECT_EQ(report.notRead, c.notRead) << at;
    }
  }
}

// Catches gaps asked about in another order, on one line, or without the file named after
// them, in either subsystem's question.
TEST(LoadReport, TableAndFrameQuestionsAskAboutTheSameGapsOneALine) {
  LoadReport report;
  NoteRecordUnread(report, "rpdodef.xml", 2, "attribute \"cobid\" is missing");
  std::vector<LoadMessage> told;
  NoteFrameRowUnread(told, report, "Receive_Frame.xml", 3, MissingAttribute("Delete"));
  const std::string gaps =
      "Record 2 of rpdodef.xml cannot be read (attribute \"cobid\" is missing), so it is not "
      "shown.\n"
      "Row 3 of Receive_Frame.xml cannot be read (attribute \"Delete\" is missing), so it is not "
      "shown whole.\n";
  const struct {
    const char* question;
    const char* file;
    std::string expected;
  } cases[] = {
      {canopen_texts::kOverwriteQuestion, "rpdodef.xml",
       gaps + "OK writes rpdodef.xml without them, and they are lost. Write the file anyway?"},
      {j1939_texts::kOverwriteQuestion, "Receive_Frame.xml",
       gaps + "OK writes Receive_Frame.xml without what is not shown, and it is lost. Write the "
              "file anyway?"},
  };
  ASSERT_FALSE(report.Complete());
  for (const auto& c : cases)
    EXPECT_EQ(OverwriteQuestion(report, c.question, c.file), c.expected) << c.file;
}

}  // namespace
}  // namespace quastor::test
