#include "platform/WorkbookXlsFormulas.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "platform/TextCodec.h"
#include "platform/WorkbookCompoundFile.h"

namespace quastor::workbook {

namespace {

// Record types of the BIFF8 workbook stream.
constexpr std::uint32_t kBof = 0x0809;
constexpr std::uint32_t kEof = 0x000A;
constexpr std::uint32_t kBoundSheet = 0x0085;
constexpr std::uint32_t kFormula = 0x0006;
constexpr std::uint32_t kString = 0x0207;
constexpr std::uint32_t kContinue = 0x003C;
constexpr std::uint32_t kBoolErr = 0x0205;
constexpr std::uint32_t kXf = 0x00E0;
constexpr std::uint32_t kFormat = 0x041E;
constexpr std::uint32_t kDateMode = 0x0022;
constexpr std::uint32_t kBiff8 = 0x0600;
constexpr std::uint32_t kSst = 0x00FC;
constexpr std::uint32_t kFilePass = 0x002F;
constexpr std::uint32_t kLabelSst = 0x00FD;
constexpr std::uint32_t kLabel = 0x0204;
constexpr std::uint32_t kRString = 0x00D6;
constexpr std::uint32_t kNumber = 0x0203;
constexpr std::uint32_t kRk = 0x027E;
constexpr std::uint32_t kMulRk = 0x00BD;

std::uint32_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8);
}

std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return U16(bytes, at) | (U16(bytes, at + 2) << 16);
}

struct Record {
  std::uint32_t type = 0;
  std::string_view data;
};

// Walks the records from an offset; stops at the end of the stream or a record cut short.
class Records {
 public:
  Records(std::string_view stream, std::size_t offset) : stream_(stream), at_(offset) {}

  std::optional<Record> Next() {
    if (at_ > stream_.size() || stream_.size() - at_ < 4)
      return std::nullopt;
    const std::size_t length = U16(stream_, at_ + 2);
    if (stream_.size() - at_ - 4 < length)
      return std::nullopt;
    Record record{U16(stream_, at_), stream_.substr(at_ + 4, length)};
    at_ += 4 + length;
    return record;
  }
  // The next record without moving past it.
  std::optional<Record> Peek() const { return Records(*this).Next(); }

 private:
  std::string_view stream_;
  std::size_t at_;
};

// Characters of a BIFF8 string: 8-bit (Latin-1) or UTF-16LE, count characters from data.
// Returns the bytes consumed; appends at most count characters, fewer when data ends.
std::size_t AppendChars(std::string& out, std::string_view data, bool wide, std::size_t& count) {
  std::size_t at = 0;
  while (count > 0 && at + (wide ? 2 : 1) <= data.size()) {
    std::uint32_t unit = wide ? U16(data, at) : static_cast<std::uint8_t>(data[at]);
    at += wide ? 2 : 1;
    --count;
    if (wide && unit >= 0xD800 && unit < 0xDC00 && count > 0 && at + 2 <= data.size()) {
      const std::uint32_t low = U16(data, at);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
        --count;
      }
    }
    if (unit >= 0xD800 && unit < 0xE000)
      unit = 0xFFFD;  // half of a pair
    AppendUtf8(out, unit);
  }
  return at;
}

// A sheet name of a BOUNDSHEET record: 8-bit length, flags, characters.
std::optional<std::string> SheetName(std::string_view data) {
  if (data.size() < 8)
    return std::nullopt;
  std::size_t count = static_cast<std::uint8_t>(data[6]);
  std::string name;
  AppendChars(name, data.substr(8), (data[7] & 1) != 0, count);
  return name;
}

// The text of a STRING record, continued in CONTINUE records (each starting with new flags).
std::string StringText(std::string_view data, Records& records) {
  if (data.size() < 3)
    return std::string();
  std::size_t count = U16(data, 0);
  const std::uint8_t flags = static_cast<std::uint8_t>(data[2]);
  std::size_t at = 3 + ((flags & 0x08) != 0 ? 2 : 0) + ((flags & 0x04) != 0 ? 4 : 0);
  std::string text;
  if (at <= data.size())
    AppendChars(text, data.substr(at), (flags & 1) != 0, count);
  while (count > 0) {
    const std::optional<Record> more = records.Peek();
    if (!more || more->type != kContinue || more->data.empty())
      break;
    records.Next();
    AppendChars(text, more->data.substr(1), (more->data[0] & 1) != 0, count);
  }
  return text;
}

double DoubleAt(std::string_view data, std::size_t at) {
  const std::uint64_t bits = U32(data, at) | (static_cast<std::uint64_t>(U32(data, at + 4)) << 32);
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The text of an error code of a BOOLERR or FORMULA record.
std::string ErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#ERROR!";
  }
}

// The shared string table: the SST record and its CONTINUE records, read as one run of bytes
// except that characters which go on in the next record start it with a new flags byte.
class SstReader {
 public:
  explicit SstReader(std::vector<std::string_view> parts) : parts_(std::move(parts)) {}

  std::vector<std::string> Strings(std::size_t count) {
    std::vector<std::string> strings;
    Skip(8);  // the total and unique counts
    while (strings.size() < count) {
      std::string header;
      if (!Raw(3, header))
        break;
      std::size_t chars = U16(header, 0);
      const auto flags = static_cast<std::uint8_t>(header[2]);
      std::string extra;
      const std::size_t runs = (flags & 0x08) != 0 && Raw(2, extra) ? U16(extra, 0) : 0;
      extra.clear();
      const std::size_t ext = (flags & 0x04) != 0 && Raw(4, extra) ? U32(extra, 0) : 0;
      std::string text;
      bool wide = (flags & 1) != 0;
      while (chars > 0) {
        if (part_ < parts_.size() && at_ == parts_[part_].size()) {
          if (++part_ == parts_.size() || parts_[part_].empty())
            return strings;  // the text goes on past the table
          wide = (parts_[part_][0] & 1) != 0;
          at_ = 1;
        }
        if (part_ == parts_.size())
          return strings;
        const std::string_view rest = parts_[part_].substr(at_);
        const std::size_t before = chars;
        at_ += AppendChars(text, rest, wide, chars);
        if (chars == before)
          return strings;  // half a character at the end of a record
      }
      strings.push_back(std::move(text));
      Skip(4 * runs + ext);
    }
    return strings;
  }

 private:
  bool Raw(std::size_t count, std::string& out) {
    while (count > 0 && part_ < parts_.size()) {
      const std::string_view rest = parts_[part_].substr(at_);
      const std::size_t take = std::min(count, rest.size());
      out.append(rest.substr(0, take));
      at_ += take;
      count -= take;
      if (at_ == parts_[part_].size() && count > 0) {
        ++part_;
        at_ = 0;
      }
    }
    return count == 0;
  }
  void Skip(std::size_t count) {
    std::string ignored;
    while (count > 0 && part_ < parts_.size()) {
      const std::size_t take = std::min<std::size_t>(count, 4096);
      ignored.clear();
      if (!Raw(take, ignored))
        return;
      count -= take;
    }
  }

  std::vector<std::string_view> parts_;
  std::size_t part_ = 0;
  std::size_t at_ = 0;
};

// An RK number: a 30-bit integer or the high 30 bits of a double, divided by 100 when bit 0 says.
double RkNumber(std::uint32_t rk) {
  double value = 0;
  if ((rk & 2) != 0) {
    value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 1) != 0 ? value / 100 : value;
}

// What the workbook globals tell: where the sheet starts, and which cell formats show dates.
struct Globals {
  bool biff8 = false;
  bool encrypted = false;
  std::optional<std::size_t> sheetOffset;  // of the BOF record of the sheet
  std::vector<std::string> sheetNames;
  std::vector<DateKind> xfDates;  // per XF record, in order
  bool from1904 = false;
  std::vector<std::string> strings;  // the shared strings, when asked for
};

// The sheet is found by its exact name, or without regard to case when the records alone read
// the workbook (FreeXL names it exactly otherwise); strings reads the shared strings too.
Globals ReadGlobals(std::string_view stream, std::string_view sheetName, bool strings) {
  Globals globals;
  Records records(stream, 0);
  const std::optional<Record> bof = records.Next();
  if (!bof || bof->type != kBof || bof->data.size() < 2 || U16(bof->data, 0) != kBiff8)
    return globals;
  globals.biff8 = true;
  std::map<std::uint32_t, std::string> formats;
  std::vector<std::uint32_t> xfFormats;
  while (const std::optional<Record> record = records.Next()) {
    if (record->type == kEof)
      break;
    if (record->type == kBoundSheet) {
      std::optional<std::string> name = SheetName(record->data);
      if (name && !globals.sheetOffset &&
          (strings ? SameSheetName(*name, sheetName) : *name == sheetName))
        globals.sheetOffset = U32(record->data, 0);
      globals.sheetNames.push_back(name.value_or(""));
    } else if (record->type == kFilePass) {
      globals.encrypted = true;
    } else if (record->type == kSst && strings && record->data.size() >= 8) {
      std::vector<std::string_view> parts{record->data};
      while (const std::optional<Record> more = records.Peek()) {
        if (more->type != kContinue)
          break;
        parts.push_back(records.Next()->data);
      }
      globals.strings = SstReader(std::move(parts)).Strings(U32(record->data, 4));
    } else if (record->type == kXf && record->data.size() >= 4)
      xfFormats.push_back(U16(record->data, 2));
    else if (record->type == kDateMode && record->data.size() >= 2)
      globals.from1904 = U16(record->data, 0) == 1;
    else if (record->type == kFormat && record->data.size() >= 5)
      formats[U16(record->data, 0)] = StringText(record->data.substr(2), records);
  }
  for (const std::uint32_t id : xfFormats) {
    const auto custom = formats.find(id);
    globals.xfDates.push_back(custom != formats.end() ? DateKindOfFormat(custom->second)
                                                      : DateKindOfBuiltinFormat(id));
  }
  return globals;
}

// Whether the formula's parsed expression (rgce) ends in an operation whose result is text: the
// concatenation operator, a text constant alone, or a function that gives text. Tokens this
// walk does not know make the answer false, so that the stored result stands.
bool GivesText(std::string_view rgce) {
  // Built-in functions that give text, by their number in the function table.
  static constexpr std::uint32_t kTextFunctions[] = {13,  14,  30,  31,  48,  111, 112, 113, 114,
                                                     115, 116, 118, 119, 120, 130, 162, 336};
  bool text = false;
  std::size_t at = 0;
  while (at < rgce.size()) {
    const std::uint8_t token = static_cast<std::uint8_t>(rgce[at]);
    const std::uint8_t base =
        token < 0x20 ? token : static_cast<std::uint8_t>((token & 0x1F) | 0x20);
    std::size_t size = 0;
    text = false;
    if (token == 0x17) {  // a text constant: length, flags, characters
      if (at + 3 > rgce.size())
        return false;
      const std::size_t chars = static_cast<std::uint8_t>(rgce[at + 1]);
      size = 3 + chars * ((rgce[at + 2] & 1) != 0 ? 2 : 1);
      text = true;
    } else if (token == 0x08) {
      size = 1;
      text = true;
    } else if (token >= 0x03 && token <= 0x16) {
      size = 1;  // operators and parentheses
    } else if (token == 0x1C || token == 0x1D) {
      size = 2;  // an error or a boolean constant
    } else if (token == 0x1E) {
      size = 3;  // an integer
    } else if (token == 0x1F) {
      size = 9;  // a number
    } else if (token == 0x19) {
      if (at + 4 > rgce.size())
        return false;
      size = 4;  // an attribute (CHOOSE's jump table is not walked)
      if ((rgce[at + 1] & 0x04) != 0)
        return false;
    } else if (base == 0x21 || base == 0x22) {  // a function, with or without argument count
      const std::size_t id_at = at + (base == 0x22 ? 2 : 1);
      if (id_at + 2 > rgce.size())
        return false;
      const std::uint32_t id = U16(rgce, id_at) & 0x7FFF;
      size = base == 0x22 ? 4 : 3;
      text = std::find(std::begin(kTextFunctions), std::end(kTextFunctions), id) !=
             std::end(kTextFunctions);
    } else if (base == 0x24 || base == 0x2C) {
      size = 5;  // a cell reference
    } else if (base == 0x25 || base == 0x2D) {
      size = 9;  // a range reference
    } else if (base == 0x23) {
      size = 5;  // a name
    } else if (base == 0x3A) {
      size = 7;  // a cell of another sheet
    } else if (base == 0x3B) {
      size = 11;  // a range of another sheet
    } else {
      return false;
    }
    at += size;
  }
  return text && at == rgce.size();
}

}  // namespace

namespace {

// A number of a cell whose format xf may show it as a date.
CellValue NumberCell(double number, std::size_t xf, const Globals& globals) {
  const DateKind kind = xf < globals.xfDates.size() ? globals.xfDates[xf] : DateKind::kNone;
  if (std::optional<std::string> date = SerialDateText(number, kind, globals.from1904))
    return std::move(*date);
  return number;
}

// The cells of the sheet's records: the formulas, booleans and errors, and with all_cells the
// texts and numbers too.
void WalkSheet(std::string_view stream, const Globals& globals, bool all_cells,
               std::vector<FormulaResult>& results) {
  Records records(stream, *globals.sheetOffset);
  const std::optional<Record> bof = records.Next();
  if (!bof || bof->type != kBof)
    return;
  bool stringPending = false;  // the last formula's text follows in a STRING record
  while (const std::optional<Record> record = records.Next()) {
    if (record->type == kEof)
      break;
    const std::string_view data = record->data;
    if (all_cells && data.size() >= 6) {
      const std::uint32_t row = U16(data, 0), column = U16(data, 2), xf = U16(data, 4);
      if (record->type == kLabelSst && data.size() >= 10) {
        const std::uint32_t id = U32(data, 6);
        results.push_back({row, column,
                           id < globals.strings.size() ? CellValue(globals.strings[id])
                                                       : CellValue(std::monostate{})});
        continue;
      }
      if ((record->type == kLabel || record->type == kRString) && data.size() >= 9) {
        results.push_back({row, column, StringText(data.substr(6), records)});
        continue;
      }
      if (record->type == kNumber && data.size() >= 14) {
        results.push_back({row, column, NumberCell(DoubleAt(data, 6), xf, globals)});
        continue;
      }
      if (record->type == kRk && data.size() >= 10) {
        results.push_back({row, column, NumberCell(RkNumber(U32(data, 6)), xf, globals)});
        continue;
      }
      if (record->type == kMulRk) {
        for (std::size_t at = 4, c = column; at + 6 <= data.size() - 2; at += 6, ++c)
          results.push_back({row, static_cast<std::uint32_t>(c),
                             NumberCell(RkNumber(U32(data, at + 2)), U16(data, at), globals)});
        continue;
      }
    }
    if (record->type == kString && stringPending) {
      results.back().value = StringText(record->data, records);
      stringPending = false;
      continue;
    }
    if (record->type == kBoolErr && record->data.size() >= 8) {
      stringPending = false;
      const auto code = static_cast<std::uint8_t>(record->data[6]);
      CellValue value =
          record->data[7] != 0 ? CellValue(ErrorValue{ErrorText(code)}) : CellValue(code != 0);
      results.push_back({U16(record->data, 0), U16(record->data, 2), std::move(value)});
      continue;
    }
    if (record->type != kFormula || record->data.size() < 14)
      continue;
    stringPending = false;
    FormulaResult result{U16(record->data, 0), U16(record->data, 2), std::monostate{}};
    // The 8 result bytes hold a double, or a kind in byte 0 when bytes 6 and 7 are 0xFFFF.
    const std::string_view value = record->data.substr(6, 8);
    const std::size_t rgceSize = record->data.size() >= 22 ? U16(record->data, 20) : 0;
    const std::string_view rgce =
        record->data.size() >= 22 ? record->data.substr(22, rgceSize) : std::string_view();
    if (U16(value, 6) != 0xFFFF && GivesText(rgce)) {
      // A text formula stored with a number: LibreOffice stores 0 and no text for it.
      result.value = NoResult{};
    } else if (U16(value, 6) != 0xFFFF) {
      result.value = NumberCell(DoubleAt(value, 0), U16(record->data, 4), globals);
    } else if (value[0] == 0) {
      stringPending = true;  // an empty text until its STRING record
      result.value = std::string();
    } else if (value[0] == 1) {
      result.value = value[2] != 0;
    } else if (value[0] == 2) {
      result.value = ErrorValue{ErrorText(static_cast<std::uint8_t>(value[2]))};
    } else if (value[0] == 3) {
      result.value = std::string();
    }
    results.push_back(std::move(result));
  }
}

}  // namespace

std::vector<FormulaResult> XlsFormulaResults(std::string_view fileBytes,
                                             std::string_view sheetName) {
  std::vector<FormulaResult> results;
  const std::optional<std::string> stream = CompoundFile(fileBytes).Stream("Workbook");
  if (!stream)
    return results;
  const Globals globals = ReadGlobals(*stream, sheetName, false);
  if (globals.sheetOffset)
    WalkSheet(*stream, globals, false, results);
  return results;
}

std::optional<XlsRecordsReading> XlsRecordCells(std::string_view fileBytes,
                                                std::string_view sheetName) {
  const std::optional<std::string> stream = CompoundFile(fileBytes).Stream("Workbook");
  if (!stream)
    return std::nullopt;
  Globals globals = ReadGlobals(*stream, sheetName, true);
  if (!globals.biff8)
    return std::nullopt;
  XlsRecordsReading reading;
  reading.encrypted = globals.encrypted;
  reading.sheetNames = globals.sheetNames;
  if (globals.sheetOffset && !globals.encrypted) {
    for (const std::string& name : globals.sheetNames) {
      if (SameSheetName(name, sheetName)) {
        reading.sheetName = name;
        break;
      }
    }
    WalkSheet(*stream, globals, true, reading.cells);
  }
  return reading;
}

}  // namespace quastor::workbook
