#pragma once
// Reading and writing one string of an INI file the way the Windows profile functions do:
// sections and keys match without regard to case, blanks around keys and values are dropped,
// a value in matching quotes loses them, nothing is escaped. Writing keeps every other line of
// the file, ends lines with CR LF and replaces the file atomically. Files with a UTF-16 byte
// order mark (as Windows writes them when asked for Unicode) are read and written as such; an
// 8-bit file becomes one when the value written holds a character its encoding cannot hold.

#include <filesystem>
#include <string>

#include "platform/Result.h"

namespace quastor {

std::string ReadProfileString(const std::filesystem::path& file, const std::string& section,
                              const std::string& key, const std::string& fallback);

// The failure message is the system's reason.
Status WriteProfileString(const std::filesystem::path& file, const std::string& section,
                          const std::string& key, const std::string& value);

}  // namespace quastor
