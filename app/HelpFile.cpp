#include "app/HelpFile.h"

#include <string>

#include "app/AppTexts.h"
#include "platform/FileReading.h"
#include "platform/TextCodec.h"

namespace quastor {

std::filesystem::path HelpFilePath(const AppState& state) {
  return state.AppDir / ("help" + std::to_string(ProductVariant) + ".dat");
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
  help.document.paragraphs.emplace_back();
  std::string line;
  auto end_line = [&] {
    if (!line.empty())
      help.document.paragraphs.back().runs.push_back(RtfRun{line});
    line.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
      end_line();
      help.document.paragraphs.emplace_back();
    } else {
      line += text[i];
    }
  }
  end_line();
  if (help.document.paragraphs.size() > 1 && help.document.paragraphs.back().runs.empty()) {
    help.document.paragraphs.pop_back();
  }
  return help;
}

}  // namespace quastor
