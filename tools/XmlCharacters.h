#pragma once
// The byte classes of the XML tool's parser: which bytes make names, which are whitespace and
// which end a run of character data or of a quoted value. One table lookup per byte.

#include <array>

namespace quastor::xml_characters {

inline constexpr unsigned kNameStart = 1;
inline constexpr unsigned kNameChar = 2;
inline constexpr unsigned kSpace = 4;
inline constexpr unsigned kTextStop = 8;           // ends a run of character data: "<", "&", "]"
inline constexpr unsigned kEndsDoubleQuoted = 16;  // ends a run of a value in double quotes
inline constexpr unsigned kEndsSingleQuoted = 32;  // ends a run of a value in single quotes

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    unsigned bits = 0;
    if (letter || c == '_' || c == ':')
      bits |= kNameStart | kNameChar;
    if (digit || c == '.' || c == '-' || c == 0xB7)
      bits |= kNameChar;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
      bits |= kSpace;
    if (c == '<' || c == '&' || c == ']')
      bits |= kTextStop;
    if (c == '<' || c == '&' || c == '"')
      bits |= kEndsDoubleQuoted;
    if (c == '<' || c == '&' || c == '\'')
      bits |= kEndsSingleQuoted;
    classes[c] = static_cast<unsigned char>(bits);
  }
  return classes;
}
inline constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

inline bool Is(char c, unsigned what) {
  return (kClasses[static_cast<unsigned char>(c)] & what) != 0;
}

}  // namespace quastor::xml_characters
