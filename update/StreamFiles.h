#pragma once
// Files read and written in a stream through fixed buffers: lines in, bytes out, files copied.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// fopen for any path (wide names on Windows); errno tells why when it returns null.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Reads lines through a buffer of fixed size. Lines end with LF; the end of line is not part
// of the line (a CR before the LF stays and is the caller's to strip).
class LineReader {
 public:
  static constexpr std::size_t kBufferBytes = 1 << 16;

  explicit LineReader(std::FILE* file);

  enum class Status { kLine, kEnd, kTooLong, kError };
  Status Next(std::string_view* line);
  int error() const { return error_; }  // errno of a read error
  std::uint64_t consumed() const { return consumed_; }

 private:
  bool Fill();

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  int error_ = 0;
  std::uint64_t consumed_ = 0;
};

// Collects bytes and writes them in large blocks; remembers the first write error.
class BlockWriter {
 public:
  static constexpr std::size_t kBufferBytes = 1 << 16;

  explicit BlockWriter(std::FILE* file);
  void Write(std::string_view bytes);
  void WriteLine(std::string_view line);  // line followed by CR LF
  bool Flush();
  int error() const { return error_; }

 private:
  std::FILE* file_;
  std::string pending_;
  std::uint64_t written_ = 0;  // bytes handed to the file so far
  int error_ = 0;
};

// Replaces target by a copy of source, read through a buffer of fixed size, with the
// guarantees of the platform's atomic writer: target keeps its old content unless the copy
// completes. The failure is the system's reason.
Status ReplaceWithCopy(const std::filesystem::path& target, const std::filesystem::path& source);

}  // namespace quastor
