// Any bytes given to the help reader: no crash, no hang, and only valid UTF-8 comes out.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/RtfText.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const quastor::RtfDocument doc = quastor::ReadRtf(bytes);
  for (const auto& paragraph : doc.paragraphs) {
    for (const auto& run : paragraph.runs) {
      if (!quastor::IsValidUtf8(run.text))
        std::abort();
    }
  }
  return 0;
}
