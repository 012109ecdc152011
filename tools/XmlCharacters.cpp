// The parser's rules for names and references, which the writer and tests use on their own.

#include <optional>
#include <string>

#include "platform/IntegerText.h"
#include "platform/Text.h"
#include "tools/ToolsTexts.h"
#include "tools/XmlCharacters.h"
#include "tools/XmlParser.h"

namespace quastor {
namespace {

namespace texts = tools_texts;
using namespace xml_characters;

bool AllOf(std::string_view text, int (*digit)(char)) {
  if (text.empty())
    return false;
  for (const char c : text) {
    if (digit(c) < 0)
      return false;
  }
  return true;
}

int DecimalValue(char c) {
  return c >= '0' && c <= '9' ? c - '0' : -1;
}

}  // namespace

Result<std::uint32_t> DecodeReference(std::string_view reference) {
  if (reference.empty() || reference.front() != '&')
    return Failure{texts::kReferenceWithoutAmpersand};
  if (reference.size() < 2 || reference.back() != ';')
    return Failure{texts::kUnexpectedEnd};
  const std::string_view body = reference.substr(1, reference.size() - 2);
  if (!body.empty() && body.front() == '#') {
    // The number reads by the system's integer rule: up to eight hexadecimal digits, or a
    // decimal value within 32 bits.
    const bool hex = body.size() > 1 && body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    const bool digits_only = hex ? AllOf(digits, HexDigitValue) : AllOf(digits, DecimalValue);
    const std::optional<std::int32_t> value =
        digits_only ? ReadInteger(hex ? "x" + std::string(digits) : std::string(digits))
                    : std::nullopt;
    if (!value)
      return Failure{FormatText(texts::kInvalidReferenceInteger, {std::string(body)})};
    return static_cast<std::uint32_t>(*value);
  }
  if (body == "amp")
    return std::uint32_t{'&'};
  if (body == "lt")
    return std::uint32_t{'<'};
  if (body == "gt")
    return std::uint32_t{'>'};
  if (body == "quot")
    return std::uint32_t{'"'};
  if (body == "apos")
    return std::uint32_t{'\''};
  return Failure{texts::kUnrecognizedReference};
}

bool IsXmlName(std::string_view text) {
  if (text.empty() || !Is(text.front(), kNameStart))
    return false;
  for (const char c : text) {
    if (!Is(c, kNameChar))
      return false;
  }
  return true;
}

}  // namespace quastor
