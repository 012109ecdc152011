#pragma once
// Ranges of grid cells as text and back, as spreadsheet programs put them on the clipboard:
// one line per row, cells separated by tabs. A cell that holds a tab, a line end or starts with
// a double quote is put in double quotes, inner quotes doubled. Also where a pasted range may
// go, and the next cell that holds a text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

using TextRows = std::vector<std::vector<std::string>>;

// Rows top to bottom and columns left to right, both ends included.
struct CellRange {
  int top = 0;
  int left = 0;
  int bottom = -1;
  int right = -1;
  int Height() const { return bottom - top + 1; }
  int Width() const { return right - left + 1; }
};

struct CellPlace {
  int row = 0;
  int column = 0;
  bool operator==(const CellPlace& other) const {
    return row == other.row && column == other.column;
  }
};

// The cells of range, each line ended by LF.
std::string RangeText(const TextRows& rows, const CellRange& range);

// The rows of text; rows shorter than the longest are filled with empty cells. A last line
// end starts no row, so "a\tb\n" is one row of two cells. Lines end with LF, CR LF or CR.
TextRows ParseRangeText(std::string_view text);

// Whether height × width cells pasted at `at` stay inside a grid of rows × columns; the
// refusal says why not.
Status PasteFits(int rows, int columns, const CellPlace& at, int height, int width);

// The first cell after `after` (row by row, going round past the end) whose text holds
// `text`, letters A to Z of either case alike; `after` itself comes last. Nothing when no cell
// holds it or text is empty.
std::optional<CellPlace> FindNext(const TextRows& rows, const CellPlace& after,
                                  std::string_view text);

}  // namespace quastor
