#pragma once
// Text files as the system meets them: UTF-8 (with or without byte order mark), UTF-16 LE
// with its byte order mark, and 8-bit text from Windows (the ANSI code page on Windows,
// Windows-1252 elsewhere when the bytes are not valid UTF-8). Inside the program text is UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quastor {

enum class TextEncoding { kLocal, kUtf8Bom, kUtf16Le, kWindows1252 };

// Decodes bytes into UTF-8 and tells which encoding they were in.
std::string DecodeText(std::string_view bytes, TextEncoding* encoding);

// Encodes UTF-8 text into the given encoding (unmappable characters become "?").
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

// Encodes UTF-8 text into the given encoding, or nothing when a character of it has no place
// there: for writers that must not put "?" in place of a name.
std::optional<std::string> EncodeTextExactly(std::string_view utf8, TextEncoding encoding);

// The Windows-1252 byte of a Unicode code point, or nothing. The bytes that Windows-1252 leaves
// undefined stand for the code points of the same number, as the decoder reads them.
std::optional<char> Windows1252Byte(std::uint32_t code_point);

bool IsValidUtf8(std::string_view bytes);

// Appends the UTF-8 form of a Unicode code point.
void AppendUtf8(std::string& out, std::uint32_t code_point);

std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace quastor
