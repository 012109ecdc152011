#pragma once
// The INI text under an EDS file: [sections] of key=value lines, each with the number of the
// line it stands on, so that a later complaint can name it. Comment lines begin with ";",
// blank lines are skipped; keys and section names keep their spelling but are looked up
// without regard to letter case, as the Windows profile functions do.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

struct IniKey {
  std::string key;
  std::string value;  // without the blanks around it
  int line = 0;
};

struct IniSection {
  std::string name;  // as written between the brackets
  int line = 0;
  std::vector<IniKey> keys;  // in file order

  // The key of this name in any letter case, or null.
  const IniKey* Find(std::string_view key) const;
};

struct IniText {
  std::vector<IniSection> sections;  // in file order
};

// "line N: reason" for a complaint about line N.
std::string LineMessage(int line, const std::string& reason);

// A line's text as a complaint quotes it: its first 80 bytes, cut before a character that
// would not fit whole, and "..." when more followed. A file that is no text at all (a binary
// file, one line of megabytes) then gives a message a window can still show.
std::string QuotedLine(std::string_view text);

// The sections of text (UTF-8). Fails, naming the line, on a line that is none of the three
// kinds, a key before the first section, a section or a key in one section given twice.
Result<IniText> ParseIni(std::string_view text);

// The name in lower case, for comparisons.
std::string LowerCase(std::string_view text);

}  // namespace quastor
