#pragma once
// How many records or rows of each CAN side a table holds, as the editors' status lines
// report them after OK, Import and Export.

#include "canopen/EmcyRules.h"
#include "canopen/EmcyWords.h"
#include "canopen/SideGrids.h"
#include "canopen/StoredPdo.h"
#include "canopen/TableFields.h"
#include "platform/DoneReport.h"

namespace quastor {

// Per side, the grid rows that hold something (RowHoldsNothing false): the rows an export
// counts, an import brings and the SDO access table's OK writes.
SideCounts FilledRowCounts(const TableFields& fields, const SideGrids& grids);
// Per side, the records the PDO translation table's OK writes: its entries up to the last
// filled one (as PdoWriteOrder takes them); a side that OK refuses counts its filled rows.
SideCounts PdoRecordCounts(const SideGrids& grids);
// Per side, the EMCY rules, the EMCY words and the stored SDO entries of every PDO.
SideCounts EmcyRuleCounts(const EmcyModel& model);
SideCounts EmcyWordCounts(const WordModel& model);
SideCounts StoredPdoCounts(const StoredPdoModel& model);

}  // namespace quastor
