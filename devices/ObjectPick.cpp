#include "devices/ObjectPick.h"

#include <cstdio>

#include "devices/DeviceTexts.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = device_texts;

std::string HexIndex(std::uint16_t index) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", index);
  return text;
}

// The filter's hexadecimal digits, without "0x"; empty when it holds anything else.
std::string HexDigits(std::string_view filter) {
  if (filter.size() > 2 && filter[0] == '0' && (filter[1] == 'x' || filter[1] == 'X'))
    filter.remove_prefix(2);
  std::string digits;
  for (const char c : filter) {
    if (HexDigitValue(c) < 0)
      return {};
    digits += static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
  }
  return digits;
}

bool HoldsIgnoringCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size())
    return false;
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
    if (EqualsIgnoringCase(text.substr(at, part.size()), part))
      return true;
  }
  return false;
}

Failure Refused(const ObjectRow& row, const std::string& why) {
  return Failure{FormatText(texts::kPickRefused,
                            {HexIndex(row.index), std::to_string(row.subIndex), row.name, why})};
}

}  // namespace

std::vector<std::string> ObjectRow::Cells() const {
  const int size = DataTypeSize(dataType);
  return {"0x" + HexIndex(index), std::to_string(subIndex), name,
          DataTypeName(dataType), AccessText(access),       size > 0 ? std::to_string(size) : ""};
}

std::vector<ObjectRow> ObjectRows(const EdsFile& file) {
  std::vector<ObjectRow> rows;
  for (const EdsObject& object : file.objects) {
    for (const EdsEntry& entry : object.entries)
      rows.push_back({object.index, entry.subIndex, entry.name, entry.dataType, entry.access});
  }
  return rows;
}

bool ObjectRowMatches(const ObjectRow& row, std::string_view filter) {
  filter = Trim(filter);
  if (filter.empty())
    return true;
  const std::string digits = HexDigits(filter);
  if (!digits.empty() && digits.size() <= 4 &&
      HexIndex(row.index).compare(0, digits.size(), digits) == 0)
    return true;
  return HoldsIgnoringCase(row.name, filter);
}

Result<SdoFill> SdoFillFor(const ObjectRow& row, AccessDirection direction) {
  if (!AccessAllows(row.access, direction)) {
    const bool write = direction == AccessDirection::kWrite;
    return Refused(row, FormatText(texts::kAccessRefused,
                                   {AccessText(row.access), write ? texts::kWritten : texts::kRead,
                                    write ? "1" : "0"}));
  }
  const int size = DataTypeSize(row.dataType);
  if (size <= 0)
    return Refused(row, FormatText(texts::kNoFixedSize, {DataTypeName(row.dataType)}));
  if (size > 4) {
    return Refused(
        row, FormatText(texts::kSizeTooLarge, {DataTypeName(row.dataType), std::to_string(size)}));
  }
  return SdoFill{"0x" + HexIndex(row.index), std::to_string(row.subIndex), std::to_string(size),
                 row.name};
}

AccessDirection EntryDirection(const std::string& rw_cell) {
  return rw_cell == "1" ? AccessDirection::kWrite : AccessDirection::kRead;
}

}  // namespace quastor
