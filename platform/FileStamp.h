#pragma once
// What a window read of a file, so that it notices when another program (a second instance,
// the command-line tool, a text editor) wrote the file before the window writes over it: the
// size and a hash of the content at the time of reading. The modification time is not kept: a
// new time over the same bytes (a touch, a save without changes) loses nothing when written
// over, and the same time over other bytes (a copy that keeps times) must still be noticed.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quastor {

// Asked before a window writes over a file that changed since it read it; the file's name in
// place of "%s".
inline constexpr char kChangedByAnotherProgram[] =
    "%s was changed by another program since this window read it. Overwrite it?";

struct FileStamp {
  bool exists = false;
  bool readable = false;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;  // of the content, when readable

  // Whether the file holds the same content: false when it appeared, went, became readable or
  // unreadable, or its bytes differ.
  bool SameContentAs(const FileStamp& other) const;
};

// The file's stamp now. A missing file gives exists false; one that cannot be read readable
// false.
FileStamp StampOf(const std::filesystem::path& file);

// 64-bit FNV-1a of bytes.
std::uint64_t ContentHash(const std::string& bytes);

// The files a window read and will write, each with its stamp as it was read.
class ReadStamps {
 public:
  // Takes the file's stamp now. Take it before reading the file: a write that comes between
  // is then noticed (and asked about) rather than missed.
  void Remember(const std::filesystem::path& file);
  void Clear() { files_.clear(); }
  // The remembered files whose content changed since, in the order remembered.
  std::vector<std::filesystem::path> Changed() const;

 private:
  struct Entry {
    std::filesystem::path file;
    FileStamp stamp;
  };
  std::vector<Entry> files_;
};

}  // namespace quastor
