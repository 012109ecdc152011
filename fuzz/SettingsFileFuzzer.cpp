// Any settings file: reading never fails, and a written value always reads back while the
// file's other sections survive.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("quastor-ini-fuzz-" + std::to_string(getpid()));
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
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
