#include "platform/WorkbookCells.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/TextCodec.h"

#include "platform/Text.h"

namespace quastor {

WorkbookCell WorkbookNumberText(double value) {
  if (!std::isfinite(value))
    return std::nullopt;
  // Every whole double below 2^63 is exact as a 64-bit integer, so such values print whole
  // ("4294967295", not "4.294967295e+09"); -0 prints as "0".
  if (value == std::trunc(value) && std::fabs(value) < 9.2e18)
    return std::to_string(static_cast<std::int64_t>(value));
  char buffer[64];
  // Shortest text that reads back to the same double; fixed notation for ordinary magnitudes.
  const auto done =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
  return std::string(buffer, done.ptr);
}

namespace workbook {

namespace {

struct TextOf {
  WorkbookCell operator()(std::monostate) const { return std::nullopt; }
  WorkbookCell operator()(std::string& text) const { return std::move(text); }
  WorkbookCell operator()(double number) const { return WorkbookNumberText(number); }
  WorkbookCell operator()(bool flag) const { return std::string(flag ? "1" : "0"); }
  WorkbookCell operator()(ErrorValue&) const { return std::nullopt; }
  WorkbookCell operator()(NoResult) const { return std::nullopt; }
};

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

std::string LowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), AsciiLower);
  return extension;
}

}  // namespace

namespace {

// Days since 1970-01-01 to the civil date (proleptic Gregorian calendar).
void CivilFromDays(long long days, long long& year, unsigned& month, unsigned& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
    return (c | 0x20) - 'a' + 10;
  return -1;
}

// The code unit of an escape "_xHHHH_" at text[at], or -1.
long EscapeAt(std::string_view text, std::size_t at) {
  if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
    return -1;
  long unit = 0;
  for (std::size_t i = at + 2; i < at + 6; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0)
      return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

}  // namespace

std::string TimeText(long long seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

std::string DateText(long long year, unsigned month, unsigned day, long long seconds_of_day) {
  char text[64];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u", year, month, day);
  std::string result = text;
  if (seconds_of_day != 0)
    result += " " + TimeText(seconds_of_day);
  return result;
}

std::optional<std::string> SerialDateText(double serial, DateKind kind, bool from1904) {
  // Beyond year 9999 (and before the epoch) a serial is no date of a spreadsheet program.
  if (kind == DateKind::kNone || !std::isfinite(serial) || serial < 0 || serial >= 2958466)
    return std::nullopt;
  const long long total = std::llround(serial * 86400.0);
  long long days = total / 86400;
  const long long seconds = total % 86400;
  if (kind == DateKind::kTime)
    return TimeText(total);
  if (from1904)
    days += 1462;
  // The 1900 date system counts a 29 February 1900 that never was (serial 60).
  if (!from1904 && days == 60)
    return DateText(1900, 2, 29, seconds);
  if (!from1904 && days < 60)
    ++days;
  long long year = 0;
  unsigned month = 0, day = 0;
  CivilFromDays(days - 25569, year, month, day);  // 1899-12-30 is 25569 days before 1970
  return DateText(year, month, day, seconds);
}

DateKind DateKindOfBuiltinFormat(unsigned id) {
  if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) ||
      (id >= 50 && id <= 58))
    return DateKind::kDate;
  if ((id >= 18 && id <= 21) || (id >= 32 && id <= 33) || (id >= 45 && id <= 47))
    return DateKind::kTime;
  if (id == 22)
    return DateKind::kDateTime;
  return DateKind::kNone;
}

DateKind DateKindOfFormat(std::string_view code) {
  // Only the first section counts; quoted text, escaped characters and bracketed parts
  // (colours, conditions, locales) are no date parts, but [h], [m] and [s] are elapsed time.
  bool date = false, time = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = static_cast<char>(code[i] | 0x20);
    if (code[i] == ';')
      break;
    if (code[i] == '"') {
      const auto end = code.find('"', i + 1);
      if (end == std::string_view::npos)
        break;
      i = end;
    } else if (code[i] == '\\' || code[i] == '_' || code[i] == '*') {
      ++i;
    } else if (code[i] == '[') {
      const auto end = code.find(']', i + 1);
      if (end == std::string_view::npos)
        break;
      const std::string_view inner = code.substr(i + 1, end - i - 1);
      if (!inner.empty() && std::string_view("hHmMsS").find(inner[0]) != std::string_view::npos)
        time = true;
      i = end;
    } else if (code.substr(i, 5) == "AM/PM" || code.substr(i, 5) == "am/pm") {
      time = true;
      i += 4;
    } else if (c == 'y' || c == 'd') {
      date = true;
    } else if (c == 'h' || c == 's') {
      time = true;
    } else if (c == 'm') {
      date = true;  // a month unless an hour or a second stands beside it (below)
    }
  }
  // "mm" between hours and seconds is minutes: "h:mm", "mm:ss" hold no date.
  if (time && date) {
    bool other = false;
    for (char c : code) {
      const char lower = static_cast<char>(c | 0x20);
      if (c == ';')
        break;
      if (lower == 'y' || lower == 'd')
        other = true;
    }
    date = other;
  }
  if (date && time)
    return DateKind::kDateTime;
  return date ? DateKind::kDate : time ? DateKind::kTime : DateKind::kNone;
}

std::string DecodeXlsxEscapes(std::string_view text) {
  if (text.find("_x") == std::string_view::npos)
    return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    long unit = EscapeAt(text, i);
    if (unit < 0) {
      out += text[i++];
      continue;
    }
    i += 7;
    if (unit >= 0xD800 && unit < 0xDC00) {
      const long low = EscapeAt(text, i);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 7;
      }
    }
    if (unit >= 0xD800 && unit < 0xE000)
      unit = 0xFFFD;
    AppendUtf8(out, static_cast<std::uint32_t>(unit));
  }
  return out;
}

std::string CellName(std::size_t row, std::size_t column) {
  std::string letters;
  for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters + std::to_string(row + 1);
}

WorkbookCell CellText(CellValue value) {
  return std::visit(TextOf{}, value);
}

bool SameSheetName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

void SheetBuilder::Put(std::size_t row, std::size_t column, CellValue value) {
  std::string reason;
  if (const ErrorValue* error = std::get_if<ErrorValue>(&value))
    reason = FormatText(kWorkbookErrorValue, {error->text});
  else if (std::holds_alternative<NoResult>(value))
    reason = kWorkbookNoStoredResult;
  else
    return Set(row, column, CellText(std::move(value)));
  Set(row, column, std::nullopt);
  if (row >= kWorkbookMaxRows || column >= kWorkbookMaxColumns ||
      unread_.size() >= kWorkbookMaxCells) {
    tooLarge_ = true;
    return;
  }
  unread_[{row, column}] = std::move(reason);
}

void SheetBuilder::Set(std::size_t row, std::size_t column, WorkbookCell cell) {
  if (row >= kWorkbookMaxRows || column >= kWorkbookMaxColumns) {
    tooLarge_ = true;
    return;
  }
  if (!unread_.empty())
    unread_.erase({row, column});  // a cell written again is no longer unread
  if (!cell) {
    // Clearing a cell written before; an empty cell never extends the table.
    if (row < rows_.size() && column < rows_[row].size())
      rows_[row][column].reset();
    return;
  }
  if (row >= rows_.size())
    rows_.resize(row + 1);
  std::vector<WorkbookCell>& cells = rows_[row];
  if (column >= cells.size()) {
    slots_ += column + 1 - cells.size();
    if (slots_ > kWorkbookMaxCells) {
      tooLarge_ = true;
      return;
    }
    cells.resize(column + 1);
  }
  cells[column] = std::move(cell);
}

WorkbookCell SheetBuilder::At(std::size_t row, std::size_t column) const {
  if (row < rows_.size() && column < rows_[row].size())
    return rows_[row][column];
  return std::nullopt;
}

Result<WorkbookSheet> SheetBuilder::Finish(std::string name) {
  const std::string tooLarge = FormatText(kWorkbookTooLarge, {name});
  if (tooLarge_)
    return Failure{tooLarge};
  // Used extent: the last row holding a cell, the last column holding one in any row.
  std::size_t usedRows = 0;
  std::size_t columns = 0;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const auto& cells = rows_[r];
    const auto last = std::find_if(cells.rbegin(), cells.rend(),
                                   [](const WorkbookCell& cell) { return cell.has_value(); });
    const auto used = static_cast<std::size_t>(cells.rend() - last);
    if (used > 0) {
      usedRows = r + 1;
      columns = std::max(columns, used);
    }
  }
  // An unread cell holds something, so it counts for the extent too.
  for (const auto& [place, reason] : unread_) {
    usedRows = std::max(usedRows, place.first + 1);
    columns = std::max(columns, place.second + 1);
  }
  if (usedRows * columns > kWorkbookMaxCells)
    return Failure{tooLarge};

  WorkbookSheet sheet;
  sheet.name = std::move(name);
  sheet.columnCount = columns;
  sheet.headings.assign(columns, std::string());
  if (!rows_.empty()) {
    for (std::size_t c = 0; c < columns && c < rows_[0].size(); ++c)
      sheet.headings[c] = rows_[0][c].value_or(std::string());
  }
  if (usedRows > 1)
    sheet.rows.reserve(usedRows - 1);
  for (std::size_t r = 1; r < usedRows; ++r) {
    std::vector<WorkbookCell> cells;
    if (r < rows_.size())
      cells = std::move(rows_[r]);
    cells.resize(columns);
    sheet.rows.push_back(std::move(cells));
  }
  for (auto& [place, reason] : unread_)
    sheet.unread.push_back({place.first, place.second, std::move(reason)});
  unread_.clear();
  rows_.clear();
  slots_ = 0;
  return sheet;
}

Format DetectFormat(std::string_view bytes, const std::filesystem::path& file) {
  static constexpr char kCompoundFile[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  static constexpr char kZip[] = "PK\x03\x04";
  // An OpenDocument package stores its media type uncompressed as the first entry, whose
  // name "mimetype" starts at offset 30 of the archive.
  static constexpr std::string_view kOdsType =
      "mimetypeapplication/vnd.oasis.opendocument.spreadsheet";
  const std::string extension = LowerExtension(file);
  if (StartsWith(bytes, std::string_view(kCompoundFile, 8)))
    return Format::kXls;
  if (StartsWith(bytes, kZip)) {
    if (bytes.size() > 30 && StartsWith(bytes.substr(30), kOdsType))
      return Format::kOds;
    return extension == ".ods" ? Format::kOds : Format::kXlsx;
  }
  if (extension == ".xls")
    return Format::kXls;
  if (extension == ".xlsx" || extension == ".xlsm")
    return Format::kXlsx;
  if (extension == ".ods")
    return Format::kOds;
  return Format::kUnknown;
}

}  // namespace workbook

const WorkbookUnreadCell* FindUnreadCell(const WorkbookSheet& sheet, std::size_t row,
                                         std::size_t column) {
  const auto found = std::lower_bound(
      sheet.unread.begin(), sheet.unread.end(), std::make_pair(row, column),
      [](const WorkbookUnreadCell& cell, const std::pair<std::size_t, std::size_t>& place) {
        return std::make_pair(cell.row, cell.column) < place;
      });
  if (found != sheet.unread.end() && found->row == row && found->column == column)
    return &*found;
  return nullptr;
}

}  // namespace quastor
