#include "platform/Text.h"

namespace quastor {

std::string FormatText(const std::string& pattern, const std::vector<std::string>& values) {
  std::string text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() &&
        (pattern[i + 1] == 's' || pattern[i + 1] == 'd') && next < values.size()) {
      text += values[next++];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace quastor
