#include "platform/TextCodec.h"

#include <cstdint>

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
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t unit =
        static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const std::uint32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                                (static_cast<unsigned char>(bytes[i + 3]) << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, unit);
  }
  return out;
}

std::string ToUtf16Le(std::string_view utf8) {
  std::string out = "\xFF\xFE";
  auto put = [&out](std::uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
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

// Unmappable characters become "?", or, when exact, the whole text fails.
std::optional<std::string> ToCp1252(std::string_view utf8, bool exact) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::optional<char> byte = Cp1252Byte(NextCodePoint(utf8, i));
    if (!byte && exact)
      return std::nullopt;
    out += byte.value_or('?');
  }
  return out;
}

#ifdef _WIN32
// Converts between code pages through UTF-16. With exact, a character that the target code
// page cannot hold (no best-fit letter, no default character) fails the whole text.
std::optional<std::string> Convert(std::string_view bytes, UINT from, UINT to, bool exact) {
  if (bytes.empty())
    return std::string();
  const int wide_len = MultiByteToWideChar(from, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring wide(wide_len, L'\0');
  MultiByteToWideChar(from, 0, bytes.data(), int(bytes.size()), wide.data(), wide_len);
  // UTF-8 takes neither the flag nor the default-character question.
  const bool checked = exact && to != CP_UTF8;
  const DWORD flags = checked ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL used_default = FALSE;
  BOOL* ask = checked ? &used_default : nullptr;
  const int len = WideCharToMultiByte(to, flags, wide.data(), wide_len, nullptr, 0, nullptr, ask);
  std::string out(len, '\0');
  WideCharToMultiByte(to, flags, wide.data(), wide_len, out.data(), len, nullptr, ask);
  if (used_default)
    return std::nullopt;
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
    text = *Convert(bytes, CP_ACP, CP_UTF8, false);
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

std::optional<std::string> EncodeTextExactly(std::string_view utf8, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16Le:
      return ToUtf16Le(utf8);
    case TextEncoding::kUtf8Bom:
      return "\xEF\xBB\xBF" + std::string(utf8);
    case TextEncoding::kWindows1252:
      return ToCp1252(utf8, true);
    case TextEncoding::kLocal:
      break;
  }
#ifdef _WIN32
  return Convert(utf8, CP_UTF8, CP_ACP, true);
#else
  return std::string(utf8);
#endif
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kWindows1252:
      return *ToCp1252(utf8, false);
#ifdef _WIN32
    case TextEncoding::kLocal:
      return *Convert(utf8, CP_UTF8, CP_ACP, false);
#endif
    default:
      return *EncodeTextExactly(utf8, encoding);
  }
}

std::optional<char> Windows1252Byte(std::uint32_t code_point) {
  return Cp1252Byte(code_point);
}

}  // namespace quastor
