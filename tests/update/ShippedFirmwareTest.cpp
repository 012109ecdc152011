// The firmware file installed with the application (dist/MASTER/sx4375.sx): what its script
// makes, valid records with a header, an end and data inside and around both banks, and a
// file that the firmware generation takes with sample bank images and that the SRecord tools
// read before and after.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/update/FirmwareInstallation.h"
#include "update/FirmwareGeneration.h"
#include "update/SRecord.h"
#include "update/SRecordMerge.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

std::string Shipped() {
  return ReadBytes(SourceFile("dist/MASTER/sx4375.sx"));
}

struct Span {
  std::uint32_t first = 0;
  std::uint32_t end = 0;  // one past the last byte
};

TEST(ShippedFirmware, ValidRecordsWithHeaderEndAndDataInAndAroundBothBanks) {
  bool all_crlf = false;
  const std::vector<std::string> lines = CrLfLines(Shipped(), &all_crlf);
  EXPECT_TRUE(all_crlf);
  ASSERT_GT(lines.size(), 2u);

  std::vector<Span> data;
  int s9 = 0;
  int s5_count = -1;
  std::string header;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    srec::Record record;
    ASSERT_EQ(srec::ParseRecord(lines[i], &record), srec::Problem::kNone)
        << "line " << i + 1 << ": " << lines[i];
    if (record.isData()) {
      data.push_back(
          {record.address, record.address + static_cast<std::uint32_t>(record.dataBytes())});
    } else if (record.type == '0') {
      EXPECT_EQ(i, 0u) << "the header comes first";
      std::vector<std::uint8_t> bytes(record.dataBytes());
      srec::DecodeHex(record.dataHex, bytes.data());
      header.assign(bytes.begin(), bytes.end());
    } else if (record.type == '5') {
      s5_count = static_cast<int>(record.address);
    } else if (record.type == '9') {
      ++s9;
      EXPECT_EQ(i, lines.size() - 1) << "the S9 record ends the file";
    }
  }
  EXPECT_EQ(header, "VA4410 firmware sx4375");
  EXPECT_EQ(s9, 1);
  EXPECT_EQ(s5_count, static_cast<int>(data.size()));

  for (int bank : {1, 2}) {
    const std::uint32_t first = BankFirstAddress(bank);
    const std::uint32_t end = first + kBankBytes;
    std::uint32_t inside = 0;
    bool below = false;
    bool above = false;
    for (const Span& span : data) {
      // A record lies wholly inside or wholly outside a bank.
      EXPECT_FALSE(span.first < first && span.end > first) << "bank " << bank << " start";
      EXPECT_FALSE(span.first < end && span.end > end) << "bank " << bank << " end";
      if (span.first >= first && span.end <= end)
        inside += span.end - span.first;
      below = below || span.end == first;
      above = above || span.first == end;
    }
    EXPECT_EQ(inside, kBankBytes) << "bank " << bank << " is covered whole";
    EXPECT_TRUE(below) << "data right below bank " << bank;
    EXPECT_TRUE(above) << "data right above bank " << bank;
  }
}

TEST(ShippedFirmware, PipelinePutsSampleBankImagesIntoIt) {
  FirmwareInstallation installation;
  WriteBytes(installation.state.MasterDir / "sx4375.sx", Shipped());
  const Result<FirmwareJob> job = PrepareFirmwareJob(installation.state);
  ASSERT_TRUE(job.ok()) << job.error();
  std::vector<std::string> messages;
  const PipelineOutcome outcome =
      RunBankPipeline(*job, {[&](const std::string& text) { messages.push_back(text); }, {}});
  EXPECT_TRUE(messages.empty()) << messages.front();
  ASSERT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.marked, (std::array<bool, kBankCount>{})) << "both banks were found";
  EXPECT_TRUE(installation.Leftovers().empty());

  // The images' records stand in the banks' places; everything else is the shipped file's.
  const std::vector<std::string> made = CrLfLines(ReadBytes(installation.NewFile()));
  const std::vector<std::string> shipped = CrLfLines(Shipped());
  ASSERT_EQ(made.size(), shipped.size()) << "each bank is 512 records in both";
  const std::string bank1_first = srec::FormatRecord(
      '2', BankFirstAddress(1),
      reinterpret_cast<const std::uint8_t*>(PatternImage(kBankBlockBytes, 1).data()),
      kBankBlockBytes);
  std::size_t changed = 0;
  for (std::size_t i = 0; i < made.size(); ++i) {
    if (made[i] != shipped[i])
      ++changed;
  }
  EXPECT_NE(std::find(made.begin(), made.end(), bank1_first), made.end());
  EXPECT_GT(changed, 0u);
  EXPECT_LE(changed, 2u * kBankRecordCount);
  EXPECT_EQ(made.front(), shipped.front());
  EXPECT_EQ(made.back(), shipped.back());
}

// The independent tools run on the system itself; the Windows build checks the pipeline above.
#ifndef _WIN32
TEST(ShippedFirmware, IsWhatItsScriptMakes) {
  TempDir dir;
  const ToolRun run = RunTool("perl " + SourceFile("scripts/make-firmware-file.pl").string() + " " +
                              (dir / "sx4375.sx").string());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(ReadBytes(dir / "sx4375.sx") == Shipped())
      << "dist/MASTER/sx4375.sx differs from what scripts/make-firmware-file.pl makes";
}

TEST(ShippedFirmware, SRecordToolsReadItBeforeAndAfterThePipeline) {
  if (!ToolInstalled("srec_cat") || !ToolInstalled("srec_cmp")) {
    FAIL() << "srecord is not installed (scripts/install-deps.sh installs it)";
  }
  FirmwareInstallation installation;
  WriteBytes(installation.state.MasterDir / "sx4375.sx", Shipped());
  const std::string in = (installation.state.MasterDir / "sx4375.sx").string();
  const fs::path copy = installation.dir / "copy.srec";
  const ToolRun read = RunTool("srec_cat " + in + " -o " + copy.string());
  ASSERT_EQ(read.status, 0) << read.output;
  EXPECT_EQ(read.output, "") << "srec_cat warned";
  EXPECT_EQ(RunTool("srec_cmp " + in + " " + copy.string()).status, 0);

  const Result<FirmwareJob> job = PrepareFirmwareJob(installation.state);
  ASSERT_TRUE(job.ok());
  ASSERT_TRUE(RunBankPipeline(*job, {}).complete);
  const std::string out = installation.NewFile().string();

  const fs::path back = installation.dir / "back.bin";
  struct Bank {
    const char* crop;
    std::string image;
  } banks[] = {{"0x388000 0x38C000 -offset -0x388000", PatternImage(kBankBytes, 1)},
               {"0x398000 0x39C000 -offset -0x398000",
                PatternImage(3000, 2) + std::string(kBankBytes - 3000, '\xFF')}};
  for (const Bank& bank : banks) {
    const ToolRun crop =
        RunTool("srec_cat " + out + " -crop " + bank.crop + " -o " + back.string() + " -binary");
    ASSERT_EQ(crop.status, 0) << crop.output;
    EXPECT_EQ(crop.output, "") << "srec_cat warned";
    EXPECT_TRUE(ReadBytes(back) == bank.image) << bank.crop;
  }
  const std::string outside = " -exclude 0x388000 0x38C000 -exclude 0x398000 0x39C000";
  const ToolRun compare = RunTool("srec_cmp " + in + outside + " " + out + outside);
  EXPECT_EQ(compare.status, 0) << compare.output;
  EXPECT_NE(RunTool("srec_cmp " + in + " " + out).status, 0) << "the banks did change";
}
#endif

}  // namespace
}  // namespace quastor::test
