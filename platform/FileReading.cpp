#include "platform/FileReading.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/InPlaceBackup.h"
#include "platform/PathText.h"
#include "platform/Text.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quastor {
namespace {

Failure CannotRead(const std::filesystem::path& file, const char* cannot_read, int error) {
  const std::string reason = SystemReason(error != 0 ? error : EIO);
  if (cannot_read == nullptr)
    return Failure{reason};
  return Failure{FormatText(cannot_read, {Utf8FromPath(file), reason})};
}

Failure NotRegular(const std::filesystem::path& file) {
  return Failure{FormatText(kNotRegularFile, {Utf8FromPath(file)})};
}

Failure TooLarge(const std::filesystem::path& file, std::uint64_t size) {
  return Failure{FormatText(kFileTooLarge, {Utf8FromPath(file), std::to_string(size),
                                            std::to_string(kReadLimitBytes >> 20)})};
}

// The open descriptor's kind and size.
struct OpenedKind {
  bool regular = false;
  std::uint64_t size = 0;
};

#ifdef _WIN32
int OpenDescriptor(const std::filesystem::path& file) {
  // _wopen refuses a directory with "Permission denied"; it is no regular file.
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) {
    errno = EISDIR;
    return -1;
  }
  return _wopen(file.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool KindOf(int fd, OpenedKind* kind) {
  struct _stat64 status;
  if (_fstat64(fd, &status) != 0)
    return false;
  kind->regular = (status.st_mode & _S_IFMT) == _S_IFREG;
  kind->size = static_cast<std::uint64_t>(status.st_size);
  return true;
}

std::FILE* StreamOf(int fd) {
  return _fdopen(fd, "rb");
}

void CloseDescriptor(int fd) {
  _close(fd);
}
#else
int OpenDescriptor(const std::filesystem::path& file) {
  // O_NONBLOCK: opening a FIFO waits for a writer otherwise. O_NOCTTY: a terminal in place of
  // a file must not become the process's controlling terminal.
  int fd;
  do {
    fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool KindOf(int fd, OpenedKind* kind) {
  struct stat status;
  if (::fstat(fd, &status) != 0)
    return false;
  kind->regular = S_ISREG(status.st_mode);
  kind->size = static_cast<std::uint64_t>(status.st_size);
  return true;
}

std::FILE* StreamOf(int fd) {
  // A regular file is read as any file is; the flag only mattered for the open.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
    return nullptr;
  return ::fdopen(fd, "rb");
}

void CloseDescriptor(int fd) {
  ::close(fd);
}
#endif

}  // namespace

Result<ReadableFile> OpenForReading(const std::filesystem::path& file, const char* cannot_read) {
  // A write in place that a killed process left half done: the old content goes back first.
  if (const Status restored = RestoreInterruptedWrite(file); !restored)
    return restored.failure();
  errno = 0;
  const int fd = OpenDescriptor(file);
  if (fd < 0) {
    if (errno == EISDIR)
      return NotRegular(file);
    return CannotRead(file, cannot_read, errno);
  }
  OpenedKind kind;
  Result<ReadableFile> refused = Failure{};
  if (!KindOf(fd, &kind)) {
    refused = CannotRead(file, cannot_read, errno);
  } else if (!kind.regular) {
    refused = NotRegular(file);
  } else if (kind.size > kReadLimitBytes) {
    refused = TooLarge(file, kind.size);
  } else if (std::FILE* stream = StreamOf(fd)) {
    return ReadableFile(stream, kind.size);
  } else {
    refused = CannotRead(file, cannot_read, errno);
  }
  const int error = errno;
  CloseDescriptor(fd);
  errno = error;
  return refused;
}

Result<std::string> ReadWholeFile(const std::filesystem::path& file, const char* cannot_read) {
  Result<ReadableFile> opened = OpenForReading(file, cannot_read);
  if (!opened)
    return opened.failure();
  std::FILE* in = opened->get();
  // One allocation of the size the file has now; a file that grows meanwhile is read on, up to
  // one byte past the limit, which tells that it grew too large.
  std::string bytes(static_cast<std::size_t>(opened->size()), '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      const std::size_t grown = std::max<std::size_t>(bytes.size() * 2, 1 << 16);
      bytes.resize(std::min<std::size_t>(grown, static_cast<std::size_t>(kReadLimitBytes) + 1));
    }
    errno = 0;
    const std::size_t got = std::fread(bytes.data() + filled, 1, bytes.size() - filled, in);
    filled += got;
    if (got == 0 || filled > kReadLimitBytes)
      break;
  }
  if (filled > kReadLimitBytes)
    return TooLarge(file, filled);
  bytes.resize(filled);
  if (std::ferror(in))
    return CannotRead(file, cannot_read, errno);
  return bytes;
}

}  // namespace quastor
