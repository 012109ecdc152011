// Putting a bank image into an S-record file: where the records go, what stays, and every
// refusal of damaged input.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/PathText.h"
#include "tests/update/UpdateTestSupport.h"
#ifndef _WIN32
#include "tests/support/Fifo.h"
#endif
#include "update/SRecord.h"
#include "update/SRecordMerge.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr std::uint32_t kBank1 = 0x388000;
constexpr std::uint32_t kBank2 = 0x398000;

std::string Hex(const std::string& bytes) {
  std::string hex;
  char digits[3];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    hex += digits;
  }
  return hex;
}

struct Merge {
  TempDir dir;
  Result<BankMerge> result{Failure{"not run"}};
  Lines lines;
  std::string output;

  Merge& Run(const std::string& input, const std::string& image, std::uint32_t first,
             int bank = 1) {
    WriteBytes(dir / "in.sx", input);
    WriteBytes(dir / "bank.bin", image);
    MergeRequest request;
    request.input = dir / "in.sx";
    request.image = dir / "bank.bin";
    request.output = dir / "out.sx";
    request.bank = bank;
    request.firstAddress = first;
    result = MergeBank(request);
    if (fs::exists(dir / "out.sx")) {
      output = ReadBytes(dir / "out.sx");
      bool crlf = false;
      lines = CrLfLines(output, &crlf);
      EXPECT_TRUE(crlf) << "every output line ends with CR LF";
    }
    return *this;
  }
};

// The 512 records standing at lines[at...] carry the bank image from first on.
void ExpectBankRecords(const Lines& lines, std::size_t at, std::uint32_t first,
                       const std::string& image) {
  ASSERT_GE(lines.size(), at + kBankRecordCount);
  for (int i = 0; i < kBankRecordCount; ++i) {
    const std::string& line = lines[at + i];
    srec::Record record;
    ASSERT_EQ(srec::ParseRecord(line, &record), srec::Problem::kNone) << line;
    char head[16];
    std::snprintf(head, sizeof head, "S224%06X", first + 32 * i);
    EXPECT_EQ(line.substr(0, 10), head) << "record " << i;
    EXPECT_EQ(record.dataHex, Hex(image.substr(32 * i, 32))) << "record " << i;
  }
}

TEST(SRecordMerge, FullBankOfErasedBytesGives512Records) {
  const std::string image(kBankBytes, '\xFF');
  Merge merge;
  merge.Run(
      "S224388000000000000000000000000000000000000000000000000000000000000000000023\r\n"
      "S9030000FC\r\n",
      image, kBank1);
  ASSERT_TRUE(merge.result.ok()) << merge.result.error();
  EXPECT_EQ(*merge.result, BankMerge::kInserted);
  ASSERT_EQ(merge.lines.size(), 513u);
  EXPECT_EQ(merge.lines.front(),
            "S224388000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF43");
  EXPECT_EQ(merge.lines[511],
            "S22438BFE0FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF24");
  ExpectBankRecords(merge.lines, 0, kBank1, image);
  EXPECT_EQ(merge.lines.back(), "S9030000FC");
}

TEST(SRecordMerge, BankRecordsStandWhereTheFirstBankRecordStood) {
  const Lines input = CrLfLines(Fixture("sx4375.sx"));
  const std::string image = PatternImage(kBankBytes, 5);
  Merge merge;
  merge.Run(Fixture("sx4375.sx"), image, kBank1);
  ASSERT_TRUE(merge.result.ok()) << merge.result.error();
  EXPECT_EQ(*merge.result, BankMerge::kInserted);

  // Everything before the first bank record, among it an S1 record whose address digits and
  // first data byte read "388000".
  Lines expected(input.begin(), input.begin() + 8);
  ASSERT_EQ(input[5].substr(4, 6), "388000");
  ExpectBankRecords(merge.lines, 8, kBank1, image);
  const Lines after = {
      input[9],  // between the banks, after the first bank record: keeps its place
                 // The record that straddles the bank's end keeps its 16 bytes past the bank.
      "S21438C000030A11181F262D343B424950575E656C7B", input[13], input[14], input[15], input[16],
      input[17],
      "S503020EEC",  // the record count follows the output
      input[19]};
  expected.insert(expected.end(), after.begin(), after.end());
  ASSERT_EQ(merge.lines.size(), expected.size() + kBankRecordCount);
  const Lines head(merge.lines.begin(), merge.lines.begin() + 8);
  const Lines tail(merge.lines.begin() + 8 + kBankRecordCount, merge.lines.end());
  EXPECT_EQ(head, Lines(expected.begin(), expected.begin() + 8));
  EXPECT_EQ(tail, Lines(expected.begin() + 8, expected.end()))
      << "the scattered S2 and S3 records of the bank are gone";
}

TEST(SRecordMerge, RecordStraddlingTheBankStartKeepsItsBytesBefore) {
  const Lines input = CrLfLines(Fixture("sx4375.sx"));
  const std::string image = PatternImage(kBankBytes, 9);
  Merge merge;
  merge.Run(Fixture("sx4375.sx"), image, kBank2, 2);
  ASSERT_TRUE(merge.result.ok()) << merge.result.error();
  Lines expected(input.begin(), input.begin() + 15);
  expected.push_back("S214397FF0939AA1A8AFB6BDC4CBD2D9E0E7EEF5FCCB");
  ASSERT_EQ(merge.lines.size(), 16u + kBankRecordCount + 3);
  EXPECT_EQ(Lines(merge.lines.begin(), merge.lines.begin() + 16), expected);
  ExpectBankRecords(merge.lines, 16, kBank2, image);
  EXPECT_EQ(Lines(merge.lines.end() - 3, merge.lines.end()),
            (Lines{input[17], "S5030210EA", input[19]}));
}

TEST(SRecordMerge, InputWithoutTheBankRangeIsCopied) {
  // Lines ending in LF only, or with trailing blanks, are written with CR LF.
  const std::string crlf = Fixture("sx4375_no_bank2.sx");
  std::string loose;
  for (const auto& line : CrLfLines(crlf))
    loose += line + " \t\n";
  for (const std::string& input : {crlf, loose}) {
    Merge merge;
    merge.Run(input, PatternImage(kBankBytes), kBank2, 2);
    ASSERT_TRUE(merge.result.ok()) << merge.result.error();
    EXPECT_EQ(*merge.result, BankMerge::kRangeAbsent);
    EXPECT_EQ(merge.output, crlf);
  }
}

TEST(SRecordMerge, ShortImageIsFilledWithErasedBytes) {
  const std::string image = PatternImage(100, 1);
  Merge merge;
  merge.Run(Fixture("sx4375.sx"), image, kBank1);
  ASSERT_TRUE(merge.result.ok()) << merge.result.error();
  std::string filled = image + std::string(kBankBytes - image.size(), '\xFF');
  ExpectBankRecords(merge.lines, 8, kBank1, filled);
}

TEST(SRecordMerge, RefusesWhatItCannotUse) {
  const std::string fixture = Fixture("sx4375.sx");
  Lines lines = CrLfLines(fixture);
  auto with_line3 = [&](const std::string& line) {
    Lines changed = lines;
    changed[2] = line;
    std::string text;
    for (const auto& l : changed)
      text += l + "\r\n";
    return text;
  };
  std::string without_s9 = fixture.substr(0, fixture.rfind("S9"));
  struct Case {
    std::string input;
    std::string image;
    std::string message;  // "IN" stands for the input's path
  } cases[] = {
      {with_line3(""), "", "File IN Not Valid at line 3: empty line,Abort Procedure"},
      {with_line3(":10000000"), "", "File IN Not Valid at line 3: not an S-record,Abort Procedure"},
      {with_line3("S4030000FC"), "",
       "File IN Not Valid at line 3: unknown record type,Abort Procedure"},
      {with_line3("S1130010737A81888F969DA4ABB2B9C0C7CED5DX64"), "",
       "File IN Not Valid at line 3: not hexadecimal,Abort Procedure"},
      {with_line3("S1140010737A81888F969DA4ABB2B9C0C7CED5DC64"), "",
       "File IN Not Valid at line 3: wrong byte count,Abort Procedure"},
      {with_line3("S1130010737A81888F969DA4ABB2B9C0C7CED5DC65"), "",
       "File IN Not Valid at line 3: wrong checksum,Abort Procedure"},
      {with_line3(std::string(70000, 'S')), "",
       "File IN Not Valid at line 3: line too long,Abort Procedure"},
      {without_s9, "", "File IN Has No S9 Record,Abort Procedure"},
      // A lost line: the count says 17 data records, 16 are left.
      {with_line3("S00600004844521B"), "",
       "File IN Not Valid at line 19: record count does not match the data records,"
       "Abort Procedure"},
      // S7 and S8 end S3 and S2 files, but the programmer needs the S9.
      {without_s9 + "S804000000FB\r\nS70500000000FA\r\n", "",
       "File IN Has No S9 Record,Abort Procedure"},
      {fixture, std::string(kBankBytes + 1, '\0'),
       "File bank1.bin Longer Than 16384 Bytes,Abort Procedure"},
  };
  for (const Case& c : cases) {
    Merge merge;
    WriteBytes(merge.dir / "out.sx", "left from before");
    merge.Run(c.input, c.image, kBank1);
    ASSERT_FALSE(merge.result.ok()) << c.message;
    std::string message = c.message;
    if (message.find("IN") != std::string::npos) {
      message.replace(message.find("IN"), 2, (merge.dir / "in.sx").string());
    }
    EXPECT_EQ(merge.result.error(), message);
    EXPECT_FALSE(fs::exists(merge.dir / "out.sx")) << c.message;
  }
}

std::string Record(char type, std::uint32_t address, const std::string& data) {
  return srec::FormatRecord(type, address, reinterpret_cast<const std::uint8_t*>(data.data()),
                            data.size()) +
         "\r\n";
}

// Inputs at the edges of what the merge must handle, each with the whole output it gives.
TEST(SRecordMerge, EdgesOfTheInput) {
  const std::string image = PatternImage(kBankBytes, 3);
  const std::string before = Record('2', kBank1 - 16, std::string(16, 'a'));  // ends at start
  const std::string end = "S9030000FC\r\n";
  struct Case {
    const char* what;
    std::string input;
    BankMerge result;
    std::string expected;  // "" stands for the input with CR LF line ends
  } cases[] = {
      {"a record ending exactly where the bank starts", before + end, BankMerge::kRangeAbsent, ""},
      {"last line without a line end", before + "S9030000FC", BankMerge::kRangeAbsent,
       before + end},
      {"S7 and S8 pass through beside the S9", before + "S804000000FB\r\n" + end,
       BankMerge::kRangeAbsent, ""},
      {"a record without data inside the bank takes the bank's place",
       before + Record('2', kBank1 + 0x100, "") + end, BankMerge::kInserted, "BANK"},
      // A record without data lies where its address is: the bank holds kBank1 to its last
      // byte, not the address after it, where such a record ends exactly at the bank's end.
      {"a record without data at the bank's first address is in the bank",
       before + Record('2', kBank1, "") + end, BankMerge::kInserted, "BANK"},
      {"a record without data at the bank's last address is in the bank",
       before + Record('2', kBank1 + kBankBytes - 1, "") + end, BankMerge::kInserted, "BANK"},
      {"a record without data ending at the bank's end stays outside",
       before + Record('2', kBank1 + kBankBytes, "") + end, BankMerge::kRangeAbsent, ""},
      {"a record without data just before the bank stays outside",
       before + Record('2', kBank1 - 1, "") + end, BankMerge::kRangeAbsent, ""},
  };
  for (const Case& c : cases) {
    Merge merge;
    merge.Run(c.input, image, kBank1);
    ASSERT_TRUE(merge.result.ok()) << c.what << ": " << merge.result.error();
    EXPECT_EQ(*merge.result, c.result) << c.what;
    if (c.expected == "BANK") {
      ASSERT_EQ(merge.lines.size(), 2u + kBankRecordCount) << c.what;
      EXPECT_EQ(merge.lines.front() + "\r\n", before) << c.what;
      ExpectBankRecords(merge.lines, 1, kBank1, image);
      EXPECT_EQ(merge.lines.back() + "\r\n", end) << c.what;
    } else {
      EXPECT_EQ(merge.output, c.expected.empty() ? c.input : c.expected) << c.what;
    }
  }
}

// The record count takes two bytes (S5) up to 65,535 data records and three (S6) from 65,536,
// whatever type the input used; it counts the records written before it.
TEST(SRecordMerge, CountRecordIsS5UpTo65535DataRecordsAndS6Beyond) {
  const struct {
    int records;   // data records before the count
    char written;  // the count record's type in the input
    char expected;
  } cases[] = {
      {65535, '5', '5'},
      {65535, '6', '5'},
      {65536, '6', '6'},
      {70000, '6', '6'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.records) + " records after S" + c.written);
    std::string input;
    for (int i = 0; i < c.records; ++i)
      input += Record('1', static_cast<std::uint32_t>(i % 0x1000) * 16, std::string(16, 'x'));
    input += Record(c.written, c.records, "") + Record('2', kBank1, "bank") + "S9030000FC\r\n";
    Merge merge;
    merge.Run(input, "", kBank1);
    ASSERT_TRUE(merge.result.ok()) << merge.result.error();
    // The count stands before the bank's records, so it counts the input's records.
    ASSERT_EQ(merge.lines.size(), c.records + 2u + kBankRecordCount);
    EXPECT_EQ(merge.lines[c.records] + "\r\n", Record(c.expected, c.records, ""));
  }
}

#ifndef _WIN32
TEST(SRecordMerge, WriteErrorIsToldAndStopsTheMerge) {
  TempDir dir;
  WriteBytes(dir / "in.sx", Fixture("sx4375.sx"));
  WriteBytes(dir / "bank.bin", PatternImage(kBankBytes));
  // A full disk, through a link to the device that is always full.
  fs::create_symlink("/dev/full", dir / "full.sx");
  MergeRequest request{dir / "in.sx", dir / "bank.bin", dir / "full.sx", 1, kBank1, {}};
  const Result<BankMerge> result = MergeBank(request);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error(), "File " + (dir / "full.sx").string() + " Not Writable (" +
                                SystemReason(ENOSPC) + "),Abort Procedure");
  EXPECT_TRUE(fs::exists("/dev/full")) << "only a file of its own is removed after a failure";
}
#endif

TEST(SRecordMerge, MissingInputIsToldWithTheSystemsReason) {
  TempDir dir;
  WriteBytes(dir / "bank.bin", "");
  MergeRequest request{dir / "none.sx", dir / "bank.bin", dir / "out.sx", 1, kBank1, {}};
  const Result<BankMerge> result = MergeBank(request);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error().rfind("File " + (dir / "none.sx").string() + " Not Readable (", 0), 0u)
      << result.error();
  EXPECT_FALSE(fs::exists(dir / "out.sx"));
}

#ifndef _WIN32
// A FIFO in place of the firmware file must not hang the run, nor /dev/zero in place of a bank
// image end it for want of memory.
TEST(SRecordMerge, InputsThatAreNoRegularFilesAreRefused) {
  TempDir dir;
  WriteBytes(dir / "in.sx", Fixture("sx4375.sx"));
  WriteBytes(dir / "bank.bin", PatternImage(kBankBytes));
  fs::create_symlink("/dev/zero", dir / "zero.bin");
  const struct {
    const char* what;
    fs::path input;
    fs::path image;
    fs::path refused;
  } cases[] = {
      {"FIFO as firmware file", dir / "fifo.sx", dir / "bank.bin", dir / "fifo.sx"},
      {"/dev/zero as bank image", dir / "in.sx", dir / "zero.bin", dir / "zero.bin"},
      {"directory as bank image", dir / "in.sx", dir.path(), dir.path()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MergeRequest request{c.input, c.image, dir / "out.sx", 1, kBank1, {}};
    const auto merge = [&] { return MergeBank(request); };
    bool waited = false;
    const Result<BankMerge> result =
        c.input == dir / "fifo.sx" ? WithFifo(c.input, merge, &waited) : merge();
    EXPECT_FALSE(waited) << "the merge waited for a writer";
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), "\"" + c.refused.string() + "\" is not a regular file.");
    EXPECT_FALSE(fs::exists(dir / "out.sx"));
  }
}
#endif

TEST(SRecordMerge, ProgressEndsAtTheWholeWork) {
  TempDir dir;
  // Enough lines to cross the reader's buffer several times.
  std::string input;
  for (int i = 0; i < 5000; ++i)
    input += "S1130010737A81888F969DA4ABB2B9C0C7CED5DC64\r\n";
  input += "S9030000FC\r\n";
  WriteBytes(dir / "in.sx", input);
  WriteBytes(dir / "bank.bin", "");
  std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;
  MergeRequest request{dir / "in.sx",
                       dir / "bank.bin",
                       dir / "out.sx",
                       1,
                       kBank1,
                       [&](std::uint64_t done, std::uint64_t total) {
                         calls.emplace_back(done, total); }};
  ASSERT_TRUE(MergeBank(request).ok());
  ASSERT_GE(calls.size(), 3u);
  for (std::size_t i = 1; i < calls.size(); ++i)
    EXPECT_GE(calls[i].first, calls[i - 1].first);
  EXPECT_EQ(calls.back().first, input.size() + kBankBytes);
  EXPECT_EQ(calls.back().second, input.size() + kBankBytes);
  EXPECT_EQ(ReadBytes(dir / "out.sx"), input);
}

}  // namespace
}  // namespace quastor::test
