// Any bytes as an XML project file: loading fails cleanly or yields a root that saves and
// loads again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/XmlDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quastor::XmlDocument doc;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!doc.LoadText(text).ok())
    return 0;
  (void)doc.FirstTopLevelNode().Text();
  const std::string saved = doc.ToText();
  quastor::XmlDocument again;
  if (!again.LoadText(saved).ok())
    std::abort();
  if (again.ToText() != saved)
    std::abort();
  return 0;
}
