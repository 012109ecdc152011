#include "tools/XmlEncoding.h"

#include "platform/Text.h"
#include "platform/TextCodec.h"

namespace quastor {
namespace {

// The next code point of UTF-8 text at i (advanced past it), or nothing for bytes that are
// not UTF-8 of a character.
std::optional<std::uint32_t> NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80)
    return lead;
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0 || i + static_cast<std::size_t>(extra) > text.size())
    return std::nullopt;
  std::uint32_t code_point = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i++]);
    if ((next & 0xC0) != 0x80)
      return std::nullopt;
    code_point = (code_point << 6) | (next & 0x3F);
  }
  static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (code_point < kLeast[extra])
    return std::nullopt;
  return code_point;
}

bool IsCharacter(std::uint32_t code_point) {
  return code_point <= 0x10FFFF && (code_point < 0xD800 || code_point > 0xDFFF);
}

}  // namespace

XmlEncoding XmlEncodingNamed(std::string_view name) {
  const auto is = [name](std::initializer_list<const char*> names) {
    for (const char* known : names) {
      if (EqualsIgnoringCase(name, known))
        return true;
    }
    return false;
  };
  if (is({"UTF-8", "UTF8"}))
    return XmlEncoding::kUtf8;
  if (is({"ISO-8859-1", "ISO_8859-1", "ISO8859-1", "latin1", "l1", "ISO-IR-100", "CP819"}))
    return XmlEncoding::kLatin1;
  if (is({"windows-1252", "cp1252"}))
    return XmlEncoding::kWindows1252;
  if (is({"US-ASCII", "ASCII", "ANSI_X3.4-1968", "ISO646-US"}))
    return XmlEncoding::kAscii;
  return XmlEncoding::kOther;
}

const char* XmlEncodingName(XmlEncoding encoding) {
  switch (encoding) {
    case XmlEncoding::kUtf8:
      return "UTF-8";
    case XmlEncoding::kLatin1:
      return "ISO-8859-1";
    case XmlEncoding::kWindows1252:
      return "Windows-1252";
    case XmlEncoding::kAscii:
      return "US-ASCII";
    case XmlEncoding::kOther:
      break;
  }
  return "the file's encoding";
}

bool AppendInEncoding(std::string& out, std::uint32_t code_point, XmlEncoding encoding) {
  if (!IsCharacter(code_point))
    return false;
  switch (encoding) {
    case XmlEncoding::kUtf8:
      AppendUtf8(out, code_point);
      return true;
    case XmlEncoding::kLatin1:
      if (code_point > 0xFF)
        return false;
      break;
    case XmlEncoding::kWindows1252:
      if (const std::optional<char> byte = Windows1252Byte(code_point)) {
        out += *byte;
        return true;
      }
      return false;
    case XmlEncoding::kAscii:
    case XmlEncoding::kOther:
      if (code_point > 0x7F)
        return false;
      break;
  }
  out += static_cast<char>(code_point);
  return true;
}

std::string XmlBytesToUtf8(std::string_view bytes, XmlEncoding encoding) {
  if (encoding == XmlEncoding::kLatin1) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes)
      AppendUtf8(text, static_cast<unsigned char>(c));
    return text;
  }
  if (encoding == XmlEncoding::kUtf8 && IsValidUtf8(bytes))
    return std::string(bytes);
  return Windows1252ToUtf8(bytes);
}

std::optional<std::string> Utf8ToXmlBytes(std::string_view utf8, XmlEncoding encoding) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::optional<std::uint32_t> code_point = NextCodePoint(utf8, i);
    if (!code_point || !AppendInEncoding(bytes, *code_point, encoding))
      return std::nullopt;
  }
  return bytes;
}

}  // namespace quastor
