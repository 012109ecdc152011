#pragma once
// The two side grids of a table editor as data: per side the data rows, each holding the
// cells of columns 1 to the column count (the number column and the header row belong to the
// window). A grid has a fixed number of rows; a table file or a sheet may hold more records
// of one side than that, and those are counted, never silently dropped.

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace quastor {

// CAN A and CAN B.
enum class Side { kA = 0, kB = 1 };
inline constexpr std::array<Side, 2> kBothSides = {Side::kA, Side::kB};

using GridRow = std::vector<std::string>;
using GridRows = std::vector<GridRow>;

struct SideGrids {
  GridRows a;  // grid sga
  GridRows b;  // grid sgb
  GridRows& of(Side side) { return side == Side::kA ? a : b; }
  const GridRows& of(Side side) const { return side == Side::kA ? a : b; }
};

// rows empty rows of columns empty cells.
GridRows EmptyGrid(std::size_t rows, std::size_t columns);

// A row is filled when any of its cells is not empty.
bool RowFilled(const GridRow& row);

// The cell's text; empty for a column the row does not reach.
const std::string& CellText(const GridRow& row, std::size_t column);

// Fills each side's rows in order, 1, 2, 3 …, and counts the records beyond the grid's rows.
class SideFiller {
 public:
  SideFiller(std::size_t rows, std::size_t columns);
  void Place(Side side, GridRow row);
  const SideGrids& grids() const { return grids_; }
  SideGrids TakeGrids() { return std::move(grids_); }
  std::size_t NotShown(Side side) const { return not_shown_[static_cast<int>(side)]; }
  std::size_t rows() const { return rows_; }

 private:
  std::size_t rows_;
  SideGrids grids_;
  std::array<std::size_t, 2> used_{};
  std::array<std::size_t, 2> not_shown_{};
};

}  // namespace quastor
