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

const XmlAttributeList& SideGrids::Kept(Side side, std::size_t row) const {
  static const XmlAttributeList kNone;
  const std::vector<XmlAttributeList>& kept = side == Side::kA ? keptA : keptB;
  return row < kept.size() ? kept[row] : kNone;
}

SideFiller::SideFiller(std::size_t rows, std::size_t columns)
    : rows_(rows), grids_{EmptyGrid(rows, columns), EmptyGrid(rows, columns)} {}

bool SideFiller::Place(Side side, GridRow row, XmlAttributeList kept) {
  const int s = static_cast<int>(side);
  if (used_[s] >= rows_) {
    ++not_shown_[s];
    return false;
  }
  const std::size_t at = used_[s]++;
  GridRow& target = grids_.of(side)[at];
  row.resize(target.size());
  target = std::move(row);
  if (!kept.empty()) {
    std::vector<XmlAttributeList>& rows_kept = grids_.keptOf(side);
    if (rows_kept.size() <= at)
      rows_kept.resize(at + 1);
    rows_kept[at] = std::move(kept);
  }
  return true;
}

}  // namespace quastor
