#pragma once
// The temporaries of writes, named for the process that makes them, so that a later write can
// remove those that a process killed in the middle of its work left behind.
//
// A temporary beside a target is "<name>.<pid>-<count>.tmp"; when that name would be longer
// than the file system allows, it is "<kShortStem>.<pid>-<count>.tmp" instead. A work
// directory is "<stem>.<pid>-<count>.tmp" in the system's temporary directory, readable by its
// user only.

#include <filesystem>
#include <string>

#include "platform/Result.h"

namespace quastor {

inline constexpr char kShortTemporaryStem[] = ".quastor";

// A name for a new temporary beside target, different at every call; the short form when
// short_name is set.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target, bool short_name);

// The process that made the temporary entry of stem ("<stem>.<pid>-<count>.tmp"), or 0 when
// entry is no such name.
unsigned long long TemporaryOwner(const std::filesystem::path::string_type& entry,
                                  const std::filesystem::path::string_type& stem);

// Removes the temporaries beside target, of both forms, that ended processes left behind.
// Those of processes that may still run stay, since they may still be writing.
void RemoveStaleTemporaries(const std::filesystem::path& target);

// Makes a new, empty work directory of stem in the system's temporary directory, after
// removing those that ended processes left behind. Fails with the system's reason.
Result<std::filesystem::path> MakeWorkDirectory(const std::string& stem);

}  // namespace quastor
