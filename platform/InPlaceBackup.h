#pragma once
// The copy of a file's old content that a write in place keeps until the new content is on
// the disk. It lives in the user's cache directory, one file per target ("<hash>.inplace"),
// and names its target, so that the next write of that target puts back the old content that
// a process killed in the middle of writing in place destroyed.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// Where the copies go, in this order, the first that can be made: $XDG_CACHE_HOME/quastor,
// else ~/.cache/quastor (%LOCALAPPDATA%\quastor on Windows); else a directory of the user's
// own in the system's temporary directory.
std::vector<std::filesystem::path> BackupDirectories();

class InPlaceBackup {
 public:
  // Copies the whole content of fd, the open target, into a new copy, and flushes the copy to
  // the disk before it returns. Fails with the system's reason, leaving no copy.
  static Result<InPlaceBackup> Take(const std::filesystem::path& target, int fd);

  // Puts the old content back into fd: written from its start, cut to its size and flushed to
  // the disk. 0 or the system's errno value.
  int RestoreInto(int fd) const;
  // Notes that the target was just written: a target whose modification time is later than the
  // copy's (by more than a moment) was changed by someone else after the write was cut short.
  void MarkWritten() const;
  // Removes the copy, flushed to the disk, and lets go of its lock. 0 or the system's errno
  // value.
  int Remove();

  const std::filesystem::path& path() const { return path_; }

 private:
  // lock: the copy open with its lock taken (-1: none), closed with the last holder.
  InPlaceBackup(std::filesystem::path path, std::uint64_t header_bytes, std::uint64_t old_bytes,
                int lock);
  static Result<InPlaceBackup> TakeIn(const std::filesystem::path& dir,
                                      const std::filesystem::path& target, int fd,
                                      std::uint64_t old_bytes);
  friend Status RestoreFromCopy(const std::filesystem::path& copy, bool for_writing,
                                std::vector<std::string>* notes);

  std::filesystem::path path_;
  std::uint64_t headerBytes_;
  std::uint64_t oldBytes_;
  // The writer holds the copy's lock while it writes in place, so that no other process puts
  // the old content back under it.
  std::shared_ptr<const int> lock_;
};

// Target, copy, the system's reason.
inline constexpr char kInterruptedWriteKept[] =
    "\"%s\" was left half written by a program that stopped; its old content is kept in \"%s\" "
    "and could not be put back: %s";

// Target, copy.
inline constexpr char kInterruptedWriteOutdated[] =
    "\"%s\" was changed after a write to it was cut short, so it stays as it is; the content "
    "it had before that write is kept in \"%s\".";

// When a write in place of target was cut short (its copy is still there and no running
// writer holds it), puts the old content back and removes the copy. Fails with
// kInterruptedWriteKept, keeping the copy, when the content could not be put back. A target
// changed since the cut (a user mended it by hand) is left as it is: the copy stays, and a
// note (kInterruptedWriteOutdated) goes to notes when given; for_writing: the caller is about
// to write the target anew, so the copy is out of date and goes. Cheap when there is no copy:
// one look into each backup directory.
Status RestoreInterruptedWrite(const std::filesystem::path& target, bool for_writing = false,
                               std::vector<std::string>* notes = nullptr);

// The same for every copy in the backup directories, whatever its target: run at start-up, so
// that a file no reader of this program opens again (an exported CSV) is mended too. Failures
// and notes go to notes (when given); their copies stay for the next try.
void RestoreInterruptedWrites(std::vector<std::string>* notes = nullptr);

}  // namespace quastor
