#include "canopen/TableCounts.h"

#include <algorithm>

#include "canopen/PdoTable.h"

namespace quastor {
namespace {

std::size_t& Of(SideCounts& counts, Side side) {
  return side == Side::kA ? counts.a : counts.b;
}

std::size_t Filled(const TableFields& fields, const GridRows& rows) {
  return static_cast<std::size_t>(std::count_if(
      rows.begin(), rows.end(), [&](const GridRow& row) { return !RowHoldsNothing(fields, row); }));
}

}  // namespace

SideCounts FilledRowCounts(const TableFields& fields, const SideGrids& grids) {
  return {Filled(fields, grids.a), Filled(fields, grids.b)};
}

SideCounts PdoRecordCounts(const SideGrids& grids) {
  SideCounts counts;
  for (const Side side : kBothSides) {
    const Result<std::vector<std::size_t>> order = PdoWriteOrder(side, grids.of(side));
    Of(counts, side) = order ? order->size() : Filled(PdoFields(), grids.of(side));
  }
  return counts;
}

SideCounts EmcyRuleCounts(const EmcyModel& model) {
  return {model.pageA.rules.size(), model.pageB.rules.size()};
}

SideCounts EmcyWordCounts(const WordModel& model) {
  return {model.pageA.words.size(), model.pageB.words.size()};
}

SideCounts StoredPdoCounts(const StoredPdoModel& model) {
  SideCounts counts;
  for (const Side side : kBothSides) {
    for (const TClPdo& pdo : model.page(side).pdos)
      Of(counts, side) += pdo.sdoList.size();
  }
  return counts;
}

}  // namespace quastor
