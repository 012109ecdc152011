// Any bytes as the S-record input of the firmware generation's bank merge. The first byte
// (dropped) chooses the bank's first address (bits 0 and 1) and the image's length (the rest,
// times 273 bytes: up to past the 16384 a bank holds). A merge either fails and leaves no
// output, or gives an output of valid records, each ending with CR LF, in which every data
// byte outside the bank stands as in the input and in the same order, the bank holds the image
// (0xFF past its end) when it was inserted and nothing else lies in the bank, every other
// record is the input's, and every record count counts the data records before it.
//
//   srecord_merge_fuzzer fuzz/corpus/srecord_merge

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/FuzzFiles.h"
#include "update/SRecord.h"
#include "update/SRecordMerge.h"

namespace {

using namespace quastor;
using fuzz::Require;

// What the properties look at in a file of records.
struct Records {
  std::vector<std::pair<std::uint64_t, std::uint8_t>> outside;  // data bytes outside the bank
  std::vector<std::pair<std::uint64_t, std::uint8_t>> inside;   // data bytes in the bank
  std::vector<std::string> others;  // lines of records neither data nor count
  bool countsRight = true;          // every count record counts the data records before it
};

Records ReadRecords(std::string_view text, std::uint32_t first, bool crlf) {
  Records records;
  std::uint64_t data_records = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (crlf) {
      Require(end != std::string_view::npos && !line.empty() && line.back() == '\r',
              "every output line ends with CR LF");
      line.remove_suffix(1);
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
      line.remove_suffix(1);
    srec::Record record;
    Require(srec::ParseRecord(line, &record) == srec::Problem::kNone,
            "every line of a merged input or output is a valid record");
    if (record.isData()) {
      ++data_records;
      std::vector<std::uint8_t> bytes(record.dataBytes());
      srec::DecodeHex(record.dataHex, bytes.data());
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint64_t address = std::uint64_t{record.address} + i;
        const bool in_bank = address >= first && address < std::uint64_t{first} + kBankBytes;
        (in_bank ? records.inside : records.outside).emplace_back(address, bytes[i]);
      }
    } else if (record.type == '5' || record.type == '6') {
      records.countsRight = records.countsRight && record.address == data_records;
    } else {
      records.others.emplace_back(line);
    }
  }
  return records;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  static const std::uint32_t kFirstAddresses[] = {0x388000, 0x398000, 0x1000, 0};
  const std::uint32_t first = kFirstAddresses[data[0] & 3];
  std::string image(static_cast<std::size_t>(data[0] >> 2) * 273, '\0');
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<char>(i * 7 + 1);
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

  MergeRequest request;
  request.input = fuzz::Put("input.sx", input);
  request.image = fuzz::Put("bank.bin", image);
  request.output = fuzz::Absent("output.sx");
  request.firstAddress = first;
  std::uint64_t last_done = 0;
  request.progress = [&](std::uint64_t done, std::uint64_t total) {
    Require(done >= last_done && done <= total, "progress grows up to the whole work");
    last_done = done;
  };
  const Result<BankMerge> merged = MergeBank(request);
  if (!merged) {
    Require(!merged.error().empty(), "a failed merge says why");
    Require(!std::filesystem::exists(request.output), "a failed merge leaves no output");
    return 0;
  }
  Require(image.size() <= kBankBytes, "an image longer than the bank is refused");
  const Records in = ReadRecords(input, first, false);
  const Records out = ReadRecords(ReadAll(request.output), first, true);
  Require(in.countsRight, "a merged input's counts are right");
  Require(out.countsRight, "the output's record counts count its data records");
  Require(out.outside == in.outside, "the data outside the bank stands as in the input");
  Require(out.others == in.others, "the other records stand as in the input");
  if (*merged == BankMerge::kRangeAbsent) {
    Require(out.inside.empty(), "no data lies in a bank that was not inserted");
    return 0;
  }
  Require(out.inside.size() == kBankBytes, "the inserted bank is whole");
  for (std::size_t i = 0; i < kBankBytes; ++i) {
    const std::uint8_t expected = i < image.size() ? static_cast<std::uint8_t>(image[i]) : 0xFF;
    Require(out.inside[i] == std::make_pair(std::uint64_t{first} + i, expected),
            "the bank holds the image, then 0xFF");
  }
  return 0;
}
