#pragma once
// Text files as the system meets them: UTF-8 (with or without byte order mark), UTF-16 LE
// with its byte order mark, and 8-bit text from Windows (the ANSI code page on Windows,
// Windows-1252 elsewhere when the bytes are not valid UTF-8). Inside the program text is UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace quastor {

// kLocal: UTF-8 when the bytes are valid UTF-8, else the system's 8-bit text (read), and the
// ANSI code page on Windows (written). kUtf8 and kUtf16Be are named only by XML files.
enum class TextEncoding { kLocal, kUtf8, kUtf8Bom, kUtf16Le, kUtf16Be, kWindows1252 };

// Decodes bytes into UTF-8 and tells which encoding they were in.
std::string DecodeText(std::string_view bytes, TextEncoding* encoding);

// Encodes UTF-8 text into the given encoding (unmappable characters become "?").
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

// Encodes UTF-8 text into the given encoding, or names the first character the encoding cannot
// hold (only Windows-1252 and kLocal on Windows cannot hold every character).
Result<std::string> EncodeTextExactly(std::string_view utf8, TextEncoding encoding);

// The Windows-1252 byte of a Unicode code point, or nothing. The bytes that Windows-1252 leaves
// undefined stand for the code points of the same number, as the decoder reads them.
std::optional<char> Windows1252Byte(std::uint32_t code_point);

// The encoding's name as messages give it ("Windows-1252", "UTF-16", ...).
const char* EncodingName(TextEncoding encoding);

bool IsValidUtf8(std::string_view bytes);

// Whether bytes hold UTF-8 sequences of two or more bytes beside bytes that are not UTF-8:
// such text reads as Windows-1252 as a whole, and each of its UTF-8 letters as several.
bool MixesUtf8WithOtherBytes(std::string_view bytes);

// Appends the UTF-8 form of a Unicode code point.
void AppendUtf8(std::string& out, std::uint32_t code_point);

std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace quastor
