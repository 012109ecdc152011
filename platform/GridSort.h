#pragma once
// The order in which a grid shows its rows when the user sorts it by a column, for viewing
// only: the rows themselves, and what is written from them, keep their own order.

#include <vector>

#include "platform/GridRange.h"

namespace quastor {

// The positions of rows, sorted by the cells of column: integers (decimal or hexadecimal, as
// the grids hold them) by value and before other text, other text by letters A to Z of either
// case alike with runs of digits by their value ("Row 2" before "Row 10"); going down the order turns round. Equal cells keep their rows' order, and empty
// cells come last in either direction, so that the filled rows stay on top.
std::vector<int> ViewOrder(const TextRows& rows, int column, bool ascending);

}  // namespace quastor
