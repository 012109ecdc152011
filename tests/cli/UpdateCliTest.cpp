// quastor-cli firmware, end to end on a temporary application directory with a stand-in
// flash programmer that writes down its arguments.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

struct Home {
  TempDir dir;
  Home() {
    fs::create_directories(dir / "MASTER");
    fs::create_directories(dir / "PROJECTS" / "Plant1" / "bin");
    WriteBytes(dir / "MASTER" / "sx4375.sx", ReadBytes(DataFile("update/sx4375.sx")));
    WriteBytes(dir / "PROJECTS" / "Plant1" / "bin" / "bank1.bin", std::string(16384, '\x11'));
    WriteBytes(dir / "PROJECTS" / "Plant1" / "bin" / "bank2.bin", std::string(200, '\x22'));
    // The stand-in programmer writes each argument on a line, then renames the file into
    // place so that the test never reads half of it.
    WriteBytes(
        dir / "FlashWrite",
        "#!/bin/sh\nd=$(dirname \"$0\")\nfor a in \"$@\"; do echo \"$a\"; done > \"$d/args.tmp\""
        "\nmv \"$d/args.tmp\" \"$d/args.txt\"\n");
    fs::permissions(dir / "FlashWrite", fs::perms::owner_all);
  }
  fs::path NewFile() const { return dir / "PROJECTS" / "Plant1" / "New_sx4375.sx"; }
  CliRun Firmware(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--project", "Plant1", "firmware"});
    return RunCliAt(dir.path(), args);
  }
  // The programmer runs detached: wait for its record, for as long as a slow machine needs.
  std::string ProgrammerArguments() const {
    for (int i = 0; i < 1000 && !fs::exists(dir / "args.txt"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return fs::exists(dir / "args.txt") ? ReadBytes(dir / "args.txt") : "(not started)";
  }
};

TEST(UpdateCli, FirmwareWithoutFlashWritesTheFile) {
  Home home;
  const CliRun run = home.Firmware({"--no-flash"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, home.NewFile().string() + "\n");
  const std::string made = ReadBytes(home.NewFile());
  EXPECT_NE(made.find("S224388000111111"), std::string::npos);
  EXPECT_NE(made.find("S2243980002222"), std::string::npos);
  EXPECT_FALSE(fs::exists(home.dir / "args.txt"));
}

TEST(UpdateCli, FirmwareStartsTheProgrammerWithThePortIndex) {
  struct Case {
    std::vector<std::string> args;
    const char* index;
  } cases[] = {{{}, "0"}, {{"--port", "2"}, "1"}, {{"--port", "8"}, "7"}};
  for (const Case& c : cases) {
    Home home;
    const CliRun run = home.Firmware(c.args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(home.ProgrammerArguments(), home.NewFile().string() + "\xC2\xB6" + c.index + "\n");
  }
}

TEST(UpdateCli, BadArgumentsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"--port", "0"}, {"--port", "9"}, {"--port", "x"}, {"--port", "01"},
      {"--port"},      {"--flash"},     {"COM1"}};
  Home home;
  for (const auto& args : cases) {
    const CliRun run = home.Firmware(args);
    EXPECT_EQ(run.exitCode, 2) << args.back();
    EXPECT_EQ(run.err.rfind("quastor-cli: firmware", 0), 0u) << run.err;
  }
  EXPECT_FALSE(fs::exists(home.NewFile()));
}

TEST(UpdateCli, FailuresPrintTheDialogsMessages) {
  struct Case {
    const char* name;
    std::function<void(Home&)> damage;
    const char* err;
    bool newFile;
  } cases[] = {
      {"firmware file missing", [](Home& h) { fs::remove(h.dir / "MASTER" / "sx4375.sx"); },
       "Error! Firmware File not Found! Please reinstall the software.\n", true},  // no run
      {"bank image missing",
       [](Home& h) { fs::remove(h.dir / "PROJECTS" / "Plant1" / "bin" / "bank2.bin"); },
       "File bank2.bin Not Found,Abort Procedure\n", false},
      {"programmer missing", [](Home& h) { fs::remove(h.dir / "FlashWrite"); },
       "FlashWrite.exe Not Found, Procedure Aborted\n", true},
      {"programmer not executable",
       [](Home& h) { fs::permissions(h.dir / "FlashWrite", fs::perms::owner_read); },
       "FlashWrite.exe Not Started (Permission denied), Procedure Aborted\n", true},
  };
  for (const Case& c : cases) {
    Home home;
    WriteBytes(home.NewFile(), "firmware of an earlier run");
    c.damage(home);
    const CliRun run = home.Firmware({});
    EXPECT_EQ(run.exitCode, 1) << c.name;
    EXPECT_EQ(run.err, c.err) << c.name;
    EXPECT_EQ(fs::exists(home.NewFile()), c.newFile) << c.name;
    EXPECT_FALSE(fs::exists(home.dir / "args.txt")) << c.name;
  }
}

}  // namespace
}  // namespace quastor::test
