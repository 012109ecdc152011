#pragma once
// The pieces of one line of a DBC file as the message and signal statements write them:
// names, whole numbers, real numbers with their text, quoted text and single marks, with blanks
// between them where the writer put some.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quastor {

class DbcLine {
 public:
  explicit DbcLine(std::string_view text) : text_(text) {}

  void SkipBlanks();
  bool AtEnd();
  // The mark c after blanks, taken when it is there.
  bool Take(char c);
  // The next char after blanks, or '\0' at the end.
  char Peek();
  // A name: the characters up to a blank, ':' or ',', at least one.
  std::optional<std::string> Name();
  // Decimal digits of a value up to max.
  std::optional<std::uint32_t> Unsigned(std::uint32_t max);
  // A real number ("-1.5e3", "+2"), its text as written.
  std::optional<std::string> Real();
  // Text between double quotes, a backslash taking the next character as it is.
  std::optional<std::string> Quoted();
  std::string_view Rest() const { return text_.substr(pos_); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The value of a real number's text as DbcLine::Real gives it, whatever the locale.
std::optional<double> RealValue(std::string_view text);

}  // namespace quastor
