#include "platform/XmlFileEncoding.h"

#include <string>

#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {

TextEncoding XmlFileEncoding(std::string_view bytes) {
  auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  using namespace std::string_view_literals;
  if (starts("\xFF\xFE\x00\x00"sv) || starts("\x00\x00\xFE\xFF"sv))
    return TextEncoding::kUtf8;
  if (starts("\xFF\xFE"sv))
    return TextEncoding::kUtf16Le;
  if (starts("\xFE\xFF"sv))
    return TextEncoding::kUtf16Be;
  if (!IsValidUtf8(bytes))
    return TextEncoding::kWindows1252;
  return starts("\xEF\xBB\xBF"sv) ? TextEncoding::kUtf8Bom : TextEncoding::kUtf8;
}

namespace {

// The XML declaration that text (UTF-8, no byte order mark) begins with, with the line end or
// blanks after it; empty when it has none.
std::string_view DeclarationOf(std::string_view text) {
  if (text.substr(0, 5) != "<?xml")
    return {};
  std::size_t end = text.find("?>");
  if (end == std::string_view::npos)
    return {};
  end += 2;
  while (end < text.size() &&
         (text[end] == '\r' || text[end] == '\n' || text[end] == ' ' || text[end] == '\t'))
    ++end;
  return text.substr(0, end);
}

// Whether the declaration names an 8-bit encoding: a file of ASCII alone reads as UTF-8, but
// what is added to it must be written as the declaration says.
bool DeclaresEightBits(std::string_view declaration) {
  std::string lower(declaration);
  for (char& c : lower)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  for (const char* name : {"windows-1252", "iso-8859-1", "latin1", "latin-1", "cp1252"}) {
    if (lower.find(std::string("encoding=\"") + name + "\"") != std::string::npos ||
        lower.find(std::string("encoding='") + name + "'") != std::string::npos)
      return true;
  }
  return false;
}

}  // namespace

Status WriteXmlFileKeepingEncoding(const std::filesystem::path& file, std::string_view utf8) {
  TextEncoding encoding = TextEncoding::kUtf8;
  std::string text;
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    if (const Result<std::string> old = ReadWholeFile(file)) {
      encoding = XmlFileEncoding(*old);
      // A declaration the file had stays: without it, other XML readers take 8-bit or UTF-16
      // text for UTF-8 and refuse it.
      TextEncoding decoded = encoding;
      std::string old_text = DecodeText(*old, &decoded);
      if (old_text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        old_text.erase(0, 3);
      const std::string_view declaration = DeclarationOf(old_text);
      if (encoding == TextEncoding::kUtf8 && DeclaresEightBits(declaration))
        encoding = TextEncoding::kWindows1252;
      if (DeclarationOf(utf8).empty())
        text = declaration;
    }
  }
  text += utf8;
  const Result<std::string> bytes = EncodeTextExactly(text, encoding);
  if (!bytes)
    return Failure{FormatText(kCannotCreateFile, {Utf8FromPath(file), bytes.error()})};
  return WriteFileOrCannotCreate(file, *bytes);
}

}  // namespace quastor
