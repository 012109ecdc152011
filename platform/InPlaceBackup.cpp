#include "platform/InPlaceBackup.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/FileCalls.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/WriteTemporaries.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quastor {
namespace {

namespace fs = std::filesystem;
namespace calls = file_calls;

// A copy is this line, the length of the target's path (UTF-8) on a line, the path and a line
// end, the length of the old content on a line, then the old content.
constexpr char kMagic[] = "quastor in-place copy\n";
constexpr std::size_t kCopyBytes = std::size_t{1} << 16;
constexpr std::size_t kHeaderLimit = std::size_t{1} << 17;  // the longest path Windows allows

Failure Reason(int error) {
  return Failure{SystemReason(error)};
}

// A variable of the environment as a path; empty when it is not set or empty.
fs::path EnvironmentPath(const char* name) {
#ifdef _WIN32
  // The narrow environment is in the ANSI code page, which cannot hold every directory name.
  const std::wstring wide(name, name + std::char_traits<char>::length(name));
  if (const wchar_t* value = _wgetenv(wide.c_str()); value != nullptr && *value != L'\0')
    return fs::path(value);
#else
  if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
    return PathFromUtf8(value);
#endif
  return {};
}

// The copy's name: a hash of the target's absolute path.
fs::path CopyName(const fs::path& target) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(target, ec);
  const std::string key = Utf8FromPath((ec ? target : absolute).lexically_normal());
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.inplace", static_cast<unsigned long long>(hash));
  return name;
}

// Makes dir, readable by its user only, when it is missing; whether it is there as a directory
// of the user's own.
bool MakePrivateDirectory(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir.parent_path(), ec);
#ifdef _WIN32
  fs::create_directory(dir, ec);
  return fs::is_directory(fs::symlink_status(dir, ec));
#else
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
    return false;
  struct stat info {};
  return ::lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
#endif
}

// Copies count bytes from the position of one file to that of the other: 0 or errno. A source
// that ends early is EIO: the file changed while it was copied.
int Copy(int from, int to, std::uint64_t count) {
  std::string buffer(kCopyBytes, '\0');
  while (count > 0) {
    std::size_t got = 0;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, kCopyBytes));
    if (const int error = calls::ReadSome(from, buffer.data(), want, &got); error != 0)
      return error;
    if (got == 0)
      return EIO;
    if (const int error = calls::WriteAll(to, std::string_view(buffer.data(), got)); error != 0)
      return error;
    count -= got;
  }
  return 0;
}

// Flushes the copy being made to the disk, and tells so: 0 or errno.
int SyncAndTell(int copy, const fs::path& file) {
  const int error = calls::Sync(copy);
  if (error == 0)
    ReportWriteStep(WriteStep::kBackupSynced, file);
  return error;
}

// Reads a decimal number ended by a line end at text[*at], moving *at past it.
bool ReadNumber(const std::string& text, std::size_t* at, std::uint64_t* value) {
  *value = 0;
  std::size_t digits = 0;
  for (; *at < text.size() && text[*at] >= '0' && text[*at] <= '9' && digits < 19; ++*at) {
    *value = *value * 10 + static_cast<unsigned>(text[*at] - '0');
    ++digits;
  }
  if (digits == 0 || *at >= text.size() || text[*at] != '\n')
    return false;
  ++*at;
  return true;
}

// The copy's header: its size in bytes, the target and the size of the old content. False for
// a copy that is damaged or not whole.
bool ReadHeader(int copy, std::uint64_t* header_bytes, fs::path* target, std::uint64_t* old_bytes) {
  std::string text(kHeaderLimit, '\0');
  std::size_t filled = 0;
  for (std::size_t got = 1; got > 0 && filled < text.size(); filled += got) {
    if (calls::ReadSome(copy, text.data() + filled, text.size() - filled, &got) != 0)
      return false;
  }
  text.resize(filled);
  const std::size_t magic = sizeof kMagic - 1;
  std::size_t at = magic;
  std::uint64_t path_bytes = 0;
  if (text.compare(0, magic, kMagic) != 0 || !ReadNumber(text, &at, &path_bytes) ||
      path_bytes >= text.size() - at || text[at + path_bytes] != '\n') {
    return false;
  }
  *target = PathFromUtf8(text.substr(at, path_bytes));
  at += path_bytes + 1;
  std::uint64_t size = 0;
  if (!ReadNumber(text, &at, old_bytes) || calls::SizeOf(copy, &size) != 0)
    return false;
  *header_bytes = at;
  return size == at + *old_bytes;
}

}  // namespace

std::vector<fs::path> BackupDirectories() {
  std::vector<fs::path> dirs;
#ifdef _WIN32
  if (const fs::path local = EnvironmentPath("LOCALAPPDATA"); local.is_absolute())
    dirs.push_back(local / "quastor");
  std::error_code ec;
  if (const fs::path temporary = fs::temp_directory_path(ec); !ec)
    dirs.push_back(temporary / "quastor");
#else
  // XDG: a relative XDG_CACHE_HOME is invalid and is ignored.
  if (const fs::path xdg = EnvironmentPath("XDG_CACHE_HOME"); xdg.is_absolute()) {
    dirs.push_back(xdg / "quastor");
  } else if (const fs::path home = EnvironmentPath("HOME"); home.is_absolute()) {
    dirs.push_back(home / ".cache" / "quastor");
  }
  std::error_code ec;
  if (const fs::path temporary = fs::temp_directory_path(ec); !ec)
    dirs.push_back(temporary / ("quastor-" + std::to_string(::geteuid())));
#endif
  return dirs;
}

Result<InPlaceBackup> InPlaceBackup::Take(const fs::path& target, int fd) {
  std::uint64_t old_bytes = 0;
  if (const int error = calls::SizeOf(fd, &old_bytes); error != 0)
    return Reason(error);
  for (const fs::path& dir : BackupDirectories()) {
    if (MakePrivateDirectory(dir))
      return TakeIn(dir, target, fd, old_bytes);
  }
  return Reason(EACCES);
}

Result<InPlaceBackup> InPlaceBackup::TakeIn(const fs::path& dir, const fs::path& target, int fd,
                                            std::uint64_t old_bytes) {
  const fs::path path = dir / CopyName(target);
  RemoveStaleTemporaries(path);
  const std::string utf8 = Utf8FromPath(target);
  const std::string header =
      kMagic + std::to_string(utf8.size()) + "\n" + utf8 + "\n" + std::to_string(old_bytes) + "\n";
  const fs::path temporary = TemporaryBeside(path, false);
  const int copy = calls::Open(temporary, calls::Access::kCreateNew, 0600);
  if (copy < 0)
    return Reason(calls::LastError(EACCES));
  int error = calls::WriteAll(copy, header);
  if (error == 0)
    error = calls::SeekToStart(fd);
  if (error == 0)
    error = Copy(fd, copy, old_bytes);
  if (error == 0)
    error = SyncAndTell(copy, temporary);
#ifdef _WIN32
  // Windows renames and removes no file that is open here (the C library's opens do not share
  // deletion), so the copy is closed and carries no lock: a reader of another process could
  // put the old content back under a running write in place.
  if (const int closed = calls::Close(copy); error == 0)
    error = closed;
  const int lock = -1;
#else
  // Locked before it gets its name, so that no other process ever sees it unlocked while this
  // one writes.
  if (error == 0 && !calls::TryLock(copy))
    error = EAGAIN;
  const int lock = copy;
#endif
  std::error_code ec;
  if (error == 0)
    fs::rename(temporary, path, ec);
  if (error != 0 || ec) {
    if (lock >= 0)
      calls::Close(lock);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return error != 0 ? Reason(error) : Failure{ec.message()};
  }
  calls::SyncDirectory(dir);
  return InPlaceBackup(path, header.size(), old_bytes, lock);
}

InPlaceBackup::InPlaceBackup(fs::path path, std::uint64_t header_bytes, std::uint64_t old_bytes,
                             int lock)
    : path_(std::move(path)), headerBytes_(header_bytes), oldBytes_(old_bytes) {
  if (lock >= 0) {
    lock_ = std::shared_ptr<const int>(new int(lock), [](const int* fd) {
      calls::Close(*fd);
      delete fd;
    });
  }
}

int InPlaceBackup::RestoreInto(int fd) const {
  const int copy = calls::Open(path_, calls::Access::kReadOnly);
  if (copy < 0)
    return calls::LastError();
  std::string header(static_cast<std::size_t>(headerBytes_), '\0');
  std::size_t got = 0;
  int error = calls::ReadSome(copy, header.data(), header.size(), &got);
  if (error == 0 && got != header.size())
    error = EIO;
  if (error == 0)
    error = calls::SeekToStart(fd);
  if (error == 0)
    error = Copy(copy, fd, oldBytes_);
  if (error == 0)
    error = calls::Truncate(fd, oldBytes_);
  if (error == 0)
    error = calls::Sync(fd);
  calls::Close(copy);
  return error;
}

void InPlaceBackup::MarkWritten() const {
  std::error_code ec;
  fs::last_write_time(path_, fs::file_time_type::clock::now(), ec);
}

int InPlaceBackup::Remove() {
  std::error_code ec;
  const bool removed = fs::remove(path_, ec) || !ec;
  if (removed && calls::SyncDirectory(path_.parent_path()) == 0)
    ReportWriteStep(WriteStep::kBackupRemoved, path_);
  lock_.reset();
  return removed ? 0 : EIO;
}

// Puts back the old content that the copy at path holds into the target it names, and
// removes the copy; passes over a copy that a running writer holds.
Status RestoreFromCopy(const fs::path& path, bool for_writing, std::vector<std::string>* notes) {
  const int copy = calls::Open(path, calls::Access::kReadOnly);
  if (copy < 0)
    return Reason(calls::LastError());
  if (!calls::TryLock(copy)) {
    calls::Close(copy);
    return Status::Ok();
  }
  std::uint64_t header_bytes = 0;
  std::uint64_t old_bytes = 0;
  fs::path named;
  const bool whole = ReadHeader(copy, &header_bytes, &named, &old_bytes);
#ifdef _WIN32
  calls::Close(copy);  // else Windows would not remove it
  InPlaceBackup backup(path, header_bytes, old_bytes, -1);
#else
  InPlaceBackup backup(path, header_bytes, old_bytes, copy);
#endif
  // A damaged copy cannot put anything back; a target that is gone is not made again. (The
  // copy of another target whose name has the same hash is put back all the same.)
  std::error_code ec;
  if (whole && fs::is_regular_file(fs::status(named, ec))) {
    // The writer marks the copy after each write to the target; a target changed well after
    // the last mark was changed by someone else, and their content is not thrown away.
    std::error_code time_ec;
    const auto target_time = fs::last_write_time(named, time_ec);
    const auto copy_time = fs::last_write_time(path, time_ec);
    if (!time_ec && target_time > copy_time + std::chrono::seconds(2)) {
      if (for_writing) {
        backup.Remove();
      } else if (notes != nullptr) {
        notes->push_back(
            FormatText(kInterruptedWriteOutdated, {Utf8FromPath(named), Utf8FromPath(path)}));
      }
      return Status::Ok();
    }
    const int fd = calls::Open(named, calls::Access::kReadWrite);
    const int error = fd < 0 ? calls::LastError(EACCES) : backup.RestoreInto(fd);
    if (fd >= 0)
      calls::Close(fd);
    if (error != 0) {
      return Failure{FormatText(kInterruptedWriteKept,
                                {Utf8FromPath(named), Utf8FromPath(path), SystemReason(error)})};
    }
  }
  backup.Remove();
  return Status::Ok();
}

Status RestoreInterruptedWrite(const fs::path& target, bool for_writing,
                               std::vector<std::string>* notes) {
  const fs::path name = CopyName(target);
  for (const fs::path& dir : BackupDirectories()) {
    const fs::path path = dir / name;
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(path, ec)))
      continue;
    if (const Status restored = RestoreFromCopy(path, for_writing, notes); !restored)
      return restored;
  }
  return Status::Ok();
}

void RestoreInterruptedWrites(std::vector<std::string>* notes) {
  for (const fs::path& dir : BackupDirectories()) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path& path = it->path();
      if (path.extension() != ".inplace" || !fs::is_regular_file(it->symlink_status(ec)))
        continue;
      // The copy stays for the next try.
      if (const Status restored = RestoreFromCopy(path, false, notes); !restored && notes)
        notes->push_back(restored.error());
    }
  }
}

}  // namespace quastor
