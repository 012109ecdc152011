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

#include "platform/XmlRecordWriter.h"

namespace quastor {

// CAN A and CAN B.
enum class Side { kA = 0, kB = 1 };
inline constexpr std::array<Side, 2> kBothSides = {Side::kA, Side::kB};

using GridRow = std::vector<std::string>;
using GridRows = std::vector<GridRow>;

struct SideGrids {
  SideGrids() = default;
  SideGrids(GridRows rows_a, GridRows rows_b, std::vector<XmlAttributeList> kept_a = {},
            std::vector<XmlAttributeList> kept_b = {})
      : a(std::move(rows_a)),
        b(std::move(rows_b)),
        keptA(std::move(kept_a)),
        keptB(std::move(kept_b)) {}

  GridRows a;  // grid sga
  GridRows b;  // grid sgb
  // Per row of each side, the attributes of the record it shows that the table does not know,
  // which OK writes back after the known ones; none for a row that no record of the file
  // filled (the vectors may be shorter than the grids).
  std::vector<XmlAttributeList> keptA;
  std::vector<XmlAttributeList> keptB;

  GridRows& of(Side side) { return side == Side::kA ? a : b; }
  const GridRows& of(Side side) const { return side == Side::kA ? a : b; }
  std::vector<XmlAttributeList>& keptOf(Side side) { return side == Side::kA ? keptA : keptB; }
  // The kept attributes of a row; none past the vector.
  const XmlAttributeList& Kept(Side side, std::size_t row) const;
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
  // Whether the row found room; kept goes with it.
  bool Place(Side side, GridRow row, XmlAttributeList kept = {});
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
