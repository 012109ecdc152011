#pragma once
// Inside the workbook adapter: the one rule that turns a stored cell value into its text, the
// sheet builder that every reader fills, and telling the file's format. Not for other callers;
// include platform/Workbook.h.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Workbook.h"

namespace quastor::workbook {

struct ErrorValue {};

// A cell's value as the file stores it; std::monostate is an empty cell.
using CellValue = std::variant<std::monostate, std::string, double, bool, ErrorValue>;

// The cell text rules of platform/Workbook.h.
WorkbookCell CellText(CellValue value);

// Names equal without regard to ASCII letter case (other characters compare as bytes).
bool SameSheetName(std::string_view a, std::string_view b);

// Collects the cells of one sheet in any order and makes the dense table of WorkbookSheet.
class SheetBuilder {
 public:
  // Row and column count from 0. An empty cell occupies nothing. A cell past the bounds of
  // platform/Workbook.h marks the sheet too large.
  void Set(std::size_t row, std::size_t column, WorkbookCell cell);
  bool TooLarge() const { return tooLarge_; }
  // The cell written at row, column; nothing when there is none.
  WorkbookCell At(std::size_t row, std::size_t column) const;

  // The sheet under name, or the kWorkbookTooLarge reason.
  Result<WorkbookSheet> Finish(std::string name);

 private:
  std::vector<std::vector<WorkbookCell>> rows_;  // ragged: each row as long as it was written
  std::size_t slots_ = 0;                        // cells held by rows_, for the memory bound
  bool tooLarge_ = false;
};

enum class Format { kXls, kXlsx, kOds, kUnknown };

// By content (OLE2 compound file, zip archive; an OpenDocument zip names its type first),
// by the extension of file when the content does not tell.
Format DetectFormat(std::string_view bytes, const std::filesystem::path& file);

}  // namespace quastor::workbook
