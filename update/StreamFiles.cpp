#include "update/StreamFiles.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/FileWriting.h"
#include "platform/PathText.h"

namespace quastor {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  errno = 0;
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::strlen(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

LineReader::LineReader(std::FILE* file) : file_(file), buffer_(kBufferBytes) {}

bool LineReader::Fill() {
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  errno = 0;
  const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  end_ += got;
  if (got == 0) {
    if (std::ferror(file_)) {
      error_ = errno != 0 ? errno : EIO;
      return false;
    }
    eof_ = true;
  }
  return true;
}

LineReader::Status LineReader::Next(std::string_view* line) {
  std::size_t searched = begin_;
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const void* found = std::memchr(buffer_.data() + searched, '\n', end_ - searched);
    if (found != nullptr) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(found) - start);
      *line = std::string_view(start, length);
      begin_ += length + 1;
      consumed_ += length + 1;
      return Status::kLine;
    }
    if (eof_) {
      if (begin_ == end_)
        return Status::kEnd;
      *line = std::string_view(start, end_ - begin_);
      consumed_ += end_ - begin_;
      begin_ = end_;
      return Status::kLine;
    }
    if (begin_ == 0 && end_ == buffer_.size())
      return Status::kTooLong;
    searched = end_ - begin_;
    if (!Fill())
      return Status::kError;
  }
}

BlockWriter::BlockWriter(std::FILE* file) : file_(file) {
  pending_.reserve(kBufferBytes + 1024);
}

void BlockWriter::Write(std::string_view bytes) {
  pending_.append(bytes.data(), bytes.size());
  if (pending_.size() >= kBufferBytes)
    Flush();
}

void BlockWriter::WriteLine(std::string_view line) {
  pending_.append(line.data(), line.size());
  pending_.append("\r\n", 2);
  if (pending_.size() >= kBufferBytes)
    Flush();
}

bool BlockWriter::Flush() {
  if (error_ == 0 && !pending_.empty()) {
    int fault = 0;
    const std::size_t count = BytesBeforeInjectedFault(written_, pending_.size(), &fault);
    errno = 0;
    if (std::fwrite(pending_.data(), 1, count, file_) != count) {
      error_ = errno != 0 ? errno : EIO;
    } else if (fault != 0) {
      error_ = fault;
    }
    written_ += count;
  }
  pending_.clear();
  return error_ == 0;
}

Status ReplaceWithCopy(const std::filesystem::path& target, const std::filesystem::path& source) {
  std::error_code ec;
  const std::uint64_t size = std::filesystem::file_size(source, ec);
  if (ec)
    return Failure{ec.message()};
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> input(OpenFile(source, "rb"), &std::fclose);
  if (!input)
    return Failure{SystemReason(errno != 0 ? errno : EIO)};
  Result<AtomicFileWriter> writer = AtomicFileWriter::Open(target, size);
  if (!writer)
    return writer.failure();
  std::vector<char> buffer(BlockWriter::kBufferBytes);
  for (;;) {
    errno = 0;
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), input.get());
    if (got == 0) {
      if (std::ferror(input.get()))
        return Failure{SystemReason(errno != 0 ? errno : EIO)};
      break;
    }
    if (Status written = writer.value().Write(std::string_view(buffer.data(), got)); !written)
      return written;
  }
  return writer.value().Commit();
}

}  // namespace quastor
