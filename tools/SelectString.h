#pragma once
// The strings of the string picker: string i is the text content of child node i of the
// strings file's document element, for the first 1,000 children.

#include <filesystem>
#include <string>
#include <vector>

namespace quastor {

struct AppState;

// The rows of the picker, numbered from 0.
inline constexpr int kStringRows = 1000;

struct StringsLoad {
  std::vector<std::string> strings;   // at most kStringRows
  std::vector<std::string> messages;  // in the order they are shown
};

// The strings of file: "File strings XML not found" when the path is empty or names no
// file, "Error in reading file XML" when it does not read.
StringsLoad LoadStrings(const std::filesystem::path& file);

// The strings file of the current project, or an empty path when no project is selected.
std::filesystem::path ProjectStringsFile(const AppState& state);

}  // namespace quastor
