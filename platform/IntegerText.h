#pragma once
// The one syntax for integers read from text (edit boxes, XML texts, grid and sheet cells):
// optional leading blanks, an optional sign, then decimal digits or hexadecimal digits behind
// "$", "x", "X", "0x" or "0X", up to the end of the text. The value is a signed 32-bit integer;
// hexadecimal text up to 0xFFFFFFFF is taken as a 32-bit pattern, a decimal value outside the
// 32-bit range does not read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace quastor {

// The value of text, or nothing when it does not read.
std::optional<std::int32_t> ReadInteger(std::string_view text);

// "'%s' is not a valid integer value" for text.
std::string InvalidIntegerMessage(std::string_view text);

// Strict reading: fails with InvalidIntegerMessage(text).
Result<std::int32_t> StrictInteger(std::string_view text);

// Lenient reading: -1 for text that does not read.
std::int32_t LenientInteger(std::string_view text);

}  // namespace quastor
