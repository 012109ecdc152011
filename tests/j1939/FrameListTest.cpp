// The frame lists: the checks on OK, reading a list file into the 16 rows with what could not
// be shown, and the file OK writes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "j1939/FrameList.h"
#include "j1939/J1939Texts.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

using Cells = std::vector<std::string>;
constexpr auto kReceive = FrameDirection::kReceive;
constexpr auto kSend = FrameDirection::kSend;

FrameRows Rows(std::vector<std::pair<int, Cells>> filled) {
  FrameRows rows = EmptyFrameRows();
  for (auto& [row, cells] : filled)
    rows[row - 1] = cells;
  return rows;
}

// Every row filled with a valid send frame, the last with that priority.
FrameRows Full16(const std::string& last_priority) {
  FrameRows rows(kFrameRowCount, Cells{"1", "0", "1", "1", ""});
  rows.back()[0] = last_priority;
  return rows;
}

// The frames OK writes, which its status line counts: the rows above the first whose first
// cell is empty.
TEST(FrameList, ListedRowsEndAtTheFirstEmptyFirstCell) {
  const Cells empty(5), frame = {"6", "0", "0xFEF1", "0", "speed"}, tail = {"", "0", "1", "", "x"};
  const std::vector<std::pair<FrameRows, std::size_t>> cases = {{{}, 0},
                                                                {{empty, frame}, 0},
                                                                {{frame, frame, empty, frame}, 2},
                                                                {{frame, tail}, 1},
                                                                {FrameRows(16, frame), 16}};
  for (const auto& [rows, listed] : cases)
    EXPECT_EQ(ListedRows(rows), listed) << rows.size() << " rows";
}

TEST(FrameList, CheckRowsReadsLenientlyAndRefusesWhatOkWouldDrop) {
  const char* kOk = "";
  const char* kPriority = "Error!! Priority must be between 0 and 7. ";
  const char* kPage = "Error!! Data Page must be 0 or 1. ";
  const char* kPgn = "Error!! PGN must be between 0x0000 and 0xFFFF. ";
  const char* kSa = "Error!! Source Address must be between 0 and 255. ";
  const struct {
    const char* fault;
    FrameDirection direction;
    FrameRows rows;
    const char* message;
  } cases[] = {
      {"hex forms refused", kSend, Rows({{1, {"0x7", "$1", "0xFFFF", "255", ""}}}), kOk},
      {"upper bounds refused", kSend, Rows({{1, {"7", "1", "65535", "x0FF", "m"}}}), kOk},
      {"priority -1 taken", kSend, Rows({{1, {"-1", "0", "0", "0", ""}}}), kPriority},
      {"SA -1 taken", kSend, Rows({{1, {"0", "0", "0", "-0x1", ""}}}), kSa},
      {"priority 8 taken", kSend, Rows({{1, {"8", "0", "0", "0", ""}}}), kPriority},
      {"data page 2 taken", kSend, Rows({{1, {"0", "2", "0", "0", ""}}}), kPage},
      {"the word one taken", kReceive, Rows({{1, {"one", "0", "0", "N", ""}}}), kPage},
      {"PGN 0x10000 taken", kReceive, Rows({{1, {"0", "0x10000", "0", "", ""}}}), kPgn},
      {"PGN -1 taken", kSend, Rows({{1, {"0", "0", "-1", "0", ""}}}), kPgn},
      {"SA 256 taken", kReceive, Rows({{1, {"1", "0", "256", "Y", ""}}}), kSa},
      {"a trailing blank read", kReceive, Rows({{1, {"1", "31 ", "0", "", ""}}}),
       "'31 ' has blanks"},
      {"empty cells read as 0", kSend, Rows({{1, {"3", "", "", "", ""}}}), kPage},
      {"row 16 not examined", kSend, Full16("9"), kPriority},
      {"a full list refused", kSend, Full16("7"), kOk},
      {"row 4 dropped below an empty row 3", kSend,
       Rows({{1, {"1", "0", "1", "1", ""}},
             {2, {"1", "0", "1", "1", ""}},
             {4, {"1", "0", "1", "1", ""}}}),
       "Error!! Frame 4 is filled, but the Priority of frame 3 above it is empty. Fill it in, or "
       "clear the frames below it."},
      {"a row without its first cell dropped", kReceive, Rows({{1, {"", "0xFEF1", "", "", ""}}}),
       "Error!! Frame 1 is filled, but its Data Page is empty. Fill it in, or clear the frame."},
      {"a ticked box alone dropped", kReceive, Rows({{2, {"", "", "", "Y", ""}}}),
       "Error!! Frame 2 is filled, but the Data Page of frame 1 above it is empty. Fill it in, or "
       "clear the frames below it."},
      {"an unticked box taken for a frame", kReceive,
       Rows({{1, {"0", "1", "2", "N", ""}}, {5, {"", "", "", "N", ""}}}), kOk},
  };
  for (const auto& c : cases) {
    const Status checked = CheckRows(c.direction, c.rows);
    EXPECT_EQ(checked ? "" : checked.error(), c.message) << c.fault;
  }
}

class FrameListFile : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_ / "Receive_Frame.xml"; }
  TempDir dir_;
};

// Catches: OK dropping COBID, Dim or an attribute the list does not know (the info window's
// bytes above Dim would come in use), moving them out of their places, and writing an edited
// cell's old text.
TEST_F(FrameListFile, OkKeepsEveryAttributeItDoesNotEditInItsPlace) {
  const std::string file =
      "<Receive_Frames><row COBID=\"0x18FEF100\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\" "
      "Delete=\"N\" Mnemonic=\"speed\" Dim=\"3\"/><row DataPage=\"1\" PGN=\"2\" SA=\"3\" "
      "Delete=\"Y\" Mnemonic=\"m\" note=\"keep me\"/></Receive_Frames>";
  const struct {
    const char* fault;
    std::size_t row, column;  // the edit; row kFrameRowCount: none
    const char* text;
    std::string expected;
  } cases[] = {
      {"an OK without edits changed the file", kFrameRowCount, 0, "", file},
      {"an edit lost what the row kept", 0, 2, "7",
       "<Receive_Frames><row COBID=\"0x18FEF100\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"7\" "
       "Delete=\"N\" Mnemonic=\"speed\" Dim=\"3\"/><row DataPage=\"1\" PGN=\"2\" SA=\"3\" "
       "Delete=\"Y\" Mnemonic=\"m\" note=\"keep me\"/></Receive_Frames>"},
  };
  for (const auto& c : cases) {
    WriteBytes(this->file(), file);
    FrameListLoad load = LoadFrameList(kReceive, this->file());
    if (c.row < kFrameRowCount)
      load.model[c.row][c.column] = c.text;
    EXPECT_EQ(FrameListText(kReceive, load.model, load.kept), c.expected) << c.fault;
  }
}

TEST_F(FrameListFile, LoadShowsWhatItCanAndSaysWhatItCannot) {
  std::string seventeen;
  for (int i = 0; i < 17; ++i)
    seventeen += "<row DataPage='0' PGN='" + std::to_string(i) + "' SA='1' Mnemonic=''/>";
  // A full list as OK writes it: every frame is shown, nothing is said.
  const FrameRows sixteen_rows(kFrameRowCount, Cells{"0", "0xFEF1", "2", "N", "m"});
  const std::string sixteen = FrameListText(kReceive, sixteen_rows);
  const struct {
    const char* fault;
    const char* text;  // nullptr: no file
    FrameRows rows;
    std::vector<std::string> messages;
    std::size_t gaps;
  } cases[] = {
      {"missing file", nullptr, EmptyFrameRows(), {}, 0},
      {"declaration taken for the root",
       "<?xml version='1.0'?><!-- x --><Any><row DataPage='1' PGN='0xFEF1' SA='3' Delete='Y' "
       "Mnemonic='a b'/></Any>",
       Rows({{1, {"1", "0xFEF1", "3", "Y", "a b"}}}),
       {},
       0},
      {"missing Delete refused",
       "<R><row DataPage='1' PGN='2' SA='3' Mnemonic=''/></R>",
       Rows({{1, {"1", "2", "3", "N", ""}}}),
       {},
       0},
      {"rows after a missing attribute silently lost",
       "<R><row DataPage='1' PGN='2' SA='3' Delete='N' Mnemonic='m'/><row DataPage='0' PGN='7' "
       "Delete='N' Mnemonic=''/><row DataPage='1' PGN='2' SA='3' Delete='N' Mnemonic='m'/></R>",
       Rows({{1, {"1", "2", "3", "N", "m"}}, {2, {"0", "7", "", "", ""}}}),
       {"Could not convert variant of type (Null) into type (String)",
        "Reading of Receive_Frame.xml stopped at row 2 of 3 (attribute \"SA\" is missing), so 2 "
        "rows are not shown whole."},
       1},
      {"a full list taken for a longer one", sixteen.c_str(), sixteen_rows, {}, 0},
      {"text taken for a frame",
       "<R>word</R>",
       EmptyFrameRows(),
       {"Could not convert variant of type (Null) into type (String)",
        "Reading of Receive_Frame.xml stopped at row 1 of 1 (it is not an element), so 1 row is "
        "not shown whole."},
       1},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(file());
    if (c.text != nullptr)
      WriteBytes(file(), c.text);
    const FrameListLoad load = LoadFrameList(kReceive, file());
    EXPECT_EQ(load.model, c.rows) << c.fault;
    std::vector<std::string> messages;
    for (const auto& message : load.messages)
      messages.push_back(message.text);
    EXPECT_EQ(messages, c.messages) << c.fault;
    EXPECT_EQ(load.report.gaps.size(), c.gaps) << c.fault;
  }

  WriteBytes(file(), "<R>" + seventeen + "</R>");
  const FrameListLoad long_list = LoadFrameList(kReceive, file());
  EXPECT_EQ(long_list.model[15][1], "15");
  EXPECT_EQ(long_list.model[0][3], "N");
  EXPECT_EQ(
      OverwriteQuestion(long_list.report, j1939_texts::kOverwriteQuestion, "Receive_Frame.xml"),
      "Only 16 of the 17 frames of Receive_Frame.xml are shown: the list holds at most 16.\n"
      "OK writes Receive_Frame.xml without what is not shown, and it is lost. Write the file "
      "anyway?");
}

TEST_F(FrameListFile, OkWritesTheCellsAsTypedAndNothingOverAnUnreadableFile) {
  const FrameRows send =
      Rows({{1, {"0x7", "0", "0xFEF1", "255", ""}}, {2, {"3", "1", "65265", "$10", "a&b"}}});
  ASSERT_TRUE(SaveFrameList(kSend, file(), send));
  EXPECT_EQ(ReadBytes(file()),
            "<Receive_Frames><row Priority=\"0x7\" DataPage=\"0\" PGN=\"0xFEF1\" SA=\"255\" "
            "Mnemonic=\"\"/><row Priority=\"3\" DataPage=\"1\" PGN=\"65265\" SA=\"$10\" "
            "Mnemonic=\"a&amp;b\"/></Receive_Frames>");
  EXPECT_EQ(LoadFrameList(kSend, file()).model, send) << "what OK wrote comes back";

  ASSERT_TRUE(SaveFrameList(kReceive, file(), Rows({{1, {"0", "1", "2", "", "x"}}})));
  EXPECT_EQ(ReadBytes(file()),
            "<Receive_Frames><row DataPage=\"0\" PGN=\"1\" SA=\"2\" Delete=\"\" "
            "Mnemonic=\"x\"/></Receive_Frames>")
      << "an untouched box is written empty";
  ASSERT_TRUE(SaveFrameList(kReceive, file(), EmptyFrameRows()));
  EXPECT_EQ(ReadBytes(file()), "<Receive_Frames/>");

  WriteBytes(file(), "<Receive_Frames><row");
  const Status refused = SaveFrameList(kReceive, file(), EmptyFrameRows());
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), LoadFrameList(kReceive, file()).messages.at(0).text);
  EXPECT_EQ(ReadBytes(file()), "<Receive_Frames><row");
  EXPECT_FALSE(SaveFrameList(kSend, file(), Rows({{1, {"8", "0", "0", "0", ""}}})));
  EXPECT_EQ(ReadBytes(file()), "<Receive_Frames><row");
}

}  // namespace
}  // namespace quastor::test
