#pragma once
// Lines of comma-separated text as the configurator's exports write them: every cell followed
// by ",", each line ended by CR LF. A cell is put in double quotes (inner quotes doubled) only
// when it holds a comma, a double quote, CR or LF, so that it cannot shift the cells after it;
// every other cell is written byte for byte.

#include <string>
#include <string_view>
#include <vector>

namespace quastor {

// Appends the cell, quoted when needed, and its ",".
void AppendCsvCell(std::string& out, std::string_view cell);

// Appends CR LF.
void EndCsvLine(std::string& out);

// The cells as one line, CR LF included.
std::string CsvLine(const std::vector<std::string>& cells);

}  // namespace quastor
