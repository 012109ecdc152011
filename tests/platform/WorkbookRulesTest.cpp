// The workbook adapter's own rules, apart from any file: cell texts, FreeXL's two kinds of
// whole numbers, sheet bounds, addresses in .xlsx and .ods, and telling the format.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <orcus/exception.hpp>

#include "platform/Workbook.h"
#include "platform/WorkbookCells.h"
#include "platform/WorkbookOrcusImport.h"
#include "platform/WorkbookXls.h"

namespace quastor {
namespace {

using workbook::CellValue;
using workbook::ErrorValue;

const WorkbookCell kNothing = std::nullopt;

TEST(WorkbookRules, NumberText) {
  const struct {
    double value;
    WorkbookCell text;
  } cases[] = {
      {17.0, "17"},  // whole numbers carry no fraction
      {-3.0, "-3"},
      {0.0, "0"},
      {-0.0, "0"},
      {4294967295.0, "4294967295"},  // past 32 bits and still whole, not "4.294967295e+09"
      {123456789012.0, "123456789012"},
      {1.5, "1.5"},  // fractions in the shortest text that reads back the same
      {0.1, "0.1"},
      {-0.25, "-0.25"},
      {0.0001, "0.0001"},
      {1e-7, "1e-07"},
      {1e20, "1e+20"},  // beyond 64-bit integers
      {std::numeric_limits<double>::quiet_NaN(), kNothing},
      {std::numeric_limits<double>::infinity(), kNothing},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WorkbookNumberText(c.value), c.text) << c.value;
}

TEST(WorkbookRules, CellTextOfEveryKind) {
  const struct {
    CellValue value;
    WorkbookCell text;
  } cases[] = {
      {std::monostate{}, kNothing},
      {std::string(""), ""},  // an empty text cell is a text, not an empty cell
      {std::string("0x1A00"), "0x1A00"},
      {std::string(" a, \"b\" "), " a, \"b\" "},
      {std::string("\xC3\x9C\xC2\xB0"), "\xC3\x9C\xC2\xB0"},
      {17.0, "17"},
      {2.5, "2.5"},
      {true, "1"},
      {false, "0"},
      {ErrorValue{}, kNothing},
  };
  for (const auto& c : cases)
    EXPECT_EQ(workbook::CellText(c.value), c.text) << c.text.value_or("(nothing)");
}

FreeXL_CellValue XlsInt(int value) {
  FreeXL_CellValue cell{};
  cell.type = FREEXL_CELL_INT;
  cell.value.int_value = value;
  return cell;
}

FreeXL_CellValue XlsDouble(double value) {
  FreeXL_CellValue cell{};
  cell.type = FREEXL_CELL_DOUBLE;
  cell.value.double_value = value;
  return cell;
}

FreeXL_CellValue XlsText(unsigned char type, const char* text) {
  FreeXL_CellValue cell{};
  cell.type = type;
  cell.value.text_value = text;
  return cell;
}

TEST(WorkbookRules, XlsWholeNumbersReadTheSameAsIntegerOrDouble) {
  const struct {
    FreeXL_CellValue cell;
    WorkbookCell text;
  } cases[] = {
      {XlsInt(17), "17"},
      {XlsDouble(17.0), "17"},
      {XlsInt(-3), "-3"},
      {XlsDouble(-3.0), "-3"},
      {XlsDouble(4294967295.0), "4294967295"},
      {XlsDouble(1.5), "1.5"},
      {XlsText(FREEXL_CELL_SST_TEXT, "0x2000"), "0x2000"},
      {XlsText(FREEXL_CELL_TEXT, ""), ""},
      {XlsText(FREEXL_CELL_DATE, "2024-01-31"), "2024-01-31"},
      {XlsText(FREEXL_CELL_TEXT, nullptr), ""},
      {XlsText(FREEXL_CELL_NULL, nullptr), kNothing},
  };
  for (const auto& c : cases)
    EXPECT_EQ(workbook::CellText(workbook::XlsCellValue(c.cell)), c.text)
        << static_cast<int>(c.cell.type) << " " << c.text.value_or("(nothing)");
}

TEST(WorkbookRules, SheetBuilderTrimsAndPads) {
  workbook::SheetBuilder builder;
  builder.Set(0, 0, "h");
  builder.Set(2, 2, "x");       // row 2 (the middle row 1 stays, empty)
  builder.Set(4, 0, kNothing);  // empty cells do not make rows
  builder.Set(3, 5, "gone");
  builder.Set(3, 5, kNothing);  // written, then cleared: no column F
  const Result<WorkbookSheet> sheet = builder.Finish("S");
  ASSERT_TRUE(sheet.ok()) << sheet.error();
  EXPECT_EQ(sheet->columnCount, 3u);
  EXPECT_EQ(sheet->headings, (std::vector<std::string>{"h", "", ""}));
  const std::vector<std::vector<WorkbookCell>> rows = {{kNothing, kNothing, kNothing},
                                                       {kNothing, kNothing, "x"}};
  EXPECT_EQ(sheet->rows, rows);
}

TEST(WorkbookRules, SheetBuilderRefusesHugeSheets) {
  const struct {
    const char* what;
    std::vector<std::pair<std::size_t, std::size_t>> cells;
    bool tooLarge;
  } cases[] = {
      {"last cell of the largest sheet",
       {{kWorkbookMaxRows - 1, 0}, {0, kWorkbookMaxColumns - 1}},
       true},  // the dense table would hold 2^34 cells
      {"row past the bound", {{kWorkbookMaxRows, 0}}, true},
      {"column past the bound", {{0, kWorkbookMaxColumns}}, true},
      {"far corner alone", {{kWorkbookMaxRows - 1, 3}}, false},  // 4 columns of 2^20 rows
      {"wide rows past the cell bound", {}, true},
  };
  for (const auto& c : cases) {
    workbook::SheetBuilder builder;
    for (const auto& [row, column] : c.cells)
      builder.Set(row, column, "v");
    if (c.cells.empty()) {
      // 256 full-width rows reach the cell bound; the next one passes it.
      for (std::size_t row = 0; row <= kWorkbookMaxCells / kWorkbookMaxColumns; ++row)
        builder.Set(row, kWorkbookMaxColumns - 1, "v");
    }
    const Result<WorkbookSheet> sheet = builder.Finish("Big");
    EXPECT_EQ(!sheet.ok(), c.tooLarge) << c.what;
    if (!sheet.ok()) {
      EXPECT_NE(sheet.error().find("\"Big\" is too large"), std::string::npos) << sheet.error();
    }
  }
}

TEST(WorkbookRules, AddressesOfBothFilters) {
  workbook::OrcusResolver resolver;
  const struct {
    const char* text;
    int row, column;
  } addresses[] = {
      {"A1", 0, 0},
      {"$B$3", 2, 1},
      {"Sheet1!C7", 6, 2},
      {"[.D4]", 3, 3},
      {"'a.b'.AA10", 9, 26},
      {"$Sheet1.$AB$2", 1, 27},
      {"xfd1048576", 1048575, 16383},
  };
  for (const auto& a : addresses) {
    const auto address = resolver.resolve_address(a.text);
    EXPECT_EQ(address.row, a.row) << a.text;
    EXPECT_EQ(address.column, a.column) << a.text;
  }
  for (const char* bad : {"", "1A", "A0", "ABCD1", "A12345678", "A1B", "$", "A:B"})
    EXPECT_THROW(resolver.resolve_address(bad), orcus::invalid_arg_error) << bad;

  const struct {
    const char* text;
    int firstRow, firstColumn, lastRow, lastColumn;
  } ranges[] = {
      {"A1:C7", 0, 0, 6, 2},     {"[.A1:.C7]", 0, 0, 6, 2}, {"B2", 1, 1, 1, 1},
      {"A:C", 0, 0, 1048575, 2}, {"2:3", 1, 0, 2, 16383},
  };
  for (const auto& r : ranges) {
    const auto range = resolver.resolve_range(r.text);
    EXPECT_EQ(range.first.row, r.firstRow) << r.text;
    EXPECT_EQ(range.first.column, r.firstColumn) << r.text;
    EXPECT_EQ(range.last.row, r.lastRow) << r.text;
    EXPECT_EQ(range.last.column, r.lastColumn) << r.text;
  }
}

TEST(WorkbookRules, FormatByContentThenExtension) {
  using workbook::Format;
  const std::string ole2("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12);
  const std::string zip = std::string("PK\x03\x04", 4) + std::string(26, '\0') + "content";
  const std::string odsZip = std::string("PK\x03\x04", 4) + std::string(26, '\0') +
                             "mimetypeapplication/vnd.oasis.opendocument.spreadsheet";
  const struct {
    std::string bytes;
    const char* name;
    Format format;
  } cases[] = {
      {ole2, "t.xlsx", Format::kXls},  // content wins over the name
      {zip, "t.xls", Format::kXlsx},    {odsZip, "t.xlsx", Format::kOds},
      {zip, "t.ODS", Format::kOds},  // a zip without the type entry: the name decides
      {"plain", "t.xls", Format::kXls}, {"plain", "t.XLSX", Format::kXlsx},
      {"plain", "t.ods", Format::kOds}, {"plain", "t.csv", Format::kUnknown},
      {"", "t", Format::kUnknown},
  };
  for (const auto& c : cases)
    EXPECT_EQ(workbook::DetectFormat(c.bytes, c.name), c.format) << c.name;
}

TEST(WorkbookRules, SheetNamesMatchWithoutAsciiCase) {
  EXPECT_TRUE(workbook::SameSheetName("Mixed Case", "mIXED cASE"));
  EXPECT_TRUE(workbook::SameSheetName("SDO", "sdo"));
  EXPECT_FALSE(workbook::SameSheetName("sdo", "sdo "));
  EXPECT_FALSE(workbook::SameSheetName("\xC3\x9C", "\xC3\xBC"));  // only ASCII folds
}

}  // namespace
}  // namespace quastor
