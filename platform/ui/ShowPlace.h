#pragma once
// Where a window is asked to open at its next showing, after the showing has filled it: a
// page, a row (grid row or list item) and a column (grid column or field) on it, and an entry
// within the row's item, each -1 when not known. A window opens as usual where it is not.

#include <optional>

namespace quastor {

struct ShowPlace {
  int page = -1;
  int row = -1;
  int column = -1;
  int entry = -1;
};

// The place asked for, once: the showing takes it.
inline std::optional<ShowPlace> TakePlace(std::optional<ShowPlace>& pending) {
  std::optional<ShowPlace> place = pending;
  pending.reset();
  return place;
}

// Whether index names one of count items.
inline bool Within(int index, int count) {
  return index >= 0 && index < count;
}

}  // namespace quastor
