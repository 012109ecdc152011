#pragma once
// The key order in which the table writers put each side's records: ascending by the first key
// part read as an integer, then by the next part among records whose earlier parts are equal.
// Records whose every part is equal keep their list order, so that a table read and written
// again without edits comes out the same (a rule that put the later record first swapped such
// records at every save, and re-pointed whatever named them by position).
// Keys compare as signed 32-bit values, so a hexadecimal key with bit 31 set (0x80000181) comes
// before every other; every value sorts, however large. A later part is read only for records
// whose earlier parts equal another record's, so it may be any text elsewhere.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// Text of key part `part` of record `record`.
using KeyPartText = std::function<std::string_view(std::size_t record, std::size_t part)>;

// The record positions 0..count-1 in key order. Fails with "'%s' is not a valid integer value"
// for the first key part read that is not a number.
Result<std::vector<std::size_t>> KeyOrder(std::size_t count, std::size_t parts,
                                          const KeyPartText& key);

// One key per record.
Result<std::vector<std::size_t>> KeyOrder(const std::vector<std::string>& keys);

}  // namespace quastor
