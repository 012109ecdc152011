#include "platform/GridRange.h"

#include <algorithm>

#include "platform/EditorTexts.h"
#include "platform/Text.h"

namespace quastor {
namespace {

bool NeedsQuotes(const std::string& cell) {
  return cell.find_first_of("\t\r\n") != std::string::npos || (!cell.empty() && cell[0] == '"');
}

void AppendCell(std::string& out, const std::string& cell) {
  if (!NeedsQuotes(cell)) {
    out += cell;
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

// True when `text` holds `part`, letters A to Z of either case alike.
bool Holds(const std::string& text, std::string_view part) {
  const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                 [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
  return found != text.end();
}

}  // namespace

std::string RangeText(const TextRows& rows, const CellRange& range) {
  std::string out;
  for (int r = range.top; r <= range.bottom; ++r) {
    const auto& row = rows[static_cast<std::size_t>(r)];
    for (int c = range.left; c <= range.right; ++c) {
      if (c > range.left)
        out += '\t';
      AppendCell(out, row[static_cast<std::size_t>(c)]);
    }
    out += '\n';
  }
  return out;
}

TextRows ParseRangeText(std::string_view text) {
  TextRows rows;
  std::vector<std::string> row;
  std::string cell;
  std::size_t i = 0;
  bool pending = false;  // a row has begun
  while (i < text.size()) {
    pending = true;
    if (cell.empty() && text[i] == '"') {
      // A quoted cell runs to the quote that is not doubled.
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            cell += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell += text[i++];
      }
      continue;
    }
    const char c = text[i++];
    if (c == '\t') {
      row.push_back(std::move(cell));
      cell.clear();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i < text.size() && text[i] == '\n')
        ++i;
      row.push_back(std::move(cell));
      cell.clear();
      rows.push_back(std::move(row));
      row.clear();
      pending = false;
    } else {
      cell += c;
    }
  }
  if (pending) {
    row.push_back(std::move(cell));
    rows.push_back(std::move(row));
  }
  std::size_t width = 0;
  for (const auto& r : rows)
    width = std::max(width, r.size());
  for (auto& r : rows)
    r.resize(width);
  return rows;
}

Status PasteFits(int rows, int columns, const CellPlace& at, int height, int width) {
  if (at.row + height > rows)
    return Failure{FormatText(editor_texts::kPasteBeyondRows,
                              {std::to_string(height), std::to_string(rows - at.row)})};
  if (at.column + width > columns)
    return Failure{FormatText(editor_texts::kPasteBeyondColumns,
                              {std::to_string(width), std::to_string(columns - at.column)})};
  return Status::Ok();
}

std::optional<CellPlace> FindNext(const TextRows& rows, const CellPlace& after,
                                  std::string_view text) {
  if (text.empty() || rows.empty())
    return std::nullopt;
  const int height = static_cast<int>(rows.size());
  const int width = static_cast<int>(rows.front().size());
  const long long cells = static_cast<long long>(height) * width;
  if (cells == 0)
    return std::nullopt;
  long long start = static_cast<long long>(after.row) * width + after.column;
  start = std::clamp(start, -1LL, cells - 1);
  for (long long step = 1; step <= cells; ++step) {
    const long long n = (start + step) % cells;
    const int r = static_cast<int>(n / width);
    const int c = static_cast<int>(n % width);
    if (Holds(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)], text))
      return CellPlace{r, c};
  }
  return std::nullopt;
}

}  // namespace quastor
