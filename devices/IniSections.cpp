#include "devices/IniSections.h"

#include <unordered_map>
#include <unordered_set>

#include "devices/DeviceTexts.h"
#include "platform/Text.h"

namespace quastor {

namespace texts = device_texts;

const IniKey* IniSection::Find(std::string_view key) const {
  for (const IniKey& entry : keys) {
    if (EqualsIgnoringCase(entry.key, key))
      return &entry;
  }
  return nullptr;
}

std::string LineMessage(int line, const std::string& reason) {
  return "line " + std::to_string(line) + ": " + reason;
}

std::string QuotedLine(std::string_view text) {
  constexpr std::size_t kShownBytes = 80;
  if (text.size() <= kShownBytes)
    return std::string(text);
  std::size_t cut = kShownBytes;
  // Back to the first byte of a UTF-8 character.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
    --cut;
  return std::string(text.substr(0, cut)) + "...";
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = AsciiLower(c);
  return lower;
}

Result<IniText> ParseIni(std::string_view text) {
  IniText ini;
  std::unordered_map<std::string, int> section_lines;  // lower-case name -> its line
  std::unordered_set<std::string> keys_here;           // lower-case keys of the open section
  const std::vector<std::string_view> lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const std::string_view line = Trim(lines[i]);
    if (line.empty() || line.front() == ';')
      continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close == std::string_view::npos)
        return Failure{
            LineMessage(number, FormatText(texts::kEdsSectionUnclosed, {QuotedLine(line)}))};
      const std::string name(Trim(line.substr(1, close - 1)));
      const auto [first, added] = section_lines.emplace(LowerCase(name), number);
      if (!added) {
        return Failure{
            LineMessage(number, FormatText(texts::kEdsSectionTwice,
                                           {QuotedLine(name), std::to_string(first->second)}))};
      }
      ini.sections.push_back({name, number, {}});
      keys_here.clear();
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0)
      return Failure{LineMessage(number, FormatText(texts::kEdsNotALine, {QuotedLine(line)}))};
    const std::string key(TrimEnd(line.substr(0, equals)));
    if (ini.sections.empty())
      return Failure{
          LineMessage(number, FormatText(texts::kEdsKeyOutsideSection, {QuotedLine(key)}))};
    IniSection& section = ini.sections.back();
    if (!keys_here.insert(LowerCase(key)).second)
      return Failure{LineMessage(
          number, FormatText(texts::kEdsKeyTwice, {QuotedLine(key), QuotedLine(section.name)}))};
    section.keys.push_back({key, std::string(Trim(line.substr(equals + 1))), number});
  }
  return ini;
}

}  // namespace quastor
