#pragma once
// Reading one sheet of a spreadsheet workbook as a table of texts: legacy .xls through FreeXL
// (formula results, which FreeXL does not give, from the file's records), .xlsx and .ods by
// the adapter's own streaming readers over liborcus' zip and XML parsers. The format is told
// by the file's content (OLE2 compound file or zip archive), the file name's extension only
// when the content does not tell.
//
// Cell texts are the same from every format: an empty cell is nothing; a text cell is its
// text unchanged (UTF-8, "" stays ""; shared and inline strings alike, the "_x000D_" escapes
// of .xlsx decoded); a number is its decimal text, whole numbers without a fraction ("17",
// "-3", "4294967295"), other numbers in the shortest text that reads back to the same value
// ("1.5", "0.1"); a boolean is "1" or "0"; a number shown as a date or a time is its ISO text
// ("2024-01-31", "2024-01-31 12:30:00" when the time is not midnight, "12:30:00" for a time);
// a formula cell is its stored result by the same rules. An error value ("#DIV/0!") and a
// formula whose result the file does not store give no text: the sheet lists them as unread
// cells with the reason, so that a reader of the sheet can refuse them by name instead of
// taking them as empty.
//
// Gap of the library: FreeXL 1.0.6 does not open an .xls whose string table holds an empty
// string.
//
// Builds without the libraries (QUASTOR_WITH_WORKBOOK=OFF) keep this interface: every read
// fails with kWorkbookNotAvailable and WorkbookSupported() is false.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// Failure messages. kWorkbookCannotRead takes the file's path and one of the reasons below
// (or the library's or the system's own reason).
inline constexpr char kWorkbookNotAvailable[] = "workbook import is not available in this build";
inline constexpr char kWorkbookCannotRead[] = "Cannot read workbook \"%s\": %s";
inline constexpr char kWorkbookUnknownFormat[] = "the file is not an .xls, .xlsx or .ods workbook";
inline constexpr char kWorkbookDamaged[] = "the file is damaged or not a workbook (%s)";
inline constexpr char kWorkbookEncrypted[] = "the workbook is protected by a password";
// Takes the sheet's name.
inline constexpr char kWorkbookTooLarge[] =
    "the sheet \"%s\" is too large (more than 1048576 rows, 16384 columns or 4194304 cells)";

// Bounds of one sheet: the largest sheet the spreadsheet programs make, and a cell count that
// keeps a hostile file from taking all memory.
inline constexpr std::size_t kWorkbookMaxRows = 1048576;
inline constexpr std::size_t kWorkbookMaxColumns = 16384;
inline constexpr std::size_t kWorkbookMaxCells = 4194304;

// One cell: nothing for an empty cell, else its text (a number as its decimal text).
using WorkbookCell = std::optional<std::string>;

// Why a cell gives no text (the reason inside a message that names the cell).
inline constexpr char kWorkbookNoStoredResult[] =
    "the cell holds a formula without a stored result";
inline constexpr char kWorkbookErrorValue[] = "the cell holds the error %s";

// A cell that holds something but gives no text: an error value or a formula without its
// stored result. Its place in rows (or headings) is nothing.
struct WorkbookUnreadCell {
  std::size_t row = 0;     // from 0, row 0 being the headings
  std::size_t column = 0;  // from 0
  std::string reason;      // kWorkbookNoStoredResult, or kWorkbookErrorValue with the error
};

struct WorkbookSheet {
  std::string name;             // as the workbook spells it
  std::size_t columnCount = 0;  // columns A.. up to the last used column (any row, heading too)
  std::vector<std::string> headings;            // row 1, columnCount texts ("" for empty)
  std::vector<std::vector<WorkbookCell>> rows;  // rows 2.. up to the last used row
  std::vector<WorkbookUnreadCell> unread;       // in the order of rows and columns
};

// The unread cell at row and column (row 0 the headings), or null.
const WorkbookUnreadCell* FindUnreadCell(const WorkbookSheet& sheet, std::size_t row,
                                         std::size_t column);

// False in builds without the workbook libraries.
bool WorkbookSupported();

// Sheet names in workbook order. The failure message names the file and the reason.
Result<std::vector<std::string>> WorkbookSheetNames(const std::filesystem::path& file);

// The first sheet whose name equals name without regard to ASCII letter case; an empty
// optional when the workbook has no such sheet. Failure when the file cannot be read.
Result<std::optional<WorkbookSheet>> ReadWorkbookSheet(const std::filesystem::path& file,
                                                       const std::string& name);

// The text of a numeric cell: whole numbers without a fraction, others in the shortest text
// that reads back to the same value; nothing for infinities and NaN.
WorkbookCell WorkbookNumberText(double value);

}  // namespace quastor
