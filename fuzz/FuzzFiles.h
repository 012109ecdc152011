#pragma once
// What the file-reading fuzz targets share: the readers take paths, so each input is written to
// files in a directory of the fuzzing process's own (removed at its exit), and a broken
// property stops the run with a line that says which.

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quastor::fuzz {

inline void RemoveDir();

// The process's directory, made at first use.
inline const std::filesystem::path& Dir() {
  static const std::filesystem::path dir = [] {
    const std::filesystem::path made =
        std::filesystem::temp_directory_path() / ("quastor-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(made);
    std::atexit(RemoveDir);
    return made;
  }();
  return dir;
}

inline void RemoveDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Dir(), ignored);
}

// Writes bytes to name in the directory; the file's path.
inline std::filesystem::path Put(const std::string& name, std::string_view bytes) {
  const std::filesystem::path file = Dir() / name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

// Removes name from the directory (a file the reader must find missing); its path.
inline std::filesystem::path Absent(const std::string& name) {
  const std::filesystem::path file = Dir() / name;
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  return file;
}

// The input cut at its NUL bytes into at most count parts (the last keeps any further NULs),
// so that one input can stand for several files; XML text holds no NUL of its own.
inline std::vector<std::string_view> Parts(std::string_view bytes, std::size_t count) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const std::size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos)
      break;
    parts.push_back(bytes.substr(0, nul));
    bytes.remove_prefix(nul + 1);
  }
  parts.push_back(bytes);
  return parts;
}

// Stops the run when a property does not hold.
inline void Require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
  }
}

}  // namespace quastor::fuzz
