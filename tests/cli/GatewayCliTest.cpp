// quastor-cli settings show | settings set | image | gsd, end to end on a temporary
// application directory.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

constexpr char kDefaults[] =
    "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>20</PROFI_NB_IN>"
    "<PROFI_NB_OUT>20</PROFI_NB_OUT><DNET_DEV_ID>10</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD>"
    "</Par_Gen>";

// An application directory whose remembered project is Plant (with its bin directory).
class GatewayCli : public ::testing::Test {
 protected:
  GatewayCli() {
    fs::create_directories(project() / "bin");
    WriteBytes(home_ / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=/Plant\r\n");
  }
  fs::path project() const { return home_ / "PROJECTS" / "Plant"; }
  fs::path pargen() const { return project() / "pargen.xml"; }
  CliRun Run(const std::vector<std::string>& args) { return RunCliAt(home_.path(), args); }

  TempDir home_;
};

TEST_F(GatewayCli, ShowPrintsTheDefaultsOfAProjectWithoutSettings) {
  const CliRun run = Run({"settings", "show"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "PROFI_ID=20\nPROFI_BAUD=10\nPROFI_NB_IN=20\nPROFI_NB_OUT=20\nDNET_DEV_ID=10\n"
            "DNET_BAUD=2\n");
  EXPECT_NE(run.err.find("does not exist yet"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(pargen()));
}

// Without a project, the commands that write refuse with the main window's words, and
// "settings show" tells the values a new project starts from. PROJECTS stays untouched.
TEST(GatewayCliWithoutProject, WritingCommandsRefuseAndShowTellsTheDefaults) {
  TempDir home;
  fs::create_directories(home / "MASTER");
  WriteBytes(home / "MASTER" / "sx4375.sx", "S9030000FC\r\n");
  const std::vector<std::vector<std::string>> refused = {
      {"settings", "set", "--profi-id", "7"}, {"image"}, {"gsd", "x.gsd"}, {"firmware"}};
  for (const auto& args : refused) {
    const CliRun run = RunCliAt(home.path(), args);
    EXPECT_EQ(run.exitCode, 1) << args[0];
    EXPECT_EQ(run.err, "Project not valid\n") << args[0];
  }
  const CliRun show = RunCliAt(home.path(), {"settings", "show"});
  EXPECT_EQ(show.exitCode, 0);
  EXPECT_EQ(show.out,
            "PROFI_ID=20\nPROFI_BAUD=10\nPROFI_NB_IN=20\nPROFI_NB_OUT=20\nDNET_DEV_ID=10\n"
            "DNET_BAUD=2\n");
  EXPECT_TRUE(fs::is_empty(home / "PROJECTS"));
}

TEST_F(GatewayCli, SetAppliesOptionsToTheFileAndKeepsTextsAsTyped) {
  CliRun run = Run({"settings", "set"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(pargen()), kDefaults);

  run = Run({"settings", "set", "--profi-id", "0x7D", "--profi-in", "244", "--dnet-baud", "125K"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  run = Run({"settings", "set", "--profi-out", "0", "--dnet-id", "63"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(pargen()),
            "<Par_Gen><PROFI_ID>0x7D</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>244"
            "</PROFI_NB_IN><PROFI_NB_OUT>0</PROFI_NB_OUT><DNET_DEV_ID>63</DNET_DEV_ID>"
            "<DNET_BAUD>0</DNET_BAUD></Par_Gen>");
  run = Run({"settings", "show"});
  EXPECT_EQ(run.out,
            "PROFI_ID=0x7D\nPROFI_BAUD=10\nPROFI_NB_IN=244\nPROFI_NB_OUT=0\nDNET_DEV_ID=63\n"
            "DNET_BAUD=0\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(GatewayCli, SetRefusalsCarryTheDialogsMessagesInItsOrder) {
  WriteBytes(pargen(), kDefaults);
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--profi-id", "126"}, "Error!! The PROFIBUS Device ID must be between 1 and 125. \n"},
      {{"--profi-in", "245"}, "Error!! The PROFIBUS Byte IN must be between 0 and 244. \n"},
      {{"--profi-out", "x"}, "Error!! The PROFIBUS Byte OUT must be between 0 and 244. \n"},
      {{"--dnet-id", "64"}, "Error!! The DeviceNet Device ID must be between 0 and 63. \n"},
      {{"--dnet-baud", "1M"}, "Error!! The DeviceNet baud rate must be 125K, 250K or 500K. \n"},
      {{"--dnet-baud", "1M", "--profi-id", "0", "--profi-in", "300"},
       "Error!! The PROFIBUS Device ID must be between 1 and 125. \n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"settings", "set"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = Run(args);
    EXPECT_EQ(run.exitCode, 1) << c.args[0];
    EXPECT_EQ(run.err, c.message) << c.args[0];
    EXPECT_EQ(ReadBytes(pargen()), kDefaults) << "unchanged after " << c.args[0];
  }
}

TEST_F(GatewayCli, FileWithoutDeviceNetRateMustBeGivenOne) {
  const std::string no_rate = std::string(kDefaults).replace(
      std::string(kDefaults).find("<DNET_BAUD>2"), 12, "<DNET_BAUD>-1");
  WriteBytes(pargen(), no_rate);
  EXPECT_EQ(Run({"image"}).out, "04 00 00 00 14 0A 14 14 0A FF\n") << "still builds";
  CliRun run = Run({"settings", "set", "--profi-id", "21"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Error!! The DeviceNet baud rate must be 125K, 250K or 500K. \n");
  EXPECT_EQ(ReadBytes(pargen()), no_rate);
  run = Run({"settings", "set", "--dnet-baud", "250K"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Run({"image"}).out, "04 00 00 00 14 0A 14 14 0A 01\n");
}

TEST_F(GatewayCli, UsageErrors) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"settings"},
                                             {"settings", "list"},
                                             {"settings", "set", "--profi-id"},
                                             {"settings", "set", "--baud", "10"},
                                             {"image", "extra"},
                                             {"gsd"}}) {
    const CliRun run = Run(args);
    EXPECT_EQ(run.exitCode, 2) << args.back();
    EXPECT_NE(run.err.find("usage:"), std::string::npos) << args.back();
  }
  EXPECT_FALSE(fs::exists(pargen()));
}

TEST_F(GatewayCli, ImageIsWrittenAndPrinted) {
  CliRun run = Run({"image"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "04 00 00 00\n");
  EXPECT_EQ(ReadBytes(project() / "bin" / "bank.bin"), std::string("\x04\0\0\0", 4));

  fs::remove_all(project() / "bin");
  WriteBytes(pargen(), kDefaults);
  run = Run({"image"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "04 00 00 00 14 0A 14 14 0A 02\n");
  EXPECT_EQ(ReadBytes(project() / "bin" / "bank.bin"),
            std::string("\x04\0\0\0\x14\x0A\x14\x14\x0A\x02", 10));
}

TEST_F(GatewayCli, BrokenSettingsAreRefusedAndWriteNothing) {
  WriteBytes(project() / "bin" / "bank.bin", "old");
  WriteBytes(pargen(), "<Par_Gen><PROFI_ID>abc</PROFI_ID></Par_Gen>");
  CliRun run = Run({"image"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "'abc' is not a valid integer value\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadBytes(project() / "bin" / "bank.bin"), "old");

  run = Run({"settings", "show"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("has no element PROFI_BAUD."), std::string::npos) << run.err;
  run = Run({"settings", "set", "--profi-id", "5"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(ReadBytes(pargen()), "<Par_Gen><PROFI_ID>abc</PROFI_ID></Par_Gen>");
}

TEST_F(GatewayCli, GsdIsTheSameFileAsTheWindowWrites) {
  const fs::path gsd = home_ / "out.gsd";
  CliRun run = Run({"gsd", gsd.string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("does not exist. Set the communication of the project first."),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(gsd));

  WriteBytes(pargen(), kDefaults);
  run = Run({"gsd", gsd.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(gsd), ReadBytes(DataFile("gateway/default_20_20.gsd")));

  run = Run({"gsd", (home_ / "nowhere" / "x.gsd").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Cannot create file \"" + (home_ / "nowhere" / "x.gsd").string() +
                         "\". No such file or directory\n");
}

TEST(GatewayCliProjectOption, SelectsTheProject) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Other" / "bin");
  const CliRun run = RunCliAt(home.path(), {"--project", "Other", "settings", "set"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadBytes(home / "PROJECTS" / "Other" / "pargen.xml"), kDefaults);
}

}  // namespace
}  // namespace quastor::test
