#pragma once
// Temporary directories and whole-file helpers for tests.

#include <filesystem>
#include <string>

namespace quastor::test {

// A fresh directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
std::string ReadBytes(const std::filesystem::path& file);

// A file of tests/data.
std::filesystem::path DataFile(const std::string& name);

// A file of the source tree, by its path from the top.
std::filesystem::path SourceFile(const std::string& relative);

}  // namespace quastor::test
