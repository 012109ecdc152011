#include "platform/WorkbookZipCheck.h"

#include <algorithm>

namespace quastor::workbook {

namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054B50;
constexpr std::uint32_t kDirectoryEntry = 0x02014B50;
constexpr std::uint32_t kLocalHeader = 0x04034B50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kEntrySize = 46;
constexpr std::size_t kLocalSize = 30;

std::uint32_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8);
}

std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return U16(bytes, at) | (U16(bytes, at + 2) << 16);
}

// Sizes from a central or local header: the data must lie in the archive and inflate to no
// more than the bound (0xFFFFFFFF, the mark of a 64-bit archive, is beyond it).
std::optional<std::string> SizeProblem(std::uint64_t compressed, std::uint64_t inflated,
                                       std::uint64_t archiveSize) {
  if (compressed > archiveSize)
    return std::string("damaged zip archive (an entry is larger than the file)");
  if (inflated > kZipMaxEntryBytes)
    return std::string("a part of the workbook is larger than 256 MB");
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ZipProblem(std::string_view archive) {
  const std::string damaged = "damaged zip archive";
  if (archive.size() < kEndSize)
    return damaged;
  // The end record sits in the last 22 bytes plus a comment of up to 65535 bytes.
  std::size_t end = archive.size() - kEndSize;
  const std::size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
  while (U32(archive, end) != kEndOfDirectory) {
    if (end == lowest)
      return damaged;
    --end;
  }
  const std::size_t count = U16(archive, end + 10);
  std::size_t at = U32(archive, end + 16);
  for (std::size_t i = 0; i < count; ++i) {
    if (at > archive.size() || archive.size() - at < kEntrySize ||
        U32(archive, at) != kDirectoryEntry)
      return damaged;
    if (auto problem = SizeProblem(U32(archive, at + 20), U32(archive, at + 24), archive.size()))
      return problem;
    const std::size_t local = U32(archive, at + 42);
    if (local > archive.size() || archive.size() - local < kLocalSize ||
        U32(archive, local) != kLocalHeader)
      return damaged;
    // Bit 3: the sizes follow the data instead of standing in the local header.
    if ((U16(archive, local + 6) & 0x08) == 0) {
      if (auto problem =
              SizeProblem(U32(archive, local + 18), U32(archive, local + 22), archive.size()))
        return problem;
    }
    at += kEntrySize + U16(archive, at + 28) + U16(archive, at + 30) + U16(archive, at + 32);
  }
  return std::nullopt;
}

}  // namespace quastor::workbook
