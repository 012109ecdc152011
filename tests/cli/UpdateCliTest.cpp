// quastor-cli firmware, end to end on a temporary application directory with a stand-in
// flash programmer that writes down its arguments (tests/cli/StandInProgrammer.cpp).

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/PathText.h"
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
    fs::copy_file(QUASTOR_STAND_IN_PROGRAMMER, Programmer());
  }
  // Where the application directory holds the flash programmer: FlashWrite.exe on Windows.
  fs::path Programmer() const {
#ifdef _WIN32
    return dir / "FlashWrite.exe";
#else
    return dir / "FlashWrite";
#endif
  }
  fs::path NewFile() const {
    return dir / "PROJECTS" / "Plant1" / "New_sx4375.sx";
  }
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
      // A folder in its place is the user's: start-up does not fill it from the installation.
      {"firmware file missing",
       [](Home& h) {
         fs::remove(h.dir / "MASTER" / "sx4375.sx");
         fs::create_directory(h.dir / "MASTER" / "sx4375.sx");
       },
       "Error! Firmware File not Found! Please reinstall the software. (looked for "
       "%MASTER%sx4375.sx)\n",
       true},  // no run
      {"bank image missing",
       [](Home& h) { fs::remove(h.dir / "PROJECTS" / "Plant1" / "bin" / "bank2.bin"); },
       "File bank2.bin Not Found,Abort Procedure\n", true},  // the old file is kept
      {"programmer missing", [](Home& h) { fs::remove(h.Programmer()); },
       "FlashWrite.exe Not Found, Procedure Aborted\n", true},
#ifndef _WIN32
      {"programmer not executable",
       [](Home& h) { fs::permissions(h.Programmer(), fs::perms::owner_read); },
       "FlashWrite.exe Not Started (Permission denied), Procedure Aborted\n", true},
#endif
  };
  for (const Case& c : cases) {
    Home home;
    WriteBytes(home.NewFile(), "firmware of an earlier run");
    c.damage(home);
    const CliRun run = home.Firmware({});
    EXPECT_EQ(run.exitCode, 1) << c.name;
    std::string err = c.err;
    if (const std::size_t master = err.find("%MASTER%"); master != std::string::npos)
      err.replace(master, 8, Utf8FromPath(home.dir / "MASTER" / ""));
    EXPECT_EQ(run.err, err) << c.name;
    EXPECT_EQ(fs::exists(home.NewFile()), c.newFile) << c.name;
    EXPECT_FALSE(fs::exists(home.dir / "args.txt")) << c.name;
  }
}

// A file in the programmer's place that is no program: the system's reason, in the system's
// words and without a line end of its own, stands inside the message.
TEST(UpdateCli, ProgrammerThatIsNoProgramIsReportedWithTheSystemsReason) {
  Home home;
  WriteBytes(home.Programmer(), "not a program\n");
  const std::string prefix = "FlashWrite.exe Not Started (";
  const std::string suffix = "), Procedure Aborted\n";
  const CliRun run = home.Firmware({});
  EXPECT_EQ(run.exitCode, 1);
  ASSERT_GT(run.err.size(), prefix.size() + suffix.size()) << run.err;
  EXPECT_EQ(run.err.substr(0, prefix.size()), prefix) << run.err;
  EXPECT_EQ(run.err.substr(run.err.size() - suffix.size()), suffix) << run.err;
  const std::string reason =
      run.err.substr(prefix.size(), run.err.size() - prefix.size() - suffix.size());
  EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
  EXPECT_EQ(reason.find("Unknown error"), std::string::npos) << reason;
  EXPECT_EQ(reason.find("%1"), std::string::npos) << "a place left unfilled: " << reason;
  EXPECT_TRUE(fs::exists(home.NewFile()));
  EXPECT_FALSE(fs::exists(home.dir / "args.txt"));
}

}  // namespace
}  // namespace quastor::test
