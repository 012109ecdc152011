#include "platform/XmlFileEncoding.h"

#include <regex>
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
// blanks after it; empty when it has none, or one that XML readers would refuse (only a
// well-formed declaration is worth keeping).
std::string_view DeclarationOf(std::string_view text) {
  static const std::regex kDeclaration(
      R"re(<\?xml[ \t\r\n]+version[ \t\r\n]*=[ \t\r\n]*("1\.[0-9]+"|'1\.[0-9]+'))re"
      R"re(([ \t\r\n]+encoding[ \t\r\n]*=[ \t\r\n]*("[A-Za-z][A-Za-z0-9._-]*"|'[A-Za-z][A-Za-z0-9._-]*'))?)re"
      R"re(([ \t\r\n]+standalone[ \t\r\n]*=[ \t\r\n]*("(yes|no)"|'(yes|no)'))?)re"
      R"re([ \t\r\n]*\?>[ \t\r\n]*)re");
  if (text.substr(0, 5) != "<?xml")
    return {};
  const std::size_t end = text.find("?>");
  if (end == std::string_view::npos || end > 512)
    return {};
  std::size_t after = end + 2;
  while (after < text.size() &&
         (text[after] == '\r' || text[after] == '\n' || text[after] == ' ' || text[after] == '\t'))
    ++after;
  const std::string_view declaration = text.substr(0, after);
  if (!std::regex_match(declaration.begin(), declaration.end(), kDeclaration))
    return {};
  return declaration;
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
