#include "platform/SettingsFile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"

namespace quastor {
namespace {

struct IniText {
  TextEncoding encoding = TextEncoding::kLocal;
  std::vector<std::string> lines;  // UTF-8, without line ends
};

std::string Trim(const std::string& text) {
  return std::string(quastor::Trim(text));
}

bool SameName(const std::string& a, const std::string& b) {
  return EqualsIgnoringCase(a, b);
}

std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != '[')
    return std::nullopt;
  const auto close = trimmed.find(']');
  return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// Key of a "key=value" line, trimmed; nothing for lines without "=".
std::optional<std::string> KeyName(const std::string& line) {
  const auto equals = line.find('=');
  if (equals == std::string::npos)
    return std::nullopt;
  return Trim(line.substr(0, equals));
}

std::optional<IniText> Load(const std::filesystem::path& file) {
  const Result<std::string> bytes = ReadWholeFile(file);
  if (!bytes)
    return std::nullopt;
  IniText ini;
  const std::string text = DecodeText(*bytes, &ini.encoding);
  for (const std::string_view line : SplitLines(text))
    ini.lines.emplace_back(line);
  return ini;
}

// Index range [begin, end) of the section's lines after its header, or nothing.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const IniText& ini,
                                                               const std::string& section) {
  for (std::size_t i = 0; i < ini.lines.size(); ++i) {
    const auto name = SectionName(ini.lines[i]);
    if (!name || !SameName(*name, section))
      continue;
    std::size_t end = i + 1;
    while (end < ini.lines.size() && !SectionName(ini.lines[end]))
      ++end;
    return std::make_pair(i + 1, end);
  }
  return std::nullopt;
}

}  // namespace

std::string ReadProfileString(const std::filesystem::path& file, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  const auto ini = Load(file);
  if (!ini)
    return fallback;
  const auto range = FindSection(*ini, section);
  if (!range)
    return fallback;
  for (std::size_t i = range->first; i < range->second; ++i) {
    const std::string& line = ini->lines[i];
    const auto name = KeyName(line);
    if (!name || !SameName(*name, key))
      continue;
    std::string value = Trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return fallback;
}

Status WriteProfileString(const std::filesystem::path& file, const std::string& section,
                          const std::string& key, const std::string& value) {
  IniText ini;
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    // Never replace a file that exists but cannot be read: its other lines would be lost.
    auto loaded = Load(file);
    if (!loaded) {
      const Result<std::string> reason = ReadWholeFile(file);
      return Failure{reason ? std::string("unreadable") : reason.error()};
    }
    ini = std::move(*loaded);
  }
  const std::string entry = key + "=" + value;
  if (const auto range = FindSection(ini, section)) {
    bool replaced = false;
    std::size_t last_content = range->first;  // insert after the section's last non-empty line
    for (std::size_t i = range->first; i < range->second; ++i) {
      if (!Trim(ini.lines[i]).empty())
        last_content = i + 1;
      const auto name = KeyName(ini.lines[i]);
      if (!replaced && name && SameName(*name, key)) {
        ini.lines[i] = entry;
        replaced = true;
      }
    }
    if (!replaced)
      ini.lines.insert(ini.lines.begin() + static_cast<long>(last_content), entry);
  } else {
    if (!ini.lines.empty() && !Trim(ini.lines.back()).empty())
      ini.lines.emplace_back();
    ini.lines.push_back("[" + section + "]");
    ini.lines.push_back(entry);
  }
  const std::string text = JoinCrLf(ini.lines);
  // A value the file's 8-bit encoding cannot hold turns the whole file into UTF-16 with its
  // byte order mark, which the profile functions read as well: a "?" in its place would name
  // another project at the next start.
  const Result<std::string> bytes = EncodeTextExactly(text, ini.encoding);
  return WriteFileAtomic(file, bytes ? *bytes : EncodeText(text, TextEncoding::kUtf16Le));
}

}  // namespace quastor
