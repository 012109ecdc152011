#pragma once
// Inside the workbook adapter: which shared strings of an .xlsx are empty. liborcus 0.17
// hands an empty shared string to the import factory as the text of the string before it, so
// the factory needs to know them beforehand (see OrcusStrings::SetEmpty).

#include <string_view>
#include <vector>

namespace quastor::workbook {

// For each shared string id, whether that string is empty; shorter (or empty) when the file
// has fewer strings or cannot be read here (the import then reports the damage).
std::vector<bool> EmptySharedStrings(std::string_view xlsxBytes);

}  // namespace quastor::workbook
