#include "platform/WorkbookCells.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/Text.h"

namespace quastor {

WorkbookCell WorkbookNumberText(double value) {
  if (!std::isfinite(value))
    return std::nullopt;
  // Every whole double below 2^63 is exact as a 64-bit integer, so such values print whole
  // ("4294967295", not "4.294967295e+09"); -0 prints as "0".
  if (value == std::trunc(value) && std::fabs(value) < 9.2e18)
    return std::to_string(static_cast<std::int64_t>(value));
  char buffer[64];
  // Shortest text that reads back to the same double; fixed notation for ordinary magnitudes.
  const auto done =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
  return std::string(buffer, done.ptr);
}

namespace workbook {

namespace {

struct TextOf {
  WorkbookCell operator()(std::monostate) const { return std::nullopt; }
  WorkbookCell operator()(std::string& text) const { return std::move(text); }
  WorkbookCell operator()(double number) const { return WorkbookNumberText(number); }
  WorkbookCell operator()(bool flag) const { return std::string(flag ? "1" : "0"); }
  WorkbookCell operator()(ErrorValue) const { return std::nullopt; }
};

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

std::string LowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), AsciiLower);
  return extension;
}

}  // namespace

WorkbookCell CellText(CellValue value) {
  return std::visit(TextOf{}, value);
}

bool SameSheetName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

void SheetBuilder::Set(std::size_t row, std::size_t column, WorkbookCell cell) {
  if (row >= kWorkbookMaxRows || column >= kWorkbookMaxColumns) {
    tooLarge_ = true;
    return;
  }
  if (!cell) {
    // Clearing a cell written before; an empty cell never extends the table.
    if (row < rows_.size() && column < rows_[row].size())
      rows_[row][column].reset();
    return;
  }
  if (row >= rows_.size())
    rows_.resize(row + 1);
  std::vector<WorkbookCell>& cells = rows_[row];
  if (column >= cells.size()) {
    slots_ += column + 1 - cells.size();
    if (slots_ > kWorkbookMaxCells) {
      tooLarge_ = true;
      return;
    }
    cells.resize(column + 1);
  }
  cells[column] = std::move(cell);
}

WorkbookCell SheetBuilder::At(std::size_t row, std::size_t column) const {
  if (row < rows_.size() && column < rows_[row].size())
    return rows_[row][column];
  return std::nullopt;
}

Result<WorkbookSheet> SheetBuilder::Finish(std::string name) {
  const std::string tooLarge = FormatText(kWorkbookTooLarge, {name});
  if (tooLarge_)
    return Failure{tooLarge};
  // Used extent: the last row holding a cell, the last column holding one in any row.
  std::size_t usedRows = 0;
  std::size_t columns = 0;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const auto& cells = rows_[r];
    const auto last = std::find_if(cells.rbegin(), cells.rend(),
                                   [](const WorkbookCell& cell) { return cell.has_value(); });
    const auto used = static_cast<std::size_t>(cells.rend() - last);
    if (used > 0) {
      usedRows = r + 1;
      columns = std::max(columns, used);
    }
  }
  if (usedRows * columns > kWorkbookMaxCells)
    return Failure{tooLarge};

  WorkbookSheet sheet;
  sheet.name = std::move(name);
  sheet.columnCount = columns;
  sheet.headings.assign(columns, std::string());
  if (!rows_.empty()) {
    for (std::size_t c = 0; c < columns && c < rows_[0].size(); ++c)
      sheet.headings[c] = rows_[0][c].value_or(std::string());
  }
  if (usedRows > 1)
    sheet.rows.reserve(usedRows - 1);
  for (std::size_t r = 1; r < usedRows; ++r) {
    std::vector<WorkbookCell>& cells = rows_[r];
    cells.resize(columns);
    sheet.rows.push_back(std::move(cells));
  }
  rows_.clear();
  slots_ = 0;
  return sheet;
}

Format DetectFormat(std::string_view bytes, const std::filesystem::path& file) {
  static constexpr char kCompoundFile[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  static constexpr char kZip[] = "PK\x03\x04";
  // An OpenDocument package stores its media type uncompressed as the first entry, whose
  // name "mimetype" starts at offset 30 of the archive.
  static constexpr std::string_view kOdsType =
      "mimetypeapplication/vnd.oasis.opendocument.spreadsheet";
  const std::string extension = LowerExtension(file);
  if (StartsWith(bytes, std::string_view(kCompoundFile, 8)))
    return Format::kXls;
  if (StartsWith(bytes, kZip)) {
    if (bytes.size() > 30 && StartsWith(bytes.substr(30), kOdsType))
      return Format::kOds;
    return extension == ".ods" ? Format::kOds : Format::kXlsx;
  }
  if (extension == ".xls")
    return Format::kXls;
  if (extension == ".xlsx" || extension == ".xlsm")
    return Format::kXlsx;
  if (extension == ".ods")
    return Format::kOds;
  return Format::kUnknown;
}

}  // namespace workbook
}  // namespace quastor
