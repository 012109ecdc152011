#include "platform/IntegerText.h"

#include "platform/Text.h"

namespace quastor {
namespace {

int DigitValue(char c, bool hex) {
  if (!hex)
    return (c >= '0' && c <= '9') ? c - '0' : -1;
  return HexDigitValue(c);
}

}  // namespace

std::optional<std::int32_t> ReadInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size())
    return std::nullopt;  // no digit at all

  // Accumulate the magnitude in 64 bits; stop as soon as it leaves the allowed range.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], hex);
    if (d < 0)
      return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
    if (magnitude > limit)
      return std::nullopt;
  }
  // Two's complement wrap: hexadecimal text is a 32-bit pattern, "-$1" is -1.
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative)
    bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

std::string InvalidIntegerMessage(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid integer value";
}

Result<std::int32_t> StrictInteger(std::string_view text) {
  if (auto value = ReadInteger(text))
    return *value;
  return Failure{InvalidIntegerMessage(text)};
}

std::int32_t LenientInteger(std::string_view text) {
  return ReadInteger(text).value_or(-1);
}

}  // namespace quastor
