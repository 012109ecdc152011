#pragma once
// The one way every reader opens a file: without waiting, regular files only, of bounded size.
// A FIFO in place of a project file would block the open until some writer came, a link to
// /dev/zero would be read until memory ran out; both are refused at once instead, as are
// directories and other devices. Missing files and read errors are failures with the system's
// reason, never exceptions.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/Result.h"

namespace quastor {

// Files above this size are not read: no project file, bank image or firmware file comes near.
inline constexpr std::uint64_t kReadLimitBytes = std::uint64_t{256} << 20;

// The refusals; the file's path, quoted as the readers' other messages quote it, goes first.
inline constexpr char kNotRegularFile[] = "\"%s\" is not a regular file.";
// Path, its size in bytes, the limit in MB.
inline constexpr char kFileTooLarge[] =
    "\"%s\" is too large to be read: %s bytes, more than the %s MB a file may hold.";

// A regular file open for reading, with its size when it was opened.
class ReadableFile {
 public:
  ReadableFile(std::FILE* file, std::uint64_t size) : file_(file, &std::fclose), size_(size) {}

  std::FILE* get() const { return file_.get(); }
  std::uint64_t size() const { return size_; }

 private:
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
  std::uint64_t size_;
};

// Opens file for reading without blocking, then asks the open file (not the path a second
// time) what it is, and refuses anything but a regular file of at most kReadLimitBytes.
// A refusal is a sentence of its own naming the file (kNotRegularFile, kFileTooLarge). The
// system's reason for any other failure is put into cannot_read after the file's path
// ("Cannot open file \"%s\". %s"); without a pattern the failure is the reason alone.
Result<ReadableFile> OpenForReading(const std::filesystem::path& file,
                                    const char* cannot_read = nullptr);

// The file's bytes, opened as OpenForReading opens it; a file that grows past the limit while
// it is read is refused as well.
Result<std::string> ReadWholeFile(const std::filesystem::path& file,
                                  const char* cannot_read = nullptr);

}  // namespace quastor
