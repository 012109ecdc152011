#include "platform/FileWriting.h"

#include <atomic>
#include <cerrno>
#include <limits>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/PathText.h"
#include "platform/Text.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace quastor {
namespace {

#ifdef _WIN32
int OpenFd(const std::filesystem::path& path, int flags, int mode = _S_IREAD | _S_IWRITE) {
  return _wopen(path.c_str(), flags | _O_BINARY | _O_NOINHERIT, mode);
}
int CloseFd(int fd) {
  return _close(fd);
}
int SyncFd(int fd) {
  return _commit(fd);
}
long ProcessId() {
  return _getpid();
}
constexpr int kWriteOnly = _O_WRONLY;
constexpr int kCreateNew = _O_WRONLY | _O_CREAT | _O_EXCL;
constexpr int kTruncate = _O_WRONLY | _O_TRUNC;
#else
int OpenFd(const std::filesystem::path& path, int flags, int mode = 0666) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}
int CloseFd(int fd) {
  return ::close(fd);
}
int SyncFd(int fd) {
  return ::fsync(fd);
}
long ProcessId() {
  return static_cast<long>(::getpid());
}
// Non-blocking, so that checking a FIFO for writing does not wait for a reader.
constexpr int kWriteOnly = O_WRONLY | O_NONBLOCK;
constexpr int kCreateNew = O_WRONLY | O_CREAT | O_EXCL;
constexpr int kTruncate = O_WRONLY | O_TRUNC;
#endif

// Whether the process may still run: false only when the system says there is no such process.
bool ProcessMayRun(unsigned long long pid) {
#ifdef _WIN32
  if (pid > std::numeric_limits<DWORD>::max())
    return true;
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr)
    return ::GetLastError() != ERROR_INVALID_PARAMETER;
  const DWORD state = ::WaitForSingleObject(process, 0);
  ::CloseHandle(process);
  return state != WAIT_OBJECT_0;
#else
  if (pid > static_cast<unsigned long long>(std::numeric_limits<pid_t>::max()))
    return true;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
}

InjectedWriteFault injected;

int LastError(int fallback = EIO) {
  return errno != 0 ? errno : fallback;
}

// Writes every byte, or those before an injected fault; the system's error code, or 0.
int WriteAll(int fd, std::string_view bytes) {
  int fault = 0;
  bytes = bytes.substr(0, BytesBeforeInjectedFault(0, bytes.size(), &fault));
  while (!bytes.empty()) {
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30));
    errno = 0;
#ifdef _WIN32
    const int written = _write(fd, bytes.data(), chunk);
#else
    const ssize_t written = ::write(fd, bytes.data(), chunk);
    if (written < 0 && errno == EINTR)
      continue;
#endif
    if (written <= 0)
      return LastError();
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return fault;
}

int Sync(int fd) {
  if (const int fault = InjectedFaultAt(InjectedWriteFault::Step::kSync); fault != 0) {
    errno = fault;
    return -1;
  }
  return SyncFd(fd);
}

// Writes, flushes to the disk and closes; the first error code, or 0.
int WriteSyncClose(int fd, std::string_view bytes) {
  int error = WriteAll(fd, bytes);
  // A device or pipe cannot be synchronised (EINVAL); its bytes are written all the same.
  if (error == 0 && Sync(fd) != 0 && errno != EINVAL)
    error = LastError();
  if (CloseFd(fd) != 0 && error == 0)
    error = LastError();
  return error;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path name = target.filename();
  name += "." + std::to_string(ProcessId()) + "-" + std::to_string(counter++) + ".tmp";
  return target.parent_path() / name;
}

// The process that made a temporary of the file name ("<name>.<pid>-<count>.tmp"), or 0 when
// entry is no such temporary.
unsigned long long TemporaryOwner(const std::filesystem::path::string_type& entry,
                                  const std::filesystem::path::string_type& name) {
  using Char = std::filesystem::path::value_type;
  const std::size_t head = name.size() + 1;
  const std::size_t tail = 4;  // ".tmp"
  if (entry.size() < head + 3 + tail || entry.compare(0, name.size(), name) != 0 ||
      entry[name.size()] != Char('.') ||
      entry.compare(entry.size() - tail, tail, std::filesystem::path(".tmp").native()) != 0) {
    return 0;
  }
  unsigned long long pid = 0;
  bool dash = false;
  std::size_t digits = 0;
  for (std::size_t i = head; i < entry.size() - tail; ++i) {
    const Char c = entry[i];
    if (c == Char('-') && !dash && digits > 0) {
      dash = true;
      digits = 0;
    } else if (c >= Char('0') && c <= Char('9') && digits < 18) {
      if (!dash)
        pid = pid * 10 + static_cast<unsigned>(c - Char('0'));
      ++digits;
    } else {
      return 0;
    }
  }
  return dash && digits > 0 ? pid : 0;
}

// Removes the temporaries beside target that saves by processes that have ended left behind:
// a process killed in the middle of a save cannot remove its own. Those of processes that may
// still run stay, since they may still be writing.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const std::filesystem::path dir =
      target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  const std::filesystem::path::string_type name = target.filename().native();
  const auto own = static_cast<unsigned long long>(ProcessId());
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const unsigned long long owner = TemporaryOwner(it->path().filename().native(), name);
    std::error_code ignored;
    if (owner != 0 && owner != own && it->is_regular_file(ignored) && !ProcessMayRun(owner))
      std::filesystem::remove(it->path(), ignored);
  }
}

// Gives the temporary the target's permission bits and, where allowed, its owner.
void TakeOverMode(int fd, const std::filesystem::path& target) {
#ifdef _WIN32
  (void)fd;
  (void)target;
#else
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0)
    return;
  // Owner first: changing the owner may clear the set-user-ID bits that fchmod then restores.
  if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    (void)!::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
  }
  (void)::fchmod(fd, info.st_mode & 07777);
#endif
}

// Makes a completed rename survive a crash of the system.
void SyncDirectory(const std::filesystem::path& dir) {
#ifndef _WIN32
  const int fd = OpenFd(dir.empty() ? std::filesystem::path(".") : dir, O_RDONLY);
  if (fd >= 0) {
    (void)::fsync(fd);
    ::close(fd);
  }
#else
  (void)dir;
#endif
}

Failure Reason(int error) {
  return Failure{SystemReason(error)};
}

Status WriteInPlace(const std::filesystem::path& target, std::string_view bytes) {
  errno = 0;
  const int fd = OpenFd(target, kTruncate);
  if (fd < 0)
    return Reason(LastError(EACCES));
  if (const int failed = WriteSyncClose(fd, bytes); failed != 0)
    return Reason(failed);
  return Status::Ok();
}

}  // namespace

Result<std::filesystem::path> WriteTarget(const std::filesystem::path& path) {
  std::filesystem::path target = path;
  std::error_code ec;
  for (int hops = 0; hops < 40; ++hops) {
    if (!std::filesystem::is_symlink(target, ec))
      return target;
    const std::filesystem::path link = std::filesystem::read_symlink(target, ec);
    if (ec)
      return Reason(ec.value());
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return Reason(ELOOP);
}

Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
  const Result<std::filesystem::path> resolved = WriteTarget(path);
  if (!resolved)
    return resolved.failure();
  const std::filesystem::path& target = *resolved;

  std::error_code ec;
  const auto status = std::filesystem::status(target, ec);
  const bool exists = std::filesystem::exists(status);
  if (std::filesystem::is_directory(status))
    return Reason(EISDIR);
  if (exists) {
    // The check a direct write makes: could the user open the file for writing?
    errno = 0;
    const int fd = OpenFd(target, kWriteOnly);
    if (fd < 0)
      return Reason(LastError(EACCES));
    CloseFd(fd);
  }

  // A device or pipe is written to, never replaced by a file.
  if (exists && !std::filesystem::is_regular_file(status))
    return WriteInPlace(target, bytes);
  const std::filesystem::path temporary = TemporaryBeside(target);
  errno = 0;
  const int fd = OpenFd(temporary, kCreateNew);
  if (fd < 0) {
    const int error = LastError(EACCES);
    if (!exists)
      return Reason(error);
    // The directory refuses new files, but the file itself may be written: in place.
    return WriteInPlace(target, bytes);
  }
  if (exists)
    TakeOverMode(fd, target);
  if (const int failed = WriteSyncClose(fd, bytes); failed != 0) {
    std::filesystem::remove(temporary, ec);
    return Reason(failed);
  }
  if (const int fault = InjectedFaultAt(InjectedWriteFault::Step::kRename); fault != 0)
    ec = std::error_code(fault, std::generic_category());
  else
    std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return Failure{ec.message()};
  }
  SyncDirectory(target.parent_path());
  RemoveStaleTemporaries(target);
  return Status::Ok();
}

void InjectWriteFault(const InjectedWriteFault& fault) {
  injected = fault;
}

std::size_t BytesBeforeInjectedFault(std::uint64_t offset, std::size_t count, int* error) {
  *error = 0;
  if (injected.step != InjectedWriteFault::Step::kWrite || offset + count <= injected.afterBytes)
    return count;
  *error = injected.error;
  return offset >= injected.afterBytes ? 0 : static_cast<std::size_t>(injected.afterBytes - offset);
}

int InjectedFaultAt(InjectedWriteFault::Step step) {
  return step != InjectedWriteFault::Step::kNone && injected.step == step ? injected.error : 0;
}

Status WriteFileOrCannotCreate(const std::filesystem::path& path, std::string_view bytes) {
  const Status written = WriteFileAtomic(path, bytes);
  if (!written)
    return Failure{FormatText(kCannotCreateFile, {Utf8FromPath(path), written.error()})};
  return Status::Ok();
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string text;
  std::size_t size = 0;
  for (const auto& line : lines)
    size += line.size() + 2;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace quastor
