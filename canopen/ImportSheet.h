#pragma once
// Importing a table from one sheet of a workbook: the sheet named after the table (any letter
// case), whose first row holds headings and every later row one record, its fields by
// position. The whole sheet is read and checked before anything changes, and every failure
// names the workbook, the sheet or the row (spreadsheet row numbers, the headings being row 1).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "platform/Workbook.h"

namespace quastor {

// The sheet table_name of the workbook; fails with the reader's message, or with "Error! The
// workbook "<file>" has no sheet "<table_name>"." when there is none.
Result<WorkbookSheet> ReadTableSheet(const std::filesystem::path& workbook,
                                     const std::string& table_name);

// One record of a sheet: its first fields (empty text for an empty cell) and where it stands.
struct SheetRecord {
  std::size_t sheetRow = 0;         // 2 for the first record
  std::vector<std::string> fields;  // the table's field count
};

// The records of the sheet with field_count fields each; columns beyond are ignored. Fails when
// the sheet has fewer columns than field_count.
Result<std::vector<SheetRecord>> SheetRecords(const WorkbookSheet& sheet, std::size_t field_count);

// Field `field` of the record read strictly as an integer; the failure names the row, the
// column and field_name, and says that the cell is empty or that its text is not a number.
Result<std::int32_t> SheetNumber(const WorkbookSheet& sheet, const SheetRecord& record,
                                 std::size_t field, const std::string& field_name);

// The failure of a record's cell for reason, in the words of SheetNumber.
Failure SheetCellFailure(const WorkbookSheet& sheet, const SheetRecord& record, std::size_t field,
                         const std::string& field_name, const std::string& reason);

// The spreadsheet's name of column index 0, 1, … : A, B, …, Z, AA, ….
std::string ColumnLetters(std::size_t index);

}  // namespace quastor
