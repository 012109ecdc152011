#pragma once
// The fields of every CANopen table, once: per field its attribute in the file, its title as
// the window shows it (a grid column's title, an edit's label) and what it may hold. An
// editor's OK (or New and Modify) refuses what its list refuses, and the project check
// reports the same, so that the two never disagree. The values stay as typed: a field refuses
// only text that a later reading (the key order, the collision test, the gateway) would refuse
// or could not hold.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "canopen/SideGrids.h"
#include "platform/FieldRule.h"

namespace quastor {

struct TableField {
  const char* attribute;  // in the file
  const char* title;      // as the window shows it
  FieldRule rule;
};
using TableFields = std::vector<TableField>;

// The SDO access table's grid columns 1 to 8 (column 1, "RW", is bit 4 of "conf").
const TableFields& SdoFields();
// The PDO translation table's grid columns 1 to 5 (column 3 is bit 0 of "en_bypass").
const TableFields& PdoFields();
// A stored PDO definition's index and subindex edits as the side's page labels them (the
// radio groups compose poscomp).
const TableFields& StoredPdoFields(Side side);
// An EMCY rule's eleven edit fields, in file order.
const TableFields& EmcyRuleFields();
// An EMCY word's three word fields (index_addrm, subindex, devid) and a bit's four fields
// (the two mask bytes and the two EMCY byte numbers, which poscomp packs).
const TableFields& EmcyWordFields(Side side);
const TableFields& EmcyBitFields(Side side);

// The names of fields' attributes, in list order.
std::vector<std::string> FieldAttributes(const TableFields& fields);

// Whether a grid row holds nothing OK would write: every cell blank, a flag "0".
bool RowHoldsNothing(const TableFields& fields, const GridRow& row);

// A cell that its column's field refuses.
struct CellProblem {
  Side side = Side::kA;
  std::size_t row = 0;     // from 0, as the grid's column "N°" shows it
  std::size_t column = 0;  // from 0, the grid's column 1
  std::string reason;      // FieldProblem's
};

// Every refused cell of the rows that hold something, side A then B, in row and column order.
std::vector<CellProblem> GridProblems(const TableFields& fields, const SideGrids& grids);

// OK's refusal of a cell: "Error! N° 3 of "<page>", column "SubIndex": <reason>".
std::string CellProblemMessage(const TableFields& fields, const CellProblem& problem,
                               const char* page);

// The first refused field of values (one per field, in list order): its position and why.
struct FieldFault {
  std::size_t field = 0;
  std::string reason;
};
std::optional<FieldFault> FirstFieldFault(const TableFields& fields,
                                          const std::vector<std::string>& values);

// New's or Modify's refusal of a field: "Error! "<title>": <reason>".
std::string FieldRefusedMessage(const TableFields& fields, const FieldFault& fault);

}  // namespace quastor
