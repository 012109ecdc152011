// Any settings file: reading never fails, and a written value always reads back while the
// file's other sections survive.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/FuzzFiles.h"
#include "platform/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = quastor::fuzz::Put("Quastor_DNET2PROFI.ini",
                                       std::string_view(reinterpret_cast<const char*>(data), size));
  (void)quastor::ReadProfileString(file, "lastproj", "projectname", "");
  const std::string before = quastor::ReadProfileString(file, "other", "key", "<none>");
  if (!quastor::WriteProfileString(file, "lastproj", "projectname", "Plant 7").ok())
    std::abort();
  if (quastor::ReadProfileString(file, "lastproj", "projectname", "") != "Plant 7")
    std::abort();
  if (quastor::ReadProfileString(file, "other", "key", "<none>") != before)
    std::abort();
  return 0;
}
