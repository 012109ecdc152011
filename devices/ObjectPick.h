#pragma once
// Picking an object of a device's EDS file for an entry of the SDO table: the list of values
// the file holds, its filter, and what a pick fills into the entry, refused when the object's
// access does not allow the entry's direction or its size is no SDO entry's.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devices/EdsFile.h"
#include "devices/ObjectTypes.h"
#include "platform/Result.h"

namespace quastor {

// One value of the file as the list shows it: an object that holds its own value, or one
// sub-object of an array or a record (named by its own name).
struct ObjectRow {
  std::uint16_t index = 0;
  std::uint8_t subIndex = 0;
  std::string name;
  std::uint16_t dataType = 0;
  EdsAccess access = EdsAccess::kRo;

  // The list's cells: "0x1018", "2", the name, "UNSIGNED32", "ro", "4" ("" without a size).
  std::vector<std::string> Cells() const;
};

// Every value of the file, by index and sub-index.
std::vector<ObjectRow> ObjectRows(const EdsFile& file);

// Whether the row passes the filter: an empty filter passes every row; otherwise the row's
// index in hexadecimal starts with the filter's hexadecimal digits (with or without "0x"), or
// its name holds the filter in any letter case.
bool ObjectRowMatches(const ObjectRow& row, std::string_view filter);

// What a pick fills into an SDO table entry: its real index, sub-index, byte count and name.
struct SdoFill {
  std::string index;     // "0x6040"
  std::string subIndex;  // decimal
  std::string bytes;     // 1 to 4
  std::string name;
};

// The entry's fill from the row, for an entry that reads (RW "0") or writes (RW "1") it.
// Fails, saying why and that nothing was filled, when the object's access does not allow the
// direction or its type is not 1 to 4 bytes long.
Result<SdoFill> SdoFillFor(const ObjectRow& row, AccessDirection direction);

// The direction of an SDO table entry from its RW cell: exactly "1" writes, anything else
// reads.
AccessDirection EntryDirection(const std::string& rw_cell);

}  // namespace quastor
