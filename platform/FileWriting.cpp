#include "platform/FileWriting.h"

#include <optional>
#include <system_error>
#include <utility>

#include "platform/FileCalls.h"
#include "platform/InPlaceBackup.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/WriteTemporaries.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
namespace calls = file_calls;

// Temporary names already taken (by a process of the same id, before a kill) are passed over
// this many times.
constexpr int kNameAttempts = 100;

InjectedWriteFault injected;
WriteStepObserver observer;

Failure Reason(int error) {
  return Failure{SystemReason(error)};
}

// The errors with which a directory refuses new files while a file in it may still be written.
bool RefusesNewFiles(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

bool NameTooLong(int error, bool target_exists) {
#ifdef _WIN32
  // Windows reports a path past its length limit as a missing file; the target's directory,
  // though, is there when the target is.
  return error == ENAMETOOLONG || (error == ENOENT && target_exists);
#else
  (void)target_exists;
  return error == ENAMETOOLONG;
#endif
}

// Creates a new temporary beside target: its descriptor, or -1 with *error set.
int CreateTemporary(const fs::path& target, bool target_exists, fs::path* temporary, int* error) {
  if (injected.temporaryError != 0) {
    *error = injected.temporaryError;
    return -1;
  }
  bool short_name = false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    *temporary = TemporaryBeside(target, short_name);
    const int fd = calls::Open(*temporary, calls::Access::kCreateNew);
    if (fd >= 0)
      return fd;
    *error = calls::LastError(EACCES);
    if (!short_name && NameTooLong(*error, target_exists)) {
      short_name = true;
    } else if (*error != EEXIST) {
      return -1;
    }
  }
  return -1;
}

// Flushes fd to the disk and tells step: 0 or the system's error (or the injected one). A
// device or pipe cannot be flushed (EINVAL); its bytes are written all the same.
int SyncAndTell(int fd, WriteStep step, const fs::path& file) {
  if (const int fault = InjectedFaultAt(InjectedWriteFault::Step::kSync); fault != 0)
    return fault;
  const int error = calls::Sync(fd);
  if (error == 0)
    ReportWriteStep(step, file);
  return error == EINVAL ? 0 : error;
}

}  // namespace

struct AtomicFileWriter::State {
  enum class Mode { kReplace, kInPlace, kDirect };
  Mode mode = Mode::kReplace;
  fs::path target;
  fs::path temporary;
  int fd = -1;  // -1 once the write is complete or given up
  std::uint64_t size = 0;
  std::uint64_t written = 0;
  std::optional<InPlaceBackup> backup;

  Status StartInPlace();
  Status Write(std::string_view bytes);
  Status Commit();
  Status CommitReplace();
  Status CommitInPlace();
  void GiveUp();
};

// The old content goes to a copy before anything of the target changes; then the new size is
// reserved, so that a full disk is met while the target still holds its old content.
Status AtomicFileWriter::State::StartInPlace() {
  fd = calls::Open(target, calls::Access::kReadWrite);
  if (fd < 0)
    return Reason(calls::LastError(EACCES));
  mode = Mode::kInPlace;
  Result<InPlaceBackup> taken = InPlaceBackup::Take(target, fd);
  if (!taken) {
    calls::Close(fd);
    fd = -1;
    return taken.failure();
  }
  backup = *taken;
  std::uint64_t current = 0;
  int error = calls::SizeOf(fd, &current);
  if (error == 0)
    error = calls::Reserve(fd, current, size, target.parent_path());
  backup->MarkWritten();
  if (error == 0) {
    ReportWriteStep(WriteStep::kSpaceReserved, target);
    error = calls::SeekToStart(fd);
  }
  if (error != 0) {
    GiveUp();
    return Reason(error);
  }
  return Status::Ok();
}

Status AtomicFileWriter::State::Write(std::string_view bytes) {
  if (fd < 0)
    return Reason(EBADF);
  int fault = 0;
  const std::size_t count = BytesBeforeInjectedFault(written, bytes.size(), &fault);
  int error = calls::WriteAll(fd, bytes.substr(0, count));
  if (error == 0) {
    written += count;
    error = fault;
  }
  if (mode == Mode::kInPlace && backup)
    backup->MarkWritten();
  if (error != 0) {
    GiveUp();
    return Reason(error);
  }
  return Status::Ok();
}

Status AtomicFileWriter::State::Commit() {
  if (fd < 0)
    return Reason(EBADF);
  if (mode != Mode::kDirect && written != size) {
    GiveUp();
    return Reason(EINVAL);
  }
  if (mode == Mode::kReplace)
    return CommitReplace();
  if (mode == Mode::kInPlace)
    return CommitInPlace();
  int error = SyncAndTell(fd, WriteStep::kTargetSynced, target);
  if (const int closed = calls::Close(fd); error == 0)
    error = closed;
  fd = -1;
  return error == 0 ? Status::Ok() : Reason(error);
}

// Written, flushed, renamed over the target, and the directory flushed: in this order, or a
// crash of the system may leave the target empty or the rename undone.
Status AtomicFileWriter::State::CommitReplace() {
  ReportWriteStep(WriteStep::kTemporaryWritten, temporary);
  int error = SyncAndTell(fd, WriteStep::kTemporarySynced, temporary);
  if (const int closed = calls::Close(fd); error == 0)
    error = closed;
  fd = -1;
  if (error == 0)
    error = InjectedFaultAt(InjectedWriteFault::Step::kRename);
  std::error_code ec;
  if (error == 0)
    fs::rename(temporary, target, ec);
  if (error != 0 || ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return error != 0 ? Reason(error) : Failure{ec.message()};
  }
  ReportWriteStep(WriteStep::kRenamed, target);
  if (calls::SyncDirectory(target.parent_path()) == 0)
    ReportWriteStep(WriteStep::kDirectorySynced, target.parent_path());
  RemoveStaleTemporaries(target);
  return Status::Ok();
}

// The target cut to the new size and flushed; only then the copy of the old content goes.
Status AtomicFileWriter::State::CommitInPlace() {
  int error = calls::Truncate(fd, written);
  backup->MarkWritten();
  if (error == 0) {
    ReportWriteStep(WriteStep::kTargetWritten, target);
    error = SyncAndTell(fd, WriteStep::kTargetSynced, target);
  }
  if (error != 0) {
    GiveUp();
    return Reason(error);
  }
  if (const int closed = calls::Close(fd); closed != 0) {
    // The new content may not have reached the disk whole: the old goes back (or, when the
    // target cannot be opened again, stays in the copy for the next write).
    fd = calls::Open(target, calls::Access::kReadWrite);
    GiveUp();
    return Reason(closed);
  }
  fd = -1;
  backup->Remove();
  backup.reset();
  return Status::Ok();
}

void AtomicFileWriter::State::GiveUp() {
  if (fd < 0)
    return;
  if (mode == Mode::kInPlace && backup && backup->RestoreInto(fd) == 0) {
    backup->Remove();
    backup.reset();
  }
  calls::Close(fd);
  fd = -1;
  if (mode == Mode::kReplace) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  }
}

AtomicFileWriter::AtomicFileWriter(std::unique_ptr<State> state) : state_(std::move(state)) {}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept = default;

AtomicFileWriter& AtomicFileWriter::operator=(AtomicFileWriter&& other) noexcept {
  if (this != &other) {
    GiveUp();
    state_ = std::move(other.state_);
  }
  return *this;
}

AtomicFileWriter::~AtomicFileWriter() {
  GiveUp();
}

void AtomicFileWriter::GiveUp() {
  if (state_)
    state_->GiveUp();
}

Result<AtomicFileWriter> AtomicFileWriter::Open(const fs::path& path, std::uint64_t size) {
  const Result<fs::path> resolved = WriteTarget(path);
  if (!resolved)
    return resolved.failure();
  auto state = std::make_unique<State>();
  state->target = *resolved;
  state->size = size;
  const fs::path& target = state->target;

  std::error_code ec;
  const auto status = fs::status(target, ec);
  const bool exists = fs::exists(status);
  if (fs::is_directory(status))
    return Reason(EISDIR);
  if (exists) {
    // The check a direct write makes: could the user open the file for writing?
    const int fd = calls::Open(target, calls::Access::kWriteOnly);
    if (fd < 0)
      return Reason(calls::LastError(EACCES));
    calls::Close(fd);
  }

  // A device or pipe is written to, never replaced by a file.
  if (exists && !fs::is_regular_file(status)) {
    state->mode = State::Mode::kDirect;
    state->fd = calls::Open(target, calls::Access::kTruncate);
    if (state->fd < 0)
      return Reason(calls::LastError(EACCES));
    return AtomicFileWriter(std::move(state));
  }
  // A write in place that a killed process left half done gets its old content back first.
  if (exists) {
    if (const Status restored = RestoreInterruptedWrite(target, true); !restored)
      return restored.failure();
  }
  int error = EACCES;
  state->fd = CreateTemporary(target, exists, &state->temporary, &error);
  if (state->fd >= 0) {
    if (exists)
      calls::TakeOverMode(state->fd, target);
    return AtomicFileWriter(std::move(state));
  }
  if (!exists || !RefusesNewFiles(error))
    return Reason(error);
  if (const Status started = state->StartInPlace(); !started)
    return started.failure();
  return AtomicFileWriter(std::move(state));
}

Status AtomicFileWriter::Write(std::string_view bytes) {
  return state_ ? state_->Write(bytes) : Reason(EBADF);
}

Status AtomicFileWriter::Commit() {
  return state_ ? state_->Commit() : Reason(EBADF);
}

Result<fs::path> WriteTarget(const fs::path& path) {
  fs::path target = path;
  std::error_code ec;
  for (int hops = 0; hops < 40; ++hops) {
    if (!fs::is_symlink(target, ec))
      return target;
    const fs::path link = fs::read_symlink(target, ec);
    if (ec)
      return Reason(ec.value());
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return Reason(ELOOP);
}

Status WriteFileAtomic(const fs::path& path, std::string_view bytes) {
  Result<AtomicFileWriter> writer = AtomicFileWriter::Open(path, bytes.size());
  if (!writer)
    return writer.failure();
  if (Status written = writer.value().Write(bytes); !written)
    return written;
  return writer.value().Commit();
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

void ObserveWriteSteps(WriteStepObserver new_observer) {
  observer = std::move(new_observer);
}

void ReportWriteStep(WriteStep step, const fs::path& file) {
  if (observer)
    observer(step, file);
}

Status WriteFileOrCannotCreate(const fs::path& path, std::string_view bytes) {
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
