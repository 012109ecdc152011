#pragma once
// Reading one sheet of a spreadsheet workbook (.xls, .xlsx, .ods) by position: the first row
// holds the headings, every later row is a record, a cell is empty or text.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// One cell: nothing for an empty cell, else its text (a number as its decimal text).
using WorkbookCell = std::optional<std::string>;

struct WorkbookSheet {
  std::string name;             // as the workbook spells it
  std::size_t columnCount = 0;  // columns from A to the last used column of the sheet
  std::vector<std::string> headings;            // row 1, columnCount texts ("" for empty)
  std::vector<std::vector<WorkbookCell>> rows;  // rows 2 to the last used row, columnCount cells
};

// Whether this build reads workbooks at all.
bool WorkbookSupported();

// Sheet names in workbook order. The failure message names the file and the reason.
Result<std::vector<std::string>> WorkbookSheetNames(const std::filesystem::path& file);

// The first sheet whose name equals name without regard to letter case; nothing when the
// workbook has no such sheet. Fails when the file cannot be read as a workbook.
Result<std::optional<WorkbookSheet>> ReadWorkbookSheet(const std::filesystem::path& file,
                                                       const std::string& name);

}  // namespace quastor
