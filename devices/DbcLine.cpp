#include "devices/DbcLine.h"

#include <charconv>
#include <cstring>

namespace quastor {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

void DbcLine::SkipBlanks() {
  while (pos_ < text_.size() && IsBlank(text_[pos_]))
    ++pos_;
}

bool DbcLine::AtEnd() {
  SkipBlanks();
  return pos_ >= text_.size();
}

char DbcLine::Peek() {
  SkipBlanks();
  return pos_ < text_.size() ? text_[pos_] : '\0';
}

bool DbcLine::Take(char c) {
  if (Peek() != c || c == '\0')
    return false;
  ++pos_;
  return true;
}

std::optional<std::string> DbcLine::Name() {
  SkipBlanks();
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != ':' && text_[pos_] != ',')
    ++pos_;
  if (pos_ == start)
    return std::nullopt;
  return std::string(text_.substr(start, pos_ - start));
}

std::optional<std::uint32_t> DbcLine::Unsigned(std::uint32_t max) {
  SkipBlanks();
  std::uint64_t value = 0;
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
    value = value * 10 + static_cast<std::uint64_t>(text_[pos_] - '0');
    if (value > max)
      return std::nullopt;
    ++pos_;
  }
  if (pos_ == start)
    return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<std::string> DbcLine::Real() {
  SkipBlanks();
  const std::size_t start = pos_;
  while (pos_ < text_.size() && std::strchr("0123456789.+-eE", text_[pos_]) != nullptr &&
         text_[pos_] != '\0')
    ++pos_;
  const std::string text(text_.substr(start, pos_ - start));
  if (!RealValue(text))
    return std::nullopt;
  return text;
}

std::optional<std::string> DbcLine::Quoted() {
  if (!Take('"'))
    return std::nullopt;
  std::string text;
  while (pos_ < text_.size() && text_[pos_] != '"') {
    if (text_[pos_] == '\\' && pos_ + 1 < text_.size())
      ++pos_;
    text += text_[pos_++];
  }
  if (pos_ >= text_.size())
    return std::nullopt;
  ++pos_;
  return text;
}

std::optional<double> RealValue(std::string_view text) {
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  if (text.empty() || text.front() == '+')
    return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

}  // namespace quastor
