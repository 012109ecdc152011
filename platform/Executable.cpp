#include "platform/Executable.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quastor {

std::filesystem::path ExecutableDir(const char* argv0) {
  std::error_code ec;
#ifdef _WIN32
  wchar_t buffer[32768];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  if (length > 0 && length < 32768)
    return std::filesystem::path(buffer).parent_path();
#else
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec)
    return self.parent_path();
#endif
  const auto resolved = std::filesystem::absolute(argv0 != nullptr ? argv0 : ".", ec);
  return resolved.parent_path();
}

}  // namespace quastor
