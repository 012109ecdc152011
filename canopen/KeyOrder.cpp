#include "canopen/KeyOrder.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "platform/IntegerText.h"

namespace quastor {
namespace {

using Iterator = std::vector<std::size_t>::iterator;

class KeySorter {
 public:
  KeySorter(std::size_t count, std::size_t parts, const KeyPartText& key)
      : parts_(parts), key_(key), value_(count) {}

  // Reads part of every record in [first, last), in record order.
  Status Read(Iterator first, Iterator last, std::size_t part) {
    for (Iterator it = first; it != last; ++it) {
      const Result<std::int32_t> value = StrictInteger(key_(*it, part));
      if (!value)
        return value.failure();
      value_[*it] = *value;
    }
    return Status::Ok();
  }

  // Sorts [first, last) by part, whose values are read, then each run of equal values by the
  // next part. Equal values keep record order.
  Status Sort(Iterator first, Iterator last, std::size_t part) {
    const bool last_part = part + 1 == parts_;
    std::sort(first, last, [&](std::size_t a, std::size_t b) {
      if (value_[a] != value_[b])
        return value_[a] < value_[b];
      return a < b;
    });
    if (last_part)
      return Status::Ok();
    for (Iterator run = first; run != last;) {
      const std::int32_t value = value_[*run];
      const Iterator run_end =
          std::find_if(run, last, [&](std::size_t r) { return value_[r] != value; });
      if (run_end - run > 1) {
        if (Status read = Read(run, run_end, part + 1); !read)
          return read;
        if (Status sorted = Sort(run, run_end, part + 1); !sorted)
          return sorted;
      }
      run = run_end;
    }
    return Status::Ok();
  }

 private:
  std::size_t parts_;
  const KeyPartText& key_;
  std::vector<std::int32_t> value_;  // per record, the part being sorted
};

}  // namespace

Result<std::vector<std::size_t>> KeyOrder(std::size_t count, std::size_t parts,
                                          const KeyPartText& key) {
  std::vector<std::size_t> order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (parts == 0 || count == 0)
    return order;
  KeySorter sorter(count, parts, key);
  if (Status read = sorter.Read(order.begin(), order.end(), 0); !read)
    return read.failure();
  if (Status sorted = sorter.Sort(order.begin(), order.end(), 0); !sorted)
    return sorted.failure();
  return order;
}

Result<std::vector<std::size_t>> KeyOrder(const std::vector<std::string>& keys) {
  return KeyOrder(keys.size(), 1,
                  [&](std::size_t record, std::size_t) { return std::string_view(keys[record]); });
}

}  // namespace quastor
