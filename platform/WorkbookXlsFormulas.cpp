#include "platform/WorkbookXlsFormulas.h"

#include <cstring>
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
constexpr std::uint32_t kBiff8 = 0x0600;

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

// Offset of the BOF record of the worksheet named sheetName, from the workbook globals.
std::optional<std::size_t> SheetOffset(std::string_view stream, std::string_view sheetName) {
  Records records(stream, 0);
  const std::optional<Record> bof = records.Next();
  if (!bof || bof->type != kBof || bof->data.size() < 2 || U16(bof->data, 0) != kBiff8)
    return std::nullopt;
  while (const std::optional<Record> record = records.Next()) {
    if (record->type == kEof)
      break;
    if (record->type == kBoundSheet && SheetName(record->data) == sheetName)
      return U32(record->data, 0);
  }
  return std::nullopt;
}

}  // namespace

std::vector<FormulaResult> XlsFormulaResults(std::string_view fileBytes,
                                             std::string_view sheetName) {
  std::vector<FormulaResult> results;
  const std::optional<std::string> stream = CompoundFile(fileBytes).Stream("Workbook");
  if (!stream)
    return results;
  const std::optional<std::size_t> offset = SheetOffset(*stream, sheetName);
  if (!offset)
    return results;
  Records records(*stream, *offset);
  const std::optional<Record> bof = records.Next();
  if (!bof || bof->type != kBof)
    return results;
  bool stringPending = false;  // the last formula's text follows in a STRING record
  while (const std::optional<Record> record = records.Next()) {
    if (record->type == kEof)
      break;
    if (record->type == kString && stringPending) {
      results.back().value = StringText(record->data, records);
      stringPending = false;
      continue;
    }
    if (record->type != kFormula || record->data.size() < 14)
      continue;
    stringPending = false;
    FormulaResult result{U16(record->data, 0), U16(record->data, 2), std::monostate{}};
    // The 8 result bytes hold a double, or a kind in byte 0 when bytes 6 and 7 are 0xFFFF.
    const std::string_view value = record->data.substr(6, 8);
    if (U16(value, 6) != 0xFFFF) {
      result.value = DoubleAt(value, 0);
    } else if (value[0] == 0) {
      stringPending = true;  // an empty text until its STRING record
      result.value = std::string();
    } else if (value[0] == 1) {
      result.value = value[2] != 0;
    } else if (value[0] == 2) {
      result.value = ErrorValue{};
    } else if (value[0] == 3) {
      result.value = std::string();
    }
    results.push_back(std::move(result));
  }
  return results;
}

}  // namespace quastor::workbook
