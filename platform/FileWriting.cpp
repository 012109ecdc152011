#include "platform/FileWriting.h"

#include <atomic>
#include <cerrno>
#include <system_error>

#include "platform/PathText.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace quastor {
namespace {

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const long pid = _getpid();
#else
  const long pid = static_cast<long>(getpid());
#endif
  std::filesystem::path name = target.filename();
  name += "." + std::to_string(pid) + "-" + std::to_string(counter++) + ".tmp";
  return target.parent_path() / name;
}

std::FILE* OpenNew(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"wbx");
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

int SyncToDisk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file));
#else
  return fsync(fileno(file));
#endif
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() {
  Discard();
}

Status AtomicFileWriter::Open() {
  Discard();
  error_ = 0;
  temporary_ = TemporaryBeside(target_);
  errno = 0;
  file_ = OpenNew(temporary_);
  if (file_ == nullptr) {
    error_ = errno != 0 ? errno : EIO;
    temporary_.clear();
    return Failure{SystemReason(error_)};
  }
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
  return Status::Ok();
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (file_ == nullptr || error_ != 0)
    return false;
  if (bytes.empty())
    return true;
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    error_ = errno != 0 ? errno : EIO;
    return false;
  }
  return true;
}

Status AtomicFileWriter::Commit() {
  if (file_ == nullptr)
    return Failure{SystemReason(error_ != 0 ? error_ : EBADF)};
  if (error_ == 0 && (std::fflush(file_) != 0 || SyncToDisk(file_) != 0)) {
    error_ = errno != 0 ? errno : EIO;
  }
  if (std::fclose(file_) != 0 && error_ == 0)
    error_ = errno != 0 ? errno : EIO;
  file_ = nullptr;
  if (error_ != 0) {
    const int error = error_;
    Discard();
    return Failure{SystemReason(error)};
  }
  std::error_code ec;
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    Discard();
    return Failure{ec.message()};
  }
  temporary_.clear();
  return Status::Ok();
}

void AtomicFileWriter::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
  }
}

Status WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  if (Status opened = writer.Open(); !opened)
    return opened;
  writer.Write(bytes);
  return writer.Commit();
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
