#include "platform/WorkbookCompoundFile.h"

#include <algorithm>

namespace quastor::workbook {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kMiniShift = 6;  // 64-byte mini sectors
constexpr std::uint8_t kStreamEntry = 2;
constexpr std::uint8_t kRootEntry = 5;
constexpr std::size_t kEntrySize = 128;

// Little-endian numbers; the caller has checked that the bytes are there.
std::uint32_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]) |
         (static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8);
}

std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return U16(bytes, at) | (U16(bytes, at + 2) << 16);
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

CompoundFile::CompoundFile(std::string_view bytes) : bytes_(bytes) {
  static constexpr std::string_view kSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  if (bytes.size() < 512 || bytes.substr(0, 8) != kSignature)
    return;
  sectorShift_ = U16(bytes, 0x1E);
  if ((sectorShift_ != 9 && sectorShift_ != 12) || U16(bytes, 0x20) != kMiniShift)
    return;
  miniCutoff_ = U32(bytes, 0x38);
  if (!ReadFat(U32(bytes, 0x2C), U32(bytes, 0x44), U32(bytes, 0x48)))
    return;
  const std::optional<std::string> directory = Chain(U32(bytes, 0x30), kWholeChain, false);
  if (!directory)
    return;
  for (std::size_t at = 0; at + kEntrySize <= directory->size(); at += kEntrySize) {
    const std::string_view raw(directory->data() + at, kEntrySize);
    Entry entry;
    // The name: UTF-16 with its terminating zero counted in bytes.
    const std::size_t units = std::min<std::size_t>(U16(raw, 0x40), 64) / 2;
    for (std::size_t i = 0; i < units; ++i) {
      const std::uint32_t unit = U16(raw, 2 * i);
      if (unit == 0)
        break;
      entry.name.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    entry.type = static_cast<std::uint8_t>(raw[0x42]);
    entry.start = U32(raw, 0x74);
    // Files with 512-byte sectors may leave garbage in the size's upper half.
    entry.size = U32(raw, 0x78);
    if (sectorShift_ == 12)
      entry.size |= static_cast<std::uint64_t>(U32(raw, 0x7C)) << 32;
    entries_.push_back(std::move(entry));
  }
  // Small streams live in 64-byte sectors of the mini stream, the root entry's own data.
  if (!entries_.empty() && entries_[0].type == kRootEntry && U32(bytes, 0x40) > 0) {
    const std::optional<std::string> miniFat = Chain(U32(bytes, 0x3C), kWholeChain, false);
    const std::optional<std::string> miniStream = Chain(entries_[0].start, entries_[0].size, false);
    if (miniFat && miniStream) {
      for (std::size_t at = 0; at + 4 <= miniFat->size(); at += 4)
        miniFat_.push_back(U32(*miniFat, at));
      miniStream_ = *miniStream;
    }
  }
}

bool CompoundFile::ReadFat(std::uint32_t fatSectors, std::uint32_t difatStart,
                           std::uint32_t difatSectors) {
  const std::size_t sectorSize = std::size_t{1} << sectorShift_;
  const std::size_t fileSectors = bytes_.size() >> sectorShift_;
  if (fatSectors > fileSectors || difatSectors > fileSectors)
    return false;
  // The FAT's own sectors: 109 in the header, the rest in a chain of DIFAT sectors whose last
  // entry links to the next.
  std::vector<std::uint32_t> fatIds;
  for (std::size_t i = 0; i < 109 && fatIds.size() < fatSectors; ++i)
    fatIds.push_back(U32(bytes_, 0x4C + 4 * i));
  std::uint32_t difat = difatStart;
  for (std::uint32_t n = 0; n < difatSectors && fatIds.size() < fatSectors; ++n) {
    const std::size_t offset = (std::size_t{difat} + 1) << sectorShift_;
    if (difat >= fileSectors || offset + sectorSize > bytes_.size())
      return false;
    for (std::size_t i = 0; i + 1 < sectorSize / 4 && fatIds.size() < fatSectors; ++i)
      fatIds.push_back(U32(bytes_, offset + 4 * i));
    difat = U32(bytes_, offset + sectorSize - 4);
  }
  if (fatIds.size() < fatSectors)
    return false;
  fat_.reserve(fatIds.size() * sectorSize / 4);
  for (const std::uint32_t id : fatIds) {
    const std::size_t offset = (std::size_t{id} + 1) << sectorShift_;
    if (id >= fileSectors || offset + sectorSize > bytes_.size())
      return false;
    for (std::size_t i = 0; i < sectorSize / 4; ++i)
      fat_.push_back(U32(bytes_, offset + 4 * i));
  }
  return true;
}

std::optional<std::string> CompoundFile::Chain(std::uint32_t start, std::uint64_t size,
                                               bool mini) const {
  const std::vector<std::uint32_t>& table = mini ? miniFat_ : fat_;
  const std::string_view source = mini ? std::string_view(miniStream_) : bytes_;
  const std::size_t shift = mini ? kMiniShift : sectorShift_;
  const std::size_t sectorSize = std::size_t{1} << shift;
  if (size != kWholeChain && size > source.size())
    return std::nullopt;
  // A sound chain visits each sector at most once.
  std::vector<bool> seen(table.size());
  std::string data;
  std::uint32_t id = start;
  while (id != kEndOfChain && data.size() < size) {
    if (id >= table.size() || seen[id])
      return std::nullopt;
    seen[id] = true;
    // Regular sector n follows the 512-byte (or one-sector) header; mini sectors start at 0.
    const std::size_t offset = (std::size_t{id} + (mini ? 0 : 1)) << shift;
    if (offset >= source.size())
      return std::nullopt;
    std::size_t take = std::min(sectorSize, source.size() - offset);
    if (size != kWholeChain)
      take = std::min<std::size_t>(take, size - data.size());
    data.append(source.substr(offset, take));
    id = table[id];
  }
  if (size != kWholeChain && data.size() < size)
    return std::nullopt;
  return data;
}

std::optional<std::string> CompoundFile::Stream(std::string_view name) const {
  for (const Entry& entry : entries_) {
    if (entry.type != kStreamEntry || entry.name.size() != name.size() ||
        !std::equal(name.begin(), name.end(), entry.name.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); }))
      continue;
    return Chain(entry.start, entry.size, entry.size < miniCutoff_);
  }
  return std::nullopt;
}

}  // namespace quastor::workbook
