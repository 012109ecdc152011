#pragma once
// Inside the workbook adapter: the streams of an OLE2 compound file (the container of a
// legacy .xls) held in memory. Only what the .xls formula results need: the streams of the
// root storage, from regular or mini sectors. Every sector chain is bounded by the size of
// its table and visits no sector twice: damaged or looping chains end in "no stream", never in
// reading past the bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quastor::workbook {

class CompoundFile {
 public:
  explicit CompoundFile(std::string_view bytes);

  // The whole stream named name (ASCII letters compared without case), or nothing when the
  // file has none or its chain is damaged.
  std::optional<std::string> Stream(std::string_view name) const;

 private:
  struct Entry {
    std::string name;  // ASCII; other characters as '?'
    std::uint8_t type = 0;
    std::uint32_t start = 0;
    std::uint64_t size = 0;
  };

  // The bytes of the chain from start, size bytes long (the whole chain when size is
  // kWholeChain); nothing when the chain leaves its table or the data ends early.
  std::optional<std::string> Chain(std::uint32_t start, std::uint64_t size, bool mini) const;
  bool ReadFat(std::uint32_t fatSectors, std::uint32_t difatStart, std::uint32_t difatSectors);

  static constexpr std::uint64_t kWholeChain = ~std::uint64_t{0};

  std::string_view bytes_;
  std::uint32_t sectorShift_ = 9;
  std::uint32_t miniCutoff_ = 4096;
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> miniFat_;
  std::string miniStream_;
  std::vector<Entry> entries_;
};

}  // namespace quastor::workbook
