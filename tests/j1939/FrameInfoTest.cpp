// The frame info tables: the frames and their byte counts as read from a frame list, the
// byte mappings of the info file, the byte edits' reading, CheckBytes and the file OK writes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "j1939/FrameInfo.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

using Bytes = std::vector<int>;  // B1 to B8

Bytes BytesOf(const TFrameInfoRec& frame) {
  Bytes bytes;
  for (int k = 1; k <= kFrameBytes; ++k)
    bytes.push_back(frame.B(k));
  return bytes;
}

const Bytes kAllNone(kFrameBytes, 255);

std::string InfoRow(const std::string& attributes) {
  return "<row " + attributes + "/>";
}

TEST(FrameInfo, ByteEditsReadNoneAndZeroTo127Only) {
  const struct {
    const char* text;
    int stored;  // -1: refused
  } cases[] = {
      {"none", 255}, {"NoNe", 255}, {"", 255},    {"  \t", 255}, {" none\r\n", 255}, {"127", 127},
      {"0x7F", 127}, {"$7f", 127},  {" 12 ", 12}, {"0", 0},      {"128", -1},        {"-1", -1},
      {"abc", -1},   {"n", -1},     {"non", -1},  {"255", -1},   {"1 2", -1},
  };
  for (const auto& c : cases) {
    const auto value = ReadByteEdit(c.text);
    EXPECT_EQ(value ? int{*value} : -1, c.stored) << "'" << c.text << "'";
  }
  EXPECT_EQ(ByteRangeMessage(3), "Error Byte 3!! Value have to be between 0 to 127 or none. ");
}

class FrameInfoFiles : public ::testing::Test {
 protected:
  std::filesystem::path list() const { return dir_ / "Receive_Frame.xml"; }
  std::filesystem::path info() const { return dir_ / "Receive_Info.xml"; }
  FrameInfoLoad Load(const std::string& frames, const char* info_rows) {
    WriteBytes(list(), "<Receive_Frames>" + frames + "</Receive_Frames>");
    std::filesystem::remove(info());
    if (info_rows != nullptr)
      WriteBytes(info(),
                 std::string("<Receive_Frames_Info>") + info_rows + "</Receive_Frames_Info>");
    return LoadFrameInfo(list(), info());
  }
  TempDir dir_;
};

TEST_F(FrameInfoFiles, FramesAreNamedAndSizedFromTheFrameList) {
  const struct {
    const char* fault;
    const char* frame;
    const char* label;  // nullptr: not listed
    int dim;
    const char* error;  // "" when the load goes through
  } cases[] = {
      {"a list without COBID and Dim refused",
       "<row DataPage='0' PGN='65265' SA='0x21' Delete='N' Mnemonic='CCVS'/>",
       "DP 0, PGN 0xFEF1, SA 33 (CCVS)", 8, ""},
      {"an empty mnemonic shown", "<row Priority='3' DataPage='1' PGN='0x3' SA='7' Mnemonic=''/>",
       "DP 1, PGN 0x0003, SA 7", 8, ""},
      {"a label of text that is no number lost", "<row DataPage='x' PGN='-1' SA='' Mnemonic=''/>",
       "DP x, PGN -1, SA ", 8, ""},
      {"COBID not preferred", "<row COBID='0x18FEF100' Dim='3' DataPage='0' PGN='1' SA='0'/>",
       "0x18FEF100", 3, ""},
      {"Dim 0 refused", "<row COBID='A' Dim='0'/>", "A", 0, ""},
      {"Dim 9 refused or its bytes not all in use", "<row COBID='A' Dim='9'/>", "A", 9, ""},
      {"Dim 255 refused", "<row COBID='A' Dim='255'/>", "A", 255, ""},
      {"Dim 256 taken", "<row COBID='A' Dim='256'/>", "A", 0,
       "Error!! Receive_Frame.xml, row 1: \"Dim\" is 256, outside 0 to 255."},
      {"Dim -1 taken", "<row COBID='A' Dim='-1'/>", "A", 0,
       "Error!! Receive_Frame.xml, row 1: \"Dim\" is -1, outside 0 to 255."},
      {"Dim as text taken", "<row COBID='A' Dim='abc'/>", "A", 0,
       "'abc' is not a valid integer value"},
      {"a row without a label taken", "<row Dim='3' DataPage='0' SA='0'/>", nullptr, 0,
       "Could not convert variant of type (Null) into type (String)"},
  };
  for (const auto& c : cases) {
    const FrameInfoLoad load =
        Load(c.frame, InfoRow("B1='1' B2='2' B3='3' B4='4' B5='5' B6='6' B7='7' B8='8'").c_str());
    EXPECT_EQ(load.stopped, *c.error != '\0') << c.fault;
    EXPECT_EQ(load.messages.empty() ? "" : load.messages[0].text, c.error) << c.fault;
    ASSERT_EQ(load.model.labels.size(), c.label != nullptr ? 1u : 0u) << c.fault;
    if (c.label == nullptr)
      continue;
    EXPECT_EQ(load.model.labels[0], c.label) << c.fault;
    EXPECT_EQ(load.model.frames[0].Dim, c.dim) << c.fault;
    Bytes expected = kAllNone;
    for (int k = 0; k < c.dim && k < kFrameBytes && !load.stopped; ++k)
      expected[k] = k + 1;
    EXPECT_EQ(BytesOf(load.model.frames[0]), expected) << c.fault;
  }
  const FrameInfoLoad stopped = Load("<row COBID='A'/><row Dim='1'/><row COBID='C'/>", "");
  EXPECT_EQ(stopped.model.labels, std::vector<std::string>{"A"});
  EXPECT_EQ(stopped.report.gaps,
            (std::vector<std::string>{
                "Reading of Receive_Frame.xml stopped at row 2 of 3 (it has no \"COBID\" and no "
                "\"DataPage\"), so 2 rows are not shown whole.",
                "Receive_Info.xml was not read, so none of its byte mappings is shown."}));
}

TEST_F(FrameInfoFiles, InfoRowsMatchFramesByPositionAndOnlyValidBytesGetIn) {
  const std::string five =
      "<row COBID='A' Dim='3'/><row COBID='B'/><row COBID='C'/>"
      "<row COBID='D'/><row COBID='E'/>";
  const std::string full = "B1='0' B2='127' B3='255' B4='9' B5='10' B6='11' B7='12' B8='13'";
  const std::string third = "B1='0x10' B2='1' B3='2' B4='3' B5='4' B6='5' B7='6' B8='7'";
  const FrameInfoLoad load = Load(five, (InfoRow(full) + InfoRow(full) + InfoRow(third)).c_str());
  EXPECT_TRUE(load.messages.empty());
  ASSERT_EQ(load.model.frames.size(), 5u);
  EXPECT_EQ(BytesOf(load.model.frames[0]), (Bytes{0, 127, 255, 255, 255, 255, 255, 255}))
      << "bytes beyond Dim stay none";
  EXPECT_EQ(BytesOf(load.model.frames[1]), (Bytes{0, 127, 255, 9, 10, 11, 12, 13}));
  EXPECT_EQ(BytesOf(load.model.frames[2]), (Bytes{16, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(BytesOf(load.model.frames[3]), kAllNone);
  EXPECT_EQ(BytesOf(load.model.frames[4]), kAllNone);
  EXPECT_EQ(InfoRowCount(info()), 3u);
  ASSERT_TRUE(SaveFrameInfo(FrameDirection::kReceive, list(), info(), load.model));
  EXPECT_EQ(InfoRowCount(info()), 5u);

  const FrameInfoLoad missing = Load("<row COBID='A'/>", InfoRow("B1='1'").c_str());
  EXPECT_TRUE(missing.stopped);
  EXPECT_EQ(BytesOf(missing.model.frames[0]), (Bytes{1, 255, 255, 255, 255, 255, 255, 255}))
      << "the bytes read before the failure stay";
  EXPECT_EQ(missing.messages[0].text,
            "Could not convert variant of type (Null) into type (String)");
  EXPECT_EQ(missing.report.gaps,
            std::vector<std::string>{"Reading of Receive_Info.xml stopped at row 1 of 1 (attribute "
                                     "\"B2\" is missing), so 1 row is not shown whole."});

  const std::string out_of_range[] = {"B2='128'", "B2='-1'", "B2='300'", "B2='0xFF00'"};
  for (const std::string& bad : out_of_range) {
    const FrameInfoLoad refused =
        Load("<row COBID='A' Dim='2'/>", InfoRow("B1='1' " + bad).c_str());
    EXPECT_TRUE(refused.stopped) << bad;
    EXPECT_EQ(BytesOf(refused.model.frames[0])[1], 255) << bad;
    EXPECT_NE(refused.messages.at(0).text.find("but a frame byte goes to DeviceNet byte 0 "
                                               "to 127 or to none (255)."),
              std::string::npos)
        << bad;
  }
  const FrameInfoLoad beyond = Load("<row COBID='A' Dim='1'/>", InfoRow("B1='5' B2='999'").c_str());
  EXPECT_FALSE(beyond.stopped) << "a byte beyond Dim is not read";
  EXPECT_EQ(BytesOf(beyond.model.frames[0]), (Bytes{5, 255, 255, 255, 255, 255, 255, 255}));
}

TEST(FrameInfo, CheckBytesNamesTheLaterByteFirst) {
  FrameInfoTable table{{"A", "B"}, {TFrameInfoRec{}, TFrameInfoRec{}}};
  table.frames[0].B1 = 5;
  table.frames[1].B3 = 5;
  const Status two_frames = CheckBytes(table);
  ASSERT_FALSE(two_frames);
  EXPECT_EQ(two_frames.error(),
            "Error!! The Byte 5 is used in COB ID B in Byte 3 and in COB ID A in Byte 1 ");

  table.frames[1].B3 = 6;
  EXPECT_TRUE(CheckBytes(table)) << "255 and distinct bytes are no clash";
  table.frames[1].B2 = 0;
  table.frames[1].B4 = 0;
  const Status one_frame = CheckBytes(table);
  ASSERT_FALSE(one_frame);
  EXPECT_EQ(one_frame.error(),
            "Error!! The Byte 0 is used in COB ID B in Byte 4 and in COB ID B in Byte 2 ");
}

TEST_F(FrameInfoFiles, OkWritesEveryFrameInDecimalAndNothingOverAnUnreadableFile) {
  FrameInfoTable table{{"A", "B"}, {TFrameInfoRec{}, TFrameInfoRec{}}};
  table.frames[0].B1 = 0x10;
  table.frames[1].B8 = 127;
  WriteBytes(list(), "<Receive_Frames/>");
  ASSERT_TRUE(SaveFrameInfo(FrameDirection::kSend, list(), info(), table));
  const std::string none6 = " B2=\"255\" B3=\"255\" B4=\"255\" B5=\"255\" B6=\"255\" B7=\"255\"";
  EXPECT_EQ(ReadBytes(info()), "<Send_Frames_Info><row B1=\"16\"" + none6 +
                                   " B8=\"255\"/><row B1=\"255\"" + none6 +
                                   " B8=\"127\"/></Send_Frames_Info>");
  EXPECT_EQ(InfoRowCount(info()), 2u);
  EXPECT_EQ(FrameInfoText(FrameDirection::kReceive, {}), "<Receive_Frames_Info/>");

  for (const std::filesystem::path& unreadable : {list(), info()}) {
    WriteBytes(list(), "<Receive_Frames/>");
    WriteBytes(info(), "<Receive_Frames_Info/>");
    WriteBytes(unreadable, "<broken");
    const std::string before = ReadBytes(info());
    EXPECT_FALSE(SaveFrameInfo(FrameDirection::kReceive, list(), info(), table)) << unreadable;
    EXPECT_EQ(ReadBytes(info()), before);
  }
}

}  // namespace
}  // namespace quastor::test
