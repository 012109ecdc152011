#include "platform/FileReading.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/PathText.h"

namespace quastor {

Result<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (ec)
    return Failure{ec.message()};
  if (std::filesystem::is_directory(status))
    return Failure{SystemReason(EISDIR)};
  errno = 0;
#ifdef _WIN32
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(_wfopen(file.c_str(), L"rb"), &std::fclose);
#else
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), &std::fclose);
#endif
  if (!in)
    return Failure{SystemReason(errno != 0 ? errno : ENOENT)};
  std::string bytes;
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0)
    bytes.append(buffer, got);
  if (std::ferror(in.get()))
    return Failure{SystemReason(errno != 0 ? errno : EIO)};
  return bytes;
}

}  // namespace quastor
