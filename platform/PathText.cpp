#include "platform/PathText.h"

#include <system_error>

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

std::string SystemReason(int error_code) {
  return std::error_code(error_code, std::system_category()).message();
}

}  // namespace quastor
