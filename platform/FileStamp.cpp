#include "platform/FileStamp.h"

#include <system_error>

#include "platform/FileReading.h"

namespace quastor {

bool FileStamp::SameContentAs(const FileStamp& other) const {
  if (exists != other.exists || readable != other.readable)
    return false;
  if (!exists || !readable)
    return true;
  return size == other.size && hash == other.hash;
}

std::uint64_t ContentHash(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

FileStamp StampOf(const std::filesystem::path& file) {
  FileStamp stamp;
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (!std::filesystem::exists(status))
    return stamp;
  stamp.exists = true;
  const Result<std::string> bytes = ReadWholeFile(file);
  if (!bytes)
    return stamp;
  stamp.readable = true;
  stamp.size = bytes->size();
  stamp.hash = ContentHash(*bytes);
  return stamp;
}

void ReadStamps::Remember(const std::filesystem::path& file) {
  for (Entry& entry : files_) {
    if (entry.file == file) {
      entry.stamp = StampOf(file);
      return;
    }
  }
  files_.push_back({file, StampOf(file)});
}

std::vector<std::filesystem::path> ReadStamps::Changed() const {
  std::vector<std::filesystem::path> changed;
  for (const Entry& entry : files_) {
    if (!StampOf(entry.file).SameContentAs(entry.stamp))
      changed.push_back(entry.file);
  }
  return changed;
}

}  // namespace quastor
