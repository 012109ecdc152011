// The workbook adapter's own rules, apart from any file: cell texts, FreeXL's two kinds of
// whole numbers, sheet bounds, addresses in .xlsx and .ods, and telling the format.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/Workbook.h"
#include "platform/WorkbookCells.h"
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

// Dates and times read as the same text whatever the format stored: a serial number with a
// date format (.xlsx, .xls) gives what an .ods states as its date value.
TEST(WorkbookRules, DatesOfSerialNumbersAndFormats) {
  using workbook::DateKind;
  const struct {
    double serial;
    DateKind kind;
    bool from1904;
    std::optional<std::string> text;
  } serials[] = {
      {45322, DateKind::kDate, false, "2024-01-31"},
      {45322.5208333333, DateKind::kDateTime, false, "2024-01-31 12:30:00"},
      {45322, DateKind::kDateTime, false, "2024-01-31"},  // midnight: the date alone
      {0.5208333333, DateKind::kTime, false, "12:30:00"},
      {1.5, DateKind::kTime, false, "36:00:00"},  // a duration
      {43860, DateKind::kDate, true, "2024-01-31"},
      {1, DateKind::kDate, false, "1900-01-01"},
      {60, DateKind::kDate, false, "1900-02-29"},  // the day the 1900 system counts
      {61, DateKind::kDate, false, "1900-03-01"},
      {45322, DateKind::kNone, false, std::nullopt},
      {-1, DateKind::kDate, false, std::nullopt},
  };
  for (const auto& s : serials)
    EXPECT_EQ(workbook::SerialDateText(s.serial, s.kind, s.from1904), s.text) << s.serial;

  const struct {
    const char* code;
    DateKind kind;
  } formats[] = {
      {"yyyy\\-mm\\-dd", DateKind::kDate}, {"d-mmm-yy", DateKind::kDate},
      {"mmm yyyy", DateKind::kDate},       {"h:mm", DateKind::kTime},
      {"mm:ss", DateKind::kTime},          {"[h]:mm:ss", DateKind::kTime},
      {"h:mm AM/PM", DateKind::kTime},     {"dd/mm/yyyy hh:mm", DateKind::kDateTime},
      {"General", DateKind::kNone},        {"0.00", DateKind::kNone},
      {"#,##0 \"days\"", DateKind::kNone}, {"[Red]0;[Blue]-0", DateKind::kNone},
      {"[$-409]0.00", DateKind::kNone},    {"0;\"y\"", DateKind::kNone},
  };
  for (const auto& f : formats)
    EXPECT_EQ(workbook::DateKindOfFormat(f.code), f.kind) << f.code;
  EXPECT_EQ(workbook::DateKindOfBuiltinFormat(14), DateKind::kDate);
  EXPECT_EQ(workbook::DateKindOfBuiltinFormat(22), DateKind::kDateTime);
  EXPECT_EQ(workbook::DateKindOfBuiltinFormat(21), DateKind::kTime);
  EXPECT_EQ(workbook::DateKindOfBuiltinFormat(0), DateKind::kNone);
}

TEST(WorkbookRules, XlsxEscapesAndCellNames) {
  const struct {
    const char* stored;
    const char* text;
  } escapes[] = {
      {"a_x000D_b", "a\rb"},
      {"a_x005F_x000D_b", "a_x000D_b"},  // an escaped underscore keeps the rest literal
      {"_x00DC_", "\xC3\x9C"},
      {"_xD83D__xDE00_", "\xF0\x9F\x98\x80"},  // a surrogate pair
      {"_x12G4_ and _x12", "_x12G4_ and _x12"},
  };
  for (const auto& e : escapes)
    EXPECT_EQ(workbook::DecodeXlsxEscapes(e.stored), e.text) << e.stored;
  EXPECT_EQ(workbook::CellName(1, 2), "C2");
  EXPECT_EQ(workbook::CellName(0, 26), "AA1");
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
