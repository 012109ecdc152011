#include "platform/GridSort.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>

#include "platform/IntegerText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

// A cell as it sorts: its kind first (integer, text, empty), then its value.
struct SortKey {
  int kind = 2;
  std::int64_t number = 0;
  std::string text;
};

SortKey KeyOf(const std::string& cell) {
  SortKey key;
  if (Trim(cell).empty())
    return key;
  if (const std::optional<std::int32_t> value = ReadInteger(cell)) {
    key.kind = 0;
    // Hexadecimal text is a bit pattern: 0x80000181 sorts after 0x181, not before it.
    const bool hex = cell.find_first_of("xX$") != std::string::npos;
    key.number = hex ? static_cast<std::int64_t>(static_cast<std::uint32_t>(*value)) : *value;
    return key;
  }
  key.kind = 1;
  key.text.reserve(cell.size());
  for (const char c : cell)
    key.text += AsciiLower(c);
  return key;
}

// -1, 0 or 1 as a sorts before, with or after b going up.
int Compare(const SortKey& a, const SortKey& b) {
  if (a.kind != b.kind)
    return a.kind < b.kind ? -1 : 1;
  if (a.kind == 0)
    return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
  return a.text.compare(b.text) < 0 ? -1 : (a.text == b.text ? 0 : 1);
}

}  // namespace

std::vector<int> ViewOrder(const TextRows& rows, int column, bool ascending) {
  std::vector<SortKey> keys;
  keys.reserve(rows.size());
  for (const auto& row : rows)
    keys.push_back(KeyOf(row[static_cast<std::size_t>(column)]));
  std::vector<int> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const SortKey& ka = keys[static_cast<std::size_t>(a)];
    const SortKey& kb = keys[static_cast<std::size_t>(b)];
    if ((ka.kind == 2) != (kb.kind == 2))
      return kb.kind == 2;  // empty cells last, whichever the direction
    const int compared = Compare(ka, kb);
    return ascending ? compared < 0 : compared > 0;
  });
  return order;
}

}  // namespace quastor
