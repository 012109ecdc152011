#include "platform/PathText.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quastor {

std::filesystem::path PathFromUtf8(const std::string& text) {
#if defined(__cpp_char8_t)
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
  return std::filesystem::u8path(text);
#endif
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const auto u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

// Every caller passes an errno value. The generic category words it as strerror does; the
// system category would take it for a Windows error code there (EACCES is 13,
// ERROR_INVALID_DATA too).
std::string SystemReason(int error_code) {
  return std::error_code(error_code, std::generic_category()).message();
}

#ifdef _WIN32
std::string WindowsErrorReason(unsigned long error_code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error_code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide = length > 0 && text != nullptr ? std::wstring(text, length) : std::wstring();
  LocalFree(text);
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' '))
    wide.pop_back();
  if (wide.empty())
    return "Windows error " + std::to_string(error_code);
  return Utf8FromPath(std::filesystem::path(wide));
}
#endif

}  // namespace quastor
