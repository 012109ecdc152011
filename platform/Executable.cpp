#include "platform/Executable.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/PathText.h"
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

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count); wide != nullptr) {
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
      args.push_back(Utf8FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return args;
  }
#endif
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace quastor
