// The SDO access table: sdo.xml read into the grids and written back by OK, the sheet import
// and the CSV export of all 1500 rows per grid.

#include <gtest/gtest.h>

#include <string>

#include "app/AppState.h"
#include "canopen/SdoTable.h"
#include "platform/Text.h"
#include "tests/canopen/CanopenTestSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

// A record as OK writes it, attributes in file order.
std::string Row(int conf, const char* index_a, const char* mnemonic = "m") {
  return "<row conf=\"" + std::to_string(conf) + "\" IndexA=\"" + index_a +
         "\" SubindexA=\"1\" devIDB=\"5\" IndexB=\"0x6000\" SubindexB=\"2\" nbyteB=\"2\" "
         "mnemonico=\"" +
         mnemonic + "\"/>";
}

GridRow Cells(const char* rw, const char* index_a, const char* mnemonic = "m") {
  return {rw, index_a, "1", "5", "0x6000", "2", "2", mnemonic};
}

class SdoTable : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return ProjectFilesIn(dir_.path()).sdo; }
  TempDir dir_;
};

TEST_F(SdoTable, LoadSortsRecordsByConfAndNeedsAllButTheMnemonic) {
  const struct {
    const char* fault;
    const char* text;  // nullptr: no file
    std::vector<std::string> messages;
    GridRows a, b;
  } cases[] = {
      {"a missing file reported", nullptr, {}, {}, {}},
      {"conf bits misread",
       "<sdo><row conf='0' IndexA='0x2000' SubindexA='1' devIDB='5' IndexB='0x6000' "
       "SubindexB='2' nbyteB='2'/>"
       "<row conf='17' IndexA='0x2001' SubindexA='1' devIDB='5' IndexB='0x6000' SubindexB='2' "
       "nbyteB='2' mnemonico='m'/>"
       "<row conf='16' IndexA='0x2002' SubindexA='1' devIDB='5' IndexB='0x6000' SubindexB='2' "
       "nbyteB='2' mnemonico='m'/>"
       "<row conf='1' IndexA='0x2003' SubindexA='1' devIDB='5' IndexB='0x6000' SubindexB='2' "
       "nbyteB='2' mnemonico='m'/></sdo>",
       {},
       {Cells("0", "0x2000", ""), Cells("1", "0x2002")},
       {Cells("1", "0x2001"), Cells("0", "0x2003")}},
      {"a missing required attribute accepted",
       "<sdo><row conf='0' IndexA='1' SubindexA='1' devIDB='5' IndexB='0x6000' SubindexB='2' "
       "nbyteB='2'/><row conf='0' IndexA='2' SubindexA='1' devIDB='5' SubindexB='2' "
       "nbyteB='2'/></sdo>",
       {"Error in reading file XML"},
       {Cells("0", "1", "")},
       {}},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(file());
    if (c.text != nullptr)
      WriteBytes(file(), c.text);
    const GridLoad load = LoadSdoTable(file());
    EXPECT_EQ(MessageTexts(load.messages), c.messages) << c.fault;
    ASSERT_EQ(load.model.a.size(), 1500u);
    EXPECT_EQ(FilledRows(load.model.a), c.a) << c.fault;
    EXPECT_EQ(FilledRows(load.model.b), c.b) << c.fault;
    EXPECT_EQ(load.report.Complete(), c.messages.empty()) << c.fault;
  }
}

TEST_F(SdoTable, OkWritesTheFilledRowsOfBothGridsInGridOrder) {
  SideGrids grids = EmptySdoGrids();
  grids.a[0] = Cells("1", "0x2001");
  grids.a[4] = Cells("yes", "0x2000", "a<b&\"c\"");
  grids.a[7] = {"", "", "", "", "", "", "", "only a name"};
  grids.b[1499] = Cells("1", "0x2100");
  grids.b[2] = Cells("0", "0x2101");
  ASSERT_TRUE(SaveSdoTable(file(), grids).ok());
  const std::string written = ReadBytes(file());
  EXPECT_EQ(written,
            "<sdo>" + Row(16, "0x2001") +
                "<row conf=\"0\" IndexA=\"0x2000\" SubindexA=\"1\" devIDB=\"5\" IndexB=\"0x6000\" "
                "SubindexB=\"2\" nbyteB=\"2\" mnemonico=\"a&lt;b&amp;&quot;c&quot;\"/>"
                "<row conf=\"0\" IndexA=\"\" SubindexA=\"\" devIDB=\"\" IndexB=\"\" SubindexB=\"\" "
                "nbyteB=\"\" mnemonico=\"only a name\"/>" +
                Row(1, "0x2101") + Row(17, "0x2100") + "</sdo>");

  // What OK wrote, the show reads back, and OK then writes the same bytes.
  const GridLoad load = LoadSdoTable(file());
  ASSERT_TRUE(load.report.Complete());
  EXPECT_EQ(load.model.a[1][7], "a<b&\"c\"");
  ASSERT_TRUE(SaveSdoTable(file(), load.model).ok());
  EXPECT_EQ(ReadBytes(file()), written);
}

TEST_F(SdoTable, CsvOfUntouchedGridsHas3002Lines) {
  SideGrids grids = EmptySdoGrids();
  const std::string untouched = SdoCsvText(grids);
  const std::vector<std::string_view> lines = SplitLines(untouched);
  ASSERT_EQ(lines.size(), 3002u);
  EXPECT_EQ(lines[0], "0,Index,Subindex,devID,Index,Subindex,nbyte,mnemonico,");
  EXPECT_EQ(lines[1], "0,,,,,,,,");
  EXPECT_EQ(lines[1500], "0,,,,,,,,");
  EXPECT_EQ(lines[1501], "1,Index,Subindex,devID,Index,Subindex,nbyte,mnemonico,");
  EXPECT_EQ(lines[3001], "1,,,,,,,,");

  grids.a[0] = Cells("1", "0x2000", "x,y");
  grids.a[1] = Cells("1 ", "0x2001");
  grids.b[0] = Cells("1", "0x2100");
  grids.b[1] = Cells("0", "0x2101");
  const std::string text = SdoCsvText(grids);
  const std::vector<std::string_view> coded = SplitLines(text);
  EXPECT_EQ(coded[1], "16,0x2000,1,5,0x6000,2,2,\"x,y\",");
  EXPECT_EQ(coded[2], "0,0x2001,1,5,0x6000,2,2,m,");
  EXPECT_EQ(coded[1502], "17,0x2100,1,5,0x6000,2,2,m,");
  EXPECT_EQ(coded[1503], "1,0x2101,1,5,0x6000,2,2,m,");
  EXPECT_EQ(text.substr(text.size() - 11), "1,,,,,,,,\r\n");

  ASSERT_TRUE(ExportSdoCsv(dir_.path(), grids).ok());
  EXPECT_EQ(ReadBytes(dir_ / "sdo.csv"), text);
}

TEST(SdoImport, ConfChoosesTheGridAndTheRwCell) {
  const auto imported =
      ImportSdoSheet(MakeSheet("SDO", 8,
                               {{"17", "0x2000", "1", "5", "0x6000", "2", "2", "m"},
                                {"0", "0x2001", nullptr, "5", "0x6000", "2", "2", nullptr},
                                {"16", "0x2002"},
                                {"1", "0x2003"}}));
  ASSERT_TRUE(imported.ok()) << imported.error();
  EXPECT_EQ(FilledRows(imported->model.a),
            (GridRows{{"0", "0x2001", "", "5", "0x6000", "2", "2", ""},
                      {"1", "0x2002", "", "", "", "", "", ""}}));
  EXPECT_EQ(FilledRows(imported->model.b),
            (GridRows{Cells("1", "0x2000"), {"0", "0x2003", "", "", "", "", "", ""}}));
}

}  // namespace
}  // namespace quastor::test
