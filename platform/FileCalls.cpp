#include "platform/FileCalls.h"

#include <algorithm>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <signal.h>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace quastor::file_calls {
namespace {

// The largest piece handed to one write or read call (which take an int count on Windows).
constexpr std::size_t kMaxPiece = std::size_t{1} << 30;

// Whether the directory's file system has room for bytes more.
int CheckFreeSpace(const std::filesystem::path& dir, std::uint64_t bytes) {
  std::error_code ec;
  const std::filesystem::space_info space =
      std::filesystem::space(dir.empty() ? std::filesystem::path(".") : dir, ec);
  if (ec)
    return 0;  // no figure to go by: the write itself will tell
  return space.available >= bytes ? 0 : ENOSPC;
}

}  // namespace

int LastError(int fallback) {
  return errno != 0 ? errno : fallback;
}

#ifdef _WIN32

int Open(const std::filesystem::path& path, Access access, int mode) {
  int flags = _O_BINARY | _O_NOINHERIT;
  switch (access) {
    case Access::kReadOnly:
      flags |= _O_RDONLY;
      break;
    case Access::kReadWrite:
      flags |= _O_RDWR;
      break;
    case Access::kWriteOnly:
      flags |= _O_WRONLY;
      break;
    case Access::kTruncate:
      flags |= _O_WRONLY | _O_TRUNC;
      break;
    case Access::kCreateNew:
      flags |= _O_WRONLY | _O_CREAT | _O_EXCL;
      break;
  }
  const int permission = (mode & 0200) != 0 ? (_S_IREAD | _S_IWRITE) : _S_IREAD;
  errno = 0;
  return _wopen(path.c_str(), flags, permission);
}

int Close(int fd) {
  errno = 0;
  return _close(fd) == 0 ? 0 : LastError();
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto piece = static_cast<unsigned>(std::min(bytes.size(), kMaxPiece));
    errno = 0;
    const int written = _write(fd, bytes.data(), piece);
    if (written <= 0)
      return LastError(ENOSPC);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

int ReadSome(int fd, char* buffer, std::size_t size, std::size_t* got) {
  errno = 0;
  const int read = _read(fd, buffer, static_cast<unsigned>(std::min(size, kMaxPiece)));
  if (read < 0)
    return LastError();
  *got = static_cast<std::size_t>(read);
  return 0;
}

int SeekToStart(int fd) {
  errno = 0;
  return _lseeki64(fd, 0, SEEK_SET) == 0 ? 0 : LastError();
}

int SizeOf(int fd, std::uint64_t* size) {
  errno = 0;
  const long long length = _filelengthi64(fd);
  if (length < 0)
    return LastError();
  *size = static_cast<std::uint64_t>(length);
  return 0;
}

int Truncate(int fd, std::uint64_t size) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  if (handle == INVALID_HANDLE_VALUE || !::SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) ||
      !::SetEndOfFile(handle)) {
    return ::GetLastError() == ERROR_DISK_FULL ? ENOSPC : EIO;
  }
  return 0;
}

int Sync(int fd) {
  errno = 0;
  return _commit(fd) == 0 ? 0 : LastError();
}

bool TryLock(int) {
  return true;  // no lock is kept on Windows (see InPlaceBackup)
}

int Reserve(int, std::uint64_t current, std::uint64_t size, const std::filesystem::path& dir) {
  return size <= current ? 0 : CheckFreeSpace(dir, size - current);
}

int SyncDirectory(const std::filesystem::path&) {
  return 0;
}

void TakeOverMode(int, const std::filesystem::path&) {}

long ProcessId() {
  return _getpid();
}

bool ProcessMayRun(unsigned long long pid) {
  if (pid > std::numeric_limits<DWORD>::max())
    return true;
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr)
    return ::GetLastError() != ERROR_INVALID_PARAMETER;
  const DWORD state = ::WaitForSingleObject(process, 0);
  ::CloseHandle(process);
  return state != WAIT_OBJECT_0;
}

#else

int Open(const std::filesystem::path& path, Access access, int mode) {
  int flags = O_CLOEXEC;
  switch (access) {
    case Access::kReadOnly:
      flags |= O_RDONLY;
      break;
    case Access::kReadWrite:
      flags |= O_RDWR;
      break;
    case Access::kWriteOnly:
      flags |= O_WRONLY | O_NONBLOCK;
      break;
    case Access::kTruncate:
      flags |= O_WRONLY | O_TRUNC;
      break;
    case Access::kCreateNew:
      flags |= O_WRONLY | O_CREAT | O_EXCL;
      break;
  }
  int fd;
  do {
    errno = 0;
    fd = ::open(path.c_str(), flags, static_cast<mode_t>(mode));
  } while (fd < 0 && errno == EINTR);
  return fd;
}

int Close(int fd) {
  errno = 0;
  return ::close(fd) == 0 ? 0 : LastError();
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    errno = 0;
    const ssize_t written = ::write(fd, bytes.data(), std::min(bytes.size(), kMaxPiece));
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return LastError(ENOSPC);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

int ReadSome(int fd, char* buffer, std::size_t size, std::size_t* got) {
  for (;;) {
    errno = 0;
    const ssize_t read = ::read(fd, buffer, std::min(size, kMaxPiece));
    if (read < 0 && errno == EINTR)
      continue;
    if (read < 0)
      return LastError();
    *got = static_cast<std::size_t>(read);
    return 0;
  }
}

int SeekToStart(int fd) {
  errno = 0;
  return ::lseek(fd, 0, SEEK_SET) == 0 ? 0 : LastError();
}

int SizeOf(int fd, std::uint64_t* size) {
  struct stat info {};
  errno = 0;
  if (::fstat(fd, &info) != 0)
    return LastError();
  *size = static_cast<std::uint64_t>(info.st_size);
  return 0;
}

int Truncate(int fd, std::uint64_t size) {
  int result;
  do {
    errno = 0;
    result = ::ftruncate(fd, static_cast<off_t>(size));
  } while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : LastError();
}

int Sync(int fd) {
  errno = 0;
  return ::fsync(fd) == 0 ? 0 : LastError();
}

bool TryLock(int fd) {
  int result = 0;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

int Reserve(int fd, std::uint64_t current, std::uint64_t size, const std::filesystem::path& dir) {
  if (size <= current)
    return 0;
#ifdef __linux__
  const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
  // File systems that cannot allocate ahead (and some that glibc cannot emulate it on) say so;
  // their free space is all there is to go by.
  if (error != EOPNOTSUPP && error != EINVAL && error != ENOSYS)
    return error;
#else
  (void)fd;
#endif
  return CheckFreeSpace(dir, size - current);
}

int SyncDirectory(const std::filesystem::path& dir) {
  const int fd = Open(dir.empty() ? std::filesystem::path(".") : dir, Access::kReadOnly);
  if (fd < 0)
    return LastError();
  const int error = Sync(fd);
  ::close(fd);
  return error;
}

void TakeOverMode(int fd, const std::filesystem::path& like) {
  struct stat info {};
  if (::stat(like.c_str(), &info) != 0)
    return;
  // Owner first: changing the owner may clear the set-user-ID bits that fchmod then restores.
  if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    (void)!::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
  }
  (void)::fchmod(fd, info.st_mode & 07777);
}

long ProcessId() {
  return static_cast<long>(::getpid());
}

bool ProcessMayRun(unsigned long long pid) {
  if (pid > static_cast<unsigned long long>(std::numeric_limits<pid_t>::max()))
    return true;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

#endif

}  // namespace quastor::file_calls
