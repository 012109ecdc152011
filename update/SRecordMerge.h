#pragma once
// Putting a 16 KB bank image into a Motorola S-record file, streamed: the input is read line by
// line through a small buffer, the image in blocks of 32 bytes, so memory stays bounded
// whatever the size of the file.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/Result.h"

namespace quastor {

inline constexpr std::uint32_t kBankBytes = 0x4000;
inline constexpr std::uint32_t kBankBlockBytes = 32;
inline constexpr int kBankRecordCount = static_cast<int>(kBankBytes / kBankBlockBytes);

// How a merge that ran to its end went.
enum class BankMerge {
  kRangeAbsent = 0,  // no data of the input lay in the bank; the output equals the input
  kInserted = 1,     // the bank's records stand where the first data of the bank stood
};

struct MergeRequest {
  std::filesystem::path input;   // S-record file
  std::filesystem::path image;   // bank image, at most 16384 bytes
  std::filesystem::path output;  // created, or emptied when it exists
  int bank = 1;                  // the bank's number, for messages
  std::uint32_t firstAddress = 0;
  // Told now and then with the work done so far and the whole work (input bytes plus the
  // bank's 16384 bytes); the last call has done == total.
  std::function<void(std::uint64_t done, std::uint64_t total)> progress;
};

// Copies the input to the output, every line ending with CR LF, except the data of the bank's
// range [firstAddress, firstAddress + 16384): every S1, S2 or S3 record whose data lies in the
// range is left out, and where the first of them stood the 512 S2 records of the bank image
// are written (32 bytes each, an image shorter than the bank filled with 0xFF). A record that
// lies only partly in the range keeps its bytes outside the range, rewritten as records of its
// own type. An S5/S6 record count must count the input's data records before it (a file that
// lost lines is refused); it is rewritten to count the output's.
//
// Every input line must be a valid record (hexadecimal digits, byte count and checksum), and
// the input must hold an S9 record. On any failure the output is removed and the message names
// the problem (a damaged input names the line).
Result<BankMerge> MergeBank(const MergeRequest& request);

}  // namespace quastor
