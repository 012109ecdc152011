#pragma once
// Writing files so that a reader never sees half a file, without changing what the user had.
//
// The bytes go to a temporary beside the target, are flushed to the disk, the temporary
// replaces the target in one rename, and the directory is flushed so that the rename survives
// a crash of the system. The replacement keeps the target's permission bits (and owner, where
// the system allows), writes through symbolic links to the file they name, and refuses a
// target the user could not open for writing, with the reason a direct write would give. A
// target whose name leaves no room for the temporary's suffix gets a temporary of a short name
// (".quastor.<pid>-<count>.tmp"). A failure leaves the previous file untouched and removes the
// temporary. A process killed in the middle of a save cannot remove its temporary; the next
// successful save in the same directory removes the temporaries of processes that have ended.
//
// Only where the directory refuses new files (no permission, or a read-only file system) but
// the target itself is writable, the file is written in place, and still either completes or
// keeps the old content: the new size is reserved on the disk first (a full disk fails before
// the old content is touched); a copy of the old content goes to the user's cache directory
// (see platform/InPlaceBackup.h) and is flushed to the disk before the target is touched; a
// failure puts the old content back; the copy is removed only once the new content is on the
// disk. A process killed in the middle leaves the copy, and the next write of that target puts
// the old content back before it writes. Any other failure to make the temporary (a full disk,
// no more inodes) fails the save.
//
// A device or pipe in the target's place is written to, never replaced by a file.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// "Cannot create file "<path>". <reason>": the message of every writer of a project file.
inline constexpr char kCannotCreateFile[] = "Cannot create file \"%s\". %s";

// Writes bytes to path atomically. The failure message is the system's reason.
Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// WriteFileAtomic with the failure put into kCannotCreateFile.
Status WriteFileOrCannotCreate(const std::filesystem::path& path, std::string_view bytes);

// WriteFileAtomic for a file that comes in pieces, such as a large file copied through a
// buffer: Open, Write until size bytes are written, Commit. Until Commit returns success the
// target holds its old content; a writer that fails, or is destroyed without Commit, leaves
// the old file as it was.
class AtomicFileWriter {
 public:
  // Starts replacing path by size bytes. Fails with the system's reason, changing nothing.
  static Result<AtomicFileWriter> Open(const std::filesystem::path& path, std::uint64_t size);

  AtomicFileWriter(AtomicFileWriter&& other) noexcept;
  AtomicFileWriter& operator=(AtomicFileWriter&& other) noexcept;
  ~AtomicFileWriter();

  // The next bytes. After a failure the writer has given up and every call fails.
  Status Write(std::string_view bytes);
  // Completes the write, which must have had size bytes (else EINVAL).
  Status Commit();

 private:
  struct State;
  explicit AtomicFileWriter(std::unique_ptr<State> state);
  void GiveUp();

  std::unique_ptr<State> state_;
};

// The file a write to path reaches: symbolic links followed to the file they name (which need
// not exist yet). Fails for a loop of links.
Result<std::filesystem::path> WriteTarget(const std::filesystem::path& path);

// A failure that tests inject into this process's writes, to show that a failing save leaves
// the previous file as it was; the program never sets one. The chosen step fails with error as
// the system would report it: kWrite once afterBytes bytes of the file are written (a full
// disk part way), kSync when the bytes are flushed to the disk, kRename when the temporary is
// to replace the target (a write in place has no rename). Besides, when temporaryError is not
// 0, making the temporary beside the target fails with it, as in a directory that refuses new
// files (EACCES). Not for use from several threads.
struct InjectedWriteFault {
  enum class Step { kNone, kWrite, kSync, kRename };
  Step step = Step::kNone;
  std::size_t afterBytes = 0;
  int error = ENOSPC;
  int temporaryError = 0;
};
// Every later write meets the fault until a default one is set.
void InjectWriteFault(const InjectedWriteFault& fault);

// For writers that stream a file through buffers of their own, so that the injected fault
// reaches them too: of count bytes written at offset in the file, those that come before the
// fault; *error is the fault's error when it cuts the write short, else 0.
std::size_t BytesBeforeInjectedFault(std::uint64_t offset, std::size_t count, int* error);
// The fault's error when it is set at step (kSync or kRename), else 0.
int InjectedFaultAt(InjectedWriteFault::Step step);

// The steps of a write as they complete, for tests that check their order; the program never
// observes them. Through a temporary: kTemporaryWritten, kTemporarySynced, kRenamed,
// kDirectorySynced. In place: kBackupSynced, kSpaceReserved, kTargetWritten, kTargetSynced,
// kBackupRemoved (also after a failure that put the old content back). Each is told with the
// file it was done on (the copy of the old content under the name it has while it is written),
// a sync only when the system reported it done.
enum class WriteStep {
  kTemporaryWritten,
  kTemporarySynced,
  kRenamed,
  kDirectorySynced,
  kBackupSynced,
  kSpaceReserved,
  kTargetWritten,
  kTargetSynced,
  kBackupRemoved,
};
using WriteStepObserver = std::function<void(WriteStep step, const std::filesystem::path& file)>;
// Every later step of this process's writes is told to observer, until an empty one is set.
// Not for use from several threads.
void ObserveWriteSteps(WriteStepObserver observer);
// For the platform's writers: tells the observer, if one is set, that step is done on file.
void ReportWriteStep(WriteStep step, const std::filesystem::path& file);

// Each line followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace quastor
