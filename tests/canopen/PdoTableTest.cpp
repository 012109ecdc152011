// The PDO translation table: reading rpdodef.xml into the two grids (and the shared table-file
// reading with its gaps), OK's writing in key order, the sheet import and the CSV export.

#include <gtest/gtest.h>

#include <string>

#include "canopen/CanopenTexts.h"
#include "canopen/LoadGaps.h"
#include "canopen/PdoTable.h"
#include "platform/Text.h"
#include "tests/canopen/CanopenTestSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

std::string Row(const char* cobid, const char* dev, const char* en, const char* pos = "0",
                const char* npdo = "1") {
  return std::string("<row cobid=\"") + cobid + "\" id_dev_orig=\"" + dev + "\" en_bypass=\"" + en +
         "\" posind=\"" + pos + "\" n_tpdo=\"" + npdo + "\"/>";
}

std::string File(const std::string& rows) {
  return "<rpdodef>" + rows + "</rpdodef>";
}

class PdoTable : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_ / "rpdodef.xml"; }
  TempDir dir_;
};

TEST_F(PdoTable, LoadPlacesRecordsByTheSideBitAndKeepsWhatCouldNotBeRead) {
  const struct {
    const char* fault;
    const char* text;  // nullptr: no file
    std::vector<std::string> messages;
    GridRows a, b;
    std::size_t notRead;
    const char* detail;  // the first gap sentence, "" for none
  } cases[] = {
      {"missing file", nullptr, {"File XML not found"}, {}, {}, 0, ""},
      {"empty document element", "<rpdodef/>", {}, {}, {}, 0, ""},
      {"layout or a comment taken for records",
       "<?xml version=\"1.0\"?>\r\n<rpdodef>\r\n  <!-- edited -->\r\n  <row cobid='7' "
       "id_dev_orig='1' en_bypass='1' posind='0' n_tpdo='1'/>\r\n</rpdodef>\r\n",
       {},
       {},
       {{"7", "1", "1", "0", "1"}},
       0,
       ""},
      {"side or translation bit misread",
       "<rpdodef>"
       "<row cobid='0x1A00' id_dev_orig='1' en_bypass='7' posind='2' n_tpdo='3'/>"
       "<row cobid='0x182' id_dev_orig='2' en_bypass='5' posind='' n_tpdo='1'/>"
       "<x cobid='0x183' id_dev_orig='3' en_bypass='2' posind='0' n_tpdo='1'/>"
       "<row cobid='0x184' id_dev_orig='4' en_bypass='0' posind='0' n_tpdo='1' extra='9'/>"
       "</rpdodef>",
       {},
       {{"0x1A00", "1", "1", "2", "3"}, {"0x183", "3", "0", "0", "1"}},
       {{"0x182", "2", "1", "", "1"}, {"0x184", "4", "0", "0", "1"}},
       0,
       ""},
      {"rows after a missing attribute silently lost",
       "<rpdodef>"
       "<row cobid='1' id_dev_orig='1' en_bypass='3' posind='0' n_tpdo='1'/>"
       "<row cobid='2' id_dev_orig='1' en_bypass='3' n_tpdo='1'/>"
       "<row cobid='3' id_dev_orig='1' en_bypass='3' posind='0' n_tpdo='1'/></rpdodef>",
       {"Error in reading file XML"},
       {{"1", "1", "1", "0", "1"}},
       {},
       2,
       "Reading of rpdodef.xml stopped at record 2 of 3 (attribute \"posind\" is missing), so 2 "
       "records are not shown."},
      {"flags that are not a number",
       "<rpdodef><row cobid='1' en_bypass='x'/></rpdodef>",
       {"Error in reading file XML"},
       {},
       {},
       1,
       "Reading of rpdodef.xml stopped at record 1 of 1 ('x' is not a valid integer value), so 1 "
       "record is not shown."},
      {"text in place of a record",
       "<rpdodef>word</rpdodef>",
       {"Error in reading file XML"},
       {},
       {},
       1,
       "Reading of rpdodef.xml stopped at record 1 of 1 (it is not an element), so 1 record "
       "is not shown."},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(file());
    if (c.text != nullptr)
      WriteBytes(file(), c.text);
    const GridLoad load = LoadPdoTable(file());
    EXPECT_EQ(MessageTexts(load.messages), c.messages) << c.fault;
    ASSERT_EQ(load.model.a.size(), 10u);
    ASSERT_EQ(load.model.b.size(), 10u);
    EXPECT_EQ(FilledRows(load.model.a), c.a) << c.fault;
    EXPECT_EQ(FilledRows(load.model.b), c.b) << c.fault;
    EXPECT_EQ(load.report.notRead, c.notRead) << c.fault;
    EXPECT_EQ(load.report.gaps.empty() ? "" : load.report.gaps[0], c.detail) << c.fault;
  }
  WriteBytes(file(), "<rpdodef><row");
  const GridLoad unparsed = LoadPdoTable(file());
  EXPECT_EQ(MessageTexts(unparsed.messages), std::vector<std::string>{"Error in reading file XML"});
  EXPECT_TRUE(unparsed.report.FileUnread());
  ASSERT_EQ(unparsed.report.gaps.size(), 1u);
  EXPECT_EQ(unparsed.report.gaps[0].rfind(
                "rpdodef.xml could not be read, so none of its records is shown: \"", 0),
            0u)
      << unparsed.report.gaps[0];
  EXPECT_EQ(OverwriteQuestion(unparsed.report, canopen_texts::kOverwriteQuestion, "rpdodef.xml"),
            unparsed.report.gaps[0] +
                "\nOK writes rpdodef.xml without them, and they are lost. Write the file anyway?");
}

TEST_F(PdoTable, RecordsBeyondTenRowsAreCountedNotDropped) {
  std::string rows;
  for (int i = 0; i < 12; ++i)
    rows += Row(std::to_string(i).c_str(), "1", i < 11 ? "2" : "0");
  WriteBytes(file(), File(rows));
  const GridLoad load = LoadPdoTable(file());
  const char* kNotShown =
      "Records of rpdodef.xml for \"PDO From CanA to CanB\" beyond its 10 rows are not shown: 1.";
  EXPECT_EQ(MessageTexts(load.messages), std::vector<std::string>{kNotShown});
  EXPECT_EQ(load.model.a[9][0], "9");
  EXPECT_EQ(load.model.b[0][0], "11");
  EXPECT_EQ(load.report.notShown[0], 1u);
  EXPECT_EQ(load.report.notShown[1], 0u);

  const auto imported = ImportPdoSheet(MakeSheet("rpdodef", 5,
                                                 {{"1", "", "10"},
                                                  {"2", "", "10"},
                                                  {"3", "", "10"},
                                                  {"4", "", "10"},
                                                  {"5", "", "10"},
                                                  {"6", "", "10"},
                                                  {"7", "", "10"},
                                                  {"8", "", "10"},
                                                  {"9", "", "10"},
                                                  {"10", "", "10"},
                                                  {"11", "", "10"},
                                                  {"12", "", "10"}}));
  ASSERT_TRUE(imported.ok());
  EXPECT_EQ(imported->report.notShown[1], 2u);
  EXPECT_EQ(imported->report.gaps,
            std::vector<std::string>{"Records of sheet \"rpdodef\" for \"PDO From CanB to CanA\" "
                                     "beyond its 10 rows are not shown: 2."});
}

TEST_F(PdoTable, RoundTripThroughTheWriterIsByteExact) {
  const std::string text = File(Row("0x80000181", "9", "3") + Row("0x181", "1", "2", "4", "2") +
                                Row("0x1A00", "2", "3") + Row("1", "1", "1") + Row("2", "", "0"));
  WriteBytes(file(), text);
  const GridLoad load = LoadPdoTable(file());
  ASSERT_TRUE(load.report.Complete());
  ASSERT_TRUE(SavePdoTable(file(), load.model).ok());
  EXPECT_EQ(ReadBytes(file()), text);
}

// Equal cobids keep their row order: with the later row first they swapped at every OK.
TEST_F(PdoTable, OkWritesEachSideInKeyOrderWithItsFlags) {
  SideGrids grids = EmptyPdoGrids();
  grids.a[0] = {"0x285", "1", "1", "p", "n"};
  grids.a[1] = {"0x181", "2", "yes", "", ""};
  grids.a[2] = {"0x181", "3", "", "", ""};
  grids.a[3] = {"0x80000000", "4", "1", "", ""};
  grids.b[0] = {"7", "5", "1", "", ""};
  grids.b[1] = {"6", "6", "1 ", "", ""};
  ASSERT_TRUE(SavePdoTable(file(), grids).ok());
  EXPECT_EQ(ReadBytes(file()),
            File(Row("0x80000000", "4", "3", "", "") + Row("0x181", "2", "2", "", "") +
                 Row("0x181", "3", "2", "", "") + Row("0x285", "1", "3", "p", "n") +
                 Row("6", "6", "0", "", "") + Row("7", "5", "1", "", "")));
}

TEST_F(PdoTable, OkRefusesWhatItCannotWriteAndLeavesTheFile) {
  WriteBytes(file(), "old");
  const struct {
    const char* fault;
    int side;
    std::vector<std::pair<std::size_t, GridRow>> rows;
    const char* error;  // nullptr: written
  } cases[] = {
      {"rows below a blank cobid dropped",
       0,
       {{0, {"1", "", "", "", ""}}, {2, {"3", "", "", "", ""}}},
       "Error! Entry N° 2 of \"PDO From CanA to CanB\" is filled, but the cobid of entry N° 1 "
       "above it is empty. Fill in that cobid, or clear the entries below it."},
      {"a filled row without cobid dropped",
       1,
       {{0, {"", "5", "", "", ""}}},
       "Error! Entry N° 0 of \"PDO From CanB to CanA\" is filled, but its cobid is empty. Fill "
       "in the cobid, or clear the entry."},
      {"cobid not checked",
       0,
       {{0, {"0x18G", "", "", "", ""}}},
       "'0x18G' is not a valid integer value"},
      {"a blank cobid with nothing below refused", 0, {{0, {"1", "", "", "", ""}}}, nullptr},
  };
  for (const auto& c : cases) {
    SideGrids grids = EmptyPdoGrids();
    for (const auto& [r, row] : c.rows)
      grids.of(c.side == 0 ? Side::kA : Side::kB)[r] = row;
    const Status saved = SavePdoTable(file(), grids);
    if (c.error == nullptr) {
      EXPECT_TRUE(saved.ok()) << c.fault;
      EXPECT_EQ(ReadBytes(file()), File(Row("1", "", "2", "", ""))) << c.fault;
    } else {
      ASSERT_FALSE(saved.ok()) << c.fault;
      EXPECT_EQ(saved.error(), c.error);
      EXPECT_EQ(ReadBytes(file()), "old") << c.fault;
    }
  }
}

TEST_F(PdoTable, CsvHasTwentyTwoLinesWithTheExchangeCodes) {
  SideGrids grids = EmptyPdoGrids();
  grids.a[0] = {"0x181", "1", "1", "0", "1"};
  grids.a[1] = {"0x182", "a,b", "0", "", ""};
  grids.b[9] = {"0x183", "", "1", "", ""};
  grids.b[0] = {"0x184", "", "on", "", ""};
  const std::string text = PdoCsvText(grids);
  const std::vector<std::string_view> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0], "cobid,id_dev_orig,00,posind,n_tpdo,");
  EXPECT_EQ(lines[1], "0x181,1,01,0,1,");
  EXPECT_EQ(lines[2], "0x182,\"a,b\",00,,,");
  EXPECT_EQ(lines[3], ",,00,,,");
  EXPECT_EQ(lines[11], "cobid,id_dev_orig,10,posind,n_tpdo,");
  EXPECT_EQ(lines[12], "0x184,,10,,,");
  EXPECT_EQ(lines[21], "0x183,,11,,,");

  ASSERT_TRUE(ExportPdoCsv(dir_.path(), grids).ok());
  EXPECT_EQ(ReadBytes(dir_ / "rpdodef.csv"), text);
}

TEST(PdoImport, ExchangeCodesChooseTheGrids) {
  const auto imported = ImportPdoSheet(MakeSheet("RPDODEF", 6,
                                                 {{"0x181", "1", "00", "p", "n", "ignored"},
                                                  {"0x182", nullptr, "01", nullptr, "2"},
                                                  {"0x183", "3", "10", "", ""},
                                                  {"0x184", "4", "11", "", ""},
                                                  {"0x185", "5", "3", "", ""}}));
  ASSERT_TRUE(imported.ok()) << imported.error();
  EXPECT_EQ(FilledRows(imported->model.a),
            (GridRows{{"0x181", "1", "0", "p", "n"}, {"0x182", "", "1", "", "2"}}));
  EXPECT_EQ(FilledRows(imported->model.b), (GridRows{{"0x183", "3", "0", "", ""},
                                                     {"0x184", "4", "1", "", ""},
                                                     {"0x185", "5", "1", "", ""}}));
  EXPECT_TRUE(imported->report.Complete());
}

}  // namespace
}  // namespace quastor::test
