#include "update/SRecord.h"

#include <array>

#include "platform/Text.h"
#include "update/UpdateTexts.h"

namespace quastor::srec {
namespace {

constexpr std::uint8_t kNotHex = 0xFF;

// A table, since every byte of a firmware file goes through it.
constexpr std::array<std::uint8_t, 256> MakeHexTable() {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const int value = HexDigitValue(static_cast<char>(c));
    table[static_cast<std::size_t>(c)] = value < 0 ? kNotHex : static_cast<std::uint8_t>(value);
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> kHexValue = MakeHexTable();
constexpr char kDigits[] = "0123456789ABCDEF";

inline std::uint8_t HexDigit(char c) {
  return kHexValue[static_cast<unsigned char>(c)];
}

inline void AppendByte(std::string& line, std::uint8_t byte) {
  line += kDigits[byte >> 4];
  line += kDigits[byte & 0x0F];
}

}  // namespace

int AddressBytes(char type) {
  switch (type) {
    case '0':
    case '1':
    case '5':
    case '9':
      return 2;
    case '2':
    case '6':
    case '8':
      return 3;
    case '3':
    case '7':
      return 4;
    default:
      return 0;
  }
}

Problem ParseRecord(std::string_view line, Record* record) {
  if (line.empty())
    return Problem::kEmpty;
  if (line[0] != 'S' || line.size() < 2)
    return Problem::kNotRecord;
  const int address_bytes = AddressBytes(line[1]);
  if (address_bytes == 0)
    return Problem::kType;
  if (line.size() < 4)
    return Problem::kCount;
  // Every digit is checked before the count is compared, so that a stray character is told
  // as such and not as a wrong count.
  unsigned sum = 0;
  std::size_t i = 2;
  for (; i + 1 < line.size(); i += 2) {
    const std::uint8_t high = HexDigit(line[i]);
    const std::uint8_t low = HexDigit(line[i + 1]);
    if ((high | low) > 0x0F)
      return Problem::kHex;
    sum += static_cast<unsigned>(high << 4 | low);
  }
  if (i < line.size())
    return HexDigit(line[i]) == kNotHex ? Problem::kHex : Problem::kCount;
  const std::size_t count = static_cast<std::size_t>(HexDigit(line[2]) << 4 | HexDigit(line[3]));
  if (line.size() != 4 + 2 * count || count < static_cast<std::size_t>(address_bytes) + 1) {
    return Problem::kCount;
  }
  if ((sum & 0xFF) != 0xFF)
    return Problem::kChecksum;

  record->type = line[1];
  record->addressBytes = address_bytes;
  std::uint32_t address = 0;
  for (int b = 0; b < address_bytes; ++b) {
    address = address << 8 | static_cast<std::uint32_t>(HexDigit(line[4 + 2 * b]) << 4 |
                                                        HexDigit(line[5 + 2 * b]));
  }
  record->address = address;
  const std::size_t data_start = 4 + 2 * static_cast<std::size_t>(address_bytes);
  record->dataHex = line.substr(data_start, line.size() - 2 - data_start);
  return Problem::kNone;
}

const char* ProblemText(Problem problem) {
  switch (problem) {
    case Problem::kEmpty:
      return update_texts::kReasonEmpty;
    case Problem::kNotRecord:
      return update_texts::kReasonNotRecord;
    case Problem::kType:
      return update_texts::kReasonType;
    case Problem::kHex:
      return update_texts::kReasonHex;
    case Problem::kCount:
      return update_texts::kReasonCount;
    case Problem::kChecksum:
      return update_texts::kReasonChecksum;
    case Problem::kNone:
      break;
  }
  return "";
}

void DecodeHex(std::string_view hex, std::uint8_t* bytes) {
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes[i / 2] = static_cast<std::uint8_t>(HexDigit(hex[i]) << 4 | HexDigit(hex[i + 1]));
  }
}

void AppendRecord(std::string& line, char type, std::uint32_t address, const std::uint8_t* data,
                  std::size_t size) {
  const int address_bytes = AddressBytes(type);
  const auto count = static_cast<std::uint8_t>(address_bytes + size + 1);
  unsigned sum = count;
  line += 'S';
  line += type;
  AppendByte(line, count);
  for (int b = address_bytes - 1; b >= 0; --b) {
    const auto byte = static_cast<std::uint8_t>(address >> (8 * b));
    sum += byte;
    AppendByte(line, byte);
  }
  for (std::size_t i = 0; i < size; ++i) {
    sum += data[i];
    AppendByte(line, data[i]);
  }
  AppendByte(line, static_cast<std::uint8_t>(~sum & 0xFF));
}

std::string FormatRecord(char type, std::uint32_t address, const std::uint8_t* data,
                         std::size_t size) {
  std::string line;
  line.reserve(4 + 8 + 2 * size + 2);
  AppendRecord(line, type, address, data, size);
  return line;
}

}  // namespace quastor::srec
