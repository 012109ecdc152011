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

Status WriteXmlFileKeepingEncoding(const std::filesystem::path& file, std::string_view utf8) {
  TextEncoding encoding = TextEncoding::kUtf8;
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    if (const Result<std::string> old = ReadWholeFile(file))
      encoding = XmlFileEncoding(*old);
  }
  const Result<std::string> bytes = EncodeTextExactly(utf8, encoding);
  if (!bytes)
    return Failure{FormatText(kCannotCreateFile, {Utf8FromPath(file), bytes.error()})};
  return WriteFileOrCannotCreate(file, *bytes);
}

}  // namespace quastor
