#pragma once
// Inside the workbook adapter: the one rule that turns a stored cell value into its text, the
// sheet builder that every reader fills, and telling the file's format. Not for other callers;
// include platform/Workbook.h.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/Workbook.h"

namespace quastor::workbook {

// An error value, as the spreadsheet programs show it ("#DIV/0!", "#N/A").
struct ErrorValue {
  std::string text;
};
// A formula cell whose file does not store the formula's result.
struct NoResult {};

// A cell's value as the file stores it; std::monostate is an empty cell.
using CellValue = std::variant<std::monostate, std::string, double, bool, ErrorValue, NoResult>;

// The cell text rules of platform/Workbook.h; nothing for an error and a formula without its
// result (SheetBuilder::Put tells those apart).
WorkbookCell CellText(CellValue value);

// What a number formatted as a date or a time stands for.
enum class DateKind { kNone, kDate, kTime, kDateTime };

// ISO text of a date: "2024-01-31", with " 12:30:00" when the time of day is not midnight.
std::string DateText(long long year, unsigned month, unsigned day, long long seconds_of_day);
// ISO text of a time of day or a duration: "12:30:00", "36:00:00".
std::string TimeText(long long seconds);
// The text of a spreadsheet serial number (days since 1899-12-30, or since 1904-01-01 in a
// workbook that counts from 1904) formatted as kind; nothing for a value that is no date.
std::optional<std::string> SerialDateText(double serial, DateKind kind, bool from1904);
// Whether a number format code (as .xlsx stores it) shows a date, a time or both.
DateKind DateKindOfFormat(std::string_view code);
// The same for the format ids that .xlsx files use without stating their code.
DateKind DateKindOfBuiltinFormat(unsigned id);
// Text with the escapes of .xlsx strings ("_x000D_" for a carriage return) decoded.
std::string DecodeXlsxEscapes(std::string_view text);
// The spreadsheet's name of a cell: "C2" for row 1, column 2 (both from 0).
std::string CellName(std::size_t row, std::size_t column);

// Names equal without regard to ASCII letter case (other characters compare as bytes).
bool SameSheetName(std::string_view a, std::string_view b);

// Collects the cells of one sheet in any order and makes the dense table of WorkbookSheet.
class SheetBuilder {
 public:
  // Row and column count from 0. An empty cell occupies nothing. A cell past the bounds of
  // platform/Workbook.h marks the sheet too large.
  void Set(std::size_t row, std::size_t column, WorkbookCell cell);
  // A cell's value: its text, or for an error or a formula without its result an unread
  // cell that names the reason.
  void Put(std::size_t row, std::size_t column, CellValue value);
  bool TooLarge() const { return tooLarge_; }
  // The cell written at row, column; nothing when there is none.
  WorkbookCell At(std::size_t row, std::size_t column) const;

  // The sheet under name, or the kWorkbookTooLarge reason.
  Result<WorkbookSheet> Finish(std::string name);

 private:
  std::vector<std::vector<WorkbookCell>> rows_;  // ragged: each row as long as it was written
  std::size_t slots_ = 0;                        // cells held by rows_, for the memory bound
  std::map<std::pair<std::size_t, std::size_t>, std::string> unread_;  // (row, column): reason
  bool tooLarge_ = false;
};

enum class Format { kXls, kXlsx, kOds, kUnknown };

// By content (OLE2 compound file, zip archive; an OpenDocument zip names its type first),
// by the extension of file when the content does not tell.
Format DetectFormat(std::string_view bytes, const std::filesystem::path& file);

}  // namespace quastor::workbook
