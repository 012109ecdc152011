// .ods workbooks (OpenDocument spreadsheets), read from their content part: the tables of the
// spreadsheet in order, their rows and cells with the repeat counts that stand for runs of
// equal rows and cells, and each cell's value as its attributes state it (the text of its
// paragraphs for a text cell).

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "platform/WorkbookZipReaders.h"

namespace quastor::workbook {

namespace {

std::size_t Count(const std::string* text) {
  if (text == nullptr)
    return 1;
  std::size_t value = 0;
  const auto read = std::from_chars(text->data(), text->data() + text->size(), value);
  if (read.ec != std::errc() || read.ptr != text->data() + text->size() || value == 0)
    Damaged("invalid repeat count " + *text);
  // Far beyond any sheet, but small enough that positions plus counts do not overflow.
  return std::min<std::size_t>(value, std::size_t{1} << 40);
}

// "PT12H30M00S", "PT36H00M00S", "P1DT2H" as the time text of platform/Workbook.h.
std::string DurationText(const std::string& value) {
  double seconds = 0;
  double part = 0;
  bool inTime = false;
  std::size_t i = 0;
  const bool negative = !value.empty() && value[0] == '-';
  if (negative)
    ++i;
  if (i >= value.size() || value[i] != 'P')
    Damaged("invalid time " + value);
  for (++i; i < value.size(); ++i) {
    const char c = value[i];
    if (c == 'T') {
      inTime = true;
      continue;
    }
    const char* end = value.data() + value.size();
    const auto read = std::from_chars(value.data() + i, end, part);
    if (read.ec != std::errc() || read.ptr == end)
      Damaged("invalid time " + value);
    i = static_cast<std::size_t>(read.ptr - value.data());
    switch (value[i]) {
      case 'D':
        seconds += part * 86400;
        break;
      case 'H':
        seconds += part * 3600;
        break;
      case 'M':
        seconds += inTime ? part * 60 : part * 30 * 86400;
        break;
      case 'S':
        seconds += part;
        break;
      default:
        Damaged("invalid time " + value);
    }
  }
  const long long whole = std::llround(seconds);
  return (negative ? "-" : "") + TimeText(whole);
}

// "2024-01-31" or "2024-01-31T12:30:00.5" as the date text of platform/Workbook.h.
std::string DateValueText(const std::string& value) {
  long long year = 0;
  int month = 0, day = 0, hour = 0, minute = 0;
  double second = 0;
  const int read = std::sscanf(value.c_str(), "%lld-%d-%dT%d:%d:%lf", &year, &month, &day, &hour,
                               &minute, &second);
  if (read < 3)
    Damaged("invalid date " + value);
  return DateText(year, static_cast<unsigned>(month), static_cast<unsigned>(day),
                  hour * 3600LL + minute * 60LL + std::llround(second));
}

// One cell's attributes and the text of its paragraphs.
struct OdsCell {
  std::size_t repeat = 1;
  bool formula = false;
  std::string type;      // office:value-type
  std::string calcType;  // calcext:value-type, which alone tells an error
  std::string value;     // the attribute that type names
  const char* valueName = nullptr;
  bool hasStringValue = false;
  std::string text;
  std::size_t paragraphs = 0;

  CellValue Value() const {
    if (calcType == "error")
      return ErrorValue{text};
    if (type.empty()) {
      if (formula)
        return NoResult{};
      return paragraphs > 0 ? CellValue(text) : CellValue(std::monostate{});
    }
    if (type == "string")
      return hasStringValue ? value : text;
    if (valueName == nullptr)
      return formula ? CellValue(NoResult{}) : CellValue(std::monostate{});
    if (type == "boolean")
      return value == "true" || value == "1";
    if (type == "date")
      return DateValueText(value);
    if (type == "time")
      return DurationText(value);
    return ParseNumber(value);
  }
};

class ContentHandler final : public XmlHandler {
 public:
  // wanted: the sheet to keep (nothing: only the names); builder receives its cells.
  ContentHandler(const std::string* wanted, SheetBuilder* builder)
      : wanted_(wanted), builder_(builder) {}

  std::vector<std::string> names;
  std::optional<std::string> keptName;

  void Open(std::string_view prefix, std::string_view local,
            const XmlAttributes& attributes) override {
    ++depth_;
    if (prefix == "office" && local == "spreadsheet") {
      spreadsheetDepth_ = depth_;
    } else if (prefix == "table" && local == "table" && depth_ == spreadsheetDepth_ + 1) {
      const std::string* name = attributes.Find("name", "table");
      names.push_back(name != nullptr ? *name : "");
      keep_ = wanted_ != nullptr && !keptName && SameSheetName(names.back(), *wanted_);
      if (keep_) {
        keptName = names.back();
        tableDepth_ = depth_;
      }
    } else if (!keep_) {
      return;
    } else if (prefix == "table" && local == "table-row" && rowDepth_ == 0) {
      rowDepth_ = depth_;
      rowRepeat_ = Count(attributes.Find("number-rows-repeated", "table"));
      column_ = 0;
      rowCells_.clear();
    } else if (prefix == "table" && (local == "table-cell" || local == "covered-table-cell") &&
               rowDepth_ != 0 && depth_ == rowDepth_ + 1) {
      OpenCell(attributes);
    } else if (cellDepth_ != 0) {
      OpenInsideCell(prefix, local, attributes);
    }
  }

  void Close(std::string_view prefix, std::string_view local) override {
    if (keep_) {
      if (depth_ == cellDepth_)
        CloseCell();
      else if (depth_ == rowDepth_)
        CloseRow();
      else if (depth_ == tableDepth_)
        throw XmlWalkDone{};  // the wanted sheet is whole
      else if (cellDepth_ != 0 && depth_ == noteDepth_)
        noteDepth_ = 0;
      else if (cellDepth_ != 0 && prefix == "text" && local == "p" && noteDepth_ == 0)
        --paragraphDepth_;
    }
    --depth_;
  }

  void Text(std::string_view text) override {
    if (cellDepth_ != 0 && paragraphDepth_ > 0 && noteDepth_ == 0)
      cell_.text.append(text);
  }

 private:
  void OpenCell(const XmlAttributes& attributes) {
    cellDepth_ = depth_;
    cell_ = OdsCell{};
    cell_.repeat = Count(attributes.Find("number-columns-repeated", "table"));
    cell_.formula = attributes.Find("formula", "table") != nullptr;
    if (const std::string* type = attributes.Find("value-type", "office"))
      cell_.type = *type;
    if (const std::string* type = attributes.Find("value-type", "calcext"))
      cell_.calcType = *type;
    static constexpr struct {
      const char* type;
      const char* attribute;
    } kValues[] = {{"float", "value"},        {"percentage", "value"}, {"currency", "value"},
                   {"date", "date-value"},    {"time", "time-value"},  {"boolean", "boolean-value"},
                   {"string", "string-value"}};
    for (const auto& entry : kValues) {
      if (cell_.type != entry.type)
        continue;
      if (const std::string* value = attributes.Find(entry.attribute, "office")) {
        cell_.value = *value;
        cell_.valueName = entry.attribute;
        cell_.hasStringValue = cell_.type == "string";
      }
    }
  }

  // Paragraphs, spaces, tabs and line breaks make the cell's text; notes do not.
  void OpenInsideCell(std::string_view prefix, std::string_view local,
                      const XmlAttributes& attributes) {
    if (noteDepth_ != 0)
      return;
    if (prefix == "office" && local == "annotation") {
      noteDepth_ = depth_;
    } else if (prefix == "text" && local == "p") {
      if (cell_.paragraphs++ > 0)
        cell_.text += '\n';
      ++paragraphDepth_;
    } else if (prefix == "text" && paragraphDepth_ > 0) {
      if (local == "s")
        cell_.text.append(std::min<std::size_t>(Count(attributes.Find("c", "text")), 65535), ' ');
      else if (local == "tab")
        cell_.text += '\t';
      else if (local == "line-break")
        cell_.text += '\n';
    }
  }

  void CloseCell() {
    cellDepth_ = 0;
    paragraphDepth_ = 0;
    CellValue value = cell_.Value();
    const bool empty = std::holds_alternative<std::monostate>(value);
    if (!empty) {
      // A run of equal cells past the sheet's last column marks it too large.
      const std::size_t repeat = std::min(cell_.repeat, kWorkbookMaxColumns + 1);
      for (std::size_t i = 0; i < repeat; ++i)
        rowCells_.push_back({column_ + i, value});
    }
    column_ += cell_.repeat;
  }

  void CloseRow() {
    rowDepth_ = 0;
    if (!rowCells_.empty()) {
      for (std::size_t r = 0; r < rowRepeat_ && !builder_->TooLarge(); ++r) {
        for (const auto& [column, value] : rowCells_)
          builder_->Put(row_ + r, column, value);
      }
      if (builder_->TooLarge())
        throw XmlWalkDone{};
    }
    row_ += rowRepeat_;
  }

  const std::string* wanted_;
  SheetBuilder* builder_;
  std::size_t depth_ = 0;
  std::size_t spreadsheetDepth_ = static_cast<std::size_t>(-2);
  bool keep_ = false;
  std::size_t tableDepth_ = 0;
  std::size_t rowDepth_ = 0;
  std::size_t rowRepeat_ = 1;
  std::size_t row_ = 0;
  std::size_t column_ = 0;
  std::vector<std::pair<std::size_t, CellValue>> rowCells_;
  std::size_t cellDepth_ = 0;
  std::size_t noteDepth_ = 0;
  int paragraphDepth_ = 0;
  OdsCell cell_;
};

std::string Content(const ZipParts& zip) {
  std::optional<std::string> xml = zip.Read("content.xml");
  if (!xml)
    Damaged("no content part");
  return std::move(*xml);
}

}  // namespace

std::vector<std::string> OdsSheetNames(const ZipParts& zip) {
  ContentHandler handler(nullptr, nullptr);
  WalkXml(Content(zip), handler);
  return std::move(handler.names);
}

std::optional<Result<WorkbookSheet>> OdsSheet(const ZipParts& zip, const std::string& name) {
  SheetBuilder builder;
  ContentHandler handler(&name, &builder);
  WalkXml(Content(zip), handler);
  if (!handler.keptName)
    return std::nullopt;
  return builder.Finish(*handler.keptName);
}

}  // namespace quastor::workbook
