// Reading on past unreadable rows, as the project check does, and the checks that list every
// failure where the windows stop at the first.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "j1939/FrameInfo.h"
#include "j1939/FrameList.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// "row: reason" for each failure, in the order met.
Strings Failures(const LoadReport& report) {
  Strings failures;
  for (const LoadFailure& failure : report.failures)
    failures.push_back(failure.source + " " + std::to_string(failure.position) + ": " +
                       failure.reason);
  return failures;
}

// Catches a window that now reads past a failing row, a check that stops at it, and rows of
// the file that are counted wrongly.
TEST(EveryRow, FrameListReadsOnAndTellsEveryMissingAttribute) {
  TempDir dir;
  const fs::path file = dir / "Send_Frame.xml";
  WriteBytes(file,
             "<Receive_Frames><row Priority='3' DataPage='0' PGN='1' SA='0' Mnemonic=''/>"
             "<row DataPage='0' SA='0' Mnemonic=''/>"
             "<row Priority='3' DataPage='0' PGN='2' SA='0' Mnemonic=''/></Receive_Frames>");
  const FrameListLoad stopped = LoadFrameList(FrameDirection::kSend, file);
  EXPECT_EQ(Failures(stopped.report),
            Strings{"Send_Frame.xml 2: attribute \"Priority\" is missing"});
  EXPECT_EQ(stopped.model[2][2], "") << "the window reads no row past the failing one";

  const FrameListLoad every = LoadFrameList(FrameDirection::kSend, file, FrameReading::kEveryRow);
  EXPECT_EQ(Failures(every.report), (Strings{"Send_Frame.xml 2: attribute \"Priority\" is missing",
                                             "Send_Frame.xml 2: attribute \"PGN\" is missing"}));
  EXPECT_EQ(every.model[1][3], "0") << "the cells after a missing one are read";
  EXPECT_EQ(every.model[2][2], "2");
  EXPECT_EQ(every.fileRows, 3u);
}

// Catches a frame that fails and loses its place, so that the info rows after it meet the
// wrong frames, and bytes of a row that go untold after the first.
TEST(EveryRow, FrameInfoKeepsEveryFramesPlaceAndTellsEveryByte) {
  TempDir dir;
  const fs::path list = dir / "Receive_Frame.xml";
  const fs::path info = dir / "Receive_Info.xml";
  WriteBytes(list,
             "<Receive_Frames><row COBID='A' Dim='2'/><row Dim='2'/><row COBID='C' Dim='x'/>"
             "<row COBID='D' Dim='3'/></Receive_Frames>");
  WriteBytes(info,
             "<Receive_Frames_Info><row B1='1' B2='2'/><row B1='3' B2='4'/><row B1='5'/>"
             "<row B1='200' B2='q'/></Receive_Frames_Info>");
  const struct {
    FrameReading reading;
    std::size_t frames;
    Strings failures;
  } cases[] = {
      {FrameReading::kStopAtFirstFailure, 1,
       Strings{"Receive_Frame.xml 2: it has no \"COBID\" and no \"DataPage\""}},
      {FrameReading::kEveryRow, 4,
       Strings{"Receive_Frame.xml 2: it has no \"COBID\" and no \"DataPage\"",
               "Receive_Frame.xml 3: attribute \"Dim\": 'x' is not a valid integer value",
               "Receive_Info.xml 4: \"B1\" is 200, but a frame byte goes to DeviceNet byte 0 to "
               "127 or to none (255)",
               "Receive_Info.xml 4: attribute \"B2\": 'q' is not a valid integer value",
               "Receive_Info.xml 4: attribute \"B3\" is missing"}},
  };
  for (const auto& c : cases) {
    const FrameInfoLoad load = LoadFrameInfo(list, info, c.reading);
    EXPECT_TRUE(load.stopped);
    EXPECT_EQ(load.model.frames.size(), c.frames);
    EXPECT_EQ(Failures(load.report), c.failures);
  }
  const FrameInfoLoad every = LoadFrameInfo(list, info, FrameReading::kEveryRow);
  EXPECT_EQ(every.model.frames[0].B1, 1);
  EXPECT_EQ(every.model.frames[1].Dim, 0) << "a frame without a label has no byte in use";
  EXPECT_EQ(every.model.frames[3].B1, kNoByte) << "a byte that fails stays none";
  EXPECT_EQ(every.model.labels[3], "D");

  // The windows' reason for a value that does not read stays the conversion's message alone.
  WriteBytes(list, "<Receive_Frames><row COBID='A' Dim='1'/></Receive_Frames>");
  WriteBytes(info, "<Receive_Frames_Info><row B1='x'/></Receive_Frames_Info>");
  EXPECT_EQ(Failures(LoadFrameInfo(list, info).report),
            Strings{"Receive_Info.xml 1: 'x' is not a valid integer value"});
}

// Catches checks that tell only the first failure where the check needs them all, and OK's
// checks that no longer give the first.
TEST(EveryRow, RowAndByteChecksListEveryFailureAndOkTheFirst) {
  FrameRows rows = EmptyFrameRows();
  rows[0] = {"8", "0", "1", "0", ""};
  rows[1] = {"3", "2", "0x10000", "0", ""};
  rows[3] = {"", "0", "1", "0", ""};
  const std::vector<FrameRowProblem> problems = RowProblems(FrameDirection::kSend, rows);
  Strings told;
  for (const FrameRowProblem& problem : problems)
    told.push_back(std::to_string(problem.row) + " " + problem.cell + " " + problem.message);
  EXPECT_EQ(told, (Strings{"1 8 Error!! Priority must be between 0 and 7. ",
                           "2 2 Error!! Data Page must be 0 or 1. ",
                           "2 0x10000 Error!! PGN must be between 0x0000 and 0xFFFF. ",
                           "4  Error!! Frame 4 is filled, but the Priority of frame 3 above it is "
                           "empty. Fill it in, or clear the frames below it."}));
  EXPECT_EQ(CheckRows(FrameDirection::kSend, rows).error(), problems[0].message);

  FrameInfoTable table;
  table.labels = {"A", "B", "C"};
  table.frames.resize(3);
  table.frames[0].B1 = 1;
  table.frames[0].B2 = 2;
  table.frames[1].B1 = 2;
  table.frames[1].B3 = 1;
  table.frames[2].B8 = 2;
  Strings conflicts;
  for (const ByteConflict& conflict : ByteConflicts(table))
    conflicts.push_back(std::to_string(conflict.frame) + "/" + std::to_string(conflict.position));
  EXPECT_EQ(conflicts, (Strings{"1/1", "1/3", "2/8"}));
  EXPECT_EQ(CheckBytes(table).error(),
            "Error!! The Byte 2 is used in COB ID B in Byte 1 and in COB ID A in Byte 2 ");
}

}  // namespace
}  // namespace quastor::test
