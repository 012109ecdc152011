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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Texts as people read them: a run of digits counts by its value, so "Row 2" comes before
// "Row 10"; everything else by its characters (already in lower case).
int CompareNatural(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t end_a = i;
      std::size_t end_b = j;
      while (end_a < a.size() && IsDigit(a[end_a]))
        ++end_a;
      while (end_b < b.size() && IsDigit(b[end_b]))
        ++end_b;
      // Leading zeros do not change a value; of equal values the shorter run comes first.
      std::size_t start_a = i;
      std::size_t start_b = j;
      while (start_a + 1 < end_a && a[start_a] == '0')
        ++start_a;
      while (start_b + 1 < end_b && b[start_b] == '0')
        ++start_b;
      const std::size_t length_a = end_a - start_a;
      const std::size_t length_b = end_b - start_b;
      if (length_a != length_b)
        return length_a < length_b ? -1 : 1;
      if (const int digits = a.compare(start_a, length_a, b, start_b, length_b); digits != 0)
        return digits < 0 ? -1 : 1;
      if (end_a - i != end_b - j)
        return end_a - i < end_b - j ? -1 : 1;
      i = end_a;
      j = end_b;
      continue;
    }
    if (a[i] != b[j])
      return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size())
    return i < a.size() ? 1 : -1;
  return 0;
}

// -1, 0 or 1 as a sorts before, with or after b going up.
int Compare(const SortKey& a, const SortKey& b) {
  if (a.kind != b.kind)
    return a.kind < b.kind ? -1 : 1;
  if (a.kind == 0)
    return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
  return CompareNatural(a.text, b.text);
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
