#pragma once
// The character encodings of the files that the XML tool reads and writes: the encoding a
// declaration names, whether a character has a place in an encoding, and the conversions
// between a file's bytes and the UTF-8 text that the window shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quastor {

// kOther is an encoding that the tool does not know: it passes such bytes on as they are and
// gives a place in them to ASCII characters only.
enum class XmlEncoding : std::uint8_t { kUtf8, kLatin1, kWindows1252, kAscii, kOther };

// The encoding a declaration names: "UTF-8", "ISO-8859-1", "windows-1252", "US-ASCII" and
// their usual other names, without regard to case; kOther for any other name.
XmlEncoding XmlEncodingNamed(std::string_view name);

// The encoding's name as a message gives it.
const char* XmlEncodingName(XmlEncoding encoding);

// Appends the code point's bytes in the encoding; false when the encoding has no place for
// it. Surrogates and values past U+10FFFF are no characters and have no place anywhere.
bool AppendInEncoding(std::string& out, std::uint32_t code_point, XmlEncoding encoding);

// Bytes of the encoding as UTF-8 text. Bytes of kAscii and kOther, and bytes that are not
// UTF-8 after all, are taken as Windows-1252, the tool's reading of 8-bit text.
std::string XmlBytesToUtf8(std::string_view bytes, XmlEncoding encoding);

// UTF-8 text as bytes of the encoding, or nothing when a character of it has no place there.
std::optional<std::string> Utf8ToXmlBytes(std::string_view utf8, XmlEncoding encoding);

}  // namespace quastor
