#pragma once
// The platform's own words that the subsystems show as they stand: why a field's text cannot
// stand in its field. The number conversion's message is InvalidIntegerMessage's.

namespace quastor::platform_texts {

// A number with blanks after it (the reading takes leading blanks only).
inline constexpr char kHasBlanks[] = "'%s' has blanks";
// The text, then the range's ends as the field tells them.
inline constexpr char kOutsideRange[] = "'%s' lies outside %s to %s";
inline constexpr char kNotAFlag[] = "'%s' is neither 0 nor 1";

}  // namespace quastor::platform_texts
