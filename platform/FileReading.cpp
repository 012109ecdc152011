#include "platform/FileReading.h"

#include <algorithm>
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
  // One allocation of the size the file has now; a file that grows meanwhile is read on.
  std::string bytes;
  const auto size = std::filesystem::file_size(file, ec);
  if (!ec)
    bytes.resize(static_cast<std::size_t>(size));
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size())
      bytes.resize(std::max<std::size_t>(bytes.size() * 2, 1 << 16));
    const std::size_t got = std::fread(bytes.data() + filled, 1, bytes.size() - filled, in.get());
    filled += got;
    if (got == 0)
      break;
  }
  bytes.resize(filled);
  if (std::ferror(in.get()))
    return Failure{SystemReason(errno != 0 ? errno : EIO)};
  return bytes;
}

}  // namespace quastor
