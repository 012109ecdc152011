#include "platform/WorkbookOrcusImport.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include <orcus/exception.hpp>

namespace quastor::workbook {

namespace ss = orcus::spreadsheet;

// ---- strings ----

std::size_t OrcusStrings::Store(std::string text) {
  const std::size_t id = strings_.size();
  if (id < empty_.size() && empty_[id])
    text.clear();
  strings_.push_back(std::move(text));
  return id;
}

std::size_t OrcusStrings::append(std::string_view s) {
  return Store(std::string(s));
}

std::size_t OrcusStrings::commit_segments() {
  std::string text = std::move(segments_);
  segments_.clear();
  return Store(std::move(text));
}

const std::string* OrcusStrings::Find(std::size_t id) const {
  return id < strings_.size() ? &strings_[id] : nullptr;
}

// ---- cells ----

void OrcusFormula::set_position(row_t row, col_t col) {
  row_ = row;
  col_ = col;
  result_ = std::monostate{};
}

void OrcusFormula::commit() {
  sheet_.Put(row_, col_, std::move(result_));
  result_ = std::monostate{};
}

void OrcusSheet::Put(row_t row, col_t col, CellValue value) {
  if (!keep_ || row < 0 || col < 0)
    return;
  builder_.Set(static_cast<std::size_t>(row), static_cast<std::size_t>(col),
               CellText(std::move(value)));
}

void OrcusSheet::set_auto(row_t row, col_t col, std::string_view s) {
  Put(row, col, std::string(s));
}

void OrcusSheet::set_string(row_t row, col_t col, ss::string_id_t id) {
  if (!keep_)
    return;
  if (const std::string* text = strings_.Find(id))
    Put(row, col, *text);
  else
    pending_.push_back({row, col, id});
}

void OrcusSheet::set_date_time(row_t row, col_t col, int year, int month, int day, int hour,
                               int minute, double second) {
  // ISO text, as the .xls reader gives dates: the date alone when the time is midnight.
  const int wholeSecond = static_cast<int>(std::lround(second));
  char text[64];
  if (hour == 0 && minute == 0 && wholeSecond == 0)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                  minute, wholeSecond);
  Put(row, col, std::string(text));
}

void OrcusSheet::fill_down_cells(row_t row, col_t col, row_t count) {
  if (!keep_ || row < 0 || col < 0 || count <= 0)
    return;
  const WorkbookCell source =
      builder_.At(static_cast<std::size_t>(row), static_cast<std::size_t>(col));
  if (!source)
    return;
  // A count past the sheet's bound marks the sheet too large after the first cell beyond it.
  for (row_t r = 1; r <= count && !builder_.TooLarge(); ++r)
    builder_.Set(static_cast<std::size_t>(row) + static_cast<std::size_t>(r),
                 static_cast<std::size_t>(col), source);
}

ss::range_size_t OrcusSheet::get_sheet_size() const {
  return {static_cast<row_t>(kWorkbookMaxRows), static_cast<col_t>(kWorkbookMaxColumns)};
}

Result<WorkbookSheet> OrcusSheet::Finish(std::string name) {
  for (const PendingString& cell : pending_) {
    const std::string* text = strings_.Find(cell.id);
    Put(cell.row, cell.col, text != nullptr ? CellValue(*text) : CellValue(ErrorValue{}));
  }
  pending_.clear();
  return builder_.Finish(std::move(name));
}

// ---- addresses ----

namespace {

constexpr std::int64_t kNoPosition = -1;

struct Position {
  std::int64_t row = kNoPosition;
  std::int64_t column = kNoPosition;
};

[[noreturn]] void BadAddress(std::string_view text) {
  throw orcus::invalid_arg_error("invalid cell address: " + std::string(text));
}

// One address without its sheet: "$B$3", "B", "3". Row and column count from 0.
Position ParsePart(std::string_view text, std::string_view whole) {
  const auto sheetEnd = text.find_last_of("!.");
  if (sheetEnd != std::string_view::npos)
    text.remove_prefix(sheetEnd + 1);
  std::size_t i = 0;
  Position position;
  if (i < text.size() && text[i] == '$')
    ++i;
  std::int64_t column = 0;
  std::size_t letters = 0;
  for (; i < text.size() && ((text[i] | 0x20) >= 'a' && (text[i] | 0x20) <= 'z'); ++i, ++letters) {
    if (letters == 3)  // "XFD" is the last column
      BadAddress(whole);
    column = column * 26 + ((text[i] | 0x20) - 'a' + 1);
  }
  if (letters > 0)
    position.column = column - 1;
  if (i < text.size() && text[i] == '$')
    ++i;
  std::int64_t row = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    if (digits == 7)  // 1048576 is the last row
      BadAddress(whole);
    row = row * 10 + (text[i] - '0');
  }
  if (digits > 0) {
    if (row == 0)
      BadAddress(whole);
    position.row = row - 1;
  }
  if (i != text.size() || (letters == 0 && digits == 0))
    BadAddress(whole);
  return position;
}

std::string_view StripBrackets(std::string_view text) {
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
    text = text.substr(1, text.size() - 2);
  return text;
}

ss::src_address_t ToAddress(std::int64_t row, std::int64_t column) {
  return {0, static_cast<row_t>(row), static_cast<col_t>(column)};
}

}  // namespace

ss::src_address_t OrcusResolver::resolve_address(std::string_view address) {
  const Position position = ParsePart(StripBrackets(address), address);
  if (position.row == kNoPosition || position.column == kNoPosition)
    BadAddress(address);
  return ToAddress(position.row, position.column);
}

ss::src_range_t OrcusResolver::resolve_range(std::string_view range) {
  const std::string_view text = StripBrackets(range);
  const auto colon = text.find(':');
  const Position first = ParsePart(text.substr(0, colon), range);
  const Position last =
      colon == std::string_view::npos ? first : ParsePart(text.substr(colon + 1), range);
  // A whole column or row reaches to the sheet's edge.
  const auto edge = [](std::int64_t value, std::size_t bound, bool start) {
    return value != kNoPosition ? value : (start ? 0 : static_cast<std::int64_t>(bound) - 1);
  };
  return {ToAddress(edge(first.row, kWorkbookMaxRows, true),
                    edge(first.column, kWorkbookMaxColumns, true)),
          ToAddress(edge(last.row, kWorkbookMaxRows, false),
                    edge(last.column, kWorkbookMaxColumns, false))};
}

// ---- factory ----

OrcusFactory::OrcusFactory(std::optional<std::string> wanted) : wanted_(std::move(wanted)) {}

iface::import_sheet* OrcusFactory::append_sheet(ss::sheet_t, std::string_view name) {
  names_.emplace_back(name);
  if (wanted_ && !kept_ && SameSheetName(name, *wanted_)) {
    wantedIndex_ = names_.size() - 1;
    kept_ = std::make_unique<OrcusSheet>(strings_, true);
  }
  return SheetAt(names_.size() - 1);
}

iface::import_sheet* OrcusFactory::get_sheet(std::string_view name) {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name)
      return SheetAt(i);
  }
  return nullptr;
}

iface::import_sheet* OrcusFactory::get_sheet(ss::sheet_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= names_.size())
    return nullptr;
  return SheetAt(static_cast<std::size_t>(index));
}

iface::import_sheet* OrcusFactory::SheetAt(std::size_t index) {
  if (kept_ && index == wantedIndex_)
    return kept_.get();
  return &discarded_;
}

std::optional<Result<WorkbookSheet>> OrcusFactory::FinishWanted() {
  if (!kept_)
    return std::nullopt;
  return kept_->Finish(names_[wantedIndex_]);
}

}  // namespace quastor::workbook
