#include "app/HelpFile.h"

#include <string>
#include <system_error>

#include "app/AppTexts.h"
#include "platform/FileReading.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"

namespace quastor {

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

}  // namespace quastor
