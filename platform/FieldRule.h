#pragma once
// What a field of a table may hold, as the tables' lists of fields state it once for the
// editors' OK and the project check alike: free text, a flag ("0" or "1"), or an integer in
// the one syntax of integer text within a range. The text is never rewritten: a value typed as
// 0x1A00 stays 0x1A00, and only text that a later reading would refuse, or that lies outside
// what the field can hold, is refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quastor {

struct FieldRule {
  enum class Kind { kText, kFlag, kInteger };
  Kind kind = Kind::kText;
  std::int32_t min = 0;
  std::int32_t max = 0;
  bool emptyAllowed = false;  // an empty text stands for "not set" (flags: for 0)
  bool hex = false;           // the range is told in hexadecimal

  static constexpr FieldRule Text() { return FieldRule{}; }
  static constexpr FieldRule Flag() { return FieldRule{Kind::kFlag, 0, 1, true, false}; }
  static constexpr FieldRule Integer(std::int32_t low, std::int32_t high, bool in_hex = false) {
    return FieldRule{Kind::kInteger, low, high, false, in_hex};
  }
  // The same rule, with an empty text allowed.
  constexpr FieldRule OrEmpty() const {
    FieldRule rule = *this;
    rule.emptyAllowed = true;
    return rule;
  }
};

// Why text does not read as an integer: "'%s' has blanks" for a number that reads once the
// blanks around it are gone, else the number conversion's message; nothing when it reads.
std::optional<std::string> NumberProblem(std::string_view text);

// Why text cannot stand in a field of rule: the number conversion's message, "'%s' has
// blanks" for a number that reads once the blanks around it are gone, "'%s' lies outside %s
// to %s", or "'%s' is neither 0 nor 1"; nothing when it fits.
std::optional<std::string> FieldProblem(const FieldRule& rule, std::string_view text);

// Whether text holds nothing for the field: empty or blanks only, and "0" for a flag.
bool FieldHoldsNothing(const FieldRule& rule, std::string_view text);

}  // namespace quastor
