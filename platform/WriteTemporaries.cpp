#include "platform/WriteTemporaries.h"

#include <atomic>
#include <cerrno>
#include <system_error>

#include "platform/FileCalls.h"
#include "platform/PathText.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quastor {
namespace {

namespace fs = std::filesystem;

// Names already taken (a process id used again after a kill) are passed over this many times.
constexpr int kNameAttempts = 100;

std::string OwnSuffix() {
  static std::atomic<unsigned> counter{0};
  return "." + std::to_string(file_calls::ProcessId()) + "-" + std::to_string(counter++) + ".tmp";
}

// Removes the entries of dir named "<stem>.<pid>-<count>.tmp" of processes that have ended:
// plain files, or directories with what they hold when directories is set.
void RemoveStale(const fs::path& dir, const fs::path::string_type& stem, bool directories) {
  const auto own = static_cast<unsigned long long>(file_calls::ProcessId());
  std::error_code ec;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end;
       it.increment(ec)) {
    const unsigned long long owner = TemporaryOwner(it->path().filename().native(), stem);
    if (owner == 0 || owner == own || file_calls::ProcessMayRun(owner))
      continue;
    std::error_code ignored;
    const fs::file_type type = it->symlink_status(ignored).type();
    if (!directories && type == fs::file_type::regular) {
      fs::remove(it->path(), ignored);
    } else if (directories && type == fs::file_type::directory) {
      fs::remove_all(it->path(), ignored);
    }
  }
}

}  // namespace

fs::path TemporaryBeside(const fs::path& target, bool short_name) {
  fs::path name = short_name ? fs::path(kShortTemporaryStem) : target.filename();
  name += OwnSuffix();
  return target.parent_path() / name;
}

unsigned long long TemporaryOwner(const fs::path::string_type& entry,
                                  const fs::path::string_type& stem) {
  using Char = fs::path::value_type;
  const std::size_t head = stem.size() + 1;
  const std::size_t tail = 4;  // ".tmp"
  if (entry.size() < head + 3 + tail || entry.compare(0, stem.size(), stem) != 0 ||
      entry[stem.size()] != Char('.') ||
      entry.compare(entry.size() - tail, tail, fs::path(".tmp").native()) != 0) {
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

void RemoveStaleTemporaries(const fs::path& target) {
  RemoveStale(target.parent_path(), target.filename().native(), false);
  RemoveStale(target.parent_path(), fs::path(kShortTemporaryStem).native(), false);
}

Result<fs::path> MakeWorkDirectory(const std::string& stem) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec)
    return Failure{ec.message()};
  const fs::path stem_path = PathFromUtf8(stem);
  RemoveStale(base, stem_path.native(), true);
  int error = EEXIST;
  for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
    fs::path dir = base / stem_path;
    dir += OwnSuffix();
#ifdef _WIN32
    // The temporary directory of a Windows account is its own.
    if (fs::create_directory(dir, ec))
      return dir;
    if (ec)
      return Failure{ec.message()};
#else
    // Readable by its user only: the system's temporary directory is shared.
    if (::mkdir(dir.c_str(), 0700) == 0)
      return dir;
    error = file_calls::LastError();
#endif
  }
  return Failure{SystemReason(error)};
}

}  // namespace quastor
