// Any bytes as a project's strings file (the string picker's): loading ends without a fault,
// with at most 1,000 strings, all of them UTF-8 the grid can show, or with no string and the
// one message "Error in reading file XML".
//
//   strings_file_fuzzer fuzz/corpus/strings_file

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzFiles.h"
#include "platform/TextCodec.h"
#include "tools/SelectString.h"
#include "tools/ToolsTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quastor;
  using fuzz::Require;
  const auto file =
      fuzz::Put("strings.xml", std::string_view(reinterpret_cast<const char*>(data), size));
  const StringsLoad load = LoadStrings(file);
  Require(load.strings.size() <= static_cast<std::size_t>(kStringRows), "at most 1,000 strings");
  if (!load.messages.empty()) {
    Require(load.messages.size() == 1 && load.messages[0] == tools_texts::kErrorReadingXml &&
                load.strings.empty(),
            "a strings file that does not read gives its one message and no string");
    return 0;
  }
  for (const std::string& text : load.strings)
    Require(IsValidUtf8(text), "every string is UTF-8");
  return 0;
}
