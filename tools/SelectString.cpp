#include "tools/SelectString.h"

#include <system_error>

#include "app/AppState.h"
#include "platform/XmlDocument.h"
#include "tools/ToolsTexts.h"

namespace quastor {

StringsLoad LoadStrings(const std::filesystem::path& file) {
  StringsLoad load;
  std::error_code error;
  if (file.empty() || !std::filesystem::is_regular_file(file, error)) {
    load.messages.push_back(tools_texts::kStringsNotFound);
    return load;
  }
  XmlDocument document;
  if (!document.Load(file)) {
    load.messages.push_back(tools_texts::kErrorReadingXml);
    return load;
  }
  for (const XmlNode& node : document.DocumentElement().Children()) {
    if (load.strings.size() == static_cast<std::size_t>(kStringRows))
      break;
    load.strings.push_back(node.Text());
  }
  return load;
}

std::filesystem::path ProjectStringsFile(const AppState& state) {
  if (!state.ProjectSelected())
    return {};
  return state.ProjectDir / tools_texts::kStringsFileName;
}

}  // namespace quastor
