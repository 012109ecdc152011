// What the editors' status lines count and say: records per side after OK, rows that hold
// something after Export and Import, and the words around the numbers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canopen/PdoTable.h"
#include "canopen/SdoTable.h"
#include "canopen/TableCounts.h"
#include "platform/DoneReport.h"

namespace quastor {
namespace {

GridRow SdoRow(const std::string& rw, const std::string& index, const std::string& name = "") {
  return {rw, index, "1", "5", "0x6000", "1", "2", name};
}
GridRow PdoRow(const std::string& cobid, const std::string& flag = "0") {
  return {cobid, cobid.empty() ? "" : "5", flag, "", ""};
}

struct CountCase {
  const char* fault;  // what a wrong count would do
  SideGrids grids;
  SideCounts sdo;  // FilledRowCounts(SdoFields()) or, for PDO grids, PdoRecordCounts
  bool pdo = false;
};

TEST(StatusCounts, RecordsAndFilledRowsPerSide) {
  const std::vector<CountCase> cases = {
      {"empty rows are no records", {GridRows(3, GridRow(8)), GridRows(2, GridRow(8))}, {0, 0}},
      {"a row with only the RW flag 0 holds nothing",
       {{SdoRow("1", "0x2001"), GridRow{"0", "", "", "", "", "", "", ""}, SdoRow("0", "0x2002")},
        {GridRow(8), SdoRow("0", "", "only a name")}},
       {2, 1}},
      {"rows after a gap still count",
       {{GridRow(8), GridRow(8), SdoRow("1", "0x2003")}, {}},
       {1, 0}},
      {"PDO entries up to the first empty cobid",
       {{PdoRow("0x181"), PdoRow("0x182", "1"), PdoRow(""), PdoRow("")}, {PdoRow("0x201")}},
       {2, 1},
       true},
      {"a PDO side that OK refuses counts its filled rows",
       {{PdoRow("0x181"), PdoRow(""), PdoRow("0x183")}, {}},
       {2, 0},
       true},
  };
  for (const CountCase& c : cases) {
    const SideCounts counts =
        c.pdo ? PdoRecordCounts(c.grids) : FilledRowCounts(SdoFields(), c.grids);
    EXPECT_EQ(counts.a, c.sdo.a) << c.fault;
    EXPECT_EQ(counts.b, c.sdo.b) << c.fault;
  }
}

TEST(StatusCounts, ModelsCountTheirRecordsPerSide) {
  EmcyModel rules;
  rules.pageA.rules.resize(3);
  rules.pageB.rules.resize(1);
  EXPECT_EQ(EmcyRuleCounts(rules).a, 3u);
  EXPECT_EQ(EmcyRuleCounts(rules).b, 1u);

  WordModel words;
  words.pageB.words.resize(2);
  EXPECT_EQ(EmcyWordCounts(words).a, 0u);
  EXPECT_EQ(EmcyWordCounts(words).b, 2u);

  StoredPdoModel stored;
  stored.pageA.pdos = {TClPdo("0x181", 1), TClPdo("0x182", 2)};
  stored.pageA.pdos[0].sdoList.resize(2);
  stored.pageA.pdos[1].sdoList.resize(3);
  stored.pageB.pdos = {TClPdo("0x201", 1)};
  const SideCounts entries = StoredPdoCounts(stored);
  EXPECT_EQ(entries.a, 5u) << "the entries of every PDO, not the PDOs";
  EXPECT_EQ(entries.b, 0u);
}

TEST(StatusCounts, TheWordsAroundTheNumbers) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {SavedReport("sdo.xml", SideCounts{41, 4}), "sdo.xml saved: 45 records (CAN A 41, CAN B 4)"},
      {SavedReport("Receive_Frame.xml", 5), "Receive_Frame.xml saved: 5 records"},
      {SavedReport("Send_Frame.xml", 1), "Send_Frame.xml saved: 1 record"},
      {ExportedReport("/p/Plant/sdo.csv", 45), "Exported /p/Plant/sdo.csv (45 rows)"},
      {ImportedReport("/p/Plant/tables.xlsx", "SDO", SideCounts{41, 4}),
       "Imported 45 rows from tables.xlsx, sheet SDO: CAN A 41, CAN B 4"},
      {ReplaceRowsQuestion(3, "sdo.xml", 45, "SDO"),
       "Replace the 3 rows of sdo.xml with the 45 rows of SDO?"},
      {ReplaceRowsQuestion(1, "sdo.xml", 1, "sdo"),
       "Replace the 1 row of sdo.xml with the 1 row of sdo?"},
      {WrittenReport("bank.bin", 10), "bank.bin written (10 bytes)"},
  };
  for (const auto& [said, expected] : cases)
    EXPECT_EQ(said, expected);
}

}  // namespace
}  // namespace quastor
