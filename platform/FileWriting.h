#pragma once
// Writing files so that a reader never sees half a file, without changing what the user had:
// the bytes go to a temporary beside the target, are flushed to the disk, and the temporary
// then replaces the target in one rename. The replacement keeps the target's permission bits
// (and owner, where the system allows), writes through symbolic links to the file they name,
// and refuses a target the user could not open for writing, with the reason a direct write
// would give. Where the directory refuses new files but the target itself is writable, the
// file is written in place instead. A failure leaves the previous file untouched and removes
// the temporary. A process killed in the middle of a save cannot remove its temporary; the
// next successful save of the same file removes the temporaries of processes that have ended.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
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

// The file a write to path reaches: symbolic links followed to the file they name (which need
// not exist yet). Fails for a loop of links.
Result<std::filesystem::path> WriteTarget(const std::filesystem::path& path);

// A failure that tests inject into this process's writes, to show that a failing save leaves
// the previous file as it was; the program never sets one. The chosen step fails with error as
// the system would report it: kWrite once afterBytes bytes of the file are written (a full
// disk part way), kSync when the bytes are flushed to the disk, kRename when the temporary is
// to replace the target. Not for use from several threads.
struct InjectedWriteFault {
  enum class Step { kNone, kWrite, kSync, kRename };
  Step step = Step::kNone;
  std::size_t afterBytes = 0;
  int error = ENOSPC;
};
// Every later write meets the fault until one with Step::kNone is set.
void InjectWriteFault(const InjectedWriteFault& fault);

// For writers that stream a file through buffers of their own, so that the injected fault
// reaches them too: of count bytes written at offset in the file, those that come before the
// fault; *error is the fault's error when it cuts the write short, else 0.
std::size_t BytesBeforeInjectedFault(std::uint64_t offset, std::size_t count, int* error);
// The fault's error when it is set at step (kSync or kRename), else 0.
int InjectedFaultAt(InjectedWriteFault::Step step);

// Each line followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace quastor
