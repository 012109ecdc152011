// Reading workbooks made by spreadsheet writers (scripts/make-workbook-fixtures.pl): every
// format gives the same sheets and texts, sheets are found without regard to letter case,
// and files that are not workbooks fail with a message naming them.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/Workbook.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

using Rows = std::vector<std::vector<WorkbookCell>>;
const WorkbookCell N = std::nullopt;

struct Expected {
  std::string name;
  std::vector<std::string> headings;
  Rows rows;
};

// The same workbook from each writer, with what a format or writer cannot hold.
struct Source {
  const char* file;
  bool keepsEmptyText;       // LibreOffice drops it; FreeXL cannot open an .xls holding one
  WorkbookCell textFormula;  // the result stored with ="0x"&"1F"
};

const Source kCellSources[] = {
    {"workbook/cells.xls", false, "0x1F"},
    // Whole numbers as integers, in the mini stream. LibreOffice stores the number 0 and no
    // text for a text result: the cell is unread, never "0".
    {"workbook/cells-libreoffice.xls", false, N},
    {"workbook/cells.xlsx", true, "0x1F"},
    {"workbook/cells.ods", false, "0x1F"},
};

std::optional<WorkbookSheet> Read(const std::string& file, const std::string& sheet) {
  Result<std::optional<WorkbookSheet>> read = ReadWorkbookSheet(test::DataFile(file), sheet);
  EXPECT_TRUE(read.ok()) << file << ": " << read.error();
  return read.ok() ? *read : std::nullopt;
}

void ExpectSheet(const std::string& file, const Expected& expected) {
  SCOPED_TRACE(file + " sheet " + expected.name);
  const std::optional<WorkbookSheet> sheet = Read(file, expected.name);
  ASSERT_TRUE(sheet.has_value()) << "no sheet";
  EXPECT_EQ(sheet->name, expected.name);
  EXPECT_EQ(sheet->columnCount, expected.headings.size());
  EXPECT_EQ(sheet->headings, expected.headings);
  ASSERT_EQ(sheet->rows.size(), expected.rows.size());
  for (std::size_t r = 0; r < expected.rows.size(); ++r)
    EXPECT_EQ(sheet->rows[r], expected.rows[r]) << "row " << r + 2;
}

TEST(Workbook, EveryFormatGivesTheSameCells) {
  for (const Source& source : kCellSources) {
    const Result<std::vector<std::string>> names = WorkbookSheetNames(test::DataFile(source.file));
    ASSERT_TRUE(names.ok()) << names.error();
    EXPECT_EQ(*names, (std::vector<std::string>{"First", "Mixed Case"})) << source.file;

    ExpectSheet(source.file,
                {"First",
                 {"id", "value", "text", ""},
                 {
                     {"1", "17", "0x1A00", "\xC3\x9C\xC2\xB0"},
                     {"2", "-3", "comma, and \"quote\"", N},
                     {"3", "1.5", N, "x"},
                     {N, N, N, N},  // a wholly empty row in the middle stays
                     {"4", "4294967295", source.keepsEmptyText ? WorkbookCell("") : N, "0.1"},
                     {"5", N, N, N},  // a short row is padded
                 }});
    // Row 1 is the heading row even when it is empty.
    ExpectSheet(source.file, {"Mixed Case",
                              {"", ""},
                              {
                                  {"a", "2"},
                                  {"42", "-0.25"},  // =2*21
                                  {"123456789012", "1e-07"},
                                  {source.textFormula, "0.25"},  // =1/4
                              }});
  }
}

TEST(Workbook, SheetsAreFoundWithoutLetterCase) {
  for (const Source& source : kCellSources) {
    for (const char* asked : {"mixed case", "MIXED CASE", "Mixed Case"}) {
      const std::optional<WorkbookSheet> sheet = Read(source.file, asked);
      ASSERT_TRUE(sheet.has_value()) << source.file << " " << asked;
      EXPECT_EQ(sheet->name, "Mixed Case");  // as the workbook spells it
    }
    for (const char* missing : {"Mixed", "Mixed Case ", "Second", ""}) {
      Result<std::optional<WorkbookSheet>> read =
          ReadWorkbookSheet(test::DataFile(source.file), missing);
      ASSERT_TRUE(read.ok()) << read.error();
      EXPECT_FALSE(read->has_value()) << source.file << " " << missing;
    }
  }
}

TEST(Workbook, UnreadableFilesFailNamingTheFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "notes.txt", "id;value\n1;2\n");
  test::WriteBytes(dir / "empty.xlsx", "");
  std::filesystem::create_directory(dir / "folder.xls");
  const struct {
    std::filesystem::path file;
    const char* reason;
  } cases[] = {
      {test::DataFile("workbook/not_a_workbook.xls"), "damaged or not a workbook"},
      {test::DataFile("workbook/truncated.xlsx"), "damaged or not a workbook"},
      // A directory entry stating a 65535-byte name: FreeXL would read past its buffer.
      {test::DataFile("workbook/directory_name_too_long.xls"), "(invalid directory entry)"},
      // FreeXL frees a pointer it never allocated: the reader's process stops, not this one.
      {test::DataFile("workbook/freexl_bad_free.xls"), "the reader stopped on this file"},
      {dir / "missing.xls", "No such file"},
      {dir / "notes.txt", kWorkbookUnknownFormat},
      {dir / "empty.xlsx", "damaged or not a workbook"},
      {dir / "folder.xls", "is not a regular file."},
  };
  for (const auto& c : cases) {
    const std::string named = "\"" + Utf8FromPath(c.file) + "\"";
    const Result<std::vector<std::string>> names = WorkbookSheetNames(c.file);
    const Result<std::optional<WorkbookSheet>> sheet = ReadWorkbookSheet(c.file, "First");
    for (const std::string& error :
         {names.ok() ? std::string() : names.error(), sheet.ok() ? std::string() : sheet.error()}) {
      // A refusal of the shared read names the file itself.
      EXPECT_TRUE(error.rfind("Cannot read workbook " + named + ": ", 0) == 0 ||
                  error.rfind(named + " is not a regular file.", 0) == 0)
          << error;
      EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
  }
}

// Damaged copies of real workbooks fail or read, but never bring the reader down.
TEST(Workbook, DamagedWorkbooksDoNotCrash) {
  test::TempDir dir;
  for (const char* name : {"cells.xls", "cells.xlsx", "cells.ods"}) {
    const std::string bytes = test::ReadBytes(test::DataFile(std::string("workbook/") + name));
    std::vector<std::string> variants;
    for (std::size_t length : {8u, 64u, 512u, 1000u, 2048u, 4000u})
      variants.push_back(bytes.substr(0, std::min(length, bytes.size() - 1)));
    for (std::size_t step : {97u, 389u, 1021u}) {
      std::string flipped = bytes;
      for (std::size_t i = step; i < flipped.size(); i += step)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
      variants.push_back(flipped);
    }
    for (std::size_t i = 0; i < variants.size(); ++i) {
      const auto file = dir / (std::to_string(i) + name);
      test::WriteBytes(file, variants[i]);
      const Result<std::vector<std::string>> names = WorkbookSheetNames(file);
      const Result<std::optional<WorkbookSheet>> sheet = ReadWorkbookSheet(file, "first");
      if (!sheet.ok()) {
        EXPECT_NE(sheet.error().find("Cannot read workbook"), std::string::npos);
      }
    }
  }
}

TEST(Workbook, BooleansAndErrors) {
  for (const char* file : {"workbook/kinds.xlsx", "workbook/kinds.ods"}) {
    ExpectSheet(file, {"Kinds", {"true", "false", "error"}, {{"1", "0", N}}});
    const std::optional<WorkbookSheet> sheet = Read(file, "Kinds");
    ASSERT_TRUE(sheet.has_value());
    ASSERT_EQ(sheet->unread.size(), 1u) << file;
    EXPECT_EQ(sheet->unread[0].reason, "the cell holds the error #DIV/0!") << file;
  }
  // liborcus, which read .ods before, failed an assertion on this file.
  const Result<std::vector<std::string>> names =
      WorkbookSheetNames(test::DataFile("workbook/orcus_assertion.ods"));
  ASSERT_TRUE(names.ok()) << names.error();
  EXPECT_EQ(*names, (std::vector<std::string>{"First", "Mixed Case"}));
  // A boolean with LibreOffice's boolean style once brought liborcus' .ods filter down.
  const std::optional<WorkbookSheet> sheet = Read("workbook/boolean.ods", "S");
  ASSERT_TRUE(sheet.has_value());
  EXPECT_EQ(sheet->rows, Rows{{"1"}});
}

// Every kind of cell as LibreOffice saves it in each format gives one text, or is unread with
// its reason: never a wrong number, never an empty value.
TEST(Workbook, EveryCellKindReadsTheSameFromEveryFormat) {
  const std::string noResult = kWorkbookNoStoredResult;
  const std::string divZero = "the cell holds the error #DIV/0!";
  const struct {
    const char* kind;
    WorkbookCell text;
    std::string unread;     // the reason, when the cell gives no text
    std::string xlsUnread;  // the same in .xls, where LibreOffice stores no text result
  } kinds[] = {
      {"text", "0x2000", "", ""},
      {"number", "17", "", ""},
      {"fraction", "1.5", "", ""},
      {"boolean", "1", "", ""},
      {"text formula", "0x2000", "", noResult},
      {"number formula", "42", "", ""},
      {"boolean formula", "1", "", ""},
      {"error formula", N, divZero, divZero},
      {"date", "2024-01-31", "", ""},
      {"date formula", "2024-01-31", "", ""},
      {"date and time", "2024-01-31 12:30:00", "", ""},
      {"time", "12:30:00", "", ""},
      {"escape look-alike", "_x0041_ stays", "", ""},
      // Split over CONTINUE records in .xls, which FreeXL refuses as damaged.
      {"long text", std::string(20000, 'x'), "", ""},
  };
  for (const char* format : {"xlsx", "ods", "xls"}) {
    const std::string file = std::string("workbook/kinds-libreoffice.") + format;
    const std::optional<WorkbookSheet> sheet = Read(file, "kinds");
    ASSERT_TRUE(sheet.has_value()) << file;
    ASSERT_EQ(sheet->rows.size(), std::size(kinds)) << file;
    const bool xls = std::string(format) == "xls";
    for (std::size_t r = 0; r < std::size(kinds); ++r) {
      const auto& k = kinds[r];
      const std::string& unread = xls ? k.xlsUnread : k.unread;
      EXPECT_EQ(sheet->rows[r][0], WorkbookCell(k.kind)) << file;
      EXPECT_EQ(sheet->rows[r][1], unread.empty() ? k.text : N) << file << " " << k.kind;
      const WorkbookUnreadCell* cell = FindUnreadCell(*sheet, r + 1, 1);
      EXPECT_EQ(cell != nullptr ? cell->reason : "", unread) << file << " " << k.kind;
    }
  }
}

// Inline strings (t="inlineStr") are texts like shared ones; a formula stored without its
// result is unread, and counts for the sheet's extent.
TEST(Workbook, InlineStringsAndFormulasWithoutResult) {
  const std::optional<WorkbookSheet> sdo = Read("workbook/inline.xlsx", "sdo");
  ASSERT_TRUE(sdo.has_value());
  EXPECT_EQ(sdo->columnCount, 8u);
  EXPECT_EQ(sdo->headings[7], "mnemonico");
  EXPECT_EQ(sdo->rows, (Rows{{"0", "0x2000", "1", "5", "0x6000", "1", "2", "speed _x0041_"},
                             {"17", "0x2001", "2", "6", "0x6001", "2", "1", "temp"}}));
  const std::optional<WorkbookSheet> pdo = Read("workbook/inline.xlsx", "rpdodef");
  ASSERT_TRUE(pdo.has_value());
  EXPECT_EQ(pdo->rows, (Rows{{"0x181", "1", "1", N, "1"}}));
  ASSERT_EQ(pdo->unread.size(), 1u);
  EXPECT_EQ(pdo->unread[0].row, 1u);
  EXPECT_EQ(pdo->unread[0].column, 3u);
  EXPECT_EQ(pdo->unread[0].reason, kWorkbookNoStoredResult);
}

// The tables that the table editors import, as every format holds them.
TEST(Workbook, CanopenTablesReadAsWritten) {
  const std::vector<std::string> sdoHeadings = {"conf",   "IndexA",    "SubindexA", "devIDB",
                                                "IndexB", "SubindexB", "nbyteB",    "mnemonico"};
  const std::vector<Expected> tables = {
      {"SDO",
       sdoHeadings,
       {{"0", "0x2000", "1", "5", "0x6000", "1", "2", "speed"},
        {"17", "8193", "0", "6", "0x6001", "2", "1", "temp, max \"C\""},
        {"16", "0x2002", "3", N, "0x6002", "0", "4", N},
        {"1", "0x2100", "1", "7", "0x6100", "1", "2", "back"}}},
      {"rpdodef",
       {"cobid", "id_dev_orig", "en_bypass", "posind", "n_tpdo"},
       {{"0x181", "1", "01", "0", "1"},
        {"0x182", "2", "10", "0", "2"},
        {"385", "3", "11", "1", "3"},
        {"0x183", "4", "0", N, "4"}}},
      {"sdopdo",
       {"index", "subindex", "nrpdo", "poscomp"},
       {{"0x2000", "1", "1", "33"}, {"0x2001", "2", "129", "48"}, {"8194", "0", "2", N}}},
      {"Other", {"a", "b"}, {{"1", "2"}}},
  };
  for (const char* file : {"canopen/tables.xls", "canopen/tables.xlsx", "canopen/tables.ods"}) {
    const Result<std::vector<std::string>> names = WorkbookSheetNames(test::DataFile(file));
    ASSERT_TRUE(names.ok()) << names.error();
    EXPECT_EQ(*names, (std::vector<std::string>{"SDO", "rpdodef", "sdopdo", "Other"})) << file;
    for (const Expected& table : tables)
      ExpectSheet(file, table);
  }

  for (const char* file : {"canopen/bad_flags.xls", "canopen/bad_flags.xlsx"}) {
    ExpectSheet(file, {"sdo",
                       sdoHeadings,
                       {{"0", "0x2000", "1", "5", "0x6000", "1", "2", "a"},
                        {N, "0x2001", "1", "5", "0x6000", "1", "2", "b"},
                        {"1", "0x2002", "1", "5", "0x6000", "1", "2", "c"}}});
    ExpectSheet(file, {"rpdodef", {"cobid", "id_dev_orig", "en_bypass"}, {{"0x181", "1", "01"}}});
  }
  const Result<std::vector<std::string>> names =
      WorkbookSheetNames(test::DataFile("canopen/no_sheet.xls"));
  ASSERT_TRUE(names.ok()) << names.error();
  EXPECT_EQ(*names, std::vector<std::string>{"Other"});
}

}  // namespace
}  // namespace quastor
