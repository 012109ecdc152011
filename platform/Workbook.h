#pragma once
// Reading one sheet of a spreadsheet workbook as a table of texts: legacy .xls through FreeXL,
// .xlsx and .ods through liborcus. The format is told by the file's content (OLE2 compound
// file or zip archive), the file name's extension only when the content does not tell.
//
// Cell texts: an empty cell is nothing; a text cell is its text unchanged (UTF-8, "" stays "");
// a number is its decimal text, whole numbers without a fraction ("17", "-3", "4294967295"),
// other numbers in the shortest text that reads back to the same value ("1.5", "0.1"); a
// boolean is "1" or "0"; a formula cell is its cached result by the same rules; an error is
// nothing. A date or time cell is its ISO text ("2024-01-31", "2024-01-31 12:30:00",
// "12:30:00") where the file or library tells dates apart (.xls, .ods); .xlsx keeps a date as
// a number with a date format, and it reads as that number.
//
// Gaps of the libraries: liborcus 0.17 passes no result for a formula whose result is text
// (.ods) or a boolean (.xlsx; .ods when LibreOffice styled it as a boolean), so such a cell
// reads as nothing; FreeXL 1.0.6 does not open an .xls whose string table holds an empty
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

struct WorkbookSheet {
  std::string name;             // as the workbook spells it
  std::size_t columnCount = 0;  // columns A.. up to the last used column (any row, heading too)
  std::vector<std::string> headings;            // row 1, columnCount texts ("" for empty)
  std::vector<std::vector<WorkbookCell>> rows;  // rows 2.. up to the last used row
};

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
