#pragma once
// Importing a table from one sheet of a workbook: the sheet named after the table (any letter
// case), whose rows hold the table's records, their fields by position. Row 1 holds headings
// unless it reads as a record; heading lines and rows that hold nothing, as Export writes them
// (a CSV file saved as a workbook by a spreadsheet program), are not records. The whole sheet
// is read and checked before anything changes, and every failure names the workbook, the
// sheet or the row (spreadsheet row numbers, row 1 being the first).

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
  std::size_t sheetRow = 0;         // 2 for a record under the headings row
  std::vector<std::string> fields;  // the table's field count
};

// How a table's records stand in a sheet, and what else a sheet saved from its export holds.
struct SheetShape {
  std::vector<std::string> fieldNames;  // the table's fields in sheet order (its attributes)
  std::size_t flagsField = 0;           // the field that a record always fills with a number
  // The texts of Export's heading lines, per field (the flags field's is not compared); empty
  // when Export writes none. A row whose other fields equal them is a heading line.
  std::vector<std::string> headings;
  // The flags codes that Export writes for a grid row holding nothing; a row with one of them
  // and every other field empty is no record. (A row with every field empty never is.)
  std::vector<std::string> emptyRowCodes;
};

// The records of the sheet, fieldNames.size() fields each; columns beyond are ignored. Row 1
// is a record when its flags field reads as a number and it is no heading line. Fails when the
// sheet has fewer columns than the table has fields, or when a record's field is a cell that
// gives no text (an error value, a formula without its stored result), naming the cell.
Result<std::vector<SheetRecord>> SheetRecords(const WorkbookSheet& sheet, const SheetShape& shape);

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
