#include "canopen/SideGrids.h"

#include <algorithm>
#include <utility>

namespace quastor {

GridRows EmptyGrid(std::size_t rows, std::size_t columns) {
  return GridRows(rows, GridRow(columns));
}

bool RowFilled(const GridRow& row) {
  return std::any_of(row.begin(), row.end(), [](const std::string& cell) { return !cell.empty(); });
}

const std::string& CellText(const GridRow& row, std::size_t column) {
  static const std::string kEmpty;
  return column < row.size() ? row[column] : kEmpty;
}

SideFiller::SideFiller(std::size_t rows, std::size_t columns)
    : rows_(rows), grids_{EmptyGrid(rows, columns), EmptyGrid(rows, columns)} {}

void SideFiller::Place(Side side, GridRow row) {
  const int s = static_cast<int>(side);
  if (used_[s] >= rows_) {
    ++not_shown_[s];
    return;
  }
  GridRow& target = grids_.of(side)[used_[s]++];
  row.resize(target.size());
  target = std::move(row);
}

}  // namespace quastor
