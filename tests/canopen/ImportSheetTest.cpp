// What every table's import shares: the whole sheet is checked before any grid changes, and a
// failure names the sheet or the row; an empty sheet imports nothing; workbooks from files.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "canopen/ImportSheet.h"
#include "canopen/PdoTable.h"
#include "canopen/SdoTable.h"
#include "canopen/StoredPdoFiles.h"
#include "tests/canopen/CanopenTestSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

// The three imports with one shape: the failure text, or "" on success.
std::string SdoImport(const WorkbookSheet& sheet) {
  const auto imported = ImportSdoSheet(sheet);
  return imported ? "" : imported.error();
}
std::string PdoImport(const WorkbookSheet& sheet) {
  const auto imported = ImportPdoSheet(sheet);
  return imported ? "" : imported.error();
}
std::string StoredImport(const WorkbookSheet& sheet) {
  StoredPdoModel model;
  model.pageA.pdos.emplace_back("0x181", 1);
  const auto imported = ImportStoredPdoSheet(model, sheet);
  return imported ? "" : imported.error();
}

TEST(ImportSheet, FailuresNameTheSheetOrTheRow) {
  const struct {
    const char* fault;
    std::function<std::string(const WorkbookSheet&)> import;
    WorkbookSheet sheet;
    const char* error;
  } cases[] = {
      {"empty flags imported silently", PdoImport,
       MakeSheet("rpdodef", 5, {{"1", "", "00"}, {"2", "", nullptr}}),
       "Error! Row 3 of sheet \"rpdodef\", column C (en_bypass): the cell is empty"},
      {"flags that are not a number", PdoImport, MakeSheet("Rpdodef", 5, {{"1", "", "0 1"}}),
       "Error! Row 2 of sheet \"Rpdodef\", column C (en_bypass): '0 1' is not a valid integer "
       "value"},
      {"too few columns", PdoImport, MakeSheet("rpdodef", 4, {{"1", "", "00", ""}}),
       "Error! The sheet \"rpdodef\" has 4 columns, but the table needs 5."},
      {"empty conf", SdoImport, MakeSheet("sdo", 8, {{"0"}, {"16"}, {nullptr, "0x2000"}}),
       "Error! Row 4 of sheet \"sdo\", column A (conf): the cell is empty"},
      {"too few columns", SdoImport, MakeSheet("sdo", 7, {}),
       "Error! The sheet \"sdo\" has 7 columns, but the table needs 8."},
      {"nrpdo 0 accepted", StoredImport, MakeSheet("sdopdo", 4, {{"0x2000", "1", "0", "0"}}),
       "Error! Row 2 of sheet \"sdopdo\", column C (nrpdo): nrpdo '0' holds no PDO number from 1 "
       "to 127"},
      {"nrpdo 128 read as PDO 0", StoredImport, MakeSheet("sdopdo", 4, {{"1", "1", "128", "0"}}),
       "Error! Row 2 of sheet \"sdopdo\", column C (nrpdo): nrpdo '128' holds no PDO number "
       "from 1 to 127"},
      {"nrpdo not a number", StoredImport, MakeSheet("sdopdo", 4, {{"1", "1", "x", "0"}}),
       "Error! Row 2 of sheet \"sdopdo\", column C (nrpdo): 'x' is not a valid integer value"},
      {"an empty sheet refused", PdoImport, MakeSheet("rpdodef", 5, {}), ""},
      {"an empty sheet refused", StoredImport, MakeSheet("sdopdo", 4, {}), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.import(c.sheet), c.error) << c.fault;
}

// What a sheet saved from Export holds besides the records: heading lines (row 1 and a later
// one that repeats Export's heading texts) and rows that hold nothing are passed over; row 1
// is a record when its flags field reads as a number; a record's cell that gives no text fails
// the import by name.
TEST(ImportSheet, HeadingLinesAndEmptyRowsAreNoRecords) {
  auto sheet = [](std::vector<std::string> headings,
                  std::initializer_list<std::vector<const char*>> rows) {
    WorkbookSheet made = MakeSheet("sheet", headings.size(), rows);
    made.headings = std::move(headings);
    return made;
  };
  const SheetShape sdo{{"conf", "IndexA", "SubindexA"}, 0, {"RW", "Index", "Subindex"}, {"0", "1"}};
  const SheetShape emcy{{"id_dev", "mask", "bypass_set"}, 2, {}, {}};
  const struct {
    const char* fault;
    SheetShape shape;
    WorkbookSheet sheet;
    std::vector<std::size_t> rows;  // the sheet rows taken as records
  } cases[] = {
      {"second page's heading line read as a record",
       sdo,
       sheet({"0", "Index", "Subindex"}, {{"16", "0x2000", "1"}, {"1", "Index", "Subindex"}}),
       {2}},
      {"empty grid rows read as records",
       sdo,
       sheet({"0", "Index", "Subindex"},
             {{"0", nullptr, nullptr}, {"1"}, {}, {"0", "0x2000"}, {"00"}}),
       {5}},
      {"a set flag alone lost", sdo, sheet({"0", "Index", "Subindex"}, {{"16"}}), {2}},
      {"first record taken as headings", emcy, sheet({"5", "0", "39"}, {{"6", "0", "1"}}), {1, 2}},
      {"headings taken as a record",
       emcy,
       sheet({"id_dev", "mask", "bypass_set"}, {{"6", "", "1"}}),
       {2}},
      {"a user's headings taken as a record",
       sdo,
       sheet({"conf", "a", "b"}, {{"1", "x", ""}}),
       {2}},
  };
  for (const auto& c : cases) {
    const Result<std::vector<SheetRecord>> records = SheetRecords(c.sheet, c.shape);
    ASSERT_TRUE(records.ok()) << c.fault << ": " << records.error();
    std::vector<std::size_t> rows;
    for (const SheetRecord& record : *records)
      rows.push_back(record.sheetRow);
    EXPECT_EQ(rows, c.rows) << c.fault;
  }

  WorkbookSheet unread = sheet({"RW", "Index", "Subindex"}, {{"0", "0x2000", nullptr}});
  unread.unread.push_back({1, 2, kWorkbookNoStoredResult});
  EXPECT_EQ(SheetRecords(unread, sdo).error(),
            "Error! Row 2 of sheet \"sheet\", column C (SubindexA): the cell holds a formula "
            "without a stored result");
  // An error in a column beyond the table's fields is ignored, as the column is.
  unread.unread = {{1, 5, "the cell holds the error #N/A"}};
  EXPECT_TRUE(SheetRecords(unread, sdo).ok());
}

TEST(ImportSheet, EmptySheetGivesEmptyGrids) {
  const auto imported = ImportSdoSheet(MakeSheet("sdo", 8, {}));
  ASSERT_TRUE(imported.ok());
  EXPECT_EQ(imported->model.a, EmptySdoGrids().a);
  EXPECT_EQ(imported->model.b, EmptySdoGrids().b);
}

TEST(ImportWorkbook, UnreadableWorkbookFailsWithItsName) {
  TempDir dir;
  const auto missing = dir / "none.xls";
  const auto imported = ImportPdoWorkbook(missing);
  ASSERT_FALSE(imported.ok());
  EXPECT_NE(imported.error().find(missing.string()), std::string::npos) << imported.error();
}

// The committed workbooks (scripts/make-workbook-fixtures.pl), where this build reads them.
TEST(ImportWorkbook, SheetsOfCommittedWorkbooks) {
  if (!WorkbookSupported() || !std::filesystem::exists(DataFile("canopen/no_sheet.xls")))
    GTEST_SKIP() << "this build reads no workbooks";
  const std::filesystem::path no_sheet = DataFile("canopen/no_sheet.xls");
  EXPECT_EQ(ImportSdoWorkbook(no_sheet).error(),
            "Error! The workbook \"" + no_sheet.string() + "\" has no sheet \"sdo\".");
  for (const char* name : {"tables.xls", "tables.xlsx", "tables.ods"}) {
    const std::filesystem::path workbook = DataFile(std::string("canopen/") + name);
    const auto sdo = ImportSdoWorkbook(workbook);
    ASSERT_TRUE(sdo.ok()) << name << ": " << sdo.error();
    EXPECT_EQ(FilledRows(sdo->model.a),
              (GridRows{{"0", "0x2000", "1", "5", "0x6000", "1", "2", "speed"},
                        {"1", "0x2002", "3", "", "0x6002", "0", "4", ""}}))
        << name;
    EXPECT_EQ(FilledRows(sdo->model.b),
              (GridRows{{"1", "8193", "0", "6", "0x6001", "2", "1", "temp, max \"C\""},
                        {"0", "0x2100", "1", "7", "0x6100", "1", "2", "back"}}))
        << name;
    const auto pdo = ImportPdoWorkbook(workbook);
    ASSERT_TRUE(pdo.ok()) << name << ": " << pdo.error();
    EXPECT_EQ(FilledRows(pdo->model.a),
              (GridRows{{"0x181", "1", "1", "0", "1"}, {"0x183", "4", "0", "", "4"}}))
        << name;
    EXPECT_EQ(FilledRows(pdo->model.b),
              (GridRows{{"0x182", "2", "0", "0", "2"}, {"385", "3", "1", "1", "3"}}))
        << name;
  }
  for (const char* name : {"bad_flags.xls", "bad_flags.xlsx"}) {
    const std::filesystem::path workbook = DataFile(std::string("canopen/") + name);
    EXPECT_EQ(ImportSdoWorkbook(workbook).error(),
              "Error! Row 3 of sheet \"sdo\", column A (conf): the cell is empty")
        << name;
    EXPECT_EQ(ImportPdoWorkbook(workbook).error(),
              "Error! The sheet \"rpdodef\" has 3 columns, but the table needs 5.")
        << name;
  }
  // Inline strings import; a formula stored without its result fails the import by its cell.
  const std::filesystem::path inline_strings = DataFile("workbook/inline.xlsx");
  const auto sdo = ImportSdoWorkbook(inline_strings);
  ASSERT_TRUE(sdo.ok()) << sdo.error();
  EXPECT_EQ(FilledRows(sdo->model.a),
            (GridRows{{"0", "0x2000", "1", "5", "0x6000", "1", "2", "speed _x0041_"}}));
  EXPECT_EQ(ImportPdoWorkbook(inline_strings).error(),
            "Error! Row 2 of sheet \"rpdodef\", column D (posind): the cell holds a formula "
            "without a stored result");
}

}  // namespace
}  // namespace quastor::test
