#include "platform/TextCodec.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quastor {
namespace {

// Windows-1252 code points of the bytes 0x80 to 0x9F (0 where the byte is undefined).
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Next code point of valid UTF-8 text at i (advanced past it).
std::uint32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
  std::uint32_t cp = extra == 0   ? b
                     : extra == 1 ? (b & 0x1F)
                     : extra == 2 ? (b & 0x0F)
                                  : (b & 0x07);
  ++i;
  for (; extra > 0 && i < s.size(); --extra, ++i)
    cp = (cp << 6) | (s[i] & 0x3F);
  return cp;
}

std::string FromUtf16Le(std::string_view bytes) {
  std::string out;
  const auto unit_at = [&bytes](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t unit = unit_at(i);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const std::uint32_t low = unit_at(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, unit);
  }
  return out;
}

std::string ToUtf16(std::string_view utf8, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  auto put = [&out, big_endian](std::uint32_t unit) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const std::uint32_t cp = NextCodePoint(utf8, i);
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

std::string FromCp1252(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b < 0xA0) {
      const std::uint16_t cp = kCp1252High[b - 0x80];
      AppendUtf8(out, cp != 0 ? cp : b);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

// The Windows-1252 byte of a code point, or nothing when the code page has none.
std::optional<char> Cp1252Byte(std::uint32_t cp) {
  // The bytes that Windows-1252 leaves undefined were read as the code points of the same
  // number (FromCp1252) and go back as those bytes, so that a file read and written again
  // keeps them.
  if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100) || (cp < 0xA0 && kCp1252High[cp - 0x80] == 0))
    return static_cast<char>(cp);
  for (int k = 0; k < 32; ++k) {
    if (kCp1252High[k] == cp)
      return static_cast<char>(0x80 + k);
  }
  return std::nullopt;
}

// The Windows-1252 bytes of utf8; a character without one becomes "?", or, with refused set,
// ends the encoding and is stored there.
std::string ToCp1252(std::string_view utf8, std::optional<std::uint32_t>* refused = nullptr) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::uint32_t cp = NextCodePoint(utf8, i);
    const std::optional<char> byte = Cp1252Byte(cp);
    if (!byte && refused != nullptr) {
      *refused = cp;
      return out;
    }
    out += byte.value_or('?');
  }
  return out;
}

Failure CannotHold(TextEncoding encoding, std::uint32_t cp) {
  std::string character;
  AppendUtf8(character, cp);
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
  return Failure{std::string(EncodingName(encoding)) + " text cannot hold the character \"" +
                 character + "\" (" + code + ")."};
}

#ifdef _WIN32
// The first character of utf8 that the ANSI code page has no byte for.
std::optional<std::uint32_t> FirstNotInAnsi(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    NextCodePoint(utf8, i);
    wchar_t wide[2];
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data() + start, int(i - start), wide, 2);
    BOOL defaulted = FALSE;
    char bytes[8];
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, bytes, sizeof bytes, nullptr,
                        &defaulted);
    if (defaulted) {
      std::size_t at = start;
      return NextCodePoint(utf8, at);
    }
  }
  return std::nullopt;
}

std::string Convert(std::string_view bytes, UINT from, UINT to) {
  if (bytes.empty())
    return {};
  const int wide_len = MultiByteToWideChar(from, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring wide(wide_len, L'\0');
  MultiByteToWideChar(from, 0, bytes.data(), int(bytes.size()), wide.data(), wide_len);
  const int len = WideCharToMultiByte(to, 0, wide.data(), wide_len, nullptr, 0, nullptr, nullptr);
  std::string out(len, '\0');
  WideCharToMultiByte(to, 0, wide.data(), wide_len, out.data(), len, nullptr, nullptr);
  return out;
}
#endif

}  // namespace

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  return FromCp1252(bytes);
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b < 0xE0) {
      extra = 1;
    } else if (b >= 0xE0 && b < 0xF0) {
      extra = 2;
    } else if (b >= 0xF0 && b < 0xF5) {
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= s.size())
      return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
        return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string DecodeText(std::string_view bytes, TextEncoding* encoding) {
  TextEncoding found = TextEncoding::kLocal;
  std::string text;
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") {
    found = TextEncoding::kUtf16Le;
    text = FromUtf16Le(bytes.substr(2));
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    found = TextEncoding::kUtf8Bom;
    text = std::string(bytes.substr(3));
  } else {
#ifdef _WIN32
    text = Convert(bytes, CP_ACP, CP_UTF8);
#else
    if (IsValidUtf8(bytes)) {
      text = std::string(bytes);
    } else {
      found = TextEncoding::kWindows1252;
      text = FromCp1252(bytes);
    }
#endif
  }
  if (encoding != nullptr)
    *encoding = found;
  return text;
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16Le:
      return ToUtf16(utf8, false);
    case TextEncoding::kUtf16Be:
      return ToUtf16(utf8, true);
    case TextEncoding::kUtf8:
      return std::string(utf8);
    case TextEncoding::kUtf8Bom:
      return "\xEF\xBB\xBF" + std::string(utf8);
    case TextEncoding::kWindows1252:
      return ToCp1252(utf8);
    case TextEncoding::kLocal:
      break;
  }
#ifdef _WIN32
  return Convert(utf8, CP_UTF8, CP_ACP);
#else
  return std::string(utf8);
#endif
}

Result<std::string> EncodeTextExactly(std::string_view utf8, TextEncoding encoding) {
  std::optional<std::uint32_t> refused;
  if (encoding == TextEncoding::kWindows1252) {
    std::string bytes = ToCp1252(utf8, &refused);
    if (refused)
      return CannotHold(encoding, *refused);
    return bytes;
  }
#ifdef _WIN32
  if (encoding == TextEncoding::kLocal) {
    refused = FirstNotInAnsi(utf8);
    if (refused)
      return CannotHold(encoding, *refused);
  }
#endif
  return EncodeText(utf8, encoding);
}

std::optional<char> Windows1252Byte(std::uint32_t code_point) {
  return Cp1252Byte(code_point);
}

const char* EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kLocal:
#ifdef _WIN32
      return "ANSI code page";
#else
      return "UTF-8";
#endif
    case TextEncoding::kUtf8:
    case TextEncoding::kUtf8Bom:
      return "UTF-8";
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
      return "UTF-16";
    case TextEncoding::kWindows1252:
      return "Windows-1252";
  }
  return "UTF-8";
}

bool MixesUtf8WithOtherBytes(std::string_view bytes) {
  if (IsValidUtf8(bytes))
    return false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const int extra = b >= 0xC2 && b < 0xE0   ? 1
                      : b >= 0xE0 && b < 0xF0 ? 2
                      : b >= 0xF0 && b < 0xF5 ? 3
                                              : 0;
    if (extra > 0 && IsValidUtf8(bytes.substr(i, static_cast<std::size_t>(extra) + 1)))
      return true;
  }
  return false;
}

}  // namespace quastor
