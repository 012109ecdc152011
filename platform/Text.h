#pragma once
// Filling the "%s" and "%d" places of a message text, in order.

#include <string>
#include <vector>

namespace quastor {

// Replaces each "%s" or "%d" of pattern, in order, by the next value.
std::string FormatText(const std::string& pattern, const std::vector<std::string>& values);

}  // namespace quastor
