#pragma once
// The encoding of a project's XML file, kept from reading to writing: a file that Windows
// programs saved as 8-bit text, as UTF-16 or as UTF-8 with a byte order mark is written back
// the same way, so that OK without edits gives the same bytes and no letter is re-encoded.

#include <filesystem>
#include <string_view>

#include "platform/Result.h"
#include "platform/TextCodec.h"

namespace quastor {

// How XmlDocument reads bytes: UTF-16 by its byte order mark, UTF-8 (with or without mark)
// when the bytes are valid UTF-8, else Windows-1252. Other marks (UTF-32) give kUtf8: what
// such a file holds is written back as UTF-8, which every reader of the file takes.
TextEncoding XmlFileEncoding(std::string_view bytes);

// Writes XML text (UTF-8) to file atomically, in the encoding the file has now (kUtf8 for a
// new or unreadable file). A character that encoding cannot hold fails the write with the
// "Cannot create file" message naming it, and the file stays as it was.
Status WriteXmlFileKeepingEncoding(const std::filesystem::path& file, std::string_view utf8);

}  // namespace quastor
