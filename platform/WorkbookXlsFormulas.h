#pragma once
// Inside the workbook adapter: the cached results of the formula cells of an .xls sheet, and
// its boolean and error cells. FreeXL reports a formula cell as empty or as a wrong number and
// tells no error; the result that the writing program stored with the formula is read here
// from the workbook stream (BIFF8, the format of Excel 97 and later), a number shown as a date
// as its date text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WorkbookCells.h"

namespace quastor::workbook {

struct FormulaResult {
  std::uint32_t row = 0;  // from 0
  std::uint32_t column = 0;
  CellValue value;
};

// The formula results, booleans and errors of the worksheet named sheetName (exactly as FreeXL
// spells it), in file order; none when the file is not BIFF8 or its structure is damaged.
std::vector<FormulaResult> XlsFormulaResults(std::string_view fileBytes,
                                             std::string_view sheetName);

// A workbook as its records hold it, for a file that FreeXL cannot open (a text of 16,383
// characters or more, split over CONTINUE records, is one).
struct XlsRecordsReading {
  bool encrypted = false;
  std::vector<std::string> sheetNames;   // in workbook order
  std::optional<std::string> sheetName;  // the sheet asked for, as the workbook spells it
  std::vector<FormulaResult> cells;      // its cells of every kind, in file order
};

// Nothing when the file is not BIFF8 or has no workbook stream. The sheet is found without
// regard to letter case.
std::optional<XlsRecordsReading> XlsRecordCells(std::string_view fileBytes,
                                                std::string_view sheetName);

}  // namespace quastor::workbook
