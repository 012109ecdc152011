#pragma once
// Conversions between UTF-8 text and file-system paths, and the native separator.

#include <filesystem>
#include <string>

namespace quastor {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

std::filesystem::path PathFromUtf8(const std::string& text);
std::string Utf8FromPath(const std::filesystem::path& path);

// Text of an errno value, as the system words it.
std::string SystemReason(int error_code);

#ifdef _WIN32
// Text of a Windows error code (GetLastError), as Windows words it, without the line end.
std::string WindowsErrorReason(unsigned long error_code);
#endif

}  // namespace quastor
