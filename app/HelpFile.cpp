#include "app/HelpFile.h"

#include <string>
#include <system_error>

#include "app/AppTexts.h"
#include "platform/FileReading.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"

namespace quastor {
namespace {

// A heading or a caption as the two are compared: up to the first " (", without blanks around
// or dots at the end, in lower case.
std::string HeadingKey(std::string_view text) {
  text = text.substr(0, text.find(" ("));
  text = Trim(text);
  while (!text.empty() && text.back() == '.')
    text.remove_suffix(1);
  text = Trim(text);
  std::string key;
  for (const char c : text)
    key += AsciiLower(c);
  return key;
}

}  // namespace

std::filesystem::path HelpFilePath(const AppState& state) {
  const std::string name = "help" + std::to_string(ProductVariant) + ".dat";
  const std::filesystem::path own = state.AppDir / name;
  std::error_code ec;
  // symlink_status: a help file of the user's own, even a broken link, is the one shown.
  if (state.DataDir.empty() ||
      std::filesystem::symlink_status(own, ec).type() != std::filesystem::file_type::not_found) {
    return own;
  }
  return state.DataDir / name;
}

Result<HelpText> LoadHelpFile(const std::filesystem::path& file) {
  const Result<std::string> read = ReadWholeFile(file);
  if (!read)
    return Failure{app_texts::kHelpUnreadable};
  const std::string& bytes = *read;

  HelpText help;
  if (LooksLikeRtf(bytes)) {
    help.rich = true;
    help.document = ReadRtf(bytes);
    return help;
  }
  const std::string text = DecodeText(bytes, nullptr);
  for (const std::string_view line : SplitLines(text)) {
    help.document.paragraphs.emplace_back();
    if (!line.empty())
      help.document.paragraphs.back().runs.push_back(RtfRun{std::string(line)});
  }
  if (help.document.paragraphs.empty())
    help.document.paragraphs.emplace_back();
  return help;
}

std::optional<std::size_t> HelpSection(const RtfDocument& document, std::string_view caption) {
  const std::string key = HeadingKey(caption);
  if (key.empty())
    return std::nullopt;
  for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
    std::string text;
    for (const RtfRun& run : document.paragraphs[p].runs)
      text += run.text;
    if (HeadingKey(text) == key)
      return p;
  }
  return std::nullopt;
}

}  // namespace quastor
