#include "platform/CsvText.h"

namespace quastor {

void AppendCsvCell(std::string& out, std::string_view cell) {
  if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += cell;
  } else {
    out += '"';
    for (const char c : cell) {
      if (c == '"')
        out += '"';
      out += c;
    }
    out += '"';
  }
  out += ',';
}

void EndCsvLine(std::string& out) {
  out += "\r\n";
}

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (const std::string& cell : cells)
    AppendCsvCell(line, cell);
  EndCsvLine(line);
  return line;
}

}  // namespace quastor
