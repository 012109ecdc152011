// The five-stage bank pipeline, its refusals, and the flash programmer's start; the generated
// file is checked with the SRecord tools (srec_cat, srec_cmp).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/AppState.h"
#include "platform/PathText.h"
#include "tests/update/FirmwareInstallation.h"
#include "update/FirmwareGeneration.h"
#include "update/SRecordMerge.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// The installation with the pipeline's messages and progress.
struct Installation : FirmwareInstallation {
  std::vector<std::string> messages;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;

  PipelineOutcome Run() {
    const Result<FirmwareJob> job = PrepareFirmwareJob(state);
    EXPECT_TRUE(job.ok()) << job.error();
    PipelineEvents events;
    events.message = [this](const std::string& text) { messages.push_back(text); };
    events.progress = [this](std::uint64_t done, std::uint64_t total) {
      progress.emplace_back(done, total);
    };
    return RunBankPipeline(*job, events);
  }
};

TEST(FirmwareGeneration, BankLayout) {
  EXPECT_EQ(BankFirstAddress(1), 0x388000u);
  EXPECT_EQ(BankFirstAddress(2), 0x398000u);
  EXPECT_EQ(BankFirstAddress(5), 0x3C8000u);
  EXPECT_EQ(Utf8FromPath(BankTemporaryName(1)),
            "\xC2\xB0"
            "B1\xC2\xB0.sx");
  EXPECT_EQ(Utf8FromPath(BankTemporaryName(4)),
            "\xC2\xB0"
            "B4\xC2\xB0.sx");
  EXPECT_EQ(BankSelection(2), (std::array<bool, kBankCount>{true, true, false, false, false}));
}

// The installation's messages name the path looked for, so that a user can see which
// application directory the program took.
TEST(FirmwareGeneration, PrepareRefusesAMissingInstallationOrProject) {
  const std::string dir_missing =
      "Error! Firmware Directory not Found! Please reinstall the software.";
  const std::string file_missing = "Error! Firmware File not Found! Please reinstall the software.";
  const auto at = [](const fs::path& path) { return " (looked for " + Utf8FromPath(path) + ")"; };
  struct Case {
    const char* name;
    std::function<void(Installation&)> damage;
    std::function<std::string(const Installation&)> message;
  } cases[] = {
      {"MASTER missing", [](Installation& i) { fs::remove_all(i.state.MasterDir); },
       [&](const Installation& i) { return dir_missing + at(i.state.MasterDir); }},
      {"MASTER empty", [](Installation& i) { i.state.MasterDir.clear(); },
       [&](const Installation&) { return dir_missing; }},
      {"firmware file missing",
       [](Installation& i) { fs::remove(i.state.MasterDir / "sx4375.sx"); },
       [&](const Installation& i) { return file_missing + at(i.state.MasterDir / "sx4375.sx"); }},
      {"firmware file a directory",
       [](Installation& i) {
         fs::remove(i.state.MasterDir / "sx4375.sx");
         fs::create_directory(i.state.MasterDir / "sx4375.sx");
       },
       [&](const Installation& i) { return file_missing + at(i.state.MasterDir / "sx4375.sx"); }},
      {"no project", [](Installation& i) { i.state.ProjectDir.clear(); },
       [](const Installation&) { return std::string("Project not valid"); }},
      {"project gone", [](Installation& i) { fs::remove_all(i.state.ProjectDir); },
       [](const Installation&) { return std::string("Project not valid"); }},
  };
  for (const Case& c : cases) {
    Installation installation;
    c.damage(installation);
    const Result<FirmwareJob> job = PrepareFirmwareJob(installation.state);
    ASSERT_FALSE(job.ok()) << c.name;
    EXPECT_EQ(job.error(), c.message(installation)) << c.name;
  }

  Installation installation;
  const Result<FirmwareJob> job = PrepareFirmwareJob(installation.state);
  ASSERT_TRUE(job.ok()) << job.error();
  EXPECT_EQ(job->source, installation.state.MasterDir / "sx4375.sx");
  EXPECT_EQ(job->binDir, installation.state.ProjectDir / "bin");
  EXPECT_EQ(job->NewFile(), installation.NewFile());
}

// The independent tools run on the system itself; the Windows build checks the same code.
#ifndef _WIN32
TEST(FirmwareGeneration, TwoBanksGiveBackTheirImagesToTheSRecordTools) {
  // The check against an independent tool must run wherever the tests run.
  if (!ToolInstalled("srec_cat") || !ToolInstalled("srec_cmp")) {
    FAIL() << "srecord is not installed (scripts/install-deps.sh installs it)";
  }
  Installation installation;
  const PipelineOutcome outcome = installation.Run();
  EXPECT_TRUE(installation.messages.empty()) << installation.messages.front();
  ASSERT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.marked, (std::array<bool, kBankCount>{}));
  EXPECT_TRUE(installation.Leftovers().empty()) << installation.Leftovers().front();
  ASSERT_TRUE(fs::exists(installation.NewFile()));

  const std::string out = installation.NewFile().string();
  const std::string in = (installation.state.MasterDir / "sx4375.sx").string();
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
    EXPECT_EQ(ReadBytes(back), bank.image) << bank.crop;
  }
  const std::string outside = " -exclude 0x388000 0x38C000 -exclude 0x398000 0x39C000";
  const ToolRun compare = RunTool("srec_cmp " + in + outside + " " + out + outside);
  EXPECT_EQ(compare.status, 0) << compare.output;
  // The check itself tells a difference: the input and output differ inside the banks.
  EXPECT_NE(RunTool("srec_cmp " + in + " " + out).status, 0);
}
#endif

TEST(FirmwareGeneration, BankRangeNotFoundIsMarkedAndTheMarkCarriesOver) {
  Installation installation;
  WriteBytes(installation.state.MasterDir / "sx4375.sx", Fixture("sx4375_no_bank2.sx"));
  const PipelineOutcome outcome = installation.Run();
  ASSERT_TRUE(outcome.complete);
  EXPECT_TRUE(installation.messages.empty());
  EXPECT_EQ(outcome.marked, (std::array<bool, kBankCount>{false, true, true, true, true}));
  // Bank 2 added nothing: the file holds bank 1 and is otherwise the source.
  const std::string made = ReadBytes(installation.NewFile());
  EXPECT_NE(made.find("S224388000"), std::string::npos);
  EXPECT_EQ(made.find("S224398000"), std::string::npos);
  EXPECT_TRUE(installation.Leftovers().empty());
  ASSERT_FALSE(installation.progress.empty());
  EXPECT_EQ(installation.progress.back().first, installation.progress.back().second);
}

TEST(FirmwareGeneration, FirstFailureStopsTheRunAndKeepsTheOldFirmwareFile) {
  struct Case {
    const char* name;
    std::function<void(Installation&)> damage;
    std::string message;
  } cases[] = {
      {"no S9 record",
       [](Installation& i) {
         const std::string source = Fixture("sx4375.sx");
         WriteBytes(i.state.MasterDir / "sx4375.sx", source.substr(0, source.rfind("S9")));
       },
       "File MASTER Has No S9 Record,Abort Procedure"},
      {"damaged record",
       [](Installation& i) {
         std::string source = Fixture("sx4375.sx");
         source[source.find("S9030000FC") + 9] = 'D';
         WriteBytes(i.state.MasterDir / "sx4375.sx", source);
       },
       "File MASTER Not Valid at line 20: wrong checksum,Abort Procedure"},
      {"bank2.bin missing", [](Installation& i) { fs::remove(i.Bin("bank2.bin")); },
       "File bank2.bin Not Found,Abort Procedure"},
      {"bank1.bin too long",
       [](Installation& i) { WriteBytes(i.Bin("bank1.bin"), std::string(kBankBytes + 1, 'x')); },
       "File bank1.bin Longer Than 16384 Bytes,Abort Procedure"},
      {"bin missing", [](Installation& i) { fs::remove_all(i.state.ProjectDir / "bin"); },
       "Directory Bin Not Found,Abort Procedure"},
  };
  for (const Case& c : cases) {
    Installation installation;
    WriteBytes(installation.NewFile(), "firmware of an earlier run");
    c.damage(installation);
    const PipelineOutcome outcome = installation.Run();
    EXPECT_FALSE(outcome.complete) << c.name;
    std::string message = c.message;
    if (message.find("MASTER") != std::string::npos) {
      message.replace(message.find("MASTER"), 6,
                      (installation.state.MasterDir / "sx4375.sx").string());
    }
    EXPECT_EQ(installation.messages, std::vector<std::string>{message}) << c.name;
    EXPECT_EQ(ReadBytes(installation.NewFile()), "firmware of an earlier run")
        << c.name << ": the old file stays until a new one is complete";
    EXPECT_TRUE(installation.Leftovers().empty()) << c.name;
    EXPECT_TRUE(fs::exists(installation.state.MasterDir / "sx4375.sx")) << c.name;
  }
}

TEST(FirmwareGeneration, UnselectedFirstBankCopiesTheInstalledFile) {
  Installation installation;
  Result<FirmwareJob> job = PrepareFirmwareJob(installation.state);
  ASSERT_TRUE(job.ok());
  job.value().selected = {false, true, false, false, false};
  std::vector<std::string> messages;
  const PipelineOutcome outcome =
      RunBankPipeline(*job, {[&](const std::string& text) { messages.push_back(text); }, {}});
  ASSERT_TRUE(outcome.complete) << messages.front();
  // The installed file passes on untouched, and stays installed.
  EXPECT_EQ(ReadBytes(installation.state.MasterDir / "sx4375.sx"), Fixture("sx4375.sx"));
  const std::string made = ReadBytes(installation.NewFile());
  const std::string source_bank1 = CrLfLines(Fixture("sx4375.sx"))[8];
  ASSERT_EQ(source_bank1.substr(0, 10), "S224388000");
  EXPECT_NE(made.find(source_bank1), std::string::npos) << "bank 1 was not selected";
  EXPECT_NE(made.find("S224398000"), std::string::npos);
  EXPECT_EQ(outcome.marked, (std::array<bool, kBankCount>{true, false, false, false, false}))
      << "the result starts at 0, as a bank not found";
  EXPECT_TRUE(installation.Leftovers().empty());
}

TEST(FirmwareGeneration, FlashProgrammerParametersAndChecks) {
  Installation installation;
  const Result<FirmwareJob> job = PrepareFirmwareJob(installation.state);
  ASSERT_TRUE(job.ok());
  const std::string file = installation.NewFile().string();
  EXPECT_EQ(FlashWriteParameters(installation.NewFile(), 1), "\"" + file +
                                                                 "\"\xC2\xB6"
                                                                 "1");
  EXPECT_EQ(FlashWriteParameters(installation.NewFile(), 7), "\"" + file +
                                                                 "\"\xC2\xB6"
                                                                 "7");

  Result<ProgramStart> start = FlashWriteStart(*job, installation.dir.path(), 0);
  ASSERT_FALSE(start.ok());
  EXPECT_EQ(start.error(), "File *.Sx Not Found,Abort Procedure");
  WriteBytes(installation.NewFile(), "S9030000FC\r\n");
  start = FlashWriteStart(*job, installation.dir.path(), 0);
  ASSERT_FALSE(start.ok());
  EXPECT_EQ(start.error(), "FlashWrite.exe Not Found, Procedure Aborted");
  const fs::path program = installation.Program("FlashWrite");
  WriteBytes(program, "");
  start = FlashWriteStart(*job, installation.dir.path(), 7);
  ASSERT_TRUE(start.ok()) << start.error();
  EXPECT_EQ(start->program, program);
  EXPECT_EQ(start->parameters, "\"" + file +
                                   "\"\xC2\xB6"
                                   "7");
}

}  // namespace
}  // namespace quastor::test
