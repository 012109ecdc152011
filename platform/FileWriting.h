#pragma once
// Writing files so that a reader never sees half a file: the bytes go to a temporary in the
// same directory, are flushed to the disk, and the temporary then replaces the target in one
// rename. A failure leaves the previous file untouched and removes the temporary.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// Streams bytes to a temporary; Commit() replaces the target. Failures carry the system's
// reason (for example "Permission denied"); callers put it into their own message.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::filesystem::path target);
  ~AtomicFileWriter();  // discards the temporary unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  Status Open();
  bool Write(std::string_view bytes);  // false after the first failure
  Status Commit();
  void Discard();

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::FILE* file_ = nullptr;
  int error_ = 0;
};

// Writes bytes to path atomically. The failure message is the system's reason.
Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Each line followed by CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace quastor
