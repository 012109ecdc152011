#include "platform/FieldRule.h"

#include <cstdio>

#include "platform/IntegerText.h"
#include "platform/PlatformTexts.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = platform_texts;

std::string Bound(std::int32_t value, bool hex) {
  if (!hex || value <= 0)
    return std::to_string(value);
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::optional<std::string> NumberProblem(std::string_view text) {
  if (ReadInteger(text))
    return std::nullopt;
  const std::string_view trimmed = Trim(text);
  if (trimmed.size() != text.size() && !trimmed.empty() && ReadInteger(trimmed))
    return FormatText(texts::kHasBlanks, {std::string(text)});
  return InvalidIntegerMessage(text);
}

std::optional<std::string> FieldProblem(const FieldRule& rule, std::string_view text) {
  if (rule.kind == FieldRule::Kind::kText || (text.empty() && rule.emptyAllowed))
    return std::nullopt;
  if (rule.kind == FieldRule::Kind::kFlag) {
    if (text == "0" || text == "1")
      return std::nullopt;
    return FormatText(texts::kNotAFlag, {std::string(text)});
  }
  const std::optional<std::int32_t> value = ReadInteger(text);
  if (!value)
    return NumberProblem(text);
  if (*value < rule.min || *value > rule.max) {
    return FormatText(texts::kOutsideRange,
                      {std::string(text), Bound(rule.min, rule.hex), Bound(rule.max, rule.hex)});
  }
  return std::nullopt;
}

bool FieldHoldsNothing(const FieldRule& rule, std::string_view text) {
  const std::string_view trimmed = Trim(text);
  return trimmed.empty() || (rule.kind == FieldRule::Kind::kFlag && trimmed == "0");
}

}  // namespace quastor
