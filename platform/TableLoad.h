#pragma once
// The one shape of a table's load or import in every subsystem: the model the editor shows,
// whether the file was there, the messages to show one after the other, and what was not
// loaded. A subsystem gives only its model (and keeps any extra beside it). An import has the
// same shape: the sheet was found, and the window tells its report's gaps itself.

#include <string>
#include <vector>

#include "platform/LoadReport.h"

namespace quastor {

template <class Model>
struct Loaded {
  Model model{};
  bool found = false;                 // the file exists (an import: the sheet was read)
  std::vector<LoadMessage> messages;  // to show one after the other
  LoadReport report;                  // not Complete(): ask before OK rewrites the file
};

}  // namespace quastor
