#pragma once
// Small text helpers every reader shares: filling the "%s" and "%d" places of a message,
// trimming blanks, splitting lines, hexadecimal digits and letter case.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quastor {

// Replaces each "%s" or "%d" of pattern, in order, by the next value.
std::string FormatText(const std::string& pattern, const std::vector<std::string>& values);

// A count with its noun: "1 record", "2 records".
std::string Counted(std::size_t count, const char* singular, const char* plural);

// text without leading and trailing blanks and tabs.
std::string_view Trim(std::string_view text);
std::string_view TrimEnd(std::string_view text);

// The lines of text, each without its end (CR LF, LF or CR). A line end at the very end does
// not start another line, so "a\n" is one line and "" none.
std::vector<std::string_view> SplitLines(std::string_view text);

// The value of a hexadecimal digit of either case, or -1.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal without regard to the case of the letters A to Z.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace quastor
